#include "graphics/software_draw_setups.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <initializer_list>

#include "float_to_int.h"
#include "graphics/draw_area_bracket.h"
#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/device_services.h"
#include "graphics/kept_image.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_data.h"
#include "softrender/blit_kernels.h"
#include "softrender/clip_rect.h"
#include "softrender/fill_kernels.h"
#include "softrender/rotated_kernels.h"
#include "workers/tile_frame.h"

namespace {

// The source of an image draw: a piece and its image (a view when the piece is part
// of a larger surface data image).
struct PieceSource {
  const Surface2D* piece = nullptr;
  SurfaceData* data = nullptr;
  MEMIMG view;  // set only when used: zeroing its palettes would cost every draw
  const MEMIMG* image = nullptr;
};

bool FindPiece(int surface2D, PieceSource* out) {
  out->piece = GetSurface2DRecord(surface2D);
  if (out->piece == nullptr) return false;
  out->data = GetSurfaceDataRecord(out->piece->surfaceData);
  if (out->data == nullptr) return false;
  const MEMIMG& whole = out->data->image;
  if (!out->data->memoryImage || whole.pixels == nullptr) {
    out->image = nullptr;
  } else if (out->piece->width == out->data->width && out->piece->height == out->data->height) {
    out->image = &whole;
  } else {
    InitMemImgView(&out->view, &whole, out->piece->offsetX, out->piece->offsetY, out->piece->width,
                   out->piece->height);
    out->image = &out->view;
  }
  return true;
}

bool FindGraphPiece(const GraphRecord* graph, PieceSource* out) {
  return graph != nullptr && graph->pieceCount > 0 && FindPiece(graph->pieces[0], out);
}

// Kernels of a prepared draw may touch only the prepared rectangle.
SoftDrawState PreparedState() {
  SoftDrawState state = MakeSoftDrawState();
  state.clip = SoftDrawPreparedRect;
  return state;
}

// Runs one kernel draw on the prepared area of the DirectDraw target and finishes it.
template <typename Kernel>
int DrawThroughBracket(const Surface2D* piece, const RECT* sourceRect, const RECT& box, int rawColourDraw,
                       std::uint32_t* colour, Kernel kernel) {
  EndDeviceWork();
  if (CopyMemImgRect(piece, 0, sourceRect, &box, rawColourDraw, colour, nullptr) < 0) return -1;
  if (SoftDrawTargetImg == nullptr || (piece != nullptr && SoftDrawSourceImg == nullptr)) {
    SyncScreenMemImg();
    return -1;
  }
  kernel(SoftDrawTargetImg, SoftDrawSourceImg, PreparedState());
  SyncScreenMemImg();
  MarkDrawTargetWritten();
  return 0;
}

// The state of a draw run in `tile` alone (the draw's own without one): for kernels
// whose pixels do not depend on the clip.
SoftDrawState InTile(SoftDrawState state, const RECT* tile) {
  if (tile != nullptr) ClipRectangleBody(&state.clip, tile);
  return state;
}

// The tile a kernel draws in: all of dst without one.
RECT WholeOr(const MEMIMG* dst, const RECT* tile) {
  return tile != nullptr ? *tile : RECT{0, 0, dst->width, dst->height};
}

bool SharesPixels(const MEMIMG* a, const MEMIMG* b) {
  if (a == nullptr || b == nullptr) return false;
  const auto* first = static_cast<const std::uint8_t*>(a->pixels);
  const auto* second = static_cast<const std::uint8_t*>(b->pixels);
  return first < second + static_cast<std::ptrdiff_t>(b->pitch) * b->height &&
         second < first + static_cast<std::ptrdiff_t>(a->pitch) * a->height;
}

bool ReadsTarget(const MEMIMG* target, std::initializer_list<const MEMIMG*> sources) {
  return std::any_of(sources.begin(), sources.end(), [target](const MEMIMG* s) { return SharesPixels(s, target); });
}

// Runs one kernel draw straight into the draw-target MEMIMG: kernel(dst, state, tile)
// draws what the whole draw writes inside `tile` (all of it for none). With tiled
// drawing it is recorded with `box`, which holds every pixel it may write; a draw
// reading its own target, or one that cannot be cut into tiles (`tiles` false), runs
// now, after what is recorded.
template <typename Kernel>
int DrawDirect(const RECT& box, std::initializer_list<const MEMIMG*> sources, bool tiles, const Kernel& kernel) {
  MEMIMG* target = DirectTarget();
  if (target == nullptr) return -1;
  const SoftDrawState state = MakeSoftDrawState();
  const bool readsTarget = ReadsTarget(target, sources);
  if (!TiledDrawing() || !tiles || readsTarget) {
    FlushTileFrame();
    kernel(target, state, nullptr);
  } else {
    UseDrawTarget(target->pixels, target->width, target->height);
    // The draws of a frame share one kept copy of the target record.
    static LastKept<KeptImage> lastTarget;
    RecordDraw(box, [kept = KeepUntilFlushShared(KeptImage(target), &lastTarget), state, kernel](const DrawTile& tile) {
      MEMIMG space;
      MEMIMG* dst = kept->Rebuild(&space);
      // This run's own copy of the target record, dropped after it: the kernel's marks
      // on it need no new content stamp (a counter all threads would share).
      dst->pixelsBorrowed = 1;
      kernel(dst, state, &tile.area);
    });
  }
  MarkDrawTargetWritten();
  return 0;
}

// Level and upright lines keep their pixels under any clip: they can be cut into tiles.
bool IsUprightLine(int x1, int y1, int x2, int y2) { return x1 == x2 || y1 == y2; }

// Every pixel of the box from (x1, y1) to (x2, y2), either way round, and one more on
// each side.
RECT Around(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
  const auto toInt = [](std::int64_t v) { return static_cast<LONG>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); };
  return RECT{toInt(std::min(x1, x2) - 1), toInt(std::min(y1, y2) - 1), toInt(std::max(x1, x2) + 1),
              toInt(std::max(y1, y2) + 1)};
}

