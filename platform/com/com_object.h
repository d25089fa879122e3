// The IUnknown part of a stand-in object that offers one interface: a reference count
// that deletes the object at zero, and QueryInterface for IUnknown and that interface.
#pragma once

#include "com/com.h"

template <typename Interface, const IID& kInterfaceId>
class ComObject : public Interface {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_INVALIDARG;
    if (!(iid == IID_IUnknown) && !(iid == kInterfaceId)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *object = static_cast<Interface*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() = default;

 private:
  ULONG references_ = 1;
};
