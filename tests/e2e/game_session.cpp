#include "game_session.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <random>

#include <gtest/gtest.h>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "../support/scripted_input.h"
#include "../support/word_file_layouts.h"
#include "core/frame_loop.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/object_pool.h"
#include "core/replay_files.h"
#include "core/resource_loaders.h"
#include "core/save_data.h"
#include "core/sound_control.h"
#include "graphics/screen_mode.h"
#include "png_file.h"
#include "testing.h"

namespace {

// Virtual microseconds at start-up; every timer read advances the clock a millisecond,
// so the frame loop's busy-wait ends at once.
constexpr std::uint64_t kClockStart = 10'000'000;
constexpr std::uint64_t kClockStep = 1'000;

GameSession* currentSession = nullptr;

// The library's handles end with it: a table still holding an earlier session's would
// free or draw whatever the next library gives that number.
void ForgetTheLibrarysHandles() {
  const auto forget = [](auto&... tables) { (std::ranges::fill(tables, kNoHandle), ...); };
  forget(SeHandles, BgmHandles, SpriteHandles, StageImages, DigitFonts, CommonImages, MenuImages,
         WeaponDescriptionImages, OptionDescriptionImages, Stage8CaptionImages);
  DamageImage = ManualImage = kNoHandle;
}

// The replay frame the next pass reads: -1 outside a recording or a playback.
int NextReplayFrame() {
  if (ReplayMode == kReplayRecording) return ReplayFrameCount;
  if (ReplayMode == kReplayPlayback) return ReplayPosition;
  return -1;
}

// What a fresh program starts with, whatever an earlier session of this process left:
// no input, every call real, the modes and the run at their start.
void StartAfresh() {
  SetScriptedInput(0);
  ResetCallRecorder();
  ResetModeState();
}

}  // namespace

GameSession::GameSession() {
  // The generated pictures, sounds and music are shared; "data" itself is the
  // session's own, since the game writes into it.
  const std::filesystem::path shared = std::filesystem::path(E2E_DATA_DIR) / "data";
  std::filesystem::create_directory(scratch_.path() / "data");
  for (const char* folder : {"image011", "se", "bgm"}) {
    std::filesystem::create_directory_symlink(shared / folder, scratch_.path() / "data" / folder);
  }
  StartAfresh();
  TestClockStart(kClockStart, kClockStep);
  currentSession = this;
}

void GameSession::UsePicture(const std::string& name, const Canvas& picture) {
  const std::filesystem::path pictures = scratch_.path() / "data" / "image011";
  if (std::filesystem::is_symlink(pictures)) {
    const std::filesystem::path shared = std::filesystem::read_symlink(pictures);
    std::filesystem::remove(pictures);
    std::filesystem::create_directory(pictures);
    for (const auto& entry : std::filesystem::directory_iterator(shared)) {
      std::filesystem::create_symlink(entry.path(), pictures / entry.path().filename());
    }
  }
  std::filesystem::remove(pictures / name);
  EXPECT_TRUE(WritePngFile((pictures / name).string(), picture)) << name;
}

GameSession::~GameSession() {
  End();
  // What runs after without a session (the generator's templates made in this process)
  // meets a fresh program too, not the calls this session faked.
  StartAfresh();
  TestClockStop();
  if (currentSession == this) currentSession = nullptr;
}

GameSession& GameSession::Current() { return *currentSession; }

void GameSession::AtReplayFrame(int frame, std::function<void()> change) {
  replayFrameChanges_.push_back({frame, std::move(change)});
}

void GameSession::End() {
  if (started_) EndGame();
  started_ = false;
}

int GameSession::Start(DrawingPath path) {
  SetHardwareRenderFlag(path == DrawingPath::kDevice ? 1 : 0);
  // The menus' globals as a fresh program has them (earlier sessions of this test
  // program may have left them anywhere).
  MenuState = MenuStateRecord{};
  MenuCursorY = PracticeCursorY = PracticeModeIndex = ConfigSubPage = PracticeFlag = ReplaySlot = 0;
  OptionType = OptionShot = 0;  // the loadout, which a new game keeps from the last run
  // The replay list keeps an entry whose file is missing as it was: a fresh program's are empty.
  std::fill(std::begin(ReplayList), std::end(ReplayList), ReplayListEntry{});
  ForgetTheLibrarysHandles();
  // Silent music channels: a fade an earlier session left running would step on in this one.
  std::ranges::fill(BgmVolume, 0.0f);
  std::ranges::fill(BgmFadeMode, kFadeNone);
  const int result = StartGame();
  started_ = result == 0;
  return result;
}

