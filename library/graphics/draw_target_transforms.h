// The camera of the hardware path for the current draw target: an identity world
// transform, a view looking straight at the target from in front and a perspective
// projection. Kept here and sent to the device when the 3-D path is usable.
#pragma once

// Row-major 4 x 4 matrices used with row vectors (p x M).
int MakeIdentityMatrix(float m[16]);
// out = a x b; out may be a.
int MultiplyMatrix(float out[16], const float a[16], const float b[16]);
// Left-handed look-at.
int MakeLookAtMatrix(float m[16], const float eye[3], const float at[3], const float up[3]);
// Left-handed perspective with the screen mode's aspect; -1 (m untouched) when far and
// near almost meet or the field of view is almost 0.
int MakePerspectiveMatrix(float m[16], float fovY, float nearZ, float farZ);

int SetWorldTransform(const float m[16]);
int SetViewTransform(const float m[16]);
int SetProjectionTransform(const float m[16]);

// The three transforms for a width x height target.
int SetUpDrawTargetTransforms(int width, int height);

// The stored transforms: 0 world, 1 view, 2 projection.
const float* GetStoredTransform(int which);
