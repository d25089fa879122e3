// The third action's specials: the stock charge (flash and blast), the gauge charge,
// the held special they turn into with its overdrive auras and sparks, and the
// turbo-charge ring, the speed ram aura and the burst flare.
#include "core/game_rules.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr int kCoinBehaviour = 3008;
constexpr int kChargeSound = 81;
constexpr int kAuraHum = 85;
constexpr int kAuraSpark = 2179;
constexpr int kAuraLife = 1100;

void FollowPlayer(GameObject& object) {
  object.x = Player().x;
  object.y = Player().y;
}

void AtPlayer(int templateId, int parameter) { Fire(templateId, Player(), 0.0, 0.0, Player().facing, parameter); }

void HideWingShadow() {
  ObjectPool[kWingShadowSlot].x = -100.0f;
  ObjectPool[kWingShadowSlot].y = -100.0f;
}

// What every charge frame starts with: the power mode on and its clock on.
GameObject& Charging(int slot) {
  PowerModeA = 1;
  ObjectPool[slot].timer += 1;
  return ObjectPool[slot];
}

// The two ways into the held special differ only in these values.
struct HeldSpecialRoute {
  int slowdownAbove;
  int slowdown;
  int strongSlowdownAbove;
  int strongSlowdown;
  int auraTemplate;
  double invincibleBonus;
  bool paidFromGauge;  // chain time from the gauge, which empties; else chips restart
};
constexpr HeldSpecialRoute kStockRoute{1500, 10, 2500, 14, 2178, 180.0, false};
constexpr HeldSpecialRoute kGaugeRoute{1000, 10, 2000, 15, 2194, 60.0, true};

void StartHeldSpecial(int slot, const HeldSpecialRoute& route) {
  VibratePad(1000, 60);
  if (ActiveObjectCount > route.slowdownAbove) RequestSlowdown(route.slowdown);
  if (ActiveObjectCount > route.strongSlowdownAbove) RequestSlowdown(route.strongSlowdown);
  AtPlayer(2004, 0);
  AtPlayer(route.auraTemplate, route.paidFromGauge ? FloatToInt(ExpGauge) : 0);
  CancelAllBullets();
  StopSound(SeHandles[kChargeSound]);
  PlaySe(82, 255);
  ScreenFlash = 250.0f;
  AddTo(InvincibleTimer, route.invincibleBonus);
  if (route.paidFromGauge) {
    ChainTimer = DoubleToInt(ExpGauge * 11.0 + 1000.0);
    ExpGauge = 0.0f;
  } else {
    ChipCount = 0;
    ChainTimer = 2100;
  }
  BssUsed += 1;
  SsUsed -= 1;
  if (KillChain > 0) KillChain = KillChain / 3;
  if (HitLevel == 0.0f) HitLevel = 1.0f;
  PowerModeA = 0;
  HideWingShadow();
  PowerModeB = 1;
  ResetObject(slot);
}

void ChargeFlash(int slot) {
  GameObject& flash = Charging(slot);
  FollowPlayer(flash);
  AddTo(flash.fade, -4.0);
  AddTo(flash.scaleDelta, -0.2);
  MainShotBurst = 0;
  SubShotBurst = 0;
  InvincibleTimer = 10.0f;
  if (flash.scaleDelta < -1.0f) {
    PowerModeA = 0;
    ResetObject(slot);
  }
}

void ChargeBlast(int slot) {
  GameObject& blast = Charging(slot);
  FollowPlayer(blast);
  AddTo(blast.scaleDelta, blast.phase2);
  AddTo(blast.phase2, -0.0003);
  AddTo(blast.phase, 1.0);
  AddTo(blast.fade, 0.73);
  if (blast.phase < 180.0f) {
    MainShotBurst = 10;
    SubShotBurst = 10;
    VibratePad(1000, 1);
    if (ActiveObjectCount > 1600) RequestSlowdown(8);
  }
  InvincibleTimer = 10.0f;
  if (GuardValue > 0.0f) AddTo(GuardValue, -0.15);
  bool stands = true;
  if (blast.phase > 340.0f) {
    ResetObject(slot);
    stands = false;
    InvincibleTimer = 120.0f;
    PlayerInvulnerableBlink = 0.0f;
    Player().fade = 0.0f;
    PowerModeA = 0;
    HideWingShadow();
  }
  if (stands && blast.phase > 240.0f) {
    blast.category = kCategoryEffect;
    CancelAllBullets();
  }
  for (GameObject& object : ObjectPool) {
    if (object.behaviour == kCoinBehaviour) object.phase = 2.0f;
  }
  if (stands && blast.timer == 1 && ActionHold[2] > 40) StartHeldSpecial(slot, kStockRoute);
}

