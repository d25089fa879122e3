// The software text path: text of a font with a memory glyph cache, written straight
// into the draw target (plain text), or composed in the font's drawing screen and
// blended onto the target by the image kernel (anti-aliased text and blend modes).
#include <algorithm>
#include <climits>
#include <cstdint>

#include "graphics/draw_area_bracket.h"
#include "graphics/draw_state.h"
#include "graphics/font_record.h"
#include "graphics/fonts.h"
#include "graphics/glyph_cache.h"
#include "graphics/screen_mode.h"
#include "graphics/software_draw_setups.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_data.h"
#include "graphics/text_layout.h"
#include "softrender/clip_rect.h"
#include "workers/tile_frame.h"

namespace {

// The draw state's clip and tint, put back when the blended path ends.
class KeptClipAndTint {
 public:
  KeptClipAndTint() : clip_(DrawState.clip), tint_(DrawState.tint) {
    std::copy(DrawState.clipFloat, DrawState.clipFloat + 4, clipFloat_);
  }
  ~KeptClipAndTint() {
    SetClip(clip_);
    SetDrawTintPacked(tint_);
  }
  const RECT& clip() const { return clip_; }

  static void SetClip(const RECT& clip) {
    DrawState.clip = clip;
    DrawState.clipFloat[0] = static_cast<float>(clip.left);
    DrawState.clipFloat[1] = static_cast<float>(clip.top);
    DrawState.clipFloat[2] = static_cast<float>(clip.right);
    DrawState.clipFloat[3] = static_cast<float>(clip.bottom);
  }

 private:
  RECT clip_;
  float clipFloat_[4];
  std::uint32_t tint_;
};

// Colours of the drawing entry points: in-memory format in software-render mode, the
// screen's format otherwise.
const PixelFormat* ScreenColourFormat() {
  return IsSoftwareRenderMode() ? QueryMemImgScreenPixelFormat() : QueryScreenPixelFormat();
}

bool DrawsPlain(const FontRecord& font) {
  if (ScreenMode.bits == 8) return true;
  if ((font.fontType & kFontTypeAntialiased) != 0) return false;
  return DrawState.blendMode == 0 || (DrawState.blendMode == 1 && DrawState.blendParam == 255);
}

// The rectangle a text of this extent may touch: glyph parts and edges reach past the
// advance and the line by less than a cell, on every side.
RECT TextReach(std::int64_t x, std::int64_t y, const SIZE& extent, int cellSize) {
  const auto clamp = [](std::int64_t v) { return static_cast<LONG>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); };
  return RECT{clamp(x - cellSize), clamp(y - cellSize), clamp(x + extent.cx + cellSize),
              clamp(y + extent.cy + cellSize)};
}

int DrawPlainText(int x, int y, const char* text, std::uint32_t colour, const FontRecord& font, int fontHandle,
                  std::uint32_t edgeColour, int vertical, const SIZE& extent) {
  if (IsMemImgScreenMode()) {
    MEMIMG* target = DirectTarget();
    if (target == nullptr) return -1;
    FlushTileFrame();  // glyphs are drawn now, after what is recorded
    const int drawn = DrawOrMeasureText(1, x, y, 0, 1.0, 1.0, text, colour, target, &DrawState.clip, 1, fontHandle,
                                        edgeColour, -1, vertical, nullptr);
    MarkDrawTargetWritten();
    return drawn == -1 ? -1 : 0;
  }
  EndDeviceWork();
  const RECT reach = TextReach(x, y, extent, font.cellSize);
  // A converted work copy gets the colours converted with it.
  if (CopyMemImgRect(nullptr, 0, nullptr, &reach, 1, &colour, &edgeColour) < 0) return -1;
  int drawn = -1;
  if (SoftDrawTargetImg != nullptr) {
    drawn = DrawOrMeasureText(1, x, y, 0, 1.0, 1.0, text, colour, SoftDrawTargetImg, &SoftDrawPreparedRect, 1,
                              fontHandle, edgeColour, -1, vertical, nullptr);
  }
  SyncScreenMemImg();
  MarkDrawTargetWritten();
  return drawn == -1 ? -1 : 0;
}

