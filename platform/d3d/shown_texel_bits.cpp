#include "d3d/shown_texel_bits.h"

#include <algorithm>
#include <array>
#include <mutex>

namespace {

constexpr int kWordBits = 64;
// Versions kept: a few big pictures are drawn at a time.
constexpr std::size_t kKept = 8;

template <DDrawPixelKind Kind>
void SetBits(const TextureSampler& t, const TransparentTexels& test, std::size_t wordsPerRow,
             std::vector<std::uint64_t>* words) {
  using Word = PixelWord<Kind>;
  const TexelShows<Kind> shows(t, test);
  for (int y = 0; y < t.height; ++y) {
    const Word* row = reinterpret_cast<const Word*>(t.bits + static_cast<std::ptrdiff_t>(y) * t.pitch);
    std::uint64_t* out = words->data() + y * wordsPerRow;
    for (int x = 0; x < t.width; x += kWordBits) {
      const int count = std::min(kWordBits, t.width - x);
      std::uint64_t word = 0;
      for (int i = 0; i < count; ++i) word |= static_cast<std::uint64_t>(shows(row[x + i])) << i;
      out[x / kWordBits] = word;
    }
  }
}

// Bits [from, to] of a word set (0 <= from <= to < 64).
std::uint64_t BitsBetween(int from, int to) { return (~std::uint64_t{0} << from) & (~std::uint64_t{0} >> (kWordBits - 1 - to)); }

}  // namespace

ShownTexelBits::ShownTexelBits(const TextureSampler& t, const TransparentTexels& test)
    : stamp_(t.contentStamp),
      bits_(t.bits),
      test_(test),
      key_(t.key),
      wordsPerRow_(static_cast<std::size_t>((t.width + kWordBits - 1) / kWordBits)),
      words_(wordsPerRow_ * static_cast<std::size_t>(t.height)) {
  VisitColourKind(t.kind, [&](auto kind) { SetBits<kind.value>(t, test, wordsPerRow_, &words_); });
}

bool ShownTexelBits::Matches(const TextureSampler& t, const TransparentTexels& test) const {
  return stamp_ == t.contentStamp && bits_ == t.bits && test_.keyed == test.keyed &&
         test_.alphaZero == test.alphaZero && key_ == t.key;
}

TexelColumns ShownTexelBits::ShownIn(int y, int left, int right) const {
  const std::uint64_t* row = words_.data() + static_cast<std::size_t>(y) * wordsPerRow_;
  const int firstWord = left / kWordBits, lastWord = right / kWordBits;
  auto masked = [&](int w) {
    return row[w] & BitsBetween(w == firstWord ? left % kWordBits : 0, w == lastWord ? right % kWordBits : kWordBits - 1);
  };
  int w = firstWord;
  while (w <= lastWord && masked(w) == 0) ++w;
  if (w > lastWord) return {1, 0};
  const int first = w * kWordBits + __builtin_ctzll(masked(w));
  w = lastWord;
  while (masked(w) == 0) --w;
  return {first, w * kWordBits + kWordBits - 1 - __builtin_clzll(masked(w))};
}

std::shared_ptr<const ShownTexelBits> FindShownTexelBits(const DrawContext& c, bool build) {
  static std::mutex mutex;
  static std::array<std::shared_ptr<const ShownTexelBits>, kKept> kept;
  static std::size_t next = 0;
  const TextureSampler& t = c.textures[0];
  {
    std::lock_guard<std::mutex> lock(mutex);
    for (const auto& bits : kept) {
      if (bits != nullptr && bits->Matches(t, c.transparent)) return bits;
    }
  }
  if (!build) return nullptr;
  // Built outside the lock: threads that miss together each build (the same) bits.
  auto built = std::make_shared<const ShownTexelBits>(t, c.transparent);
  std::lock_guard<std::mutex> lock(mutex);
  kept[next++ % kKept] = built;
  return built;
}
