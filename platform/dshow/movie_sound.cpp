// The movie sound's output. The sound device stand-in is not part of the platform yet,
// so every movie plays silently until it is.
#include "dshow/movie_sound.h"

std::unique_ptr<MovieSound> MovieSound::Open(const std::string&) { return nullptr; }
