#include "graphics/text_hardware.h"

#include "graphics/d3d_device.h"
#include "graphics/draw_state.h"
#include "graphics/font_record.h"
#include "graphics/fonts.h"
#include "graphics/glyph_cache.h"
#include "graphics/software_draw_setups.h"
#include "graphics/text_layout.h"

int DrawTextHardware(int x, int y, const char* text, std::uint32_t colour, int fontHandle, std::uint32_t edgeColour,
                     int vertical) {
  const FontRecord* font = GetFontRecord(fontHandle);
  if (font == nullptr) return -1;
  if (!font->textureCache) return DrawTextSoftware(x, y, text, colour, fontHandle, edgeColour, vertical);
  if (IsTargetOffD3D()) return -1;
  if (RefreshFontCache(fontHandle) != 0) return -1;
  const int drawn = DrawOrMeasureText(1, x, y, 0, 1.0, 1.0, text, colour, nullptr, &DrawState.clip, 1, fontHandle,
                                      edgeColour, -1, vertical, nullptr);
  return drawn == -1 ? -1 : 0;
}
