#include "label_free_figures.h"

#include "core/game_state.h"
#include "core/stage_end.h"
#include "float_to_int.h"

namespace {

bool InTheShop() { return TimelineHalt >= kHaltShop && TimelineHalt <= kHaltRefused; }
bool ShopOrItsWayOut() { return InTheShop() || TimelineHalt == kHaltLeaving; }

// The shop's places (250 x 40 from (250, 575)) and the one under its cursor.
constexpr Box kShopPlaces = {250, 575, 750, 80};
Box CursorPlace() { return {250 + ShopCursor[0], 575 + ShopCursor[1], 250, 40}; }

// Where the HUD writes the level, coins and score (right-aligned at x 270 and 341, rows
// 679 and 693) and the object count (from x 0, row 738).
constexpr Box kHudFigures[] = {{0, 675, 352, 30}, {0, 736, 60, 12}};

bool HitCountAt(const Box& figure) {
  if (HitLevelLabel[0] != 1) return false;
  const int x = FloatToInt(HitLevelLabel[1] + 14 - CameraX), y = FloatToInt(HitLevelLabel[2] - 3 - CameraY);
  return Box{x, y, 40, 12}.Holds(figure);
}

bool KillChainAt(const Box& figure) { return ChainTimer > 0 && Box{400, 55, 230, 70}.Holds(figure); }

bool ShopPlaceAt(const Box& figure) {
  return InTheShop() && kShopPlaces.Holds(figure) && !Overlap(CursorPlace(), figure);
}

bool PurseAt(const Box& figure) { return InTheShop() && Box{700, 545, 160, 26}.Holds(figure); }

bool HudFigureAt(const Box& figure) {
  if (!ShopOrItsWayOut()) return false;
  for (const Box& place : kHudFigures) {
    if (place.Holds(figure)) return true;
  }
  return false;
}

constexpr LabelFreeFigure kLabelFree[] = {
    {"the hit count", "it rises with each hit the dragon takes and shows beside the dragon as the hit lands",
     HitCountAt},
    {"the kill chain", "the held special's kills and their score, counting up in mid-screen while its chain runs",
     KillChainAt},
    {"the shop's other places",
     "the shop names the place under its cursor; the others show their levels and prices for the cursor to "
     "come to",
     ShopPlaceAt},
    {"the shop's purse", "the coins to spend, over the places they buy, as they fall with each purchase", PurseAt},
    {"the HUD in the shop",
     "the HUD's level, coins, score and object count stand where the play and the tally labelled them; the "
     "panel and the tally that carried their labels are gone from the tally's end to the next stage",
     HudFigureAt},
};

}  // namespace

std::span<const LabelFreeFigure> LabelFreeFigures() { return kLabelFree; }
