// A digest of one frame of the game: what a replay must reproduce exactly. Two runs
// are compared frame by frame, and the first frame that differs is named.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FrameDigest {
  std::uint64_t pool;      // all 8600 records
  std::uint64_t runState;  // run, control and scene state
  int inputWord;           // the replay's word of the frame
  int bitHold[14];
  int actionHold[5];
  int randomDraws;         // position of the random generator since its seed
  std::uint64_t calls;     // the recorder's hash of the game's calls in the frame, sounds aside
  std::uint64_t sounds;    // the same of its sound calls: effects, starts, volumes and queries

  bool operator==(const FrameDigest&) const = default;
};

// Taken after each pass; ends the call recorder's frame.
FrameDigest TakeFrameDigest();

// The digests with their sounds left out, for runs that are not paced alike: whether a
// sound still plays depends on the time a frame takes, which a playback's speed keys
// change.
std::vector<FrameDigest> WithoutSounds(std::vector<FrameDigest> digests);

// The index of the first frame in which the two runs differ, or -1 when they agree
// over the length of the shorter.
int FirstDivergingFrame(const std::vector<FrameDigest>& a, const std::vector<FrameDigest>& b);
// "frame 41: pool, input word" and the like, for failure messages.
std::string DescribeDivergence(const std::vector<FrameDigest>& a, const std::vector<FrameDigest>& b);
