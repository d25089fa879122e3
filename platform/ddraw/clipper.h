// A clipper: blits onto the primary surface it is set on stay inside its window's client
// area; on other surfaces it only lets blits reach past the edges (they are clipped).
#pragma once

#include "ddraw/child_object.h"
#include "ddraw/ddraw.h"

class DirectDrawClipper final : public IDirectDrawClipper, public DDrawChild {
 public:
  using DDrawChild::DDrawChild;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return AddRefChild(); }
  ULONG Release() override { return ReleaseChild(); }
  HRESULT SetHWnd(DWORD flags, HWND window) override;

  HWND Window() const { return window_; }

 private:
  void ReleaseResources(bool) override { window_ = nullptr; }

  HWND window_ = nullptr;
};
