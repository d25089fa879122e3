// The draw state every draw reads: where it draws, which part of the target it may
// touch, how source pixels combine with the destination and which defaults a new
// graph gets. Only the functions here write it, apart from the graph system start.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"
#include "softrender/soft_draw_state.h"

struct MEMIMG;

constexpr int kDrawTargetFront = -4;
constexpr int kDrawTargetBack = -2;

struct DrawStateRecord {
  int target;               // -4 front screen, -2 back screen, else a graph handle
  int targetInVideoMemory;  // the target's DirectDraw surface lies in video memory
  RECT drawingOrigin;       // front screen in window mode: the client rectangle on the desktop
  RECT clip;                // right and bottom exclusive
  float clipFloat[4];
  int targetWidth;
  int targetHeight;
  int depthTest;
  int depthWrite;
  int depthFunction;
  float vertexDepth;
  int filterMode;  // 0 nearest, 1 bilinear
  int blendMode;   // BlendMode 0..4 (5..8 are device blend settings of the hardware path)
  int blendParam;  // 0..255
  int blendGraph;  // -1 none
  int blendGraphBorderParam;
  int blendGraphBorderWidth;
  std::uint32_t tint;  // 0x00RRGGBB
  int maskScreenEnabled;
  int maskSurfaceInVideoMemory;
  int maskDrawing;  // the mask screen never exists: always 0
  int newGraphColourDepth;  // 0 = automatic
  int use3DGraphs;
  int drawValid;
  int newGraphAlphaRequest;
  int newGraphAlphaTest;
  int alphaSetting2D;
  int renderTargetRequest;  // nothing sets it
  std::uint32_t transparentColor;  // 0x00RRGGBB
  int ditherMode;
  int clipEmpty;
  int drawingSuspended;  // nothing sets it
};

extern DrawStateRecord DrawState;

// What the software kernels read of the draw state.
SoftDrawState MakeSoftDrawState();

// Setters.
int SetBlendModeBody(int mode, int parameter);
int SetDrawTint(int r, int g, int b);
int SetDrawTintPacked(std::uint32_t rgb);
int SetBlendGraph(int graph, int borderParameter, int borderWidth);
int SetDrawFilterMode(int mode);
int SetClipRectBody(int x1, int y1, int x2, int y2);
int SetDrawTargetBody(int target);
int SetTransparentColorBody(int r, int g, int b);
int SetUse3DGraphs(int flag);
int SetDrawValidGraphCreateFlag(int flag);
int SetGraphAlphaMode(int value);
int SetGraphAlphaModeRaw(int value);
int SetDitherModeBody(int mode);
int SetDefaultDrawArea(const RECT* area);

// Getters.
int GetDrawTarget();
int GetClipRect(RECT* out);
int GetDrawFilterMode();
int GetDitherMode();
int QueryScreenMode(int* width, int* height, int* bits);

// Rectangle helpers (ClipRectangleBody is the software renderer's, softrender/clip_rect.h).
int NormalizeRect(RECT* r);
int GetRectSize(const RECT* r, int* width, int* height);

int ClearDrawTargetBody();

// The mask screen is never made in this system.
int EnableMaskScreen(int flag);
MEMIMG* GetMaskMemImg();
