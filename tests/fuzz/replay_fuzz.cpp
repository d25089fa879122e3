// Replay files through the game's readers: the replay list the menus show (with the
// key map and facing control that start-up takes from it) and the frames a playback
// reads. A file the playback cannot use (too short, or a loadout or controls the game
// cannot record) is reported, not played; the drawing of that report is caught here,
// since no screen is open.
#include "../support/word_file_layouts.h"
#include "core/game_state.h"
#include "core/replay_files.h"
#include "patched_input.h"
#include "scratch_files.h"

namespace {

constexpr int kSlot = 3;
constexpr int kRecordedFrames = 40;

std::vector<std::uint8_t> recordedFile;
std::string fileName;
int missingReplayReports = 0;

// A short recording of a loadout the game can choose, written by the game's own writer.
void Record() {
  SetRecordedRun({'A', 'B', 'C', 900, 20, 70, 1, 2, 3, 44, 55, 66, 2, 16, 32, 64, 128, 256});
  ReplaySlot = kSlot;
  ReplayMode = kReplayRecording;
  BeginReplayIo();
  for (int frame = 0; frame < kRecordedFrames; ++frame) ReplayBuffer[ReplayFrameCount++] = frame * 37 % 512;
  if (FinishReplay() != 0) std::abort();
  recordedFile = ReadWholeFile(fileName.c_str());
}

bool InRange(int value, int lowest, int highest) { return value >= lowest && value <= highest; }
bool ShotCode(int code) { return InRange(code, 10, 129) && code % 10 <= 3; }  // types 1-12, levels 0-3

// A loadout the loadout select can choose and controls the options page can set: the
// only headers a playback may start with, since play indexes its tables with them.
bool Recordable(int mode, int mainShot, int secondShot, int optionType, int optionShot, int facingLock,
                const int* keys) {
  bool keysUsable = true;
  for (int action = 0; action < kActionCount; ++action) {
    const int key = keys[action];
    keysUsable = keysUsable && InRange(key, 16, 8192) && (key & (key - 1)) == 0;
    for (int other = 0; other < action; ++other) keysUsable = keysUsable && keys[other] != key;
  }
  return InRange(mode, 0, 3) && ShotCode(mainShot) && ShotCode(secondShot) && InRange(optionType, 0, 3) &&
         InRange(optionShot, 0, 3) && InRange(facingLock, 0, 2) && keysUsable;
}

bool FileIsRecordable(const std::vector<std::uint8_t>& file) {
  if (file.size() / 4 < kReplayHeaderWords) return false;
  int keys[kActionCount];
  for (int action = 0; action < kActionCount; ++action) keys[action] = WordAt(file, 13 + action);
  return Recordable(WordAt(file, 6), WordAt(file, 4), WordAt(file, 5), WordAt(file, 7), WordAt(file, 8),
                    WordAt(file, 12), keys);
}

bool PlaybackIsRecordable() {
  const ReplayHeaderRecord& header = ReplayHeader;
  return Recordable(header.gameMode, header.mainShot, header.secondShot, header.optionType, header.optionShot,
                    FacingLockControl, header.keyMap);
}

}  // namespace

extern "C" int __wrap__Z15ClearDrawTargetv() {
  ++missingReplayReports;
  return 0;
}
extern "C" int __wrap__Z10DrawTextAtiiPKcjj(int, int, const char*, std::uint32_t, std::uint32_t) { return 0; }
extern "C" std::uint32_t __wrap__Z15MakeScreenColoriii(int, int, int) { return 0; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MakeScratchFolder(/*enter=*/true);
  fileName = ReplayFileName(kSlot);
  Record();
  if (recordedFile.size() != 4 * (kReplayHeaderWords + kRecordedFrames + kReplayTrailerWords)) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> file = PatchedInput(recordedFile, data, size);
  WriteWholeFile(fileName.c_str(), file);
  const std::size_t words = file.size() / 4;

  ReplayList[kSlot] = ReplayListEntry{};
  LoadReplayList(/*withControlWords=*/true);
  if (words >= 4 && ReplayList[kSlot].score != WordAt(file, 3)) __builtin_trap();

  ReplaySlot = kSlot;
  ReplayMode = kReplayPlayback;
  QuitRequest = 0;
  missingReplayReports = 0;
  BeginReplayIo();
  const long held = static_cast<long>(words) - kReplayHeaderWords;
  const long claimed = words >= kReplayHeaderWords ? WordAt(file, kReplayHeaderWords - 1) : 0;
  const bool playable = held > 0 && claimed > 0 && FileIsRecordable(file);
  if (playable != (QuitRequest == 0) || playable == (missingReplayReports == 1)) __builtin_trap();
  if (playable) {
    // Never more frames than the file holds, its header claims or a recording takes.
    if (ReplayFrameCount < 1 || ReplayFrameCount > held || ReplayFrameCount > claimed ||
        ReplayFrameCount > kReplayMaxFrames || ReplayPosition != 0 || !PlaybackIsRecordable()) {
      __builtin_trap();
    }
    for (int frame = 0; frame < ReplayFrameCount; ++frame) {
      if (ReplayBuffer[frame] != WordAt(file, kReplayHeaderWords + frame)) __builtin_trap();
    }
  }
  ReplayMode = kReplayOff;
  return 0;
}
