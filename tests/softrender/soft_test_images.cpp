#include "soft_test_images.h"

#include <cstring>

#include "graphics/blend_tables.h"

void EnsureBlendTables() {
  // The blend-graph ramp is left to the tests that use a blend graph.
  static const bool filled = [] {
    FillBlendLookupTables();
    return true;
  }();
  (void)filled;
}

TestImage::TestImage(int width, int height, int kind, int palette, int alpha, std::uint32_t key, int extraBlocks) {
  EnsureBlendTables();
  InitMemImg(&img_, width, height, -1, key, kind, palette, alpha, extraBlocks);
  std::memset(img_.pixels, 0, static_cast<std::size_t>(img_.pitch) * height);
  if (palette) img_.paletteCount = 256;
}

TestImage::~TestImage() { TerminateMemImg(&img_); }

int TestImage::BytesPerPixel() const { return img_.format->bytesPerPixel; }

std::uint32_t TestImage::Get(int x, int y) const {
  const auto* p = static_cast<const std::uint8_t*>(img_.pixels) + y * img_.pitch + x * BytesPerPixel();
  std::uint32_t v = 0;
  std::memcpy(&v, p, BytesPerPixel());
  return v;
}

void TestImage::Set(int x, int y, std::uint32_t value) {
  auto* p = static_cast<std::uint8_t*>(img_.pixels) + y * img_.pitch + x * BytesPerPixel();
  std::memcpy(p, &value, BytesPerPixel());
  MarkMemImgPixelsChanged(&img_);
}

void TestImage::Fill(std::uint32_t value) {
  for (int y = 0; y < img_.height; ++y)
    for (int x = 0; x < img_.width; ++x) Set(x, y, value);
}

std::uint32_t TestImage::PaletteEntry(int index) const {
  if (img_.kind == MEMIMG_KIND_16BIT) return static_cast<const std::uint16_t*>(img_.palette)[index];
  return static_cast<const std::uint32_t*>(img_.palette)[index];
}

void TestImage::SetPaletteEntry(int index, std::uint32_t value) {
  if (img_.kind == MEMIMG_KIND_16BIT) {
    static_cast<std::uint16_t*>(img_.palette)[index] = static_cast<std::uint16_t>(value);
  } else {
    static_cast<std::uint32_t*>(img_.palette)[index] = value;
  }
}

std::vector<std::uint8_t> TestImage::Bytes() const {
  const auto* p = static_cast<const std::uint8_t*>(img_.pixels);
  return std::vector<std::uint8_t>(p, p + static_cast<std::size_t>(img_.pitch) * img_.height);
}

void TestImage::SetBytes(const std::vector<std::uint8_t>& bytes) {
  std::memcpy(img_.pixels, bytes.data(), bytes.size());
  MarkMemImgPixelsChanged(&img_);
}

// Run ops: 0 not drawn, 1 opaque, 2 translucent; rows of runs of at most 64 ended
// by 0xC0.
void TestImage::BuildRunTable() {
  std::uint8_t* out = img_.runData;
  for (int y = 0; y < img_.height; ++y) {
    int x = 0;
    while (x < img_.width) {
      const auto opOf = [&](int px) {
        const std::uint32_t v = Get(px, y);
        if (img_.alphaFlag && !img_.paletteFlag) {
          const std::uint32_t a = img_.kind == MEMIMG_KIND_16BIT ? (v >> 16) & 0xFF : v >> 24;
          return a == 0 ? 0 : a == 255 ? 1 : 2;
        }
        return v == img_.transparentColor ? 0 : 1;
      };
      const int op = opOf(x);
      int length = 1;
      while (x + length < img_.width && length < 64 && opOf(x + length) == op) ++length;
      *out++ = static_cast<std::uint8_t>((op << 6) | (length - 1));
      x += length;
    }
    *out++ = 0xC0;
  }
  img_.runDataValid = 1;
}

void FillRandom(TestImage& image, std::mt19937& rng) {
  MEMIMG* img = image.get();
  std::uniform_int_distribution<std::uint32_t> any;
  const auto pickAlpha = [&] {
    const std::uint32_t r = any(rng) % 8;
    return r < 2 ? 0u : r < 4 ? 255u : any(rng) & 0xFF;
  };
  for (int y = 0; y < img->height; ++y) {
    for (int x = 0; x < img->width; ++x) {
      std::uint32_t v = any(rng);
      if (img->paletteFlag) {
        v &= 0xFF;
      } else if (img->kind == MEMIMG_KIND_16BIT) {
        v = img->alphaFlag ? (v & 0xFF00FFFFu) | (pickAlpha() << 16) : v & 0xFFFF;
      } else if (img->kind == MEMIMG_KIND_32BIT && img->alphaFlag) {
        v = (v & 0xFFFFFF) | (pickAlpha() << 24);
      } else if (img->kind == MEMIMG_KIND_BYTE) {
        v &= 0xFF;
      }
      if (!img->alphaFlag && img->kind <= 1 && any(rng) % 4 == 0) v = img->transparentColor;
      image.Set(x, y, v);
    }
  }
  if (img->paletteFlag) {
    for (int i = 0; i < 256; ++i) {
      image.SetPaletteEntry(i, img->kind == MEMIMG_KIND_16BIT ? any(rng) & 0xFFFF : any(rng) & 0xFFFFFF);
    }
  }
}

SoftDrawState MakeState(int mode, int param, std::uint32_t tint, int mmx, RECT clip) {
  SoftDrawState s{};
  s.clip = clip;
  s.blendMode = mode;
  s.blendParam = param;
  s.tint = tint;
  s.mmxUsable = mmx;
  return s;
}
