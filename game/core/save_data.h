// The save file "SaveData.dat": 90 little-endian words of progress, options, key
// configuration and rankings, no header. Loading also reads the replay list.
#pragma once

constexpr int kSaveWords = 90;
constexpr const char* kSaveFileName = "SaveData.dat";

// Reads the save file and the nine replay headers over the values the program starts
// with (which missing words and files keep). An invalid key configuration is
// replaced by the defaults.
void LoadSaveData();
// Writes the save file: 0, or -1 when it could not be written (the previous file
// then stays as it was).
int WriteSaveData();
