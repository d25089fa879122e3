// Pictures drawn at several draw-thread counts against the serial drawing, and the
// count in force kept across a test.
#pragma once

#include <initializer_list>
#include <string>

#include "same_values.h"
#include "workers/tile_frame.h"

// Puts the draw-thread count back as it was when this was made.
class KeepDrawThreads {
 public:
  ~KeepDrawThreads() { SetDrawThreads(threads_); }

 private:
  int threads_ = DrawThreads();
};

// The picture draw() leaves serially, after expecting the one it leaves in tiles at
// each count of `threads` to be the same; `what` names the case in a failure.
template <typename Draw>
auto ExpectTilesMatchTheSerialDrawing(Draw draw, const std::string& what,
                                      std::initializer_list<int> threads = {1, 3, 8}) {
  const KeepDrawThreads kept;
  SetDrawThreads(0);
  const auto serial = draw();
  for (const int count : threads) {
    SetDrawThreads(count);
    EXPECT_TRUE(SameValues(draw(), serial)) << what << " at " << count << " draw threads";
  }
  return serial;
}