bool GameSession::Pass(int padWord, bool escape, bool backspace) {
  if (Scene == kScenePlay) {
    for (const ReplayFrameChange& change : replayFrameChanges_) {
      if (change.frame == NextReplayFrame()) change.change();
    }
  }
  SetScriptedInput(padWord, escape, backspace);
  const bool running = RunFramePass();
  ++passes_;
  for (auto pending = pendingFrames_.begin(); pending != pendingFrames_.end();) {
    if (!pending->when()) {
      ++pending;
      continue;
    }
    SaveFrame(pending->name);
    pending = pendingFrames_.erase(pending);
  }
  return running;
}

void GameSession::SaveFrameWhen(std::function<bool()> when, std::string name) {
  pendingFrames_.push_back({std::move(when), std::move(name)});
}

bool GameSession::Hold(int padWord, int frames) {
  for (int i = 0; i < frames; ++i) {
    if (!Pass(padWord)) return false;
  }
  return true;
}

bool GameSession::Press(int padWord) { return Pass(padWord) && Pass(0); }

int PassUntil(GameSession& game, const std::function<bool()>& done, int frameLimit, int padWord) {
  for (int pass = 1; pass <= frameLimit; ++pass) {
    if (!game.Pass(padWord)) {
      ADD_FAILURE() << "the frame loop ended after " << pass << " passes";
      return -1;
    }
    if (done()) return pass;
  }
  ADD_FAILURE() << "not reached within " << frameLimit << " passes; scene " << Scene << " page " << MenuState.page
                << " timer " << MenuState.backdropTimer << " blink " << MenuState.blinkTimer;
  return -1;
}

namespace {

constexpr int kMainMenuPage = 6;
constexpr int kMenuItemStep = 26;
constexpr int kRecordsItem = 4;
constexpr int kCursorStep = 128;

bool OnPage(int page) { return Scene == kSceneTitle && MenuState.page == static_cast<float>(page); }

// `count` fresh presses of the pad word; a negative count presses `otherWay` instead.
void PressTimes(GameSession& game, int count, int padWord, int otherWay) {
  for (int i = 0; i < count; ++i) ASSERT_TRUE(game.Press(padWord));
  for (int i = 0; i < -count; ++i) ASSERT_TRUE(game.Press(otherWay));
}

void ToMenuItem(GameSession& game, int item) {
  const int from = static_cast<int>(MenuState.cursor) / kMenuItemStep;
  PressTimes(game, item - from, kPadDown, kPadUp);
}

// Moves a loadout cursor to a shot code's place and decides.
void ChooseShot(GameSession& game, const int* cursor, int code) {
  const int type = code / 10;
  const int x = (type - 1) % 6 * kCursorStep;
  const int y = type > 6 ? 30 : 0;
  PressTimes(game, (x - cursor[0]) / kCursorStep, kPadRight, kPadLeft);
  PressTimes(game, (y - cursor[1]) / 30, kPadDown, kPadUp);
  ASSERT_TRUE(game.Press(kPadFire));
}

void ChooseOption(GameSession& game, const int& cursorX, int option) {
  PressTimes(game, (256 + kCursorStep * option - cursorX) / kCursorStep, kPadRight, kPadLeft);
  ASSERT_TRUE(game.Press(kPadFire));
}

}  // namespace

void ToMainMenu(GameSession& game) {
  ASSERT_EQ(Scene, kSceneTitle);
  if (!OnPage(kMainMenuPage)) {
    // Buttons 1 to 6 skip the logo and the notice; action 1 held leaves the title.
    ASSERT_GT(PassUntil(game, [] { return OnPage(kMainMenuPage); }, 1000, kPadFire), 0);
  }
  ASSERT_TRUE(game.Pass(0));
}

void StartWithSaveWords(GameSession& game, const std::vector<int>& words, DrawingPath path) {
  game.folder().Write(kSaveFileName, EncodeWords(words));
  ASSERT_EQ(game.Start(path), 0);
}

void StartWithAFreshSave(GameSession& game, int totalLevel, DrawingPath path) {
  std::vector<int> words = DefaultWords();
  words[1] = totalLevel;
  StartWithSaveWords(game, words, path);
}

void StartRun(GameSession& game, int mode, const Loadout& loadout) {
  ASSERT_TRUE(OnPage(kMainMenuPage));
  ToMenuItem(game, mode);
  ASSERT_TRUE(game.Press(kPadFire));
  ASSERT_GT(PassUntil(game, [] { return Scene == kSceneLoadout; }, 30), 0);
  ChooseShot(game, ShopCursor, loadout.mainShot);
  ChooseShot(game, SecondShotCursor, loadout.secondShot);
  ChooseOption(game, OptionShotCursorX, loadout.optionShot);
  ChooseOption(game, OptionMoveCursorX, loadout.optionType);
  ASSERT_GT(PassUntil(game, [] { return Scene == kScenePlay; }, 120), 0);
}

