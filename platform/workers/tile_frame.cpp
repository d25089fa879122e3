#include "workers/tile_frame.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Tiles are bands of whole rows: no row of a primitive is set up or cut twice, and
// a low band is still a few primitives' height, so that few are set up in two.
constexpr int kBandHeight = 16;
constexpr int kMostThreads = 64;
constexpr std::size_t kArenaBlock = 1 << 20;
constexpr std::size_t kLine = 64;
// The recording asks for the arena's lines this far ahead of its writes: a few
// microseconds of recording, time enough to take them back from other processors.
constexpr std::size_t kAskAhead = 1024;
// Recorded draws are handed to the workers this many at a time while the frame is still
// being recorded: enough that waking them costs little beside the drawing, few enough
// that little is left for the flush.
constexpr std::uint64_t kHandOverEvery = 512;
constexpr int kNoHome = -1;  // the recording thread's: it takes any tile
// A worker out of draws stays awake about as long as the draws handed over at once take
// to record: waking a sleeping one costs more than the drawing of a few of them.
constexpr std::chrono::microseconds kAwakeWithoutDraws{200};

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

// Asks for the cache line at `place` to be written soon. The workers read what the
// recording writes, on other processors, and keep it in their caches: a line the
// recording takes back only when it writes there holds up every write behind it.
inline void AskToWrite(const void* place) { __builtin_prefetch(place, 1); }

// Memory for recorded draws: blocks kept from flush to flush, written from the start
// anew after each, the lines ahead asked for.
class Arena {
 public:
  void* Allocate(std::size_t bytes) {
    bytes = (bytes + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);
    while (current_ < blocks_.size() && used_ + bytes > blocks_[current_].size) {
      ++current_;
      used_ = 0;
      asked_ = 0;
    }
    if (current_ == blocks_.size()) {
      const std::size_t size = std::max(bytes, kArenaBlock);
      blocks_.push_back(Block{std::unique_ptr<std::byte[]>(new std::byte[size]), size});
    }
    std::byte* const block = blocks_[current_].bytes.get();
    void* place = block + used_;
    used_ += bytes;
    for (const std::size_t ahead = std::min(used_ + kAskAhead, blocks_[current_].size); asked_ < ahead; asked_ += kLine) {
      AskToWrite(block + asked_);
    }
    return place;
  }
  void Clear() {
    current_ = 0;
    used_ = 0;
    asked_ = 0;
  }

 private:
  struct Block {
    std::unique_ptr<std::byte[]> bytes;
    std::size_t size;
  };
  std::vector<Block> blocks_;
  std::size_t current_ = 0;
  std::size_t used_ = 0;
  std::size_t asked_ = 0;  // of the current block
};

struct Recorded {
  tile_frame_detail::RunFunction run;
  const void* draw;
};
constexpr std::size_t kRecordedPerLine = kLine / sizeof(Recorded);

class TileFrame;
TileFrame& Frame();

// A tile's recorded draws, in call order. The recording thread appends them and hands
// them over: the first `handedOver`, at `handedDraws`, may be run. The thread that has
// the tile `taken` runs those past the first `run`. The draws do not move while any of
// them is handed over and not run.
struct Tile {
  alignas(kLine) std::vector<Recorded> draws;  // the recording thread's line
  alignas(kLine) std::atomic<std::size_t> handedOver = 0;  // the running threads' line
  std::atomic<const Recorded*> handedDraws = nullptr;
  std::atomic<std::size_t> run = 0;
  std::atomic<bool> taken = false;
};

// Threads besides the recording one that run the draws handed over. What they count
// lies on lines of its own, away from its neighbours on the heap: they write it at every
// tile.
struct alignas(kLine) Crew {
  int asked;
  std::vector<std::thread> threads;
  alignas(kLine) std::atomic<std::uint32_t> wakeUps = 0;  // workers with nothing to run wait for it to change
  std::atomic<bool> stopping = false;
  alignas(kLine) std::atomic<std::uint32_t> tilesRun = 0;  // the recording thread waits for it to change
  std::atomic<bool> catchingUp = false;                 // while it does
};

