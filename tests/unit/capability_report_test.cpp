#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../vantor/capability_report.h"
#include "fake_gl.h"

TEST(Acceleration, GenericFormatsCountAsSoftwareAcceleratedOrNot)
{
    constexpr uint32_t genericAccelerated = 0x1000;
    EXPECT_STREQ(accelerationTextFor(0x40), "No, Software");
    EXPECT_STREQ(accelerationTextFor(0x40 | genericAccelerated | 0x25), "No, Software");
    EXPECT_STREQ(accelerationTextFor(0x25), "Yes, Hardware");
    EXPECT_STREQ(accelerationTextFor(genericAccelerated), "Yes, Hardware");
}

class Capabilities : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeGl = FakeGl{};
        report = CapabilityReport{};
    }
    CapabilityReport report;
};

TEST_F(Capabilities, AsksInTheListedOrderAndSumsTheBuffers)
{
    fakeGl.integers = {{GL_RED_BITS, 5},        {GL_GREEN_BITS, 6},        {GL_BLUE_BITS, 5},
                       {GL_ALPHA_BITS, 0},      {GL_ACCUM_RED_BITS, 16},   {GL_ACCUM_GREEN_BITS, 16},
                       {GL_ACCUM_BLUE_BITS, 16}, {GL_ACCUM_ALPHA_BITS, 16}, {GL_DEPTH_BITS, 24},
                       {GL_STENCIL_BITS, 8},    {GL_MAX_LIGHTS, 8},        {GL_MAX_TEXTURE_SIZE, 1024}};
    fakeGl.strings = {{GL_VENDOR, "Vendor"}, {GL_RENDERER, "Renderer"}, {GL_EXTENSIONS, "GL_A GL_B "},
                      {GL_VERSION, "1.2.1 Build 7"}};

    queryCapabilities(report);

    const std::vector<GLenum> order{GL_RED_BITS,      GL_GREEN_BITS,         GL_BLUE_BITS,       GL_ALPHA_BITS,
                                    GL_ACCUM_RED_BITS, GL_ACCUM_GREEN_BITS, GL_ACCUM_BLUE_BITS, GL_ACCUM_ALPHA_BITS,
                                    GL_DEPTH_BITS,     GL_STENCIL_BITS,     GL_MAX_LIGHTS,      GL_MAX_TEXTURE_SIZE,
                                    GL_VENDOR,         GL_RENDERER,         GL_EXTENSIONS,      GL_VERSION};
    EXPECT_EQ(fakeGl.queries, order);
    EXPECT_EQ(report.colorBufferBits, 16);
    EXPECT_EQ(report.accumBits, 64);
    EXPECT_EQ(report.depthBufferBits, 24);
    EXPECT_EQ(report.stencilBits, 8);
    EXPECT_EQ(report.maxLights, 8);
    EXPECT_EQ(report.maxTextureSize, 1024);
    EXPECT_EQ(report.vendorText, "Vendor");
    EXPECT_EQ(report.rendererText, "Renderer");
    EXPECT_EQ(versionDisplayText, "1.2.1\r\nBuild 7");
    EXPECT_EQ(extensionListText, "GL_A\r\nGL_B");
    EXPECT_TRUE(report.versionText.empty());  // released once derived
    EXPECT_TRUE(report.extensionsText.empty());
}

TEST_F(Capabilities, AlphaCountsInTheColourSum)
{
    fakeGl.integers = {{GL_RED_BITS, 8}, {GL_GREEN_BITS, 8}, {GL_BLUE_BITS, 8}, {GL_ALPHA_BITS, 8}};
    queryCapabilities(report);
    EXPECT_EQ(report.colorBufferBits, 32);
    EXPECT_EQ(report.accumBits, 0);
}

TEST_F(Capabilities, StringTheContextDoesNotGiveShowsEmpty)
{
    fakeGl.strings = {{GL_VENDOR, "Vendor"}};  // renderer, extensions and version answer no string
    queryCapabilities(report);
    EXPECT_EQ(report.vendorText, "Vendor");
    EXPECT_EQ(report.rendererText, "");
    EXPECT_EQ(versionDisplayText, "");
    EXPECT_EQ(extensionListText, "");
}

struct DerivationCase {
    const char* in;
    const char* out;
};

class VersionDisplay : public ::testing::TestWithParam<DerivationCase> {};

TEST_P(VersionDisplay, FirstBlankBecomesALineBreak)
{
    EXPECT_EQ(makeVersionDisplayText(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionDisplay,
                         ::testing::Values(DerivationCase{"1.1.0", "1.1.0"},
                                           DerivationCase{"1.2.1 Build 7", "1.2.1\r\nBuild 7"},
                                           DerivationCase{"1.2 A B", "1.2\r\nA B"}, DerivationCase{"", ""},
                                           DerivationCase{" 4.5", "\r\n4.5"}, DerivationCase{"4.5 ", "4.5\r\n"}));

class ExtensionList : public ::testing::TestWithParam<DerivationCase> {};

TEST_P(ExtensionList, EveryBlankButAClosingOneBecomesALineBreak)
{
    EXPECT_EQ(makeExtensionListText(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Extensions, ExtensionList,
                         ::testing::Values(DerivationCase{"GL_EXT_abgr GL_EXT_bgra ", "GL_EXT_abgr\r\nGL_EXT_bgra"},
                                           DerivationCase{"GL_EXT_abgr GL_EXT_bgra", "GL_EXT_abgr\r\nGL_EXT_bgra"},
                                           DerivationCase{"GL_EXT_abgr", "GL_EXT_abgr"}, DerivationCase{"", ""},
                                           DerivationCase{"A  B", "A\r\n\r\nB"}, DerivationCase{" A", "\r\nA"},
                                           DerivationCase{" ", ""}, DerivationCase{"A  ", "A\r\n"}));
