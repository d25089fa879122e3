// The upgrade shop between stages: a cursor over five upgrade tracks, the level-ups
// and the way out; a purchase is paid 5 coins a frame, a refusal fades out, and
// leaving fades to black before the next stage.
#include <algorithm>
#include <iterator>
#include <span>

#include "core/display.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/sound_control.h"
#include "core/stage_end.h"
#include "float_to_int.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

constexpr int kMaxedPrice = 10000;  // the purse never reaches it
constexpr int kPayStep = 5;
constexpr int kPaidPause = 80;
constexpr int kRefusedFrames = 50;
constexpr int kLeavingFrames = 70;
constexpr int kMaxLevelUps = 8;
constexpr int kLevelUpIcon = 88;  // image set 0
constexpr float kEmblemTurn = 0.001f;  // radians a frame: the tally's pace

// Shop items: the cursor's x + y.
enum ShopItem : int {
  kItemShot = 0,
  kItemOption = 40,
  kItemSpeed = 250,
  kItemTurbo = 290,
  kItemLeave = 330,
  kItemGuardHeal = 500,
  kItemLevelUp = 540,
};
constexpr int kCursorLeft = 250;  // screen position of item (0, 0)'s frame
constexpr int kCursorTop = 575;
// The cursor's picture has a cell per place, naming it: its image set and the items in
// the order of its cells.
constexpr int kCursorFrames = 43 * kCellsPerSet;
constexpr ShopItem kCursorFrameItems[] = {kItemShot,  kItemOption,    kItemSpeed,  kItemTurbo,
                                          kItemLeave, kItemGuardHeal, kItemLevelUp};

void Create(int templateId) { CreateObject(templateId, 0, 0, 0, 0); }
void CreateMarker(int optionSlot) { CreateObject(2160, 0, 0, 0, optionSlot); }
void CreateOptionAtPlayer(int templateId) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  CreateObject(templateId, FloatToInt(player.x), FloatToInt(player.y), 0, 0);
}

// ---- Prices ---------------------------------------------------------------------

// The price of the next level, by the current level from `first`; levels past the
// table are maxed.
struct PriceTable {
  int first;
  std::span<const int> prices;
  int Of(int level) const {
    const int index = level - first;
    return index >= 0 && index < static_cast<int>(prices.size()) ? prices[index] : kMaxedPrice;
  }
};
constexpr int kShotPrices[] = {160, 380, 560};
constexpr int kOptionPrices[] = {160, 160, 180, 180, 200, 200};
constexpr int kSpeedPrices[] = {40, 80, 120, 140, 160, 160, 160, 160, 160, 160, 160, 160, 160, 160, 160, 160, 160};
constexpr int kTurboPrices[] = {80, 140, 180, 220, 260, 300, 340, 460};
constexpr int kGuardHealPrices[] = {200, 240, 280};
constexpr PriceTable kShotTrack{1, kShotPrices};
constexpr PriceTable kOptionTrack{0, kOptionPrices};
constexpr PriceTable kSpeedTrack{1, kSpeedPrices};
constexpr PriceTable kTurboTrack{1, kTurboPrices};
constexpr PriceTable kGuardHealTrack{1, kGuardHealPrices};
constexpr int kSpeedKeepsPrice = 18;  // the price is not recomputed at this level

// Only Trace options go past level 5; the others are still priced there, and refused
// when bought.
bool OptionCanRise() { return OptionLevel <= 4 || (OptionLevel == 5 && OptionType == 0); }
// The 9th level-up is maxed.
int LevelUpPrice() { return LevelUpCount < kMaxLevelUps ? LevelUpCount * 40 + 60 : kMaxedPrice; }

void SetPrices() {
  ShotCost = kShotTrack.Of(ShotLevel);
  OptionCost = kOptionTrack.Of(OptionLevel);
  if (SpeedLevel != kSpeedKeepsPrice) SpeedCost = kSpeedTrack.Of(SpeedLevel);
  TurboCost = kTurboTrack.Of(TurboLevel);
  GuardHealCost = kGuardHealTrack.Of(GuardHealLevel);
}

int PriceOf(int item) {
  switch (item) {
    case kItemShot: return ShotCost;
    case kItemOption: return OptionCost;
    case kItemSpeed: return SpeedCost;
    case kItemTurbo: return TurboCost;
    case kItemGuardHeal: return GuardHealCost;
    case kItemLevelUp: return LevelUpPrice();
    default: return kMaxedPrice;
  }
}

// ---- Purchases ------------------------------------------------------------------

void CheckFullUpgrade(bool withEffect) {
  if (ShotLevel != 4 || OptionLevel != 4 || SpeedLevel < 4 || TurboLevel < 4 || FullUpgradePerk != 0) return;
  AddInfoBonus(14, 655350);
  FullUpgradePerk = 1;
  if (withEffect) Create(2195);
}

