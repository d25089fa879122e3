#include "workers/tile_frame.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <numeric>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Tiles are bands of whole rows: no row of a primitive is set up or cut twice, and
// a low band is still a few primitives' height, so that few are set up in two.
constexpr int kBandHeight = 16;
constexpr int kMostThreads = 64;
constexpr std::size_t kArenaBlock = 1 << 20;

int ThreadsFromEnvironment() {
  const char* asked = std::getenv("VANTOREL_DRAW_THREADS");
  if (asked != nullptr && std::strcmp(asked, "serial") == 0) return 0;
  if (asked != nullptr && std::atoi(asked) > 0) return std::min(std::atoi(asked), kMostThreads);
  // On one processor tiles only add their binning and repeated set-up: draw at once.
  cpu_set_t allowed;
  if (sched_getaffinity(0, sizeof(allowed), &allowed) != 0) return 0;
  const int processors = std::min(CPU_COUNT(&allowed), kMostThreads);
  return processors > 1 ? processors : 0;
}

// Memory for recorded draws: blocks kept from flush to flush.
class Arena {
 public:
  void* Allocate(std::size_t bytes) {
    bytes = (bytes + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);
    while (current_ < blocks_.size() && used_ + bytes > blocks_[current_].size) {
      ++current_;
      used_ = 0;
    }
    if (current_ == blocks_.size()) {
      const std::size_t size = std::max(bytes, kArenaBlock);
      blocks_.push_back(Block{std::unique_ptr<std::byte[]>(new std::byte[size]), size});
    }
    void* place = blocks_[current_].bytes.get() + used_;
    used_ += bytes;
    return place;
  }
  void Clear() {
    current_ = 0;
    used_ = 0;
  }

 private:
  struct Block {
    std::unique_ptr<std::byte[]> bytes;
    std::size_t size;
  };
  std::vector<Block> blocks_;
  std::size_t current_ = 0;
  std::size_t used_ = 0;
};

// Threads besides the caller that take tiles at a flush, started when first needed.
class TileWorkers {
 public:
  ~TileWorkers() { Stop(); }

  // Calls take(index) until it returns false, on `threads` threads (the caller's
  // among them); returns when every thread is done.
  template <typename Take>
  void Run(int threads, Take& take) {
    if (static_cast<int>(workers_.size()) != threads - 1) Start(threads - 1);
    {
      std::lock_guard lock(mutex_);
      take_ = [](void* t) { while ((*static_cast<Take*>(t))()) {} };
      body_ = &take;
      working_ = static_cast<int>(workers_.size());
      ++generation_;
    }
    wake_.notify_all();
    take_(body_);
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return working_ == 0; });
  }

 private:
  void Start(int count) {
    Stop();
    stopping_ = false;
    // Each worker waits for the next flush from the one it was started before.
    const std::uint64_t started = generation_;
    try {
      for (int i = 0; i < count; ++i) workers_.emplace_back([this, started] { Work(started); });
    } catch (const std::system_error&) {
      // Fewer workers than asked for take the tiles between them.
    }
  }

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
  }

  void Work(std::uint64_t seen) {
    for (;;) {
      void (*take)(void*);
      void* body;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
        if (stopping_) return;
        seen = generation_;
        take = take_;
        body = body_;
      }
      take(body);
      std::lock_guard lock(mutex_);
      if (--working_ == 0) finished_.notify_one();
    }
  }

  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  bool stopping_ = false;
  std::uint64_t generation_ = 0;
  int working_ = 0;
  void (*take_)(void*) = nullptr;
  void* body_ = nullptr;
};

struct Recorded {
  tile_frame_detail::RunFunction run;
  const void* draw;
};

class TileFrame {
 public:
  int Threads() {
    if (threads_ < 0) threads_ = ThreadsFromEnvironment();
    return threads_;
  }

  void SetThreads(int threads) {
    Flush();
    threads_ = std::clamp(threads, 0, kMostThreads);
  }

  void UseTarget(const void* target, int width, int height) {
    if (target == target_ && width == width_ && height == height_) return;
    Flush();
    SetTarget(target, width, height);
  }

  void Record(const RECT& box, const Recorded& draw) {
    const int width = width_, height = height_;
    const int left = std::max<LONG>(box.left, 0), right = std::min<LONG>(box.right, width);
    const int top = std::max<LONG>(box.top, 0), bottom = std::min<LONG>(box.bottom, height);
    if (left >= right || top >= bottom) return;
    const auto index = static_cast<std::uint32_t>(draws_.size());
    draws_.push_back(draw);
    for (int band = top / kBandHeight; band <= (bottom - 1) / kBandHeight; ++band) bins_[band].push_back(index);
  }

  void Flush() {
    if (draws_.empty() || flushing_) return;
    flushing_ = true;
    // Busiest tiles first, so that no thread is left with a long one at the end.
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(), [this](int a, int b) { return bins_[a].size() > bins_[b].size(); });
    std::atomic<int> next{0};
    auto take = [&] {
      const int i = next.fetch_add(1, std::memory_order_relaxed);
      if (i >= static_cast<int>(order_.size()) || bins_[order_[i]].empty()) return false;
      RunTile(order_[i]);
      return true;
    };
    if (Threads() <= 1) {
      while (take()) {}
    } else {
      workers_.Run(Threads(), take);
    }
    for (std::vector<std::uint32_t>& bin : bins_) bin.clear();
    draws_.clear();
    arena_.Clear();
    ++flushes_;
    flushing_ = false;
  }

  std::uint64_t Flushes() const { return flushes_; }

  Arena& arena() { return arena_; }

 private:
  void SetTarget(const void* target, int width, int height) {
    target_ = target;
    width_ = width;
    height_ = height;
    const std::size_t count = static_cast<std::size_t>(TileCount(width, height));
    bins_.resize(count);
    order_.resize(count);
  }

  void RunTile(int index) const {
    const DrawTile tile{RECT{0, index * kBandHeight, width_, std::min((index + 1) * kBandHeight, height_)}, index};
    for (const std::uint32_t draw : bins_[index]) draws_[draw].run(draws_[draw].draw, tile);
  }

  int threads_ = -1;
  bool flushing_ = false;
  std::uint64_t flushes_ = 0;
  const void* target_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::vector<Recorded> draws_;
  std::vector<std::vector<std::uint32_t>> bins_;
  std::vector<int> order_;
  Arena arena_;
  TileWorkers workers_;
};

TileFrame& Frame() {
  static TileFrame frame;
  return frame;
}

}  // namespace

void SetDrawThreads(int threads) { Frame().SetThreads(threads); }

int DrawThreads() { return Frame().Threads(); }

void FlushTileFrame() { Frame().Flush(); }

std::uint64_t TileFrameFlushes() { return Frame().Flushes(); }

void UseDrawTarget(const void* target, int width, int height) { Frame().UseTarget(target, width, height); }

int TileCount(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  return (height + kBandHeight - 1) / kBandHeight;
}

namespace tile_frame_detail {

void* Allocate(std::size_t bytes) { return Frame().arena().Allocate(bytes); }

void Record(const RECT& box, RunFunction run, const void* draw) { Frame().Record(box, Recorded{run, draw}); }

}  // namespace tile_frame_detail
