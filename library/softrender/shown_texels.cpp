#include "softrender/shown_texels.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "softrender/draw_options.h"
#include "softrender/loop_select.h"
#include "softrender/source_pixels.h"
#include "softrender/sse2_lanes.h"

namespace {

std::atomic<bool> visitsTransparentTexels{false};

constexpr int kCacheEntries = 512;  // a power of two

struct CacheEntry {
  std::uint64_t stamp = 0;  // 0: unused
  const void* pixels = nullptr;
  int width = 0, height = 0, pitch = 0, form = 0;
  std::uint32_t key = 0;
  ShownTexels box{};
};

// 32-bit texels are hidden where (word & mask) == key: whole groups of them are
// passed over by the lanes, the scalar walk finds the exact edge.
struct HiddenWords {
  std::uint32_t mask, key;
};

// From column x rightwards, before end: where the whole hidden groups stop.
int PassHiddenRight(const std::uint8_t* row, int x, int end, HiddenWords hidden) {
#ifdef __SSE2__
  using L = Sse2Lanes;
  const auto mask = L::Set32(hidden.mask), key = L::Set32(hidden.key);
  const auto allHidden = [&](int at) {
    return L::ByteMask(L::Equal32(L::And(L::Load(row + 4 * at), mask), key)) == L::kAllBytes;
  };
  while (x + L::kPixels <= end && allHidden(x)) x += L::kPixels;
#endif
  return x;
}

// From the exclusive end leftwards: the new exclusive end.
int PassHiddenLeft(const std::uint8_t* row, int end, HiddenWords hidden) {
#ifdef __SSE2__
  using L = Sse2Lanes;
  const auto mask = L::Set32(hidden.mask), key = L::Set32(hidden.key);
  const auto allHidden = [&](int at) {
    return L::ByteMask(L::Equal32(L::And(L::Load(row + 4 * at), mask), key)) == L::kAllBytes;
  };
  while (end >= L::kPixels && allHidden(end - L::kPixels)) end -= L::kPixels;
#endif
  return end;
}

template <int Kind, int Form>
ShownTexels Summarise(const MEMIMG* src) {
  constexpr bool kWords = Kind == PIXEL_KIND_32 && Form != SOURCE_PALETTE;
  const HiddenWords hidden = Form == SOURCE_ALPHA ? HiddenWords{0xFF000000u, 0u} : HiddenWords{~0u, src->transparentColor};
  using Src = SourcePixels<Kind, Form>;
  auto shown = [&](const std::uint8_t* texel) {
    if constexpr (Form == SOURCE_ALPHA) {
      return Src::Alpha(texel) != 0;
    } else {
      return Src::Raw(texel) != src->transparentColor;
    }
  };
  ShownTexels box{src->width, src->height, 0, 0};
  for (int y = 0; y < src->height; ++y) {
    const std::uint8_t* row = static_cast<const std::uint8_t*>(src->pixels) + static_cast<std::ptrdiff_t>(y) * src->pitch;
    int first = kWords ? PassHiddenRight(row, 0, src->width, hidden) : 0;
    while (first < src->width && !shown(row + first * Src::kBytes)) ++first;
    if (first == src->width) continue;
    // Texel `first` is shown: the walk from the right stops at it at the latest.
    int last = (kWords ? PassHiddenLeft(row, src->width, hidden) : src->width) - 1;
    while (!shown(row + last * Src::kBytes)) --last;
    box = {std::min(box.left, first), std::min(box.top, y), std::max(box.right, last + 1), y + 1};
  }
  if (box.left >= box.right) box = {0, 0, 0, 0};
  return box;
}

}  // namespace

bool FindShownTexels(const MEMIMG* src, ShownTexels* out) {
  if (src->contentStamp == 0 || (src->kind != PIXEL_KIND_16 && src->kind != PIXEL_KIND_32)) return false;
  thread_local std::unique_ptr<CacheEntry[]> cache;
  if (!cache) cache = std::make_unique<CacheEntry[]>(kCacheEntries);
  const int form = SourceFormOf(src);
  std::uint64_t hash = (src->contentStamp * 0x9E3779B97F4A7C15ull) ^ reinterpret_cast<std::uintptr_t>(src->pixels);
  hash = (hash ^ static_cast<std::uint64_t>(src->width) << 32 ^ static_cast<std::uint32_t>(src->height)) *
         0xFF51AFD7ED558CCDull;
  CacheEntry& entry = cache[(hash >> 40) & (kCacheEntries - 1)];
  if (entry.stamp != src->contentStamp || entry.pixels != src->pixels || entry.width != src->width ||
      entry.height != src->height || entry.pitch != src->pitch || entry.form != form ||
      entry.key != src->transparentColor) {
    entry = {src->contentStamp, src->pixels, src->width, src->height, src->pitch, form, src->transparentColor, {}};
    entry.box = ChooseInt<PIXEL_KIND_16, PIXEL_KIND_32>(src->kind, [&](auto k) {
      return ChooseInt<SOURCE_DIRECT, SOURCE_ALPHA, SOURCE_PALETTE>(form, [&](auto f) { return Summarise<k(), f()>(src); });
    });
  }
  *out = entry.box;
  return true;
}

void SetVisitsTransparentTexels(bool on) { visitsTransparentTexels.store(on, std::memory_order_relaxed); }

bool VisitsTransparentTexels() { return visitsTransparentTexels.load(std::memory_order_relaxed); }
