#include "core/frame_loop.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/collision.h"
#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/player.h"
#include "core/replay_files.h"
#include "core/resource_loaders.h"
#include "core/save_data.h"
#include "core/screenshot.h"
#include "core/sound_control.h"
#include "core/stage_flow.h"
#include "game_library.h"
#include "objects/objects.h"
#include "screens/screens.h"
#include "stages/stages.h"

namespace {

constexpr int kEscapeKey = 1;
constexpr int kBackspaceKey = 14;
constexpr double kFrameMs = 17.0;
// The pacing sleeps while more than this remains and spins on the timer for the rest, so
// a frame ends when the timer says, not when the sleep happens to.
constexpr int kSpinMs = 2;
// A data folder may come as one archive beside it: "data\se.pop" for "data\se\".
constexpr const char* kArchiveExtension = "pop";

// Milliseconds since `start`, as the signed difference of the wrapping timer.
int ElapsedSince(std::uint32_t start) { return static_cast<int>(GetMilliseconds() - start); }

void RunPlayScene() {
  ReadInput();
  UpdatePlayerControl();
  // Each unpaused call reads the flag afresh: a pause set above takes effect at once.
  if (Paused == 0) UpdateStageScript();
  if (Paused == 0) UpdateObjects();
  if (Paused == 0) UpdatePlayerSprite();
  UpdateStage();
  if (Paused == 0) UpdateStageTitleCard();
  DrawPlay();
  if (Paused == 0) FirePlayerShots();
  if (Paused == 0) UpdateCollision();
  UpdateBgmFades();
  UpdateFpsCaption();
}

void RunLoadoutScene() {
  ReadInput();
  UpdateObjects();
  UpdatePlayerSprite();
  UpdateStage();
  DrawObjects();
  UpdateFpsCaption();
  FirePlayerShots();
  UpdateLoadoutSelect();
  UpdateBgmFades();
}

void RunTitleScene() {
  ReadInput();
  UpdateTitleMenu();
  UpdateBgmFades();
  UpdateFpsCaption();
}

void RunResultsScene() {
  ReadInput();
  RunResultScene();
  UpdateFpsCaption();
  UpdateBgmFades();
}

void RunEndingScene() {
  ReadInput();
  UpdateObjects();
  UpdateStage();
  DrawObjects();
  RunEnding();
  UpdateBgmFades();
  UpdateFpsCaption();
}

// The scene is read once: a change made during the pass takes effect at the next one.
void RunScene(int scene) {
  switch (scene) {
    case kScenePlay:
      RunPlayScene();
      break;
    case kSceneLoadout:
      RunLoadoutScene();
      break;
    case kSceneTitle:
      RunTitleScene();
      break;
    case kSceneResults:
      RunResultsScene();
      break;
    case kSceneEnding:
      RunEndingScene();
      break;
    default:
      break;
  }
}

void ConfigureLibrary() {
  SetArchiveAccess(1);
  LoadSaveData();
  SetDitherMode(1);
  SetRunWhileInactive(1);
  if (ColourDepthOption == 0) SetScreenMode(kScreenWidth, kScreenHeight, 32, 60);
  if (ColourDepthOption == 1) SetScreenMode(kScreenWidth, kScreenHeight, 16, 60);
  if (WindowedOption == 1) ChangeWindowMode(1);
}

// The loop's own words as a fresh program has them, so that a start after an earlier
// one in the same process runs as the first did.
void ResetFrameLoopWords() {
  QuitRequest = 0;
  FrameStartMs = 0;
  FpsFrameCount = 0;
  FpsWindowStartMs = 0;
  MeasuredFps = 0;
  CaptionText[0] = '\0';
  ScreenshotKeyFrames = 0;
  PlaybackEndDue = 0;
}

void ShowLoadingPicture() {
  const bool firstSet = TitleImageVariant == 0 || TitleImageVariant == 999;
  const char* picture = firstSet ? "data\\image011\\loading04-01.png" : "data\\image011\\loading04-02.png";
  DrawGraphFileAt(0, 0, picture, 1);
  SetWindowTitle("Vantorel - FPS:0");
  PresentScreen();
}

// Without the pictures of the logo, the notice and the title the window would stay black
// for good, so the start ends instead, naming the file and where it was looked for.
bool FirstScreensReadable() {
  const char* missing = MissingIntroPicture();
  if (missing == nullptr) return true;
  std::string folder = kPictureFolder;
  std::ranges::replace(folder, '\\', '/');
  folder.pop_back();
  std::error_code unknown;
  const std::filesystem::path absolute = std::filesystem::absolute(folder, unknown);
  if (!unknown) folder = absolute.string();
  ReportProblem("ゲームのデータの読み込みに失敗しました：%s/%s（%s.%s も探しました）、データは scripts/run.sh が書き出します\n",
                folder.c_str(), missing, folder.c_str(), kArchiveExtension);
  return false;
}

}  // namespace

