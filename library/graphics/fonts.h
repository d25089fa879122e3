// Font handles: creation with the GDI fall-backs, the default font the plain text
// entry points use, queries, and the re-creation of every font after a display change.
#pragma once

#include <cstdint>

struct FontRecord;

// face NULL or "" = the GDI default face. -1 for size, thickness, font type, charset
// and edge size means the default (16, 6, 0, Shift-JIS, 1); slot -1 = the first free
// slot; check -1 = the next check number (a given slot and check make a font again
// under its old handle). The handle, or -1 (logged; nothing is left behind).
int CreateFontToHandle(const char* face, int size, int thickness, int fontType, int charset, int edgeSize,
                       int italic, int slot, int check);
int FreeFontHandle(int font);
int SetFontSpaceToHandle(int spacing, int font);
// Stores the flag, set to 1 when the font is deleted, and sets it to 0.
int WatchFontLoss(int font, int* flag);
// Each out pointer may be NULL; face receives at most 256 bytes.
int QueryFontInfo(char* face, int* size, int* thickness, int font);
int GetBuiltinFontHandle();
FontRecord* GetFontRecord(int font);
int IsFontHandleValid(int font);
// The font's line height; -1 for an invalid handle.
int GetFontHeightByHandle(int font);

// charset 2 (Hangeul): the top bit; otherwise a Shift-JIS lead byte.
int IsMultiByteLead(const std::uint8_t* c, int charset);

// The default font: its settings (size 16, thickness 6, type 0, Shift-JIS, edge 1)
// and the font made from them.
int DefaultFontSettings();
int EnsureDefaultFont();
// Takes size (-1: 16) and thickness (-1: 6) into the settings, not the face.
int RebuildDefaultFont(const char* face, int size, int thickness);
int FreeDefaultFont();

// Graph-system start: frees every font and makes the default font again.
int InitFontSystem();
// Display restore: every font made again in its own slot under its own handle.
int RecreateAllFonts();
