// The font table: handle lookup, queries and deletion.
#include <cstring>

#include "core/sjis.h"
#include "core/tracked_alloc.h"
#include "graphics/font_record.h"
#include "graphics/fonts.h"
#include "graphics/glyph_texture.h"
#include "graphics/surface_2d.h"

FontTableType FontTable;

FontRecord* GetFontRecord(int font) { return FontTable.Find(font); }

int IsFontHandleValid(int font) { return GetFontRecord(font) != nullptr ? 1 : 0; }

int GetFontHeightByHandle(int font) {
  const FontRecord* record = GetFontRecord(font);
  return record != nullptr ? record->lineHeight : -1;
}

int IsMultiByteLead(const std::uint8_t* c, int charset) {
  if (charset == 2) return (*c & 0x80) != 0 ? 1 : 0;
  return IsSjisLeadByte(*c) ? 1 : 0;
}

int SetFontSpaceToHandle(int spacing, int font) {
  FontRecord* record = GetFontRecord(font);
  if (record == nullptr) return -1;
  record->spacing = spacing;
  return 0;
}

int WatchFontLoss(int font, int* flag) {
  FontRecord* record = GetFontRecord(font);
  if (record == nullptr) return -1;
  record->watcher = flag;
  if (flag != nullptr) *flag = 0;
  return 0;
}

int QueryFontInfo(char* face, int* size, int* thickness, int font) {
  const FontRecord* record = GetFontRecord(font);
  if (record == nullptr) return -1;
  if (face != nullptr) std::memcpy(face, record->face, std::strlen(record->face) + 1);
  if (size != nullptr) *size = record->size;
  if (thickness != nullptr) *thickness = record->thickness;
  return 0;
}

int FreeFontHandle(int font) {
  FontRecord* record = GetFontRecord(font);
  if (record == nullptr) return -1;
  if (record->gdiFont != nullptr) DeleteObject(record->gdiFont);
  TrackedFree(record->memoryCache);
  // The watchers of the drawing screen and the cache graph point into the record: they go first.
  if (record->screenSurface != -1) DeleteSurface2D(record->screenSurface);
  ReleaseTextureCache(record);
  if (record->watcher != nullptr) *record->watcher = 1;
  TrackedFree(record);
  FontTable.Unregister(FontTableType::SlotOf(font));
  return 0;
}
