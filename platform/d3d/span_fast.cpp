// Chooses the specialised span routine for a draw, of the widest instruction set the
// processor has, and the pixel conversions it works through; the SSE2 build of the
// routines lives here.
#include "d3d/span_lanes_sse2.h"
// (the lanes come first: the kernels are written against them)
#include "d3d/span_fast_kernels.h"
#include "d3d/span_conversions.h"
#include "d3d/test_controls.h"

namespace {

// Stage 0's CURRENT is the diffuse.
bool IsDiffuse(DWORD argument) { return argument == D3DTA_DIFFUSE || argument == D3DTA_CURRENT; }

// The source of a stage-0 colour or alpha op: 0 texel, 1 diffuse, 2 their product, -1 other.
int SourceOf(DWORD op, DWORD arg1, DWORD arg2) {
  if (op == D3DTOP_SELECTARG1 || op == D3DTOP_SELECTARG2) {
    DWORD picked = op == D3DTOP_SELECTARG1 ? arg1 : arg2;
    return picked == D3DTA_TEXTURE ? 0 : (IsDiffuse(picked) ? 1 : -1);
  }
  if (op == D3DTOP_MODULATE) {
    bool pair = (arg1 == D3DTA_TEXTURE && IsDiffuse(arg2)) || (arg2 == D3DTA_TEXTURE && IsDiffuse(arg1));
    return pair ? 2 : -1;
  }
  return -1;
}

int BlendIndex(const DrawContext& c) {
  if (!c.blend || (c.srcBlend == D3DBLEND_ONE && c.destBlend == D3DBLEND_ZERO)) return 0;
  if (c.srcBlend != D3DBLEND_SRCALPHA) return -1;
  if (c.destBlend == D3DBLEND_INVSRCALPHA) return 1;
  return c.destBlend == D3DBLEND_ONE ? 2 : -1;
}

bool UsesAvx2() {
  static const bool present = __builtin_cpu_supports("avx2");
  return present && !D3DUsesSse2Only();
}

}  // namespace

SpanFunction FastSpanSse2(int colour, int alpha, bool discard, int blend) {
  return FastSpanFor<Sse2Lanes>(colour, alpha, discard, blend);
}

SpanFunction ChooseFastSpan(DrawContext* context) {
  const DrawContext& c = *context;
  if (c.depthBits != nullptr || c.gouraud || c.alphaOutside) return nullptr;
  int blend = BlendIndex(c);
  if (blend < 0) return nullptr;
  bool discard = c.alphaLow > 0 || c.alphaHigh < 255 || (!c.untextured && c.textures[0].keyed);
  int colour = 0, alpha = 0;  // an untextured draw reads its diffuse as the texel
  if (!c.untextured) {
    const StageSetup& stage = c.stages[0];
    const TextureSampler& t = c.textures[0];
    if (c.stageCount != 1 || !stage.textured || t.bilinear || t.wrap) return nullptr;
    int colourSource = SourceOf(stage.colourOp, stage.colourArg1, stage.colourArg2);
    alpha = stage.alphaOp == D3DTOP_DISABLE ? 1 : SourceOf(stage.alphaOp, stage.alphaArg1, stage.alphaArg2);
    if ((colourSource != 0 && colourSource != 2) || alpha < 0) return nullptr;
    colour = colourSource == 2 ? 1 : 0;
  }
  if (!ChooseConversions(c, UsesAvx2(), &context->fast)) return nullptr;
  return UsesAvx2() ? FastSpanAvx2(colour, alpha, discard, blend) : FastSpanSse2(colour, alpha, discard, blend);
}
