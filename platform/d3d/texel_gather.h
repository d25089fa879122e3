// Stretched and turned runs of 32-bit texels fetched with AVX2 (gathers, or loads of
// the few texel rows a magnified run crosses).
#pragma once

#include <cstdint>

#include "d3d/draw_context.h"

// The point-sampled, clamped texels of `count` pixels from (u, v) into `out`, as the
// one-at-a-time fetch takes them; false (nothing written) for runs it does not take:
// fewer than eight pixels, or indices beyond 32 bits.
bool GatherTexels(const TextureSampler& t, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv,
                  int count, DWORD* out);
