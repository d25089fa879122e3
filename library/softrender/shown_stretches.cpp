#include "softrender/shown_stretches.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "softrender/loop_select.h"

namespace {

// A jump costs about as much as testing this many hidden texels.
constexpr int kShortestSkippedGap = 32;
// Smaller draws keep to the box of the shown texels.
constexpr std::int64_t kSmallestArea = 1024;
// Summaries kept: a few large pictures are drawn at a time.
constexpr std::size_t kKept = 8;

template <int Kind, int Form>
void AddRowStretches(const MEMIMG* src, const std::uint8_t* row, std::vector<TexelStretch>* out) {
  const TexelShown<Kind, Form> shown(src);
  constexpr int kBytes = TexelShown<Kind, Form>::kBytes;
  const std::size_t rowFirst = out->size();
  int x = 0;
  while (true) {
    x = shown.PassHiddenRight(row, x, src->width);
    while (x < src->width && !shown(row + x * kBytes)) ++x;
    if (x == src->width) return;
    const int left = x;
    while (x < src->width && shown(row + x * kBytes)) ++x;
    if (out->size() > rowFirst && left - out->back().right < kShortestSkippedGap) {
      out->back().right = x;
    } else {
      out->push_back({left, x});
    }
  }
}

}  // namespace

ShownStretches::ShownStretches(const MEMIMG* src) : source_(ShownTexelSource::Of(src)) {
  rowStarts_.reserve(static_cast<std::size_t>(src->height) + 1);
  rowStarts_.push_back(0);
  ChooseInt<PIXEL_KIND_16, PIXEL_KIND_32>(src->kind, [&](auto k) {
    ChooseInt<SOURCE_DIRECT, SOURCE_ALPHA, SOURCE_PALETTE>(source_.form, [&](auto f) {
      for (int y = 0; y < src->height; ++y) {
        const std::uint8_t* row = static_cast<const std::uint8_t*>(src->pixels) + static_cast<std::ptrdiff_t>(y) * src->pitch;
        AddRowStretches<k(), f()>(src, row, &stretches_);
        rowStarts_.push_back(static_cast<int>(stretches_.size()));
      }
    });
  });
}

std::shared_ptr<const ShownStretches> FindShownStretches(const MEMIMG* src, std::int64_t area) {
  if (area < kSmallestArea || src->contentStamp == 0 || (src->kind != PIXEL_KIND_16 && src->kind != PIXEL_KIND_32)) {
    return nullptr;
  }
  static std::mutex mutex;
  static std::array<std::shared_ptr<const ShownStretches>, kKept> kept;
  static std::size_t next = 0;
  // Sources not summed up yet, with the area drawn of them so far: a draw split into
  // tiles or bands counts whole.
  static std::array<std::pair<ShownTexelSource, std::int64_t>, kKept> drawn{};
  static std::size_t nextDrawn = 0;
  const ShownTexelSource source = ShownTexelSource::Of(src);
  {
    std::lock_guard<std::mutex> lock(mutex);
    for (const auto& stretches : kept) {
      if (stretches != nullptr && stretches->Describes(src)) return stretches;
    }
    auto entry = std::find_if(drawn.begin(), drawn.end(), [&](const auto& e) { return e.first == source; });
    if (entry == drawn.end()) {
      entry = drawn.begin() + nextDrawn++ % kKept;
      *entry = {source, 0};
    }
    entry->second += area;
    if (4 * entry->second < std::int64_t{src->width} * src->height) return nullptr;
    entry->first.stamp = 0;
  }
  // Made outside the lock: threads that miss together each make (the same) summary.
  auto made = std::make_shared<const ShownStretches>(src);
  std::lock_guard<std::mutex> lock(mutex);
  kept[next++ % kKept] = made;
  return made;
}
