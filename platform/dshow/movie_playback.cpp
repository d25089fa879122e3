#include "dshow/movie_playback.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <new>
#include <utility>

extern "C" {
#include <libavutil/frame.h>
}

#include "kernel/clock.h"
#include "kernel/sync.h"
#include "workers/tile_frame.h"

namespace {

// How often the worker looks again while it waits for the virtual clock, and how often
// it tops up the sound.
constexpr auto kVirtualClockPoll = std::chrono::milliseconds(1);
constexpr auto kSoundFeedPeriod = std::chrono::milliseconds(10);
// The longest sleep while an update waits (a later start or seek wakes the worker anyway).
constexpr auto kLongestWait = std::chrono::microseconds(1000000);

STREAM_TIME SaturatingStreamAdd(STREAM_TIME time, std::uint64_t elapsedMicroseconds) {
  constexpr std::uint64_t kLimit = static_cast<std::uint64_t>(LLONG_MAX) / 10;
  const STREAM_TIME elapsed = static_cast<STREAM_TIME>(std::min(elapsedMicroseconds, kLimit) * 10);
  return time > LLONG_MAX - elapsed ? LLONG_MAX : time + elapsed;
}

}  // namespace

HRESULT MoviePlayback::Open(const std::string& path, bool withSound, std::shared_ptr<MoviePlayback>* playback) {
  playback->reset();
  std::shared_ptr<MoviePlayback> opened(new (std::nothrow) MoviePlayback());
  if (opened == nullptr) return E_OUTOFMEMORY;
  HRESULT result = MediaFile::Open(path, MediaKind::Video, &opened->video_);
  if (result != S_OK && result != MS_E_NOSTREAM) return result;
  opened->next_ = av_frame_alloc();
  opened->shown_ = av_frame_alloc();
  if (opened->next_ == nullptr || opened->shown_ == nullptr) return E_OUTOFMEMORY;
  if (opened->video_ != nullptr) {
    opened->width_ = opened->video_->Width();
    opened->height_ = opened->video_->Height();
    opened->duration_ = opened->video_->Duration();
  }
  if (withSound) {
    opened->sound_ = MovieSound::Open(path, opened->video_.get());
  }
  *playback = std::move(opened);
  return S_OK;
}

MoviePlayback::~MoviePlayback() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
  av_frame_free(&next_);
  av_frame_free(&shown_);
}

// ---- Clock ----

STREAM_TIME MoviePlayback::StreamTimeAt(std::uint64_t clockMicroseconds) const {
  if (!running_ || clockMicroseconds < anchorClock_) return anchorTime_;
  return SaturatingStreamAdd(anchorTime_, clockMicroseconds - anchorClock_);
}

bool MoviePlayback::Running() {
  std::lock_guard<std::mutex> hold(mutex_);
  return running_;
}

void MoviePlayback::Run() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    if (running_) return;
    anchorClock_ = ReadClockMicroseconds();
    running_ = true;
    if (sound_ != nullptr) {
      sound_->Start();
      StartWorker();
    }
  }
  wake_.notify_all();
}

void MoviePlayback::Stop() {
  std::lock_guard<std::mutex> hold(mutex_);
  if (!running_) return;
  anchorTime_ = StreamTimeAt(ReadClockMicroseconds());
  running_ = false;
  if (sound_ != nullptr) sound_->Stop();
}

STREAM_TIME MoviePlayback::Time() {
  std::lock_guard<std::mutex> hold(mutex_);
  const STREAM_TIME now = StreamTimeAt(ReadClockMicroseconds());
  return duration_ > 0 && now > duration_ ? duration_ : now;
}

void MoviePlayback::Seek(STREAM_TIME time) {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    time = std::max<STREAM_TIME>(time, 0);
    if (duration_ > 0) time = std::min(time, duration_);
    anchorTime_ = time;
    anchorClock_ = ReadClockMicroseconds();
    if (video_ != nullptr) {
      video_->Seek(time);
      haveNext_ = false;
      videoEnded_ = false;
      shownEnd_ = 0;
    }
    if (sound_ != nullptr) sound_->Seek(time);
  }
  wake_.notify_all();
}

// ---- Frames ----

