#include "core/replay_files.h"

#include <cstdio>
#include <memory>
#include <string>

#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/player_shot_table.h"
#include "core/resource_loaders.h"
#include "core/sound_control.h"
#include "core/word_files.h"
#include "game_library.h"

namespace {

std::unique_ptr<int[]> ReplayStorage;

// Per slot, the error met when the list last read its file (0: read, or none there).
int ListReadErrors[kReplaySlotCount + 1];

constexpr int kReplayListWords = 12;

// The list entry's words in file order.
struct ListWords {
  int* word[kReplayListWords];
};

ListWords WordsOf(ReplayListEntry& e) {
  return {{&e.name[0], &e.name[1], &e.name[2], &e.score, &e.mainShot, &e.secondShot, &e.gameMode,
           &e.optionType, &e.optionShot, &e.coins, &e.kills, &e.clearTime}};
}

// The whole header's words in file order.
struct HeaderWords {
  int* word[kReplayHeaderWords];
};

HeaderWords WordsOf(ReplayFileHeader& h) {
  HeaderWords words{};
  const ListWords list = WordsOf(h.list);
  int n = 0;
  for (int* word : list.word) words.word[n++] = word;
  words.word[n++] = &h.facingLockControl;
  for (int& bit : h.keyMap) words.word[n++] = &bit;
  words.word[n] = &h.frameCount;
  return words;
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

constexpr int kOptionKinds = 4;        // option movements, and option shots
constexpr int kFacingLockControls = 3;

bool InRange(int value, int count) { return value >= 0 && value < count; }

// A loadout and controls the game can record. Play indexes its tables with them, so
// a damaged file holding anything else is not played.
bool IsRecordable(const ReplayFileHeader& header) {
  const ReplayListEntry& list = header.list;
  return InRange(list.gameMode, kGameModeCount) && FindShotRow(list.mainShot) != nullptr &&
         FindShotRow(list.secondShot) != nullptr && InRange(list.optionType, kOptionKinds) &&
         InRange(list.optionShot, kOptionKinds) && InRange(header.facingLockControl, kFacingLockControls) &&
         IsKeyMap(header.keyMap);
}

// Reads a whole header and the playable frame count of a slot's file; false when the
// file is missing, short, holds no frame or a loadout the game cannot record.
bool ReadPlayableHeader(int slot, ReplayFileHeader& header, WordFileReader& file) {
  if (!ValidSlot(slot) || !file.IsOpen()) return false;
  if (!ReadHeader(file, header) || !IsRecordable(header)) return false;
  header.frameCount = PlayableFrames(header, file.Size());
  return header.frameCount > 0;
}

void CopyToReplayHeader(const ReplayFileHeader& file) {
  const ReplayListEntry& list = file.list;
  ReplayHeader.score = list.score;
  ReplayHeader.mainShot = list.mainShot;
  ReplayHeader.secondShot = list.secondShot;
  ReplayHeader.gameMode = list.gameMode;
  ReplayHeader.optionType = list.optionType;
  ReplayHeader.optionShot = list.optionShot;
  ReplayHeader.coins = list.coins;
  ReplayHeader.kills = list.kills;
  ReplayHeader.clearTime = list.clearTime;
  for (int i = 0; i < kActionCount; ++i) ReplayHeader.keyMap[i] = file.keyMap[i];
}

ReplayFileHeader HeaderOfRecording() {
  ReplayFileHeader header{};
  ReplayListEntry& list = header.list;
  for (int i = 0; i < 3; ++i) list.name[i] = PlayerName[i];
  list.score = FloatToInt(Score);
  list.mainShot = ReplayHeader.mainShot;
  list.secondShot = ReplayHeader.secondShot;
  list.gameMode = ReplayHeader.gameMode;
  list.optionType = OptionType;
  list.optionShot = OptionShot;
  list.coins = CoinsGot;
  list.kills = EnemiesDestroyed;
  list.clearTime = ClearTimeSec;
  header.facingLockControl = SavedFacingLockControl;
  for (int i = 0; i < kActionCount; ++i) header.keyMap[i] = ReplayHeader.keyMap[i];
  header.frameCount = ReplayFrameCount;
  return header;
}

// Reads the list words of a slot's file as the list does: the reader's error, and
// whether a file was there to read.
int ProbeSlotFile(const std::string& name, bool& opened) {
  WordFileReader file(name.c_str());
  ReplayListEntry entry{};
  for (int* word : WordsOf(entry).word) file.Read(*word);
  opened = file.IsOpen();
  return file.Error();
}

// Whether a recording may replace what the slot holds. A file there that cannot be read
// may be a replay still, so it is moved aside first, or kept and nothing is written. A
// file the list could not read when it was last loaded showed as an empty slot: when it
// can be read now it is a replay the player never saw, so it is kept too, until the
// list has read it; one that still cannot be read is moved aside as any other.
bool SlotMayBeWritten(int slot) {
  const std::string name = ReplayFileName(slot);
  bool opened = false;
  const int readError = ProbeSlotFile(name, opened);
  if (readError == 0 && (!opened || ListReadErrors[slot] == 0)) return true;
  if (readError == 0) {
    ReportFileLine("一覧に読み込めていなかったファイルのため、そのまま残しリプレイを書き込みません：", name, 0);
    return false;
  }
  return SetAsideUnreadFile(name.c_str(), readError, "リプレイを書き込みません");
}

int WriteRecording() {
  if (!ValidSlot(ReplaySlot) || !SlotMayBeWritten(ReplaySlot)) return -1;
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

// The end of a playback, wherever its run goes next: the viewer's own controls again,
// and the recorded clear time, which the results work out only for a run being played.
void LeavePlayback() {
  ReplayMode = kReplayOff;
  PlaybackEndDue = 0;
  for (int i = 0; i < kActionCount; ++i) ActiveKeyMap[i] = KeyConfig[i];
  FacingLockControl = SavedFacingLockControl;
  ClearTimeSec = ReplayHeader.clearTime;
}

// The end of a playback: the results scene takes over with its pictures and music.
void EndPlayback() {
  LeavePlayback();
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
    if (file.IsOpen()) {
      for (int* word : WordsOf(ReplayList[slot]).word) file.Read(*word);
      if (withControlWords) {
        file.Read(SavedFacingLockControl);
        for (int& bit : ReplayHeader.keyMap) file.Read(bit);
      }
    }
    ListReadErrors[slot] = file.Error();
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
  if (ReplayMode == kReplayPlayback) PlaybackEndDue = 1;
  return 0;
}

void EndPlaybackIfDue() {
  if (PlaybackEndDue != 0) EndPlayback();
}

void EndPlaybackIntoTheEnding() { LeavePlayback(); }

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
  GameMode = header.list.gameMode;
  NewGameInit();
  ObjectPool[kPlayerSlot].y = static_cast<float>(320.0 + 650.1);
  CameraY = static_cast<float>(CameraY + 650.1);
  FreeBgmChannel(0);
  Scene = kScenePlay;
  WatchingReplay = 1;
  Credits = 0;
  NShotType = header.list.mainShot;
  TShotType = header.list.secondShot;
  OptionShot = header.list.optionShot;
  OptionType = header.list.optionType;
  OptionLevel = 0;
  FreeStageImages();
  LoadStageResources(Stage);
  BeginReplayIo();
}
