// MEMIMG: the library's system-memory image. It is the target and source of all
// software drawing, the in-memory twin of the screen surfaces in software-render
// mode, the pixel store of memory-image graphs and the glyph cache of memory fonts.
//
// Pixel layouts by kind:
//   kind 0 (16-bit family): u16 RGB565; with the alpha flag 4 bytes per pixel:
//          the RGB565 word, the alpha byte (0 transparent .. 255 opaque), one unused byte
//   kind 1 (32-bit family): bytes blue, green, red, then alpha (alpha flag) or 0xFF
//   kind 2: one byte per pixel (a single channel, e.g. blend-graph weights)
//   kind 3: u16 depth values
// A palette image (kinds 0 and 1) holds one index byte per pixel; its palette has
// 256 entries in the kind's colour layout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/graph_image.h"
#include "graphics/pixel_format.h"
#include "kernel/win_types.h"

constexpr std::uint32_t MEMIMG_MAGIC = 0x12345678u;

enum MemImgKind {
  MEMIMG_KIND_16BIT = 0,   // R 0xF800, G 0x7E0, B 0x1F
  MEMIMG_KIND_32BIT = 1,   // R 0xFF0000, G 0xFF00, B 0xFF
  MEMIMG_KIND_BYTE = 2,    // 8-bit single channel
  MEMIMG_KIND_DEPTH = 3,   // 16-bit single channel (depth)
};

// Transparency run data: per row a sequence of run bytes ended by MEMIMG_RUN_END.
// The top two bits give the run type, the low six bits the length minus 1 (runs of
// 1 to 64 pixels; a longer stretch is split).
constexpr std::uint8_t MEMIMG_RUN_SKIP = 0x00;         // transparent, or alpha 0
constexpr std::uint8_t MEMIMG_RUN_OPAQUE = 0x40;       // drawn as is, or alpha 255
constexpr std::uint8_t MEMIMG_RUN_TRANSLUCENT = 0x80;  // alpha 1..254 (alpha images)
constexpr std::uint8_t MEMIMG_RUN_END = 0xC0;          // end of row
constexpr int MEMIMG_RUN_MAX = 64;

union MemImgPalette {
  std::uint16_t rgb565[256];  // kind 0
  std::uint32_t xrgb[256];    // kind 1: bytes blue, green, red, 0
  std::uint8_t bytes[1024];
};

struct MEMIMG {
  std::uint32_t magic;  // MEMIMG_MAGIC while initialised, 0 otherwise
  int width;
  int height;
  int pitch;       // bytes per row
  int pitchShift;  // log2 of the pitch when it is a power of two, else -1
  const PixelFormat* format;      // one of the cached standard formats
  std::uint32_t transparentColor; // raw pixel value; a palette image uses the low byte as index
  int kind;                       // MemImgKind
  int paletteFlag;                // pixels are indices into palette (kinds 0 and 1)
  int paletteCount;               // palette entries in use
  int alphaFlag;                  // per-pixel alpha (kinds 0 and 1, not with a palette)
  int premultipliedValid;         // premultiplied holds the current pixels
  int runDataValid;               // runData describes the current pixels
  int pixelsBorrowed;             // pixels belong to someone else
  void* palette;                  // -> paletteStorage (shared with the source in a view)
  void* workPalette;              // -> workPaletteStorage: a copy made when pixels are loaded
  MemImgPalette paletteStorage;
  MemImgPalette workPaletteStorage;
  void* pixels;
  void* premultiplied;    // pitch x height bytes: colour x alpha >> 8, alpha kept; or NULL
  std::uint8_t* runData;  // (width + 5) x height bytes of runs; or NULL
  // A number no other content of any image had, kept by every writer of the pixels
  // (MarkMemImgPixelsChanged); 0 for borrowed pixels, which others write.
  std::uint64_t contentStamp;
};

// Bytes per pixel of an image of this kind and flags (4, 2, 1 ...).
int MemImgBytesPerPixel(int kind, int paletteFlag, int alphaFlag);

// The kind of the in-memory screen for a colour depth: 16 bits -> kind 0, else 1.
int MemImgKindForDepth(int bits);

// The cached standard format of a kind with its flags; NULL for a kind above 3.
const PixelFormat* GetStandardPixelFormat(int kind, int alphaFlag, int paletteFlag);

// Initialises a record (zeroed, or with only borrowed pixels set). Pitch -1 means
// bytes per pixel x width rounded up to 16. With extraBlocks an alpha image gets a
// premultiplied block and every kind but 2 a run-data block. -1 when the record is
// already initialised, for a bad size or kind, or when memory runs out (nothing
// obtained by the call is kept).
int InitMemImg(MEMIMG* img, int width, int height, int pitch, std::uint32_t transparentColor,
               int kind, int paletteFlag, int alphaFlag, int extraBlocks);

// A screen-sized image of the given kind (0 or 1) with its own pixels, no palette,
// no alpha, transparent colour 0. The screen code passes MemImgKindForDepth of the
// requested depth. 0 / -1.
int CreateMemImgForScreen(MEMIMG* img, int width, int height, int kind);

// A kind-3 depth image, pitch (2 x width + 15) rounded down to 16. 0 / -1.
int CreateZBufferMemImg(MEMIMG* img, int width, int height);

// A width x height window onto source at (x, y). It shares the source's pixels and
// palette, owns nothing, needs no termination and must not outlive the source.
void InitMemImgView(MEMIMG* view, const MEMIMG* source, int x, int y, int width, int height);

// The image's pixels were (or may have been) written: a new content stamp.
void MarkMemImgPixelsChanged(MEMIMG* img);

// 1 when the image has pixel memory, else 0.
int IsMemImgValid(const MEMIMG* img);

// Releases what the record owns and clears its magic; a record without the magic
// is left alone.
void TerminateMemImg(MEMIMG* img);

// Stores the raw value in every pixel of rect (the whole image for NULL), clipped
// to the image.
void FillMemImgRect(MEMIMG* img, const RECT* rect, std::uint32_t value);

// The store of FillMemImgRect alone, in an area already inside the image: no flush of
// recorded draws, no new content stamp (a recorded clear runs it per tile).
void FillMemImgPixels(const MEMIMG* img, const RECT& area, std::uint32_t value);

// Loads the rectangle (x, y, width, height) of image into img at (destX, destY),
// converting formats (alphaImage's red channel becomes alpha when given). The
// rectangle is clipped to both images. Refreshes the palette tables and, when the
// whole image is written, the run data and the premultiplied copy. ditherMode is
// the library's current dither mode. 0 / -1 (conversion refused).
int TransferGraphImageToMemImg(const GraphImage* image, const GraphImage* alphaImage, MEMIMG* img,
                               int x, int y, int width, int height, int destX, int destY,
                               int ditherMode);

// Copies the rectangle (x, y, width, height) of img into dest's pixels at
// (destX, destY) in dest's format, clipped to both. Only kinds 0 and 1 without
// palette and alpha; other images are left untouched.
void TransferMemImg(GraphImage* dest, const MEMIMG* img, int x, int y, int width, int height,
                    int destX, int destY, int mirror, int ditherMode);
