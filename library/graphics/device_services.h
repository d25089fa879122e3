// The hardware path's services in one include: the device, texture graph and
// render-state declarations of d3d_device.h, surface_3d_data.h, texture_formats.h
// and render_states.h.
#pragma once

#include <cstdint>

#include "graphics/d3d_device.h"
#include "graphics/render_states.h"
#include "graphics/surface_3d_data.h"
#include "graphics/texture_formats.h"

