#include "row_draw.h"

#include "graphics/blend_tables.h"
#include "soft_test_images.h"
#include "softrender/blit_kernels.h"

std::vector<std::uint32_t> DrawRow(const RowDraw& draw, RowKernel kernel) {
  const int width = static_cast<int>(draw.source.size());
  TestImage src(width, 1, draw.kind, draw.form == SOURCE_PALETTE, draw.form == SOURCE_ALPHA, draw.key, 1);
  for (int x = 0; x < width; ++x) src.Set(x, 0, draw.source[x]);
  for (std::size_t i = 0; i < draw.palette.size(); ++i) src.SetPaletteEntry(static_cast<int>(i), draw.palette[i]);
  if (kernel == RowKernel::RunTable) src.BuildRunTable();
  TestImage dst(static_cast<int>(draw.dest.size()), 1, draw.kind);
  for (std::size_t x = 0; x < draw.dest.size(); ++x) dst.Set(static_cast<int>(x), 0, draw.dest[x]);
  TestImage graph(width, 1, MEMIMG_KIND_BYTE);
  for (std::size_t x = 0; x < draw.graph.size(); ++x) graph.Set(static_cast<int>(x), 0, draw.graph[x]);
  for (int i = 0; i < 256; ++i) BlendGraphRamp[i] = static_cast<std::uint8_t>(i);
  const MEMIMG* graphImage = draw.graph.empty() ? nullptr : graph.get();
  const SoftDrawState state = MakeState(draw.mode, draw.param, draw.tint, draw.mmx);
  if (kernel == RowKernel::Stretched) {
    const RECT flipped{0, 1, width, 0};
    BlitMemImgScaledKernels(dst.get(), src.get(), &flipped, draw.transparent, graphImage, state);
  } else {
    const int transparent = kernel == RowKernel::RunTable ? 1 : draw.transparent;
    BlitMemImgKernels(dst.get(), src.get(), 0, 0, transparent, graphImage, state);
  }
  std::vector<std::uint32_t> out(draw.dest.size());
  for (std::size_t x = 0; x < out.size(); ++x) out[x] = dst.Get(static_cast<int>(x), 0);
  return out;
}

std::uint32_t DrawPixel(RowDraw draw, std::uint32_t source, std::uint32_t dest, RowKernel kernel) {
  draw.source = {source};
  draw.dest = {dest};
  return DrawRow(draw, kernel)[0];
}
