#include "graphics/draw_target_transforms.h"

#include <cmath>
#include <cstring>

#include "graphics/graph_system.h"
#include "graphics/hardware_draw.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"

namespace {

float g_transforms[3][16];

void Normalise(float v[3]) {
  const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0.0f) return;
  for (int i = 0; i < 3; ++i) v[i] /= length;
}

void Cross(float out[3], const float a[3], const float b[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

int StoreTransform(int which, const float m[16], int (*send)(const float*)) {
  std::memcpy(g_transforms[which], m, sizeof(g_transforms[which]));
  if (Is3DPathUsable()) send(m);
  return 0;
}

}  // namespace

int MakeIdentityMatrix(float m[16]) {
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  return 0;
}

int MultiplyMatrix(float out[16], const float a[16], const float b[16]) {
  float result[16];
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a[row * 4 + k] * b[k * 4 + column];
      result[row * 4 + column] = sum;
    }
  }
  std::memcpy(out, result, sizeof(result));
  return 0;
}

int MakeLookAtMatrix(float m[16], const float eye[3], const float at[3], const float up[3]) {
  float dir[3] = {at[0] - eye[0], at[1] - eye[1], at[2] - eye[2]};
  float right[3];
  float upDash[3];
  Cross(right, up, dir);
  Cross(upDash, dir, right);
  Normalise(dir);
  Normalise(right);
  Normalise(upDash);
  const float rows[16] = {right[0], upDash[0], dir[0], 0.0f,  //
                          right[1], upDash[1], dir[1], 0.0f,  //
                          right[2], upDash[2], dir[2], 0.0f,  //
                          -Dot(right, eye), -Dot(upDash, eye), -Dot(dir, eye), 1.0f};
  std::memcpy(m, rows, sizeof(rows));
  return 0;
}

int MakePerspectiveMatrix(float m[16], float fovY, float nearZ, float farZ) {
  const float s = std::sin(fovY / 2.0f);
  const float c = std::cos(fovY / 2.0f);
  if (std::fabs(farZ - nearZ) < 0.01f || std::fabs(s) < 0.01f) return -1;
  const float cot = c / s;
  const float q = farZ / (farZ - nearZ);
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  const float aspect = static_cast<float>(height) / static_cast<float>(width);
  std::memset(m, 0, sizeof(float) * 16);
  m[0] = aspect * cot;
  m[5] = cot;
  m[10] = q;
  m[11] = 1.0f;
  m[14] = -q * nearZ;
  return 0;
}

int SetWorldTransform(const float m[16]) { return StoreTransform(0, m, SetWorldTransformD3D); }
int SetViewTransform(const float m[16]) { return StoreTransform(1, m, SetViewTransformD3D); }
int SetProjectionTransform(const float m[16]) { return StoreTransform(2, m, SetProjectionTransformD3D); }

int SetUpDrawTargetTransforms(int width, int height) {
  float m[16];
  MakeIdentityMatrix(m);
  SetWorldTransform(m);
  const float d = static_cast<float>(height / 2) * 1.9098593f;
  const float halfWidth = static_cast<float>(width) * 0.5f;
  const float halfHeight = static_cast<float>(height) * 0.5f;
  const float eye[3] = {halfWidth, halfHeight, 43.0f - d};
  const float at[3] = {halfWidth, halfHeight, 44.0f - d};
  const float up[3] = {0.0f, 1.0f, 0.0f};
  MakeLookAtMatrix(m, eye, at, up);
  SetViewTransform(m);
  if (MakePerspectiveMatrix(m, 1.0471976f, d * 0.1f, d + 1000.0f) == 0) SetProjectionTransform(m);
  return 0;
}

const float* GetStoredTransform(int which) { return g_transforms[which]; }
