// DirectDraw's pixel-format record (32 bytes), shared by the DirectDraw stand-in
// and the library's pixel-format code: one definition, in the stand-in's types.
#pragma once

#include "ddraw/ddraw_types.h"

static_assert(sizeof(DDPIXELFORMAT) == 32, "DDPIXELFORMAT is 32 bytes");
