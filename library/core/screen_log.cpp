#include "core/screen_log.h"

namespace {
std::uint32_t screenLogState = 0;
}

std::uint32_t GetScreenLogState() { return screenLogState; }
