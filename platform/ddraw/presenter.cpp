#include "ddraw/presenter.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "ddraw/display_mode.h"
#include "ddraw/rect_math.h"
#include "testing.h"

namespace {

unsigned g_presentCount = 0;
bool g_capturing = false;
DDrawTestImage g_lastFrame;

// The GL's own answer to whether it runs on graphics hardware (GLX_MESA_query_renderer).
constexpr int kGlxRendererAccelerated = 0x8186;

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

// SDL marks a renderer that draws on the processor; an OpenGL one counts as such when
// the GL says it has no graphics hardware under it (a software GL).
bool DrawsOnHardware(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || (info.flags & SDL_RENDERER_ACCELERATED) == 0) return false;
  if (std::strcmp(info.name, "opengl") != 0) return true;
  using QueryRenderer = int (*)(int attribute, unsigned* value);
  const auto query = reinterpret_cast<QueryRenderer>(SDL_GL_GetProcAddress("glXQueryCurrentRendererIntegerMESA"));
  unsigned accelerated = 1;
  return query == nullptr || query(kGlxRendererAccelerated, &accelerated) == 0 || accelerated != 0;
}

void Capture(int width, int height, Uint32 format, const void* pixels, int pitch) {
  DDrawTestImage frame;
  frame.width = width;
  frame.height = height;
  frame.pixels.resize(static_cast<std::size_t>(width) * height);
  if (SDL_ConvertPixels(width, height, format, pixels, pitch, SDL_PIXELFORMAT_RGB888, frame.pixels.data(),
                        width * 4) != 0) {
    return;
  }
  for (std::uint32_t& pixel : frame.pixels) pixel &= 0xFFFFFF;
  g_lastFrame = std::move(frame);
}

void CaptureRenderer(SDL_Renderer* renderer) {
  int width = 0, height = 0;
  if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), width * 4) != 0) return;
  Capture(width, height, SDL_PIXELFORMAT_RGB888, pixels.data(), width * 4);
}

// The part of the primary that `area` covers, as an SDL surface over its pixels.
SDL_Surface* PrimaryPart(const DDrawSurfaceMemory& primary, const RECT& area) {
  BYTE* first = primary.bits + static_cast<std::ptrdiff_t>(area.top) * primary.pitch +
                static_cast<std::ptrdiff_t>(area.left) * GetPixelLayout(primary.kind).bytes;
  return SDL_CreateRGBSurfaceWithFormatFrom(first, RectWidth(area), RectHeight(area), 0, primary.pitch,
                                            SdlFormatOf(primary.kind));
}

// Where `part` of `region` lands when the region is shown at `shown`.
SDL_Rect Placed(const RECT& part, const RECT& region, const SDL_Rect& shown) {
  const auto along = [](LONG at, LONG from, LONG size, int to, int shownSize) {
    return to + static_cast<int>(std::int64_t{at - from} * shownSize / size);
  };
  const int width = RectWidth(region), height = RectHeight(region);
  const int left = along(part.left, region.left, width, shown.x, shown.w);
  const int top = along(part.top, region.top, height, shown.y, shown.h);
  return {left, top, along(part.right, region.left, width, shown.x, shown.w) - left,
          along(part.bottom, region.top, height, shown.y, shown.h) - top};
}

}  // namespace

WindowPresenter::~WindowPresenter() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (ownsRenderer_) SDL_DestroyRenderer(renderer_);
}

// A renderer already on the window is used as it is; otherwise an accelerated one when
// it draws on graphics hardware, else the window's surface, which takes the frame with
// one copy instead of a renderer's upload and draw.
WindowPresenter::Output WindowPresenter::ChooseOutput() {
  if (output_ != Output::Undecided) return output_;
  if (window_ == nullptr || window_->sdlWindow == nullptr) return output_ = Output::None;
  SDL_Window* window = window_->sdlWindow;
  renderer_ = SDL_GetRenderer(window);
  if (renderer_ != nullptr) return output_ = Output::Renderer;
  renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (renderer_ != nullptr && DrawsOnHardware(renderer_)) {
    ownsRenderer_ = true;
    output_ = Output::Renderer;
  } else {
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
    // SDL would back the surface with a texture of that same renderer; the display's own
    // shared pixels cost less.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    output_ = SDL_GetWindowSurface(window) != nullptr ? Output::WindowSurface : Output::None;
  }
  // Making an OpenGL renderer may have made the window anew.
  RefreshFullScreenPlacement(window_);
  if (output_ == Output::None) std::fprintf(stderr, "ddraw: nothing to show the window with: %s\n", SDL_GetError());
  return output_;
}

