// Per row, the stretches of a source's texels that a transparent draw shows. A draw
// that covers a large part of a sparse picture (a few marks on a field of the
// transparent colour) visits only these instead of testing every texel of its area.
// Hidden gaps too short to be worth a jump stay inside a stretch: the kernels test
// those texels as before.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/memimg.h"
#include "softrender/texel_shown.h"

// Columns [left, right) of a row.
struct TexelStretch {
  int left, right;
};

class ShownStretches {
 public:
  explicit ShownStretches(const MEMIMG* src);
  bool Describes(const MEMIMG* src) const { return source_ == ShownTexelSource::Of(src); }

  // Calls visit(left, right) for each stretch of row y cut to columns [left, right),
  // left to right.
  template <typename Visit>
  void ForEachIn(int y, int left, int right, Visit visit) const {
    const TexelStretch* end = stretches_.data() + rowStarts_[y + 1];
    for (const TexelStretch* s = stretches_.data() + rowStarts_[y]; s != end && s->left < right; ++s) {
      if (s->right > left) visit(std::max(s->left, left), std::min(s->right, right));
    }
  }

 private:
  ShownTexelSource source_;
  std::vector<int> rowStarts_;  // row y's stretches: [rowStarts_[y], rowStarts_[y + 1])
  std::vector<TexelStretch> stretches_;
};

// The stretches of a 16- or 32-bit source with a content stamp, for a draw visiting
// `area` of its texels; null when not worth it: a small area, or while the draws of
// this content have covered less than a quarter of it (content that changes each frame
// would be scanned whole for every draw).
std::shared_ptr<const ShownStretches> FindShownStretches(const MEMIMG* src, std::int64_t area);
