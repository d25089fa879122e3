// Thin stand-ins for the movie, texture and sound services, until
// they exist. They succeed and do nothing.
#include "core/pending_services.h"

int RestoreAllSurface3DData() { return 0; }

int ResumeAllGraphMovies() { return 0; }
int PauseAllGraphMovies() { return 0; }
int ReleaseAllMovieObjects() { return 0; }

int InitSoundSystem() { return 0; }
int EndSoundSystem() { return 0; }
int StopBackgroundMusic() { return 0; }
int RefillAllStreamSounds() { return 0; }
int PollMusicPlaying() { return 0; }
