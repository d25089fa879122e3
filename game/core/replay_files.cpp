#include "core/replay_files.h"

#include <cstdio>
#include <memory>

#include "core/game_state.h"
#include "core/new_game.h"
#include "core/resource_loaders.h"
#include "core/sound_control.h"
#include "core/word_files.h"
#include "game_library.h"

namespace {

std::unique_ptr<int[]> ReplayStorage;

// The header's words in file order.
struct HeaderWords {
  int* word[kReplayHeaderWords];
};

HeaderWords WordsOf(ReplayFileHeader& h) {
  return {{&h.name[0], &h.name[1], &h.name[2], &h.score, &h.mainShot, &h.secondShot, &h.gameMode,
           &h.optionType, &h.optionShot, &h.coins, &h.kills, &h.clearTime, &h.facingLockControl,
           &h.keyMap[0], &h.keyMap[1], &h.keyMap[2], &h.keyMap[3], &h.keyMap[4], &h.frameCount}};
}

bool ValidSlot(int slot) { return slot >= 1 && slot <= kReplaySlotCount; }

// Reads the 19 header words; false when the file holds fewer.
bool ReadHeader(WordFileReader& file, ReplayFileHeader& header) {
  for (int* word : WordsOf(header).word) {
    if (!file.Read(*word)) return false;
  }
  return true;
}

// The frames a playback may use: what the header says, within the frames the file
// really holds and the recording limit. 0 when there is nothing to play.
int PlayableFrames(const ReplayFileHeader& header, long fileSize) {
  const long held = (fileSize - 4L * kReplayHeaderWords) / 4;
  long frames = header.frameCount;
  if (frames > held) frames = held;
  if (frames > kReplayMaxFrames) frames = kReplayMaxFrames;
  return frames > 0 ? static_cast<int>(frames) : 0;
}

// Reads a whole header and the playable frame count of a slot's file; false when the
// file is missing, short or holds no frame.
bool ReadPlayableHeader(int slot, ReplayFileHeader& header, WordFileReader& file) {
  if (!ValidSlot(slot) || !file.IsOpen()) return false;
  if (!ReadHeader(file, header)) return false;
  header.frameCount = PlayableFrames(header, file.Size());
  return header.frameCount > 0;
}

void CopyToReplayHeader(const ReplayFileHeader& file) {
  ReplayHeader.score = file.score;
  ReplayHeader.mainShot = file.mainShot;
  ReplayHeader.secondShot = file.secondShot;
  ReplayHeader.gameMode = file.gameMode;
  ReplayHeader.optionType = file.optionType;
  ReplayHeader.optionShot = file.optionShot;
  ReplayHeader.coins = file.coins;
  ReplayHeader.kills = file.kills;
  ReplayHeader.clearTime = file.clearTime;
  for (int i = 0; i < kActionCount; ++i) ReplayHeader.keyMap[i] = file.keyMap[i];
}

ReplayFileHeader HeaderOfRecording() {
  ReplayFileHeader header{};
  for (int i = 0; i < 3; ++i) header.name[i] = PlayerName[i];
  header.score = FloatToInt(Score);
  header.mainShot = ReplayHeader.mainShot;
  header.secondShot = ReplayHeader.secondShot;
  header.gameMode = ReplayHeader.gameMode;
  header.optionType = OptionType;
  header.optionShot = OptionShot;
  header.coins = CoinsGot;
  header.kills = EnemiesDestroyed;
  header.clearTime = ClearTimeSec;
  header.facingLockControl = SavedFacingLockControl;
  for (int i = 0; i < kActionCount; ++i) header.keyMap[i] = ReplayHeader.keyMap[i];
  header.frameCount = ReplayFrameCount;
  return header;
}

int WriteRecording() {
  if (!ValidSlot(ReplaySlot)) return -1;
  ReplayFileHeader header = HeaderOfRecording();
  WordFileWriter file(ReplayFileName(ReplaySlot).c_str());
  for (int* word : WordsOf(header).word) file.Write(*word);
  file.Write(ReplayBuffer, ReplayFrameCount);
  file.WriteZeros(kReplayTrailerWords);
  return file.Commit();
}

void NewReplayBuffer(int words) {
  ReplayStorage = std::make_unique<int[]>(words);
  ReplayBuffer = ReplayStorage.get();
}

void ReportMissingReplay() {
  ClearDrawTarget();
  DrawTextAt(0, 0, "動作保存ファイルがありません", MakeScreenColor(255, 255, 255), 0);
  QuitRequest = 1;
}

// The end of a playback: the results scene takes over with its pictures and music.
void EndPlayback() {
  ReplayMode = kReplayOff;
  Scene = kSceneResults;
  ScenePhase = 6;
  WatchingReplay = 1;
  const int emblemX = RandomInRange(1400);
  const int emblemY = RandomInRange(1000);
  ShopEmblem[0] = static_cast<float>(emblemX);
  ShopEmblem[1] = static_cast<float>(emblemY);
  ShopEmblem[2] = 0.0f;
  LoadResultsResources();
  SetBgmFade(2, 1);
  MenuCursorY = 143;
  MenuState.cursor = 418.0f;
  if (VSyncOffOption == 0) SetSyncToVBlank(1);
  FrameWaitOffset = 0;
  LoadResultsMusic();
  SetBgmFade(4, 2);
  for (int i = 0; i < kActionCount; ++i) ActiveKeyMap[i] = KeyConfig[i];
  FacingLockControl = SavedFacingLockControl;
}

}  // namespace

