// The device's world, view and projection matrices. The library's vertices are
// pre-transformed, so the device keeps these only for drawing that transforms.
#include <cstring>

#include "graphics/d3d_device.h"
#include "graphics/hardware_draw.h"

namespace {

int SendTransform(D3DTRANSFORMSTATETYPE state, const float m[16]) {
  IDirect3DDevice7* device = GetD3DDevice();
  if (device == nullptr) return -1;
  D3DMATRIX matrix;
  static_assert(sizeof(matrix.m) == 16 * sizeof(float));
  std::memcpy(matrix.m, m, sizeof(matrix.m));
  return device->SetTransform(state, &matrix) == D3D_OK ? 0 : -1;
}

}  // namespace

int SetWorldTransformD3D(const float m[16]) { return SendTransform(D3DTRANSFORMSTATE_WORLD, m); }
int SetViewTransformD3D(const float m[16]) { return SendTransform(D3DTRANSFORMSTATE_VIEW, m); }
int SetProjectionTransformD3D(const float m[16]) { return SendTransform(D3DTRANSFORMSTATE_PROJECTION, m); }
