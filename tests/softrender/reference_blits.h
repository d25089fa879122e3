// Whole-draw models of the two image kernels on test images, built on the
// per-pixel reference: they decide per destination pixel, from the descriptions,
// whether and how it is drawn.
#pragma once

#include "soft_test_images.h"

void RefBlitAtPosition(TestImage& dst, const TestImage& src, int x, int y, int transparent,
                       const TestImage* graph, const SoftDrawState& state);
void RefBlitScaled(TestImage& dst, const TestImage& src, const RECT& rect, int transparent, const TestImage* graph,
                   const SoftDrawState& state);
