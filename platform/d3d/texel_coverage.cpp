#include "d3d/texel_coverage.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "d3d/colour_math.h"
#include "d3d/shown_texel_bits.h"

namespace {

constexpr int kCacheEntries = 1024;  // a power of two
constexpr int kWays = 2;  // entries a region may take: regions of one slot would evict each other
// Regions at least this big are summed up from the texture's shown-texel bits when it
// has them, and have them made when they cover a quarter of it: a picture drawn sliding
// or scrolling gives a new region every frame, and every drawing thread would scan it
// again.
constexpr std::int64_t kBitsFromTexels = 4096;
// Upright blocks at least this big are cut row by row where their rows differ: a
// sparse picture's box is most of it.
constexpr std::int64_t kRowsWorthCutting = 4096;

struct CacheEntry {
  std::uint64_t stamp = 0;  // 0: unused (surfaces start at 1)
  const BYTE* bits = nullptr;
  TransparentTexels test{};
  DWORD key = 0;
  TexelCoverage coverage{};
  std::uint64_t lastUse = 0;
};

bool SameBox(const TexelBox& a, const TexelBox& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::size_t SlotOf(const TextureSampler& t, const TexelBox& region) {
  std::uint64_t hash = t.contentStamp * 0x9E3779B97F4A7C15ull;
  for (int value : {region.left, region.top, region.right, region.bottom}) {
    hash = (hash ^ static_cast<std::uint32_t>(value)) * 0xFF51AFD7ED558CCDull;
  }
  return static_cast<std::size_t>(hash >> 40) & (kCacheEntries - kWays);
}

// Fills in the box and the rows of `out` from each row's shown texels in the region.
template <typename ShownIn>
void Summarise(ShownIn shownIn, TexelCoverage* out) {
  const TexelBox& region = out->region;
  out->box = {region.right + 1, region.bottom + 1, region.left - 1, region.top - 1};
  out->rows.assign(static_cast<std::size_t>(region.bottom - region.top + 1), TexelColumns{1, 0});
  out->rowsCut = false;
  for (int y = region.top; y <= region.bottom; ++y) {
    const TexelColumns columns = shownIn(y, region.left, region.right);
    if (columns.first > columns.last) {
      out->rowsCut = true;
      continue;
    }
    out->rowsCut |= columns.first > region.left || columns.last < region.right;
    out->rows[y - region.top] = columns;
    out->box = {std::min(out->box.left, columns.first), std::min(out->box.top, y), std::max(out->box.right, columns.last),
                std::max(out->box.bottom, y)};
  }
  out->boxCuts = !SameBox(out->box, region);
}

// Row by row through the texels themselves: for regions small beside their texture.
template <DDrawPixelKind Kind>
void SummariseTexels(const TextureSampler& t, const TransparentTexels& test, TexelCoverage* out) {
  using Word = PixelWord<Kind>;
  const TexelShows<Kind> shows(t, test);
  Summarise(
      [&](int y, int left, int right) {
        const Word* row = reinterpret_cast<const Word*>(t.bits + static_cast<std::ptrdiff_t>(y) * t.pitch);
        int first = left;
        while (first <= right && !shows(row[first])) ++first;
        if (first > right) return TexelColumns{1, 0};
        int last = right;
        while (!shows(row[last])) --last;
        return TexelColumns{first, last};
      },
      out);
}

bool Inside(const TexelBox& box, int x, int y) {
  return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

constexpr double kTexelUnit = static_cast<double>(std::int64_t{1} << kTexelFractionBits);

// Narrows [*first, *last] towards the pixels i whose texel along one coordinate (start
// + i step, clamped to [0, size - 1] as the sampler addresses it) lies in [low, high].
// In doubles, so with a texel to spare on each side: every such pixel stays.
void KeepTexelsNear(std::int64_t start, std::int64_t step, int low, int high, int size, double* first, double* last) {
  const double at = static_cast<double>(start) / kTexelUnit, per = static_cast<double>(step) / kTexelUnit;
  const double from = low > 0 ? low - 1.0 : -1e300, to = high < size - 1 ? high + 2.0 : 1e300;
  if (step == 0) {
    if (at < from || at >= to) *last = *first - 1;
    return;
  }
  const double a = (from - at) / per, b = (to - at) / per;
  *first = std::max(*first, std::floor(std::min(a, b)));
  *last = std::min(*last, std::ceil(std::max(a, b)));
}

// The pixels [first, last] of `count` (u and v at the first) that may show a texel
// of the box, or none (first > last).
TexelColumns PixelsNear(const TextureSampler& t, const TexelBox& box, std::int64_t u, std::int64_t du, std::int64_t v,
                        std::int64_t dv, int count) {
  double first = 0, last = count - 1;
  KeepTexelsNear(u, du, box.left, box.right, t.width, &first, &last);
  KeepTexelsNear(v, dv, box.top, box.bottom, t.height, &first, &last);
  if (first > last) return {1, 0};
  return {static_cast<int>(first), static_cast<int>(last)};
}

// Whether `count` pixels from (u, v) read texels inside the region alone.
bool ReadsInside(const TextureSampler& t, const TexelBox& region, std::int64_t u, std::int64_t du, std::int64_t v,
                 std::int64_t dv, int count) {
  const std::int64_t lastPixel = count - 1;
  return Inside(region, AddressTexel(u, t.width, false), AddressTexel(v, t.height, false)) &&
         Inside(region, AddressTexel(u + du * lastPixel, t.width, false),
                AddressTexel(v + dv * lastPixel, t.height, false));
}

// Rows [row, row + rows) of the block, pixels [first, last] of each (the draw has one
// stage).
void Shade(const DrawContext& c, const SpanBlock& block, int row, int rows, const TexelColumns& pixels) {
  SpanBlock part = block;
  const int first = pixels.first;
  part.x += first;
  part.y += row;
  part.count = pixels.last - first + 1;
  part.rows = rows;
  part.coverage = nullptr;
  part.u[0].start += block.u[0].rowStep * row + block.u[0].step * first;
  part.v[0].start += block.v[0].rowStep * row + block.v[0].step * first;
  if (c.gouraud) {
    for (int k = 0; k < 8; ++k) part.colour[k].start += block.colour[k].rowStep * row + block.colour[k].step * first;
  }
  part.depth.start += block.depth.rowStep * row + block.depth.step * first;
  c.span(c, part);
}

// Rows [top, bottom] of an upright block, each cut to its texel row's shown columns;
// neighbouring rows cut alike are shaded as one block.
void ShadeUprightRows(const DrawContext& c, const SpanBlock& block, const TexelCoverage& coverage, int top, int bottom) {
  const TextureSampler& t = c.textures[0];
  const Interpolant<std::int64_t>& u = block.u[0];
  const Interpolant<std::int64_t>& v = block.v[0];
  int runTop = top;
  TexelColumns runPixels{1, 0};
  auto shadeRun = [&](int end) {
    if (runPixels.first <= runPixels.last) Shade(c, block, runTop, end - runTop, runPixels);
  };
  for (int row = top; row <= bottom; ++row) {
    const std::int64_t rowV = v.start + v.rowStep * row;
    const TexelColumns& columns = coverage.rows[AddressTexel(rowV, t.height, false) - coverage.region.top];
    TexelColumns pixels{1, 0};
    if (columns.first <= columns.last) {
      const TexelBox near{columns.first, coverage.box.top, columns.last, coverage.box.bottom};
      pixels = PixelsNear(t, near, u.start, u.step, rowV, 0, block.count);
    }
    if (pixels.first == runPixels.first && pixels.last == runPixels.last) continue;
    shadeRun(row);
    runTop = row;
    runPixels = pixels;
  }
  shadeRun(bottom + 1);
}

}  // namespace

const TexelCoverage& FindTexelCoverage(const DrawContext& c, const TexelBox& region) {
  thread_local std::unique_ptr<CacheEntry[]> cache;
  thread_local std::uint64_t uses = 0;
  if (!cache) cache = std::make_unique<CacheEntry[]>(kCacheEntries);
  const TextureSampler& t = c.textures[0];
  CacheEntry* set = &cache[SlotOf(t, region)];
  auto same = [&](const CacheEntry& entry) {
    return entry.stamp == t.contentStamp && entry.bits == t.bits && SameBox(entry.coverage.region, region) &&
           entry.test.keyed == c.transparent.keyed && entry.test.alphaZero == c.transparent.alphaZero &&
           entry.key == t.key;
  };
  CacheEntry* entry = std::find_if(set, set + kWays, same);
  if (entry == set + kWays) {
    entry = std::min_element(set, set + kWays, [](const CacheEntry& a, const CacheEntry& b) { return a.lastUse < b.lastUse; });
    entry->stamp = t.contentStamp;
    entry->bits = t.bits;
    entry->test = c.transparent;
    entry->key = t.key;
    entry->coverage.region = region;
    const std::int64_t area = std::int64_t{region.right - region.left + 1} * (region.bottom - region.top + 1);
    const std::shared_ptr<const ShownTexelBits> bits =
        area >= kBitsFromTexels ? FindShownTexelBits(c, 4 * area >= std::int64_t{t.width} * t.height) : nullptr;
    if (bits != nullptr) {
      Summarise([&](int y, int left, int right) { return bits->ShownIn(y, left, right); }, &entry->coverage);
    } else {
      VisitColourKind(t.kind, [&](auto kind) { SummariseTexels<kind.value>(t, c.transparent, &entry->coverage); });
    }
  }
  entry->lastUse = ++uses;
  return entry->coverage;
}

bool CutsBlocks(const TexelCoverage& coverage) {
  const TexelBox& region = coverage.region;
  return coverage.boxCuts || (coverage.rowsCut && std::int64_t{region.right - region.left + 1} *
                                                          (region.bottom - region.top + 1) >= kRowsWorthCutting);
}

void SkipTransparentTexels(const DrawContext& c, const SpanBlock& block) {
  const TextureSampler& t = c.textures[0];
  const TexelCoverage& coverage = *block.coverage;
  const Interpolant<std::int64_t>& u = block.u[0];
  const Interpolant<std::int64_t>& v = block.v[0];
  const int lastRow = block.rows - 1;
  if (u.rowStep == 0 && v.step == 0 && block.rows > 1) {
    // An upright block: every row reads the same columns, each row one texel row. Cut
    // to the box, it stays one block.
    if (!ReadsInside(t, coverage.region, u.start, u.step, v.start, 0, block.count) ||
        !ReadsInside(t, coverage.region, u.start, u.step, v.start + v.rowStep * lastRow, 0, block.count)) {
      return c.span(c, block);
    }
    const TexelBox& box = coverage.box;
    double first = 0, last = block.count - 1, top = 0, bottom = lastRow;
    KeepTexelsNear(u.start, u.step, box.left, box.right, t.width, &first, &last);
    KeepTexelsNear(v.start, v.rowStep, box.top, box.bottom, t.height, &top, &bottom);
    if (first > last || top > bottom) return;
    const TexelColumns columns{static_cast<int>(first), static_cast<int>(last)};
    if (coverage.rowsCut && std::int64_t{columns.last - columns.first + 1} * (bottom - top + 1) >= kRowsWorthCutting) {
      return ShadeUprightRows(c, block, coverage, static_cast<int>(top), static_cast<int>(bottom));
    }
    return Shade(c, block, static_cast<int>(top), static_cast<int>(bottom - top) + 1, columns);
  }
  for (int row = 0; row < block.rows; ++row) {
    const std::int64_t rowU = u.start + u.rowStep * row, rowV = v.start + v.rowStep * row;
    if (!ReadsInside(t, coverage.region, rowU, u.step, rowV, v.step, block.count)) {
      Shade(c, block, row, 1, {0, block.count - 1});
      continue;
    }
    // A row along one texel row keeps to that row's texels; others to the box.
    TexelBox near = coverage.box;
    if (v.step == 0) {
      const TexelColumns& columns = coverage.rows[AddressTexel(rowV, t.height, false) - coverage.region.top];
      if (columns.first > columns.last) continue;
      near = {columns.first, near.top, columns.last, near.bottom};
    }
    const TexelColumns pixels = PixelsNear(t, near, rowU, u.step, rowV, v.step, block.count);
    if (pixels.first <= pixels.last) Shade(c, block, row, 1, pixels);
  }
}