void GaugeCharge(int slot) {
  GameObject& charge = Charging(slot);
  AddTo(charge.phase, 1.0);
  AddTo(charge.fade, charge.phase < 20.0f ? -10.0 : 10.0);
  FollowPlayer(charge);
  AddTo(charge.scaleDelta, -static_cast<double>(charge.phase2));
  if (charge.fade <= 255.0f) return;
  if (ActionHold[2] > 20) {
    StartHeldSpecial(slot, kGaugeRoute);
  } else {
    PowerModeA = 0;
    ResetObject(slot);
  }
}

// The stock aura (4096) and the gauge aura (4113).
struct OverdriveAura {
  int id;
  double guardDrain;
  int strongSlowdownAbove;
};
constexpr OverdriveAura kAuras[] = {{4096, 0.1, 3000}, {4113, 0.0, 2000}};

// Sparks a frame: 2, then 2 more past each of these ages, and 3 more past 900.
constexpr int kSparkAges[] = {200, 500, 700};

void ThrowSparks(GameObject& aura) {
  int sparks = 2;
  for (const int age : kSparkAges) {
    if (aura.timer > age) sparks += 2;
  }
  if (aura.timer > 900) {
    AddTo(aura.scaleDelta, -0.001);
    sparks += 3;
  }
  for (int i = 0; i < sparks; ++i) AtPlayer(kAuraSpark, 0);
}

void Overdrive(int slot) {
  GameObject& aura = ObjectPool[slot];
  const OverdriveAura& row = RowFor(kAuras, aura.behaviour);
  AddTo(aura.scaleDelta, -0.0005);
  FollowPlayer(aura);
  AddTo(aura.angle, 0.012);
  aura.timer += 1;
  if (IsSoundPlaying(SeHandles[kAuraHum]) == 0) PlaySe(kAuraHum, 200);
  if (row.guardDrain > 0.0 && GuardValue > 0.0f) AddTo(GuardValue, -row.guardDrain);
  ThrowSparks(aura);
  if (aura.timer == 900) {
    PlaySe(84, 255);
    ScreenFlash = 30.0f;
  }
  if (aura.timer == 1080) PlaySe(83, 255);
  if (ChainTimer > 600) PowerModeB = 1;
  if (aura.timer > kAuraLife) {
    VibratePad(1000, 30);
    if (ActiveObjectCount > 1000) RequestSlowdown(10);
    if (ActiveObjectCount > row.strongSlowdownAbove) RequestSlowdown(14);
    PowerModeB = 0;
    ScreenFlash = 140.0f;
    AddTo(aura.fade, 8.0);
    AddTo(aura.scaleDelta, -0.004);
    InvincibleTimer = 180.0f;
    PlayerInvulnerableBlink = 0.0f;
    CancelAllBullets();
    if (aura.fade > 255.0f) ResetObject(slot);
  }
  if (Lives == 0.0f) {
    PowerModeB = 0;
    ResetObject(slot);
  }
}

void OverdriveRing(int slot) {
  GameObject& ring = ObjectPool[slot];
  AddTo(ring.scaleDelta, -0.0003);
  FollowPlayer(ring);
  AddTo(ring.angle, 0.03);
  ring.timer += 1;
  if (TimelineHalt > 0.0f) ring.timer += 30;
  if (ring.timer > 900) AddTo(ring.scaleDelta, -0.001);
  if (ring.timer > kAuraLife) {
    AddTo(ring.fade, 8.0);
    AddTo(ring.scaleDelta, -0.005);
    if (ring.fade > 255.0f) ResetObject(slot);
  }
  if (Lives == 0.0f) ResetObject(slot);
}

void AuraSpark(int slot) {
  GameObject& spark = ObjectPool[slot];
  MoveAndSlow(spark, 1.4);
  if (PowerModeB == 0) AddTo(spark.fade, 50.0);
}

void TurboChargeRing(int slot) {
  GameObject& ring = ObjectPool[slot];
  AddTo(ring.angle, -0.02);
  AddTo(ring.fade, -15.0);
  FollowPlayer(ring);
  if (TurboCharge < TurboChargeNeeded) ResetObject(slot);
}

// The faster the player, the more opaque.
void RamAura(int slot) {
  GameObject& aura = ObjectPool[slot];
  FollowPlayer(aura);
  aura.facing = Player().facing;
  aura.fade = static_cast<float>(6000.0 - SpeedReadout / 1.2);
}

void BurstFlare(int slot) {
  GameObject& flare = ObjectPool[slot];
  AddTo(flare.fade, 30.0);
  AddTo(flare.scaleDelta, 0.15);
  AddTo(flare.fade, ByFrameCycle(40.0f, -40.0f, 80.0f, -80.0f, 0.0f));
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({
                                          {4051, &ChargeFlash},
                                          {4052, &ChargeBlast},
                                          {4112, &GaugeCharge},
                                          {4098, &OverdriveRing},
                                          {4097, &AuraSpark},
                                          {4170, &TurboChargeRing},
                                          {4124, &RamAura},
                                          {4088, &BurstFlare},
                                      }),
                                      EntriesFor(kAuras, &Overdrive));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
