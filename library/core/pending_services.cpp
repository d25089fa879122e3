// Thin stand-ins for the texture services, until they exist. They succeed and do
// nothing.
#include "core/pending_services.h"

int RestoreAllSurface3DData() { return 0; }

