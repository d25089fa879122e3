#include "com/com.h"

#include "ddraw/ddraw.h"
#include "ddraw/direct_draw_object.h"
#include "dinput/dinput_internal.h"
#include "dsound/dsound.h"

const IID IID_IUnknown = {0x7a10c000u, 0x0000, 0x0000, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

thread_local int g_comInitCount = 0;

struct ComClass {
  const CLSID* clsid;
  HRESULT (*create)(REFIID iid, void** object);
};

// Every class a stand-in offers through CoCreateInstance.
const ComClass kComClasses[] = {
    {&CLSID_DirectDraw7, CreateDirectDrawInstance},
    {&CLSID_DirectInput, CreateDirectInput7Object},
    {&CLSID_DirectInput8, CreateDirectInput8Object},
    {&CLSID_DirectSound, CreateDirectSoundObject},
};

}  // namespace

HRESULT CoInitialize(LPVOID) { return g_comInitCount++ == 0 ? S_OK : S_FALSE; }

void CoUninitialize() {
  if (g_comInitCount > 0) --g_comInitCount;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD, REFIID iid, LPVOID* object) {
  if (object == nullptr) return E_INVALIDARG;
  *object = nullptr;
  if (g_comInitCount == 0) return CO_E_NOTINITIALIZED;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  for (const ComClass& comClass : kComClasses) {
    if (*comClass.clsid == clsid) return comClass.create(iid, object);
  }
  return REGDB_E_CLASSNOTREG;
}
