// Thin stand-ins for the movie, texture and on-screen log services, until they exist.
// They succeed and do nothing.
#include "core/pending_services.h"

int RestoreAllSurface3DData() { return 0; }

int ResumeAllGraphMovies() { return 0; }
int PauseAllGraphMovies() { return 0; }
int ReleaseAllMovieObjects() { return 0; }

int InitScreenLog() { return 0; }
