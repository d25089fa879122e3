// Vector rows of the 32-bit blends for untinted draws without a blend graph: a row
// of source pixels (gathered by the caller) over a destination row, eight pixels a
// step with AVX2 where the processor has it, then four with SSE2, the last ones
// through DrawSourcePixel. The vector code is written once against a lane type. Each
// gives exactly the bytes of DrawSourcePixel with the same choices (the tests compare
// them), for modes 1-4 of sources with or without alpha and the bytewise add and
// subtract of sources without, with or without the transparent test.
// Every intermediate is exact in 16-bit lanes: d x (256 - p) + v x p and v x d stay
// below 2^16; floor(x / 255) = (x + (x >> 8) + 1) >> 8 for x = v x p; the products
// with the alpha are split into high and low halves.
#pragma once

#include <cstdint>

#include "softrender/alpha_row_vector.h"
#include "softrender/last_pixels.h"
#include "softrender/source_pixels.h"
#include "softrender/sse2_lanes.h"

// Whether BlendRow32 has a vector form for the operation (of a direct or alpha source;
// the bytewise add and subtract of a direct source only).
constexpr bool HasBlendRow32(int op) {
  return op == BLEND_OP_ALPHA || op == BLEND_OP_ADD || op == BLEND_OP_SUB || op == BLEND_OP_MUL ||
         op == BLEND_OP_ADD_BYTES || op == BLEND_OP_SUB_BYTES;
}

constexpr bool IsBytewiseOp(int op) { return op == BLEND_OP_ADD_BYTES || op == BLEND_OP_SUB_BYTES; }

// The whole groups of eight pixels from the row's start, drawn with AVX2 (its own
// translation unit); how many pixels it drew, 0 where AVX2 is missing.
template <int Op, int Form, bool Trans>
int BlendRow32Avx2(std::uint8_t* d, const std::uint32_t* s, int count, std::uint32_t p, std::uint32_t key);

