#include "ddraw/display_mode.h"
#include "ddraw/failure_injection.h"
#include "testing.h"

void DDrawTestResetHooks() {
  ClearInjectedFailures();
  DDrawTestFakeDesktop(0, 0, 0);
  DDrawTestUseRgb555(false);
  DDrawTestSetVideoMemory(kDefaultVideoMemory);
  DDrawTestSetMovingLocks(false);
  DDrawTestCapturePresents(false);
  DDrawTestSetVBlankMode(DDrawVBlankMode::Auto);
  DDrawTestUseManualRasterClock(false);
}