std::string ReplayFileName(int slot) {
  char name[32];
  std::snprintf(name, sizeof name, "VTReplaydata0%d.dat", slot);
  return name;
}

void LoadReplayList(bool withControlWords) {
  for (int slot = 1; slot <= kReplaySlotCount; ++slot) {
    WordFileReader file(ReplayFileName(slot).c_str());
    if (!file.IsOpen()) continue;
    ReplayListEntry& entry = ReplayList[slot];
    int* listWords[12] = {&entry.name[0], &entry.name[1], &entry.name[2], &entry.score,
                          &entry.mainShot, &entry.secondShot, &entry.gameMode, &entry.optionType,
                          &entry.optionShot, &entry.coins, &entry.kills, &entry.clearTime};
    for (int* word : listWords) file.Read(*word);
    if (!withControlWords) continue;
    file.Read(SavedFacingLockControl);
    for (int& bit : ReplayHeader.keyMap) file.Read(bit);
  }
}

void BeginReplayIo() {
  if (ReplayMode == kReplayRecording) {
    NewReplayBuffer(kReplayMaxFrames);
    ReplayFrameCount = 0;
  } else if (ReplayMode == kReplayPlayback) {
    WordFileReader file(ReplayFileName(ReplaySlot).c_str());
    ReplayFileHeader header{};
    if (!ReadPlayableHeader(ReplaySlot, header, file)) {
      ReportMissingReplay();
      return;
    }
    CopyToReplayHeader(header);
    FacingLockControl = header.facingLockControl;
    ReplayFrameCount = header.frameCount;
    NewReplayBuffer(ReplayFrameCount);
    file.Read(ReplayBuffer, ReplayFrameCount);
    ReplayPosition = 0;
  }
}

int FinishReplay() {
  if (ReplayMode == kReplayRecording) {
    const int result = WriteRecording();
    ReplayMode = kReplayOff;
    LoadReplayList(/*withControlWords=*/false);
    return result;
  }
  if (ReplayMode == kReplayPlayback) EndPlayback();
  return 0;
}

void StartReplayPlayback() {
  ReplayMode = kReplayPlayback;
  ReplayFileHeader header{};
  {
    WordFileReader file(ReplayFileName(ReplaySlot).c_str());
    if (!ReadPlayableHeader(ReplaySlot, header, file)) {
      ReplaySlot = kReplayNoSlot;
      ReplayMode = kReplayOff;
      return;
    }
  }
  CopyToReplayHeader(header);
  FacingLockControl = header.facingLockControl;
  GameMode = header.gameMode;
  NewGameInit();
  ObjectPool[kPlayerSlot].y = static_cast<float>(320.0 + 650.1);
  CameraY = static_cast<float>(CameraY + 650.1);
  FreeBgmChannel(0);
  Scene = kScenePlay;
  WatchingReplay = 1;
  Credits = 0;
  NShotType = header.mainShot;
  TShotType = header.secondShot;
  OptionShot = header.optionShot;
  OptionType = header.optionType;
  OptionLevel = 0;
  FreeStageImages();
  LoadStageResources(Stage);
  BeginReplayIo();
}
