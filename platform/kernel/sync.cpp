#include "kernel/sync.h"

#include <chrono>

#include "kernel/waitable.h"

namespace {

struct EventObject : WaitableObject {
  static constexpr Kind kKind = Kind::kEvent;
  EventObject(bool manualReset, bool initialState) : WaitableObject(kKind, manualReset, initialState) {}
};

std::mutex* SectionLock(LPCRITICAL_SECTION section) { return static_cast<std::mutex*>(section->lock); }

WaitableObject* AsWaitable(HANDLE handle) {
  if (KernelObject* event = KernelObjectFromHandle(handle, KernelObject::Kind::kEvent)) {
    return static_cast<WaitableObject*>(event);
  }
  return static_cast<WaitableObject*>(KernelObjectFromHandle(handle, KernelObject::Kind::kThread));
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) { section->lock = new std::mutex; }
void EnterCriticalSection(LPCRITICAL_SECTION section) { SectionLock(section)->lock(); }
void LeaveCriticalSection(LPCRITICAL_SECTION section) { SectionLock(section)->unlock(); }

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  delete SectionLock(section);
  section->lock = nullptr;
}

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
  if (name != nullptr) return nullptr;
  return new EventObject(manualReset != FALSE, initialState != FALSE);
}

BOOL SetEvent(HANDLE event) {
  EventObject* object = HandleAs<EventObject>(event);
  if (object == nullptr) return FALSE;
  object->Signal();
  return TRUE;
}

BOOL ResetEvent(HANDLE event) {
  EventObject* object = HandleAs<EventObject>(event);
  if (object == nullptr) return FALSE;
  object->Reset();
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  WaitableObject* object = AsWaitable(handle);
  if (object == nullptr) return WAIT_FAILED;
  object->AddRef();
  bool ended;
  {
    std::unique_lock<std::mutex> guard(object->mutex);
    auto isSignalled = [object] { return object->signalled; };
    if (milliseconds == INFINITE) {
      object->changed.wait(guard, isSignalled);
      ended = true;
    } else {
      ended = object->changed.wait_for(guard, std::chrono::milliseconds(milliseconds), isSignalled);
    }
    if (ended && !object->manualReset) object->signalled = false;
  }
  object->Release();
  return ended ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}
