// MEMIMG records: the standard formats, creation over owned or borrowed memory,
// views, filling and termination.
#include "graphics/memimg.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>

#include "core/tracked_alloc.h"
#include "graphics/pixel_bytes.h"
#include "workers/tile_frame.h"

int MemImgBytesPerPixel(int kind, int paletteFlag, int alphaFlag) {
  if (kind == MEMIMG_KIND_BYTE) return 1;
  if (kind == MEMIMG_KIND_DEPTH) return 2;
  if (paletteFlag) return 1;
  if (kind == MEMIMG_KIND_16BIT) return alphaFlag ? 4 : 2;
  return 4;
}

int MemImgKindForDepth(int bits) { return bits == 16 ? MEMIMG_KIND_16BIT : MEMIMG_KIND_32BIT; }

namespace {

struct StandardFormats {
  PixelFormat colour[2][2][2];  // [kind][alpha][palette]
  PixelFormat single[2];        // kinds 2 and 3
};

StandardFormats BuildStandardFormats() {
  StandardFormats f{};
  struct Masks {
    std::uint32_t r, g, b, a;
  };
  const Masks kindMasks[2] = {{0xF800u, 0x7E0u, 0x1Fu, 0xFF0000u}, {0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u}};
  for (int kind = 0; kind < 2; ++kind) {
    const Masks& m = kindMasks[kind];
    for (int alpha = 0; alpha < 2; ++alpha) {
      for (int palette = 0; palette < 2; ++palette) {
        const int bits = palette ? 8 : (kind == 0 && !alpha ? 16 : 32);
        BuildPixelFormatBody(&f.colour[kind][alpha][palette], bits, m.r, m.g, m.b, alpha ? m.a : 0);
      }
    }
  }
  BuildPixelFormatBody(&f.single[0], 8, 0xFFu, 0xFFu, 0xFFu, 0xFFu);
  BuildPixelFormatBody(&f.single[1], 16, 0xFFFFu, 0xFFFFu, 0xFFFFu, 0xFFFFu);
  return f;
}

int PitchShift(int pitch) {
  if (pitch <= 0 || (pitch & (pitch - 1)) != 0) return -1;
  return __builtin_ctz(static_cast<unsigned>(pitch));
}

}  // namespace

const PixelFormat* GetStandardPixelFormat(int kind, int alphaFlag, int paletteFlag) {
  static const StandardFormats formats = BuildStandardFormats();
  if (kind < 0 || kind > 3) return nullptr;
  if (kind >= 2) return &formats.single[kind - 2];
  return &formats.colour[kind][alphaFlag ? 1 : 0][paletteFlag ? 1 : 0];
}

int InitMemImg(MEMIMG* img, int width, int height, int pitch, std::uint32_t transparentColor, int kind,
               int paletteFlag, int alphaFlag, int extraBlocks) {
  if (img->magic == MEMIMG_MAGIC) return -1;
  if (kind < 0 || kind > 3 || width < 1 || height < 1) return -1;
  const bool singleChannel = kind >= MEMIMG_KIND_BYTE;
  const int palette = !singleChannel && paletteFlag ? 1 : 0;
  const int alpha = !singleChannel && !palette && alphaFlag ? 1 : 0;
  const std::size_t rowBytes = static_cast<std::size_t>(MemImgBytesPerPixel(kind, palette, alpha)) * width;
  std::size_t pitchBytes = pitch;
  if (pitch == -1) pitchBytes = (rowBytes + 15) & ~std::size_t{15};
  if (pitch < -1 || pitchBytes < rowBytes || pitchBytes > INT_MAX) return -1;
  const std::size_t rows = static_cast<std::size_t>(height);
  if (pitchBytes > SIZE_MAX / rows || static_cast<std::size_t>(width) + 5 > SIZE_MAX / rows) return -1;

  // Take every block first, so that a failure leaves nothing behind.
  void* pixels = img->pixels;
  void* premultiplied = img->premultiplied;
  std::uint8_t* runData = img->runData;
  const bool ownPixels = pixels == nullptr;
  const bool ownPremultiplied = extraBlocks && alpha && premultiplied == nullptr;
  const bool ownRunData = extraBlocks && kind != MEMIMG_KIND_BYTE && runData == nullptr;
  if (ownPixels) pixels = TRACKED_ALLOC(pitchBytes * rows);
  if (ownPremultiplied) premultiplied = TRACKED_ALLOC(pitchBytes * rows);
  if (ownRunData) runData = static_cast<std::uint8_t*>(TRACKED_ALLOC((static_cast<std::size_t>(width) + 5) * rows));
  if (pixels == nullptr || (ownPremultiplied && premultiplied == nullptr) || (ownRunData && runData == nullptr)) {
    if (ownPixels && pixels != nullptr) TrackedFree(pixels);
    if (ownPremultiplied && premultiplied != nullptr) TrackedFree(premultiplied);
    if (ownRunData && runData != nullptr) TrackedFree(runData);
    return -1;
  }

  img->width = width;
  img->height = height;
  img->pitch = static_cast<int>(pitchBytes);
  img->pitchShift = PitchShift(img->pitch);
  img->format = GetStandardPixelFormat(kind, alpha, palette);
  img->transparentColor = transparentColor;
  img->kind = kind;
  img->paletteFlag = palette;
  img->alphaFlag = alpha;
  img->premultipliedValid = 0;
  img->runDataValid = 0;
  img->pixelsBorrowed = ownPixels ? 0 : 1;
  img->palette = &img->paletteStorage;
  img->workPalette = &img->workPaletteStorage;
  img->pixels = pixels;
  img->premultiplied = premultiplied;
  img->runData = runData;
  MarkMemImgPixelsChanged(img);
  img->magic = MEMIMG_MAGIC;
  return 0;
}

