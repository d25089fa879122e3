#include "ddraw/palette.h"

#include <cstring>

DirectDrawPalette::DirectDrawPalette(DirectDrawObject* owner, const PALETTEENTRY* entries)
    : DDrawChild(owner) {
  std::memcpy(entries_, entries, sizeof(entries_));
}

HRESULT DirectDrawPalette::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (IsDead()) return DeadUse();
  if (!(iid == IID_IUnknown)) return E_NOINTERFACE;
  *object = static_cast<IUnknown*>(this);
  AddRef();
  return DD_OK;
}

HRESULT DirectDrawPalette::GetEntries(DWORD, DWORD base, DWORD count, PALETTEENTRY* entries) {
  if (IsDead()) return DeadUse();
  if (entries == nullptr || base > kEntryCount || count > kEntryCount - base) return DDERR_INVALIDPARAMS;
  std::memcpy(entries, entries_ + base, count * sizeof(PALETTEENTRY));
  return DD_OK;
}

HRESULT DirectDrawPalette::SetEntries(DWORD, DWORD start, DWORD count, PALETTEENTRY* entries) {
  if (IsDead()) return DeadUse();
  if (entries == nullptr || start > kEntryCount || count > kEntryCount - start) return DDERR_INVALIDPARAMS;
  std::memcpy(entries_ + start, entries, count * sizeof(PALETTEENTRY));
  return DD_OK;
}
