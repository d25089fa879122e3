// The objects around a boss fight: the arrival rings and their sparks, the flares and
// blast rings of the wrecks, the stage 8 hand-over and closing curtain, and the chip
// flashes that end the stage 8 bosses.
#include <array>
#include <cmath>

#include "core/game_rules.h"
#include "core/resource_loaders.h"
#include "core/resource_table.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr int kBossSlot = 10;

void CreateCentred(int templateId, const GameObject& object, int parentSlot) {
  CreateObject(templateId, FloatToInt(object.x), FloatToInt(object.y), 0, parentSlot);
}

// The two arrival rings shrink in, then flicker out; the outer one bursts into sparks.
struct ArrivalRing {
  int id;
  bool outer;
};
constexpr ArrivalRing kArrivalRings[] = {{4100, true}, {4099, false}};

void ArriveRing(int slot) {
  GameObject& ring = ObjectPool[slot];
  const bool outer = RowFor(kArrivalRings, ring.behaviour).outer;
  ring.scaleDelta = static_cast<float>(static_cast<double>(ring.scaleDelta) + ring.phase);
  if (ring.phase > 0.0f) {
    ring.phase = static_cast<float>(ring.phase - 0.0005);
  } else if (outer) {
    ring.scaleDelta = static_cast<float>(ring.scaleDelta + 0.003);
  }
  if (ring.phase2 == 0.0f) {
    ring.fade = static_cast<float>(ring.fade - 2.0);
    if (ring.fade < -50.0f) {
      ring.phase2 = 1.0f;
      if (outer) {
        CreateCentred(2182, ring, slot);
        for (int i = 0; i < 3; ++i) CreateCentred(2181, ring, slot);
      }
    }
  }
  if (ring.phase2 == 1.0f) {
    ring.fade = static_cast<float>(ring.fade + 2.0);
    ring.fade = static_cast<float>(ring.fade + ByFrameCycle(-100.0f, 100.0f, -50.0f, 50.0f, 0.0f));
    if (ring.fade > 300.0f) ResetObject(slot);
  }
  if (!outer) {
    ring.angle = static_cast<float>(ring.angle + 0.001);
    return;
  }
  ring.timer += 1;
  if (ring.timer >= 165 && ring.timer <= 190 && ring.timer % 5 == 0) {
    for (int i = 0; i < 40; ++i) CreateCentred(2181, ring, slot);
  }
}

void ArrivalSpark(int slot) {
  GameObject& spark = ObjectPool[slot];
  MoveAndSlow(spark, 1.2);
  spark.fade = static_cast<float>(spark.fade + 50.0);
  if (spark.fade > 255.0f) ResetObject(slot);
}

void ImplodeFlare(int slot) { ScaleAtGrowingRate(ObjectPool[slot], -1.0); }

void BlastRing(int slot) {
  GameObject& ring = ObjectPool[slot];
  ring.scaleDelta = static_cast<float>(ring.scaleDelta - 0.005);
  ring.fade = static_cast<float>(ring.fade + 0.5);
  if (ring.fade > 255.0f) ResetObject(slot);
  MoveStraight(ring);
}

// Sparks that fall, slowing, until their fade passes 255; each has its culling.
struct FallingSpark {
  int id;
  void (*cull)(int slot);
};
constexpr FallingSpark kFallingSparks[] = {{4134, &FreeObjectIfOffWorld}, {4154, &FreeObjectIfOffView}};

void FallSpark(int slot) {
  GameObject& spark = ObjectPool[slot];
  const FallingSpark& row = RowFor(kFallingSparks, spark.behaviour);
  spark.fade = static_cast<float>(spark.fade + 1.0);
  MoveStraight(spark);
  spark.vy = static_cast<float>(spark.vy / 1.001);
  row.cull(slot);
  if (spark.fade > 255.0f) ResetObject(slot);
}

void RiseEmber(int slot) {
  GameObject& ember = ObjectPool[slot];
  ember.fade = static_cast<float>(ember.fade + 1.5);
  MoveStraight(ember);
  FreeObjectIfFarOutside(slot);
  if (ember.fade > 400.0f) ResetObject(slot);
  if (ember.vy > -20.0f) ember.vy = static_cast<float>(ember.vy - 0.3);
  ember.fade = static_cast<float>(ember.fade + ByFrameCycle(50.0f, -50.0f, 100.0f, -100.0f, 0.0f));
}

