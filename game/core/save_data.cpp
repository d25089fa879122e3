#include "core/save_data.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "core/game_state.h"
#include "core/input.h"
#include "core/replay_files.h"
#include "core/word_files.h"
#include "game_library.h"

namespace {

constexpr int kDefaultKeyConfig[kActionCount] = {32, 16, 64, 128, 256};

// Words the file keeps for nobody: written back as they were read.
int ReservedWords[7];

// The file's layout: runs of words, in file order, each read into and written from
// the variables at `words`.
struct SaveRun {
  int* words;
  int count;
};

constexpr SaveRun kSaveLayout[] = {
    {&ReservedWords[0], 1},
    {&TotalLevel, 1},
    {PlayCount, kGameModeCount},
    {&ReservedWords[1], 4},
    {BestLevel, kGameModeCount},
    {PlayFrames, kGameModeCount},
    {&ReservedWords[5], 2},
    {KeyConfig, kActionCount},
    {&WindowedOption, 1},
    {&ColourDepthOption, 1},
    {&VSyncOffOption, 1},
    {&FacingLockControl, 1},
    {&BackdropLayerOff, 1},
    {&MiniMapOff, 1},
    {&HitBoxOverlayOff, 1},
    {&TitleImageVariant, 1},
    {&DangerOverlayOff, 1},
    {&HudCountersOff, 1},
    {&HudPanelImageOff, 1},
    {&HudNoticeOff, 1},
    {&DamageFlashOff, 1},
    {&EnemyHighlightOff, 1},
    {&RecordOptionA, 1},
    {&RecordOptionB, 1},
    {&RankingBoards[0][0][0], kRankedModes * kRankingLists * kRankingPlaces},
    {VariantShotFlags, kShotTypes},
    {BestStage, kGameModeCount},
    {&SlowdownOption, 1},
    {&VibrationOption, 1},
    {&LightMode, 1},
};

constexpr int LayoutWords() {
  int total = 0;
  for (const SaveRun& run : kSaveLayout) total += run.count;
  return total;
}
static_assert(LayoutWords() == kSaveWords, "the save file holds 90 words");

// The words as the program starts with them, which a missing or short file leaves in
// place. Taken before main from the variables' constant initial values.
const std::array<int, kSaveWords> kFreshSave = [] {
  std::array<int, kSaveWords> words{};
  int* next = words.data();
  for (const SaveRun& run : kSaveLayout) next = std::copy_n(run.words, run.count, next);
  return words;
}();

// Loading starts from the fresh words, whatever a game before it in this process left.
void PutFreshSave() {
  const int* next = kFreshSave.data();
  for (const SaveRun& run : kSaveLayout) {
    std::copy_n(next, run.count, run.words);
    next += run.count;
  }
}

// An option word holds 0..highest (or `alsoValid`, a value the game also reads) as the
// options page sets it; anything else, from a damaged file, is the default again.
struct OptionWord {
  int* word;
  int highest;
  int defaultValue;
  int alsoValid;
};

// The defaults are the values the game starts with when there is no file.
const OptionWord kOptionWords[] = {
    {&WindowedOption, 1, 1, 0},    {&ColourDepthOption, 1, 0, 0},   {&VSyncOffOption, 1, 0, 0},
    {&FacingLockControl, 2, 0, 0}, {&BackdropLayerOff, 1, 0, 0},    {&MiniMapOff, 1, 0, 0},
    {&HitBoxOverlayOff, 1, 1, 0},  {&TitleImageVariant, 1, 0, 999}, {&DangerOverlayOff, 1, 0, 0},
    {&HudCountersOff, 1, 1, 0},    {&HudPanelImageOff, 1, 1, 0},    {&HudNoticeOff, 1, 1, 0},
    {&DamageFlashOff, 1, 1, 0},    {&EnemyHighlightOff, 1, 0, 0},   {&RecordOptionA, 1, 1, 0},
    {&RecordOptionB, 1, 1, 0},     {&SlowdownOption, 2, 1, 0},      {&VibrationOption, 2, 2, 0},
    {&LightMode, 1, 0, 0},
};

void ResetInvalidOptionWords() {
  for (const OptionWord& option : kOptionWords) {
    const int value = *option.word;
    const bool settable = (value >= 0 && value <= option.highest) || value == option.alsoValid;
    if (!settable) *option.word = option.defaultValue;
  }
}

// An error met in reading the save file, 0 for none, and the size of a file read that
// was not of the 90 words (0 for none, or for an empty one, which holds nothing to
// lose). Both are settled by the first write, which runs once the library has started
// and opened its log, so a start that fails leaves the file as it was.
int UnsettledReadError = 0;
long UnsettledOtherSize = 0;
// A save file that could not be read or kept and was not moved aside is never written over.
bool SaveWritesRefused = false;

constexpr const char* kNotSaving = "この実行中は保存しません";

// Reads the file over the words: 0, or the error (the system's number, kNotARegularFile
// or kForeignLink) when the file is there but could not be read.
int ReadSaveFile() {
  WordFileReader file(kSaveFileName);
  bool more = file.IsOpen();
  for (const SaveRun& run : kSaveLayout) {
    for (int i = 0; more && i < run.count; ++i) more = file.Read(run.words[i]);
  }
  const long size = file.Size();
  UnsettledOtherSize = size != 0 && size != 4L * kSaveWords ? size : 0;
  return file.Error();
}

// A file that is there but could not be read is not a missing one, and one of another
// size holds more or less than a write gives back: the player's progress may still be
// in it, so it is moved aside or, failing that, kept from writes.
void SettleLoadedSave() {
  const int readError = std::exchange(UnsettledReadError, 0);
  const long otherSize = std::exchange(UnsettledOtherSize, 0);
  if (readError != 0) {
    SaveWritesRefused = !SetAsideUnreadFile(kSaveFileName, readError, kNotSaving);
  } else if (otherSize != 0) {
    SaveWritesRefused = !SetAsideOtherSizeFile(kSaveFileName, otherSize, kNotSaving);
  }
}

}  // namespace

void LoadSaveData() {
  PutFreshSave();
  SaveWritesRefused = false;
  UnsettledReadError = ReadSaveFile();
  if (UnsettledReadError != 0) PutFreshSave();  // the words read before the failure are not trusted either
  // Every action needs its own button, or a menu can no longer be left.
  if (!IsKeyMap(KeyConfig)) {
    for (int action = 0; action < kActionCount; ++action) KeyConfig[action] = kDefaultKeyConfig[action];
  }
  ResetInvalidOptionWords();
  LoadReplayList(/*withControlWords=*/true);
}

int WriteSaveData() {
  SettleLoadedSave();
  if (SaveWritesRefused) return -1;
  WordFileWriter file(kSaveFileName);
  for (const SaveRun& run : kSaveLayout) file.Write(run.words, run.count);
  return file.Commit();
}
