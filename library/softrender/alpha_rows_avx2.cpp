// The alpha row's vector body on AVX2 (eight pixels a step). The build compiles
// this one file for AVX2 on x86 and it runs only on processors that have it; it
// includes nothing but the body and the lane type, so no inline code shared with
// other files is compiled with AVX2 instructions.
#include "softrender/alpha_row_vector.h"

#ifdef __AVX2__
#include "softrender/alpha_rows.h"
#include "softrender/avx2_lanes.h"

int AlphaCopyVector32Avx2(std::uint8_t* d, std::ptrdiff_t dPitch, const std::uint8_t* s, std::ptrdiff_t sPitch, int width,
                         int height, bool trans) {
  return trans ? AlphaCopyVectorBody<Avx2Lanes, true>(d, dPitch, s, sPitch, width, height)
               : AlphaCopyVectorBody<Avx2Lanes, false>(d, dPitch, s, sPitch, width, height);
}

#else

int AlphaCopyVector32Avx2(std::uint8_t*, std::ptrdiff_t, const std::uint8_t*, std::ptrdiff_t, int, int, bool) {
  return 0;
}

#endif
