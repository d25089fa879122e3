// The hardware text routine, until the fonts' texture caches land. The device, texture graph and render-state services are
// declared in d3d_device.h, surface_3d_data.h, texture_formats.h and render_states.h;
// the hardware drawing routines in hardware_draw.h.
#pragma once

#include <cstdint>

#include "graphics/d3d_device.h"
#include "graphics/render_states.h"
#include "graphics/surface_3d_data.h"
#include "graphics/texture_formats.h"

// ---- Hardware text ----
int DrawTextHardware(int x, int y, const char* text, std::uint32_t colour, int font, std::uint32_t edgeColour,
                     int vertical);
