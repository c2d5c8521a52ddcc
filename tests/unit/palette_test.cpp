// Palette entries of an 8-bit format, from the format's bit fields.
#include <gtest/gtest.h>

#include "../../astr/win32/palette.h"

namespace {

struct PaletteCase {
    uint32_t index;
    uint8_t bits, shift;
    uint8_t component;
};

class PaletteComponent : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(PaletteComponent, ScalesTheFieldTo255)
{
    const PaletteCase& c = GetParam();
    EXPECT_EQ(paletteComponent(c.index, c.bits, c.shift), c.component);
}

// A 3-3-2 format: red 3 bits at 0, green 3 at 3, blue 2 at 6. Entry 255 is
// white, entry 7 full red alone, entry 0x52 (blue 1, green 2, red 2) a mix.
INSTANTIATE_TEST_SUITE_P(
    Fields, PaletteComponent,
    ::testing::Values(PaletteCase{255, 3, 0, 255}, PaletteCase{255, 3, 3, 255}, PaletteCase{255, 2, 6, 255},
                      PaletteCase{7, 3, 0, 255}, PaletteCase{7, 3, 3, 0}, PaletteCase{7, 2, 6, 0},
                      PaletteCase{0x52, 3, 0, 72}, PaletteCase{0x52, 3, 3, 72}, PaletteCase{0x52, 2, 6, 85},
                      // a component of no bits, and fields beyond any index
                      PaletteCase{255, 0, 0, 0}, PaletteCase{255, 8, 40, 0}, PaletteCase{255, 40, 0, 0}));

}  // namespace
