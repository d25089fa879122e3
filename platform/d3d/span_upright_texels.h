// The 32-bit texels of an upright block drawn at another size than its texels: every
// pixel row reads the same texel columns, so where each register of pixels reads them is
// worked out once per block. A register whose pixels read at most a register's width of
// side-by-side texels (a sprite at its size or larger, either way round, up to the row's
// end) then takes them with one load and one permute on each texel row; others, and all
// on lanes that cannot permute, texel by texel from the column table.
// Part of the span kernels: included by span_fast_kernels.h after the lanes.
#pragma once

#include <cstdint>

#include "d3d/draw_context.h"

namespace {

template <typename L>
class UprightTexels {
 public:
  // For `count` (at most kFastChunk) pixels from u, stepping du, on texel rows `width`
  // texels wide, clamped.
  void Plan(std::int64_t u, std::int64_t du, int count, int width) {
    groups_ = (count + L::kPixels - 1) / L::kPixels;
    for (int i = 0; i < groups_ * L::kPixels; ++i) {
      // Past the last pixel the last one's column again: whole registers are fetched.
      std::int64_t texel = (u + du * (i < count ? i : count - 1)) >> kTexelFractionBits;
      columns_[i] = static_cast<int>(texel < 0 ? 0 : (texel >= width ? width - 1 : texel));
    }
    for (int group = 0; group < groups_; ++group) starts_[group] = PlanPermute(group, width);
  }

  // The texels of the row starting at `row` into `out` (whole registers).
  void Fetch(const DWORD* row, DWORD* out) const {
    for (int group = 0; group < groups_; ++group) {
      const int first = group * L::kPixels;
      if constexpr (L::kPermutes) {
        if (starts_[group] >= 0) {
          L::Store(out + first, L::Permute(L::Load(row + starts_[group]), lanes_[group]));
          continue;
        }
      }
      for (int i = first; i < first + L::kPixels; ++i) out[i] = row[columns_[i]];
    }
  }

 private:
  static constexpr int kGroups = kFastChunk / L::kPixels;

  // The first column of the register of texels the group permutes from, or -1 when its
  // texels do not fit one register inside the row.
  int PlanPermute(int group, int width) {
    if (!L::kPermutes || width < L::kPixels) return -1;
    const int* columns = columns_ + group * L::kPixels;
    // Columns run one way (the clamp keeps that): the ends are the lowest and the highest.
    const int first = columns[0], last = columns[L::kPixels - 1];
    const int lowest = first < last ? first : last, highest = first < last ? last : first;
    const int start = lowest < width - L::kPixels ? lowest : width - L::kPixels;
    if (highest - start >= L::kPixels) return -1;
    lanes_[group] = L::Sub32(L::Load(reinterpret_cast<const DWORD*>(columns)), L::Set32(static_cast<DWORD>(start)));
    return start;
  }

  int groups_ = 0;
  int columns_[kFastChunk];
  int starts_[kGroups];
  typename L::V lanes_[kGroups];
};

}  // namespace
