// Replay files through the game's readers: the replay list the menus show (with the
// key map and facing control that start-up takes from it) and the frames a playback
// reads. A file the playback cannot use is reported, not played; the drawing of
// that report is caught here, since no screen is open.
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

// A short recording written by the game's own writer.
void Record() {
  ReplaySlot = kSlot;
  ReplayMode = kReplayRecording;
  BeginReplayIo();
  for (int frame = 0; frame < kRecordedFrames; ++frame) ReplayBuffer[ReplayFrameCount++] = frame * 37 % 512;
  if (FinishReplay() != 0) std::abort();
  recordedFile = ReadWholeFile(fileName.c_str());
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
  const bool playable = held > 0 && claimed > 0;
  if (playable != (QuitRequest == 0) || playable == (missingReplayReports == 1)) __builtin_trap();
  if (playable) {
    // Never more frames than the file holds, its header claims or a recording takes.
    if (ReplayFrameCount < 1 || ReplayFrameCount > held || ReplayFrameCount > claimed ||
        ReplayFrameCount > kReplayMaxFrames || ReplayPosition != 0) {
      __builtin_trap();
    }
    for (int frame = 0; frame < ReplayFrameCount; ++frame) {
      if (ReplayBuffer[frame] != WordAt(file, kReplayHeaderWords + frame)) __builtin_trap();
    }
  }
  ReplayMode = kReplayOff;
  return 0;
}
