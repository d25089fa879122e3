// The ending's timeline: rows of (frame, action) in frame order, a frame's rows
// performed in the order written. Frames without a row do nothing.
#include <algorithm>
#include <array>

#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/sound_control.h"
#include "float_to_int.h"
#include "game_library.h"
#include "objects/objects.h"
#include "screens/ending_steps.h"

namespace {

constexpr int kPlayInBackground = 1;
constexpr int kFigureSlot = 12;
constexpr int kSecondSceneBackdrop = 1;
constexpr int kSecondSceneFadeIn = 260;

enum class Act {
  kSpawn,            // template, x, y, page (the fifth argument; parent slot 0 without one)
  kSpawnAtFigure,    // template, at the slot-12 figure's position
  kStopRecording,
  kFadeToBlack,
  kCreditPictures,   // fader state
  kStartMusic,
  kSecondScene,      // the second backdrop fades in over an emptied pool
  kJump,             // frames skipped
  kFigureAnimation,  // animation row of the slot-12 figure
  kSound,            // sound effect, volume
  kHandOver,
};

struct EndingRow {
  int frame;
  Act act;
  std::array<int, 4> values{};
};

constexpr EndingRow Spawn(int frame, int templateId, int x, int y, int page = 0) {
  return {frame, Act::kSpawn, {templateId, x, y, page}};
}
constexpr EndingRow Sound(int frame, int se, int volume) { return {frame, Act::kSound, {se, volume}}; }
constexpr EndingRow Do(int frame, Act act, int value = 0) { return {frame, act, {value}}; }

// Text pages of the first series (image set 22) on the right, of the second (set 23)
// on the left.
constexpr EndingRow FirstPage(int frame, int page) { return Spawn(frame, 2244, 770, 500, page); }
constexpr EndingRow SecondPage(int frame, int page) { return Spawn(frame, 2245, 260, 200, page); }

// clang-format off
constexpr EndingRow kTimeline[] = {
    Spawn(1, 2235, 260, 0), Do(1, Act::kStopRecording),
    Do(1400, Act::kFadeToBlack),
    Do(1700, Act::kCreditPictures, 1), Do(1700, Act::kStartMusic),
    Do(2500, Act::kSecondScene), Spawn(2500, 2241, 500, -200),
    FirstPage(3150, 0),
    Spawn(3250, 2242, 600, -100), Do(3250, Act::kJump, 240),
    Spawn(3820, 2243, 440, 800), Spawn(3820, 2247, 440, 800),
    FirstPage(4000, 1),
    Do(4100, Act::kFigureAnimation, 452),
    Spawn(4300, 2246, 512, 700),
    FirstPage(4600, 2),
    Do(4700, Act::kFigureAnimation, 456),
    SecondPage(4850, 0),
    FirstPage(5050, 3), SecondPage(5300, 1), FirstPage(5550, 4), SecondPage(5800, 2),
    FirstPage(6050, 5), SecondPage(6300, 3), FirstPage(6550, 6), SecondPage(6800, 4),
    FirstPage(7050, 7), SecondPage(7300, 5), FirstPage(7550, 8),
    Do(7700, Act::kFigureAnimation, 452),
    SecondPage(7800, 6), FirstPage(8050, 9),
    Do(8250, Act::kFigureAnimation, 456),
    SecondPage(8301, 7), FirstPage(8550, 10), SecondPage(8800, 8), FirstPage(9050, 11),
    Do(9200, Act::kSpawnAtFigure, 2248), Do(9200, Act::kFigureAnimation, 453),
    SecondPage(9300, 9), FirstPage(9550, 12),
    Do(9800, Act::kFigureAnimation, 454),
    SecondPage(9801, 10), FirstPage(10050, 13), SecondPage(10300, 11), FirstPage(10550, 14),
    SecondPage(10800, 12),
    Sound(11600, 48, 255), Do(11600, Act::kFadeToBlack),
    Sound(11730, 48, 200), Sound(11760, 48, 155), Sound(11790, 48, 100), Sound(11820, 48, 80),
    Sound(11830, 8, 250), Sound(11850, 48, 50), Sound(11881, 48, 20),
    Do(12100, Act::kCreditPictures, 5),
    Do(13300, Act::kHandOver),
};
// clang-format on
static_assert(std::ranges::is_sorted(kTimeline, {}, &EndingRow::frame));

void StartSecondScene() {
  EndingBackdrop = kSecondSceneBackdrop;
  EndingScroll = 0;
  DeathFrames = 0;
  EndingFadeIn = kSecondSceneFadeIn;
  for (int slot = 0; slot < kPoolSize; ++slot) ResetObject(slot);
}

void StartMusic() {
  BgmVolume[kEndingMusicChannel] = 255.0f;
  if (BgmHandles[kEndingMusicChannel] != kNoHandle) StartSound(BgmHandles[kEndingMusicChannel], kPlayInBackground, 1);
}

void SetFigureAnimation(int animation) {
  ObjectPool[kFigureSlot].animation = animation;
  ObjectPool[kFigureSlot].animStep = 0;
}

void Perform(const EndingRow& row) {
  const auto& [first, second, third, fourth] = row.values;
  const GameObject& figure = ObjectPool[kFigureSlot];
  switch (row.act) {
    case Act::kSpawn: CreateObject(first, second, third, 0, fourth); break;
    case Act::kSpawnAtFigure: CreateObject(first, FloatToInt(figure.x), FloatToInt(figure.y), 0, 0); break;
    case Act::kStopRecording: ReplayMode = kReplayOff; break;
    case Act::kFadeToBlack: DeathFrames = 1; break;
    case Act::kCreditPictures: CreditPictureState = first; break;
    case Act::kStartMusic: StartMusic(); break;
    case Act::kSecondScene: StartSecondScene(); break;
    case Act::kJump: StageTimeline += first; break;
    case Act::kFigureAnimation: SetFigureAnimation(first); break;
    case Act::kSound: PlaySe(first, second); break;
    case Act::kHandOver: HandEndingOverToResults(); break;
  }
}

}  // namespace

void PerformEndingRows(int frame) {
  const auto byFrame = [](const EndingRow& row, int f) { return row.frame < f; };
  const EndingRow* row = std::lower_bound(std::begin(kTimeline), std::end(kTimeline), frame, byFrame);
  for (; row != std::end(kTimeline) && row->frame == frame; ++row) Perform(*row);
}
