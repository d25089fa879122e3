// Every picture, sound effect and piece of music the game loads, with where it goes
// and, for pictures, its size and cell layout. The loaders read these tables, and so
// does the placeholder data generator, so the two never disagree.
#pragma once

#include <span>
#include <vector>

// What a placeholder picture shows.
enum class PictureArt : int {
  kDragon,      // the player's dragon and its wings
  kEnemy,
  kBoss,
  kBullet,      // enemy bullets, cancelled bullets
  kShot,        // the player's shots, options and bursts
  kCoin,        // coins and chips
  kEffect,      // sparks, flashes, explosions, debris
  kBackdrop,    // backgrounds and scenery
  kDigits,      // picture digits 0..9
  kText,        // labels, captions, description strips, menu items
  kPanel,       // HUD, tally, shop and menu frames
  kScreen,      // full-screen pictures: loading, title, game over
  kSky,         // clouds drifting across a stage's sky
  kBossAndSky,  // a boss picture in cell 0, sky sprites in the other cells
};

struct PictureFile {
  const char* name;  // under "data\image011\"
  PictureArt art;
  int width, height;  // of the picture, or of one cell of a cell table
  int count = 0;      // cells of a cell table, cut row by row; 0 = one picture
  int across = 0, down = 0;
};

// Which picture set a file belongs to: some pictures come in two versions, chosen by
// the TitleImageVariant option.
enum class Variant : int { kAny, kFirst, kSecond };

// A cell table that fills one image set of SpriteHandles.
struct SpriteSheet {
  int imageSet;
  PictureFile picture;
  bool optional = false;  // skipped in light mode
  Variant variant = Variant::kAny;
};

// A picture that goes to one entry of a handle table.
struct TablePicture {
  int index;
  PictureFile picture;
  bool optional = false;  // skipped in light mode
};

struct SoundFile {
  int number;        // SoundEffectId
  const char* name;  // under "data\se\"
};

struct MusicFile {
  int channel;
  const char* name;  // under "data\bgm\"
};

// What one stage (1..8, or 9 for the ending) loads besides the common resources.
struct StageResourceSet {
  std::span<const TablePicture> backgrounds;  // into StageImages
  std::span<const SpriteSheet> sheets;
  std::span<const MusicFile> music;           // the stage piece is channel 2
  int stagePieceFade;                         // SetBgmFade mode for channel 2, 0 = not started
  std::span<const SoundFile> sounds;
};

extern const std::span<const SoundFile> kCommonSounds;
extern const std::span<const SpriteSheet> kCommonSheets;
extern const std::span<const TablePicture> kDigitFontPictures;  // index = font
extern const std::span<const TablePicture> kCommonPictures;     // index = CommonImage
extern const std::span<const TablePicture> kTitlePictures;      // index = StageImages entry
extern const PictureFile kWeaponDescriptions;
extern const PictureFile kOptionDescriptions;
extern const std::span<const MusicFile> kTitleMusic;
extern const std::span<const TablePicture> kMenuPictures;       // index = MenuImage
extern const std::span<const SpriteSheet> kMenuSheets;
extern const std::span<const TablePicture> kResultsPictures;    // index = StageImages entry
extern const SpriteSheet kResultsRankingHeaders;
extern const SpriteSheet kResultsLabels;
extern const std::span<const MusicFile> kResultsMusic;  // after a game over, after the ending
// Pictures loaded by name where they are used.
extern const PictureFile kLoadingPictures[2];
extern const std::span<const PictureFile> kOnDemandPictures;

// Stage title cards: "StageTitleNN-01.png" style names, first and second picture,
// in the normal and the "j" variant; and the stage 8 caption pictures.
constexpr PictureFile TitleCardPicture(const char* name) {
  return {name, PictureArt::kText, 1024, 200};
}
const char* TitleCardName(int stage, int picture, bool variant);  // picture 1 or 2
const char* Stage8CaptionName(int caption, bool variant);         // caption 0..2

// The stage's own resources; stage 1..9.
const StageResourceSet& StageResources(int stage);
// The StageImages entries that stage 8 frees when its second half begins.
extern const std::span<const int> kStage8HandOverPictures;
// Every stage-only sound effect number (freed when a stage changes).
extern const std::span<const SoundFile> kAllStageSounds;
// Every image set that stages load into (freed when a stage changes).
extern const std::span<const int> kStageImageSets;

// Every file, for the data generator and the tests: each name once.
std::vector<PictureFile> AllPictureFiles();
std::vector<const char*> AllSoundFiles();
std::vector<const char*> AllMusicFiles();
