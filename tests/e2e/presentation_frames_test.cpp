// Frames of the display, built whole by the test (records placed by hand, timelines
// and scenery off, the frame rate pinned) and drawn on both drawing paths: compared
// with golden pictures. Whole stages and the ending are saved to be looked at.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/display.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/resource_loaders.h"
#include "core/stage_flow.h"
#include "float_to_int.h"
#include "game_library.h"
#include "game_session.h"
#include "golden_frame.h"
#include "objects/objects.h"
#include "picture_words.h"
#include "png_file.h"
#include "text_drawing.h"
#include "word_boxes.h"
#include "word_check_pictures.h"
#include "word_cover_check.h"

namespace {

class PresentationFrames : public testing::TestWithParam<DrawingPath> {
 protected:
  void SetUp() override {
    ASSERT_EQ(game_.Start(GetParam()), 0);
    SetForwarding(Call::CreateObject, false);
    for (GameObject& object : ObjectPool) object = GameObject{};
    ForgetFreeSlotHint();
    Scene = kScenePlay;
    Stage = 1;
    LoadStageResources(1);
    CameraX = 1234.6f, CameraY = 500.0f;
    MeasuredFps = 60, HitBoxOverlayOff = 1;
    TitleCardActive = 0, StageStarted = 1, HudAlpha = 255;
    Score = 1234567.0f, Coins = 321.0f, Level = 7.0f, LevelUpCount = 3;
    ExpGauge = 60.0f, GuardValue = 45.0f, Lives = 2.0f;
  }
  std::string Suffix() const { return GetParam() == DrawingPath::kDevice ? "-device" : "-software"; }
  // One frame drawn by `draw` and presented; its picture is saved and returned.
  std::string Draw(const std::string& name, const std::function<void()>& draw) {
    ClearDrawTarget();
    draw();
    SaveNextFrame(name + Suffix());
    PresentScreen();
    return SavedFramePath();
  }
  void Golden(const std::string& name, const std::function<void()>& draw) {
    ExpectGoldenFrame(Draw(name, draw), name + Suffix());
  }
  static GameObject& Place(int slot, int imageSet, int animation, float x, float y) {
    GameObject& object = ObjectPool[slot] = GameObject{};
    object.state = 1, object.layer = 3, object.category = kCategoryEffect;
    object.imageSet = imageSet, object.animation = animation;
    object.x = CameraX + x, object.y = CameraY + y;
    return object;
  }
  static void PlacePlayer() {
    GameObject& player = Place(kPlayerSlot, 4, 17, 400.0f, 300.0f);
    player.category = kCategoryPlayer, player.layer = 5, player.collidable = 1;
    player.hitWidth = player.hitHeight = 4;
  }
  static void PlayFrame() {
    UpdateStage();
    UpdateStageTitleCard();
    DrawObjects();
    DrawHud();
  }
  // How many of the words check's findings on a frame drawn by `draw` (with `plant`
  // after each of its draws, and the planted words of the check) say both things.
  int Findings(const std::string& name, const std::function<void()>& draw, const std::string& subject,
               const std::string& said, std::function<void(const std::string&)> plant = {},
               WordCheck check = {}) {
    std::vector<std::string> findings;
    check.afterDraw = std::move(plant);
    check.findings = &findings;
    CheckWordsOfNextFrame(name, check);
    Draw(name, draw);
    return static_cast<int>(std::count_if(findings.begin(), findings.end(), [&](const std::string& finding) {
      return finding.find(subject) != std::string::npos && finding.find(said) != std::string::npos;
    }));
  }

