#include "kernel/clock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

#include "testing.h"

namespace {

constexpr LONGLONG kCountsPerSecond = 1000000;

std::atomic<bool> virtualClockOn{false};
std::atomic<std::uint64_t> virtualMicroseconds{0};
std::atomic<std::uint64_t> virtualStepMicroseconds{0};
std::atomic<std::uint64_t> virtualReads{0};

std::uint64_t SystemClockMicroseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

}  // namespace

std::uint64_t ReadClockMicroseconds() {
  if (virtualClockOn.load()) {
    virtualReads.fetch_add(1);
    return virtualMicroseconds.fetch_add(virtualStepMicroseconds.load());
  }
  return SystemClockMicroseconds();
}

std::uint64_t PeekClockMicroseconds() {
  return virtualClockOn.load() ? virtualMicroseconds.load() : SystemClockMicroseconds();
}

bool ClockIsVirtual() { return virtualClockOn.load(); }

void SleepOnClock(DWORD milliseconds) {
  if (virtualClockOn.load()) {
    virtualMicroseconds.fetch_add(std::uint64_t{milliseconds} * 1000);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  frequency->QuadPart = kCountsPerSecond;
  return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  count->QuadPart = static_cast<LONGLONG>(ReadClockMicroseconds());
  return TRUE;
}

void GetLocalTime(SYSTEMTIME* time) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto sinceSecond = now - std::chrono::system_clock::from_time_t(seconds);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  time->wYear = static_cast<WORD>(local.tm_year + 1900);
  time->wMonth = static_cast<WORD>(local.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
  time->wDay = static_cast<WORD>(local.tm_mday);
  time->wHour = static_cast<WORD>(local.tm_hour);
  time->wMinute = static_cast<WORD>(local.tm_min);
  time->wSecond = static_cast<WORD>(local.tm_sec);
  time->wMilliseconds =
      static_cast<WORD>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count() % 1000);
}

void TestClockStart(std::uint64_t startMicroseconds, std::uint64_t stepMicroseconds) {
  virtualMicroseconds.store(startMicroseconds);
  virtualStepMicroseconds.store(stepMicroseconds);
  virtualClockOn.store(true);
}

void TestClockSet(std::uint64_t microseconds) { virtualMicroseconds.store(microseconds); }

void TestClockSetStep(std::uint64_t stepMicroseconds) { virtualStepMicroseconds.store(stepMicroseconds); }

void TestClockStop() { virtualClockOn.store(false); }

std::uint64_t TestClockReads() { return virtualReads.load(); }