#if defined(__SSE2__) || defined(__AVX2__)
// Internal linkage: the AVX2 unit builds these for its own lanes, and no copy built
// for a wider instruction set may stand in for the baseline's.
namespace {
namespace blend_rows32 {

template <typename L>
typename L::V AddSaturate(typename L::V d, typename L::V q) {
  const auto m = L::Set32(0x00FEFEFFu), guards = L::Set32(0x01010100u);
  const auto sum = L::Add32(L::And(d, m), L::And(q, m));
  const auto carries = L::And(sum, guards);
  const auto low = L::And(L::Or(d, q), L::Set32(0x00010100u));
  return L::Or(L::Or(sum, L::Sub32(carries, L::template ShiftRight32<8>(carries))), low);
}

template <typename L>
typename L::V SubSaturate(typename L::V d, typename L::V q) {
  const auto guards = L::Set32(0x01010100u);
  const auto diff = L::Sub32(L::Or(d, guards), L::And(q, L::Set32(0xFEFEFEFFu)));
  const auto kept = L::And(diff, guards);
  return L::And(diff, L::Sub32(kept, L::template ShiftRight32<8>(kept)));
}

// The blend of one half (one byte a 16-bit lane) of source s over destination d
// without weights: the new channel, or the strength of the add and subtract (byte
// 3's lane is replaced by the caller).
template <typename L, int Op>
typename L::V Unweighted(typename L::V s, typename L::V d, typename L::V p) {
  if constexpr (Op == BLEND_OP_ALPHA) {
    const auto keep = L::Sub16(L::Set16(256), p);
    return L::template ShiftRight16<8>(L::Add16(L::MulLow16(d, keep), L::MulLow16(s, p)));
  } else if constexpr (Op == BLEND_OP_MUL) {
    return L::template ShiftRight16<8>(L::MulLow16(s, d));
  } else {
    const auto x = L::MulLow16(s, p);
    return L::template ShiftRight16<8>(L::Add16(L::Add16(x, L::template ShiftRight16<8>(x)), L::Set16(1)));
  }
}

// The same weighted by the alpha a (in every lane of its pixel).
template <typename L, int Op>
typename L::V AlphaWeighted(typename L::V s, typename L::V d, typename L::V a, typename L::V p) {
  if constexpr (Op == BLEND_OP_ALPHA) {
    // (d x 2^16 + (v - d) x a x p) >> 16 = d + hi(v x ap) - hi(d x ap) - (lo(v x ap) < lo(d x ap)).
    const auto ap = L::MulLow16(a, p);
    const auto sign = L::Set16(0x8000);
    const auto borrow = L::Less16(L::Xor(L::MulLow16(s, ap), sign), L::Xor(L::MulLow16(d, ap), sign));
    return L::Add16(L::Sub16(L::Add16(d, L::MulHighUnsigned16(s, ap)), L::MulHighUnsigned16(d, ap)), borrow);
  } else if constexpr (Op == BLEND_OP_MUL) {
    return L::MulHighUnsigned16(L::MulLow16(s, d), a);  // (v x d x a) >> 16
  } else {
    return L::MulHighUnsigned16(L::MulLow16(s, a), p);  // (v x a x p) >> 16
  }
}

// One half of the group: the blended lanes of its pixels.
template <typename L, int Op, int Form, bool Trans>
typename L::V BlendHalf(typename L::V s, typename L::V d, typename L::V p) {
  const auto plain = Unweighted<L, Op>(s, d, p);
  if constexpr (Form != SOURCE_ALPHA) {
    return plain;
  } else {
    const auto a = L::SpreadFourthLane(s);
    const auto weighted = AlphaWeighted<L, Op>(s, d, a, p);
    if constexpr (!Trans) return weighted;
    // With the transparent test an opaque pixel drops its alpha.
    const auto opaque = L::Equal16(a, L::Set16(255));
    return L::Or(L::And(opaque, plain), L::AndNot(opaque, weighted));
  }
}

// The whole groups of L::kPixels pixels from the row's start; how many pixels it drew.
template <typename L, int Op, int Form, bool Trans>
int BlendGroups(std::uint8_t* d, const std::uint32_t* s, int count, std::uint32_t param, std::uint32_t key) {
  const auto zero = L::Zero();
  const auto p = L::Set16(static_cast<int>(param));
  const auto byte3 = L::Set32(0xFF000000u);
  int x = 0;
  for (; x + L::kPixels <= count; x += L::kPixels) {
    const auto sv = L::Load(s + x);
    const auto dv = L::Load(d + 4 * x);
    auto skip = zero;
    if constexpr (Trans && Form == SOURCE_ALPHA) {
      skip = L::Equal32(L::And(sv, byte3), zero);
    } else if constexpr (Trans) {
      skip = L::Equal32(sv, L::Set32(key));
    }
    if (L::ByteMask(skip) == L::kAllBytes) continue;
    typename L::V out;
    if constexpr (Op == BLEND_OP_ADD_BYTES) {
      out = L::AddSaturate8(dv, sv);
    } else if constexpr (Op == BLEND_OP_SUB_BYTES) {
      out = L::SubSaturate8(dv, sv);
    } else {
      const auto lanes =
          L::PackUnsigned16(BlendHalf<L, Op, Form, Trans>(L::UnpackLow8(sv, zero), L::UnpackLow8(dv, zero), p),
                            BlendHalf<L, Op, Form, Trans>(L::UnpackHigh8(sv, zero), L::UnpackHigh8(dv, zero), p));
      if constexpr (Op == BLEND_OP_ADD) {
        out = AddSaturate<L>(dv, lanes);
      } else if constexpr (Op == BLEND_OP_SUB) {
        out = SubSaturate<L>(dv, lanes);
      } else {
        out = L::Or(L::AndNot(byte3, lanes), L::And(byte3, dv));  // byte 3 kept
      }
    }
    if constexpr (Trans) out = L::Or(L::And(skip, dv), L::AndNot(skip, out));
    L::Store(d + 4 * x, out);
  }
  return x;
}

}  // namespace blend_rows32
}  // namespace
#endif

template <int Op, int Form, bool Trans>
void BlendRow32(std::uint8_t* d, const std::uint32_t* s, int count, const SourceDraw& draw) {
  static_assert(HasBlendRow32(Op) && Form != SOURCE_PALETTE && !(IsBytewiseOp(Op) && Form == SOURCE_ALPHA),
                "no vector row for this blend");
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(s);
  static const bool wide = CpuHasAvx2();
  if (wide) {
    const auto groups = [&draw](std::uint8_t* to, const std::uint8_t* from, int n) {
      return BlendRow32Avx2<Op, Form, Trans>(to, reinterpret_cast<const std::uint32_t*>(from), n, draw.rows.p,
                                             draw.key);
    };
    const int x = groups(d, bytes, count);
    if (x < count) DrawLastPixels<8>(d + 4 * x, bytes + 4 * x, count - x, groups);
    return;
  }
#ifdef __SSE2__
  const auto groups = [&draw](std::uint8_t* to, const std::uint8_t* from, int n) {
    return blend_rows32::BlendGroups<Sse2Lanes, Op, Form, Trans>(to, reinterpret_cast<const std::uint32_t*>(from), n,
                                                                 draw.rows.p, draw.key);
  };
  const int x = groups(d, bytes, count);
  if (x < count) DrawLastPixels<Sse2Lanes::kPixels>(d + 4 * x, bytes + 4 * x, count - x, groups);
#else
  for (int x = 0; x < count; ++x) {
    DrawSourcePixel<PIXEL_KIND_32, Form, Op, false, true, Trans>(d + 4 * x, bytes + 4 * x, 0, draw);
  }
#endif
}