void WindowPresenter::Show(const DDrawSurfaceMemory& primary, const RECT& region, const RECT& written) {
  switch (ChooseOutput()) {
    case Output::Renderer: ShowByRenderer(primary, region, written); break;
    case Output::WindowSurface: ShowOnWindowSurface(primary, region, written); break;
    default: return;
  }
  ++g_presentCount;
}

// A texture of the region's size and the primary's format; a new one starts black.
bool WindowPresenter::EnsureTexture(const RECT& region, DDrawPixelKind kind) {
  const int width = RectWidth(region);
  const int height = RectHeight(region);
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  texture_ = SDL_CreateTexture(renderer_, SdlFormatOf(kind), SDL_TEXTUREACCESS_STREAMING, width, height);
  if (texture_ == nullptr) return false;
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
    std::memset(pixels, 0, static_cast<std::size_t>(pitch) * height);
    SDL_UnlockTexture(texture_);
  }
  return true;
}

void WindowPresenter::ShowByRenderer(const DDrawSurfaceMemory& primary, const RECT& region, const RECT& written) {
  const bool fresh = texture_ == nullptr || RectWidth(region) != shownWidth_ || RectHeight(region) != shownHeight_ ||
                     primary.kind != shownKind_;
  if (fresh && !EnsureTexture(region, primary.kind)) return;
  shownWidth_ = RectWidth(region);
  shownHeight_ = RectHeight(region);
  shownKind_ = primary.kind;
  const RECT bounds{0, 0, static_cast<LONG>(primary.width), static_cast<LONG>(primary.height)};
  const RECT upload = IntersectRects(IntersectRects(fresh ? region : written, region), bounds);
  if (!IsEmptyRect(upload)) {
    const SDL_Rect target{upload.left - region.left, upload.top - region.top, RectWidth(upload), RectHeight(upload)};
    const BYTE* first = primary.bits + static_cast<std::ptrdiff_t>(upload.top) * primary.pitch +
                        static_cast<std::ptrdiff_t>(upload.left) * GetPixelLayout(primary.kind).bytes;
    SDL_UpdateTexture(texture_, &target, first, primary.pitch);
  }
  int outputWidth = 0, outputHeight = 0;
  SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
  const SDL_Rect shown = FitToOutput(shownWidth_, shownHeight_, outputWidth, outputHeight);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &shown);
  if (g_capturing) CaptureRenderer(renderer_);
  SDL_RenderPresent(renderer_);
}

// The surface keeps what was shown: only the written part is copied and handed on,
// unless the surface, the region or the pixel kind changed, or the region is scaled.
void WindowPresenter::ShowOnWindowSurface(const DDrawSurfaceMemory& primary, const RECT& region,
                                          const RECT& written) {
  SDL_Surface* surface = SDL_GetWindowSurface(window_->sdlWindow);
  if (surface == nullptr) return;
  const bool fresh = surface != surface_ || surface->w != outputWidth_ || surface->h != outputHeight_ ||
                     RectWidth(region) != shownWidth_ || RectHeight(region) != shownHeight_ ||
                     primary.kind != shownKind_;
  surface_ = surface;
  outputWidth_ = surface->w;
  outputHeight_ = surface->h;
  shownWidth_ = RectWidth(region);
  shownHeight_ = RectHeight(region);
  shownKind_ = primary.kind;
  const SDL_Rect shown = FitToOutput(shownWidth_, shownHeight_, surface->w, surface->h);
  const bool scaled = shown.w != shownWidth_ || shown.h != shownHeight_;
  if (fresh) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  const RECT bounds{0, 0, static_cast<LONG>(primary.width), static_cast<LONG>(primary.height)};
  const RECT upload = IntersectRects(IntersectRects(fresh || scaled ? region : written, region), bounds);
  SDL_Rect changed = fresh ? SDL_Rect{0, 0, surface->w, surface->h} : shown;
  if (!IsEmptyRect(upload)) {
    SDL_Surface* part = PrimaryPart(primary, upload);
    if (part != nullptr) {
      SDL_Rect at = Placed(upload, region, shown);
      if (!fresh && !scaled) changed = at;
      scaled ? SDL_BlitScaled(part, nullptr, surface, &at) : SDL_BlitSurface(part, nullptr, surface, &at);
      SDL_FreeSurface(part);
    }
  }
  if (g_capturing) Capture(surface->w, surface->h, surface->format->format, surface->pixels, surface->pitch);
  SDL_UpdateWindowSurfaceRects(window_->sdlWindow, &changed, 1);
}

unsigned DDrawTestPresentCount() { return g_presentCount; }

void DDrawTestCapturePresents(bool on) { g_capturing = on; }

bool DDrawTestLastPresentedFrame(DDrawTestImage* image) {
  if (g_lastFrame.pixels.empty()) return false;
  *image = g_lastFrame;
  return true;
}
