// Frames of the display drawn on both drawing paths and compared with golden pictures.
// Whole stages and the ending are saved to be looked at.
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>

#include "core/stage_end.h"
#include "float_to_int.h"
#include "objects/objects.h"
#include "presentation_frames.h"
#include "word_check_measures.h"

namespace {

// A first run's start as stage 1's controls guide comes up: the title card's last fade
// over the HUD fading in with its counters, speed panel, timed notice and a side notice;
// then the same paused.
TEST_P(PresentationFrames, TitleCardAndHudOverStageOne) {
  PlacePlayer();
  TitleCardActive = 1, TitleCardFrame = 628, TitleCardAlpha = 228, HudAlpha = 228;
  HudCountersOff = HudPanelImageOff = HudNoticeOff = 0;
  const int cycle = FrameCycle4;
  DrawTheFrameBefore([] {  // the card and the HUD a step back in their fades
    UpdateStageTitleCard();
    DrawHud();
  });
  FrameCycle4 = cycle, Stage1NoticeTimer = 1500, HudNoticeTimer = 371;
  AddInfoBonus(13, 240000);
  CheckWordsOfNextFrame("title-card-hud");
  Golden("title-card-hud", PlayFrame);
  TitleCardActive = 0, HudAlpha = 255, Paused = 1;
  CheckWordsOfNextFrame("run-start-paused");
  Draw("run-start-paused", PlayFrame);
}

TEST_P(PresentationFrames, LastLifeWarningLetsTheDragonShowThrough) {
  const auto frame = [this](float y, int state, int warningOff) {  // y 372: on the "IF" of "LAST LIFE!"
    PlacePlayer(), ObjectPool[kPlayerSlot].x = CameraX + 590, ObjectPool[kPlayerSlot].y = CameraY + y;
    ObjectPool[kPlayerSlot].state = state, Lives = 1, GuardValue = 0, FrameCycle4 = 3, DangerOverlayOff = warningOff;
    if (y == 372 && warningOff == 0) CheckWordsOfNextFrame("last-life-dragon-behind");  // its words still read
    Draw("last-life-dragon-behind", [] { DrawObjects(), DrawHud(); });
    return LastSavedFrame().pixels;
  };
  const auto ground = frame(372, 0, 1), bare = frame(372, 1, 1), away = frame(150, 1, 0), under = frame(372, 1, 0);
  int dragon = 0, unlike = 0;  // bright phase, no guard bar; the dragon's pixels: what it changes on black
  for (std::size_t p = 320 * kScreenWidth; p < 448 * kScreenWidth; ++p) {  // the warning's band
    dragon += !Same(ground[p], bare[p]);
    unlike += Change(under[p], Same(ground[p], bare[p]) ? away[p] : bare[p]) > 2;  // as with it away or no warning
  }
  EXPECT_TRUE(dragon > 300 && unlike <= dragon / 20) << unlike << " of " << dragon << " pixels of the dragon unlike";
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

// The controls guide's countdown runs, but the manual's page takes its place. The page
// covers the whole screen in the pause panel's blend, and nothing of the play is drawn
// over it: not the bars at the player, nor the marker of an enemy off screen. The frame
// is the play scene's own pass of the frame loop, the 40th with fire held.
TEST_P(PresentationFrames, PauseWithTheManual) {
  PlacePlayer();
  Place(60, 15, 0, -200.0f, 300.0f).category = kCategoryEnemy;
  Paused = 1, ManualShown = 1, Stage1NoticeTimer = 900;
  MiniMapOff = 0, FireIdleFrames = 30;
  ManualImage = LoadGraphFile("data\\image011\\Manual01.png");
  ASSERT_TRUE(game_.Hold(kPadFire, 39));
  RecordDrawing(true);
  GoldenPass("pause-manual", kPadFire);
  RecordDrawing(false);
  const std::vector<RecordedCall>& drawing = DrawingOfTheFrameBefore();
  const auto manual = std::ranges::find_if(drawing, [](const RecordedCall& call) {
    return call.call == Call::DrawGraphAt && call.Int(2) == ManualImage;
  });
  ASSERT_NE(manual, drawing.end());
  const auto blend = std::find_if(std::make_reverse_iterator(manual), drawing.rend(),
                                  [](const RecordedCall& call) { return call.call == Call::SetBlendMode; });
  ASSERT_NE(blend, drawing.rend());
  EXPECT_EQ(blend->Int(1), 255 - 48);  // the panel's: 1.2 less per frame fire is held
  constexpr Call kPuttingPixels[] = {Call::DrawGraphAt,     Call::DrawGraphRotated, Call::DrawGraphMirrored,
                                     Call::DrawRect,        Call::DrawLineSegment,  Call::DrawTextAt,
                                     Call::DrawFormattedText, Call::DrawGraphFileAt};
  std::string over;
  for (auto call = std::next(manual); call != drawing.end(); ++call) {
    if (std::ranges::find(kPuttingPixels, call->call) == std::end(kPuttingPixels)) continue;
    over += testing::PrintToString(*call) + "\n";
  }
  EXPECT_EQ(over, "") << "drawn over the manual";
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

// Each stage's shop at each place of its cursor, as it opens (saved), pays and refuses,
// the map's frame moved across its reach: its ground covers the screen, so no black
// shows wider than the one-pixel rim of a word or digit. The words are checked on one
// path with the map at the two ends of its reach (stages 1 and 7).
TEST_P(PresentationFrames, ShopOfEveryStageAtEveryPlace) {
  StageStarted = 0, ShotLevel = 2, OptionLevel = 3, SpeedLevel = 11, TurboLevel = 4, GuardUses = 27.0f;
  for (int stage = 1; stage <= 7; ++stage) {
    Stage = stage;
    LoadStageResources(stage);
    FreeStageImages();  // as the tally leaves them
    CameraX = 896.0f * (stage - 1), CameraY = 192.0f * (stage - 1);
    ShopEmblem[0] = 130.0f * stage, ShopEmblem[1] = 300.0f;
    for (const int item : {0, 40, 250, 290, 330, 500, 540}) {
      ShopCursor[0] = item / 250 * 250, ShopCursor[1] = item % 250;
      for (const float state : {kHaltShop, kHaltPaying, kHaltRefused}) {
        TimelineHalt = state, ShopTimer = 0;
        const std::string name = "shop-" + std::to_string(stage) + "-" + std::to_string(item);
        if (state == kHaltShop && GetParam() == DrawingPath::kDevice && (stage == 1 || stage == 7)) {
          CheckWordsOfNextFrame(name);
        }
        if (state == kHaltShop) SaveNextFrame(name + Suffix());
        Canvas frame(kScreenWidth, kScreenHeight, {});
        ClearDrawTarget();
        PlayFrame();
        ASSERT_TRUE(ReadBackScreen(0, 0, frame));
        PresentScreen();
        std::vector<char> lit(frame.pixels.size());
        std::transform(frame.pixels.begin(), frame.pixels.end(), lit.begin(),
                       [](const Colour& c) { return c.r + c.g + c.b > 0; });
        const std::vector<char> nearLit = Grown(lit, frame.width, frame.height, 1);
        EXPECT_EQ(std::count(nearLit.begin(), nearLit.end(), 0), 0) << name << " in state " << state;
      }
    }
  }
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
