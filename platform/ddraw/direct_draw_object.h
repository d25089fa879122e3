// The DirectDraw object: display modes and cooperative level, the emulated raster, and
// the surfaces, clippers and palettes it creates (which die with it). It shows its
// primary surface in the window given to SetCooperativeLevel, on the thread that made
// that call (the game thread); writes from other threads are shown at the next write
// from that thread. The window must outlive the object (its renderer goes with it).
#pragma once

#include <memory>
#include <thread>
#include <vector>

#include "ddraw/child_object.h"
#include "ddraw/ddraw.h"

class DirectDrawSurface;
class WindowPresenter;

// CoCreateInstance's creator for CLSID_DirectDraw7.
HRESULT CreateDirectDrawInstance(REFIID iid, void** object);

class DirectDrawObject;

// The first-version interface of the same object: the overlay probe and the movie streams.
class FirstVersionDirectDraw final : public IDirectDraw {
 public:
  explicit FirstVersionDirectDraw(DirectDrawObject& object) : object_(object) {}
  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT CreateSurface(DDSURFACEDESC* description, IDirectDrawSurface** surface, IUnknown* outer) override;
  HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) override;

 private:
  DirectDrawObject& object_;
};

// The fourth-version interface of the same object, handed to the movie streams.
class FourthVersionDirectDraw final : public IDirectDraw4 {
 public:
  explicit FourthVersionDirectDraw(DirectDrawObject& object) : object_(object) {}
  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;

 private:
  DirectDrawObject& object_;
};

class DirectDrawObject final : public IDirectDraw7 {
 public:
  DirectDrawObject();
  ~DirectDrawObject();
  DirectDrawObject(const DirectDrawObject&) = delete;
  DirectDrawObject& operator=(const DirectDrawObject&) = delete;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override;
  HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) override;
  HRESULT CreatePalette(DWORD flags, PALETTEENTRY* entries, IDirectDrawPalette** palette, IUnknown* outer) override;
  HRESULT CreateSurface(DDSURFACEDESC2* description, IDirectDrawSurface7** surface, IUnknown* outer) override;
  HRESULT FlipToGDISurface() override;
  HRESULT GetAvailableVidMem(DDSCAPS2* caps, DWORD* total, DWORD* free) override;
  HRESULT GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, DWORD flags) override;
  HRESULT GetDisplayMode(DDSURFACEDESC2* description) override;
  HRESULT GetScanLine(DWORD* line) override;
  HRESULT GetVerticalBlankStatus(BOOL* inBlank) override;
  HRESULT Initialize(GUID* driver) override;
  HRESULT RestoreDisplayMode() override;
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bits, DWORD refresh, DWORD flags) override;
  HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) override;

  void Register(DDrawChild* child) { children_.push_back(child); }
  void Unregister(DDrawChild* child);
  void PrimaryGone(DirectDrawSurface* primary);
  void ShowPrimary(DirectDrawSurface& primary, const RECT& area);

  // The primary of the newest object that has one (for tests), or nullptr.
  static DirectDrawSurface* NewestPrimary();
  // A display change: every live object's video-memory surfaces lose their pixels.
  static void LoseVideoMemorySurfaces();
  // The window is going: presenters into it let go of what they made for it.
  static void ForgetWindow(HWND window);

 private:
  HRESULT CheckInitialised() const;
  HRESULT CreatePrimarySurface(const DDSURFACEDESC2& description, DirectDrawSurface** surface);
  HRESULT CreatePlainSurface(const DDSURFACEDESC2& description, DirectDrawSurface** surface);
  void AfterDisplayChange(bool changed);

  ULONG refs_ = 1;
  bool initialised_ = false;
  bool levelSet_ = false;
  HWND window_ = nullptr;
  std::thread::id gameThread_;
  bool showPending_ = false;
  DirectDrawSurface* primary_ = nullptr;
  std::vector<DDrawChild*> children_;
  std::unique_ptr<WindowPresenter> presenter_;
  FirstVersionDirectDraw firstVersion_;
  FourthVersionDirectDraw fourthVersion_;
};
