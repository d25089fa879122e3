// Test images for the software kernels: owned MEMIMGs of any kind and form,
// pixel access, random contents and a run table built by the run rules.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "graphics/memimg.h"
#include "softrender/soft_draw_state.h"

// Fills the blend lookup tables (not the blend-graph ramp) once per process.
void EnsureBlendTables();

class TestImage {
 public:
  // kind 0/1 with palette and alpha flags, or kind 2 (blend graph). extraBlocks gives
  // the image a run-table buffer. Palette images get 256 entries.
  TestImage(int width, int height, int kind, int palette = 0, int alpha = 0, std::uint32_t key = 0,
            int extraBlocks = 0);
  ~TestImage();
  TestImage(const TestImage&) = delete;
  TestImage& operator=(const TestImage&) = delete;

  MEMIMG* get() { return &img_; }
  const MEMIMG* get() const { return &img_; }
  MEMIMG* operator->() { return &img_; }
  const MEMIMG* operator->() const { return &img_; }

  int BytesPerPixel() const;
  // The raw stored value of a pixel (index, RGB565 word, 4-byte word).
  std::uint32_t Get(int x, int y) const;
  void Set(int x, int y, std::uint32_t value);
  void Fill(std::uint32_t value);
  std::uint32_t PaletteEntry(int index) const;
  void SetPaletteEntry(int index, std::uint32_t value);
  // Every pixel byte, pitch padding included.
  std::vector<std::uint8_t> Bytes() const;
  void SetBytes(const std::vector<std::uint8_t>& bytes);
  // Builds the run table from the current pixels and marks it valid.
  void BuildRunTable();

 private:
  MEMIMG img_{};
};

// Random contents: pixels, alphas biased towards 0 and 255, palette entries, and a
// share of pixels equal to the transparent colour.
void FillRandom(TestImage& image, std::mt19937& rng);

SoftDrawState MakeState(int mode, int param, std::uint32_t tint = 0xFFFFFF, int mmx = 0,
                        RECT clip = RECT{0, 0, 1 << 20, 1 << 20});
