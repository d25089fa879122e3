// Which texels of a texture show under a draw's transparent-texel test, a bit per
// texel. Built once per version of the texture's content and shared by every drawing
// thread, so that big regions of it are summed up a word at a time, however often and
// wherever they move.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "d3d/colour_math.h"
#include "d3d/texel_coverage.h"

// Whether a stored texel of `Kind` shows: not keyed out, and not of alpha 0 where that
// hides it.
template <DDrawPixelKind Kind>
class TexelShows {
 public:
  TexelShows(const TextureSampler& t, const TransparentTexels& test)
      : keyed_(test.keyed), alphaZero_(test.alphaZero && kAlphaMask != 0), key_(t.key), keyMask_(t.keyMask) {}
  bool operator()(DWORD raw) const {
    return !(keyed_ && (raw & keyMask_) == key_) && !(alphaZero_ && (raw & kAlphaMask) == 0);
  }

 private:
  static constexpr ChannelLayout kLayout = ChannelsOf(Kind);
  static constexpr DWORD kAlphaMask = kLayout.aBits == 0 ? 0 : ((1u << kLayout.aBits) - 1) << kLayout.aShift;
  bool keyed_, alphaZero_;
  DWORD key_, keyMask_;
};

class ShownTexelBits {
 public:
  ShownTexelBits(const TextureSampler& t, const TransparentTexels& test);
  // Whether these are the bits of the draw's stage-0 texture as it is now.
  bool Matches(const TextureSampler& t, const TransparentTexels& test) const;
  // The first and last shown texel of row y in [left, right] (first > last: none).
  TexelColumns ShownIn(int y, int left, int right) const;

 private:
  std::uint64_t stamp_;
  const BYTE* bits_;
  TransparentTexels test_;
  DWORD key_;
  std::size_t wordsPerRow_;
  std::vector<std::uint64_t> words_;  // row y from y * wordsPerRow_; texel x is bit x % 64 of word x / 64
};

// The bits of the draw's stage-0 texture from the shared cache, else built when `build`
// is set (else null).
std::shared_ptr<const ShownTexelBits> FindShownTexelBits(const DrawContext& c, bool build);
