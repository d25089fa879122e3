// The hardware drawing back-ends' answers until their own files land.
#include "graphics/pending_device_services.h"

#include "graphics/graph_records.h"
#include "graphics/software_draw_setups.h"

int SetWorldTransformD3D(const float*) { return 0; }
int SetViewTransformD3D(const float*) { return 0; }
int SetProjectionTransformD3D(const float*) { return 0; }

int DrawGraphAtD3D(int, int, GraphRecord*, int, int) { return -1; }
int DrawGraphStretchedD3D(int, int, int, int, GraphRecord*, int, int) { return -1; }
int DrawGraphRotatedD3D(float, float, double, double, GraphRecord*, int, int) { return -1; }
int DrawGraphQuadD3D(float, float, float, float, float, float, float, float, GraphRecord*, int) { return -1; }
int DrawLineSegmentD3D(int, int, int, int, std::uint32_t) { return -1; }
int DrawRectFilledD3D(int, int, int, int, std::uint32_t) { return -1; }
int DrawRectOutlineD3D(int, int, int, int, std::uint32_t) { return -1; }

int DrawTextHardware(int x, int y, const char* text, std::uint32_t colour, int font, std::uint32_t edgeColour,
                     int vertical) {
  return DrawTextSoftware(x, y, text, colour, font, edgeColour, vertical);
}
