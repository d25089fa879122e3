// The frame drawn in screen tiles, bands of whole rows. Both drawing paths record their
// draws here as they come, each with the box of target pixels it may write. Every few
// hundred draws the workers are handed what is recorded and run it while the recording
// goes on; a flush, when something is about to read or change a picture the draws use,
// runs the rest, the calling thread and the workers taking whole tiles, busiest first,
// with one join. Each tile runs every draw whose box meets it, in call order, clipped
// to the tile, one thread at a time: so a draw must write the same bytes inside a tile
// whatever tile it is clipped to, and what it reads must not change, nor what it writes
// be read, from its recording until the flush.
//
// Drawing is on one thread (the game's); recording and flushing are not thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "kernel/win_types.h"

// What one run of a draw may write: a tile of the target, and its index (0 .. count - 1,
// one worker at a time per tile).
struct DrawTile {
  RECT area;
  int index;
};

// Threads that draw, the recording thread counted; 0 draws every call at once
// on the calling thread, unrecorded (the serial drawing); 1 draws in tiles with no other
// thread. At first use the environment's VANTOREL_DRAW_THREADS ("serial" or a count)
// decides, else the processors this process may run on (serial on one). Setting it
// flushes what is recorded.
void SetDrawThreads(int threads);
int DrawThreads();
inline bool TiledDrawing() { return DrawThreads() > 0; }

// Runs every recorded draw not yet run (nothing when none is).
void FlushTileFrame();

// Flushes so far: what was kept before another one is gone.
std::uint64_t TileFrameFlushes();

// Tiles of a target of this size (all equal but the last).
int TileCount(int width, int height);

namespace tile_frame_detail {
using RunFunction = void (*)(const void* draw, const DrawTile& tile);
// Space kept until the next flush, aligned for any recorded draw.
void* Allocate(std::size_t bytes);
void Record(const RECT& box, RunFunction run, const void* draw);
}  // namespace tile_frame_detail

// Draws recorded from now on write into a target of width x height whose pixels are
// identified by `target`: flushes when the recorded draws have another. Called before
// anything is kept for a draw.
void UseDrawTarget(const void* target, int width, int height);

// A copy of `value` kept until the next flush (for data several draws share).
template <typename T>
const T* KeepUntilFlush(const T& value) {
  static_assert(std::is_trivially_copyable_v<T>, "recorded data is dropped without destruction");
  return new (tile_frame_detail::Allocate(sizeof(T))) T(value);
}

// The copy of `value` kept by the last call with this `last`, when it is still kept and
// the same to the byte, else a new one: for data that runs of draws share.
template <typename T>
struct LastKept {
  const T* value = nullptr;
  std::uint64_t flushes = 0;
};
template <typename T>
const T* KeepUntilFlushShared(const T& value, LastKept<T>* last) {
  const std::uint64_t flushes = TileFrameFlushes();
  if (last->value == nullptr || last->flushes != flushes || std::memcmp(last->value, &value, sizeof(T)) != 0) {
    *last = LastKept<T>{KeepUntilFlush(value), flushes};
  }
  return last->value;
}

// `count` elements copied likewise.
template <typename T>
const T* KeepUntilFlush(const T* values, std::size_t count) {
  static_assert(std::is_trivially_copyable_v<T>, "recorded data is dropped without destruction");
  T* kept = static_cast<T*>(tile_frame_detail::Allocate(sizeof(T) * count));
  for (std::size_t i = 0; i < count; ++i) new (kept + i) T(values[i]);
  return kept;
}

// Records draw(const DrawTile&) writing at most `box` of the target in use; nothing
// when the box misses it.
template <typename Draw>
void RecordDraw(const RECT& box, const Draw& draw) {
  const Draw* kept = KeepUntilFlush(draw);
  tile_frame_detail::Record(box, [](const void* d, const DrawTile& tile) { (*static_cast<const Draw*>(d))(tile); },
                            kept);
}
