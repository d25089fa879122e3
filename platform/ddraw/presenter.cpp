#include "ddraw/presenter.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ddraw/display_mode.h"
#include "ddraw/rect_math.h"
#include "testing.h"

namespace {

unsigned g_presentCount = 0;
bool g_capturing = false;
DDrawTestImage g_lastFrame;

Uint32 SdlFormatOf(DDrawPixelKind kind) {
  switch (kind) {
    case DDrawPixelKind::RGB565:
      return SDL_PIXELFORMAT_RGB565;
    case DDrawPixelKind::X1R5G5B5:
      return SDL_PIXELFORMAT_RGB555;
    case DDrawPixelKind::X8R8G8B8:
      return SDL_PIXELFORMAT_RGB888;
    default:
      return SDL_PIXELFORMAT_UNKNOWN;
  }
}

// The largest rectangle of the region's shape that fits the output, centred.
SDL_Rect FitToOutput(int width, int height, int outputWidth, int outputHeight) {
  if (width == outputWidth && height == outputHeight) return {0, 0, width, height};
  std::int64_t fittedWidth = outputWidth;
  std::int64_t fittedHeight = std::int64_t{outputWidth} * height / width;
  if (fittedHeight > outputHeight) {
    fittedHeight = outputHeight;
    fittedWidth = std::int64_t{outputHeight} * width / height;
  }
  return {static_cast<int>((outputWidth - fittedWidth) / 2), static_cast<int>((outputHeight - fittedHeight) / 2),
          static_cast<int>(fittedWidth), static_cast<int>(fittedHeight)};
}

void CaptureFrame(SDL_Renderer* renderer) {
  int width = 0, height = 0;
  if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return;
  DDrawTestImage frame;
  frame.width = width;
  frame.height = height;
  frame.pixels.resize(static_cast<std::size_t>(width) * height);
  if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB888, frame.pixels.data(), width * 4) != 0) return;
  for (std::uint32_t& pixel : frame.pixels) pixel &= 0xFFFFFF;
  g_lastFrame = std::move(frame);
}

}  // namespace

WindowPresenter::~WindowPresenter() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (ownsRenderer_) SDL_DestroyRenderer(renderer_);
}

bool WindowPresenter::EnsureRenderer() {
  if (renderer_ != nullptr) return true;
  if (failed_ || window_ == nullptr || window_->sdlWindow == nullptr) return false;
  renderer_ = SDL_GetRenderer(window_->sdlWindow);
  if (renderer_ == nullptr) {
    renderer_ = SDL_CreateRenderer(window_->sdlWindow, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_->sdlWindow, -1, SDL_RENDERER_SOFTWARE);
    ownsRenderer_ = renderer_ != nullptr;
    if (ownsRenderer_) RefreshFullScreenPlacement(window_);
  }
  if (renderer_ == nullptr) {
    std::fprintf(stderr, "ddraw: no renderer for the window: %s\n", SDL_GetError());
    failed_ = true;
  }
  return renderer_ != nullptr;
}

// A texture of the region's size and the primary's format; a new one starts black.
bool WindowPresenter::EnsureTexture(const RECT& region, DDrawPixelKind kind) {
  int width = RectWidth(region);
  int height = RectHeight(region);
  if (texture_ != nullptr && width == textureWidth_ && height == textureHeight_ && kind == textureKind_) {
    return true;
  }
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  texture_ = SDL_CreateTexture(renderer_, SdlFormatOf(kind), SDL_TEXTUREACCESS_STREAMING, width, height);
  if (texture_ == nullptr) return false;
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
    std::memset(pixels, 0, static_cast<std::size_t>(pitch) * height);
    SDL_UnlockTexture(texture_);
  }
  textureWidth_ = width;
  textureHeight_ = height;
  textureKind_ = kind;
  return true;
}

void WindowPresenter::Show(const DDrawSurfaceMemory& primary, const RECT& region, const RECT& written) {
  if (!EnsureRenderer()) return;
  bool fresh = texture_ == nullptr || RectWidth(region) != textureWidth_ ||
               RectHeight(region) != textureHeight_ || primary.kind != textureKind_;
  if (!EnsureTexture(region, primary.kind)) return;
  RECT bounds{0, 0, static_cast<LONG>(primary.width), static_cast<LONG>(primary.height)};
  RECT upload = IntersectRects(IntersectRects(fresh ? region : written, region), bounds);
  if (!IsEmptyRect(upload)) {
    SDL_Rect target{upload.left - region.left, upload.top - region.top, RectWidth(upload), RectHeight(upload)};
    const BYTE* first = primary.bits + static_cast<std::ptrdiff_t>(upload.top) * primary.pitch +
                        static_cast<std::ptrdiff_t>(upload.left) * GetPixelLayout(primary.kind).bytes;
    SDL_UpdateTexture(texture_, &target, first, primary.pitch);
  }
  int outputWidth = 0, outputHeight = 0;
  SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
  SDL_Rect shown = FitToOutput(textureWidth_, textureHeight_, outputWidth, outputHeight);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &shown);
  if (g_capturing) CaptureFrame(renderer_);
  SDL_RenderPresent(renderer_);
  ++g_presentCount;
}

unsigned DDrawTestPresentCount() { return g_presentCount; }

void DDrawTestCapturePresents(bool on) { g_capturing = on; }

bool DDrawTestLastPresentedFrame(DDrawTestImage* image) {
  if (g_lastFrame.pixels.empty()) return false;
  *image = g_lastFrame;
  return true;
}
