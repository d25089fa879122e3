// The object pool's operations: reset and allocation of records, the culling
// windows that behaviours call, group counts and the whole-pool bullet sweeps.
#pragma once

void ResetObject(int slot);
// A free slot from 50 up, already reset and still free; slot 8500 (not reset) when
// every slot is taken.
int AllocateObject();
// For code that writes the pool's records directly instead of through ResetObject
// (test and benchmark set-ups): the next search scans the whole pool again.
void ForgetFreeSlotHint();

void FreeObjectIfFarOutside(int slot);
void FreeObjectIfOffView(int slot);
void FreeObjectIfOffWorld(int slot);

int CountEnemiesInGroup1();
int CountEnemiesInGroup2();

void CancelBullet(int slot);
void CancelAllBullets();
void ConvertBulletsToChips();