RECT SortedRect(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
  const auto toInt = [](std::int64_t v) { return static_cast<LONG>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); };
  return RECT{toInt(std::min(x1, x2)), toInt(std::min(y1, y2)), toInt(std::max(x1, x2)), toInt(std::max(y1, y2))};
}

int DrawAffineSoftware(const QuadVertex* vertices, int count, GraphRecord* graph, int transparent) {
  if (!GraphicsStarted()) return -1;
  PieceSource source;
  if (!FindGraphPiece(graph, &source)) return -1;
  const MEMIMG* blend = GetBlendGraphMemImg();
  const auto draw = [&](MEMIMG* dst, const MEMIMG* src, const SoftDrawState& state) {
    if (count == 4) {
      BlitMemImgQuadTriangles(dst, src, vertices, transparent, blend, state);
    } else {
      BlitMemImgTriangleKernels(dst, src, vertices, transparent, blend, state);
    }
  };
  const RECT box = GetTriangleWriteBox(vertices, count);
  if (IsMemImgScreenMode()) {
    if (source.image == nullptr) return -1;
    struct Corners {
      QuadVertex at[4];
    } corners{};
    std::copy(vertices, vertices + count, corners.at);
    return DrawDirect(Around(box.left, box.top, box.right, box.bottom), {source.image, blend}, true,
                      [src = KeptImage(source.image), graph = KeptImage(blend), corners, count, transparent](
                          MEMIMG* dst, const SoftDrawState& state, const RECT* tile) {
                        MEMIMG srcSpace, graphSpace;
                        const MEMIMG* from = src.Rebuild(&srcSpace);
                        const MEMIMG* blendGraph = graph.Rebuild(&graphSpace);
                        if (count == 4) {
                          BlitMemImgQuadTriangles(dst, from, corners.at, transparent, blendGraph, InTile(state, tile));
                        } else {
                          BlitMemImgTriangleKernels(dst, from, corners.at, transparent, blendGraph, InTile(state, tile));
                        }
                      });
  }
  const RECT whole{0, 0, source.piece->width, source.piece->height};
  return DrawThroughBracket(source.piece, &whole, box, 0, nullptr, draw);
}

}  // namespace

