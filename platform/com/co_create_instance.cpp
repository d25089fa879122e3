// The classes the stand-ins can create, each with the one interface it hands out.
#include "com/com.h"

#include <cstring>

#include "dsound/dsound.h"

namespace {

struct ComClass {
  const CLSID* clsid;
  const IID* iid;
  HRESULT (*create)(void** object);
};

const ComClass kClasses[] = {
    {&CLSID_DirectSound, &IID_IDirectSound, CreateDirectSoundObject},
};

}  // namespace

bool IsEqualGUID(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

HRESULT CoCreateInstance(REFCLSID clsid, void* outer, DWORD context, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if ((context & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER)) == 0) return E_INVALIDARG;
  for (const ComClass& entry : kClasses) {
    if (!IsEqualGUID(*entry.clsid, clsid)) continue;
    if (!IsEqualGUID(*entry.iid, iid)) return E_NOINTERFACE;
    return entry.create(object);
  }
  return REGDB_E_CLASSNOTREG;
}
