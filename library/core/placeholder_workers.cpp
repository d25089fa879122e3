// Workers of services that are not built yet. Each logs that its service is not
// available and returns -1, or the fixed result of its entry point. A group is
// deleted from this file when its service lands.
#include "core/log.h"
#include "graphics/graphics_workers.h"

namespace {

template <typename Result>
Result NotAvailable(const char* entryPoint, Result result) {
  LogPrintf("%s：この機能はまだ使えません", entryPoint);
  return result;
}

}  // namespace

// ---- Graphics: text waits for the fonts ----
int DrawTextAtBody(int, int, const char*, std::uint32_t, std::uint32_t) { return NotAvailable("DrawTextAt", -1); }
