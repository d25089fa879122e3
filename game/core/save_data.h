// The save file "SaveData.dat": 90 little-endian words of progress, options, key
// configuration and rankings, no header. Loading also reads the replay list.
#pragma once

constexpr int kSaveWords = 90;
constexpr const char* kSaveFileName = "SaveData.dat";
// Where a save file that is there but cannot be read is moved, so that saving never
// replaces the player's progress.
constexpr const char* kUnreadableSaveFileName = "SaveData.unreadable.dat";

// Reads the save file and the nine replay headers over the values the program starts
// with (which missing words and files keep). An invalid key configuration is
// replaced by the defaults. A save file that cannot be read leaves every word fresh
// and is moved to `kUnreadableSaveFileName`; when that name is taken, or the move
// fails otherwise, no save is written in this run.
void LoadSaveData();
// Writes the save file: 0, or -1 when it could not be written (the previous file
// then stays as it was) or must not be. The first write also logs what loading found.
int WriteSaveData();
