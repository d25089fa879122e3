#include "workers/parallel_rows.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr unsigned kMostThreads = 8;  // workers and the calling thread
// Chunks per thread: a few, so that a thread slowed by others on the machine is
// made up for by the rest.
constexpr int kChunksPerThread = 4;

// Workers started at the first large draw and stopped at exit. One draw at a time
// holds them; the draw's thread takes chunks too.
class RowWorkers {
 public:
  ~RowWorkers() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  // False (nothing run) when the workers are held by another draw or cannot start.
  bool Run(int rows, RowChunkFunction chunk, void* body) {
    if (!enabled_.load(std::memory_order_relaxed) || held_.exchange(true, std::memory_order_acquire)) return false;
    bool ran = Start();
    if (ran) {
      {
        std::lock_guard lock(mutex_);
        rows_ = rows;
        chunkCount_ = std::min(rows, static_cast<int>(workers_.size() + 1) * kChunksPerThread);
        chunk_ = chunk;
        body_ = body;
        nextChunk_.store(0, std::memory_order_relaxed);
        open_ = true;
        ++generation_;
      }
      wake_.notify_all();
      TakeChunks();
      std::unique_lock lock(mutex_);
      // Workers that have not joined by now stay out; those that have are waited for.
      open_ = false;
      finished_.wait(lock, [this] { return working_ == 0; });
    }
    held_.store(false, std::memory_order_release);
    return ran;
  }

  void SetEnabled(bool enabled) { enabled_.store(enabled, std::memory_order_relaxed); }

 private:
  bool Start() {
    if (started_) return !workers_.empty();
    started_ = true;
    unsigned threads = std::min(std::max(std::thread::hardware_concurrency(), 1u), kMostThreads);
    try {
      for (unsigned i = 1; i < threads; ++i) workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      // Fewer workers than asked for still share the rows.
    }
    return !workers_.empty();
  }

  // Chunk i covers rows [rows * i / count, rows * (i + 1) / count).
  void TakeChunks() {
    for (;;) {
      int i = nextChunk_.fetch_add(1, std::memory_order_relaxed);
      if (i >= chunkCount_) return;
      auto edge = [this](int k) { return static_cast<int>(static_cast<std::int64_t>(rows_) * k / chunkCount_); };
      chunk_(body_, edge(i), edge(i + 1));
    }
  }

  void Work() {
    std::uint64_t seen = 0;
    for (;;) {
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
        if (stopping_) return;
        seen = generation_;
        if (!open_) continue;
        ++working_;
      }
      TakeChunks();
      std::lock_guard lock(mutex_);
      if (--working_ == 0) finished_.notify_one();
    }
  }

  std::atomic<bool> enabled_{true};
  std::atomic<bool> held_{false};
  bool started_ = false;  // read and written by the holder only
  std::vector<std::thread> workers_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  bool stopping_ = false;
  bool open_ = false;
  std::uint64_t generation_ = 0;
  int working_ = 0;

  // The open draw: written under the mutex before it opens, read by those who joined.
  int rows_ = 0;
  int chunkCount_ = 0;
  RowChunkFunction chunk_ = nullptr;
  void* body_ = nullptr;
  std::atomic<int> nextChunk_{0};
};

RowWorkers workers;

}  // namespace

void RunRowChunks(int rows, RowChunkFunction chunk, void* body) {
  if (!workers.Run(rows, chunk, body)) chunk(body, 0, rows);
}

void SetParallelRowsEnabled(bool enabled) { workers.SetEnabled(enabled); }
