// Puts decoded video frames into DirectDraw surface pixels: scaled to a rectangle and
// converted to the surface's pixel kind with libswscale.
#pragma once

#include "ddraw/pixel_layout.h"
#include "ddraw/surface_access.h"

struct AVFrame;
struct SwsContext;

class FrameWriter {
 public:
  FrameWriter() = default;
  ~FrameWriter();
  FrameWriter(const FrameWriter&) = delete;
  FrameWriter& operator=(const FrameWriter&) = delete;

  // Whether frames can be written into pixels of this kind.
  static bool Supports(DDrawPixelKind kind);

  // Writes the frame into `area` of the pixels (which must lie inside them). False when
  // the kind is not supported or the conversion cannot be set up for the frame.
  bool Write(const AVFrame& frame, const DDrawSurfaceMemory& pixels, const RECT& area);

 private:
  SwsContext* scaler_ = nullptr;
};
