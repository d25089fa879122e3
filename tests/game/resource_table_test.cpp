#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "core/game_state.h"
#include "core/resource_table.h"

namespace {

struct Layout {
  int imageSet;
  const char* name;
  int count, across, down, width, height;
};

// The sprite sheets the common images load, as documented (layouts the game fixes
// where the description leaves them open).
const Layout kCommonLayouts[] = {
    {0, "Aimage00032.png", 100, 10, 10, 32, 32},       {1, "Aimage00164.png", 100, 10, 10, 64, 64},
    {2, "Aimage00296.png", 100, 10, 10, 96, 96},       {3, "Aimage003128.png", 100, 10, 10, 128, 128},
    {4, "Aimage00464.png", 100, 10, 10, 64, 64},       {5, "SelectWeaponParts.png", 30, 10, 3, 128, 128},
    {6, "Aimage2561.png", 49, 10, 5, 256, 256},        {7, "Aimage00032no2.png", 100, 10, 10, 32, 32},
    {8, "tmode02-02A.png", 11, 1, 11, 260, 26},        {10, "titleconfig05-01.png", 18, 1, 18, 620, 25},
    {11, "ScoreRanking04-01.png", 3, 1, 3, 875, 157},  {12, "JikiWindLight.png", 65, 10, 7, 64, 64},
    {13, "Aimage00164part2.png", 59, 10, 6, 64, 64},   {14, "WingBlack.png", 65, 10, 7, 64, 64},
    {15, "E6464.png", 79, 10, 8, 64, 64},              {16, "E128128.png", 10, 10, 1, 128, 128},
    {40, "Aimage00032no3.png", 100, 10, 10, 32, 32},   {41, "sideinfo05.png", 33, 1, 33, 200, 32},
    {42, "Aimage003128no2.png", 30, 10, 3, 128, 128},  {43, "shopframe01.png", 7, 1, 7, 250, 40},
};

TEST(ResourceTables, CommonSheetsHaveTheirDocumentedLayouts) {
  ASSERT_EQ(kCommonSheets.size(), std::size(kCommonLayouts));
  for (std::size_t i = 0; i < kCommonSheets.size(); ++i) {
    const SpriteSheet& sheet = kCommonSheets[i];
    const Layout& layout = kCommonLayouts[i];
    EXPECT_EQ(sheet.imageSet, layout.imageSet);
    EXPECT_STREQ(sheet.picture.name, layout.name);
    EXPECT_EQ(sheet.picture.count, layout.count) << layout.name;
    EXPECT_EQ(sheet.picture.across, layout.across) << layout.name;
    EXPECT_EQ(sheet.picture.down, layout.down) << layout.name;
    EXPECT_EQ(sheet.picture.width, layout.width) << layout.name;
    EXPECT_EQ(sheet.picture.height, layout.height) << layout.name;
  }
}

TEST(ResourceTables, EveryCellTableFitsItsPictureAndItsImageSet) {
  for (const PictureFile& picture : AllPictureFiles()) {
    EXPECT_GT(picture.width, 0) << picture.name;
    EXPECT_GT(picture.height, 0) << picture.name;
    if (picture.count == 0) continue;
    EXPECT_LE(picture.count, picture.across * picture.down) << picture.name;
    EXPECT_LE(picture.count, kCellsPerSet) << picture.name;
  }
  for (int stage = 1; stage <= 9; ++stage) {
    for (const SpriteSheet& sheet : StageResources(stage).sheets) {
      EXPECT_GE(sheet.imageSet, 17) << sheet.picture.name;
      EXPECT_LT(sheet.imageSet, kImageSets) << sheet.picture.name;
    }
  }
}

TEST(ResourceTables, AFileNameAlwaysMeansTheSamePicture) {
  const std::vector<PictureFile> all = AllPictureFiles();
  std::set<std::string> names;
  for (const PictureFile& picture : all) EXPECT_TRUE(names.insert(picture.name).second) << picture.name;
  // A file loaded from two tables has one size and layout in both.
  auto check = [&](const PictureFile& picture) {
    for (const PictureFile& known : all) {
      if (std::strcmp(known.name, picture.name) != 0) continue;
      EXPECT_EQ(known.width, picture.width) << picture.name;
      EXPECT_EQ(known.height, picture.height) << picture.name;
      EXPECT_EQ(known.count, picture.count) << picture.name;
    }
  };
  for (const TablePicture& picture : kTitlePictures) check(picture.picture);
  for (const TablePicture& picture : kResultsPictures) check(picture.picture);
  for (int stage = 1; stage <= 9; ++stage) {
    for (const TablePicture& picture : StageResources(stage).backgrounds) check(picture.picture);
    for (const SpriteSheet& sheet : StageResources(stage).sheets) check(sheet.picture);
  }
}

TEST(ResourceTables, CommonSoundEffectsAreTheDocumentedNumbers) {
  EXPECT_EQ(kCommonSounds.size(), 85u);
  std::set<int> numbers;
  for (const SoundFile& sound : kCommonSounds) {
    EXPECT_TRUE(numbers.insert(sound.number).second) << sound.number;
    EXPECT_LT(sound.number, kSeCount);
  }
  // Played by the game but never loaded: they stay silent.
  EXPECT_EQ(numbers.count(14), 0u);
  EXPECT_EQ(numbers.count(37), 0u);
  for (const SoundFile& sound : kAllStageSounds) EXPECT_EQ(numbers.count(sound.number), 0u) << sound.number;
  auto nameOf = [](int number) -> std::string {
    for (const SoundFile& sound : kCommonSounds) {
      if (sound.number == number) return sound.name;
    }
    return "";
  };
  EXPECT_EQ(nameOf(52), "damage03.WAV");
  EXPECT_EQ(nameOf(16), "buzz04.wav");
  EXPECT_EQ(nameOf(29), "buzz04.wav");
  EXPECT_EQ(nameOf(11), "dragon08.wav");
  EXPECT_EQ(nameOf(45), "exp22.wav");
  EXPECT_EQ(nameOf(74), "bonus10.wav");
  EXPECT_EQ(nameOf(104), "screenshot01.wav");
}

TEST(ResourceTables, EveryStageHasItsPieceAndItsTitleCard) {
  for (int stage = 1; stage <= 9; ++stage) {
    bool piece = false;
    for (const MusicFile& music : StageResources(stage).music) piece = piece || music.channel == 2;
    EXPECT_TRUE(piece) << "stage " << stage;
  }
  EXPECT_STREQ(TitleCardName(1, 1, false), "StageTitle01-01.png");
  EXPECT_STREQ(TitleCardName(8, 2, true), "StageTitle08-02j.png");
  EXPECT_STREQ(Stage8CaptionName(2, false), "StageTitle08-05.png");
  std::set<std::string> names;
  for (const PictureFile& picture : AllPictureFiles()) names.insert(picture.name);
  for (const char* name : {"StageTitle05-01j.png", "StageTitle08-03j.png", "loading04-02.png", "Manual01.png",
                           "wepsetumei01.png", "ScoreRanking05-01.png", "edserif02-01.png", "back1-1.png"}) {
    EXPECT_EQ(names.count(name), 1u) << name;
  }
}

TEST(ResourceTables, StageFourStartsItsPieceByFadingIn) {
  EXPECT_EQ(StageResources(1).stagePieceFade, 6);
  EXPECT_EQ(StageResources(4).stagePieceFade, 2);
  EXPECT_EQ(StageResources(5).stagePieceFade, 0);
  EXPECT_EQ(StageResources(9).stagePieceFade, 0);
}

}  // namespace
