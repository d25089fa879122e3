// A movie's sound on the default sound renderer: decoded from the file, queued a little
// ahead of what plays, started, stopped and moved with the movie.
#pragma once

#include <memory>
#include <string>

#include "kernel/win_types.h"

class MediaFile;

class MovieSound {
 public:
  // The sound of the movie file at `path`, or nullptr when it has none or nothing can
  // play it (the movie then runs silently). `sibling` as for MediaFile::Open.
  static std::unique_ptr<MovieSound> Open(const std::string& path, const MediaFile* sibling);
  virtual ~MovieSound() = default;

  virtual void Start() = 0;
  virtual void Stop() = 0;
  // Drops what is queued; the sound goes on from `time`.
  virtual void Seek(LONGLONG time) = 0;
  // Tops the queue up; called every few milliseconds while the movie runs.
  virtual void Feed() = 0;
};
