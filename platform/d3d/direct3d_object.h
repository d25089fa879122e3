// The Direct3D object of a DirectDraw object: one device description, the Z format and
// device creation. It keeps its DirectDraw object alive.
#pragma once

#include "d3d/d3d.h"

// QueryInterface(IID_IDirect3D7) on a DirectDraw object ends here.
HRESULT CreateDirect3DForDirectDraw(IDirectDraw7* directDraw, void** object);
