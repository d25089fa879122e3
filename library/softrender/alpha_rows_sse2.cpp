// The alpha row's vector body on SSE2 (four pixels a step), and the processor test
// that picks the AVX2 form (compiled, like this file, for the baseline processor).
#include "softrender/alpha_row_vector.h"

#ifdef __SSE2__
#include "softrender/alpha_rows.h"
#include "softrender/sse2_lanes.h"

int AlphaCopyVector32Sse2(std::uint8_t* d, std::ptrdiff_t dPitch, const std::uint8_t* s, std::ptrdiff_t sPitch, int width,
                         int height, bool trans) {
  return trans ? AlphaCopyVectorBody<Sse2Lanes, true>(d, dPitch, s, sPitch, width, height)
               : AlphaCopyVectorBody<Sse2Lanes, false>(d, dPitch, s, sPitch, width, height);
}

#else

int AlphaCopyVector32Sse2(std::uint8_t*, std::ptrdiff_t, const std::uint8_t*, std::ptrdiff_t, int, int, bool) {
  return 0;
}

#endif

bool CpuHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}