int StartGame() {
  ResetFrameLoopWords();
  ConfigureLibrary();
  if (InitLibrary() == -1) return -1;
  SetDrawTarget(kDrawTargetBackScreen);
  SetTransparentColor(0, 255, 0);
  if (VSyncOffOption == 1) SetSyncToVBlank(0);
  SetClipRect(0, 0, kScreenWidth, kScreenHeight);
  SetArchiveKey("Tovl8");
  SetArchiveFileExtension(kArchiveExtension);
  ShowLoadingPicture();
  LoadTitleResources();
  LoadCommonImages();
  // Checked before the save is written back: a start that fails leaves the save as it was.
  if (!FirstScreensReadable()) {
    EndLibrary();
    return -1;
  }
  WriteSaveData();
  NewGameInit();
  LoadCommonSounds();
  SeedRandom(0);
  return 0;
}

bool RunFramePass() {
  if (ProcessMessage() != 0) return false;
  if (IsKeyDown(kEscapeKey) != 0) return false;
  FrameStartMs = static_cast<int>(GetMilliseconds());
  ClearDrawTarget();
  EndPlaybackIfDue();
  RunScene(Scene);
  CheckScreenshotKey();
  if (QuitRequest == 1) return false;
  PresentScreen();
  PaceFrame();
  return true;
}

void EndGame() { EndLibrary(); }

void DrawPlay() {
  DrawObjects();
  DrawHud();
  // Nothing of the play, the HUD and its veils included, is drawn over the manual.
  DrawPauseManual();
}

void PaceFrame() {
  const double threshold = static_cast<double>(SlowdownMs) + kFrameMs + FrameWaitOffset;
  const std::uint32_t start = static_cast<std::uint32_t>(FrameStartMs);
  for (double left = threshold - ElapsedSince(start); left > 0.0; left = threshold - ElapsedSince(start)) {
    if (left > kSpinMs) SleepMilliseconds(DoubleToInt(left) - kSpinMs);
  }
}

int WinMain() {
  if (StartGame() != 0) return -1;
  while (RunFramePass()) {
  }
  EndGame();
  return 0;
}

void UpdateFpsCaption() {
  ++FpsFrameCount;
  if (ElapsedSince(FpsWindowStartMs) <= 1000) return;
  std::snprintf(CaptionText, sizeof CaptionText, "Vantorel - FPS:%d", FpsFrameCount);
  SetWindowTitle(CaptionText);
  MeasuredFps = FpsFrameCount;
  FpsFrameCount = 0;
  FpsWindowStartMs = GetMilliseconds();
}

void CheckScreenshotKey() {
  if (IsKeyDown(kBackspaceKey) != 1) {
    ScreenshotKeyFrames = 0;
    return;
  }
  ++ScreenshotKeyFrames;
  if (ScreenshotKeyFrames != 1) return;
  int now[6];
  GetLocalDateTime(now);
  // The library logs a picture it could not write; the shutter and flash would claim it was.
  if (SaveScreenToBmp(0, 0, kScreenWidth, kScreenHeight, ScreenshotFileName(now).c_str()) != 0) return;
  PlaySe(104, 255);
  SetBlendMode(1, 100);
  DrawRect(0, 0, kScreenWidth, kScreenHeight, MakeScreenColor(0, 0, 0), 1);
}
