// Scene 3: game over, continue and results as one machine on ScenePhase, its phases
// tried in numeric order in every call.
#include "core/game_state.h"
#include "screens/results.h"
#include "screens/screens.h"

namespace {

struct PhaseStep {
  int phase;
  void (*run)();
};

constexpr PhaseStep kPhases[] = {
    {kPhaseGameOverSetUp, GameOverSetUp},   {kPhaseGameOverFadeIn, GameOverFadeIn},
    {kPhaseContinueQuestion, ContinueQuestion}, {kPhaseToResults, FadeToResults},
    {kPhaseResultsSetUp, ResultsSetUp},     {kPhaseStatistics, StatisticsPage},
    {kPhaseResultsFadeOut, ResultsFadeOut}, {kPhaseSpendCredit, SpendCredit},
    {kPhaseContinueFade, ContinueFade},     {kPhaseReplaySave, ReplaySavePage},
    {kPhaseRankings, RankingsPage},         {kPhaseLoadClosing, LoadClosingPicture},
    {kPhaseClosing, ClosingPicture},
};

}  // namespace

void RunResultScene() {
  for (const PhaseStep& step : kPhases) {
    if (ScenePhase == step.phase) step.run();
  }
}
