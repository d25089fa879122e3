// Workers of the screen, graph and drawing entry points.
#pragma once

#include <cstdint>

struct PixelFormat;
struct DDPIXELFORMAT;
struct RECT;

int SetSyncToVBlankBody(int flag);
int GetScreenModeSizeBody(int* width, int* height);
DDPIXELFORMAT* GetScreenDDPixelFormatBody();
std::uint32_t MakeScreenColorBody(int r, int g, int b);
int BuildPixelFormatBody(PixelFormat* out, int bits, std::uint32_t maskR, std::uint32_t maskG, std::uint32_t maskB,
                         std::uint32_t maskA);
int BuildDDPixelFormatBody(DDPIXELFORMAT* out, std::uint32_t bits, std::uint32_t maskR, std::uint32_t maskG,
                           std::uint32_t maskB, std::uint32_t maskA);
int PresentScreenBody();
int SetScreenModeBody(int width, int height, int colourBits, int refreshHz);
int SaveScreenToBmpBody(int x1, int y1, int x2, int y2, const char* file);

int FreeGraphBody(int graph, int logFlag);
int LoadGraphFileBody(const char* file);
int LoadDivGraphFileBody(const char* file, int count, int xCount, int yCount, int tileWidth, int tileHeight,
                         int* handles);
int ClearDrawTargetBody();
int DrawGraphFileAtBody(int x, int y, const char* file, int transparent);
int DrawGraphAtBody(int x, int y, int graph, int transparent);
int DrawGraphRotatedBody(int x, int y, double scale, double angle, int graph, int transparent, int mirror);
int DrawGraphMirroredBody(int x, int y, int graph, int transparent);
int DrawLineSegmentBody(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawRectBody(int x1, int y1, int x2, int y2, std::uint32_t colour, int fill);
int DrawTextAtBody(int x, int y, const char* text, std::uint32_t colour, std::uint32_t edgeColour);
int SetBlendModeBody(int mode, int parameter);
int SetDrawTargetBody(int target);
int SetClipRectBody(int x1, int y1, int x2, int y2);
int SetTransparentColorBody(int r, int g, int b);
int SetDitherModeBody(int mode);
int ClipRectangleBody(RECT* r, const RECT* clip);
