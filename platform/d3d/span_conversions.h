// The pixel conversions the specialised span routines work through (see FastConversions).
#pragma once

#include "d3d/draw_context.h"

// The conversions for the draw's target and stage-0 texture; false when the target is
// not one the routines take (they write no alpha, so only targets without one).
// `gather`: 32-bit texels are fetched with AVX2 gathers where they can be.
bool ChooseConversions(const DrawContext& c, bool gather, FastConversions* fast);
