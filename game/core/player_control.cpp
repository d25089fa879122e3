// The control routine's order of steps, and its flight and camera steps.
#include "core/player.h"

#include "core/game_state.h"
#include "core/input.h"
#include "core/player_control_steps.h"
#include "game_library.h"

namespace {

// The player's centre stays in the 6400 x 1920 world; the camera shows 1024 x 768 of it.
constexpr float kPlayerMinX = 32.0f, kPlayerMaxX = 6368.0f;
constexpr float kPlayerMinY = 32.0f, kPlayerMaxY = 1888.0f;
constexpr float kCameraMaxX = 5376.0f, kCameraMaxY = 1152.0f;
constexpr float kCameraLeftEdge = 0.01f, kCameraRightEdge = 5375.99f;
constexpr float kCameraTopEdge = 0.01f, kCameraBottomEdge = 1151.9f;
constexpr double kLeadBehindRight = 384.0, kLeadBehindLeft = 640.0, kLeadStep = 2.1;
constexpr double kGaugeScale = 321.0;
constexpr float kRamSpeed = 6000.0f;

bool Held(int bitHold) { return BitHold[bitHold] >= 1; }
constexpr int kHoldUp = 0, kHoldDown = 1, kHoldLeft = 2, kHoldRight = 3;

float Clamp(float value, float below, float belowValue, float above, float aboveValue) {
  if (value < below) return belowValue;
  if (value > above) return aboveValue;
  return value;
}

}  // namespace

bool ControlSuspended() { return ScenePhase == 1 || Paused == 1; }

void ComputeMoveSpeed(ControlFrame& frame) {
  frame.speed = SpeedLevel * 1.4 + 4.0 + 2 * PowerModeB + 9 * PowerModeA + 1.6 * NoUpgradePerk;
  frame.push = frame.speed + BoostSpeed;
  frame.drift = SpeedLevel / 16 + 0.6;
}

void TurnByInput() {
  if (FacingLock != 0) return;
  GameObject& player = ObjectPool[kPlayerSlot];
  const double swing = 1.2 + 0.2 * (SpeedLevel + TurboLevel);
  if (Held(kHoldLeft) && player.facing == 0) {
    player.facing = 1;
    TurnSpeed = static_cast<float>(-swing);
    PlayerIdleTimer = 1;
  }
  if (Held(kHoldRight) && player.facing == 1) {
    player.facing = 0;
    TurnSpeed = static_cast<float>(swing);
    PlayerIdleTimer = 1;
  }
}

// Tested where the player stands before it moves. A facing lock widens the horizontal
// windows beyond the player's own range (in floating point: a held lock counts up).
void PushCameraByInput(const ControlFrame& frame) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  const double widen = 320.0 * FacingLock;
  if (BitHold[kHoldUp] > 0 && player.y >= 320.0f && player.y <= 1470.0f) {
    CameraY = static_cast<float>(CameraY - frame.push);
  }
  if (BitHold[kHoldDown] > 0 && player.y >= 340.0f && player.y <= 1472.0f) {
    CameraY = static_cast<float>(CameraY + frame.push);
  }
  if (Held(kHoldLeft) && player.x >= 160.0 - widen && player.x <= 6080.0f) {
    CameraX = static_cast<float>(CameraX - frame.push);
  }
  if (Held(kHoldRight) && player.x <= 6240.0 + widen && player.x >= 320.0f) {
    CameraX = static_cast<float>(CameraX + frame.push);
  }
}

void DecayTurnSwing() {
  if (ObjectPool[kPlayerSlot].facing == 0) {
    TurnSpeed = static_cast<float>(TurnSpeed - 0.1);
    if (TurnSpeed <= 0.5f) TurnSpeed = 0.0f;
  } else {
    TurnSpeed = static_cast<float>(TurnSpeed + 0.1);
    if (TurnSpeed >= -0.5f) TurnSpeed = 0.0f;
  }
}

void LeadCamera() {
  const GameObject& player = ObjectPool[kPlayerSlot];
  if (player.facing == 0 && player.x >= CameraX + kLeadBehindRight) {
    CameraX = static_cast<float>(CameraX + kLeadStep);
    CameraX += TurnSpeed;
  } else if (player.facing == 1 && player.x <= CameraX + kLeadBehindLeft) {
    CameraX = static_cast<float>(CameraX - kLeadStep);
    CameraX += TurnSpeed;
  }
}

