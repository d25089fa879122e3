// Direct3D 7 stand-in: one "hardware" device that rasterises pre-transformed, coloured
// and textured triangles and lines in software into the DirectDraw stand-in's surfaces.
// IDirect3D7 comes from the DirectDraw object (QueryInterface IID_IDirect3D7) and keeps
// it alive; a device keeps its Direct3D object, its render target and its textures.
//
// What the rasteriser does (the rules the library's half-pixel offsets rely on):
// - pixel centres lie at integer coordinates; a pixel belongs to a triangle when its
//   centre is inside, or on a top or left edge (positions snap to 1/256 pixel first);
// - the scissor is the viewport inside the render target; culling follows CULLMODE;
// - attributes interpolate linearly in screen space (rhw and TEXTUREPERSPECTIVE are not
//   used: pre-transformed vertices all carry rhw 1); flat shading takes diffuse and
//   specular from each triangle's first vertex (list: 0, 3, 6...; strip: vertex i);
// - point sampling takes texel floor(u x width), floor(v x height), bilinear filtering
//   (MAGFILTER LINEAR) the four texels around (u x width - 0.5, v x height - 0.5); with
//   clamp or wrap addressing; 16-bit texels widen to 8 bits per channel by bit
//   replication; textures without alpha read alpha 255;
// - per pixel: colour key (the texel's colour bits equal the texture's source key),
//   the stage cascade, alpha test, Z test and write, blending with per-channel
//   saturation, then the write truncates each channel to the target's width and sets
//   unused bits to 1. Products of two 8-bit values are rounded to nearest (x * 255 / 255
//   is exact); blending rounds once: min(255, round((s x sf + d x df) / 255));
// - a draw whose stage 0 has no texture takes colour and alpha from the diffuse;
// - lines light the pixels whose diamond they leave: along the major axis from
//   ceil(start - 0.5) up to, not including, ceil(end - 0.5) (mirrored for lines that run
//   backwards), the minor coordinate rounded at each pixel centre (halves to the lower
//   coordinate);
// - values the library never sends (other blend factors, stage ops and arguments,
//   addressing modes, dithering) are refused by the state setters, not ignored;
// - after EndScene every surface drawn to is told it was written, so drawing into the
//   primary shows in the window as any other write to it does.
#pragma once

#include "com/com.h"
#include "d3d/d3d_types.h"
#include "ddraw/ddraw.h"

extern const IID IID_IDirect3D7;
extern const IID IID_IDirect3DHALDevice;
extern const IID IID_IDirect3DTnLHalDevice;

typedef HRESULT (*LPD3DENUMDEVICESCALLBACK7)(LPSTR description, LPSTR name, D3DDEVICEDESC7* device,
                                             LPVOID context);
typedef HRESULT (*LPD3DENUMPIXELFORMATSCALLBACK)(DDPIXELFORMAT* format, LPVOID context);

struct IDirect3DDevice7 : IUnknown {
  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  virtual HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) = 0;
  virtual HRESULT SetRenderTarget(IDirectDrawSurface7* surface, DWORD flags) = 0;
  virtual HRESULT SetViewport(D3DVIEWPORT7* viewport) = 0;
  virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
  virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) = 0;
  virtual HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) = 0;
  virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                DWORD flags) = 0;
  virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                                       DWORD vertexCount, WORD* indices, DWORD indexCount, DWORD flags) = 0;
  // Copies a rectangle of one texture into another of the same format (NULL rectangle:
  // the whole source; NULL point: the rectangle's own position).
  virtual HRESULT Load(IDirectDrawSurface7* destination, POINT* destinationPoint, IDirectDrawSurface7* source,
                       LPRECT sourceRect, DWORD flags) = 0;
};

struct IDirect3D7 : IUnknown {
  virtual HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, LPVOID context) = 0;
  virtual HRESULT EnumZBufferFormats(REFCLSID device, LPD3DENUMPIXELFORMATSCALLBACK callback,
                                     LPVOID context) = 0;
  virtual HRESULT CreateDevice(REFCLSID device, IDirectDrawSurface7* renderTarget,
                               IDirect3DDevice7** created) = 0;
};
