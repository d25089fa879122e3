// How each ShotCode (10 x type + level) fires: its reload cadence, its burst, the shot
// templates it creates and its sound.
#pragma once

// Where a shot is created and which way it faces: the templates place their shots
// at the player themselves (given 0, 0); one is given the player's position.
enum class ShotAim { kPlayerFacing, kFacingRight, kAtPlayer };
// Silent, the sound after the shot, or the sound first at a random volume 0..100.
enum class ShotSound { kNone, kAfterShot, kRandomVolumeFirst };

// The second pair of the first type's levels 1 to 3: its own reload (idle 5, reload
// 30, burst 1, spacing 3) and shot, with the firing sound.
struct SecondShot {
  int stepBase;  // step = stepBase + 2 x NoUpgradePerk
  int shot;      // 0: no second pair
  ShotAim aim;
  bool fasterWhileDashing;
};

struct ShotRow {
  int code;
  int stepBase;     // reload frames taken per frame: stepBase + stepPerPerk x NoUpgradePerk
  int stepPerPerk;
  int idle;         // taken besides while the fire button rests
  int reload;
  int burst;        // shots per burst
  int spacing;      // frames between the shots of a burst
  int shot;
  int pairedShot;   // created right after the shot, 0 none
  ShotAim aim;
  ShotSound sound;
  int se;
  SecondShot second;
};

// The row of a code, or null for codes without one (which fire nothing).
const ShotRow* FindShotRow(int code);

constexpr int kSecondShotIdle = 5;
constexpr int kSecondShotReload = 30;
constexpr int kSecondShotBurst = 1;
constexpr int kSecondShotSpacing = 3;
constexpr int kSecondShotSe = 12;
