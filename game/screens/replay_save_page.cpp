// The results' replay save page: the nine slots, the slot under the cursor, and the
// writing of the run's recording into the chosen slot with its progress texts.
#include "core/game_state.h"
#include "core/input.h"
#include "core/replay_files.h"
#include "core/sound_control.h"
#include "float_to_int.h"
#include "game_library.h"
#include "screens/menu_common.h"
#include "screens/replay_list_view.h"
#include "screens/results.h"

namespace {

constexpr int kSavePageHeader = 3;
constexpr int kRowHighlight = 4;
constexpr int kWriteSe = 64;
// PhaseTimer on this page once a slot has been written, or could not be.
constexpr int kWriteFinished = 100;
constexpr int kWriteFailed = 101;

void SlotList() {
  NavigatePages();
  MoveSlotRow();
  if (MenuState.cursor == kReplaySaveTab && Decide()) {
    SetSaveStep(kFirstConfirmation);
    SetSaveChoice(kChoiceNo);
    ActionHold[kActionFire] = 0;
    ActionHold[kActionSpecial] = 0;
  }
}

// What the texts tell of the write, line by line, after "Now Writing".
struct WriteTexts {
  const char* fileLine;
  const char* recFrame;
  const char* recData;
  const char* keyConfig;
  const char* last;
};
constexpr WriteTexts kWritingTexts = {"VTReplaydata0%d.dat - write or make", "RecFrame Writing", "RecData Writing",
                                      "KeyConfig Writing", "Writing..."};
constexpr WriteTexts kWrittenTexts = {"VTReplaydata0%d.dat - write", "RecFrame ok", "RecData ok", "KeyConfig ok",
                                      "FINISH"};
// A write that failed says so where the finished one says ok.
constexpr WriteTexts kNotWrittenTexts = {"VTReplaydata0%d.dat - write", "RecFrame ... False", "RecData ... False",
                                         "KeyConfig ... False", "FAILED"};

void DrawWriteTexts(const WriteTexts& texts) {
  DrawFormattedText(514, 482, White(), "Now Writing : DATA %d ", ReplaySlot);
  DrawFormattedText(514, 502, White(), texts.fileLine, ReplaySlot);
  DrawFormattedText(514, 522, White(), "%s", texts.recFrame);
  DrawFormattedText(514, 542, White(), "%s", texts.recData);
  DrawFormattedText(514, 562, White(), "%s", texts.keyConfig);
  DrawLineSegment(514, 584, 814, 584, White());
  DrawFormattedText(514, 592, White(), "%s", texts.last);
}

// Shown and presented before the file is written, so the player sees the write start.
void WriteReplay() {
  ReplaySlot = SlotUnderRow();
  PhaseTimer = kWriteFinished;
  SetSaveStep(kSlotList);
  PlaySe(kWriteSe, 255);
  DrawWriteTexts(kWritingTexts);
  PresentScreen();
  ReplayMode = kReplayRecording;
  if (FinishReplay() != 0) PhaseTimer = kWriteFailed;
}

}  // namespace

int SaveStep() { return FloatToInt(MenuState.blinkTimer); }
void SetSaveStep(int step) { MenuState.blinkTimer = static_cast<float>(step); }
int SaveChoice() { return FloatToInt(MenuState.fade); }
void SetSaveChoice(int choice) { MenuState.fade = static_cast<float>(choice); }

void ReplaySavePage() {
  DrawResultsBackdrop();
  DrawPageHeader(kSavePageHeader);
  DrawReplayRows(214, 192, "リプレイを記録する場所を選んでください");
  const int slot = SlotUnderRow();
  if (SaveStep() == kSlotList && slot >= 1 && slot <= kReplaySlotCount) DrawReplayDetails(ReplayList[slot]);
  DrawPageTab();
  DrawGraphAt(0, MenuCursorY + 42, StageImages[kRowHighlight], 1);

  if (SaveStep() == kSlotList) SlotList();
  NameEntry();
  if (SaveStep() == kWriting) WriteReplay();
  if (PhaseTimer == kWriteFinished) DrawWriteTexts(kWrittenTexts);
  if (PhaseTimer == kWriteFailed) DrawWriteTexts(kNotWrittenTexts);
}