// Stage 8's hand-over: shrinks away, then brings in the next boss at 350 and frees
// the first half's pictures. It stands on afterwards, snowing flakes.
void HandOver(int slot) {
  GameObject& record = ObjectPool[slot];
  if (record.phase == 0.0f) {
    record.scaleDelta = static_cast<float>(record.scaleDelta - 0.005);
    if (record.scaleDelta < -1.0f) record.phase = 1.0f;
    for (int i = 0; i < 2; ++i) CreateCentred(2211, record, 1);
  }
  MoveStraight(record);
  if (record.phase != 1.0f) return;
  record.timer += 1;
  if (record.timer == 1) SetBgmFade(2, kFadeOutStopSlow);
  if (record.timer >= 180) {
    for (int i = 0; i < 3; ++i) CreateObject(2204, 0, 0, 0, 0);
  }
  if (record.timer == 350) {
    RequestSlowdown(18);
    SetBgmFade(8, kFadeFull);
    ClearStageEventState();
    EndBackdropPhase = 2;
    CreateObject(1103, 3000, 800, 0, 1);
    RedFlashAlpha = 150;
    for (int entry : kStage8HandOverPictures) FreePicture(StageImages[entry]);
  }
}

// Two walls of sparks close in on world x 3200.
void CloseCurtain(int slot) {
  GameObject& curtain = ObjectPool[slot];
  curtain.phase = static_cast<float>(curtain.phase + 8.0);
  if (curtain.phase >= 3300.0f) return;
  const int spread = DoubleToInt(3200.0 - curtain.phase);
  for (int i = 0; i < 30; ++i) {
    for (int side : {-1, 1}) {
      const int y = RandomInRange(2000);
      const int offset = RandomInRange(spread);
      CreateObject(2211, 3200 + side * offset, y, 0, 1);
    }
  }
}

// Rides on the stage 8 body, exploding every third frame, and turns bullets into
// chips at 180.
void ChipFlash(int slot) {
  GameObject& flash = ObjectPool[slot];
  const GameObject& body = ObjectPool[kBossSlot];
  flash.x = static_cast<float>(static_cast<double>(body.x) + flash.phase);
  flash.y = static_cast<float>(static_cast<double>(body.y) + flash.phase2);
  flash.timer += 1;
  if (flash.timer < 180 && flash.timer % 3 == 0) SpawnDeathEffects(slot);
  if (flash.timer == 180) {
    PlaySe(89, 150);
    ConvertBulletsToChips();
  }
  flash.fade = flash.timer % 2 == 0 ? 255.0f : static_cast<float>(flash.timer / 2.5);
  if (flash.timer > 1000) ResetObject(slot);
}

constexpr int kShowerPasses = 50;
// The shower's reach divisors; whole divisors divide as integers.
constexpr std::array<double, 7> kShowerDivisors = {1.0, 1.5, 2.0, 2.5, 3.0, 3.5, 4.0};

int ShowerReach(int timer, double divisor) {
  if (divisor == static_cast<int>(divisor)) return timer / static_cast<int>(divisor);
  return DoubleToInt(timer / divisor);
}

// The last boss's end: explodes, rains sparks and embers, and at 620 hands on to the
// ending (not in a practice run).
void FinalFlash(int slot) {
  GameObject& flash = ObjectPool[slot];
  flash.phase = static_cast<float>(flash.phase + 0.006);
  flash.y = static_cast<float>(flash.y + static_cast<double>(std::sin(flash.phase)) * 0.5);
  flash.phase2 = static_cast<float>(flash.phase2 + 0.003);
  flash.x = static_cast<float>(flash.x + static_cast<double>(std::sin(flash.phase2)) * 0.3);
  FreeObjectIfOffWorld(slot);
  if (flash.timer < 400 && flash.timer % 12 == 0) SpawnDeathEffects(slot);
  CreateCentred(2232, flash, 1);
  if (flash.timer == 480 || flash.timer == 540) {
    for (int flare : {2185, 2186, 2185, 2186}) CreateCentred(flare, flash, 0);
    if (flash.timer == 540) flash.fade = 300.0f;
  }
  if (flash.timer == 620) {
    if (PracticeFlag != 1) EndFadeFlag = 1;
    ResetObject(slot);
  }
  flash.timer += 1;
  for (int pass = 0; pass < kShowerPasses; ++pass) {
    for (double divisor : kShowerDivisors) {
      for (int side : {-1, 1}) {
        const int y = RandomInRange(2000);
        const int offset = RandomInRange(ShowerReach(flash.timer, divisor));
        CreateObject(2231, DoubleToInt(flash.x + static_cast<double>(side) * offset), y, 0, 1);
      }
    }
  }
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({
                                          {4102, &ArrivalSpark},
                                          {4103, &ImplodeFlare},
                                          {4105, &BlastRing},
                                          {4155, &RiseEmber},
                                          {4132, &HandOver},
                                          {4137, &CloseCurtain},
                                          {4136, &ChipFlash},
                                          {4153, &FinalFlash},
                                      }),
                                      EntriesFor(kArrivalRings, &ArriveRing), EntriesFor(kFallingSparks, &FallSpark));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
