// Writing small movies for tests and demos: numbered frames, each one flat colour, with
// an optional tone, encoded with FFmpeg's libraries.
#pragma once

#include <cstdint>
#include <string>

struct TestMovieSpec {
  int width = 64;  // even
  int height = 48;  // even
  int frames = 8;
  int framesPerSecond = 10;
  int keyFrameInterval = 1;  // a key frame every this many frames
  bool withSound = false;    // a 440 Hz tone as long as the pictures
  std::string container = "avi";
  std::string videoCodec = "mpeg4";
};

// The colour of a frame (0x00RRGGBB); twelve colours far apart, repeating.
std::uint32_t TestMovieFrameColour(int frame);
// The frame whose colour lies nearest to a pixel (0x00RRGGBB), and how far it lies (the
// largest channel difference).
int NearestTestMovieFrame(std::uint32_t pixel, int* distance = nullptr);

// Writes the movie; false (with a message on stderr) when it cannot.
bool WriteTestMovie(const std::string& path, const TestMovieSpec& spec);
