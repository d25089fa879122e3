// Inside the kernel stand-in: every HANDLE it gives out points to a KernelObject.
// Objects are reference counted so that a wait in progress, or a running thread,
// keeps its object alive after CloseHandle.
#pragma once

#include <atomic>

#include "kernel/win_types.h"

struct KernelObject {
  enum class Kind { kEvent, kThread, kFile, kFolder };

  explicit KernelObject(Kind objectKind) : kind(objectKind) {}
  virtual ~KernelObject() = default;
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;

  void AddRef() { references.fetch_add(1, std::memory_order_relaxed); }
  void Release() {
    if (references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

  const Kind kind;
  std::atomic<int> references{1};
};

// The object behind a handle when it is of the given kind, else null.
inline KernelObject* KernelObjectFromHandle(HANDLE handle, KernelObject::Kind kind) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
  KernelObject* object = static_cast<KernelObject*>(handle);
  return object->kind == kind ? object : nullptr;
}

template <typename T>
T* HandleAs(HANDLE handle) {
  return static_cast<T*>(KernelObjectFromHandle(handle, T::kKind));
}
