// Direct3D 7 value types: result codes, the state and primitive constants, and the
// structures passed to the stand-in's methods (only the members the library uses).
#pragma once

#include "ddraw/ddraw_types.h"

typedef float D3DVALUE;

// ---- Result codes ----

#define D3D_OK DD_OK
#define D3DENUMRET_CANCEL DDENUMRET_CANCEL
#define D3DENUMRET_OK DDENUMRET_OK

#define D3DERR_INVALIDPRIMITIVETYPE MAKE_DDHRESULT(2052)
#define D3DERR_INVALIDVERTEXTYPE MAKE_DDHRESULT(2053)
#define D3DERR_SCENE_IN_SCENE MAKE_DDHRESULT(730)
#define D3DERR_SCENE_NOT_IN_SCENE MAKE_DDHRESULT(731)

// ---- Primitives and vertex formats ----

typedef DWORD D3DPRIMITIVETYPE;
#define D3DPT_LINELIST 2u
#define D3DPT_TRIANGLELIST 4u
#define D3DPT_TRIANGLESTRIP 5u

// Flexible vertex format bits: pre-transformed position (x, y, z, rhw), then the colours,
// then two floats per texture coordinate set.
#define D3DFVF_XYZRHW 0x004u
#define D3DFVF_DIFFUSE 0x040u
#define D3DFVF_SPECULAR 0x080u
#define D3DFVF_TEXCOUNT_MASK 0xF00u
#define D3DFVF_TEXCOUNT_SHIFT 8
#define D3DFVF_TEX1 0x100u
#define D3DFVF_TEX2 0x200u

typedef DWORD D3DTRANSFORMSTATETYPE;
#define D3DTRANSFORMSTATE_WORLD 1u
#define D3DTRANSFORMSTATE_VIEW 2u
#define D3DTRANSFORMSTATE_PROJECTION 3u

// ---- Render states ----

typedef DWORD D3DRENDERSTATETYPE;
#define D3DRENDERSTATE_TEXTUREPERSPECTIVE 4u
#define D3DRENDERSTATE_ZENABLE 7u
#define D3DRENDERSTATE_SHADEMODE 9u
#define D3DRENDERSTATE_ZWRITEENABLE 14u
#define D3DRENDERSTATE_ALPHATESTENABLE 15u
#define D3DRENDERSTATE_SRCBLEND 19u
#define D3DRENDERSTATE_DESTBLEND 20u
#define D3DRENDERSTATE_CULLMODE 22u
#define D3DRENDERSTATE_ZFUNC 23u
#define D3DRENDERSTATE_ALPHAREF 24u
#define D3DRENDERSTATE_ALPHAFUNC 25u
#define D3DRENDERSTATE_DITHERENABLE 26u
#define D3DRENDERSTATE_ALPHABLENDENABLE 27u
#define D3DRENDERSTATE_COLORKEYENABLE 41u
#define D3DRENDERSTATE_TEXTUREFACTOR 60u
#define D3DRENDERSTATE_LIGHTING 137u

#define D3DZB_FALSE 0u
#define D3DZB_TRUE 1u

#define D3DSHADE_FLAT 1u
#define D3DSHADE_GOURAUD 2u

#define D3DCULL_NONE 1u
#define D3DCULL_CW 2u
#define D3DCULL_CCW 3u

#define D3DCMP_NEVER 1u
#define D3DCMP_LESS 2u
#define D3DCMP_EQUAL 3u
#define D3DCMP_LESSEQUAL 4u
#define D3DCMP_GREATER 5u
#define D3DCMP_NOTEQUAL 6u
#define D3DCMP_GREATEREQUAL 7u
#define D3DCMP_ALWAYS 8u

#define D3DBLEND_ZERO 1u
#define D3DBLEND_ONE 2u
#define D3DBLEND_SRCCOLOR 3u
#define D3DBLEND_SRCALPHA 5u
#define D3DBLEND_INVSRCALPHA 6u
#define D3DBLEND_INVDESTCOLOR 10u

// ---- Texture stage states ----

typedef DWORD D3DTEXTURESTAGESTATETYPE;
#define D3DTSS_COLOROP 1u
#define D3DTSS_COLORARG1 2u
#define D3DTSS_COLORARG2 3u
#define D3DTSS_ALPHAOP 4u
#define D3DTSS_ALPHAARG1 5u
#define D3DTSS_ALPHAARG2 6u
#define D3DTSS_TEXCOORDINDEX 11u
#define D3DTSS_ADDRESS 12u
#define D3DTSS_MAGFILTER 16u
#define D3DTSS_MINFILTER 17u

#define D3DTOP_DISABLE 1u
#define D3DTOP_SELECTARG1 2u
#define D3DTOP_SELECTARG2 3u
#define D3DTOP_MODULATE 4u
#define D3DTOP_MODULATE2X 5u
#define D3DTOP_MODULATE4X 6u
#define D3DTOP_ADD 7u
#define D3DTOP_SUBTRACT 10u

#define D3DTA_DIFFUSE 0u
#define D3DTA_CURRENT 1u
#define D3DTA_TEXTURE 2u
#define D3DTA_TFACTOR 3u
#define D3DTA_SPECULAR 4u

#define D3DTADDRESS_WRAP 1u
#define D3DTADDRESS_CLAMP 3u

#define D3DTFG_POINT 1u
#define D3DTFG_LINEAR 2u
#define D3DTFN_POINT 1u
#define D3DTFN_LINEAR 2u

// ---- Device description ----

#define D3DPTEXTURECAPS_POW2 0x2u
#define D3DPTEXTURECAPS_SQUAREONLY 0x20u

struct D3DPRIMCAPS {
  DWORD dwTextureCaps;
};

struct D3DDEVICEDESC7 {
  D3DPRIMCAPS dpcTriCaps;
  DWORD dwDeviceRenderBitDepth;  // DDBD_ bits
  DWORD dwMinTextureWidth;
  DWORD dwMinTextureHeight;
  DWORD dwMaxTextureWidth;
  DWORD dwMaxTextureHeight;
  GUID deviceGUID;
};

struct D3DVIEWPORT7 {
  DWORD dwX;
  DWORD dwY;
  DWORD dwWidth;
  DWORD dwHeight;
  D3DVALUE dvMinZ;
  D3DVALUE dvMaxZ;
};

// Row-major, used with row vectors.
struct D3DMATRIX {
  D3DVALUE m[4][4];
};
