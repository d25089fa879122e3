// What every device of the DirectInput stand-in shares: the data format it was given,
// its cooperative level, acquisition and its reference count.
#pragma once

#include "dinput/dinput_internal.h"

class InputDevice : public IDirectInputDevice7A {
 public:
  HRESULT SetDataFormat(const DIDATAFORMAT* format) override;
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT SetProperty(REFGUID property, const DIPROPHEADER* header) override;
  HRESULT GetDeviceInfo(DIDEVICEINSTANCEA* instance) override;
  HRESULT SetEventNotification(HANDLE event) override;
  HRESULT Acquire() override;
  HRESULT Unacquire() override;
  HRESULT Poll() override;
  HRESULT GetDeviceState(DWORD size, LPVOID state) override;
  HRESULT CreateEffect(REFGUID effectGuid, const DIEFFECT* effect, IDirectInputEffect** out,
                       LPUNKNOWN outer) override;
  ULONG Release() override;

 protected:
  InputDevice(DWORD stateSize, const char* name) : stateSize_(stateSize), name_(name) {}
  virtual ~InputDevice() = default;
  // Fills a state of stateSize_ bytes (already zeroed).
  virtual HRESULT ReadState(BYTE* state) = 0;
  bool IsAcquired() const { return acquired_; }

 private:
  DWORD stateSize_;
  const char* name_;
  bool formatSet_ = false;
  bool acquired_ = false;
  ULONG references_ = 1;
};
