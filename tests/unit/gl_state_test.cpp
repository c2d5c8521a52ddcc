#include <cstring>
#include <vector>

#include "../../astr/render/gl_state.h"
#include "../../astr/render/sprites.h"
#include "fake_gl.h"
#include "sim_fixture.h"

class GlState : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        fakeGl = FakeGl{};
    }
};

TEST_F(GlState, SetsTheFixedStateSeedsUploadsAndReadsTheBitsInOrder)
{
    fakeGl.nextTextureName = 7;
    fakeGl.integers = {{GL_RED_BITS, 5}, {GL_GREEN_BITS, 6}, {GL_BLUE_BITS, 5}, {GL_ALPHA_BITS, 0}, {GL_DEPTH_BITS, 16}};
    fakePlatform.secondsSince1970 = 1700000000;
    fakePlatform.counter = 0x123456789ull;  // the seed takes the low 32 bits
    fakePlatform.counterStep = 0x10;        // of the clock's last read, not its first

    EXPECT_EQ(setupGlState(640, 480), 0);

    auto texture = [](float name, float size) {
        return std::vector<GlCall>{{"glBindTexture", {GL_TEXTURE_2D, name}},
                                   {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}},
                                   {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}},
                                   {"glTexImage2D", {GL_TEXTURE_2D, 0, 1, size, size, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE}}};
    };
    std::vector<GlCall> expected{{"glClearColor", {0, 0, 0, 0}},
                                 {"glDepthFunc", {GL_ALWAYS}},
                                 {"glDisable", {GL_DEPTH_TEST}},
                                 {"glEnable", {GL_BLEND}},
                                 {"glBlendFunc", {GL_SRC_ALPHA, GL_ONE}},
                                 {"glShadeModel", {GL_SMOOTH}},
                                 {"glEnable", {GL_TEXTURE_2D}},
                                 {"glGenTextures", {2}}};
    for (const auto& calls : {texture(7, 64), texture(8, 16)})
        expected.insert(expected.end(), calls.begin(), calls.end());
    for (GLenum name : {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS, GL_DEPTH_BITS})
        expected.push_back({"glGetIntegerv", {static_cast<float>(name)}});
    EXPECT_EQ(fakeGl.calls, expected);

    EXPECT_EQ(glowTexture, 7u);
    EXPECT_EQ(particleTexture, 8u);
    ASSERT_EQ(fakeGl.textureImages.size(), 2u);
    EXPECT_EQ(fakeGl.textureImages[0], std::vector<GLubyte>(glowSprite, glowSprite + sizeof glowSprite));
    EXPECT_EQ(fakeGl.textureImages[1], std::vector<GLubyte>(particleSprite, particleSprite + sizeof particleSprite));
    EXPECT_EQ(runStats.colorBits, 16);  // 5-6-5 and no alpha
    EXPECT_EQ(runStats.depthBits, 16);

    // The swarm started from time x counter's low word, modulo 2^32.
    const std::vector<Particle> started(particleBuffer, particleBuffer + poolSize);
    initSimulation(static_cast<uint32_t>(1700000000ull * 0x23456799ull));
    EXPECT_EQ(std::memcmp(started.data(), particleBuffer, poolSize * sizeof(Particle)), 0);
}

// Either shell's resize: the whole area, identity matrices, the aspect rule;
// a window of no height counts as one pixel high.
TEST_F(GlState, ResizeCoversTheAreaWithIdentityMatricesAndTheAspectRule)
{
    resizePicture(640, 0);
    const std::vector<GlCall> expected{{"glViewport", {0, 0, 640, 1}}, {"glMatrixMode", {GL_PROJECTION}},
                                       {"glLoadIdentity", {}},         {"glMatrixMode", {GL_MODELVIEW}},
                                       {"glLoadIdentity", {}}};
    EXPECT_EQ(fakeGl.calls, expected);
    EXPECT_EQ(aspectX, 1.0f / 640.0f);
    EXPECT_EQ(aspectY, 1.0f);
}
