// The save file "SaveData.dat": 90 little-endian words of progress, options, key
// configuration and rankings, no header. Loading also reads the replay list.
#pragma once

constexpr int kSaveWords = 90;
constexpr const char* kSaveFileName = "SaveData.dat";

// Reads the save file and the nine replay headers over the values the program starts
// with (which missing words and files keep). An invalid key configuration is
// replaced by the defaults. A save file that is there but cannot be read leaves every
// word fresh.
void LoadSaveData();
// Writes the save file: 0, or -1 when it could not be written (the previous file
// then stays as it was, and the log and standard error say why and which file: a
// link's target) or must not be (one read-only by its mode is not written). The first
// write after loading settles a file that could not be read, and logs why: one that
// cannot be read as it stands (no permission by its mode, a folder, a FIFO or other
// non-file, a link in a loop or through a file, a name too long, an input error) is
// moved aside as "SaveData.unreadable.dat" (a link's target in its own folder, the link
// kept, so that the new save goes where the link leads); a file of another size than
// 360 bytes, read as far as it goes, is kept so too, as "SaveData.<size>-bytes.dat".
// After an error that may pass (no descriptors or memory left), behind a link of
// another user, or when that name is taken or the move fails, the file stays and no
// save is written in this run. The file written keeps the permissions of the one it
// replaces, and its contents are never open to more users than those let.
int WriteSaveData();