class TileFrame {
 public:
  ~TileFrame() { StopCrew(); }

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
    for (int band = top / kBandHeight; band <= (bottom - 1) / kBandHeight; ++band) {
      std::vector<Recorded>& draws = tiles_[band]->draws;
      if (draws.size() == draws.capacity()) CatchUp();  // growing moves them
      draws.push_back(draw);
      if (draws.size() + kRecordedPerLine < draws.capacity()) AskToWrite(&draws.back() + kRecordedPerLine);
    }
    if (++recorded_ % kHandOverEvery == 0) HandOver();
  }

  void Flush() {
    if (recorded_ == 0 || flushing_) return;
    flushing_ = true;
    HandOver();
    CatchUp();
    for (const std::unique_ptr<Tile>& tile : Tiles()) {
      Take(*tile);  // from a worker that found nothing in it
      tile->draws.clear();
      tile->handedOver = 0;
      tile->run = 0;
      tile->taken.store(false, std::memory_order_release);
    }
    recorded_ = 0;
    arena_.Clear();
    ++flushes_;
    flushing_ = false;
  }

  std::uint64_t Flushes() const { return flushes_; }

  Arena& arena() { return arena_; }

  // A fork copies the process with every draw handed over run. The child has none of
  // its parent's threads: it leaves the crew it inherits as it is (joining its threads,
  // or destroying what they wait on, would wait for ever) and starts one of its own.
  void BeforeFork() {
    if (crew_ != nullptr && !CaughtUp()) CatchUp();
  }
  void AfterForkInChild() {
    if (crew_ == nullptr) return;
    inherited_ = crew_.release();  // kept where it stays reachable, never destroyed
    for (const std::unique_ptr<Tile>& tile : tiles_) tile->taken = false;  // by a parent's worker finding nothing
  }

 private:
  void SetTarget(const void* target, int width, int height) {
    target_ = target;
    width_ = width;
    height_ = height;
    // The workers look at the tiles unasked: more are made while there are none.
    const auto count = static_cast<std::size_t>(TileCount(width, height));
    if (tiles_.size() < count) {
      StopCrew();
      while (tiles_.size() < count) tiles_.push_back(std::make_unique<Tile>());
    }
    tileCount_ = count;
  }

  std::span<const std::unique_ptr<Tile>> Tiles() const { return {tiles_.data(), tileCount_}; }

  // The crew for the thread count in force, started when first needed.
  Crew& Workers() {
    const int workers = std::max(Threads() - 1, 0);
    if (crew_ == nullptr || crew_->asked != workers) StartCrew(workers);
    return *crew_;
  }

  void StartCrew(int count) {
    StopCrew();
    static std::once_flag forkHandlers;
    std::call_once(forkHandlers, [] {
      pthread_atfork([] { Frame().BeforeFork(); }, nullptr, [] { Frame().AfterForkInChild(); });
    });
    crew_ = std::make_unique<Crew>();
    crew_->asked = count;
    try {
      for (int i = 0; i < count; ++i) crew_->threads.emplace_back([this, crew = crew_.get(), i] { Work(*crew, i); });
    } catch (const std::system_error&) {
      // Fewer workers than asked for run the tiles between them.
    }
  }

  void StopCrew() {
    if (crew_ == nullptr) return;
    crew_->stopping = true;
    ++crew_->wakeUps;
    crew_->wakeUps.notify_all();
    for (std::thread& worker : crew_->threads) worker.join();
    crew_.reset();
  }

  // One worker (waking all at once would cost the waker a call for each): it wakes the
  // next when it finds more tiles waiting than the one it takes.
  static void WakeAWorker(Crew& crew) {
    ++crew.wakeUps;
    crew.wakeUps.notify_one();
  }

  // Lets the workers run every draw recorded so far.
  void HandOver() {
    for (const std::unique_ptr<Tile>& tile : Tiles()) {
      tile->handedDraws.store(tile->draws.data(), std::memory_order_relaxed);
      tile->handedOver.store(tile->draws.size(), std::memory_order_release);
    }
    WakeAWorker(Workers());
  }

  // Runs handed-over draws on this thread too, until every one has run.
  void CatchUp() {
    Crew& crew = Workers();
    for (;;) {
      const std::uint32_t tilesRun = crew.tilesRun;
      if (CaughtUp()) return;
      if (RunATile(crew, kNoHome)) continue;
      crew.catchingUp = true;
      crew.tilesRun.wait(tilesRun);
      crew.catchingUp = false;
    }
  }

  bool CaughtUp() const {
    return std::ranges::all_of(Tiles(), [](const std::unique_ptr<Tile>& tile) {
      return tile->run.load(std::memory_order_acquire) == tile->handedOver.load(std::memory_order_relaxed);
    });
  }

  // Runs tiles until the crew stops. The count of wake-ups is read before the tiles are
  // looked at, so that a hand-over in between is not slept through.
  void Work(Crew& crew, int worker) {
    for (;;) {
      const std::uint32_t wakeUps = crew.wakeUps;
      if (crew.stopping) return;
      if (RunATile(crew, worker)) continue;
      const auto sleepAt = std::chrono::steady_clock::now() + kAwakeWithoutDraws;
      while (crew.wakeUps == wakeUps && std::chrono::steady_clock::now() < sleepAt) std::this_thread::yield();
      crew.wakeUps.wait(wakeUps);
    }
  }

  // Runs the draws handed over to the tile with the most of them waiting that no thread
  // has; false when no tile has any. A worker looks in its home first, a run of tiles
  // of its own: a band's pixels stay in one processor's cache from hand-over to
  // hand-over and from frame to frame, and a draw over a few bands is mostly read by one.
  bool RunATile(Crew& crew, int worker) {
    int index, waitingTiles;
    const int count = static_cast<int>(tileCount_.load(std::memory_order_relaxed));
    do {
      index = -1;
      if (worker != kNoHome) {
        std::tie(index, waitingTiles) = Busiest(worker * count / crew.asked, (worker + 1) * count / crew.asked);
      }
      if (index < 0) std::tie(index, waitingTiles) = Busiest(0, count);
      if (index < 0) return false;
    } while (tiles_[index]->taken.exchange(true, std::memory_order_acquire));
    if (waitingTiles > 1) WakeAWorker(crew);
    Tile& tile = *tiles_[index];
    const std::size_t upTo = tile.handedOver.load(std::memory_order_acquire);
    const std::size_t from = tile.run.load(std::memory_order_relaxed);
    if (from < upTo) {
      const DrawTile area{RECT{0, index * kBandHeight, width_, std::min((index + 1) * kBandHeight, height_)}, index};
      const Recorded* const draws = tile.handedDraws.load(std::memory_order_relaxed);
      for (std::size_t i = from; i < upTo; ++i) draws[i].run(draws[i].draw, area);
      tile.run.store(upTo, std::memory_order_release);
    }
    tile.taken.store(false, std::memory_order_release);
    ++crew.tilesRun;
    if (crew.catchingUp) crew.tilesRun.notify_one();
    return true;
  }

  // The tile with the most draws waiting and none taken (-1 without one), and how many
  // such tiles there are.
  std::pair<int, int> Busiest(int first, int end) const {
    int busiest = -1, waitingTiles = 0;
    std::size_t most = 0;
    for (int i = first; i < end; ++i) {
      const Tile& tile = *tiles_[i];
      if (tile.taken.load(std::memory_order_relaxed)) continue;
      const std::size_t given = tile.handedOver.load(std::memory_order_relaxed);
      const std::size_t run = tile.run.load(std::memory_order_relaxed);
      if (given <= run) continue;
      ++waitingTiles;
      if (given - run > most) {
        busiest = i;
        most = given - run;
      }
    }
    return {busiest, waitingTiles};
  }

  static void Take(Tile& tile) {
    while (tile.taken.exchange(true, std::memory_order_acquire)) std::this_thread::yield();
  }

  // What the workers read at every look for tiles, on a line of its own: the recording
  // writes its count and arena at every draw.
  alignas(kLine) int width_ = 0;
  int height_ = 0;
  std::vector<std::unique_ptr<Tile>> tiles_;
  std::atomic<std::size_t> tileCount_ = 0;  // the target's
  alignas(kLine) int threads_ = -1;
  bool flushing_ = false;
  std::uint64_t flushes_ = 0;
  std::uint64_t recorded_ = 0;  // draws since the last flush
  const void* target_ = nullptr;
  Arena arena_;
  std::unique_ptr<Crew> crew_;
  Crew* inherited_ = nullptr;
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
