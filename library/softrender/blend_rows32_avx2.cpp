// The AVX2 build of the 32-bit blend rows: eight pixels a step. Compiled with AVX2
// enabled; called only on processors that have it.
#include "softrender/blend_rows32.h"

#if defined(__AVX2__)

#include "softrender/avx2_lanes.h"

template <int Op, int Form, bool Trans>
int BlendRow32Avx2(std::uint8_t* d, const std::uint32_t* s, int count, std::uint32_t p, std::uint32_t key) {
  return blend_rows32::BlendGroups<Avx2Lanes, Op, Form, Trans>(d, s, count, p, key);
}

#else

template <int Op, int Form, bool Trans>
int BlendRow32Avx2(std::uint8_t*, const std::uint32_t*, int, std::uint32_t, std::uint32_t) {
  return 0;
}

#endif

#define BLEND_ROW32_AVX2(op)                                                                                   \
  template int BlendRow32Avx2<op, SOURCE_DIRECT, false>(std::uint8_t*, const std::uint32_t*, int, std::uint32_t, \
                                                        std::uint32_t);                                        \
  template int BlendRow32Avx2<op, SOURCE_DIRECT, true>(std::uint8_t*, const std::uint32_t*, int, std::uint32_t,  \
                                                       std::uint32_t);                                         \
  template int BlendRow32Avx2<op, SOURCE_ALPHA, false>(std::uint8_t*, const std::uint32_t*, int, std::uint32_t,  \
                                                       std::uint32_t);                                         \
  template int BlendRow32Avx2<op, SOURCE_ALPHA, true>(std::uint8_t*, const std::uint32_t*, int, std::uint32_t,   \
                                                      std::uint32_t);
BLEND_ROW32_AVX2(BLEND_OP_ALPHA)
BLEND_ROW32_AVX2(BLEND_OP_ADD)
BLEND_ROW32_AVX2(BLEND_OP_SUB)
BLEND_ROW32_AVX2(BLEND_OP_MUL)
template int BlendRow32Avx2<BLEND_OP_ADD_BYTES, SOURCE_DIRECT, false>(std::uint8_t*, const std::uint32_t*, int,
                                                                     std::uint32_t, std::uint32_t);
template int BlendRow32Avx2<BLEND_OP_ADD_BYTES, SOURCE_DIRECT, true>(std::uint8_t*, const std::uint32_t*, int,
                                                                    std::uint32_t, std::uint32_t);
template int BlendRow32Avx2<BLEND_OP_SUB_BYTES, SOURCE_DIRECT, false>(std::uint8_t*, const std::uint32_t*, int,
                                                                     std::uint32_t, std::uint32_t);
template int BlendRow32Avx2<BLEND_OP_SUB_BYTES, SOURCE_DIRECT, true>(std::uint8_t*, const std::uint32_t*, int,
                                                                    std::uint32_t, std::uint32_t);
