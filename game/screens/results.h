// The results scene's pieces, one file for each group of phases; RunResultScene runs
// them by ScenePhase. Each phase may set a later one, which then runs in the same call.
#pragma once

enum ResultPhase : int {
  kPhaseGameOverSetUp = 1,
  kPhaseGameOverFadeIn = 2,
  kPhaseContinueQuestion = 3,
  kPhaseToResults = 4,
  kPhaseResultsSetUp = 5,
  kPhaseStatistics = 6,
  kPhaseResultsFadeOut = 7,
  kPhaseSpendCredit = 8,
  kPhaseContinueFade = 9,
  kPhaseReplaySave = 10,
  kPhaseRankings = 11,
  kPhaseLoadClosing = 12,
  kPhaseClosing = 13,
};

// The page tabs of the results, as MenuState.cursor holds them.
constexpr float kStatisticsTab = 418.0f;
constexpr float kReplaySaveTab = 543.0f;
constexpr float kRankingsTab = 658.0f;

// Game over and continue.
void GameOverSetUp();
void GameOverFadeIn();
void ContinueQuestion();
void FadeToResults();
void SpendCredit();
void DrawContinueFade(int t);
void ContinueFade();

// The results pages.
void ResultsSetUp();
void StatisticsPage();
void RankingsPage();
void ResultsFadeOut();
void ReplaySavePage();
void LoadClosingPicture();
void ClosingPicture();

// Whether the replay save page can be reached: a played, recorded run without a
// continue.
bool SavingAllowed();
// The turning backdrop of the pages; its emblem angle also fades the pages in.
void DrawResultsBackdrop();
// A page's header picture, under the additive blend of the page contents that the rest
// of the page keeps.
void DrawPageHeader(int picture);
void DrawPageTab();
// Left and right between the pages, and leaving from the rankings page.
void NavigatePages();
// The run's entries in its game mode's ranking boards.
void EnterRankingBoards();

// Steps of the replay save page, kept in MenuState.blinkTimer.
constexpr int kSlotList = 0;
constexpr int kFirstConfirmation = 1;
constexpr int kNameEntry = 2;
constexpr int kWriting = 3;
int SaveStep();
void SetSaveStep(int step);
// The choice on the save page, kept in MenuState.fade: YES, NO, then letters 1 to 3.
constexpr int kChoiceYes = 0;
constexpr int kChoiceNo = 1;
constexpr int kFirstLetter = 2;
constexpr int kLastLetter = 4;
int SaveChoice();
void SetSaveChoice(int choice);
// The confirmation and the name entry of the save page.
void NameEntry();
