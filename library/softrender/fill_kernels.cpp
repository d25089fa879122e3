// The rectangle fill: one loop per pixel kind and blend operation over the clipped
// rows; the copy repeats its first row, the 32-bit blends run the vector rows.
#include "softrender/fill_kernels.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "softrender/blend_rows32.h"
#include "softrender/colour_blend.h"
#include "softrender/draw_options.h"
#include "softrender/kernel_clip.h"
#include "softrender/loop_select.h"

namespace {

struct FillArea {
  std::uint8_t* first;  // top-left pixel
  std::ptrdiff_t pitch;
  int width;
  int height;
};

using FillLoop = void (*)(const FillArea& area, std::uint32_t colour, const BlendRows& rows);

// Stores the pixel value (its low `bytes` bytes) into count pixels: the first
// pixel, then copies of what is already written, doubling.
void StoreRepeated(std::uint8_t* row, std::uint32_t value, int count, int bytes) {
  std::memcpy(row, &value, static_cast<std::size_t>(bytes));
  const std::size_t total = static_cast<std::size_t>(count) * bytes;
  for (std::size_t done = static_cast<std::size_t>(bytes); done < total;) {
    const std::size_t n = std::min(done, total - done);
    std::memcpy(row + done, row, n);
    done += n;
  }
}

constexpr int kColourRow = 64;

template <int Kind, int Op>
void FillRows(const FillArea& area, std::uint32_t colour, const BlendRows& rows) {
  using Dst = DestPixels<Kind>;
  if constexpr (Op == BLEND_OP_COPY) {
    StoreRepeated(area.first, colour, area.width, Dst::kBytes);
    for (int y = 1; y < area.height; ++y) {
      std::memcpy(area.first + y * area.pitch, area.first, static_cast<std::size_t>(area.width) * Dst::kBytes);
    }
  } else if constexpr (Kind == PIXEL_KIND_32) {
    // The vector rows with the colour as every source pixel: a fill is the blend of
    // an untinted source without weights.
    std::uint32_t colours[kColourRow];
    std::fill(colours, colours + kColourRow, colour);
    const SourceDraw draw{rows, nullptr, 0};
    for (int y = 0; y < area.height; ++y) {
      std::uint8_t* p = area.first + y * area.pitch;
      for (int x = 0; x < area.width; x += kColourRow) {
        BlendRow32<Op, SOURCE_DIRECT, false>(p + x * Dst::kBytes, colours, std::min(kColourRow, area.width - x), draw);
      }
    }
  } else {
    const ColourBlend<Kind, Op> blend(colour, rows);
    for (int y = 0; y < area.height; ++y) {
      std::uint8_t* p = area.first + y * area.pitch;
      for (int x = 0; x < area.width; ++x, p += Dst::kBytes) Dst::Store(p, blend(Dst::Load(p)));
    }
  }
}

FillLoop SelectFillLoop(int kind, int op) {
  return ChooseInt<PIXEL_KIND_16, PIXEL_KIND_32>(kind, [&](auto k) {
    return ChooseInt<BLEND_OP_COPY, BLEND_OP_ALPHA, BLEND_OP_ADD, BLEND_OP_SUB, BLEND_OP_MUL>(
        op, [&](auto o) -> FillLoop { return &FillRows<k(), o()>; });
  });
}

}  // namespace

void FillMemImgRectKernels(MEMIMG* dst, const RECT* rect, std::uint32_t colour, const SoftDrawState& state) {
  if (dst == nullptr || dst->pixels == nullptr || dst->paletteFlag != 0 || dst->alphaFlag != 0) return;
  if (dst->kind != PIXEL_KIND_16 && dst->kind != PIXEL_KIND_32) return;
  RECT area{0, 0, dst->width, dst->height};
  if (rect != nullptr) {
    area = RECT{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
                std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)};
  }
  const RECT clip = KernelClip(dst, state);
  ClipRectangleBody(&area, &clip);
  if (area.left >= area.right || area.top >= area.bottom) return;
  const int param = ClampBlendParam(state.blendParam);
  const int op = GeneralBlendOp(state.blendMode, param, false);
  if (op < 0) return;

  const int bytes = DestBytesPerPixel(dst->kind);
  const FillArea fill{static_cast<std::uint8_t*>(dst->pixels) + static_cast<std::ptrdiff_t>(area.top) * dst->pitch +
                          static_cast<std::ptrdiff_t>(area.left) * bytes,
                      dst->pitch, area.right - area.left, area.bottom - area.top};
  SelectFillLoop(dst->kind, op)(fill, TintFillColour(colour, dst->kind, state.tint), MakeBlendRows(param, state.tint));
  MarkMemImgWritten(dst);
}
