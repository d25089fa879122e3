// The save file "SaveData.dat" through the game's loader, which also reads the key
// configuration and replaces it when it is unusable. Every input starts from the file
// the game itself writes with its starting values, loaded first, so that words a
// short file lacks keep the same values from one input to the next.
#include "core/game_state.h"
#include "core/input.h"
#include "core/save_data.h"
#include "patched_input.h"
#include "scratch_files.h"

namespace {

std::vector<std::uint8_t> startingFile;

// Every action has a button of its own, or a menu could no longer be left.
bool KeyConfigUsable() {
  for (int action = 0; action < kActionCount; ++action) {
    if (!IsButtonBit(KeyConfig[action])) return false;
    for (int other = 0; other < action; ++other) {
      if (KeyConfig[other] == KeyConfig[action]) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MakeScratchFolder(/*enter=*/true);
  if (WriteSaveData() != 0) std::abort();
  startingFile = ReadWholeFile(kSaveFileName);
  if (startingFile.size() != 4 * kSaveWords) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteWholeFile(kSaveFileName, startingFile);
  LoadSaveData();
  const std::vector<std::uint8_t> file = PatchedInput(startingFile, data, size);
  WriteWholeFile(kSaveFileName, file);
  LoadSaveData();
  if (!KeyConfigUsable()) __builtin_trap();
  // The words land in file order: the total level, then the first mode's play count.
  if (file.size() >= 8 && TotalLevel != WordAt(file, 1)) __builtin_trap();
  if (file.size() >= 12 && PlayCount[0] != WordAt(file, 2)) __builtin_trap();
  return 0;
}
