#include "d3d/device_states.h"

namespace {

bool InRange(DWORD value, DWORD low, DWORD high) { return value >= low && value <= high; }

bool IsBlendFactor(DWORD value) {
  switch (value) {
    case D3DBLEND_ZERO:
    case D3DBLEND_ONE:
    case D3DBLEND_SRCCOLOR:
    case D3DBLEND_SRCALPHA:
    case D3DBLEND_INVSRCALPHA:
    case D3DBLEND_INVDESTCOLOR:
      return true;
    default:
      return false;
  }
}

bool IsStageOp(DWORD value) {
  return InRange(value, D3DTOP_DISABLE, D3DTOP_ADD) || value == D3DTOP_SUBTRACT;
}

bool IsStageArgument(DWORD value) { return value <= D3DTA_SPECULAR; }

bool IsFilter(DWORD value) { return value == D3DTFG_POINT || value == D3DTFG_LINEAR; }

// Stores a checked value: DD_OK, or DDERR_UNSUPPORTED when `valid` is false.
template <typename Field>
HRESULT Store(Field& field, DWORD value, bool valid) {
  if (!valid) return DDERR_UNSUPPORTED;
  field = static_cast<Field>(value);
  return DD_OK;
}

}  // namespace

DeviceStates NewDeviceStates(bool targetHasZBuffer) {
  DeviceStates states;
  states.zEnable = targetHasZBuffer;
  for (int stage = 0; stage < kStageCount; ++stage) {
    bool first = stage == 0;
    states.stages[stage] = {first ? D3DTOP_MODULATE : D3DTOP_DISABLE,
                            D3DTA_TEXTURE,
                            D3DTA_CURRENT,
                            first ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE,
                            D3DTA_TEXTURE,
                            D3DTA_CURRENT,
                            static_cast<DWORD>(stage),
                            D3DTADDRESS_WRAP,
                            D3DTFG_POINT,
                            D3DTFN_POINT};
  }
  return states;
}

HRESULT SetDeviceRenderState(DeviceStates& states, D3DRENDERSTATETYPE state, DWORD value) {
  switch (state) {
    case D3DRENDERSTATE_TEXTUREPERSPECTIVE: return Store(states.texturePerspective, value != 0, true);
    case D3DRENDERSTATE_ZENABLE: return Store(states.zEnable, value, value <= D3DZB_TRUE);
    case D3DRENDERSTATE_SHADEMODE: return Store(states.shadeMode, value, InRange(value, D3DSHADE_FLAT, D3DSHADE_GOURAUD));
    case D3DRENDERSTATE_ZWRITEENABLE: return Store(states.zWriteEnable, value != 0, true);
    case D3DRENDERSTATE_ALPHATESTENABLE: return Store(states.alphaTestEnable, value != 0, true);
    case D3DRENDERSTATE_SRCBLEND: return Store(states.srcBlend, value, IsBlendFactor(value));
    case D3DRENDERSTATE_DESTBLEND: return Store(states.destBlend, value, IsBlendFactor(value));
    case D3DRENDERSTATE_CULLMODE: return Store(states.cullMode, value, InRange(value, D3DCULL_NONE, D3DCULL_CCW));
    case D3DRENDERSTATE_ZFUNC: return Store(states.zFunc, value, InRange(value, D3DCMP_NEVER, D3DCMP_ALWAYS));
    case D3DRENDERSTATE_ALPHAREF: return Store(states.alphaRef, value, value <= 255);
    case D3DRENDERSTATE_ALPHAFUNC: return Store(states.alphaFunc, value, InRange(value, D3DCMP_NEVER, D3DCMP_ALWAYS));
    case D3DRENDERSTATE_DITHERENABLE: return value == 0 ? DD_OK : DDERR_UNSUPPORTED;  // writes always truncate
    case D3DRENDERSTATE_ALPHABLENDENABLE: return Store(states.alphaBlendEnable, value != 0, true);
    case D3DRENDERSTATE_COLORKEYENABLE: return Store(states.colourKeyEnable, value != 0, true);
    case D3DRENDERSTATE_TEXTUREFACTOR: return Store(states.textureFactor, value, true);
    case D3DRENDERSTATE_LIGHTING: return Store(states.lighting, value != 0, true);  // no effect on lit vertices
    default: return DDERR_INVALIDPARAMS;
  }
}

HRESULT SetDeviceStageState(DeviceStates& states, DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) {
  if (stage >= kStageCount) return DDERR_INVALIDPARAMS;
  StageStates& s = states.stages[stage];
  switch (state) {
    case D3DTSS_COLOROP: return Store(s.colourOp, value, IsStageOp(value));
    case D3DTSS_COLORARG1: return Store(s.colourArg1, value, IsStageArgument(value));
    case D3DTSS_COLORARG2: return Store(s.colourArg2, value, IsStageArgument(value));
    case D3DTSS_ALPHAOP: return Store(s.alphaOp, value, IsStageOp(value));
    case D3DTSS_ALPHAARG1: return Store(s.alphaArg1, value, IsStageArgument(value));
    case D3DTSS_ALPHAARG2: return Store(s.alphaArg2, value, IsStageArgument(value));
    case D3DTSS_TEXCOORDINDEX: return Store(s.texCoordIndex, value, value < kStageCount);
    case D3DTSS_ADDRESS:
      return Store(s.address, value, value == D3DTADDRESS_WRAP || value == D3DTADDRESS_CLAMP);
    case D3DTSS_MAGFILTER: return Store(s.magFilter, value, IsFilter(value));
    case D3DTSS_MINFILTER: return Store(s.minFilter, value, IsFilter(value));
    default: return DDERR_INVALIDPARAMS;
  }
}
