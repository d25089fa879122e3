// The player's shots and the option shots after they are fired.
#include <algorithm>

#include "core/game_rules.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

void FlyStraight(int slot) {
  MoveStraight(ObjectPool[slot]);
  FreeObjectIfOffView(slot);
}

// Speeds away in its facing direction and leaves a trail every frame.
struct AcceleratingShot {
  int id;
  double acceleration;
  int trail;
};
constexpr AcceleratingShot kAcceleratingShots[] = {
    {4018, 1.0, 2027}, {4021, 0.7, 2027}, {4031, 1.1, 2027}, {4032, 1.4, 2027}, {4033, 1.7, 2058},
    {4037, 0.7, 2027}, {4038, 0.7, 2027}, {4039, 0.7, 2027}, {4040, 0.7, 2058},
};

void Accelerate(int slot) {
  GameObject& shot = ObjectPool[slot];
  const AcceleratingShot& row = RowFor(kAcceleratingShots, shot.behaviour);
  const double push = shot.facing == 0 ? row.acceleration : -row.acceleration;
  shot.vx = static_cast<float>(shot.vx + push);
  MoveStraight(shot);
  FreeObjectIfOffView(slot);
  Fire(row.trail, shot, 0.0, 0.0, shot.facing, 0);
}

// Flies on at the player's height and drops a trail every few frames.
struct TrailDropper {
  int id;
  bool offsetByPhase2;  // y = player's y + phase2
  float every;          // frames between drops, counted in phase
  int trail;
};
constexpr TrailDropper kTrailDroppers[] = {
    {4016, true, 3.0f, 2028}, {4025, false, 3.0f, 2048}, {4028, false, 2.0f, 2050},
    {4041, true, 2.0f, 2078}, {4042, false, 3.0f, 2079}, {4044, true, 3.0f, 2080},
};

void DropTrail(int slot) {
  GameObject& shot = ObjectPool[slot];
  const TrailDropper& row = RowFor(kTrailDroppers, shot.behaviour);
  shot.x = static_cast<float>(static_cast<double>(shot.x) + shot.vx);
  shot.y = row.offsetByPhase2 ? static_cast<float>(static_cast<double>(Player().y) + shot.phase2) : Player().y;
  shot.phase = static_cast<float>(shot.phase + 1.0);
  if (shot.phase == row.every) {
    Fire(row.trail, shot, 0.0, 0.0, shot.facing, slot);
    shot.phase = 0.0f;
  }
  FreeObjectIfOffView(slot);
}

void FollowPlayerHeight(int slot) {
  GameObject& shot = ObjectPool[slot];
  shot.x = static_cast<float>(static_cast<double>(shot.x) + shot.vx);
  shot.y = Player().y;
  FreeObjectIfOffView(slot);
}

// Narrows until it is gone; its damage falls as it narrows, but never below 0, so a
// late hit cannot heal.
void Shrink(int slot) {
  GameObject& beam = ObjectPool[slot];
  beam.x = static_cast<float>(static_cast<double>(beam.x) + beam.vx);
  beam.scaleDelta = static_cast<float>(static_cast<double>(beam.scaleDelta) - beam.phase);
  beam.hitHeight = DoubleToInt(beam.hitHeight - 25.0 * beam.phase);
  if (beam.scaleDelta < -0.9) ResetObject(slot);
  beam.attackPower = std::max(0, beam.attackPower - 8);
}

// Damage falls by 2 a frame until it passes below `floor`, then holds at 20.
struct DecayingBeam {
  int id;
  int floor;
};
constexpr DecayingBeam kDecayingBeams[] = {{4054, 60}, {4055, 20}};

void Decay(int slot) {
  GameObject& beam = ObjectPool[slot];
  beam.x = static_cast<float>(static_cast<double>(beam.x) + beam.vx);
  beam.attackPower -= 2;
  if (beam.attackPower < RowFor(kDecayingBeams, beam.behaviour).floor) beam.attackPower = 20;
  FreeObjectIfOffWorld(slot);
}

void SlideSideways(int slot) {
  GameObject& flash = ObjectPool[slot];
  flash.x = static_cast<float>(static_cast<double>(flash.x) + flash.vx);
}

