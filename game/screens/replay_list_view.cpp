#include "screens/replay_list_view.h"

#include "core/display.h"
#include "game_library.h"
#include "screens/menu_common.h"

namespace {

constexpr int kFirstRow = 143;
constexpr int kRowStep = 30;
constexpr int kLastRow = kFirstRow + kRowStep * (kReplaySlotCount - 1);

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

}  // namespace

void MoveSlotRow() {
  if (Down()) {
    MenuCursorY += kRowStep;
    if (MenuCursorY == kLastRow + kRowStep) MenuCursorY = kFirstRow;
  }
  if (Up()) {
    MenuCursorY -= kRowStep;
    if (MenuCursorY == kFirstRow - kRowStep) MenuCursorY = kLastRow;
  }
}

int SlotUnderRow() { return (MenuCursorY - kFirstRow) / kRowStep + 1; }

void DrawReplayRows(int x, int y, const char* caption) {
  DrawFormattedText(x - 50, y - 30, White(), "%s", caption);
  for (int slot = 1; slot <= kReplaySlotCount; ++slot) {
    const ReplayListEntry& entry = ReplayList[slot];
    const int rowY = y + kRowStep * (slot - 1);
    DrawFormattedText(x, rowY, White(), "DATA %d            SCORE:                N:              T:", slot);
    DrawFormattedText(x + 216, rowY, White(), "%d", entry.score);
    DrawLoadoutName(x + 80, rowY, 0, entry.gameMode);
    DrawLoadoutName(x + 378, rowY, 1, entry.mainShot);
    DrawLoadoutName(x + 522, rowY, 1, entry.secondShot);
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
