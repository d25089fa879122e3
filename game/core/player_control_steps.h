// The steps of UpdatePlayerControl, in the order it runs them, one function each so
// that a test can run any of them alone. Steps 5 to 31 share the frame's movement
// figures; step 4 decides whether they run at all.
#pragma once

// What the movement steps work out for the frame they run in.
struct ControlFrame {
  double speed = 0.0;  // pixels per frame of a held direction, before the dash
  double push = 0.0;   // speed + BoostSpeed
  double drift = 0.0;  // the auto-scroll step
  bool moved = false;  // a direction was held
};

// Pause and the pause page.
void PauseOnPress();                 // 1
void RefusePause();                  // 2
// 3; true when it quit to the title, which ends the frame's control.
bool ServePausePage();
bool ControlSuspended();             // 4: dead or paused, only the run-out runs
// Flight and camera.
void ComputeMoveSpeed(ControlFrame& frame);    // 5
void TurnByInput();                            // 6
void PushCameraByInput(const ControlFrame& frame);  // 7
void DecayTurnSwing();                         // 8
void LeadCamera();                             // 9
void ClampCamera();                            // 10
void AutoScrollPlayer(const ControlFrame& frame);   // 11
void MovePlayerByInput(ControlFrame& frame);   // 12
void ClampPlayer();                            // 13
void UpdatePlayerTrail(const ControlFrame& frame);  // 14
// Actions (player_actions.cpp, player_guard.cpp, player_shots.cpp).
void UpdateDash();                   // 15
void ChargeTurbo();                  // 16
void FastGuardRecharge();            // 17
void UpdateFacingLock();             // 18
void FullUpgradeTrickle();           // 19
void TriggerPlayerShots();           // 20
void UpdateCoinMagnet();             // 21
void SpendLevelUp();                 // 22
void RechargeGuard();                // 23
void CountDownVibration();           // 24
void CoinPullTrickle();              // 25
// Gauges.
void UpdateSpeedGauge(const ControlFrame& frame);  // 26
void UpdateRamObject();              // 27
void BlinkWhileInvulnerable();       // 28
void UpdateSlowdowns();              // 29
void CheckPlayerDeath();             // 30
void ReadPlaybackSpeedKeys();        // 31
void RunOutDeath();                  // 32

// The fade of the last slow-down, in steps 29 and 32.
void DecaySlowdown();