int CreateMemImgForScreen(MEMIMG* img, int width, int height, int kind) {
  std::memset(static_cast<void*>(img), 0, sizeof *img);
  return InitMemImg(img, width, height, -1, 0, kind, 0, 0, 0);
}

int CreateZBufferMemImg(MEMIMG* img, int width, int height) {
  std::memset(static_cast<void*>(img), 0, sizeof *img);
  return InitMemImg(img, width, height, -1, 0, MEMIMG_KIND_DEPTH, 0, 0, 0);
}

void InitMemImgView(MEMIMG* view, const MEMIMG* source, int x, int y, int width, int height) {
  view->magic = MEMIMG_MAGIC;
  view->width = width;
  view->height = height;
  view->pitch = source->pitch;
  view->pitchShift = source->pitchShift;
  view->format = source->format;
  view->transparentColor = source->transparentColor;
  view->kind = source->kind;
  view->paletteFlag = source->paletteFlag;
  view->paletteCount = source->paletteCount;
  view->alphaFlag = source->alphaFlag;
  view->premultipliedValid = 0;
  view->runDataValid = 0;
  view->pixelsBorrowed = 0;
  view->palette = source->palette;
  view->workPalette = source->workPalette;
  view->pixels = static_cast<std::uint8_t*>(source->pixels) + static_cast<std::ptrdiff_t>(y) * source->pitch +
                 static_cast<std::ptrdiff_t>(x) * source->format->bytesPerPixel;
  view->premultiplied = nullptr;
  view->runData = nullptr;
  view->contentStamp = source->contentStamp;
}

void MarkMemImgPixelsChanged(MEMIMG* img) {
  static std::atomic<std::uint64_t> lastStamp{0};
  img->contentStamp = img->pixelsBorrowed ? 0 : lastStamp.fetch_add(1, std::memory_order_relaxed) + 1;
}

int IsMemImgValid(const MEMIMG* img) { return img->pixels != nullptr ? 1 : 0; }

void TerminateMemImg(MEMIMG* img) {
  FlushTileFrame();
  if (img->magic != MEMIMG_MAGIC) return;
  if (!img->pixelsBorrowed && img->pixels != nullptr) TrackedFree(img->pixels);
  if (img->premultiplied != nullptr) TrackedFree(img->premultiplied);
  if (img->runData != nullptr) TrackedFree(img->runData);
  img->pixels = nullptr;
  img->premultiplied = nullptr;
  img->runData = nullptr;
  img->magic = 0;
}

namespace {

// The first row pixel by pixel, the others copied from it; a value whose bytes are
// all alike is set bytewise. Both are the library's widest stores.
template <int Bytes>
void FillRows(std::uint8_t* first, int pitch, int width, int height, std::uint32_t value) {
  const std::size_t rowBytes = static_cast<std::size_t>(width) * Bytes;
  const auto row = [&](int y) { return first + static_cast<std::ptrdiff_t>(y) * pitch; };
  const auto byte = static_cast<std::uint8_t>(value);
  const std::uint32_t spread = (Bytes == 1 ? 0x1u : Bytes == 2 ? 0x101u : 0x1010101u) * byte;
  const std::uint32_t used = Bytes == 4 ? ~0u : (1u << (8 * Bytes)) - 1;
  if ((value & used) == spread) {
    for (int y = 0; y < height; ++y) std::memset(row(y), byte, rowBytes);
    return;
  }
  for (int x = 0; x < width; ++x) StorePixel<Bytes>(first + x * Bytes, value);
  for (int y = 1; y < height; ++y) std::memcpy(row(y), first, rowBytes);
}

}  // namespace

void FillMemImgPixels(const MEMIMG* img, const RECT& area, std::uint32_t value) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0 || img->pixels == nullptr) return;
  const int bytes = img->format->bytesPerPixel;
  std::uint8_t* first = static_cast<std::uint8_t*>(img->pixels) + static_cast<std::ptrdiff_t>(area.top) * img->pitch +
                        static_cast<std::ptrdiff_t>(area.left) * bytes;
  switch (bytes) {
    case 1: FillRows<1>(first, img->pitch, width, height, value); break;
    case 2: FillRows<2>(first, img->pitch, width, height, value); break;
    default: FillRows<4>(first, img->pitch, width, height, value); break;
  }
}

void FillMemImgRect(MEMIMG* img, const RECT* rect, std::uint32_t value) {
  FlushTileFrame();
  RECT r = rect != nullptr ? *rect : RECT{0, 0, img->width, img->height};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  r.left = std::clamp<LONG>(r.left, 0, img->width);
  r.right = std::clamp<LONG>(r.right, 0, img->width);
  r.top = std::clamp<LONG>(r.top, 0, img->height);
  r.bottom = std::clamp<LONG>(r.bottom, 0, img->height);
  MarkMemImgPixelsChanged(img);
  FillMemImgPixels(img, r, value);
}
