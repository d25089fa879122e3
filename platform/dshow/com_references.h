// The reference count of a stand-in COM object (thread-safe: the objects may be released
// on any thread).
#pragma once

#include <atomic>

#include "kernel/win_types.h"

class ComReferences {
 public:
  ULONG Add() { return ++count_; }
  // The count left; the owner deletes itself at 0.
  ULONG Drop() { return --count_; }

 private:
  std::atomic<ULONG> count_{1};
};
