// The records item of the main menu: the ranking boards and the replay browser under
// one tab row (records, replays, back), and the fades in and out of them.
#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/replay_files.h"
#include "float_to_int.h"
#include "game_library.h"
#include "screens/menu_common.h"
#include "screens/replay_list_view.h"

namespace {

constexpr float kRecordsTab = 418.0f;
constexpr float kReplaysTab = 543.0f;
constexpr float kBackTab = 658.0f;

float& Fade() { return MenuState.fade; }

void DrawTabMarker() { DrawGraphAt(FloatToInt(MenuState.cursor) + 112, 64, SelectionMarker(), 1); }

void FadePictureOut(int picture) {
  BackdropStep();
  Fade() += 15.0f;
  Blend(kBlendAlpha, 255.0 - Fade());
  DrawTitlePicture(picture, 0, -40);
  if (Fade() > 260.0f) SlideIntoMenu();
}

void ToRecordsPage() {
  BackdropStep();
  Fade() += 15.0f;
  DrawMenuFrame(255.0 - Fade());
  DrawMenuLines(100.0 - Fade(), 475.0, 735.0);
  if (Fade() >= 260.0f) {
    MenuState.page = 14.0f;
    Fade() = 0.0f;
    MenuState.cursor = kRecordsTab;
  }
}

void RecordsPage() {
  BackdropStep();
  Fade() += 15.0f;
  Blend(kBlendAlpha, Fade());
  DrawTitlePicture(kPictureRecords, 0, -40);
  Blend(kBlendAdd, Fade());
  DrawTabMarker();
  DrawRankingBoards();
  float& tab = MenuState.cursor;
  if (tab == kRecordsTab && Left()) {
    tab = kBackTab;
    ConsumeLeft();
  }
  if (tab == kRecordsTab && Right()) {
    tab = kReplaysTab;
    MenuState.page = 18.0f;
    ConsumeRight();
  }
  if (tab == kBackTab && Right()) tab = kRecordsTab;
  if (tab == kBackTab && Left()) {
    tab = kReplaysTab;
    MenuState.page = 18.0f;
    ConsumeLeft();
  }
  if (Fade() > 255.0f && Decide()) {
    Fade() = 0.0f;
    MenuState.page = 15.0f;
    PlayMenuSe(kSeBack);
  }
}

// Shown and presented before the file is read, so the player sees the load start.
void LoadReplayOfRow() {
  ReplaySlot = SlotUnderRow();
  DrawFormattedText(512, 484, White(), "Now Loading : DATA %d ", ReplaySlot);
  DrawFormattedText(512, 504, White(), "VTReplaydata0%d.dat - analysis", ReplaySlot);
  DrawFormattedText(512, 524, White(), "RecFrame loading");
  DrawFormattedText(512, 544, White(), "RecData loading");
  DrawFormattedText(512, 564, White(), "KeyConfig loading");
  DrawFormattedText(512, 594, White(), "STARTING...");
  DrawLineSegment(512, 626, 772, 626, White());
  PresentScreen();
  SavedFacingLockControl = FacingLockControl;
  StartReplayPlayback();
  // The playback's first frame counts its input from nothing, as the recording's did;
  // a failed load keeps the press held, so it is tried once per press.
  if (ReplayMode == kReplayPlayback) ClearInputHoldCounters();
}

void DrawLoadFailure() {
  DrawFormattedText(512, 484, White(), "Now Loading : ERROR");
  DrawFormattedText(512, 504, White(), "DATA IS NONE");
  DrawFormattedText(512, 524, White(), "RecFrame loading ... False");
  DrawFormattedText(512, 544, White(), "RecData loading ... False");
  DrawFormattedText(512, 564, White(), "KeyConfig loading ... False");
  DrawFormattedText(512, 594, White(), "REPLAY FAILED");
  DrawLineSegment(512, 502, 812, 502, White());
}

void ReplayBrowserPage() {
  BackdropStep();
  Fade() += 15.0f;
  Blend(kBlendAlpha, Fade());
  DrawTitlePicture(kPictureReplays, 0, -40);
  Blend(kBlendAdd, Fade());
  DrawTabMarker();
  DrawTitlePicture(kPictureRowBar, 0, MenuCursorY + 44);
  DrawReplayRows(212, 194, "再生するリプレイファイルを選んでください");
  const int slot = SlotUnderRow();
  if (slot >= 1 && slot <= kReplaySlotCount) DrawReplayDetails(ReplayList[slot]);

  float& tab = MenuState.cursor;
  if (tab == kReplaysTab && Left()) {
    tab = kRecordsTab;
    MenuState.page = 14.0f;
    ConsumeLeft();
  }
  if (tab == kReplaysTab && Right()) {
    tab = kBackTab;
    ConsumeRight();
  }
  if (tab == kBackTab && Right()) {
    tab = kRecordsTab;
    MenuState.page = 14.0f;
    ConsumeRight();
  }
  if (tab == kBackTab && Left()) {
    tab = kReplaysTab;
    ConsumeLeft();
  }
  if (Fade() > 255.0f && tab == kBackTab && Decide()) {
    Fade() = 0.0f;
    MenuState.page = 19.0f;
    PlayMenuSe(kSeBack);
  }
  MoveSlotRow();
  if (tab == kReplaysTab && Decide()) LoadReplayOfRow();
  if (ReplaySlot == kReplayNoSlot) DrawLoadFailure();
}

}  // namespace

void RunRecordsPage(int page) {
  switch (page) {
    case 13: ToRecordsPage(); break;
    case 14: RecordsPage(); break;
    case 15: FadePictureOut(kPictureRecords); break;
    case 18: ReplayBrowserPage(); break;
    case 19: FadePictureOut(kPictureReplays); break;
    default: break;
  }
}
