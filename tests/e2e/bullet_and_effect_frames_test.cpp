// Bullet patterns, scenery and ending objects drawn by the real frame loop, saved as
// frames for a person to look at. The test moves the records itself (along their own
// velocities) so that each picture shows the pattern's shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "../support/save_frame.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/resource_loaders.h"
#include "game_library.h"
#include "game_session.h"
#include "objects/object_factory.h"
#include "objects/objects.h"

namespace {

std::vector<int> made;

void Remember(int slot) { made.push_back(slot); }

void ClearMade() {
  for (int slot : made) ResetObject(slot);
  made.clear();
}

// Each record `steps` steps along its velocity.
void Move(int steps) {
  for (int slot : made) ObjectPool[slot].x += steps * ObjectPool[slot].vx, ObjectPool[slot].y += steps * ObjectPool[slot].vy;
}

// Scenery starts outside the view and drifts in: each record steps along its velocity
// until it lies in the view; one whose path misses the view is set down in it.
void StepIntoView() {
  for (int slot : made) {
    GameObject& record = ObjectPool[slot];
    auto inside = [&] {
      return record.x > CameraX + 64 && record.x < CameraX + 960 && record.y > CameraY + 64 && record.y < CameraY + 704;
    };
    for (int step = 0; step < 3000 && !inside(); ++step) {
      record.x += record.vx;
      record.y += record.vy;
    }
    if (inside()) continue;
    record.x = CameraX + 64 + static_cast<float>(slot * 97 % 896);
    record.y = CameraY + 64 + static_cast<float>(slot * 53 % 640);
  }
}

void LoadStage(int stage) {
  Stage = stage;
  FreeStageImages();
  LoadStageResources(stage);
}

int CentreX() { return FloatToInt(CameraX) + 512; }
int CentreY() { return FloatToInt(CameraY) + 384; }

TEST(BulletAndEffectFrames, PatternsSceneryAndEndingAsDrawn) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  RecordTakenHook = Remember;
  // What to make on a frame; the next frame is saved under the name and cleared.
  const std::map<int, std::pair<const char*, std::function<void()>>> scenes = {
      {10, {"ring-5012", [] { CreateObject(5012, CentreX(), CentreY(), 0, 30), Move(30); }}},
      {12, {"ring-5013", [] { CreateObject(5013, CentreX(), CentreY(), 0, 30), Move(30); }}},
      {14, {"fan-5016", [] { CreateObject(5016, CentreX(), CentreY(), 1, 50), Move(30); }}},
      {16, {"fan-2109", [] { CreateObject(2109, CentreX(), CentreY(), 0, 5), Move(30); }}},
      {18, {"stage1-sky", [] {
         for (int i = 0; i < 8; ++i) CreateObject(2105, 0, 0, 0, 0);
         StepIntoView();
       }}},
      {20, {"stage4-pieces-and-rain", [] {
         LoadStage(4);
         for (int x : {3000, 5000, 7000, 1000}) CreateObject(2163, x, 0, 0, 0);
         for (int id : {2164, 2165, 2166, 2169, 2161, 2161, 2161, 2161, 2161, 2161}) CreateObject(id, 0, 0, 0, 0);
         StepIntoView();
       }}},
      {22, {"ending-figures-and-pages", [] {
         LoadStage(9);
         CreateObject(2235, 260, 0, 0, 0);
         CreateObject(2241, 500, -200, 0, 0);
         CreateObject(2244, 770, 500, 0, 3);
         CreateObject(2245, 260, 200, 0, 5);
         for (int slot : made) {  // the ending's view starts at the world's corner
           ObjectPool[slot].x += CameraX;
           ObjectPool[slot].y += CameraY + (slot == 12 ? 300.0f : 0.0f);
           if (ObjectPool[slot].behaviour == 4164) ObjectPool[slot].fade = 0.0f;  // the pages faded in
         }
       }}},
  };
  std::vector<std::string> saved;
  PlayScript(game, {{24, 0}}, [&](int frame) {
    if (scenes.count(frame - 1)) {
      saved.push_back(SaveFrame(scenes.at(frame - 1).first));
      if (frame < 23) ClearMade();
    }
    if (scenes.count(frame)) scenes.at(frame).second();
  });
  RecordTakenHook = nullptr;
  made.clear();
  EXPECT_EQ(std::count(saved.begin(), saved.end(), std::string()), 0);
  EXPECT_EQ(saved.size(), scenes.size());
}

}  // namespace
