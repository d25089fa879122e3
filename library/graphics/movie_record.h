// The movie table: one record per open movie, holding the multimedia-stream objects that
// deliver its frames into a sample surface, and the copy of the last frame picked up.
#pragma once

#include <cstdint>

#include "dshow/dshow.h"
#include "graphics/handle_table.h"
#include "graphics/pixel_format.h"

constexpr int kMovieTableSize = 100;
constexpr int kMovieFileNameSize = 260;

struct MovieRecord {
  std::uint32_t check;
  RECT sampleRect;  // the frame inside the sample surface
  IAMMultiMediaStream* multimediaStream;
  IMediaStream* videoStream;
  IAMMediaStream* amVideoStream;
  IDirectDrawMediaStream* ddVideoStream;
  IDirectDrawStreamSample* sample;
  IDirectDrawSurface* sampleSurface;
  IDirectDrawSurface4* sampleSurface4;  // the sample surface as frames are read
  IDirectDraw4* directDraw4;
  IGraphBuilder* filterGraph;
  IMediaControl* mediaControl;
  IMediaSeeking* mediaSeeking;
  IBasicAudio* basicAudio;
  STREAM_TIME duration;
  LONGLONG reservedTime;
  std::int64_t openTime;  // microseconds
  std::uint64_t lastPresentCount;
  int lastRefreshTime;  // timeGetTime milliseconds
  LONGLONG stopPosition;
  int systemMemorySurface;
  int width;
  int height;
  int playing;      // 1 while the movie should run
  int surfaceMode;  // 0: a system-memory surface in the screen's format
  STREAM_TIME playPosition;  // kept across a release and reopen
  int temporaryCopy;  // 1: fileName is a temporary copy of the movie, deleted on close
  char fileName[kMovieFileNameSize];
  HANDLE frameEvent;  // set when an asynchronous frame update finishes
  int updatePending;
  PixelFormat surfaceFormat;  // of the sample surface
  int frameBufferWidth;
  int frameBufferHeight;
  int frameBufferPitch;
  void* frameBuffer;  // the last frame picked up (tracked block)
  int ownerGraph;     // the graph the movie was opened for: only it closes the movie
};

using MovieTableType = HandleTable<MovieRecord, kMovieTableSize, 3>;
extern MovieTableType MovieTable;

// The record, or NULL for an invalid handle.
MovieRecord* GetMovieRecord(int movie);
// Builds the multimedia-stream objects of a record for a file (through a temporary copy
// when the stream cannot open the file itself, e.g. inside an archive). 0, or -1 with
// every object released and the temporary copy deleted.
int OpenMovieFile(MovieRecord* rec, IDirectDraw7* ddraw, const char* file, int* width, int* height, int surfaceMode);
// Releases the multimedia-stream objects, keeping the record (before a display change).
void ReleaseMovieObjects(MovieRecord* rec);
