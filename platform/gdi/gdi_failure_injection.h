// Failures of the font calls injected by tests (GdiTestFailCall in testing.h).
#pragma once

#include "testing.h"

// True when this call is to fail.
bool GdiCallFails(GdiTestCall call);
