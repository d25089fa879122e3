#include "scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "../support/save_frame.h"
#include "core/game_state.h"
#include "core/resource_loaders.h"
#include "../support/call_recorder.h"
#include "core/object_pool.h"
#include "objects/objects.h"

namespace {

void PrintDigest(int frame, const FrameDigest& digest) {
  std::printf("scenario frame %d: pool %016" PRIx64 " run %016" PRIx64 " calls %016" PRIx64 " draws %d\n", frame,
              digest.pool, digest.runState, digest.calls, digest.randomDraws);
}

}  // namespace

Scenario::Scenario(int stage, DrawingPath path) : stage_(stage) {
  EXPECT_EQ(game_.Start(path), 0);
  StartAGame(game_);
  SetUpStage();
}

// The stage's set-up is the test's scaffolding: its calls stay out of the digests
// (its music handles take other slots after a game has run).
void Scenario::SetUpStage() const {
  Stage = stage_;
  LoadStageResources(stage_);
  TimelineStopped = 1;
  CameraX = 0.0f;
  CameraY = 0.0f;
  ClearCallLog();
}

void Scenario::Do(std::function<void()> action) {
  action();
  done_.push_back({framesRun_, std::move(action)});
}

void Scenario::RunHooks(const std::vector<Step>& steps, int frame) const {
  for (const Step& step : steps) {
    if (step.frame == frame) step.action();
  }
}

void Scenario::Place(int templateId, int x, int y, int facing, int parentSlot) {
  Do([=] { CreateObject(templateId, x, y, facing, parentSlot); });
}

void Scenario::SetPlayer(float x, float y, int facing) {
  Do([=] {
    GameObject& player = ObjectPool[kPlayerSlot];
    player.x = x;
    player.y = y;
    player.facing = facing;
  });
}

void Scenario::At(int frame, std::function<void()> action) { hooks_.push_back({frame, std::move(action)}); }

void Scenario::Kill(int slot) {
  SpawnDeathEffects(slot);
  ResetObject(slot);
}

void Scenario::SaveFramesEvery(int every, const std::string& prefix) {
  saveEvery_ = every;
  savePrefix_ = prefix;
}

std::vector<FrameDigest> Scenario::PlayBackRecording(int replaySlot) {
  SaveTheRecording(replaySlot);
  const auto beforeFrame = [this](int frame) {
    if (frame == 0) SetUpStage();
    RunHooks(done_, frame);
    RunHooks(hooks_, frame);
  };
  return PlayBack(game_, replaySlot, {}, 0, beforeFrame);
}

bool Scenario::Pass(int padWord, const std::function<void(int)>& beforeFrame, std::vector<FrameDigest>& digests) {
  if (beforeFrame) beforeFrame(framesRun_);
  RunHooks(hooks_, framesRun_);
  if (!game_.Pass(padWord)) {
    ADD_FAILURE() << "the frame loop ended after " << framesRun_ << " frames";
    return false;
  }
  digests.push_back(TakeFrameDigest());
  ++framesRun_;
  if (saveEvery_ > 0 && framesRun_ % saveEvery_ == 0) SaveFrame(savePrefix_ + std::to_string(framesRun_));
  return true;
}

std::vector<FrameDigest> Scenario::Run(int frames, int padWord, const std::function<void(int)>& beforeFrame) {
  std::vector<FrameDigest> digests;
  for (int i = 0; i < frames; ++i) {
    const int frame = framesRun_;
    if (!Pass(padWord, beforeFrame, digests)) break;
    const bool hooked = std::any_of(hooks_.begin(), hooks_.end(), [&](const Step& s) { return s.frame == frame; });
    if (hooked || i == frames - 1) PrintDigest(frame, digests.back());
  }
  return digests;
}

std::vector<FrameDigest> Scenario::RunUntil(const std::function<bool()>& reached, int limit, int padWord,
                                            const std::function<void(int)>& beforeFrame) {
  std::vector<FrameDigest> digests;
  while (!reached()) {
    if (static_cast<int>(digests.size()) == limit) {
      ADD_FAILURE() << "not reached within " << limit << " frames, at frame " << framesRun_;
      break;
    }
    if (!Pass(padWord, beforeFrame, digests)) break;
  }
  if (!digests.empty()) PrintDigest(framesRun_ - 1, digests.back());
  return digests;
}

void Scenario::SkipDrawing(bool skip) {
  RecordDrawing(skip);
  for (Call call : {Call::DrawGraphAt, Call::DrawGraphRotated, Call::DrawGraphMirrored, Call::DrawRect,
                    Call::DrawLineSegment, Call::ClearDrawTarget, Call::PresentScreen}) {
    SetForwarding(call, !skip);
  }
}

std::string Scenario::SaveFrame(const std::string& name) { return ::SaveFrame(name); }
