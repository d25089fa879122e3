// Input mapping: the frame's InputWord from the pad and keyboard (or the replay),
// the hold counters of the input bits and of the five configured actions, and the
// recording and playback of replays one word per frame.
#pragma once

// Input bits of an InputWord.
constexpr int kInputDown = 1;
constexpr int kInputLeft = 2;
constexpr int kInputRight = 4;
constexpr int kInputUp = 8;
constexpr int kFirstButtonBit = 16;    // button 1
constexpr int kLastButtonBit = 8192;   // button 10
constexpr int kPadWithKeyboard = 0x1001;

// Indices of ActionHold, ActiveKeyMap and KeyConfig.
constexpr int kActionFire = 0;
constexpr int kActionSecond = 1;
constexpr int kActionSpecial = 2;
constexpr int kActionFacing = 3;
constexpr int kActionPause = 4;

// The player's animation row while it turns after a hit.
constexpr int kHitTurnAnimation = 26;

void ReadInput();
// Zeroes the bit counters and the counts of actions 1 to 4; action 5 keeps its count.
void ClearInputHoldCounters();
void AssignKey(int oldBit, int newBit);

// True for one of the ten button bits 16..8192.
bool IsButtonBit(int bit);
// True when each of the kActionCount actions has a button of its own.
bool IsKeyMap(const int* keys);
