#include "stage_world.h"

#include "core/game_state.h"
#include "core/new_game.h"
#include "core/object_pool.h"
#include "stages/stages.h"

void StageWorld::SetUp() {
  // A game started from the title, whatever mode the case before it played in.
  ResetModeState();
  NewGameInit();
  ResetCallRecorder();
  SetForwarding(Call::CreateObject, false);
}

void StageWorld::TearDown() { ResetCallRecorder(); }

void StageWorld::Begin(int mode, int stage) {
  Scene = kScenePlay;
  GameMode = mode;
  Stage = stage;
  StageTimeline = StageTimeline2 = StageTimeline3 = 0;
  StageFrame = BattleFrames = 0;
  TimelineHalt = 0.0f;
  ClearCallLog();
}

void StageWorld::Before(int timeline1, int timeline2, int timeline3) {
  StageTimeline = timeline1 - 1;
  StageTimeline2 = timeline2 - 1;
  StageTimeline3 = timeline3;
}

void StageWorld::Frames(int count) {
  for (int i = 0; i < count; ++i) UpdateStageScript();
}

int StageWorld::PutEnemies(int group, int count, int state, int category) {
  int slot = 0;
  for (int i = 0; i < count; ++i) {
    slot = AllocateObject();
    ObjectPool[slot].state = state;
    ObjectPool[slot].category = category;
    ObjectPool[slot].group = group;
  }
  return slot;
}

std::vector<std::string> StageWorld::Spawns() {
  std::vector<std::string> spawns;
  for (const RecordedCall& call : CallsOf(Call::CreateObject)) {
    std::string text = std::to_string(call.Int(0));
    for (int argument = 1; argument < 5; ++argument) text += " " + std::to_string(call.Int(argument));
    spawns.push_back(text);
  }
  return spawns;
}
