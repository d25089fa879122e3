#include "softrender/shown_texels.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "softrender/draw_options.h"
#include "softrender/loop_select.h"
#include "softrender/texel_shown.h"

namespace {

std::atomic<bool> visitsTransparentTexels{false};

constexpr int kCacheEntries = 512;  // a power of two

struct CacheEntry {
  ShownTexelSource source{};  // stamp 0: unused
  ShownTexels box{};
};

template <int Kind, int Form>
ShownTexels Summarise(const MEMIMG* src) {
  const TexelShown<Kind, Form> shown(src);
  constexpr int kBytes = TexelShown<Kind, Form>::kBytes;
  ShownTexels box{src->width, src->height, 0, 0};
  for (int y = 0; y < src->height; ++y) {
    const std::uint8_t* row = static_cast<const std::uint8_t*>(src->pixels) + static_cast<std::ptrdiff_t>(y) * src->pitch;
    int first = shown.PassHiddenRight(row, 0, src->width);
    while (first < src->width && !shown(row + first * kBytes)) ++first;
    if (first == src->width) continue;
    // Texel `first` is shown: the walk from the right stops at it at the latest.
    int last = shown.PassHiddenLeft(row, src->width) - 1;
    while (!shown(row + last * kBytes)) --last;
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
  const ShownTexelSource source = ShownTexelSource::Of(src);
  std::uint64_t hash = (src->contentStamp * 0x9E3779B97F4A7C15ull) ^ reinterpret_cast<std::uintptr_t>(src->pixels);
  hash = (hash ^ static_cast<std::uint64_t>(src->width) << 32 ^ static_cast<std::uint32_t>(src->height)) *
         0xFF51AFD7ED558CCDull;
  CacheEntry& entry = cache[(hash >> 40) & (kCacheEntries - 1)];
  if (!(entry.source == source)) {
    entry.source = source;
    entry.box = ChooseInt<PIXEL_KIND_16, PIXEL_KIND_32>(src->kind, [&](auto k) {
      return ChooseInt<SOURCE_DIRECT, SOURCE_ALPHA, SOURCE_PALETTE>(source.form, [&](auto f) { return Summarise<k(), f()>(src); });
    });
  }
  *out = entry.box;
  return true;
}

void SetVisitsTransparentTexels(bool on) { visitsTransparentTexels.store(on, std::memory_order_relaxed); }

bool VisitsTransparentTexels() { return visitsTransparentTexels.load(std::memory_order_relaxed); }