void ClampCamera() {
  CameraX = Clamp(CameraX, 0.0f, kCameraLeftEdge, kCameraMaxX, kCameraRightEdge);
  CameraY = Clamp(CameraY, 0.0f, kCameraTopEdge, kCameraMaxY, kCameraBottomEdge);
}

void AutoScrollPlayer(const ControlFrame& frame) {
  GameObject& player = ObjectPool[kPlayerSlot];
  player.x = static_cast<float>(player.facing == 0 ? player.x + frame.drift : player.x - frame.drift);
}

void MovePlayerByInput(ControlFrame& frame) {
  GameObject& player = ObjectPool[kPlayerSlot];
  frame.moved = false;
  const struct {
    int hold;
    float* axis;
    double sign;
  } kDirections[] = {{kHoldUp, &player.y, -1.0}, {kHoldDown, &player.y, 1.0},
                     {kHoldLeft, &player.x, -1.0}, {kHoldRight, &player.x, 1.0}};
  for (const auto& direction : kDirections) {
    if (!Held(direction.hold)) continue;
    *direction.axis = static_cast<float>(*direction.axis + direction.sign * frame.push);
    frame.moved = true;
  }
}

void ClampPlayer() {
  GameObject& player = ObjectPool[kPlayerSlot];
  player.x = Clamp(player.x, kPlayerMinX, kPlayerMinX, kPlayerMaxX, kPlayerMaxX);
  player.y = Clamp(player.y, kPlayerMinY, kPlayerMinY, kPlayerMaxY, kPlayerMaxY);
}

// While the player steers, the trail records its path; while it only drifts, the
// whole trail slides with the scroll.
void UpdatePlayerTrail(const ControlFrame& frame) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  PlayerTrailX[0] = player.x;
  PlayerTrailY[0] = player.y;
  const double slide = player.facing == 0 ? frame.drift : -frame.drift;
  for (int i = kTrailLength - 1; i >= 1; --i) {
    if (frame.moved) {
      PlayerTrailX[i] = PlayerTrailX[i - 1];
      PlayerTrailY[i] = PlayerTrailY[i - 1];
    } else {
      PlayerTrailX[i] = static_cast<float>(PlayerTrailX[i] + slide);
    }
  }
}

void UpdateSpeedGauge(const ControlFrame& frame) {
  const bool moving = Held(kHoldUp) || Held(kHoldDown) || Held(kHoldLeft) || Held(kHoldRight);
  SpeedGauge = static_cast<float>(((moving ? frame.speed : 0.0) + 0.6 + SpeedLevel / 16 + BoostSpeed) * kGaugeScale);
  if (SpeedGauge > static_cast<float>(MaxSpeed)) MaxSpeed = FloatToInt(SpeedGauge);
}

// Above ram speed the dragon's body hurts what it touches.
void UpdateRamObject() { ObjectPool[kRamSlot].state = SpeedGauge > kRamSpeed ? kStateActive : kStateFree; }

void UpdatePlayerControl() {
  PauseOnPress();
  RefusePause();
  if (ServePausePage()) return;
  if (ControlSuspended()) {
    RunOutDeath();
    return;
  }
  ControlFrame frame;
  ComputeMoveSpeed(frame);
  TurnByInput();
  PushCameraByInput(frame);
  DecayTurnSwing();
  LeadCamera();
  ClampCamera();
  AutoScrollPlayer(frame);
  MovePlayerByInput(frame);
  ClampPlayer();
  UpdatePlayerTrail(frame);
  UpdateDash();
  ChargeTurbo();
  FastGuardRecharge();
  UpdateFacingLock();
  FullUpgradeTrickle();
  TriggerPlayerShots();
  UpdateCoinMagnet();
  SpendLevelUp();
  RechargeGuard();
  CountDownVibration();
  CoinPullTrickle();
  UpdateSpeedGauge(frame);
  UpdateRamObject();
  BlinkWhileInvulnerable();
  UpdateSlowdowns();
  CheckPlayerDeath();
  ReadPlaybackSpeedKeys();
}
