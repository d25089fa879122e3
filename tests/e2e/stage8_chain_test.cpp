// The stage 8 boss chain in a started game, the stage script placing each boss: the
// test kills them (the core by a shot, so that the collision pass pays it), moves the
// long clocks near their ends and checks each milestone's frame against the counts of
// the tables. The chain runs twice to the same states; frames are saved to be looked at.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "objects/objects.h"
#include "scenario.h"

namespace {

// A float clock stepped as the behaviours step it: each step in double, stored as f32.
float After(float value, double step, int steps) {
  for (int i = 0; i < steps; ++i) value = static_cast<float>(value + step);
  return value;
}
int StepsUntil(float value, double step, bool (*done)(float)) {
  int steps = 0;
  for (; !done(value); ++steps) value = static_cast<float>(value + step);
  return steps;
}

const int kShrinkFrames = StepsUntil(2.0f, -0.005, [](float s) { return s < -1.0f; });  // the hand-over's scale
const int kFadeInFrames = StepsUntil(260.0f, -0.3, [](float f) { return f <= 0.0f; });  // the body's fade
// The white fade starts at 1 and grows by 2 after each pass; the body closes past 280.
const int kClosingFrames = StepsUntil(1.0f, 2.0, [](float f) { return f > 280.0f; }) + 1;

GameObject* Find(int behaviour) {
  for (GameObject& record : ObjectPool) {
    if (record.state == kStateActive && record.behaviour == behaviour) return &record;
  }
  return nullptr;
}
bool Holds(int slot, int behaviour) {
  return ObjectPool[slot].state == kStateActive && ObjectPool[slot].behaviour == behaviour;
}
GameObject& Body() { return ObjectPool[10]; }

// One stretch of the chain: its hook, the passes until it is reached (the tables'
// count less the frames a moved clock skips) and what must hold then.
struct Leg {
  const char* name;
  int count, moved;
  std::function<void()> before;
  std::function<bool()> reached;
  std::function<void()> check = [] {};
  std::function<bool()> startWhen = [] { return true; };  // passes run first until it holds
  int saveAt = 0;  // the frame after this many passes is saved
};

using States = std::vector<std::tuple<std::uint64_t, std::uint64_t, int>>;

States RunChain(bool save) {
  Scenario scenario(8);
  scenario.SetPlayer(3000.0f, 1100.0f);
  int killScore = 0;
  const std::vector<Leg> legs = {
      {"first boss set awake", 188, 0,
       [] {
         StageTimeline = 4999, StageTimeline2 = 5000, TimelineStopped = 0;
         CameraX = 2500.0f, CameraY = 400.0f;
       },
       [] { return Holds(10, 3082); }},
      {"wreck 4133 ends and makes 2212", 400, 0, [] { Scenario::Kill(10); }, [] { return Find(4132) != nullptr; }},
      {"2212 has shrunk", kShrinkFrames, kShrinkFrames - 10,
       [] { Find(4132)->scaleDelta = After(2.0f, -0.005, kShrinkFrames - 10); },
       [] { return Find(4132)->phase == 1.0f; }, [] { EXPECT_EQ(Find(4132)->timer, 1); }},
      {"2212 brings 1103 at its timer 350", 349, 339, [] { Find(4132)->timer = 340; }, [] { return Holds(10, 3097); }},
      {"1103 calls the composite", kFadeInFrames, kFadeInFrames - 20,
       [] { Body().fade = After(260.0f, -0.3, kFadeInFrames - 20); }, [] { return Holds(11, 3086); },
       [] {
         for (int slot : {11, 12, 13, 14, 15, 16, 18, 19, 20})
           EXPECT_EQ(ObjectPool[slot].x, Body().x + ObjectPool[slot].phase) << "placed in the frame of the call";
       }},
      {"two members killed, the 7910 row brings the core", 7910 - 7899, 0,
       [] {
         Scenario::Kill(14), Scenario::Kill(15);
         StageTimeline = 7899;
       },
       [] { return Holds(17, 3096); },
       [] {
         const std::vector<int> groups = {ObjectPool[11].group, ObjectPool[17].group, ObjectPool[19].group};
         EXPECT_EQ(groups, std::vector<int>({2, 1, 3}));
       }},
      {"core changes below 48000", 1, 0, [] { ObjectPool[17].hitPoints = 47999; },
       [] { return ObjectPool[17].deathEffect == 12; },
       [] {
         EXPECT_EQ(ObjectPool[17].timer, 1);
         int bursts = 0;
         for (const RecordedCall& call : CallsOf(Call::SpawnDeathEffects)) bursts += call.Int(0) == 17;
         EXPECT_EQ(bursts, 30);
       }},
      {"a shot kills the core", 1, 0,
       [&killScore] {
         killScore = KillScore;
         ObjectPool[17].hitPoints = 1;
         GameObject& shot = ObjectPool[AllocateObject()];
         shot = GameObject{};
         shot.state = kStateActive, shot.category = kCategoryPlayerShot, shot.collidable = 1;
         shot.x = ObjectPool[17].x, shot.y = ObjectPool[17].y;
         // Tall, as the shaking body moves the core by up to 160 pixels a frame.
         shot.hitWidth = 8, shot.hitHeight = 400, shot.attackPower = 10;
       },
       [] { return Body().work[2] == 1.0f; }, [&killScore] { EXPECT_EQ(KillScore - killScore, 180000) << "paid once"; },
       [] { return FrameCycle4 != 2; }},  // the hit box may be inside out only on the third strobe frame
      {"the closing ends", kClosingFrames, 0, [] {}, [] { return Body().state == kStateFree; },
       [] {
         EXPECT_EQ(EndBackdropPhase, 3);
         EXPECT_NE(Find(4137), nullptr);
       },
       [] { return true; }, 10},
      {"the last boss at 9100", 1, 0,
       [] {
         Find(4137)->phase = 3240.0f;  // the curtain's walls nearly closed
         StageTimeline = 9099;
       },
       [] { return Holds(10, 3098); }},
      {"escorts placed by 9200", 100, 0, [] {}, [] { return StageTimeline == 9200; }},
      {"orbiters killed, the shield breaks", 1, 0,
       [] {
         for (GameObject& record : ObjectPool) {
           if (record.state == kStateActive && (record.behaviour == 3101 || record.behaviour == 3103))
             Scenario::Kill(static_cast<int>(&record - ObjectPool));
         }
       },
       [] { return Body().collidable == 2; }},
      {"script B from 2501", 1, 0, [] {}, [] { return Body().timer == 2501; }},
      {"kind 13", 0, 0, [] { Scenario::Kill(10); },
       [] { return Holds(22, 4153) && EndBackdropPhase == 4 && CountEnemiesInGroup1() + CountEnemiesInGroup2() == 0; }},
      {"EndFadeFlag at slot 22's 620", 621, 300, [] { ObjectPool[22].timer = 300; }, [] { return EndFadeFlag >= 1; },
       [] {}, [] { return true; }, 200},
  };
  States states;
  for (const Leg& leg : legs) {
    // Only the frames saved are drawn.
    int pass = 0;
    const auto saveIfDue = [&] {
      if (!save || pass != leg.saveAt || pass == 0) return;
      std::string name = std::string("stage8-chain-") + leg.name;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
      scenario.SaveFrame(name);
    };
    const auto beforeFrame = [&](int) {
      ClearCallLog();
      InvulnFrames = 9000.0f;  // the test's player is never hit
      saveIfDue();
      Scenario::SkipDrawing(!save || pass + 1 != leg.saveAt);
      ++pass;
    };
    std::vector<FrameDigest> waited = scenario.RunUntil(leg.startWhen, 8, 0, beforeFrame);
    pass = 0;
    leg.before();
    const std::vector<FrameDigest> digests = scenario.RunUntil(leg.reached, 2000, 0, beforeFrame);
    std::printf("stage 8 chain: %s at frame %d, %zu passes (%d, clock moved by %d)\n", leg.name, scenario.framesRun(),
                digests.size(), leg.count, leg.moved);
    EXPECT_EQ(static_cast<int>(digests.size()), leg.count - leg.moved) << leg.name;
    saveIfDue();
    leg.check();
    waited.insert(waited.end(), digests.begin(), digests.end());
    for (const FrameDigest& d : waited) states.emplace_back(d.pool, d.runState, d.randomDraws);
  }
  Scenario::SkipDrawing(false);
  return states;
}

TEST(Stage8Chain, MilestonesComeOnTheTablesFramesTheSameTwice) {
  EXPECT_EQ(kShrinkFrames, 601);
  EXPECT_EQ(kFadeInFrames, 867);
  EXPECT_EQ(RunChain(true), RunChain(false));
}

}  // namespace
