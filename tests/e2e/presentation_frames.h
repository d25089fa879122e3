// The display's frames built whole by a test on either drawing path: records placed by
// hand, timelines and scenery off, the frame rate pinned; each frame drawn, saved and
// presented, compared with a golden picture or its words checked.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/display.h"
#include "core/frame_loop.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/resource_loaders.h"
#include "core/stage_flow.h"
#include "game_library.h"
#include "game_session.h"
#include "golden_frame.h"
#include "word_cover_check.h"

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
  // A frame drawn and presented with its drawing recorded: the frame before the next,
  // by which the words check tells a word caught mid-fade from one held.
  static void DrawTheFrameBefore(const std::function<void()>& draw) {
    RecordDrawing(true);
    ClearDrawTarget();
    draw();
    PresentScreen();
    RecordDrawing(false);
  }
  void Golden(const std::string& name, const std::function<void()>& draw) {
    ExpectGoldenFrame(Draw(name, draw), name + Suffix());
  }
  // One whole pass of the frame loop, in the scene the game is in, with `padWord` held
  // and the frame rate pinned: its frame is compared with a golden picture.
  void GoldenPass(const std::string& name, int padWord) {
    MeasuredFps = 60, FpsWindowStartMs = static_cast<int>(GetMilliseconds());
    SaveNextFrame(name + Suffix());
    ASSERT_TRUE(game_.Pass(padWord));
    ExpectGoldenFrame(SavedFramePath(), name + Suffix());
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
    DrawPlay();
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
