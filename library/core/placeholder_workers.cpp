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

// ---- Graphics: screen, graphs and drawing ----
DDPIXELFORMAT* GetScreenDDPixelFormatBody() {
  return NotAvailable("GetScreenDDPixelFormat", static_cast<DDPIXELFORMAT*>(nullptr));
}
int SaveScreenToBmpBody(int, int, int, int, const char*) { return NotAvailable("SaveScreenToBmp", -1); }
int FreeGraphBody(int, int) { return NotAvailable("FreeGraph", -1); }
int LoadGraphFileBody(const char*) { return NotAvailable("LoadGraphFile", -1); }
int LoadDivGraphFileBody(const char*, int, int, int, int, int, int*) { return NotAvailable("LoadDivGraphFile", -1); }
int ClearDrawTargetBody() { return NotAvailable("ClearDrawTarget", -1); }
int DrawGraphFileAtBody(int, int, const char*, int) { return NotAvailable("DrawGraphFileAt", -1); }
int DrawGraphAtBody(int, int, int, int) { return NotAvailable("DrawGraphAt", -1); }
int DrawGraphRotatedBody(int, int, double, double, int, int, int) { return NotAvailable("DrawGraphRotated", -1); }
int DrawGraphMirroredBody(int, int, int, int) { return NotAvailable("DrawGraphMirrored", -1); }
int DrawLineSegmentBody(int, int, int, int, std::uint32_t) { return NotAvailable("DrawLineSegment", -1); }
int DrawRectBody(int, int, int, int, std::uint32_t, int) { return NotAvailable("DrawRect", -1); }
int DrawTextAtBody(int, int, const char*, std::uint32_t, std::uint32_t) { return NotAvailable("DrawTextAt", -1); }
int SetBlendModeBody(int, int) { return NotAvailable("SetBlendMode", 0); }
int SetTransparentColorBody(int, int, int) { return NotAvailable("SetTransparentColor", 0); }
int SetDitherModeBody(int) { return NotAvailable("SetDitherMode", 0); }
int ClipRectangleBody(RECT*, const RECT*) { return NotAvailable("ClipRectangle", 0); }
