// Shows the primary surface in an SDL window: one streaming texture of the primary's
// pixel format, updated with the written part only, drawn scaled to the window's output
// (aspect kept, black bars) and presented. SDL calls only; run on the game thread.
#pragma once

#include "ddraw/surface_access.h"

struct SDL_Renderer;
struct SDL_Texture;

class WindowPresenter {
 public:
  explicit WindowPresenter(HWND window) : window_(window) {}
  ~WindowPresenter();
  WindowPresenter(const WindowPresenter&) = delete;
  WindowPresenter& operator=(const WindowPresenter&) = delete;

  // Shows `region` of the primary (parts of it outside the primary stay black) after
  // uploading `written`, the part that changed.
  void Show(const DDrawSurfaceMemory& primary, const RECT& region, const RECT& written);

 private:
  bool EnsureRenderer();
  bool EnsureTexture(const RECT& region, DDrawPixelKind kind);

  HWND window_;
  bool failed_ = false;
  SDL_Renderer* renderer_ = nullptr;
  bool ownsRenderer_ = false;
  SDL_Texture* texture_ = nullptr;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  DDrawPixelKind textureKind_ = DDrawPixelKind::Count;
};
