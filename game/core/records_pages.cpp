// The records pages of the menus and the results: the three ranking boards and the
// play statistics of the last run.
#include <array>
#include <limits>

#include "core/display.h"
#include "core/game_state.h"
#include "core/save_counts.h"
#include "float_to_int.h"
#include "game_library.h"

namespace {

std::uint32_t White() { return MakeScreenColor(255, 255, 255); }

// Ranking boards: one per ranked game mode, columns score, coins, enemies destroyed
// and clear time, the top three of each.
constexpr int kColumnX[kRankingLists] = {180, 360, 540, 720};
constexpr const char* kColumnTitles[kRankingLists] = {"スコア", "コイン", "敵撃破数", "クリアタイム"};
constexpr const char* kPlaceFormats[kRankingPlaces] = {"1st %d.", "2nd %d.", "3rd %d."};
constexpr const char* kTimeFormats[kRankingPlaces] = {"1st %d sec.", "2nd %d sec.", "3rd %d sec."};
// The first mode's board has no gate: during a first run's results the total level is -1.
constexpr int kBoardUnlockLevel[kRankedModes] = {std::numeric_limits<int>::min(), ModeUnlockLevel1, ModeUnlockLevel2};

void DrawRankingBoard(int board) {
  const int headerY = 178 + 177 * board;
  DrawGraphAt(75, headerY, RankingHeaderImages[board], 1);
  for (int column = 0; column < kRankingLists; ++column) {
    DrawFormattedText(kColumnX[column], headerY + 55, White(), "%s", kColumnTitles[column]);
    const char* const* formats = column == kRankingClearTimeList ? kTimeFormats : kPlaceFormats;
    for (int place = 0; place < kRankingPlaces; ++place) {
      DrawFormattedText(kColumnX[column] + 10, headerY + 80 + 20 * place, White(), formats[place],
                        RankingBoards[board][column][place]);
    }
  }
}

// Play statistics: shot codes name their type by tens, the options by number; a
// value outside its table (a replay file can hold any) names nothing.
constexpr std::array<const char*, 12> kShotTypeNames = {
    "WindForce",         "GhostFlame",         "StomeSpike",         "CloudClack",
    "DragonScale",       "GoldStrike",         "WindForce-Variant",  "GhostFlame-Variant",
    "StomeSpike-Variant", "CloidClack-Variant", "DragonScale-Variant", "GoldStrike-Variant"};
constexpr std::array<const char*, 4> kOptionTypeNames = {"Trace", "Formation", "Rolling", "Guard"};
constexpr std::array<const char*, 4> kOptionShotNames = {"WizardSpike", "MithrilPoint", "LidlessWall",
                                                         "WispProjector"};

template <std::size_t N>
const char* NameOf(const std::array<const char*, N>& names, int index) {
  return index >= 0 && index < static_cast<int>(N) ? names[index] : "";
}

const char* ShotTypeName(int code) {
  const bool power = code % 10 >= 0 && code % 10 <= 4;
  return code >= 10 && power ? NameOf(kShotTypeNames, code / 10 - 1) : "";
}

int TotalPlayMinutes() {
  int minutes = BattleFrames / 3600;
  for (int frames : PlayFrames) minutes += frames / 3600;
  return minutes;
}

struct StatisticsLine {
  int x, y;
  const char* format;
  int (*number)();          // for "%d" lines
  const char* (*text)();    // for "%s" lines
  bool hiddenWhileWatching;
};

const StatisticsLine kStatisticsLines[] = {
    {200, 160, "トータルレベル　　　%d", [] { return SumOfCounts({TotalLevel, FloatToInt(Level)}); }, nullptr, true},
    {200, 180, "総プレイ時間（分）　%d", TotalPlayMinutes, nullptr, true},
    {200, 220, "スコア　　　　　　　%d", [] { return FloatToInt(Score); }, nullptr, false},
    {550, 220, "コイン取得数　　　　%d", [] { return CoinsGot; }, nullptr, false},
    {200, 240, "敵撃破数　　　　　　%d", [] { return EnemiesDestroyed; }, nullptr, false},
    {550, 240, "クリア時間（秒）　　%d", [] { return ClearTimeSec; }, nullptr, false},
    {200, 280, "敵撃破関連スコア　　%d", [] { return KillScore; }, nullptr, false},
    {550, 280, "レベル　　　　　　　%d", [] { return FloatToInt(Level); }, nullptr, false},
    {200, 300, "コイン関連スコア　　%d", [] { return CoinScore; }, nullptr, false},
    {550, 300, "戦闘時間（秒）　　　%d", [] { return BattleFrames / 60; }, nullptr, false},
    {200, 320, "撃ち込みスコア　　　%d", [] { return ShootInScore; }, nullptr, false},
    {550, 320, "入手コイン数　　　　%d", [] { return FloatToInt(CoinPickups); }, nullptr, false},
    {200, 340, "カスリスコア　　　　%d", [] { return GrazeScore; }, nullptr, false},
    {550, 340, "使用コイン数　　　　%d", [] { return CoinsUsed; }, nullptr, false},
    {200, 360, "タイムボーナス　　　%d", [] { return TimeBonus; }, nullptr, false},
    {550, 360, "入手ＥＸＰコイン数　%d", [] { return ExpCoinsGot; }, nullptr, false},
    {200, 380, "インフォボーナス　　%d", [] { return InfoBonus; }, nullptr, false},
    {550, 380, "入手ＢＳＳコイン数　%d", [] { return BssCoinsGot; }, nullptr, false},
    {200, 400, "チップ弾スコア　　　%d", [] { return ChipScore; }, nullptr, false},
    {550, 400, "カスリ回数　　　　　%d", [] { return GrazeCount; }, nullptr, false},
    {200, 420, "ＢＳＳコインスコア　%d", [] { return BssCoinScore; }, nullptr, false},
    {550, 420, "被弾回数　　　　　　%d", [] { return HitsTaken; }, nullptr, false},
    {550, 440, "コンテニュー回数　　%d", [] { return ContinuesUsed; }, nullptr, false},
    {200, 480, "ショットレベル　　　%d", [] { return ShotLevel; }, nullptr, false},
    {550, 480, "Ｎショットタイプ　　%s", nullptr, [] { return ShotTypeName(NShotType); }, false},
    {200, 500, "オプションレベル　　%d", [] { return OptionLevel; }, nullptr, false},
    {550, 500, "Ｔショットタイプ　　%s", nullptr, [] { return ShotTypeName(TShotType); }, false},
    {200, 520, "ターボレベル　　　　%d", [] { return TurboLevel; }, nullptr, false},
    {550, 520, "オプションタイプ　　%s", nullptr, [] { return NameOf(kOptionTypeNames, OptionType); }, false},
    {200, 540, "スピードレベル　　　%d", [] { return SpeedLevel; }, nullptr, false},
    {550, 540, "オプションショット　%s", nullptr, [] { return NameOf(kOptionShotNames, OptionShot); }, false},
    {200, 560, "ガードヒール　　　　%d", [] { return GuardHealLevel; }, nullptr, false},
    {550, 560, "ＳＳ使用回数　　　　%d", [] { return SsUsed; }, nullptr, false},
    {200, 580, "ＳＳ購入数　　　　　%d", [] { return SsBought; }, nullptr, false},
    {550, 580, "ＢＳＳ使用回数　　　%d", [] { return BssUsed; }, nullptr, false},
    {550, 600, "最大スピード　　　　%d", [] { return MaxSpeed; }, nullptr, false},
};
static_assert(std::size(kStatisticsLines) == 36);

}  // namespace

void DrawRankingBoards() {
  for (int board = 0; board < kRankedModes; ++board) {
    if (TotalLevel >= kBoardUnlockLevel[board]) DrawRankingBoard(board);
  }
}

void DrawPlayStatistics() {
  for (const StatisticsLine& line : kStatisticsLines) {
    if (line.hiddenWhileWatching && WatchingReplay != 0) continue;
    if (line.text != nullptr) {
      DrawFormattedText(line.x, line.y, White(), line.format, line.text());
    } else {
      DrawFormattedText(line.x, line.y, White(), line.format, line.number());
    }
  }
}
