// softrender_primitives_demo OUT.png [16]: draws a contact sheet of the software
// renderer's primitives into a 32-bit (or, with "16", an RGB565) in-memory image
// and writes it as a PNG:
//   row 1: a sprite turned by 0, 90, 180 and 270 degrees, then the same mirrored;
//   row 2: the sprite turned in 30-degree steps at scales from 0.5 to 2;
//   row 3: half-transparent and additive sprites, plain and mirrored, at odd
//          angles over a flat background (no seam may show);
//   row 4: rectangle fills in blend modes 0 to 4 over a gradient, a line star in
//          each mode, and rectangle outlines.
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "graphics/blend_tables.h"
#include "graphics/memimg.h"
#include "softrender/fill_kernels.h"
#include "softrender/line_kernels.h"
#include "softrender/rotated_kernels.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 640;
constexpr double kPi = 3.14159265358979323846;

// A colour as the image's pixel value.
std::uint32_t Pixel(int kind, int r, int g, int b, int a = 0) {
  if (kind == MEMIMG_KIND_32BIT) return static_cast<std::uint32_t>(b | g << 8 | r << 16 | a << 24);
  return static_cast<std::uint32_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3)) | static_cast<std::uint32_t>(a) << 16;
}

void SetPixel(MEMIMG* img, int x, int y, std::uint32_t v) {
  const int bytes = img->format->bytesPerPixel;
  std::memcpy(static_cast<std::uint8_t*>(img->pixels) + y * img->pitch + x * bytes, &v, static_cast<std::size_t>(bytes));
}

// An upright "F" on a blue card with a fading alpha edge: its turns and mirrors
// are easy to tell apart.
void MakeSprite(MEMIMG* sprite, int kind) {
  const int w = 40, h = 52;
  InitMemImg(sprite, w, h, -1, 0, kind, 0, 1, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int edge = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
      const int alpha = edge >= 4 ? 255 : edge * 60;
      const bool letter = (x >= 10 && x < 17 && y >= 8 && y < 44) || (y >= 8 && y < 15 && x >= 10 && x < 32) ||
                          (y >= 23 && y < 29 && x >= 10 && x < 27);
      const bool corner = x < 8 && y < 8;
      SetPixel(sprite, x, y,
               letter ? Pixel(kind, 255, 230, 40, alpha)
                      : corner ? Pixel(kind, 230, 40, 40, alpha) : Pixel(kind, 40, 90 + y * 2, 200, alpha));
    }
  }
}

SoftDrawState State(int mode, int param) {
  SoftDrawState s{};
  s.clip = RECT{0, 0, kWidth, kHeight};
  s.blendMode = mode;
  s.blendParam = param;
  s.tint = 0xFFFFFF;
  return s;
}

void DrawSheet(MEMIMG* sheet, int kind) {
  const SoftDrawState opaque = State(0, 255);
  // A gradient background.
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) SetPixel(sheet, x, y, Pixel(kind, x / 8, 40 + y / 8, 60));
  MEMIMG sprite{};
  MakeSprite(&sprite, kind);

  for (int i = 0; i < 8; ++i) {
    BlitMemImgRotatedKernels(sheet, &sprite, 60 + i * 120, 60, static_cast<float>((i % 4) * kPi / 2), 1.0f, 1, i >= 4,
                             nullptr, opaque);
  }
  for (int i = 0; i < 12; ++i) {
    BlitMemImgRotatedKernels(sheet, &sprite, 45 + i * 84, 180, static_cast<float>(i * kPi / 6),
                             static_cast<float>(0.5 + 1.5 * i / 11), 1, i % 2, nullptr, opaque);
  }

  // Flat panel, then translucent and additive sprites.
  const RECT panel{0, 250, kWidth, 390};
  FillMemImgRectKernels(sheet, &panel, Pixel(kind, 50, 50, 70), opaque);
  for (int i = 0; i < 8; ++i) {
    const SoftDrawState state = i < 4 ? State(1, 128) : State(2, 160);
    BlitMemImgRotatedKernels(sheet, &sprite, 60 + i * 120, 320, static_cast<float>(0.37 + i * 0.71), 1.6f, 1, i % 2,
                             nullptr, state);
  }

  // Fills in modes 0-4, a line star in each mode, outlines.
  for (int mode = 0; mode <= 4; ++mode) {
    const RECT rect{20 + mode * 100, 420, 100 + mode * 100, 500};
    FillMemImgRectKernels(sheet, &rect, Pixel(kind, 200, 120, 60), State(mode, 160));
    const int cx = 560 + mode * 95, cy = 470;
    for (int k = 0; k < 24; ++k) {
      const double a = k * kPi / 12;
      DrawMemImgLineKernels(sheet, cx, cy, cx + static_cast<int>(40 * std::cos(a)), cy + static_cast<int>(40 * std::sin(a)),
                            Pixel(kind, 250, 250, 120), State(mode, 200));
    }
  }
  for (int i = 0; i < 6; ++i) {
    LineRec outline[4];
    MakeRectOutlineLines(30 + i * 160, 530, 150 + i * 160 - i * 10, 620 - i * 8, Pixel(kind, 255, 255, 255), 255,
                         outline);
    DrawLineListMemImg(sheet, outline, 4, State(i % 5, 200));
  }
  TerminateMemImg(&sprite);
}

bool WritePng(const char* path, const MEMIMG* img) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(img->width), static_cast<png_uint_32>(img->height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(img->width) * 3);
  for (int y = 0; y < img->height; ++y) {
    const auto* p = static_cast<const std::uint8_t*>(img->pixels) + y * img->pitch;
    for (int x = 0; x < img->width; ++x) {
      std::uint8_t* out = &row[static_cast<std::size_t>(x) * 3];
      if (img->kind == MEMIMG_KIND_32BIT) {
        out[0] = p[4 * x + 2];
        out[1] = p[4 * x + 1];
        out[2] = p[4 * x];
      } else {
        const unsigned v = p[2 * x] | p[2 * x + 1] << 8;
        out[0] = static_cast<std::uint8_t>((v >> 11) * 255 / 31);
        out[1] = static_cast<std::uint8_t>((v >> 5 & 63) * 255 / 63);
        out[2] = static_cast<std::uint8_t>((v & 31) * 255 / 31);
      }
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: softrender_primitives_demo OUT.png [16]\n");
    return 2;
  }
  const int kind = argc > 2 && std::strcmp(argv[2], "16") == 0 ? MEMIMG_KIND_16BIT : MEMIMG_KIND_32BIT;
  FillBlendLookupTables();
  MEMIMG sheet{};
  if (CreateMemImgForScreen(&sheet, kWidth, kHeight, kind) != 0) return 1;
  DrawSheet(&sheet, kind);
  const bool written = WritePng(argv[1], &sheet);
  TerminateMemImg(&sheet);
  if (!written) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
