// Shows the primary surface in an SDL window, its written part copied once a present:
// into a streaming texture of the primary's pixel format drawn by an accelerated
// renderer, or, where the only renderer on offer draws on the processor, straight into
// the window's surface; scaled to the window's output (aspect kept, black bars) and
// presented. SDL calls only; run on the game thread.
#pragma once

#include "ddraw/surface_access.h"

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;

class WindowPresenter {
 public:
  explicit WindowPresenter(HWND window) : window_(window) {}
  ~WindowPresenter();
  WindowPresenter(const WindowPresenter&) = delete;
  WindowPresenter& operator=(const WindowPresenter&) = delete;

  // Shows `region` of the primary (parts of it outside the primary stay black) after
  // copying `written`, the part that changed.
  void Show(const DDrawSurfaceMemory& primary, const RECT& region, const RECT& written);

 private:
  enum class Output { Undecided, Renderer, WindowSurface, None };

  Output ChooseOutput();
  bool EnsureTexture(const RECT& region, DDrawPixelKind kind);
  void ShowByRenderer(const DDrawSurfaceMemory& primary, const RECT& region, const RECT& written);
  void ShowOnWindowSurface(const DDrawSurfaceMemory& primary, const RECT& region, const RECT& written);

  HWND window_;
  Output output_ = Output::Undecided;
  SDL_Renderer* renderer_ = nullptr;
  bool ownsRenderer_ = false;
  SDL_Texture* texture_ = nullptr;
  // What the texture or the window surface was last filled for: a change shows all anew.
  const SDL_Surface* surface_ = nullptr;
  int shownWidth_ = 0;
  int shownHeight_ = 0;
  int outputWidth_ = 0;
  int outputHeight_ = 0;
  DDrawPixelKind shownKind_ = DDrawPixelKind::Count;
};
