#include "workers/tile_frame.h"

#include <sched.h>
#include <unistd.h>

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
// A process made by fork has none of its parent's threads: the crew it inherits is left
// as it is (joining its threads, or destroying what they wait on, would wait for ever)
// and a crew of its own is started.
class TileWorkers {
 public:
  ~TileWorkers() {
    if (Inherited()) LeaveBehind();
    Stop();
  }

  // Calls take(index) until it returns false, on `threads` threads (the caller's
  // among them); returns when every thread is done.
  template <typename Take>
  void Run(int threads, Take& take) {
    if (Inherited()) LeaveBehind();
    if (crew_ == nullptr || static_cast<int>(crew_->threads.size()) != threads - 1) Start(threads - 1);
    Crew& crew = *crew_;
    {
      std::lock_guard lock(crew.mutex);
      crew.take = [](void* t) { while ((*static_cast<Take*>(t))()) {} };
      crew.body = &take;
      crew.working = static_cast<int>(crew.threads.size());
      ++crew.generation;
    }
    crew.wake.notify_all();
    crew.take(crew.body);
    std::unique_lock lock(crew.mutex);
    crew.finished.wait(lock, [&crew] { return crew.working == 0; });
  }

 private:
  struct Crew {
    pid_t process = ::getpid();
    std::vector<std::thread> threads;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable finished;
    bool stopping = false;
    std::uint64_t generation = 0;
    int working = 0;
    void (*take)(void*) = nullptr;
    void* body = nullptr;
  };

  bool Inherited() const { return crew_ != nullptr && crew_->process != ::getpid(); }

  // Kept where it stays reachable, never destroyed.
  void LeaveBehind() { inherited_ = crew_.release(); }

  void Start(int count) {
    Stop();
    crew_ = std::make_unique<Crew>();
    try {
      for (int i = 0; i < count; ++i) crew_->threads.emplace_back([crew = crew_.get()] { Work(*crew); });
    } catch (const std::system_error&) {
      // Fewer workers than asked for take the tiles between them.
    }
  }

  void Stop() {
    if (crew_ == nullptr) return;
    {
      std::lock_guard lock(crew_->mutex);
      crew_->stopping = true;
    }
    crew_->wake.notify_all();
    for (std::thread& worker : crew_->threads) worker.join();
    crew_.reset();
  }

  // Each worker waits for the next flush from the one its crew was started before.
  static void Work(Crew& crew) {
    for (std::uint64_t seen = 0;;) {
      void (*take)(void*);
      void* body;
      {
        std::unique_lock lock(crew.mutex);
        crew.wake.wait(lock, [&] { return crew.stopping || crew.generation != seen; });
        if (crew.stopping) return;
        seen = crew.generation;
        take = crew.take;
        body = crew.body;
      }
      take(body);
      std::lock_guard lock(crew.mutex);
      if (--crew.working == 0) crew.finished.notify_one();
    }
  }

  std::unique_ptr<Crew> crew_;
  Crew* inherited_ = nullptr;
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
