// Gathers a draw's context from the device's states and surfaces, once per draw call.
#pragma once

#include "d3d/d3d.h"
#include "d3d/draw_context.h"

struct DrawSurfaces {
  IDirectDrawSurface7* target;
  IDirectDrawSurface7* const* textures;  // one per stage, null where none is set
  const D3DVIEWPORT7* viewport;
};

// DD_OK, or the error of a surface that cannot be drawn with now (lost, locked, dead, or a
// texture of a kind that holds no colour).
HRESULT PrepareDraw(const DeviceStates& states, const DrawSurfaces& surfaces, DrawContext* context);
