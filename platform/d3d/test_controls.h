// The Direct3D stand-in's side of its test controls (declared in testing.h).
#pragma once

#include <cstdint>
#include <vector>

#include "testing.h"

// D3D_OK when the call may go ahead, else the injected result.
HRESULT D3DInjectedFailure(D3DTestCall call);
void D3DRecordCall(D3DTestCall call, std::uint64_t first = 0, std::uint64_t second = 0, std::uint64_t third = 0);
bool D3DUsesGeneralPathOnly();
void D3DCountSpecialisedDraw();
bool D3DUsesSse2Only();
bool D3DVisitsTransparentTexels();
// The formats a test asked EnumTextureFormats to offer, or nullptr for the usual ones.
const std::vector<DDPIXELFORMAT>* D3DOfferedTextureFormats();
