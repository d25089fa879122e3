// The worked examples of the shared pixel operations (32-bit and RGB565), through
// the word operations and through the stretched kernel's loops.
#include <gtest/gtest.h>

#include "row_draw.h"
#include "softrender/saturate_ops.h"

namespace {

TEST(PixelOps, PackedSaturatingWordOperations) {
  EXPECT_EQ(AddSaturate8888(0x000000FF, 0x00000001), 0x000001FFu);
  EXPECT_EQ(AddSaturate8888(0x00808080, 0x00808080), 0x01FFFFFFu);
  EXPECT_EQ(SubSaturate8888(0x00000000, 0x00000000), 0x00010100u);
  EXPECT_EQ(SubSaturate8888(0x00000200, 0x00000100), 0x00010300u);
  EXPECT_EQ(SubSaturate8888(0x00FFFFFF, 0x00010101), 0x00FFFFFEu);

  EXPECT_EQ(AddSaturate565(0x0800, 0x0800), 0x0800u);
  EXPECT_EQ(AddSaturate565(0xF000, 0x1000), 0xF800u);
  EXPECT_EQ(AddSaturate565(0x001F, 0x0001), 0x003Fu);
  EXPECT_EQ(SubSaturate565(0xFFFF, 0xFFFF), 0x0800u);
  EXPECT_EQ(SubSaturate565(0x07E0, 0x0020), 0x0FC0u);
  for (std::uint32_t d = 0; d <= 0xFFFF; ++d) {
    ASSERT_EQ(AddSaturate565(d, 0), d);
    ASSERT_EQ(SubSaturate565(d, 0), (d & 0xFFDF) | 0x0800);
  }
}

// One pixel over one pixel through the stretched kernel's loops.
struct Example {
  const char* name;
  RowDraw draw;
  std::uint32_t source, dest, want;
};

constexpr int k16 = PIXEL_KIND_16;
constexpr std::uint32_t kS = 0x80FF4020, kD = 0x11223344;

const Example kExamples[] = {
    // 32-bit: the parameter's gates.
    {"mode 1 at 255 is the mode-0 copy, byte 3 included", {.mode = 1}, kS, kD, kS},
    {"mode 1 at 0 draws nothing", {.mode = 1, .param = 0}, kS, kD, kD},
    {"mode 2 at 0 draws nothing", {.mode = 2, .param = 0}, kS, kD, kD},
    {"mode 3 at 0 draws nothing", {.mode = 3, .param = 0}, kS, kD, kD},
    {"mode 3 at 0 draws nothing from a palette", {.form = SOURCE_PALETTE, .mode = 3, .param = 0}, 0, kD, kD},
    {"mode 4 ignores the parameter: 0xFF x 0x44 >> 8 = 0x43", {.mode = 4, .param = 0}, 0x00FFFFFF, kD, 0x11213243},
    {"mode 5 draws nothing", {.mode = 5, .param = 128}, kS, kD, kD},
    {"mode -1 draws nothing", {.mode = -1, .param = 128}, kS, kD, kD},
    // 32-bit: alpha sources and the transparent flag.
    {"alpha 0 skipped", {.form = SOURCE_ALPHA, .transparent = 1}, 0x00FFFFFF, 0x00123456, 0x00123456},
    {"alpha 255 copied", {.form = SOURCE_ALPHA, .transparent = 1}, 0xFFFFFFFF, 0, 0xFFFFFFFF},
    {"alpha 128 halves", {.form = SOURCE_ALPHA, .transparent = 1}, 0x800000FF, 0, 0x0000007F},
    {"alpha 255 without the flag", {.form = SOURCE_ALPHA}, 0xFF0000FF, 0, 0x000000FE},
    {"alpha 0 without the flag", {.form = SOURCE_ALPHA}, 0x00FFFFFF, 0x00123456, 0x00123456},
    {"mode 4 at alpha 0 clears without the flag", {.form = SOURCE_ALPHA, .mode = 4}, 0x00FFFFFF, 0x00123456, 0},
    {"mode 4 at alpha 0 skips with the flag", {.form = SOURCE_ALPHA, .mode = 4, .transparent = 1}, 0x00FFFFFF,
     0x00123456, 0x00123456},
    // 32-bit: blend-graph weights and keys.
    {"graph weight 255", {.graph = {255}}, 0x000000FF, 0, 0x000000FE},
    {"palette key by index",
     {.form = SOURCE_PALETTE, .key = 5, .palette = {0, 0, 0, 0, 0, 0x00ABCDEF}, .transparent = 1}, 5, 0x11111111,
     0x11111111},
    {"palette key past the indices",
     {.form = SOURCE_PALETTE, .key = 0x105, .palette = {0, 0, 0, 0, 0, 0x00ABCDEF}, .transparent = 1}, 5, 0x11111111,
     0x00ABCDEF},
    {"direct key compares the colour alone: byte 3 set", {.key = 0x0000FF00, .transparent = 1}, 0xFF00FF00, 0,
     0xFF00FF00},
    {"direct key", {.key = 0x0000FF00, .transparent = 1}, 0x0000FF00, 7, 7},
    // 32-bit: subtraction at 255 follows the MMX-usable flag; byte 3 takes part only in the
    // bytewise form.
    {"subtract bytewise", {.mode = 3, .mmx = 1}, 0x00000100, 0x00000200, 0x00000100},
    {"subtract wordwise", {.mode = 3}, 0x00000100, 0x00000200, 0x00010300},
    {"subtract bytewise, byte 3", {.mode = 3, .mmx = 1}, 0x10000000, 0x30000000, 0x20000000},
    {"subtract wordwise, byte 3", {.mode = 3}, 0x10000000, 0x30000000, 0x00010100},
    // RGB565.
    {"565 multiply at 128", {.kind = k16, .mode = 4, .param = 128}, 0xFFFF, 0xFFFF, 0xF7DE},
    {"565 multiply at 0", {.kind = k16, .mode = 4, .param = 0}, 0xFFFF, 0xFFFF, 0xF7DE},
    {"565 half of white over black", {.kind = k16, .mode = 1, .param = 128}, 0xFFFF, 0x0000, 0x7BEF},
    {"565 half of black over white", {.kind = k16, .mode = 1, .param = 128}, 0x0000, 0xFFFF, 0x8410},
    {"565 mode 1 at 0 draws nothing", {.kind = k16, .mode = 1, .param = 0}, 0xFFFF, 0x1234, 0x1234},
    {"565 mode 2 at 0 draws nothing", {.kind = k16, .mode = 2, .param = 0}, 0xFFFF, 0x1234, 0x1234},
    {"565 mode 3 at 0 draws nothing", {.kind = k16, .mode = 3, .param = 0}, 0xFFFF, 0x1234, 0x1234},
    {"565 mode 1 at 0 draws nothing from a palette", {.kind = k16, .form = SOURCE_PALETTE, .mode = 1, .param = 0}, 0,
     0x1234, 0x1234},
    {"565 mode 2 at 0 draws nothing from a palette", {.kind = k16, .form = SOURCE_PALETTE, .mode = 2, .param = 0}, 0,
     0x1234, 0x1234},
    {"565 mode 3 at 0 draws nothing from a palette", {.kind = k16, .form = SOURCE_PALETTE, .mode = 3, .param = 0}, 0,
     0x1234, 0x1234},
    {"565 alpha 255 with the flag", {.kind = k16, .form = SOURCE_ALPHA, .transparent = 1}, 0xFFFFFF, 0, 0xFFFF},
    {"565 alpha 255 without the flag", {.kind = k16, .form = SOURCE_ALPHA}, 0xFFFFFF, 0, 0xF7DE},
    {"565 graph weight 0, mode 0", {.kind = k16, .graph = {0}}, 0xFFFF, 0x1234, 0x1234},
    {"565 graph weight 0, mode 1", {.kind = k16, .mode = 1, .graph = {0}}, 0xFFFF, 0x1234, 0x1234},
    {"565 graph weight 0, mode 2", {.kind = k16, .mode = 2, .graph = {0}}, 0xFFFF, 0x1234, 0x1234},
    {"565 graph weight 0, mode 3", {.kind = k16, .mode = 3, .graph = {0}}, 0xFFFF, 0xFFFF, 0xFFDF},
    {"565 graph weight 0, mode 4", {.kind = k16, .mode = 4, .graph = {0}}, 0xFFFF, 0xFFFF, 0x0000},
    {"565 key above 16 bits never matches", {.kind = k16, .key = 0x10000, .transparent = 1}, 0x0000, 0x1234, 0x0000},
    {"565 palette entry drawn",
     {.kind = k16, .form = SOURCE_PALETTE, .key = 5, .palette = {0, 0, 0, 0, 0xF800, 0xF800}, .transparent = 1}, 4,
     0x0001, 0xF800},
    {"565 palette key by index",
     {.kind = k16, .form = SOURCE_PALETTE, .key = 5, .palette = {0, 0, 0, 0, 0xF800, 0xF800}, .transparent = 1}, 5,
     0x0001, 0x0001},
    // Alpha before tint when the alpha is the only weight: green 63 x 200 / 256 = 49, then
    // 49 x 100 / 255 = 19.
    {"565 alpha, then tint", {.kind = k16, .form = SOURCE_ALPHA, .mode = 2, .tint = 0xFF64FF}, (200u << 16) | 0x07E0,
     0x0000, 0x0260},
    // With a blend graph instead, the tint comes first: 63 x 100 / 255 = 24, x 200 / 256 = 18.
    {"565 tint, then graph", {.kind = k16, .mode = 2, .tint = 0xFF64FF, .graph = {200}}, 0x07E0, 0x0000, 0x0240},
    {"565 almost white tint", {.kind = k16, .tint = 0xFFFFFE}, 0x001F, 0x0000, 0x001E},
};

TEST(PixelOps, WorkedExamples) {
  for (const Example& example : kExamples) {
    EXPECT_EQ(DrawPixel(example.draw, example.source, example.dest, RowKernel::Stretched), example.want)
        << example.name;
  }
}

}  // namespace
