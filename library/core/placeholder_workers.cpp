// Workers of services that are not built yet. Each logs that its service is not
// available and returns -1, or the fixed result of its entry point. A group is
// deleted from this file when its service lands.
#include "core/input_workers.h"
#include "core/log.h"
#include "core/sound_workers.h"
#include "core/window_workers.h"

namespace {

template <typename Result>
Result NotAvailable(const char* entryPoint, Result result) {
  LogPrintf("%s：この機能はまだ使えません", entryPoint);
  return result;
}

}  // namespace

// ---- Window, start-up and shut-down ----
int InitLibraryBody() { return NotAvailable("InitLibrary", -1); }
int EndLibraryBody() { return NotAvailable("EndLibrary", -1); }
int ChangeWindowModeBody(int) { return NotAvailable("ChangeWindowMode", -1); }
int SetWindowTitleBody(const char*) { return NotAvailable("SetWindowTitle", 0); }
int SetRunWhileInactiveBody(int) { return NotAvailable("SetRunWhileInactive", 0); }
int GetLocalDateTimeBody(int out[6]) {
  for (int i = 0; i < 6; ++i) out[i] = 0;
  return NotAvailable("GetLocalDateTime", 0);
}

// ---- Input: no key is down and no pad bit is set ----
int IsKeyDownBody(int) { return NotAvailable("IsKeyDown", 0); }
int ReadPadBitsBody(int) { return NotAvailable("ReadPadBits", 0); }
int StartPadRumbleBody(int, int, int) { return NotAvailable("StartPadRumble", 0); }
int StopPadRumbleBody(int) { return NotAvailable("StopPadRumble", 0); }

// ---- Sound ----
int LoadSoundFileBody(const char*, int, int) { return NotAvailable("LoadSoundFile", -1); }
int FreeSoundBody(int, int) { return NotAvailable("FreeSound", -1); }
int StartSoundBody(int, int, int) { return NotAvailable("StartSound", -1); }
int StopSoundBody(int) { return NotAvailable("StopSound", -1); }
int IsSoundPlayingBody(int) { return NotAvailable("IsSoundPlaying", -1); }
int SetSoundVolumeBody(int, int) { return NotAvailable("SetSoundVolume", -1); }