void BuyShot() {
  ++ShotLevel;
  ++NShotType;
  ++TShotType;
  PlaySe(32, 255);
  Create(2105);
  Create(2137);
  if (ShotLevel == 4) AddInfoBonus(3, 800000);
  if (ShotLevel == 3) {
    const int last = kFirstOptionSlot + OptionLevel < kLastOptionSlot ? kFirstOptionSlot + OptionLevel : kLastOptionSlot;
    for (int slot = kFirstOptionSlot; slot <= last; ++slot) CreateMarker(slot);
  }
  CheckFullUpgrade(false);
}

constexpr int kOptionTemplates[4] = {2152, 2153, 2154, 2155};

void BuyOption() {
  if (OptionLevel <= 3) {
    const int level = OptionLevel++;
    PlaySe(32, 255);
    CreateOptionAtPlayer(kOptionTemplates[level]);
    CreateMarker(kFirstOptionSlot + level);
    if (OptionLevel == 4) AddInfoBonus(8, 450000);
  } else if (OptionLevel == 4) {
    OptionLevel = 5;
    for (int slot = kFirstOptionSlot; slot <= kFirstOptionSlot + 3; ++slot) CreateMarker(slot);
    if (OptionType == 0) {
      CreateOptionAtPlayer(2197);
      CreateMarker(kFirstOptionSlot + 4);
    }
  } else {
    OptionLevel = 6;
    CreateOptionAtPlayer(2198);
    CreateMarker(kLastOptionSlot);
  }
  CheckFullUpgrade(true);
}

struct SpeedTrackBonus {
  int* level;
  int icon4, bonus4, icon9, bonus9;
};

void BuySpeedOrTurbo(const SpeedTrackBonus& track) {
  ++*track.level;
  PlaySe(33, 255);
  Create(2139);
  if (*track.level == 4) AddInfoBonus(track.icon4, track.bonus4);
  if (*track.level == 9) AddInfoBonus(track.icon9, track.bonus9);
  if (SpeedLevel + TurboLevel == 7) {
    AddInfoBonus(13, 240000);
    GuardStartPerk = 1;
    Create(2195);
  }
  CheckFullUpgrade(true);
}

void BuyGuardHeal() {
  GuardUses -= 10.0f;
  if (GuardUses < 10.0f) GuardUses = 0.0f;
  ++GuardHealLevel;
  PlaySe(35, 255);
  Create(2140);
  if (GuardHealLevel == 4) {
    AddInfoBonus(9, 999999);
    GuardDrainPerk = 1;
    Create(2195);
  }
}

void BuyLevelUp() {
  ++LevelUpCount;
  ++SsBought;
  PlaySe(34, 255);
  Create(2138);
}

void Leave() {
  ShopCursor[0] = 0;
  TimelineHalt = kHaltLeaving;
  if (ShotLevel == 1 && OptionLevel == 0 && SpeedLevel == 1 && TurboLevel == 1) {
    AddInfoBonus(23, 999999);
    NoUpgradePerk = 1;
    Create(2195);
  }
}

void Refuse() {
  TimelineHalt = kHaltRefused;
  PlaySe(2, 255);
}

void Buy(int item) {
  if (item == kItemLeave) {
    Leave();
    return;
  }
  // Maxed tracks cost more than any purse holds, so they are refused here and
  // nothing is charged for them; an option that cannot rise is refused before it is
  // charged as well.
  const int price = PriceOf(item);
  if (Coins < static_cast<float>(price)) {
    Refuse();
    return;
  }
  if (item == kItemOption && !OptionCanRise()) {
    Refuse();
    CheckFullUpgrade(true);
    return;
  }
  PendingCost = price;
  CoinsUsed += price;
  TimelineHalt = kHaltPaying;
  switch (item) {
    case kItemShot: BuyShot(); break;
    case kItemOption: BuyOption(); break;
    case kItemSpeed: BuySpeedOrTurbo({&SpeedLevel, 4, 260000, 5, 1600000}); break;
    case kItemTurbo: BuySpeedOrTurbo({&TurboLevel, 6, 180000, 7, 920000}); break;
    case kItemGuardHeal: BuyGuardHeal(); break;
    case kItemLevelUp: BuyLevelUp(); break;
    default: break;
  }
}

// ---- Cursor and drawing ---------------------------------------------------------

bool Fresh(int bit) { return BitHold[bit] == 1; }
constexpr int kHoldUp = 0, kHoldDown = 1, kHoldLeft = 2, kHoldRight = 3;

void MoveCursor() {
  int& x = ShopCursor[0];
  int& y = ShopCursor[1];
  if (Fresh(kHoldDown) && y == 40) x = 250, y = 80;
  if (Fresh(kHoldRight) && x < 500 && y < 80) x += 250;
  if (Fresh(kHoldLeft) && x >= 1 && y < 80) x -= 250;
  if (Fresh(kHoldUp) && y == 40) y = 0;
  if (Fresh(kHoldDown) && y == 0) y = 40;
  if (Fresh(kHoldUp) && x + y == kItemLeave) x = 250, y = 40;
}