// A transparent colour of the cache image that neither text colour takes, wrapping
// within the pixel width.
std::uint32_t ChooseCacheKey(const MEMIMG& cache, std::uint32_t colour, std::uint32_t edgeColour) {
  if (cache.alphaFlag) return 0;
  const std::uint32_t pixelMask = cache.kind == MEMIMG_KIND_16BIT ? 0xFFFFu : 0xFFFFFFFFu;
  std::uint32_t key = cache.transparentColor & pixelMask;
  while (key == colour || key == edgeColour) key = (key + 1) & pixelMask;
  return key;
}

int DrawBlendedText(int x, int y, const char* text, std::uint32_t colour, FontRecord* font, int fontHandle,
                    std::uint32_t edgeColour, int vertical, const SIZE& extent) {
  if (RefreshFontCache(fontHandle) != 0) return -1;
  const Surface2D* piece = GetSurface2DRecord(font->screenSurface);
  SurfaceData* data = piece != nullptr ? GetSurfaceDataRecord(piece->surfaceData) : nullptr;
  if (data == nullptr || !data->memoryImage || data->image.pixels == nullptr) return -1;
  MEMIMG& cache = data->image;

  // The text is composed a cell in from the top-left corner of the drawing screen, so
  // that the parts of glyphs and edges reaching past its advance are kept.
  KeptClipAndTint kept;
  const int margin = font->cellSize;
  int screenWidth = 0;
  int screenHeight = 0;
  GetScreenModeSizeBody(&screenWidth, &screenHeight);
  RECT textBox = TextReach(margin, margin, extent, margin);
  const RECT screen{0, 0, std::min(screenWidth, cache.width), std::min(screenHeight, cache.height)};
  ClipRectangleBody(&textBox, &screen);
  KeptClipAndTint::SetClip(textBox);

  // The colours in the cache image's own format.
  const PixelFormat* from = ScreenColourFormat();
  if (!SamePixelFormat(from, cache.format)) {
    colour = ConvertPixelBetweenFormats(cache.format, from, colour);
    edgeColour = ConvertPixelBetweenFormats(cache.format, from, edgeColour);
  }
  cache.transparentColor = ChooseCacheKey(cache, colour, edgeColour);
  FillMemImgRect(&cache, &textBox, cache.transparentColor);
  const int drawn = DrawOrMeasureText(1, margin, margin, 0, 1.0, 1.0, text, colour, &cache, &textBox, 1, fontHandle,
                                      edgeColour, -1, vertical, nullptr);
  cache.runDataValid = 0;
  MarkMemImgPixelsChanged(&cache);
  cache.premultipliedValid = 0;
  if (drawn == -1) return -1;

  const std::int64_t left = std::int64_t{x} - margin;
  const std::int64_t top = std::int64_t{y} - margin;
  RECT onTarget;
  if (!ClipDrawRect(left + textBox.left, top + textBox.top, textBox.right - textBox.left,
                    textBox.bottom - textBox.top, kept.clip(), INT_MAX, INT_MAX, &onTarget)) {
    return 0;
  }
  KeptClipAndTint::SetClip(onTarget);
  SetDrawTintPacked(0xFFFFFF);  // the text colours are tinted already
  // Drawn at all, the text box starts inside the clip, so its corner fits an int.
  BlitSurface2DAt(static_cast<int>(left), static_cast<int>(top), font->screenSurface, 1);
  return 0;
}

}  // namespace

int DrawTextSoftware(int x, int y, const char* text, std::uint32_t colour, int fontHandle, std::uint32_t edgeColour,
                     int vertical) {
  if (!GraphicsStarted()) return -1;
  FontRecord* font = GetFontRecord(fontHandle);
  if (font == nullptr) return -1;
  SIZE extent{};
  DrawOrMeasureText(0, 0, 0, 0, 1.0, 1.0, text, 0, nullptr, nullptr, 0, fontHandle, 0, -1, vertical, &extent);
  if (DrawsPlain(*font)) return DrawPlainText(x, y, text, colour, *font, fontHandle, edgeColour, vertical, extent);
  return DrawBlendedText(x, y, text, colour, font, fontHandle, edgeColour, vertical, extent);
}