  GameSession game_;
};

// A first run's start as stage 1's controls guide comes up: the title card's last fade
// over the HUD fading in with its counters, speed panel, timed notice and a side notice;
// then the same paused.
TEST_P(PresentationFrames, TitleCardAndHudOverStageOne) {
  PlacePlayer();
  TitleCardActive = 1, TitleCardFrame = 629, TitleCardAlpha = 229, HudAlpha = 229;
  HudCountersOff = HudPanelImageOff = HudNoticeOff = 0;
  Stage1NoticeTimer = 1500, HudNoticeTimer = 371;
  AddInfoBonus(13, 240000);
  CheckWordsOfNextFrame("title-card-hud");
  Golden("title-card-hud", PlayFrame);
  TitleCardActive = 0, HudAlpha = 255, Paused = 1;
  CheckWordsOfNextFrame("run-start-paused");
  Draw("run-start-paused", PlayFrame);
}

TEST_P(PresentationFrames, ObjectsInEveryBlendModeWithFlashOverlayAndPopups) {
  HitBoxOverlayOff = 0;
  PlacePlayer();
  for (int mode = 0; mode <= 4; ++mode) {
    GameObject& object = Place(60 + mode, 15, 0, 150.0f + 150.0f * mode, 150.0f);
    object.blendMode = mode, object.fade = 60.0f, object.facing = mode % 2;
    object.scaleDelta = 0.5f, object.angle = 0.3f * mode;
    object.category = kCategoryEnemy, object.collidable = 1, object.hitWidth = 40, object.hitHeight = 30;
  }
  ObjectPool[62].hitFlash = 1;
  ScorePopups[0] = {25, FloatToInt(CameraX + 300), FloatToInt(CameraY + 450), 1000, 100};
  ScorePopups[1] = {1, FloatToInt(CameraX + 600), FloatToInt(CameraY + 450), 987654, 100};
  RedFlashAlpha = 60;
  Golden("objects-blends", [] {
    UpdateStage();
    DrawObjects();
  });
}

// The controls guide's countdown runs, but the manual's page takes its place.
TEST_P(PresentationFrames, PauseWithTheManual) {
  PlacePlayer();
  Paused = 1, ManualShown = 1, ActionHold[0] = 40, Stage1NoticeTimer = 900;
  ManualImage = LoadGraphFile("data\\image011\\Manual01.png");
  Golden("pause-manual", PlayFrame);
}

// The words check finds what it is for, planted into frames that pass without it: a flat
// box drawn over a word, and the HUD's labels grey and without their dark rim (as they
// once were) over stage 5's light ground.
TEST_P(PresentationFrames, TheWordsCheckFindsAFlatBoxOverAWord) {
  PlacePlayer();
  Paused = 1;
  const std::string subject = "(b) the word 'PAUSED' of pause.png";
  EXPECT_EQ(Findings("paused", PlayFrame, subject, "is covered by a box"), 0);
  const auto box = [](const std::string& drawn) {
    if (drawn != "pause.png") return;
    SetBlendMode(1, 255);
    DrawRect(120, 572, 300, 602, MakeScreenColor(28, 36, 66), 1);  // the panel's own colour
  };
  EXPECT_EQ(Findings("paused-under-a-box", PlayFrame, subject, "is covered by a box", box), 1);
}

// A stage's backdrop drawn after the HUD's panel, over its whole bottom strip.
TEST_P(PresentationFrames, TheWordsCheckFindsABackdropOverTheHud) {
  PlacePlayer();
  const std::string subject = "(b) the word 'SCORE' of hudpanel01.png", said = "is covered by back1-1.png";
  EXPECT_EQ(Findings("hud", PlayFrame, subject, said), 0);
  const auto backdrop = [](const std::string& drawn) {
    if (drawn == "hudpanel01.png") DrawGraphAt(0, 560, StageImages[0], 1);
  };
  EXPECT_EQ(Findings("hud-under-a-backdrop", PlayFrame, subject, said, backdrop), 1);
}

// The HUD's score written 200 pixels right of its place, away from its label.
TEST_P(PresentationFrames, TheWordsCheckFindsAFigureAwayFromItsLabel) {
  PlacePlayer();
  const std::string subject = "(f) the figure '1234567'", said = "has no label on its row";
  EXPECT_EQ(Findings("hud", PlayFrame, subject, said), 0);
  const auto moved = [](const std::string& drawn) {
    if (drawn == "hudpanel01.png") DrawNumberRight(541, 693, 1234567, 0);
  };
  EXPECT_EQ(Findings("hud-score-moved", PlayFrame, subject, said, moved), 1);
}

// The shop cursor's caption moved down across the bottom line of its own frame.
TEST_P(PresentationFrames, TheWordsCheckFindsACursorsCaptionAcrossItsFrame) {
  TimelineHalt = 3.0f, StageStarted = 0;
  const std::string subject = "(e) the cursor shopframe01.png#0", said = "cuts through the word 'SHOT'";
  EXPECT_EQ(Findings("shop", PlayFrame, subject, said), 0);
  const PictureFile& frames = *PictureNamed("shopframe01.png");
  std::vector<WordInk> words = WordsInCell(frames, 0);
  WordInk& name = *std::find_if(words.begin(), words.end(), [](const WordInk& w) { return w.text == "SHOT"; });
  Canvas moved(0, 0, {});
  ASSERT_TRUE(ReadPngFile((std::filesystem::path(E2E_DATA_DIR) / "data" / "image011" / frames.name).string(), moved));
  moved.FillRect(name.x - 1, name.y - 1, name.width + 2, name.height + 2, kTransparentGreen);
  constexpr int kDown = 10;
  name.y += kDown;
  for (int y = 0; y < name.height; ++y) {
    for (int x = 0; x < name.width; ++x) {
      if (name.At(name.x + x, name.y + y) > 0) moved.Set(name.x + x, name.y + y, name.colour);
    }
  }
  moved.FillRect(0, frames.height - 2, frames.width, 2, {250, 210, 70});  // the frame's line, over it
  game_.UsePicture(frames.name, moved);
  LoadDivGraphFile("data\\image011\\shopframe01.png", frames.count, frames.across, frames.down, frames.width,
                   frames.height, &SpriteHandles[43 * kCellsPerSet]);
  WordCheck check;
  check.plantedWords["shopframe01.png#0"] = words;
  EXPECT_EQ(Findings("shop-caption-moved", PlayFrame, subject, said, {}, check), 1);
}

TEST_P(PresentationFrames, TheWordsCheckFindsRimlessLabelsOnALightStageGround) {
  Stage = 5;
  LoadStageResources(5);
  PlacePlayer();
  const std::string subject = "(c) the word 'SCORE' of hudpanel01.png";
  EXPECT_EQ(Findings("hud-stage-5", PlayFrame, subject, "reads poorly"), 0);
  const PictureWords& panel = *WordsOf("hudpanel01.png");
  Canvas rimless(1024, 176, kTransparentGreen);
  for (const PlacedWords& words : panel.words) {
    const CaptionPlace at = PlaceCaption(words, rimless.width, panel.drawnX, panel.drawnY);
    DrawText(rimless, at.x, at.y, words.text, at.size, {150, 150, 160}, words.align, false);
  }
  game_.UsePicture("hudpanel01.png", rimless);
  CommonImages[kImageHudBottomPanel] = LoadGraphFile("data\\image011\\hudpanel01.png");
  EXPECT_EQ(Findings("hud-stage-5-rimless", PlayFrame, subject, "reads poorly"), 1);
}

TEST_P(PresentationFrames, MidTally) {
  TimelineHalt = 2.0f, StageStarted = 0;
  ShopEmblem[0] = 700.0f, ShopEmblem[1] = 300.0f, ShopEmblem[2] = 0.37f;
  ClearDecorations[0][0] = 100, ClearDecorations[1][1] = -50, ClearDecorations[2][0] = 1200;
  StageClearExtra = 588000.0f, StageClearSeconds = 166;
  StageKills = 120.0f, StageEnemiesSpawned = 160.0f, StageCoins = 90.0f, StageCoinsSpawned = 100.0f;
  TallyCount = 170, TallyScoreCount = 230;
  // The map's frame at both ends of its reach: the world's top left, then its bottom right.
  CameraX = CameraY = 0.01f;
  CheckWordsOfNextFrame("tally-map-top-left");
  Draw("tally-map-top-left", PlayFrame);
  CameraX = 5375.99f, CameraY = 1151.9f;
  CheckWordsOfNextFrame("tally");
  Golden("tally", PlayFrame);
}

TEST_P(PresentationFrames, Shop) {
  TimelineHalt = 3.0f, StageStarted = 0;
  FreeStageImages();
  ShopEmblem[0] = 800.0f, ShopEmblem[1] = 250.0f, ShopEmblem[2] = 0.75f;
  ShopCursor[0] = 500, ShopCursor[1] = 40;
  ShotLevel = 2, OptionLevel = 1, SpeedLevel = 3, TurboLevel = 2;
  Golden("shop", PlayFrame);
}

TEST_P(PresentationFrames, StatisticsPage) {
  TotalLevel = 16, Score = 7654321.0f, EnemiesDestroyed = 345, NShotType = 32, TShotType = 72;
  Golden("statistics", [] { DrawPlayStatistics(); });
}

TEST_P(PresentationFrames, RankingPage) {
  LoadResultsResources();
  TotalLevel = 16;
  RankingBoards[0][0][0] = 9876543, RankingBoards[2][3][1] = 777;
  Golden("ranking", [] { DrawRankingBoards(); });
}

// Each stage's background, scenery and HUD after a while of running, and the ending:
// saved to be looked at. The scenery templates run for real.
TEST_P(PresentationFrames, EveryStageAndTheEnding) {
  SetForwarding(Call::CreateObject, true);
  for (int stage = 1; stage <= 9; ++stage) {
    Stage = stage;
    Scene = stage == 9 ? kSceneEnding : kScenePlay;
    for (GameObject& object : ObjectPool) object = GameObject{};
    ForgetFreeSlotHint();
    ClearStageEventState();
    LoadStageResources(stage);
    if (stage < 9) PlacePlayer();
    CameraX = 300.0f * stage, CameraY = 600.0f;
    const auto frame = [] {
      UpdateObjects();
      UpdateStage();
      DrawObjects();
      if (Scene == kScenePlay) DrawHud();
    };
    for (int i = 0; i < 120; ++i) frame();
    EXPECT_FALSE(Draw(stage == 9 ? "ending" : "stage-" + std::to_string(stage), frame).empty());
  }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, PresentationFrames, testing::Values(DrawingPath::kDevice, DrawingPath::kSoftware),
                         [](const testing::TestParamInfo<DrawingPath>& info) {
                           return info.param == DrawingPath::kDevice ? "Device" : "Software";
                         });

// The damage flash grabs the 160 x 160 square around the player into the session's
// own data folder and shows it again; a second hit restarts it.
TEST(DamageFlash, GrabsTheSquareAroundThePlayerAndRestartsOnTheNextHit) {
  GameSession game;
  ASSERT_EQ(game.Start(DrawingPath::kSoftware), 0);
  CameraX = 1000.0f, CameraY = 500.0f;
  ObjectPool[kPlayerSlot].x = 1500.0f, ObjectPool[kPlayerSlot].y = 800.0f;
  CaptureDamageFlash();
  const std::filesystem::path grab = game.folder().path() / "data" / "Damage.bmp";
  EXPECT_EQ(std::filesystem::file_size(grab), 76854u);  // 54-byte header, 160 rows of 480 bytes
  EXPECT_GE(DamageImage, 0);
  for (int frame = 0; frame < 10; ++frame) DrawHud();
  EXPECT_EQ(DamageFlashTimer, -600 + 80);
  CaptureDamageFlash();
  EXPECT_EQ(DamageFlashTimer, -600);
  EXPECT_GE(DamageImage, 0);
}

}  // namespace
