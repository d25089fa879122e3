#include "dshow/frame_writer.h"

#include <cstdint>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace {

struct KindConversion {
  DDrawPixelKind kind;
  AVPixelFormat format;
  std::uint32_t alpha;  // alpha bits set in every pixel (movies are opaque)
};

constexpr KindConversion kConversions[] = {
    {DDrawPixelKind::RGB565, AV_PIX_FMT_RGB565LE, 0},
    {DDrawPixelKind::X1R5G5B5, AV_PIX_FMT_RGB555LE, 0},
    {DDrawPixelKind::A1R5G5B5, AV_PIX_FMT_RGB555LE, 0x8000u},
    {DDrawPixelKind::A4R4G4B4, AV_PIX_FMT_RGB444LE, 0xF000u},
    {DDrawPixelKind::X8R8G8B8, AV_PIX_FMT_BGR0, 0},
    {DDrawPixelKind::A8R8G8B8, AV_PIX_FMT_BGR0, 0xFF000000u},
};

const KindConversion* FindConversion(DDrawPixelKind kind) {
  for (const KindConversion& conversion : kConversions) {
    if (conversion.kind == kind) return &conversion;
  }
  return nullptr;
}

template <typename Pixel>
void SetAlphaBits(BYTE* row, int width, int height, LONG pitch, Pixel alpha) {
  for (int y = 0; y < height; ++y, row += pitch) {
    Pixel* pixel = reinterpret_cast<Pixel*>(row);
    for (int x = 0; x < width; ++x) pixel[x] |= alpha;
  }
}

}  // namespace

FrameWriter::~FrameWriter() { sws_freeContext(scaler_); }

bool FrameWriter::Supports(DDrawPixelKind kind) { return FindConversion(kind) != nullptr; }

bool FrameWriter::Write(const AVFrame& frame, const DDrawSurfaceMemory& pixels, const RECT& area) {
  const KindConversion* conversion = FindConversion(pixels.kind);
  if (conversion == nullptr || frame.width <= 0 || frame.height <= 0) return false;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  scaler_ = sws_getCachedContext(scaler_, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), width,
                                 height, conversion->format, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (scaler_ == nullptr) return false;
  const DWORD bytes = GetPixelLayout(pixels.kind).bytes;
  BYTE* origin = pixels.bits + static_cast<std::ptrdiff_t>(area.top) * pixels.pitch +
                 static_cast<std::ptrdiff_t>(area.left) * bytes;
  std::uint8_t* planes[4] = {origin, nullptr, nullptr, nullptr};
  int pitches[4] = {pixels.pitch, 0, 0, 0};
  if (sws_scale(scaler_, frame.data, frame.linesize, 0, frame.height, planes, pitches) != height) return false;
  if (conversion->alpha != 0 && bytes == 2) {
    SetAlphaBits<std::uint16_t>(origin, width, height, pixels.pitch, static_cast<std::uint16_t>(conversion->alpha));
  } else if (conversion->alpha != 0) {
    SetAlphaBits<std::uint32_t>(origin, width, height, pixels.pitch, conversion->alpha);
  }
  return true;
}
