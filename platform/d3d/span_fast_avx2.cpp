// The AVX2 build of the specialised span routines (compiled with AVX2 enabled; called
// only on processors that have it).
#include "d3d/span_lanes_avx2.h"
// (the lanes come first: the kernels are written against them)
#include "d3d/span_fast_kernels.h"

SpanFunction FastSpanAvx2(int colour, int alpha, bool discard, int blend) {
  return FastSpanFor<Avx2Lanes>(colour, alpha, discard, blend);
}