bool PlayReplay(GameSession& game, int slot) {
  ToMainMenu(game);
  ToMenuItem(game, kRecordsItem);
  EXPECT_TRUE(game.Press(kPadFire));
  EXPECT_GT(PassUntil(game, [] { return OnPage(14); }, 30), 0);
  EXPECT_TRUE(game.Press(kPadRight));
  EXPECT_TRUE(OnPage(18));
  PressTimes(game, slot - 1, kPadDown, kPadUp);
  EXPECT_TRUE(game.Pass(kPadFire));
  return ReplayMode == kReplayPlayback;
}

void StartAGame(GameSession& game, int mainShot, int secondShot) {
  ToMainMenu(game);
  StartRun(game, 0);
  ASSERT_EQ(Scene, kScenePlay);
  ASSERT_EQ(ReplayMode, kReplayRecording);
  NShotType = ReplayHeader.mainShot = mainShot;
  TShotType = ReplayHeader.secondShot = secondShot;
  ClearCallLog();
}

std::vector<FrameDigest> PlayScript(GameSession& game, const std::vector<ScriptSegment>& script,
                                    const FrameHook& hook) {
  std::vector<FrameDigest> digests;
  for (const ScriptSegment& segment : script) {
    for (int i = 0; i < segment.frames; ++i) {
      if (Scene != kScenePlay) return digests;
      EXPECT_TRUE(game.Pass(segment.padWord));
      if (hook) hook(static_cast<int>(digests.size()));
      digests.push_back(TakeFrameDigest());
    }
  }
  return digests;
}

std::vector<ScriptSegment> QuitThroughThePause() {
  constexpr int kQuitHoldFrames = 121;
  return {{1, kPadPause}, {1, 0}, {kQuitHoldFrames, kPadFire | kPadSpecial}};
}

std::vector<ScriptSegment> RandomPlay(int frames, unsigned seed) {
  constexpr int kMoves[] = {0,
                            kPadUp,
                            kPadDown,
                            kPadLeft,
                            kPadRight,
                            kPadUp | kPadLeft,
                            kPadUp | kPadRight,
                            kPadDown | kPadLeft,
                            kPadDown | kPadRight};
  std::mt19937 random(seed);
  std::vector<ScriptSegment> script;
  while (static_cast<int>(script.size()) < frames) {
    const int move = kMoves[random() % std::size(kMoves)];
    const int fire = random() % 8 != 0 ? kPadFire : 0;
    const int length = 10 + static_cast<int>(random() % 31);
    for (int frame = 0; frame < length; ++frame) {
      int word = move | fire;
      if (random() % 60 == 0) word |= kPadSecond;
      if (random() % 90 == 0) word |= kPadSpecial;
      if (random() % 120 == 0) word |= kPadFacing;
      script.push_back({1, word});
    }
  }
  script.resize(frames);
  return script;
}

void ClearEnemies(int group) {
  for (int slot = kFirstAllocatedSlot; slot < kPoolSize; ++slot) {
    const GameObject& object = ObjectPool[slot];
    if (object.state != kStateFree && object.category == kCategoryEnemy && object.group == group) ResetObject(slot);
  }
}

void LoseLastLife() {
  Lives = 0.0f;
  ObjectPool[kPlayerSlot].animation = kHitTurnAnimation;
  PlayerIdleTimer = 5;
}

void SaveTheRecording(int slot) {
  ASSERT_EQ(ReplayMode, kReplayRecording);
  // The recording ends as at a game over, which also ends any hit turn (the input is
  // not read during one); the results start as after the ending.
  ReplayMode = kReplayOff;
  ObjectPool[kPlayerSlot].animation = 0;
  Scene = kSceneResults;
  ScenePhase = 5;
  AwaitResultsNavigation(/*shortened=*/true);
  EXPECT_TRUE(SaveReplay(slot, "AAA"));
  LeaveResults(/*shortened=*/true);
}

namespace {

constexpr int kStatisticsPhase = 6, kSavePhase = 10, kRankingsPhase = 11, kFadeOutPhase = 7, kClosingPhase = 13;
constexpr int kFadeOutFrames = 150;
constexpr float kClosingLeaveFrom = 300.0f;

void PressOn(int padWord) { ASSERT_TRUE(GameSession::Current().Press(padWord)); }

// Up from 'A' to the letter, or down once to '_'.
void ChooseLetter(char letter) {
  if (letter == '_') {
    PressOn(kPadDown);
  } else {
    for (char shown = 'A'; shown < letter; ++shown) PressOn(kPadUp);
  }
  PressOn(kPadFire);
}

}  // namespace

