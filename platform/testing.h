// Controls for tests: what each stand-in lets a test see and steer. Nothing in the
// shipped program calls these.
#pragma once

// Sound device: manual stepping of the mixer, capabilities, forced failures.
#include "dsound/sound_testing.h"
// Built-in modules: forced LoadLibraryA / GetProcAddress failures.
#include "kernel/module_loader.h"