bool GraphicsStarted() { return GetDirectDrawObject() != nullptr; }

MEMIMG* DirectTarget() {
  MEMIMG* target = ScreenSurfaces.targetMemImg;
  return target != nullptr && target->pixels != nullptr ? target : nullptr;
}

void MarkDrawTargetWritten() {
  if (ScreenSurfaces.targetMemImg != nullptr) {
    ScreenSurfaces.targetMemImg->runDataValid = 0;
    MarkMemImgPixelsChanged(ScreenSurfaces.targetMemImg);
    ScreenSurfaces.targetMemImg->premultipliedValid = 0;
  }
  PieceSource target;
  const GraphRecord* graph = GetGraphRecord(DrawState.target);
  if (FindGraphPiece(graph, &target) && target.data->memoryImage) {
    target.data->image.runDataValid = 0;
    MarkMemImgPixelsChanged(&target.data->image);
    target.data->image.premultipliedValid = 0;
  }
}

void EndDeviceWork() {
  FlushVertexBatch();
  if (RenderModeFlags.directDrawInitialised) EndDeviceScene();
}

int BlitSurface2DAt(int x, int y, int surface2D, int transparent) {
  if (!GraphicsStarted()) return -1;
  PieceSource source;
  if (!FindPiece(surface2D, &source)) return -1;
  const MEMIMG* blend = GetBlendGraphMemImg();
  if (IsMemImgScreenMode()) {
    if (source.image == nullptr) return -1;
    const RECT box{x, y, static_cast<LONG>(std::min<std::int64_t>(std::int64_t{x} + source.image->width, INT_MAX)),
                   static_cast<LONG>(std::min<std::int64_t>(std::int64_t{y} + source.image->height, INT_MAX))};
    return DrawDirect(box, {source.image, blend}, true,
                      [src = KeptImage(source.image), graph = KeptImage(blend), x, y, transparent](
                          MEMIMG* dst, const SoftDrawState& state, const RECT* tile) {
                        MEMIMG srcSpace, graphSpace;
                        BlitMemImgInTile(dst, src.Rebuild(&srcSpace), x, y, transparent, graph.Rebuild(&graphSpace),
                                         state, WholeOr(dst, tile));
                      });
  }
  EndDeviceWork();
  RECT visible;
  if (!ClipDrawRect(x, y, source.piece->width, source.piece->height, DrawState.clip, INT_MAX, INT_MAX, &visible)) {
    return 0;
  }
  const RECT sourceRect{visible.left - x, visible.top - y, visible.right - x, visible.bottom - y};
  if (CopyMemImgRect(source.piece, 1, &sourceRect, &visible, 0, nullptr, nullptr) < 0) return -1;
  if (IsBlitInsteadPrepared()) return RunPreparedBlit(transparent);
  if (SoftDrawTargetImg == nullptr || SoftDrawSourceImg == nullptr) {
    SyncScreenMemImg();
    return -1;
  }
  BlitMemImgKernels(SoftDrawTargetImg, SoftDrawSourceImg, x, y, transparent, blend, PreparedState());
  SyncScreenMemImg();
  MarkDrawTargetWritten();
  return 0;
}

int DrawGraphAtSoftware(int x, int y, GraphRecord* graph, int transparent) {
  FlushVertexBatch();
  if (graph == nullptr || graph->pieceCount < 1) return -1;
  return BlitSurface2DAt(x, y, graph->pieces[0], transparent);
}

