// Every template placed in play and followed through its first frames: no animation
// row that one of its drawn records holds passes through a sheet cell that carries
// words, such as the label the display takes from a sheet of sprites.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/animation.h"
#include "core/collision_lists.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/resource_table.h"
#include "game_library.h"
#include "objects/object_factory.h"
#include "objects/objects.h"
#include "pool_fixture.h"
#include "word_boxes.h"

namespace {

constexpr int kFramesFollowed = 90;
constexpr int kLastPlayStage = 8;
constexpr int kEndingStage = 9;
constexpr int kDrawnLayers = 10;
// Where a template is placed: in view of a fresh game's camera, near the player.
constexpr int kPlaceX = 600, kPlaceY = 400;

// The stages a stage family's templates are placed in, or none for a family that
// every stage shares.
std::vector<int> OwnStages(std::string_view family) {
  const std::pair<std::string_view, std::vector<int>> kOwnStages[] = {
      {"Stage1And2Templates", {1, 2}}, {"Stage3And4Templates", {3, 4}}, {"Stage5And6Templates", {5, 6}},
      {"Stage7Templates", {7}},        {"Stage8Templates", {8}},        {"EndingTemplates", {kEndingStage}}};
  for (const auto& [name, stages] : kOwnStages) {
    if (name == family) return stages;
  }
  return {};
}

bool LoadsAnyOf(int stage, const std::set<int>& imageSets) {
  for (const SpriteSheet& sheet : StageResources(stage).sheets) {
    if (imageSets.count(sheet.imageSet)) return true;
  }
  return false;
}

// The pictures that may fill an image set in a stage: the stage's own sheets (either
// variant), else the common sheet of that set.
std::vector<PictureFile> PicturesOf(int imageSet, int stage) {
  std::vector<PictureFile> pictures;
  for (const SpriteSheet& sheet : StageResources(stage).sheets) {
    if (sheet.imageSet == imageSet) pictures.push_back(sheet.picture);
  }
  if (!pictures.empty()) return pictures;
  for (const SpriteSheet& sheet : kCommonSheets) {
    if (sheet.imageSet == imageSet) pictures.push_back(sheet.picture);
  }
  return pictures;
}

// (image set, animation row) of every record the display draws or will draw.
using Shown = std::set<std::pair<int, int>>;

struct InUse {
  int records = 0, waiting = 0;
};

// The rows of the records below slot `end` on drawn layers, waiting or active; then
// the animation step the drawing pass gives the active ones.
InUse NoteAndStep(Shown& shown, int end) {
  InUse inUse;
  for (int slot = 0; slot < end; ++slot) {
    const GameObject& object = ObjectPool[slot];
    if (object.state == kStateFree) continue;
    ++inUse.records;
    inUse.waiting += object.state == kStateDelayed;
    if (object.layer < 0 || object.layer >= kDrawnLayers) continue;
    shown.insert({object.imageSet, object.animation});
    if (object.state == kStateActive) StepAnimation(slot);
  }
  return inUse;
}

class RowCellWords : public PoolFixture {
 protected:
  // What the template's records show on `stage` from a fresh game: as made (a record
  // made in a lower slot than its maker's is drawn before its first update), then
  // after each frame's update until none is left. Each stage's run draws from a seed
  // of its own, so that a row drawn at random is met in more than one of its choices.
  Shown Follow(int templateId, int stage) {
    SetUp();
    Stage = stage;
    SeedRandom(stage);
    Shown shown;
    const int standing = NoteAndStep(shown, kPoolSize).records;  // the frame before
    CreateObject(templateId, kPlaceX, kPlaceY, 0, kGroup1ParentSlot);
    // Every record a template takes is logged: none beyond the last logged is in use.
    int end = kFirstAllocatedSlot;
    for (int frame = 0;; ++frame) {
      for (int slot : TakeSlotLog()) end = std::max(end, slot + 1);
      const InUse inUse = NoteAndStep(shown, end);
      if (inUse.records == standing || frame == kFramesFollowed) return shown;
      if (inUse.waiting > 0) ListNearPlayer(lists_);  // the collision pass wakes them
      UpdateObjects();
    }
  }

  // The cells of a row, up to its end marker, that carry words in the pictures that
  // fill the image set on `stage`. Text pictures (the ending's pages, its staff roll)
  // are drawn for their words and are left out.
  std::string WordedCells(int imageSet, std::span<const AnimationPair> row, int stage) {
    std::string found;
    for (const PictureFile& picture : PicturesOf(imageSet, stage)) {
      if (IsTextPicture(picture)) continue;
      for (const AnimationPair& pair : row) {
        if (pair.frame == kEndFrame) break;
        if (pair.frame < 0 || pair.frame >= std::max(1, picture.count)) continue;
        for (const WordInk& word : CellWords(picture, pair.frame))
          found += " cell " + std::to_string(pair.frame) + " of " + picture.name + " \"" + word.text + "\"";
      }
    }
    return found;
  }

 private:
  const std::vector<WordInk>& CellWords(const PictureFile& picture, int cell) {
    const auto key = std::make_pair(std::string(picture.name), cell);
    const auto known = words_.find(key);
    return known != words_.end() ? known->second : words_.emplace(key, WordsInCell(picture, cell)).first->second;
  }
  std::map<std::pair<std::string, int>, std::vector<WordInk>> words_;
  static inline CollisionLists lists_;  // too large for the stack
};

// The labels the display draws from sprite sheets: the HUD's FPS label (cell 19 of image
// set 7) and the replay mark (cell 9 of image set 3).
TEST_F(RowCellWords, TheDisplaysLabelCellsCarryWords) {
  for (const auto& [imageSet, cell] : {std::pair{7, 19}, {3, 9}}) {
    const AnimationPair row[] = {{cell, 3}, {kEndFrame, kEndLoops}};
    EXPECT_NE(WordedCells(imageSet, row, 1), "") << "cell " << cell << " of image set " << imageSet;
  }
}

// A shared template is followed on the first and the last stage of play (some take
// other rows there), then on every other stage that loads a sheet into an image set
// its records showed.
TEST_F(RowCellWords, NoTemplateShowsACellThatCarriesWords) {
  auto check = [&](int templateId, int stage) {
    const Shown shown = Follow(templateId, stage);
    for (const auto& [imageSet, row] : shown) {
      const int drawn = row >= 0 && row < kAnimationRows ? row : 0;  // a row outside the table draws as row 0
      const std::string words = WordedCells(imageSet, AnimationTable[drawn], stage);
      if (!words.empty())
        ADD_FAILURE() << "template " << templateId << " on stage " << stage << ": row " << row << " of image set "
                      << imageSet << " passes through" << words;
    }
    return shown;
  };
  auto checkFamily = [&](std::span<const TemplateEntry> family, std::string_view name) {
    const std::vector<int> own = OwnStages(name);
    for (const TemplateEntry& entry : family) {
      for (int stage : own) check(entry.templateId, stage);
      if (!own.empty()) continue;
      std::set<int> imageSets;
      for (int stage : {1, kLastPlayStage}) {
        for (const auto& [imageSet, row] : check(entry.templateId, stage)) imageSets.insert(imageSet);
      }
      for (int stage = 2; stage < kLastPlayStage; ++stage) {
        if (LoadsAnyOf(stage, imageSets)) check(entry.templateId, stage);
      }
    }
  };
#define TEMPLATE_FAMILY(name) checkFamily(name(), #name);
#include "objects/template_families.def"
#undef TEMPLATE_FAMILY
}

}  // namespace