// Flashes that fade by `step` a frame; the flickering ones swing on the strobe clock,
// the others end past a fade of 240.
struct FadingFlash {
  int id;
  double step;
  bool flickers;
};
constexpr FadingFlash kFadingFlashes[] = {
    {4034, 3.0, true}, {4035, 2.0, true}, {4036, 1.0, true}, {4030, 10.0, false}, {4109, 15.0, false},
};

void FadeFlash(int slot) {
  GameObject& flash = ObjectPool[slot];
  const FadingFlash& row = RowFor(kFadingFlashes, flash.behaviour);
  flash.fade = static_cast<float>(flash.fade + row.step);
  if (row.flickers) {
    flash.fade = static_cast<float>(flash.fade + ByFrameCycle(0.0f, -50.0f, 0.0f, 50.0f, 0.0f));
  } else if (flash.fade > 240.0) {
    ResetObject(slot);
  }
}

void Burst(int slot) {
  GameObject& burst = ObjectPool[slot];
  burst.x = static_cast<float>(static_cast<double>(Player().x) + burst.phase);
  burst.y = static_cast<float>(static_cast<double>(Player().y) + burst.phase2);
  burst.fade = ByFrameCycle(0.0f, 150.0f, 10.0f, 200.0f, burst.fade);
  if (burst.work[0] == 1.0f && SpeedLevel + TurboLevel >= 6) Fire(2196, burst, 0.0, 0.0, burst.facing, slot);
}

// MithrilPoint keeps to the height of the option that fired it (its slot in phase);
// with no such slot the shot has nothing to follow and ends.
void FollowOption(int slot) {
  GameObject& shot = ObjectPool[slot];
  shot.x = static_cast<float>(static_cast<double>(shot.x) + shot.vx);
  const int option = FloatToInt(shot.phase);
  if (option < 0 || option >= kPoolSize) {
    ResetObject(slot);
    return;
  }
  shot.y = ObjectPool[option].y;
  FreeObjectIfOffView(slot);
}

constexpr int kWispErasesPerBonus = 500;

bool Overlaps(const GameObject& a, const GameObject& b) {
  const int aw = a.hitWidth / 2, ah = a.hitHeight / 2;
  const int bw = b.hitWidth / 2, bh = b.hitHeight / 2;
  return static_cast<double>(a.x) + aw > static_cast<double>(b.x) - bw &&
         static_cast<double>(a.x) -
             aw<static_cast<double>(b.x) + bw&& static_cast<double>(a.y) + ah> static_cast<double>(b.y) - bh &&
         static_cast<double>(a.y) - ah < static_cast<double>(b.y) + bh;
}

// WispProjector: erases every live enemy bullet its box overlaps. An erased bullet
// fades as a cancelled one, standing still, with a row of its own.
void EraseBullets(int slot) {
  const GameObject& shot = ObjectPool[slot];
  for (int target = 0; target < kPoolSize; ++target) {
    GameObject& bullet = ObjectPool[target];
    if (bullet.category != kCategoryEnemyBullet || bullet.state != kStateActive || bullet.collidable != 1) continue;
    if (!Overlaps(bullet, shot)) continue;
    CancelBullet(target);
    bullet.animation = 322;
    bullet.vx = 0.0f;
    bullet.vy = 0.0f;
    WispEraseCount += 1;
    if (WispEraseCount == kWispErasesPerBonus) {
      AddInfoBonus(22, 31200);
      WispEraseCount = 0;
    }
  }
}

constexpr auto kEntries =
    JoinEntries(std::to_array<BehaviourEntry>({
                    {4001, &FlyStraight},
                    {4007, &FlyStraight},
                    {4009, &FlyStraight},
                    {4045, &FlyStraight},
                    {4049, &FlyStraight},
                    {4026, &FollowPlayerHeight},
                    {4043, &FollowPlayerHeight},
                    {4022, &Shrink},
                    {4010, &SlideSideways},
                    {4067, &Burst},
                    {4084, &FollowOption},
                    {4093, &EraseBullets},
                    // DragonScale-Variant stays where its template put it.
                    {4046, &NoBehaviour},
                    {4047, &NoBehaviour},
                    {4048, &NoBehaviour},
                }),
                EntriesFor(kAcceleratingShots, &Accelerate), EntriesFor(kTrailDroppers, &DropTrail),
                EntriesFor(kDecayingBeams, &Decay), EntriesFor(kFadingFlashes, &FadeFlash));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