int DrawLineListSoftware(const LineRec* lines, int count) {
  if (!GraphicsStarted()) return -1;
  // A slanted line's end points are clamped to the clip: it is drawn now, not in tiles.
  if (IsMemImgScreenMode()) {
    RECT box{0, 0, 0, 0};
    bool upright = true;
    for (int i = 0; i < count; ++i) {
      const LineRec& line = lines[i];
      upright = upright && IsUprightLine(line.x1, line.y1, line.x2, line.y2);
      const RECT around = Around(line.x1, line.y1, line.x2, line.y2);
      box = i == 0 ? around
                   : RECT{std::min(box.left, around.left), std::min(box.top, around.top),
                          std::max(box.right, around.right), std::max(box.bottom, around.bottom)};
    }
    // Outlines (four lines) are kept with the draw; longer lists are drawn now.
    struct Outline {
      LineRec lines[4];
    } outline{};
    if (!upright || count > 4) {
      return DrawDirect({}, {}, false, [&](MEMIMG* dst, const SoftDrawState& state, const RECT*) {
        DrawLineListMemImg(dst, lines, count, state);
      });
    }
    std::copy(lines, lines + count, outline.lines);
    return DrawDirect(box, {}, true, [outline, count](MEMIMG* dst, const SoftDrawState& state, const RECT* tile) {
      DrawLineListMemImg(dst, outline.lines, count, InTile(state, tile));
    });
  }  EndDeviceWork();
  std::int64_t left = 1000000, top = 1000000, right = -1000000, bottom = -1000000;
  for (int i = 0; i < count; ++i) {
    for (const std::int64_t x : {std::int64_t{lines[i].x1}, std::int64_t{lines[i].x2}}) {
      left = std::min(left, x);
      if (x >= right) right = x + 1;
    }
    for (const std::int64_t y : {std::int64_t{lines[i].y1}, std::int64_t{lines[i].y2}}) {
      top = std::min(top, y);
      if (y >= bottom) bottom = y + 1;
    }
  }
  const RECT box{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                 static_cast<LONG>(bottom)};
  // A converted work copy takes the colours in the in-memory format.
  const bool convert = ScreenColorKind == SCREEN_RGB555 || ScreenColorKind == SCREEN_OTHER;
  return DrawThroughBracket(nullptr, nullptr, box, 0, nullptr,
                            [&](MEMIMG* dst, const MEMIMG*, const SoftDrawState& state) {
                              constexpr int kChunk = 16;
                              LineRec chunk[kChunk];
                              for (int start = 0; start < count; start += kChunk) {
                                const int n = std::min(kChunk, count - start);
                                std::memcpy(chunk, lines + start, sizeof(LineRec) * static_cast<std::size_t>(n));
                                for (int i = 0; i < n && convert; ++i) {
                                  chunk[i].colour = ConvertPixelBetweenFormats(
                                      QueryMemImgScreenPixelFormat(), QueryScreenPixelFormat(), chunk[i].colour);
                                }
                                DrawLineListMemImg(dst, chunk, n, state);
                              }
                            });
}

