// The ranking boards: a qualifying run enters its score, coins, enemies destroyed and,
// when it was cleared, its clear time into the top three of its game mode.
#include "core/game_state.h"
#include "float_to_int.h"
#include "screens/results.h"

namespace {

enum RankingList : int { kScoreList = 0, kCoinList = 1, kKillList = 2, kClearTimeList = 3 };
constexpr int kFinalStage = 9;
constexpr int kShortModeFinalStage = 3;  // game mode 2 ends after its third stage

bool RunWasCleared() { return GameMode == 2 ? Stage == kShortModeFinalStage : Stage == kFinalStage; }

// The runs whose replay could be saved; a replay itself never enters the boards
// again, since its run did when it was played. Game mode 3 has no board.
bool RunQualifies() { return SavingAllowed() && GameMode >= 0 && GameMode < kRankedModes; }

// One list of a board: the value goes in above every entry it beats, in turn from the
// third; a tie does not.
void InsertIntoRanking(int (&places)[3], int value, bool smallerIsBetter) {
  for (int place = kRankingPlaces - 1; place >= 0; --place) {
    const bool beats = smallerIsBetter ? value < places[place] : value > places[place];
    if (!beats) continue;
    if (place + 1 < kRankingPlaces) places[place + 1] = places[place];
    places[place] = value;
  }
}

}  // namespace

void EnterRankingBoards() {
  if (!RunQualifies()) return;
  auto& board = RankingBoards[GameMode];
  InsertIntoRanking(board[kScoreList], FloatToInt(Score), false);
  InsertIntoRanking(board[kCoinList], CoinsGot, false);
  InsertIntoRanking(board[kKillList], EnemiesDestroyed, false);
  if (RunWasCleared()) {
    ClearTimeSec = BattleFrames / 60;
    InsertIntoRanking(board[kClearTimeList], ClearTimeSec, true);
  } else {
    ClearTimeSec = 0;
  }
}
