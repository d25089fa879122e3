// Text on the hardware path.
#pragma once

#include <cstdint>

// Text with a font whose glyph cache is a texture graph, every glyph cell drawn as a
// texture; a font with a memory cache goes to the software text path. 0, or -1 for a
// dead font or while the device cannot draw into the target.
int DrawTextHardware(int x, int y, const char* text, std::uint32_t colour, int font, std::uint32_t edgeColour,
                     int vertical);
