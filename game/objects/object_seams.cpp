// Seams: the object behaviours are not built yet. These functions do the least their
// callers need: no behaviour runs and no death effect appears. The behaviours replace
// this file.
#include "objects/objects.h"

void UpdateObjects() {}

void SpawnDeathEffects(int) {}