int DrawGraphStretchedSoftware(int x1, int y1, int x2, int y2, GraphRecord* graph, int transparent,
                               int overrideSurface2D) {
  if (!GraphicsStarted()) return -1;
  PieceSource source;
  const bool found = overrideSurface2D != -1 ? FindPiece(overrideSurface2D, &source) : FindGraphPiece(graph, &source);
  if (!found) return -1;
  const int sourceWidth = overrideSurface2D != -1 ? source.piece->width : graph->width;
  const int sourceHeight = overrideSurface2D != -1 ? source.piece->height : graph->height;
  const MEMIMG* blend = GetBlendGraphMemImg();
  const RECT callerRect{x1, y1, x2, y2};
  if (IsMemImgScreenMode()) {
    if (source.image == nullptr) return -1;
    return DrawDirect(Around(x1, y1, x2, y2), {source.image, blend}, true,
                      [src = KeptImage(source.image), graph = KeptImage(blend), callerRect, transparent](
                          MEMIMG* dst, const SoftDrawState& state, const RECT* tile) {
                        MEMIMG srcSpace, graphSpace;
                        BlitMemImgScaledInTile(dst, src.Rebuild(&srcSpace), &callerRect, transparent,
                                               graph.Rebuild(&graphSpace), state, WholeOr(dst, tile));
                      });
  }
  EndDeviceWork();
  const RECT sorted = SortedRect(x1, y1, x2, y2);
  const bool mirror = x1 > x2;
  const bool flip = y1 > y2;
  const std::int64_t w = std::int64_t{sorted.right} - sorted.left;
  const std::int64_t h = std::int64_t{sorted.bottom} - sorted.top;
  if (w == 0 || h == 0 || w >= 32768 || h >= 32768) return -1;
  if (w == sourceWidth && h == sourceHeight && !mirror && !flip) {
    return overrideSurface2D != -1 ? BlitSurface2DAt(sorted.left, sorted.top, overrideSurface2D, transparent)
                                   : DrawGraphAtSoftware(static_cast<int>(sorted.left), static_cast<int>(sorted.top),
                                                         graph, transparent);
  }
  const std::int64_t scaleX = w * 65536 / sourceWidth;
  const std::int64_t scaleY = h * 65536 / sourceHeight;
  if (scaleX == 0 || scaleY == 0) return -1;
  RECT clipped = sorted;
  ClipRectangleBody(&clipped, &DrawState.clip);
  if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) return -1;
  // The part of the source that the visible part shows, clamped to the source.
  const auto fetchRange = [](std::int64_t moved, std::int64_t length, std::int64_t scale, int size, bool reverse,
                             LONG* low, LONG* high) {
    std::int64_t first = moved > 0 ? moved * 65536 / scale : 0;
    std::int64_t last = first + (length * 65536 + scale - 1) / scale;
    first = std::clamp<std::int64_t>(first, 0, size);
    last = std::clamp<std::int64_t>(last, first, size);
    *low = static_cast<LONG>(reverse ? size - last : first);
    *high = static_cast<LONG>(reverse ? size - first : last);
  };
  RECT sourceRect;
  fetchRange(clipped.left - sorted.left, clipped.right - clipped.left, scaleX, sourceWidth, mirror, &sourceRect.left,
             &sourceRect.right);
  fetchRange(clipped.top - sorted.top, clipped.bottom - clipped.top, scaleY, sourceHeight, flip, &sourceRect.top,
             &sourceRect.bottom);
  return DrawThroughBracket(source.piece, &sourceRect, clipped, 0, nullptr,
                            [&](MEMIMG* dst, const MEMIMG* src, const SoftDrawState& state) {
                              BlitMemImgScaledKernels(dst, src, &callerRect, transparent, blend, state);
                            });
}

int DrawGraphQuadSoftware(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                          GraphRecord* graph, int transparent) {
  return DrawGraphQuadTriangles(FloatToInt(x1), FloatToInt(y1), FloatToInt(x2), FloatToInt(y2), FloatToInt(x3),
                                FloatToInt(y3), FloatToInt(x4), FloatToInt(y4), graph, transparent);
}

int DrawGraphQuadTriangles(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* graph,
                           int transparent) {
  if (graph == nullptr) return -1;
  const QuadVertex corners[4] = {{x1, y1, 0, 0},
                                 {x2, y2, graph->width, 0},
                                 {x3, y3, 0, graph->height},
                                 {x4, y4, graph->width, graph->height}};
  // Both triangles in one kernel call: the shared diagonal is drawn once.
  return DrawAffineSoftware(corners, 4, graph, transparent);
}

int DrawGraphTriangleSoftware(const QuadVertex vertices[3], GraphRecord* graph, int transparent) {
  return DrawAffineSoftware(vertices, 3, graph, transparent);
}

