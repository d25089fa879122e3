#include "d3d/draw_setup.h"

#include <algorithm>

#include "d3d/colour_math.h"
#include "d3d/test_controls.h"
#include "ddraw/surface_access.h"

namespace {

// The alpha test as a range of passing alphas (see DrawContext).
void SetAlphaTest(const DeviceStates& states, DrawContext* c) {
  int ref = static_cast<int>(states.alphaRef);
  c->alphaLow = 0;
  c->alphaHigh = 255;
  c->alphaOutside = false;
  if (!states.alphaTestEnable) return;
  switch (states.alphaFunc) {
    case D3DCMP_NEVER: c->alphaLow = 1, c->alphaHigh = 0; break;
    case D3DCMP_LESS: c->alphaHigh = ref - 1; break;
    case D3DCMP_EQUAL: c->alphaLow = c->alphaHigh = ref; break;
    case D3DCMP_LESSEQUAL: c->alphaHigh = ref; break;
    case D3DCMP_GREATER: c->alphaLow = ref + 1; break;
    case D3DCMP_NOTEQUAL: c->alphaLow = c->alphaHigh = ref, c->alphaOutside = true; break;
    case D3DCMP_GREATEREQUAL: c->alphaLow = ref; break;
    default: break;  // ALWAYS
  }
}

HRESULT SetUpSampler(IDirectDrawSurface7* texture, const StageStates& stage, bool colourKey, TextureSampler* sampler) {
  DDrawSurfaceMemory memory;
  if (HRESULT result = DDrawReadSurfaceMemory(texture, &memory); result != DD_OK) return result;
  if (!IsColourKind(memory.kind)) return DDERR_INVALIDPIXELFORMAT;
  DWORD colourBits = GetPixelLayout(memory.kind).ColourMask();
  DWORD key = 0;
  bool keyed = colourKey && DDrawGetSourceColorKey(texture, &key);
  *sampler = {memory.bits,
              memory.pitch,
              static_cast<int>(memory.width),
              static_cast<int>(memory.height),
              memory.kind,
              keyed,
              key & colourBits,
              colourBits,
              stage.magFilter == D3DTFG_LINEAR,
              stage.address == D3DTADDRESS_WRAP,
              memory.contentStamp};
  return DD_OK;
}

// Whether a stage-0 texel of alpha 0 gives the pixel alpha 0.
bool AlphaFollowsTexel(const StageSetup& stage) {
  switch (stage.alphaOp) {
    case D3DTOP_SELECTARG1: return stage.alphaArg1 == D3DTA_TEXTURE;
    case D3DTOP_SELECTARG2: return stage.alphaArg2 == D3DTA_TEXTURE;
    case D3DTOP_MODULATE: return stage.alphaArg1 == D3DTA_TEXTURE || stage.alphaArg2 == D3DTA_TEXTURE;
    default: return false;
  }
}

// Point-sampled, clamped single-stage draws only: then a pixel reads one texel and
// nothing else decides its alpha. `shadedFast`: the specialised routines leave a
// 32-bit target's unused bits alone under a blend that keeps it, where the general
// one sets them; on a 16-bit target they narrow every pixel of the span back, which
// sets them everywhere.
TransparentTexels ChooseTransparentTexels(const DrawContext& c, bool shadedFast) {
  if (D3DVisitsTransparentTexels() || c.untextured || c.stageCount != 1) return {};
  const bool hasUnusedBits = ChannelsOf(c.targetKind).unusedBits != 0;
  if (shadedFast && hasUnusedBits && c.fast.widenTarget != nullptr) return {};
  const StageSetup& stage = c.stages[0];
  const TextureSampler& t = c.textures[0];
  if (!stage.textured || t.bilinear || t.wrap) return {};
  const bool testDropsZero = (c.alphaLow <= 0 && 0 <= c.alphaHigh) == c.alphaOutside;
  const bool blendKeepsAtZero = c.blend && c.srcBlend == D3DBLEND_SRCALPHA &&
                                (c.destBlend == D3DBLEND_INVSRCALPHA || c.destBlend == D3DBLEND_ONE) &&
                                (c.depthBits == nullptr || !c.depthWrite) &&
                                (shadedFast || !hasUnusedBits);
  const bool alphaZero = ChannelsOf(t.kind).aBits != 0 && AlphaFollowsTexel(stage) && (testDropsZero || blendKeepsAtZero);
  return {t.keyed, alphaZero};
}

}  // namespace

HRESULT PrepareDraw(const DeviceStates& states, const DrawSurfaces& surfaces, DrawContext* context) {
  DrawContext& c = *context;
  c = DrawContext{};
  DDrawSurfaceMemory target;
  if (HRESULT result = DDrawGetSurfaceMemory(surfaces.target, &target); result != DD_OK) return result;
  c.targetBits = target.bits;
  c.targetPitch = target.pitch;
  c.targetKind = target.kind;
  const D3DVIEWPORT7& viewport = *surfaces.viewport;
  c.scissor = {static_cast<LONG>(std::min(viewport.dwX, target.width)),
               static_cast<LONG>(std::min(viewport.dwY, target.height)),
               static_cast<LONG>(std::min<std::uint64_t>(std::uint64_t{viewport.dwX} + viewport.dwWidth, target.width)),
               static_cast<LONG>(std::min<std::uint64_t>(std::uint64_t{viewport.dwY} + viewport.dwHeight, target.height))};

  IDirectDrawSurface7* zBuffer = states.zEnable ? DDrawGetAttachedZBuffer(surfaces.target) : nullptr;
  if (zBuffer != nullptr) {
    DDrawSurfaceMemory depth;
    if (HRESULT result = DDrawGetSurfaceMemory(zBuffer, &depth); result != DD_OK) return result;
    c.depthBits = depth.bits;
    c.depthPitch = depth.pitch;
    c.depthFunc = states.zFunc;
    c.depthWrite = states.zWriteEnable;
  }

  c.gouraud = states.shadeMode == D3DSHADE_GOURAUD;
  c.untextured = surfaces.textures[0] == nullptr;
  c.stageCount = 0;
  while (c.stageCount < kStageCount && states.stages[c.stageCount].colourOp != D3DTOP_DISABLE) ++c.stageCount;
  for (int s = 0; s < c.stageCount; ++s) {
    const StageStates& stage = states.stages[s];
    IDirectDrawSurface7* texture = surfaces.textures[s];
    c.stages[s] = {stage.colourOp, stage.colourArg1, stage.colourArg2, stage.alphaOp, stage.alphaArg1,
                   stage.alphaArg2, static_cast<int>(stage.texCoordIndex), texture != nullptr};
    if (texture == nullptr) continue;
    if (HRESULT result = SetUpSampler(texture, stage, states.colourKeyEnable, &c.textures[s]); result != DD_OK) return result;
  }
  c.textureFactor = states.textureFactor;
  SetAlphaTest(states, &c);
  c.blend = states.alphaBlendEnable;
  c.srcBlend = states.srcBlend;
  c.destBlend = states.destBlend;

  SpanFunction fast = D3DUsesGeneralPathOnly() ? nullptr : ChooseFastSpan(&c);
  if (fast != nullptr) D3DCountSpecialisedDraw();
  c.span = fast != nullptr ? fast : &GeneralSpan;
  c.transparent = ChooseTransparentTexels(c, fast != nullptr);
  return DD_OK;
}
