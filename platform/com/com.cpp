#include "com/com.h"

#include "dinput/dinput_internal.h"

namespace {

thread_local int t_comStarts = 0;

struct ComClass {
  const CLSID* classId;
  HRESULT (*create)(REFIID interfaceId, LPVOID* object);
};

// Every class the stand-ins offer.
const ComClass kClasses[] = {
    {&CLSID_DirectInput, CreateDirectInput7Object},
    {&CLSID_DirectInput8, CreateDirectInput8Object},
};

}  // namespace

HRESULT CoInitialize(LPVOID) { return t_comStarts++ == 0 ? S_OK : S_FALSE; }

void CoUninitialize() {
  if (t_comStarts > 0) --t_comStarts;
}

HRESULT CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId, LPVOID* object) {
  if (object == nullptr) return E_INVALIDARG;
  *object = nullptr;
  if (t_comStarts == 0) return CO_E_NOTINITIALIZED;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if ((context & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
  for (const ComClass& comClass : kClasses) {
    if (*comClass.classId == classId) return comClass.create(interfaceId, object);
  }
  return REGDB_E_CLASSNOTREG;
}