int DrawGraphRotatedSoftware(float x, float y, double scale, double angle, GraphRecord* graph, int transparent,
                             int mirror) {
  const int ix = FloatToInt(x);
  const int iy = FloatToInt(y);
  if (!GraphicsStarted()) return -1;
  PieceSource source;
  if (!FindGraphPiece(graph, &source)) return -1;
  const MEMIMG* blend = GetBlendGraphMemImg();
  const float angleF = static_cast<float>(angle);
  const float scaleF = static_cast<float>(scale);
  if (IsMemImgScreenMode() && mirror == 0) {
    MEMIMG* target = DirectTarget();
    if (source.image == nullptr || target == nullptr) return -1;
    // Set up once for every tile; after what is recorded when the source is the target.
    if (ReadsTarget(target, {source.image, blend})) FlushTileFrame();
    RotatedDraw prepared;
    if (PrepareRotatedDraw(target, source.image, ix, iy, angleF, scaleF, transparent, blend, MakeSoftDrawState(),
                           &prepared) != 0) {
      return -1;
    }
    if (!prepared.drawn) {
      MarkDrawTargetWritten();
      return 0;
    }
    return DrawDirect(prepared.box, {source.image, blend}, true,
                      [prepared](MEMIMG*, const SoftDrawState&, const RECT* tile) {
                        DrawRotatedInTile(prepared, tile != nullptr ? *tile : prepared.box);
                      });
  }
  RECT box;
  if (GetRotatedDrawBox(ix, iy, angleF, scaleF, source.piece->width, source.piece->height, &box) != 0) return -1;
  if (IsMemImgScreenMode()) {
    if (source.image == nullptr) return -1;
    // The mirrored image is a quadrilateral, whose pixels do not depend on the clip.
    return DrawDirect(box, {source.image, blend}, true,
                      [src = KeptImage(source.image), graph = KeptImage(blend), ix, iy, angleF, scaleF, transparent,
                       mirror](MEMIMG* dst, const SoftDrawState& state, const RECT* tile) {
                        MEMIMG srcSpace, graphSpace;
                        BlitMemImgRotatedInTile(dst, src.Rebuild(&srcSpace), ix, iy, angleF, scaleF, transparent,
                                                mirror, graph.Rebuild(&graphSpace), state, WholeOr(dst, tile));
                      });
  }
  int result = 0;
  const auto draw = [&](MEMIMG* dst, const MEMIMG* src, const SoftDrawState& state) {
    result = BlitMemImgRotatedKernels(dst, src, ix, iy, angleF, scaleF, transparent, mirror, blend, state);
  };
  const RECT whole{0, 0, source.piece->width, source.piece->height};
  const int drawn = DrawThroughBracket(source.piece, &whole, box, 0, nullptr, draw);
  return drawn != 0 ? drawn : result;
}

int DrawRectFilledSoftware(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  if (!GraphicsStarted()) return -1;
  const RECT rect{x1, y1, x2, y2};
  if (IsMemImgScreenMode()) {
    return DrawDirect(Around(x1, y1, x2, y2), {}, true,
                      [rect, colour](MEMIMG* dst, const SoftDrawState& state, const RECT* tile) {
                        FillMemImgRectKernels(dst, &rect, colour, InTile(state, tile));
                      });
  }
  const RECT ordered = SortedRect(x1, y1, x2, y2);
  return DrawThroughBracket(nullptr, nullptr, ordered, 1, &colour,
                            [&](MEMIMG* dst, const MEMIMG*, const SoftDrawState& state) {
                              FillMemImgRectKernels(dst, &rect, colour, state);
                            });
}

int DrawLineSegmentSoftware(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  if (!GraphicsStarted()) return -1;
  if (IsMemImgScreenMode()) {
    return DrawDirect(Around(x1, y1, x2, y2), {}, IsUprightLine(x1, y1, x2, y2),
                      [x1, y1, x2, y2, colour](MEMIMG* dst, const SoftDrawState& state, const RECT* tile) {
                        DrawMemImgLineKernels(dst, x1, y1, x2, y2, colour, InTile(state, tile));
                      });
  }
  if (x1 == x2 && y1 == y2) {
    EndDeviceWork();
    return 0;
  }
  const RECT box = SortedRect(std::min(x1, x2), std::min(y1, y2), std::int64_t{std::max(x1, x2)} + 1,
                              std::int64_t{std::max(y1, y2)} + 1);
  return DrawThroughBracket(nullptr, nullptr, box, 1, &colour,
                            [&](MEMIMG* dst, const MEMIMG*, const SoftDrawState& state) {
                              DrawMemImgLineKernels(dst, x1, y1, x2, y2, colour, state);
                            });
}

int DrawRectOutlineSoftware(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  LineRec lines[4];
  MakeRectOutlineLines(x1, y1, x2, y2, colour, DrawState.blendParam, lines);
  return DrawLineListSoftware(lines, 4);
}
