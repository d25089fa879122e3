#include "ddraw/clipper.h"

#include "ddraw/failure_injection.h"

HRESULT DirectDrawClipper::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (IsDead()) return DeadUse();
  if (!(iid == IID_IUnknown)) return E_NOINTERFACE;
  *object = static_cast<IUnknown*>(this);
  AddRef();
  return DD_OK;
}

HRESULT DirectDrawClipper::SetHWnd(DWORD, HWND window) {
  if (IsDead()) return DeadUse();
  if (HRESULT failure = InjectedFailure(DDrawTestCall::SetHWnd); failure != DD_OK) return failure;
  window_ = window;
  return DD_OK;
}
