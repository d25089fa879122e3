// Texture services that start-up, shut-down and the window call. Until those services
// exist, pending_services.cpp holds thin versions that succeed; their work replaces them.
#pragma once

// ---- Texture graphs: restored by the Direct3D side ----
int RestoreAllSurface3DData();

