// Controls for tests: what each stand-in lets a test see and steer. Nothing in the
// shipped program calls these.
#pragma once

#include <cstdint>

// ---- Virtual clock (kernel and winmm time) ----
// While it runs, timeGetTime (milliseconds = microseconds / 1000) and the
// performance counter (microseconds) read the virtual time, and every read advances
// it by the step afterwards. With a step of 1000 a busy-wait on the millisecond timer
// ends after as many reads as it waits milliseconds.
void TestClockStart(std::uint64_t startMicroseconds, std::uint64_t stepMicroseconds);
void TestClockSet(std::uint64_t microseconds);
void TestClockSetStep(std::uint64_t stepMicroseconds);
void TestClockStop();

// ---- Sound device: manual stepping of the mixer, capabilities, forced failures ----
#include "dsound/sound_testing.h"
// ---- Built-in modules: forced LoadLibraryA / GetProcAddress failures ----
#include "kernel/module_loader.h"