void MoviePlayback::DecodeAhead() {
  if (haveNext_ || videoEnded_) return;
  if (video_ != nullptr && video_->Next(next_, &nextTime_)) {
    nextDuration_ = video_->FrameDuration(*next_);
    haveNext_ = true;
  } else {
    videoEnded_ = true;
  }
}

// Makes the newest frame due by `now` the shown one, decoding past the older ones.
bool MoviePlayback::TakeDueFrames(STREAM_TIME now) {
  bool taken = false;
  for (DecodeAhead(); haveNext_ && nextTime_ <= now; DecodeAhead()) {
    std::swap(next_, shown_);
    shownEnd_ = nextTime_ > LLONG_MAX - nextDuration_ ? LLONG_MAX : nextTime_ + nextDuration_;
    haveNext_ = false;
    taken = true;
  }
  return taken;
}

bool MoviePlayback::PastEnd(STREAM_TIME now) {
  DecodeAhead();
  return !haveNext_ && videoEnded_ && now >= shownEnd_;
}

HRESULT MoviePlayback::WriteShownFrame(const FrameTarget& target) {
  DDrawSurfaceMemory pixels{};
  if (HRESULT result = DDrawGetSurfaceMemory(target.surface, &pixels); result != DD_OK) return result;
  const RECT& area = target.area;
  if (area.right > static_cast<LONG>(pixels.width) || area.bottom > static_cast<LONG>(pixels.height)) {
    return DDERR_INVALIDRECT;
  }
  return target.writer->Write(*shown_, pixels, area) ? S_OK : E_FAIL;
}

HRESULT MoviePlayback::RequestFrame(const void* sample, const FrameTarget& target, HANDLE event) {
  FlushTileFrame();  // recorded draws may read the frame's surface: they see the frame before
  {
    std::lock_guard<std::mutex> hold(mutex_);
    if (request_.has_value()) return MS_E_BUSY;
    if (!running_) return MS_E_NOTRUNNING;
    const STREAM_TIME now = StreamTimeAt(ReadClockMicroseconds());
    if (TakeDueFrames(now)) return WriteShownFrame(target);
    if (PastEnd(now)) return MS_S_ENDOFSTREAM;
    request_ = Request{sample, target, event};
    StartWorker();
  }
  wake_.notify_all();
  return MS_S_PENDING;
}

void MoviePlayback::CancelRequest(const void* sample) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (request_.has_value() && request_->sample == sample) request_.reset();
}

void MoviePlayback::CompleteRequest() {
  const HANDLE event = request_->event;
  request_.reset();
  SetEvent(event);
}

// ---- Worker ----

// A movie shown a frame at a time whose frames are all due when asked for needs no
// thread; most short movies and every file that fails to play make none.
void MoviePlayback::StartWorker() {
  if (!worker_.joinable()) worker_ = std::thread(&MoviePlayback::Work, this);
}

void MoviePlayback::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!quit_) {
    DecodeAhead();
    if (running_ && sound_ != nullptr) sound_->Feed();
    if (running_ && request_.has_value()) {
      const STREAM_TIME now = StreamTimeAt(PeekClockMicroseconds());
      if (TakeDueFrames(now)) {
        WriteShownFrame(request_->target);
        CompleteRequest();
        continue;
      }
      if (PastEnd(now)) {
        CompleteRequest();
        continue;
      }
    }
    WaitForWork(lock);
  }
}

// Sleeps until the waiting update's moment, the next sound top-up, or a call that
// changes the state.
void MoviePlayback::WaitForWork(std::unique_lock<std::mutex>& lock) {
  if (!running_) {
    wake_.wait(lock);
    return;
  }
  if (request_.has_value()) {
    if (ClockIsVirtual()) {
      wake_.wait_for(lock, kVirtualClockPoll);
      return;
    }
    const STREAM_TIME due = haveNext_ ? nextTime_ : shownEnd_;
    const STREAM_TIME now = StreamTimeAt(PeekClockMicroseconds());
    auto wait = std::min<std::chrono::microseconds>(
        std::chrono::microseconds(due > now ? (due - now) / 10 + 1 : 0), kLongestWait);
    if (sound_ != nullptr) wait = std::min<std::chrono::microseconds>(wait, kSoundFeedPeriod);
    wake_.wait_for(lock, wait);
    return;
  }
  if (sound_ != nullptr) {
    wake_.wait_for(lock, kSoundFeedPeriod);
    return;
  }
  wake_.wait(lock);
}
