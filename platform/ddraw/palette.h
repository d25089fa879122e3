// An 8-bit palette: 256 entries kept for the surfaces it is set on. The stand-in makes
// no 8-bit surface, so the entries are stored and read back, never shown.
#pragma once

#include "ddraw/child_object.h"
#include "ddraw/ddraw.h"

class DirectDrawPalette final : public IDirectDrawPalette, public DDrawChild {
 public:
  DirectDrawPalette(DirectDrawObject* owner, const PALETTEENTRY* entries);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return AddRefChild(); }
  ULONG Release() override { return ReleaseChild(); }
  HRESULT GetEntries(DWORD flags, DWORD base, DWORD count, PALETTEENTRY* entries) override;
  HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, PALETTEENTRY* entries) override;

  static constexpr DWORD kEntryCount = 256;

 private:
  void ReleaseResources(bool) override {}

  PALETTEENTRY entries_[kEntryCount];
};
