// The system-information log of start-up, and the CPU facts it measures on the way:
// the time-stamp counter and its clock, and whether MMX is there.
#pragma once

#include <cstdint>

// Logs the library version, the operating system and the CPU; sets the timer to its
// finest period and measures the CPU clock (about 100 ms).
void LogSystemInfo();

int IsMmxInUse();
int HasTimeStampCounter();
std::int64_t ReadTimeStampCounter();
std::int64_t GetCpuClockHz();
// The operating-system code (0 on this system) and the DirectX version (0x70000).
std::uint32_t GetOsCode();
std::uint32_t GetDirectXVersion();

// count / frequency in microseconds, without overflowing for any count.
std::int64_t ScaleToMicroseconds(std::int64_t count, std::int64_t frequency);
