#include "graphics/blend_stage_table.h"

#include "graphics/render_states.h"

namespace {

constexpr DWORD kLeave = kLeaveFactor;

constexpr DeviceBlendFactors kBlendTable[kDeviceBlendModeCount] = {
    {kLeave, kLeave, 0},                                  // 0 none
    {D3DBLEND_INVSRCALPHA, D3DBLEND_SRCALPHA, 1},         // 1 alpha
    {D3DBLEND_ONE, D3DBLEND_SRCALPHA, 1},                 // 2 add
    {D3DBLEND_ZERO, D3DBLEND_INVDESTCOLOR, 1},            // 3 subtract: a white source inverts
    {D3DBLEND_SRCCOLOR, D3DBLEND_ZERO, 1},                // 4 multiply
    {D3DBLEND_ONE, D3DBLEND_SRCALPHA, 1},                 // 5 the additive pass of subtraction
    {kLeave, kLeave, 0},                                  // 6
    {kLeave, kLeave, 1},                                  // 7
    {D3DBLEND_ONE, D3DBLEND_ZERO, 1},                     // 8 destination kept
};

// One operation with its two arguments; -1 leaves a value as it is.
struct Op {
  std::int16_t op, arg1, arg2;
};
constexpr std::int16_t kKeep = -1;
constexpr Op Select1(DWORD a) { return {D3DTOP_SELECTARG1, static_cast<std::int16_t>(a), kKeep}; }
constexpr Op Select2(DWORD a) { return {D3DTOP_SELECTARG2, kKeep, static_cast<std::int16_t>(a)}; }
constexpr Op Modulate(DWORD a, DWORD b) {
  return {D3DTOP_MODULATE, static_cast<std::int16_t>(a), static_cast<std::int16_t>(b)};
}
constexpr Op Add(DWORD a, DWORD b) { return {D3DTOP_ADD, static_cast<std::int16_t>(a), static_cast<std::int16_t>(b)}; }
constexpr StageOperations Stage(Op colour, Op alpha) {
  return {{colour.op, colour.arg1, colour.arg2, alpha.op, alpha.arg1, alpha.arg2}};
}

// Colour operations.
constexpr Op kTexture = Select1(D3DTA_TEXTURE);
constexpr Op kTinted = Modulate(D3DTA_TEXTURE, D3DTA_DIFFUSE);
constexpr Op kDiffuse2 = Select2(D3DTA_DIFFUSE);
constexpr Op kCurrent = Select1(D3DTA_CURRENT);
// Alpha operations.
constexpr Op kAlphaDiffuse = Select2(D3DTA_DIFFUSE);
constexpr Op kAlphaTexture = Select1(D3DTA_TEXTURE);
constexpr Op kAlphaTextureDiffuse = Modulate(D3DTA_TEXTURE, D3DTA_DIFFUSE);
constexpr Op kAlphaBorder = Add(D3DTA_TEXTURE, D3DTA_TFACTOR);
constexpr Op kAlphaCurrent = Select1(D3DTA_CURRENT);
constexpr Op kAlphaSpecularCurrent = Modulate(D3DTA_SPECULAR, D3DTA_CURRENT);
constexpr Op kAlphaTextureCurrent = Modulate(D3DTA_TEXTURE, D3DTA_CURRENT);
constexpr Op kAlphaDiffuseCurrent = Modulate(D3DTA_DIFFUSE, D3DTA_CURRENT);

constexpr StageOperations kBorder = Stage(kDiffuse2, kAlphaBorder);

// [alpha texture][tint][blend][alpha kind]
constexpr StageSetup kStageTable[2][2][2][3] = {
    {// without a blend graph
     {{{1, {Stage(kTexture, kAlphaDiffuse)}},
       {1, {Stage(kTexture, kAlphaTexture)}},
       {1, {Stage(kTexture, kAlphaTexture)}}},
      {{1, {Stage(kTexture, kAlphaDiffuse)}},
       {1, {Stage(kTexture, kAlphaTextureDiffuse)}},
       {1, {Stage(kTexture, kAlphaTextureDiffuse)}}}},
     {{{1, {Stage(kTinted, kAlphaDiffuse)}},
       {1, {Stage(kTinted, kAlphaTexture)}},
       {1, {Stage(kTinted, kAlphaTexture)}}},
      {{1, {Stage(kTinted, kAlphaDiffuse)}},
       {1, {Stage(kTinted, kAlphaTextureDiffuse)}},
       {1, {Stage(kTinted, kAlphaTextureDiffuse)}}}}},
    {// with a blend graph: its texture on stage 0, the graph's on stage 1 (2 with an alpha channel)
     {{{2, {kBorder, Stage(kTexture, kAlphaCurrent)}},
       {3, {kBorder, Stage(kCurrent, kAlphaSpecularCurrent), Stage(kTexture, kAlphaTextureCurrent)}},
       {2, {kBorder, Stage(kTexture, kAlphaTextureCurrent)}}},
      {{2, {kBorder, Stage(kTexture, kAlphaDiffuseCurrent)}},
       {4,
        {kBorder, Stage(kCurrent, kAlphaSpecularCurrent), Stage(kTexture, kAlphaTextureCurrent),
         Stage(kCurrent, kAlphaDiffuseCurrent)}},
       {3, {kBorder, Stage(kTexture, kAlphaTextureCurrent), Stage(kCurrent, kAlphaDiffuseCurrent)}}}},
     {{{2, {kBorder, Stage(kTinted, kAlphaCurrent)}},
       {3, {kBorder, Stage(kCurrent, kAlphaSpecularCurrent), Stage(kTinted, kAlphaTextureCurrent)}},
       {2, {kBorder, Stage(kTinted, kAlphaTextureCurrent)}}},
      {{2, {kBorder, Stage(kTinted, kAlphaDiffuseCurrent)}},
       {4,
        {kBorder, Stage(kCurrent, kAlphaSpecularCurrent), Stage(kTinted, kAlphaTextureCurrent),
         Stage(kCurrent, kAlphaDiffuseCurrent)}},
       {3, {kBorder, Stage(kTinted, kAlphaTextureCurrent), Stage(kCurrent, kAlphaDiffuseCurrent)}}}}}};

constexpr StageSetup kUntexturedSubtract = {1, {Stage(Select1(D3DTA_DIFFUSE), Select2(D3DTA_DIFFUSE))}};
constexpr StageOperations kDisabled = {{D3DTOP_DISABLE, kKeep, kKeep, D3DTOP_DISABLE, kKeep, kKeep}};

}  // namespace

const DeviceBlendFactors* GetDeviceBlendFactors(int mode) {
  if (mode < 0 || mode >= kDeviceBlendModeCount) return nullptr;
  return &kBlendTable[mode];
}

const StageSetup& GetStageSetup(int alphaTexture, int tintUsed, int blendUsed, int alphaKind) {
  return kStageTable[alphaTexture ? 1 : 0][tintUsed ? 1 : 0][blendUsed ? 1 : 0][alphaKind];
}

const StageSetup& GetUntexturedSubtractSetup() { return kUntexturedSubtract; }
const StageOperations& GetDisabledStage() { return kDisabled; }
