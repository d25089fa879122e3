#include "core/system_info_log.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define VANTOREL_HAS_CPUID 1
#else
#define VANTOREL_HAS_CPUID 0
#endif

#include "core/log.h"
#include "float_to_int.h"
#include "kernel/system_info.h"
#include "winmm/time.h"

namespace {

constexpr char kLibraryVersion[] = "1.00";
constexpr std::uint32_t kDirectXVersion = 0x70000;

struct CpuFacts {
  int hasCpuid = 0;
  int hasMmx = 0;
  int mmxInUse = 0;
  int hasTimeStampCounter = 0;
  std::int64_t clockHz = 0;
  int clockMhz = 0;
};
CpuFacts g_cpu;
std::uint32_t g_directXVersion = 0;

void SetFinestTimerPeriod() {
  TIMECAPS caps{};
  if (timeGetDevCaps(&caps, sizeof(caps)) == TIMERR_NOERROR) timeBeginPeriod(caps.wPeriodMin);
}

#if VANTOREL_HAS_CPUID
// Counter ticks over at least 100 ms of the millisecond timer, times ten.
void MeasureCpuClock() {
  const std::int64_t startCount = static_cast<std::int64_t>(__rdtsc());
  const DWORD start = timeGetTime();
  while (timeGetTime() - start < 100) {
  }
  const std::int64_t ticks = static_cast<std::int64_t>(__rdtsc()) - startCount;
  g_cpu.clockHz = ticks * 10;
  g_cpu.clockMhz = DoubleToInt(static_cast<double>(ticks) * 0.00001);
  LogPrintf("ＣＰＵ動作速度：大体%.2fGHz", g_cpu.clockMhz * 0.001);
}

void LogCpu() {
  unsigned int eax = 0;
  unsigned int ebx = 0;
  unsigned int ecx = 0;
  unsigned int edx = 0;
  if (__get_cpuid_max(0, nullptr) == 0) {
    LogWrite("ＣＰＵＩＤ命令は使えません\n");
    return;
  }
  g_cpu.hasCpuid = 1;
  __get_cpuid(0, &eax, &ebx, &ecx, &edx);
  const unsigned int vendorWords[3] = {ebx, edx, ecx};
  __get_cpuid(1, &eax, &ebx, &ecx, &edx);
  g_cpu.hasTimeStampCounter = (edx >> 4) & 1;
  g_cpu.hasMmx = (edx >> 23) & 1;
  char brand[49] = {};
  const bool hasBrand = __get_cpuid_max(0x80000000u, nullptr) >= 0x80000004u;
  if (hasBrand) {
    for (unsigned int leaf = 0; leaf < 3; ++leaf) {
      unsigned int words[4];
      __get_cpuid(0x80000002u + leaf, &words[0], &words[1], &words[2], &words[3]);
      std::memcpy(brand + leaf * 16, words, sizeof(words));
    }
  }

  if (g_cpu.hasTimeStampCounter) MeasureCpuClock();
  if (g_cpu.hasMmx) {
    LogWrite("ＭＭＸ命令を使用します\n");
    g_cpu.mmxInUse = 1;
  } else {
    LogWrite("ＭＭＸは使えません\n");
  }
  LogWrite("ＣＰＵベンダ：");
  for (unsigned int word : vendorWords) {
    char piece[5] = {};
    std::memcpy(piece, &word, 4);
    LogWrite(piece);
  }
  LogWrite("\n");
  if (hasBrand) LogPrintf("ＣＰＵ名：%s", brand);
}
#else
void LogCpu() { LogWrite("ＣＰＵＩＤ命令は使えません\n"); }
#endif

}  // namespace

void LogSystemInfo() {
  LogWrite("システムの情報を出力します\n");
  LogPrintf("ＭＵライブラリ Ver%s", kLibraryVersion);
  LogWrite("ＯＳ  ");
  LogPrintf("%s", GetOsVersionText());
  g_directXVersion = kDirectXVersion;
  SetFinestTimerPeriod();
  LogCpu();
}

int IsMmxInUse() { return g_cpu.mmxInUse; }
int HasTimeStampCounter() { return g_cpu.hasTimeStampCounter != 0 && g_cpu.clockHz > 0 ? 1 : 0; }

std::int64_t ReadTimeStampCounter() {
#if VANTOREL_HAS_CPUID
  return static_cast<std::int64_t>(__rdtsc());
#else
  return 0;
#endif
}

std::int64_t GetCpuClockHz() { return g_cpu.clockHz; }
std::uint32_t GetOsCode() { return 0; }
std::uint32_t GetDirectXVersion() { return g_directXVersion; }

std::int64_t ScaleToMicroseconds(std::int64_t count, std::int64_t frequency) {
  if (frequency <= 0) return 0;
  return (count / frequency) * 1000000 + (count % frequency) * 1000000 / frequency;
}
