// One opened movie as it plays: the stream clock, the video frame decoded ahead, the
// sample update waiting for its frame, and the sound. A worker thread, started when an
// update has to wait or the sound plays, decodes the next frame ahead, completes the
// waiting update once its frame is due and keeps the sound fed. The filter graph, the
// multimedia stream and its samples share it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "dshow/dshow.h"
#include "dshow/frame_writer.h"
#include "dshow/media_file.h"
#include "dshow/movie_sound.h"

struct AVFrame;

class MoviePlayback {
 public:
  // Opens the movie file at `path` (a path on disk): the results of OpenFile. A file
  // without video opens with a frame size of 0 x 0.
  static HRESULT Open(const std::string& path, bool withSound, std::shared_ptr<MoviePlayback>* playback);
  ~MoviePlayback();
  MoviePlayback(const MoviePlayback&) = delete;
  MoviePlayback& operator=(const MoviePlayback&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  STREAM_TIME Duration() const { return duration_; }

  bool Running();
  void Run();
  // The clock stands still until the next Run.
  void Stop();
  // The stream time now, at most the duration.
  STREAM_TIME Time();
  void Seek(STREAM_TIME time);

  // Where a sample's frames go; the surface and writer belong to the sample.
  struct FrameTarget {
    IDirectDrawSurface7* surface;
    RECT area;
    FrameWriter* writer;
  };
  // A sample's asynchronous update: the results of IStreamSample::Update.
  HRESULT RequestFrame(const void* sample, const FrameTarget& target, HANDLE event);
  // Forgets the sample's outstanding update; no frame is written for it afterwards.
  void CancelRequest(const void* sample);

 private:
  struct Request {
    const void* sample;
    FrameTarget target;
    HANDLE event;
  };

  MoviePlayback() = default;
  void StartWorker();  // under mutex_
  void Work();
  void WaitForWork(std::unique_lock<std::mutex>& lock);
  STREAM_TIME StreamTimeAt(std::uint64_t clockMicroseconds) const;
  void DecodeAhead();
  bool TakeDueFrames(STREAM_TIME now);
  bool PastEnd(STREAM_TIME now);
  HRESULT WriteShownFrame(const FrameTarget& target);
  void CompleteRequest();

  int width_ = 0;
  int height_ = 0;
  STREAM_TIME duration_ = 0;
  std::unique_ptr<MediaFile> video_;
  std::unique_ptr<MovieSound> sound_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread worker_;
  bool quit_ = false;

  // The clock: the stream time at the last start, stop or seek, and the kernel clock
  // (microseconds) then.
  bool running_ = false;
  STREAM_TIME anchorTime_ = 0;
  std::uint64_t anchorClock_ = 0;

  AVFrame* next_ = nullptr;   // decoded ahead, not yet due
  bool haveNext_ = false;
  STREAM_TIME nextTime_ = 0;
  STREAM_TIME nextDuration_ = 0;
  bool videoEnded_ = false;
  AVFrame* shown_ = nullptr;  // the newest frame that came due
  STREAM_TIME shownEnd_ = 0;  // when it stops being the current frame
  std::optional<Request> request_;
};
