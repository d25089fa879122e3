// Lifetime of the objects a DirectDraw object creates. Each is counted like a COM object
// and dies with its creator: when the DirectDraw object goes, every child frees its
// resources at once and is only a dead shell until its last Release; calls on a dead
// shell fail with DDERR_INVALIDOBJECT and are counted (DDrawTestDeadObjectUses).
#pragma once

#include "kernel/win_types.h"

class DirectDrawObject;

class DDrawChild {
 public:
  explicit DDrawChild(DirectDrawObject* owner) : owner_(owner) {}
  virtual ~DDrawChild() = default;
  DDrawChild(const DDrawChild&) = delete;
  DDrawChild& operator=(const DDrawChild&) = delete;

  DirectDrawObject* Owner() const { return owner_; }
  bool IsDead() const { return dead_; }

  // The owner is going away. Frees resources without releasing other children (they are
  // being orphaned too); the owner then deletes every child left unreferenced.
  void Orphan();
  void DeleteIfUnreferenced();
  // A reference held by another child that is being orphaned.
  void DropReference();
  // The display mode changed (surfaces in video memory lose their pixels).
  virtual void DisplayChanged() {}

 protected:
  ULONG AddRefChild() { return ++refs_; }
  ULONG ReleaseChild();
  // Frees the resources now (a flipping chain's buffers when the chain goes) and deletes
  // the shell when nobody holds it.
  void Kill();
  HRESULT DeadUse() const;

  // True while a flipping chain keeps this buffer alive whatever its count.
  virtual bool HeldByChain() const { return false; }
  // `orphaning`: the owner is going, so drop references to other children with
  // DropReference, never Release.
  virtual void ReleaseResources(bool orphaning) = 0;

 private:
  void Destroy();

  DirectDrawObject* owner_;
  ULONG refs_ = 1;
  bool dead_ = false;
};
