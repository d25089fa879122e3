// The records item of the main menu: the ranking boards and the replay browser under
// one tab row (records, replays, back), and the fades in and out of them.
#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/replay_files.h"
#include "float_to_int.h"
#include "game_library.h"
#include "screens/menu_common.h"

namespace {

constexpr float kRecordsTab = 418.0f;
constexpr float kReplaysTab = 543.0f;
constexpr float kBackTab = 658.0f;
constexpr int kFirstRow = 143;
constexpr int kRowStep = 30;

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

// Names of a replay's loadout; a value outside the tables (a file may hold any)
// shows one blank.
const char* ShotName(int code) {
  switch (code) {
    case 10: return "WindForce";
    case 20: return "GhostFlame";
    case 30: return "StomeSpike";
    case 40: return "CloudClack";
    case 50: return "DragonScale";
    case 60: return "GoldStrike";
    case 70: return "WindForce-Variant";
    case 80: return "GhostFlame-Variant";
    case 90: return "StomeSpike-Variant";
    case 100: return "CloidClack-Variant";
    case 110: return "DragonScale-Variant";
    case 120: return "GoldStrike-Variant";
    default: return " ";
  }
}

const char* NameAt(const char* const (&names)[4], int index) { return index >= 0 && index < 4 ? names[index] : " "; }
constexpr const char* kOptionShotNames[4] = {"WizardSpike", "MithrilPoint", "LidlessWall", "WispProjector"};
constexpr const char* kOptionMoveNames[4] = {"Trace", "Formation", "Rolling", "Guard"};

int SlotUnderRow() { return (MenuCursorY - kFirstRow) / kRowStep + 1; }

void DrawReplayRows() {
  DrawFormattedText(162, 164, White(), "再生するリプレイファイルを選んでください");
  for (int slot = 1; slot <= kReplaySlotCount; ++slot) {
    const ReplayListEntry& entry = ReplayList[slot];
    const int y = 194 + kRowStep * (slot - 1);
    DrawFormattedText(212, y, White(), "DATA %d            SCORE:                N:              T:", slot);
    DrawFormattedText(428, y, White(), "%d", entry.score);
    DrawLoadoutName(292, y, 0, entry.gameMode);
    DrawLoadoutName(590, y, 1, entry.mainShot);
    DrawLoadoutName(734, y, 1, entry.secondShot);
  }
}

void DrawReplayDetails(const ReplayListEntry& entry) {
  DrawFormattedText(212, 490, White(), "NAME - %c%c%c", entry.name[0], entry.name[1], entry.name[2]);
  DrawFormattedText(212, 520, White(), "NSHOT      :%s", ShotName(entry.mainShot));
  DrawFormattedText(212, 540, White(), "TSHOT      :%s", ShotName(entry.secondShot));
  DrawFormattedText(212, 560, White(), "OPSHOT     :%s", NameAt(kOptionShotNames, entry.optionShot));
  DrawFormattedText(212, 580, White(), "OPMOVE     :%s", NameAt(kOptionMoveNames, entry.optionType));
  DrawFormattedText(212, 610, White(), "SCORE      :%d", entry.score);
  DrawFormattedText(212, 630, White(), "COIN       :%d", entry.coins);
  DrawFormattedText(212, 650, White(), "ENEMY DEF  :%d", entry.kills);
  DrawFormattedText(212, 670, White(), "CLEAR TIME :%d", entry.clearTime);
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
  // The playback's first frame counts its input from nothing, as the recording's did.
  ClearInputHoldCounters();
  StartReplayPlayback();
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
  DrawReplayRows();
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
  if (Down()) {
    MenuCursorY += kRowStep;
    if (MenuCursorY == 413) MenuCursorY = kFirstRow;
  }
  if (Up()) {
    MenuCursorY -= kRowStep;
    if (MenuCursorY == 113) MenuCursorY = 383;
  }
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
