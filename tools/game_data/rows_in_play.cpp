#include "rows_in_play.h"

namespace {

// Only the sheets whose cells are drawn by role (bullets, shots, effects) are listed.
constexpr RowsInPlay kRows[] = {
    // Set by the pool and behaviours after the object was made.
    {0, 395, 395, CellRole::kCoin},           // a bullet turned into a chip (ConvertBulletsToChips)
    {0, 329, 329, CellRole::kCoin},           // a chip's pick-up (ScoreChip)
    {0, 34, 34, CellRole::kCoin},             // a coin's pick-up (FallAndHome)
    {40, 34, 34, CellRole::kCoin},            // an EXP chip's pick-up (FallAndHome)
    {0, 117, 117, CellRole::kEffect},         // a cancelled bullet's fade (CancelBullet, ShowBulletFade)
    {0, 322, 322, CellRole::kEffect},         // a bullet the WispProjector erased (EraseBullets)
    {42, 400, 400, CellRole::kEnemyBullet},   // a waiting bullet that starts homing (WaitThenHome)
    {7, 267, 272, CellRole::kEffect},         // trails of sparks and debris: 267 + R(5) passed to 2142, 2144
    {0, 324, 324, CellRole::kEffect},         // the score bubble's afterimage 2110 takes the bubble's row
    {13, 366, 366, CellRole::kPlayerShot},    // the ram the new game keeps in its fixed slot (SetUpRam)
    // Made at the dragon by the behaviour that starts the held special (2004 elsewhere
    // takes its place from its caller too).
    {3, 5, 5, CellRole::kHalo},               // the swelling ring 2004
    // Drawn at random by the template.
    {0, 51, 68, CellRole::kEffect},           // debris 2016 and the hit sparks 2094: 51 + R(17)
    {1, 36, 50, CellRole::kEffect},           // debris 2015, 2208: 36 + R(14)
    {2, 69, 76, CellRole::kEffect},           // debris 2017, 2145: 69 + R(7)
    {2, 77, 80, CellRole::kEffect},           // debris 2018, large pieces: 77 + R(3)
    {1, 81, 90, CellRole::kEffect},           // debris 2018, small pieces: 81 + R(9)
    {3, 2, 4, CellRole::kEffect},             // appearance swirls 2002, 2168 and core sparks 2228: 2 + R(2)
    {42, 2, 4, CellRole::kEffect},            // the same on stage 8
    {0, 135, 138, CellRole::kEffect},         // blast sparks 2059-2061: 135 + R(3)
    {0, 161, 166, CellRole::kEffect},         // guard sparks 2093: 161 + R(5)
    {7, 213, 221, CellRole::kEffect},         // particles 2122, 2129: 213 + R(8)
    {2, 149, 158, CellRole::kPlayerShot},     // the DragonScale-Variant's burst ahead: 149 + R(9)
    {6, 294, 296, CellRole::kRain},           // stage 4 rain 2161: 294 + R(2)
    {40, 340, 349, CellRole::kEffect},        // burst sparks 2196, embers 2231, shards 2210: 340 + R(9 or 2)
    {40, 375, 384, CellRole::kEffect},        // embers 2211: 375 + R(9)
    {40, 403, 404, CellRole::kEffect},        // wreck sparks 2232: 403 + R(1)
    {40, 351, 355, CellRole::kScenery},       // stage 7 particles 2201: 351 + R(4)
    {40, 357, 358, CellRole::kScenery},       // rising specks 2204: 357 + R(1)
    // Taken from the game's state when the template is made.
    {3, 183, 192, CellRole::kEffect},         // the coin milestone pop-up 2111, by Coins
    {7, 194, 201, CellRole::kEffect},         // the level-up pop-up 2113: LevelUpCount (1 to 8) + 193
    {40, 291, 292, CellRole::kOption},        // the options 2152-2155, 2197, 2198, by OptionShot
    {40, 321, 321, CellRole::kOption},
    {13, 371, 371, CellRole::kDecoration},    // the appearance's centre 2002, 2168 on stage 8
    {6, 319, 319, CellRole::kScenery},        // the glow 2169 adds on stage 5 beside a piece of row 307
};

}  // namespace

std::span<const RowsInPlay> RowsShownInPlay() { return kRows; }
