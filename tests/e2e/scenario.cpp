#include "scenario.h"

#include <gtest/gtest.h>

#include "../support/save_frame.h"
#include "core/game_state.h"
#include "core/resource_loaders.h"
#include "objects/objects.h"

Scenario::Scenario(int stage) {
  EXPECT_EQ(game_.Start(), 0);
  StartAGame(game_);
  Stage = stage;
  LoadStageResources(stage);
  TimelineStopped = 1;
  CameraX = 0.0f;
  CameraY = 0.0f;
}

void Scenario::Place(int templateId, int x, int y, int facing, int parentSlot) {
  CreateObject(templateId, x, y, facing, parentSlot);
}

void Scenario::SetPlayer(float x, float y, int facing) {
  GameObject& player = ObjectPool[kPlayerSlot];
  player.x = x;
  player.y = y;
  player.facing = facing;
}

std::vector<FrameDigest> Scenario::Run(int frames, int padWord, const std::function<void(int)>& beforeFrame) {
  std::vector<FrameDigest> digests;
  for (int i = 0; i < frames; ++i) {
    if (beforeFrame) beforeFrame(framesRun_);
    if (!game_.Pass(padWord)) {
      ADD_FAILURE() << "the frame loop ended after " << framesRun_ << " frames";
      break;
    }
    ++framesRun_;
    digests.push_back(TakeFrameDigest());
  }
  return digests;
}

std::string Scenario::SaveFrame(const std::string& name) { return ::SaveFrame(name); }
