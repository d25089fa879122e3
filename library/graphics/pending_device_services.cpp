// The hardware text routine's answer until the fonts' texture caches land.
#include "graphics/pending_device_services.h"

#include "graphics/graph_records.h"
#include "graphics/software_draw_setups.h"

int DrawTextHardware(int x, int y, const char* text, std::uint32_t colour, int font, std::uint32_t edgeColour,
                     int vertical) {
  return DrawTextSoftware(x, y, text, colour, font, edgeColour, vertical);
}
