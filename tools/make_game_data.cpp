// Writes the placeholder data folder the game runs on: every picture, sound effect
// and piece of music of the game's resource tables, under <folder>/data/.
//   make_game_data <folder>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cell_roles.h"
#include "core/resource_table.h"
#include "placeholder_art.h"
#include "png_file.h"
#include "sound_synthesis.h"
#include "text_drawing.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_game_data <folder>\n");
    return 2;
  }
  const std::filesystem::path data = std::filesystem::path(argv[1]) / "data";
  const std::filesystem::path pictures = data / "image011";
  const std::filesystem::path sounds = data / "se";
  const std::filesystem::path music = data / "bgm";
  std::error_code error;
  for (const auto& folder : {pictures, sounds, music}) std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "cannot create %s: %s\n", data.c_str(), error.message().c_str());
    return 1;
  }

  if (!TextFaceReady()) return 1;

  int written = 0;
  bool ok = true;
  const CellRoleMap roles = FindCellRoles();
  for (const PictureFile& picture : AllPictureFiles()) {
    ok = WritePngFile((pictures / picture.name).string(), DrawPlaceholder(picture, roles)) && ok;
    ++written;
  }
  int seed = 0;
  for (const char* name : AllSoundFiles()) {
    ok = WriteEffectWav((sounds / name).string(), seed++) && ok;
    ++written;
  }
  seed = 0;
  for (const char* name : AllMusicFiles()) {
    ok = WriteMusicOgg((music / name).string(), seed++) && ok;
    ++written;
  }
  std::printf("make_game_data: %d files in %s\n", written, data.c_str());
  return ok ? 0 : 1;
}
