// A surface in CPU memory. The primary stands for the display (the desktop in window
// mode, the set mode in full screen); writes to it reach the window. A flipping chain is
// a front (the primary) with its back buffers; Flip moves the pixel blocks round the
// chain while the objects (and what is attached to them) stay.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ddraw/child_object.h"
#include "ddraw/ddraw.h"
#include "ddraw/pixel_layout.h"
#include "ddraw/surface_versions.h"

class DirectDrawClipper;
class DirectDrawPalette;

struct PixelStore {
  std::unique_ptr<BYTE[]> bytes;
  LONG pitch = 0;
};

class DirectDrawSurface final : public IDirectDrawSurface7, public DDrawChild {
 public:
  struct Shape {
    DWORD caps;  // as GetCaps reports them, memory placement included
    DWORD caps2;
    DWORD width;
    DWORD height;
    DDrawPixelKind kind;
  };

  // A surface with cleared pixels. Video-memory surfaces other than the primary and
  // managed textures take their size from the video memory budget.
  static HRESULT Create(DirectDrawObject* owner, const Shape& shape, DirectDrawSurface** surface);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return AddRefChild(); }
  ULONG Release() override { return ReleaseChild(); }
  HRESULT AddAttachedSurface(IDirectDrawSurface7* surface) override;
  HRESULT Blt(LPRECT destinationRect, IDirectDrawSurface7* source, LPRECT sourceRect, DWORD flags,
              DDBLTFX* effects) override;
  HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, LPRECT sourceRect, DWORD flags) override;
  HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface7* surface) override;
  HRESULT EnumAttachedSurfaces(LPVOID context, LPDDENUMSURFACESCALLBACK7 callback) override;
  HRESULT Flip(IDirectDrawSurface7* target, DWORD flags) override;
  HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) override;
  HRESULT GetCaps(DDSCAPS2* caps) override;
  HRESULT GetDC(HDC* dc) override;
  HRESULT IsLost() override;
  HRESULT Lock(LPRECT rect, DDSURFACEDESC2* description, DWORD flags, HANDLE event) override;
  HRESULT PageLock(DWORD flags) override;
  HRESULT ReleaseDC(HDC dc) override;
  HRESULT Restore() override;
  HRESULT SetClipper(IDirectDrawClipper* clipper) override;
  HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) override;
  HRESULT SetPalette(IDirectDrawPalette* palette) override;
  HRESULT Unlock(LPRECT rect) override;
  // The description as the fourth-version interface reports it.
  HRESULT GetSurfaceDesc(DDSURFACEDESC2* description);
  // The first-version interface of this surface (no reference is added).
  IDirectDrawSurface* FirstVersion() { return &firstVersion_; }

  // Makes this surface the front of a flipping chain with the given back buffers, which
  // then live as long as the front.
  void FormChain(const std::vector<DirectDrawSurface*>& backBuffers);
  // FlipToGDISurface: moves the blocks back to where they started.
  void ReturnChainToFirstBuffer();

  bool IsPrimary() const { return (shape_.caps & DDSCAPS_PRIMARYSURFACE) != 0; }
  // Video-memory surfaces lose their pixels with the display; system-memory surfaces and
  // managed textures keep them.
  bool LosesWithDisplay() const;
  void Lose() { lost_ = true; }
  void DisplayChanged() override {
    if (LosesWithDisplay()) Lose();
  }

  const Shape& GetShape() const { return shape_; }
  const PixelLayout& Layout() const { return GetPixelLayout(shape_.kind); }
  BYTE* Bits() { return store_.bytes.get(); }
  LONG Pitch() const { return store_.pitch; }
  bool IsLocked() const { return locked_; }
  bool HasLostPixels() const { return lost_; }
  DirectDrawSurface* AttachedZ() const { return attachedZ_; }
  bool SourceKey(DWORD* key) const;
  // Shows the area if this is the primary.
  void Written(const RECT& area);
  // A number no other content of any surface had: it changes whenever the pixels may
  // change (writable memory handed out, locks, blits, device contexts, flips, restores).
  std::uint64_t ContentStamp() const { return stamp_.load(std::memory_order_relaxed); }
  void MayBeWritten();

 private:
  DirectDrawSurface(DirectDrawObject* owner, const Shape& shape, PixelStore store, std::size_t videoBytes);

  bool HeldByChain() const override { return chainFront_ != nullptr; }
  void ReleaseResources(bool orphaning) override;

  RECT Bounds() const;
  // Dead, lost or busy (locked or with a DC out) surfaces refuse pixel work.
  HRESULT CheckReady() const;
  // The area a blit may write: the surface, cut to the window on a clipped primary in
  // window mode.
  RECT ClipRegion() const;
  // The surface whose draws this one's pixels are written with.
  const DirectDrawSurface& DrawnWith() const;
  std::vector<DirectDrawSurface*> ChainBuffers();  // front first
  DirectDrawSurface* NextInChain();
  std::vector<DirectDrawSurface*> AttachedSurfaces();
  void Describe(DDSURFACEDESC2* description) const;
  HRESULT RestorePixels();
  void RotateChain();

  Shape shape_;
  PixelStore store_;
  std::size_t videoBytes_;
  bool lost_ = false;
  bool locked_ = false;
  bool lockReadOnly_ = false;
  RECT lockRect_{};
  HDC dc_ = nullptr;
  bool hasKey_ = false;
  DDCOLORKEY key_{};
  DirectDrawClipper* clipper_ = nullptr;
  DirectDrawPalette* palette_ = nullptr;
  DirectDrawSurface* attachedZ_ = nullptr;
  DirectDrawSurface* zOwner_ = nullptr;  // on a Z surface: the surface it is attached to
  std::vector<DirectDrawSurface*> backBuffers_;  // on a chain's front, in flip order
  DirectDrawSurface* chainFront_ = nullptr;      // on a back buffer
  std::size_t flipsFromFirst_ = 0;               // on a chain's front
  std::atomic<std::uint64_t> stamp_;
  FirstVersionSurface firstVersion_{*this};
  FourthVersionSurface fourthVersion_{*this};
};

// The surface behind an interface pointer (every IDirectDrawSurface7 is one).
inline DirectDrawSurface* AsSurface(IDirectDrawSurface7* surface) {
  return static_cast<DirectDrawSurface*>(surface);
}
