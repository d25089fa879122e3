#include "ddraw/child_object.h"

#include "ddraw/ddraw_types.h"
#include "ddraw/direct_draw_object.h"
#include "testing.h"

namespace {

int g_deadObjectUses = 0;

}  // namespace

void DDrawChild::Orphan() {
  owner_ = nullptr;
  if (dead_) return;
  dead_ = true;
  ReleaseResources(true);
}

void DDrawChild::DeleteIfUnreferenced() {
  if (refs_ == 0) delete this;
}

void DDrawChild::DropReference() {
  if (refs_ > 0) --refs_;
}

ULONG DDrawChild::ReleaseChild() {
  if (refs_ == 0) return 0;
  if (--refs_ > 0) return refs_;
  if (!dead_ && HeldByChain()) return 0;
  Destroy();
  return 0;
}

void DDrawChild::Kill() {
  if (!dead_) {
    dead_ = true;
    ReleaseResources(false);
  }
  if (refs_ == 0) Destroy();
}

void DDrawChild::Destroy() {
  if (!dead_) {
    dead_ = true;
    ReleaseResources(false);
  }
  if (owner_ != nullptr) owner_->Unregister(this);
  delete this;
}

HRESULT DDrawChild::DeadUse() const {
  ++g_deadObjectUses;
  return DDERR_INVALIDOBJECT;
}

int DDrawTestDeadObjectUses() { return g_deadObjectUses; }
