#include "core/resource_loaders.h"

#include <cstdio>

#include "core/game_state.h"
#include "core/new_game.h"
#include "core/resource_table.h"
#include "core/sound_control.h"
#include "game_library.h"

namespace {

constexpr int kSoundBuffers = 3;
constexpr int kNoSharedStream = -1;

struct Path {
  char text[160];
};

Path MakePath(const char* folder, const char* name) {
  Path path;
  std::snprintf(path.text, sizeof path.text, "%s%s", folder, name);
  return path;
}

void FreePictures(int* handles, int count) {
  for (int i = 0; i < count; ++i) FreePicture(handles[i]);
}

void FreeSoundHandle(int& handle) {
  if (handle == kNoHandle) return;
  StopSound(handle);
  FreeSound(handle, 0);
  handle = kNoHandle;
}

void LoadPicture(int& handle, const PictureFile& picture) {
  FreePicture(handle);
  handle = LoadGraphFile(MakePath(kPictureFolder, picture.name).text);
}

void LoadCells(int* handles, const PictureFile& picture) {
  FreePictures(handles, picture.count);
  const Path path = MakePath(kPictureFolder, picture.name);
  if (LoadDivGraphFile(path.text, picture.count, picture.across, picture.down, picture.width, picture.height,
                       handles) != 0) {
    for (int i = 0; i < picture.count; ++i) handles[i] = kNoHandle;
  }
}

bool SecondPictureSet() { return TitleImageVariant != 0 && TitleImageVariant != 999; }

bool Wanted(bool optional, Variant variant) {
  if (optional && LightMode != 0) return false;
  if (variant == Variant::kFirst) return !SecondPictureSet();
  if (variant == Variant::kSecond) return SecondPictureSet();
  return true;
}

void LoadSheets(std::span<const SpriteSheet> sheets) {
  for (const SpriteSheet& sheet : sheets) {
    if (Wanted(sheet.optional, sheet.variant)) LoadCells(&SpriteHandles[sheet.imageSet * kCellsPerSet], sheet.picture);
  }
}

void LoadTablePictures(int* table, std::span<const TablePicture> pictures) {
  for (const TablePicture& picture : pictures) {
    if (Wanted(picture.optional, Variant::kAny)) LoadPicture(table[picture.index], picture.picture);
  }
}

void LoadSound(int& handle, const char* folder, const char* name) {
  FreeSoundHandle(handle);
  handle = LoadSoundFile(MakePath(folder, name).text, kSoundBuffers, kNoSharedStream);
}

void LoadMusic(const MusicFile& music) { LoadSound(BgmHandles[music.channel], kMusicFolder, music.name); }

void FreeStageOnlyResources() {
  for (int set : kStageImageSets) FreePictures(&SpriteHandles[set * kCellsPerSet], kCellsPerSet);
  FreePictures(Stage8CaptionImages.data(), static_cast<int>(Stage8CaptionImages.size()));
  for (const SoundFile& sound : kAllStageSounds) FreeSoundHandle(SeHandles[sound.number]);
}

}  // namespace

void FreePicture(int& handle) {
  if (handle == kNoHandle) return;
  FreeGraph(handle, 0);
  handle = kNoHandle;
}

void LoadCommonSounds() {
  for (const SoundFile& sound : kCommonSounds) LoadSound(SeHandles[sound.number], kSoundFolder, sound.name);
}

void LoadCommonImages() {
  for (const TablePicture& font : kDigitFontPictures) LoadCells(&DigitFonts[font.index * kDigitCells], font.picture);
  LoadTablePictures(CommonImages.data(), kCommonPictures);
  LoadTablePictures(MenuImages.data(), kMenuPictures);
  LoadSheets(kCommonSheets);
}

void LoadTitleResources() {
  LoadTablePictures(StageImages.data(), kTitlePictures);
  LoadCells(WeaponDescriptionImages.data(), kWeaponDescriptions);
  LoadCells(OptionDescriptionImages.data(), kOptionDescriptions);
  for (const MusicFile& music : kTitleMusic) LoadMusic(music);
}

void LoadStageResources(int) {
  if (Stage < 1 || Stage > 9) return;
  FreeStageOnlyResources();
  const StageResourceSet& resources = StageResources(Stage);
  if (Stage <= 8) {
    LoadPicture(StageImages[9], TitleCardPicture(TitleCardName(Stage, 1, SecondPictureSet())));
    LoadPicture(StageImages[8], TitleCardPicture(TitleCardName(Stage, 2, SecondPictureSet())));
  }
  LoadTablePictures(StageImages.data(), resources.backgrounds);
  LoadSheets(resources.sheets);
  for (const SoundFile& sound : resources.sounds) LoadSound(SeHandles[sound.number], kSoundFolder, sound.name);
  for (const MusicFile& music : resources.music) LoadMusic(music);
  if (resources.stagePieceFade != 0) SetBgmFade(2, resources.stagePieceFade);
  if (Stage == 4) {
    SetBgmFade(6, kFadeIn);
    PlaySe(20, 255);
  }
  if (Stage == 8) {
    for (int caption = 0; caption < 3; ++caption) {
      LoadPicture(Stage8CaptionImages[caption], TitleCardPicture(Stage8CaptionName(caption, SecondPictureSet())));
    }
  }
}

void FreeStageImages() { FreePictures(StageImages.data(), kStageImageCount); }

void ReloadMenuImages() {
  FreeStageImages();
  for (int channel = 0; channel < kBgmChannels; ++channel) FreeBgmChannel(channel);
  FreeStageOnlyResources();
  LoadTitleResources();
  LoadTablePictures(MenuImages.data(), kMenuPictures);
  LoadSheets(kMenuSheets);
}

void RestartGame() {
  ReloadMenuImages();
  NewGameInit();
  MenuState = MenuStateRecord{};
}

void LoadResultsResources() {
  LoadCells(&SpriteHandles[kResultsRankingHeaders.imageSet * kCellsPerSet], kResultsRankingHeaders.picture);
  FreeStageImages();
  LoadTablePictures(StageImages.data(), kResultsPictures);
  LoadCells(&SpriteHandles[kResultsLabels.imageSet * kCellsPerSet], kResultsLabels.picture);
}

void LoadResultsMusic(int piece) { LoadMusic(kResultsMusic[piece]); }