void DrawCursorFrame(int alpha) {
  const int item = ShopCursor[0] + ShopCursor[1];
  const auto* cell = std::find(std::begin(kCursorFrameItems), std::end(kCursorFrameItems), item);
  if (cell == std::end(kCursorFrameItems)) return;
  SetBlendMode(1, alpha);
  DrawGraphAt(kCursorLeft + ShopCursor[0], kCursorTop + ShopCursor[1],
              SpriteHandles[kCursorFrames + (cell - std::begin(kCursorFrameItems))], 1);
}

void DrawShop(int frameAlpha) {
  DrawShopBackdrop();
  DrawCursorFrame(frameAlpha);
  SetBlendMode(1, 255);
  DrawUpgradeCosts();
  const int item = ShopCursor[0] + ShopCursor[1];
  if (item == kItemLevelUp) {
    for (int i = 0; i < LevelUpCount; ++i) DrawGraphAt(866 - 12 * i, 660, SpriteHandles[kLevelUpIcon], 1);
  } else if (item == kItemGuardHeal) {
    DrawNumberRight(960, 589, FloatToInt(GuardUses), 1);
  }
}

void RunShop() {
  if (PowerModeBTimer > 1000) PowerModeBTimer = 400;
  if (FrameCycle4 % 2 == 0) {
    Create(2106);
    Create(2106);
  }
  DrawShop(255);
  MoveCursor();
  if (ActionHold[kActionSpecial] == 1) Buy(ShopCursor[0] + ShopCursor[1]);
}

void BackToShop() {
  TimelineHalt = kHaltShop;
  ShopTimer = PaidSoFar = 0;
}

void RunPaying() {
  DrawShop(240 - 3 * ShopTimer);
  // Paid in steps of 5 while anything is left, so no price can overshoot.
  if (PaidSoFar < PendingCost) {
    PaidSoFar += kPayStep;
    Coins -= static_cast<float>(kPayStep);
    PlaySe(36, 50);
    return;
  }
  if (++ShopTimer >= kPaidPause) BackToShop();
}

void RunRefused() {
  if (ShopTimer % 6 == 0) Create(2106);
  DrawShop(240 - 5 * ShopTimer);
  if (++ShopTimer >= kRefusedFrames) BackToShop();
}

void RunLeaving() {
  SetBlendMode(1, 255);
  FillScreen(0, 0, 0);
  SetBlendMode(1, 255 - 4 * ShopCursor[0]);
  DrawGraphRotated(512, 384, 1.0, ShopEmblem[2], CommonImages[kImageShopEmblem], 1, 0);
  SetBgmFade(3, kFadeOutStop);
  if (++ShopCursor[0] >= kLeavingFrames) TimelineHalt = kHaltNextStage;
}

}  // namespace

void RunUpgradeShop() {
  if (TimelineHalt == kHaltShop) {
    RunShop();
  } else if (TimelineHalt == kHaltPaying) {
    RunPaying();
  } else if (TimelineHalt == kHaltRefused) {
    RunRefused();
  } else if (TimelineHalt == kHaltLeaving) {
    RunLeaving();
  }
  // The emblem drawn in this frame turns on for the next, in every state of the shop.
  ShopEmblem[2] += kEmblemTurn;
}

void DrawUpgradeCosts() {
  SetPrices();
  DrawNumberRight(832, 547, FloatToInt(Coins), 1);
  const int optionTop = OptionType == 0 ? 6 : 5;
  if (ShotLevel < 4) {
    DrawNumber(297, 589, ShotLevel + 1, 1);
    DrawNumber(337, 589, ShotCost, 1);
  }
  if (OptionLevel < optionTop) {
    DrawNumber(297, 628, OptionLevel + 1, 1);
    DrawNumber(337, 628, OptionCost, 1);
  }
  if (SpeedLevel < kSpeedKeepsPrice) {
    DrawNumber(546, 589, SpeedLevel + 1, 1);
    DrawNumber(586, 589, SpeedCost, 1);
  }
  if (TurboLevel < 9) {
    DrawNumber(546, 628, TurboLevel + 1, 1);
    DrawNumber(586, 628, TurboCost, 1);
  }
  if (GuardHealLevel < 4) DrawNumber(832, 589, GuardHealCost, 1);
  if (LevelUpCount < kMaxLevelUps) DrawNumber(832, 628, LevelUpPrice(), 1);
}

void DrawShopBackdrop() {
  SetBlendMode(1, 255);
  // The ground's picture is 10 pixels wide and as high as the screen: one row covers it.
  for (int x = 0; x < kScreenWidth; x += 10) DrawGraphAt(x, 0, CommonImages[kImageShopTile], 1);
  const int x = FloatToInt(ShopEmblem[0]);
  const int y = FloatToInt(ShopEmblem[1]);
  DrawGraphRotated(x, y, 1.0, ShopEmblem[2], CommonImages[kImageShopEmblem], 1, 0);
  DrawGraphRotated(x, y, 0.6, -ShopEmblem[2], CommonImages[kImageShopEmblem], 1, 1);
}
