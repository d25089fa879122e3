// Workers of services that are not built yet. Each logs that its service is not
// available and returns -1, or the fixed result of its entry point. A group is
// deleted from this file when its service lands.
#include "core/log.h"
#include "core/sound_workers.h"

namespace {

template <typename Result>
Result NotAvailable(const char* entryPoint, Result result) {
  LogPrintf("%s：この機能はまだ使えません", entryPoint);
  return result;
}

}  // namespace

// ---- Sound ----
int LoadSoundFileBody(const char*, int, int) { return NotAvailable("LoadSoundFile", -1); }
int FreeSoundBody(int, int) { return NotAvailable("FreeSound", -1); }
int StartSoundBody(int, int, int) { return NotAvailable("StartSound", -1); }
int StopSoundBody(int) { return NotAvailable("StopSound", -1); }
int IsSoundPlayingBody(int) { return NotAvailable("IsSoundPlaying", -1); }
int SetSoundVolumeBody(int, int) { return NotAvailable("SetSoundVolume", -1); }
