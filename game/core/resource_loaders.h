// The loaders of the resource tables: each frees what its destination still holds
// before it loads, and every freed handle variable becomes -1.
#pragma once

void LoadCommonSounds();
void LoadCommonImages();
void LoadTitleResources();
// The pictures, music and sound effects of the stage in `Stage` (9: the ending);
// the argument is not used.
void LoadStageResources(int stage);
void FreeStageImages();
// Frees one picture; its handle variable becomes -1.
void FreePicture(int& handle);
void ReloadMenuImages();
// Back to the title: the menu pictures again, a new game, the menu state cleared.
void RestartGame();

// The results pages' pictures: the ranking headers, the results pictures into
// StageImages and the page labels of image set 9.
void LoadResultsResources();
// The results music into channel 4: 0 after a game over, 1 after the ending.
void LoadResultsMusic(int piece = 0);

// "data\image011\" + name (and the sound and music folders).
constexpr const char* kPictureFolder = "data\\image011\\";
constexpr const char* kSoundFolder = "data\\se\\";
constexpr const char* kMusicFolder = "data\\bgm\\";
