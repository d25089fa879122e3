// A scene of play built by hand: a started game moved to a chosen stage with its
// resources loaded and its timeline stopped, so that only what the test places is in
// it; then templates placed, the player set, frames run with a digest each and
// pictures saved on the way. The game is recorded from its first frame: a scene can
// be played back from its replay, with the same set-up and hooks before the same
// frames.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/game_object.h"
#include "frame_digest.h"
#include "game_session.h"

class Scenario {
 public:
  // Starts the program on the drawing path and a game, then moves play to `stage`.
  explicit Scenario(int stage, DrawingPath path = DrawingPath::kDevice);

  // CreateObject, as the stage scripts call it (parent slot 1: group 1).
  void Place(int templateId, int x, int y, int facing = 0, int parentSlot = kGroup1ParentSlot);
  void SetPlayer(float x, float y, int facing = 0);
  // `frames` passes with `padWord` held; `beforeFrame` runs before each with the
  // number of frames run so far. Returns the new frames' digests. The digests of the
  // hooked frames and of the last are printed.
  std::vector<FrameDigest> Run(int frames, int padWord = 0, const std::function<void(int)>& beforeFrame = {});
  // Passes as Run until `reached` holds (tested before each), at most `limit`; the
  // digest of the last is printed.
  std::vector<FrameDigest> RunUntil(const std::function<bool()>& reached, int limit, int padWord = 0,
                                    const std::function<void(int)>& beforeFrame = {});
  int framesRun() const { return framesRun_; }
  // The back screen of the last pass, saved for a person to look at.
  std::string SaveFrame(const std::string& name);
  // From now on Run saves every `every`th frame as "<prefix><frame>".
  void SaveFramesEvery(int every, const std::string& prefix);
  // While skipped, the library's drawing calls (the frame's clearing and presenting
  // too) are logged and not made (the objects still animate): a crowded stretch costs
  // only its updates.
  static void SkipDrawing(bool skip);

  // `action` runs before frame `frame` (counted from 0), in the run and in its playback.
  void At(int frame, std::function<void()> action);
  // The collision pass's kill without its rewards: the death effects, then the record
  // is freed.
  static void Kill(int slot);
  // Saves the recording of the frames run so far into `replaySlot` and plays it back
  // from the title, the set-up, the placements and the hooks before the same frames.
  // Returns the played frames' digests.
  std::vector<FrameDigest> PlayBackRecording(int replaySlot);

  GameSession& game() { return game_; }

 private:
  struct Step {
    int frame;
    std::function<void()> action;
  };
  // What the test did between passes (done at once, and again in a playback).
  void Do(std::function<void()> action);
  void RunHooks(const std::vector<Step>& steps, int frame) const;
  // One pass; false when the frame loop ended.
  bool Pass(int padWord, const std::function<void(int)>& beforeFrame, std::vector<FrameDigest>& digests);
  void SetUpStage() const;

  int stage_;
  GameSession game_;
  int framesRun_ = 0;
  std::vector<Step> done_;
  std::vector<Step> hooks_;
  int saveEvery_ = 0;
  std::string savePrefix_;
};