void AnswerContinue(bool yes) {
  GameSession& game = GameSession::Current();
  ASSERT_EQ(Scene, kSceneResults);
  ASSERT_GT(PassUntil(game, [] { return ScenePhase == 3; }, 300), 0);
  if (!yes) PressOn(kPadDown);
  PressOn(kPadFire);
}

void AwaitResultsNavigation(bool shortened) {
  GameSession& game = GameSession::Current();
  ASSERT_EQ(Scene, kSceneResults);
  if (ScenePhase < kStatisticsPhase) {
    ASSERT_GT(PassUntil(game, [] { return ScenePhase == kStatisticsPhase; }, 200), 0);
  }
  if (shortened) ShopEmblem[2] = std::max(ShopEmblem[2], 0.195f);
  ASSERT_GT(PassUntil(game, [] { return ShopEmblem[2] > 0.2f; }, 260), 0);
}

std::vector<std::string> FiguresShown() {
  constexpr int kFirstReplayRow = 200;
  RecordDrawing(true);
  ClearCallLog();
  EXPECT_TRUE(GameSession::Current().Pass());
  RecordDrawing(false);
  std::vector<std::string> figures;
  for (const RecordedCall& call : CallsOf(Call::DrawFormattedText)) {
    if (call.Int(1) >= kFirstReplayRow) figures.push_back(call.text);
  }
  return figures;
}

bool SaveReplay(int slot, const char* name) {
  EXPECT_EQ(Scene, kSceneResults);
  if (ScenePhase == kStatisticsPhase) PressOn(kPadRight);
  if (ScenePhase == kRankingsPhase) PressOn(kPadLeft);
  EXPECT_EQ(ScenePhase, kSavePhase);
  if (ScenePhase != kSavePhase) return false;
  const int row = (MenuCursorY - 143) / 30 + 1;
  for (int step = 0; step < (slot - row + 9) % 9; ++step) PressOn(kPadDown);
  PressOn(kPadFire);  // the slot: OK? with NO marked
  PressOn(kPadLeft);
  PressOn(kPadFire);  // YES: the name entry at AAA
  for (int place = 0; place < 3; ++place) ChooseLetter(name[place]);
  return PhaseTimer == 100;
}

void LeaveResults(bool shortened) {
  GameSession& game = GameSession::Current();
  ASSERT_EQ(Scene, kSceneResults);
  if (ScenePhase == kStatisticsPhase) PressOn(kPadLeft);
  if (ScenePhase == kSavePhase) PressOn(kPadRight);
  ASSERT_EQ(ScenePhase, kRankingsPhase);
  PressOn(kPadFire);
  ASSERT_EQ(ScenePhase, kFadeOutPhase);
  if (shortened) PhaseTimer = std::max(PhaseTimer, kFadeOutFrames - 2);
  ASSERT_GT(PassUntil(game, [] { return ScenePhase == kClosingPhase; }, 200), 0);
  if (shortened) MenuState.backdropDarken = kClosingLeaveFrom - 4.0f;
  ASSERT_GT(PassUntil(game, [] { return MenuState.cursor == 1.0f; }, 200, kPadFire), 0);
  if (shortened) MenuState.backdropDarken = 0.0f;
  ASSERT_GT(PassUntil(game, [] { return Scene == kSceneTitle; }, 200), 0);
}

std::vector<FrameDigest> PlayBack(GameSession& game, int slot, const FrameHook& hook, int livePadWord,
                                  const FrameHook& beforeFrame) {
  EXPECT_EQ(Scene, kSceneTitle);
  EXPECT_TRUE(PlayReplay(game, slot));
  ClearCallLog();
  std::vector<FrameDigest> digests;
  while (ReplayMode == kReplayPlayback && PlaybackEndDue == 0) {
    if (beforeFrame) beforeFrame(static_cast<int>(digests.size()));
    EXPECT_TRUE(game.Pass(livePadWord));
    if (hook) hook(static_cast<int>(digests.size()));
    digests.push_back(TakeFrameDigest());
  }
  // The pass after the last frame opens the results; a game mode 1 playback that
  // reached the end of stage 8 has gone on into the ending instead.
  if (PlaybackEndDue != 0) {
    EXPECT_TRUE(game.Pass(livePadWord));
  }
  EXPECT_TRUE(Scene == kSceneResults || Scene == kSceneEnding);
  return digests;
}
