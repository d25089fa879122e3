// A scene of play built by hand: a started game moved to a chosen stage with its
// resources loaded and its timeline stopped, so that only what the test places is in
// it; then templates placed, the player set, frames run with a digest each and
// pictures saved on the way.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/game_object.h"
#include "frame_digest.h"
#include "game_session.h"

class Scenario {
 public:
  // Starts the program and a game, then moves play to `stage`.
  explicit Scenario(int stage);

  // CreateObject, as the stage scripts call it (parent slot 1: group 1).
  void Place(int templateId, int x, int y, int facing = 0, int parentSlot = kGroup1ParentSlot);
  void SetPlayer(float x, float y, int facing = 0);
  // `frames` passes with `padWord` held; `beforeFrame` runs before each with the
  // number of frames run so far. Returns the new frames' digests.
  std::vector<FrameDigest> Run(int frames, int padWord = 0, const std::function<void(int)>& beforeFrame = {});
  // The back screen of the last pass, saved for a person to look at.
  std::string SaveFrame(const std::string& name);

  GameSession& game() { return game_; }

 private:
  GameSession game_;
  int framesRun_ = 0;
};
