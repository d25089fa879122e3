// Spreading the rows of one large draw over a few worker threads. The rows are cut into
// contiguous chunks handed out to the workers and the calling thread; the call returns
// when every chunk is done, so draws stay in order. Each row must depend only on its own
// index (and on state no other row writes): then the result is the serial loop's.
#pragma once

#include <cstdint>
#include <type_traits>

// Draws smaller than this many pixels run on the calling thread alone: waking the
// workers would cost more than it saves.
constexpr std::int64_t kParallelRowsMinPixels = 96 * 1024;

using RowChunkFunction = void (*)(void* body, int firstRow, int endRow);

// Runs chunk(body, first, end) over rows [0, rows), in parallel where it can: on the
// calling thread alone while another draw holds the workers (or from inside a chunk),
// and when no worker can be started.
void RunRowChunks(int rows, RowChunkFunction chunk, void* body);

// For tests: false makes every draw serial (the default is true).
void SetParallelRowsEnabled(bool enabled);

// body(firstRow, endRow) over rows [0, rows) of a draw of `pixels` pixels: across the
// workers when the draw is large, else in one call.
template <typename Body>
void ForEachRowChunk(int rows, std::int64_t pixels, Body&& body) {
  if (rows < 2 || pixels < kParallelRowsMinPixels) {
    if (rows > 0) body(0, rows);
    return;
  }
  using Plain = std::remove_reference_t<Body>;
  RunRowChunks(
      rows, [](void* b, int first, int end) { (*static_cast<Plain*>(b))(first, end); },
      const_cast<void*>(static_cast<const void*>(&body)));
}
