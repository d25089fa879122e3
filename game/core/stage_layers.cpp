#include "core/stage_layers.h"

namespace {

constexpr int kOnce[] = {0};
constexpr int kTiles2001[] = {0, 2001, 4002, 6003, 8004};
constexpr int kTiles2001Four[] = {0, 2001, 4002, 6003};
constexpr int kStage3Far[] = {0, 1201, 2402, 3603, 3604, 4805, 5006, 6207};
constexpr int kTiles2501[] = {0, 2501, 5002, 7503};
constexpr int kTiles1024[] = {0, 1024, 2048, 3072, 4096, 5120, 6144, 7168};
constexpr int kTiles1024Seven[] = {0, 1024, 2048, 3072, 4096, 5120, 6144};
constexpr int kStage4Strip[] = {1024, 0};
constexpr int kTiles1025[] = {0, 1025, 2050};
constexpr int kTiles1001[] = {0, 1001, 2002, 3003, 4004, 5005, 6006};
// Stage 7's far picture again beside itself: the camera and its scroll shift it by up
// to 5376 + 2048.
constexpr int kTiles2048[] = {0, 2048, 4096, 6144, 8192};

constexpr StageWord kNone{};
constexpr StageWord kFlicker{2, 1};  // also stage 3 and 4's red flash counter
constexpr StageWord kStage6Progress{4, 3};

const StageLayer kStageLayers[] = {
    {1, 0, kOnce, 2.0f, 2.0f, kNone, 1, 255, 0.0f, kNone},
    {1, 1, kTiles2001, 1.0f, 1.0f, kNearScroll, 1, 200, 1.0f, kFlicker},
    {2, 0, kOnce, 2.0f, 2.0f, kNone, 1, 255, 0.0f, kNone},
    {2, 1, kTiles2001, 1.0f, 1.0f, kNearScroll, 1, 200, 1.0f, kFlicker},
    {3, 0, kStage3Far, 4.0f, 4.0f, kNearScroll, 1, 255, 0.0f, kNone},
    {3, 1, kTiles2501, 1.0f, 1.0f, {1, 1}, 1, 255, 0.0f, kNone},
    {3, 2, kOnce, 0.0f, 0.0f, kNone, 1, 255, 0.0f, kNone},
    {4, 0, kTiles1024, 4.0f, 4.0f, kNearScroll, 1, 255, 0.0f, kNone},
    {4, 1, kTiles2001, 1.0f, 1.0f, {1, 1}, 1, 200, 1.0f, kFlicker},
    {4, 2, kStage4Strip, 0.0f, 0.0f, {1, 4}, 1, 170, 0.0f, kNone},
    {5, 0, kOnce, 5.8f, 5.8f, kNone, 1, 255, 0.0f, kNone},
    {5, 1, kTiles1025, 5.8f, 5.8f, {1, 1}, 1, 255, 0.0f, kNone},
    {5, 2, kTiles1025, 5.8f, 5.8f, {1, 2}, 1, 255, 0.0f, kNone},
    {5, 3, kTiles1025, 5.8f, 5.8f, {1, 4}, 1, 255, 0.0f, kNone},
    {5, 7, kOnce, 0.0f, 0.0f, kNone, 2, -12200, 1.0f, {4, 1}},
    {6, 1, kTiles1024Seven, 4.0f, 4.0f, kNone, 1, 255, 0.0f, kNone},
    {6, 4, kTiles1001, 2.0f, 2.0f, {1, 4}, 1, 255, 0.0f, kNone},
    {6, 0, kOnce, 6.5f, 6.5f, kNone, 1, 255, -0.05, kStage6Progress},
    {6, 2, kTiles2001Four, 1.2f, 1.2f, {1, 2}, 1, 180, -0.005, kStage6Progress},
    {6, 3, kOnce, 0.0f, 0.0f, kNone, 2, 255, -0.05, kStage6Progress},
    {6, 5, kOnce, 0.0f, 0.0f, kNone, 1, -255, 0.05, kStage6Progress},
    {7, 0, kTiles2048, 1.0f, 2.0f, {5, 1}, 1, 255, 0.0f, kNone, true},
    {7, 6, kTiles2001, 1.0f, 1.0f, {5, 4}, 1, 255, 0.0f, kNone},
    {7, 7, kOnce, 0.0f, 0.0f, kNone, 1, 0, 1.0f, {5, 3}},
    {7, 10, kOnce, 0.0f, 0.0f, kNone, 1, 0, 1.0f, {5, 5}},
};

constexpr StageLayer kStage8Backdrop = {8, 0, kOnce, 0.0f, 4.0f, kNone, 1, 255, 0.0f, kNone};

}  // namespace

std::span<const StageLayer> StageLayers() { return kStageLayers; }

const StageLayer& Stage8Backdrop() { return kStage8Backdrop; }

bool IsStageGround(int stage, int picture) {
  if (stage == 8) return picture >= 0 && picture < kStage8BackdropPhases;
  for (const StageLayer& layer : kStageLayers) {
    if (layer.stage == stage) return layer.picture == picture;
  }
  return false;
}
