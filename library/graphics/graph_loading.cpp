#include "graphics/graph_loading.h"

#include <cstring>

#include "core/file_layer.h"
#include "core/log.h"
#include "core/main_window.h"
#include "core/streams.h"
#include "graphics/draw_entry_points.h"
#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/graph_system.h"
#include "graphics/image_loaders.h"
#include "graphics/movies.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"

namespace {

void FreeImages(GraphImage* image, GraphImage* alphaImage) {
  FreeGraphImage(image);
  FreeGraphImage(alphaImage);
}

int DecodeFile(const char* file, GraphImage* out) {
  const StreamHandle handle = FileOpen(file);
  if (handle == 0) return -1;
  DataStream stream{GetFileStreamOps(), handle};
  const int result = DecodeImageStream(&stream, out);
  FileClose(handle);
  return result;
}

int DecodeMemory(const void* memory, int size, GraphImage* out) {
  if (memory == nullptr || size <= 0) return -1;
  MemoryStream* memoryStream = MemoryStreamOpen(memory, static_cast<std::size_t>(size));
  if (memoryStream == nullptr) return -1;
  DataStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memoryStream)};
  const int result = DecodeImageStream(&stream, out);
  MemoryStreamClose(reinterpret_cast<StreamHandle>(memoryStream));
  return result;
}

bool FileExists(const char* file) {
  const StreamHandle handle = FileOpen(file);
  if (handle == 0) return false;
  FileClose(handle);
  return true;
}

// The picture's graph from a movie: a blank graph the movie's frames go into.
int LoadMovieGraph(const char* file, int wantTexture, int movieOption) {
  const int keptDepth = DrawState.newGraphColourDepth;
  const int keptAlpha = DrawState.alphaSetting2D;
  const int keptUse3D = DrawState.use3DGraphs;
  if (!FileExists(file)) {
    LogPrintf("グラフィックファイル %s がありません", file);
    return -1;
  }
  int width = 0;
  int height = 0;
  const int movie = OpenMovieToGraph(file, &width, &height, movieOption);
  if (movie < 0) {
    LogPrintf("右記のグラフィックファイルのロードに失敗しました：%s ", file);
    return -1;
  }
  DrawState.newGraphColourDepth = GetRequestedColorBitDepth();
  DrawState.alphaSetting2D = 1;
  const int graph = CreateBlankGraph(width, height, wantTexture, 0, 0);
  DrawState.newGraphColourDepth = keptDepth;
  SetGraphAlphaModeRaw(keptAlpha);
  SetUse3DGraphs(keptUse3D);
  if (graph < 0) {
    LogPrintf("右記のグラフィックファイルの格納用グラフィック領域の作成に失敗しました：%s", file);
    CloseMovie(movie);
    return -1;
  }
  AttachMovieToGraph(graph, movie);
  return graph;
}

void MirrorImages(GraphImage* image, GraphImage* alphaImage) {
  MirrorGraphImage(image);
  if (alphaImage != nullptr && alphaImage->pixels != nullptr) MirrorGraphImage(alphaImage);
}

void FillHandles(int* handles, int count, int value) {
  for (int i = 0; i < count; ++i) handles[i] = value;
}

}  // namespace

bool MakeAlphaCompanionName(const char* file, char* out, int outSize) {
  const std::size_t length = std::strlen(file);
  if (length + 3 > static_cast<std::size_t>(outSize)) return false;
  // The extension's dot is looked for in the last path component only.
  const char* component = file;
  for (const char* p = file; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') component = p + 1;
  }
  const char* dot = std::strrchr(component, '.');
  const std::size_t stem = dot != nullptr ? static_cast<std::size_t>(dot - file) : length;
  std::memcpy(out, file, stem);
  std::memcpy(out + stem, "_a", 2);
  std::memcpy(out + stem + 2, file + stem, length - stem + 1);
  return true;
}

int LoadGraphImage(const char* file, const void* memory, int size, int fromMemory, int mirror, GraphImage* out) {
  std::memset(out, 0, sizeof(*out));
  const int decoded = fromMemory ? DecodeMemory(memory, size, out) : DecodeFile(file, out);
  if (decoded != 0) return -1;
  if (mirror == 1) MirrorGraphImage(out);
  return 0;
}

int LoadGraphImageWithAlpha(const char* file, GraphImage* out, GraphImage* alphaOut, int mirror) {
  std::memset(alphaOut, 0, sizeof(*alphaOut));
  if (LoadGraphImage(file, nullptr, 0, 0, mirror, out) != 0) return -1;
  char companion[kGraphDirectorySize];
  if (!MakeAlphaCompanionName(file, companion, sizeof(companion)) || !FileExists(companion)) return 1;
  return LoadGraphImage(companion, nullptr, 0, 0, mirror, alphaOut) == 0 ? 0 : 1;
}

int CreateBlankGraphForImage(const GraphImage* image, const GraphImage* alphaImage, int wantTexture) {
  EndDeviceScene();
  WaitWhileInactive();
  if (alphaImage != nullptr && (alphaImage->width != image->width || alphaImage->height != image->height)) return -1;
  const bool alpha = image->format.widthA != 0 || alphaImage != nullptr;
  const std::uint8_t callerFlag =
      (image->format.bytesPerPixel == 1 && image->format.widthA == 0 && alphaImage == nullptr) ? 1 : 0;
  return CreateBlankGraph(image->width, image->height, wantTexture, alpha ? 1 : 0, callerFlag);
}

int TransferGraphImageToGraph(const char* name, const GraphImage* image, const GraphImage* alphaImage, int sourceX,
                              int sourceY, int graph, int userValue) {
  GraphRecord* record = GetGraphRecord(graph);
  if (record == nullptr) return -1;
  SetGraphSourceFile(graph, name);
  record->userValue = userValue;
  record->sourceX = sourceX;
  record->sourceY = sourceY;
  return record->flags.texture ? TransferGraphImageToTextures(image, alphaImage, sourceX, sourceY, record)
                               : TransferImageToGraph2D(image, alphaImage, sourceX, sourceY, record);
}

int CreateGraphFromGraphImage(GraphImage* image, GraphImage* alphaImage, int wantTexture, int mirror,
                              int mirrorPixels) {
  FixPixelFormatNoUseMask(&image->format);
  if (alphaImage != nullptr) FixPixelFormatNoUseMask(&alphaImage->format);
  EndDeviceScene();
  const bool mirrored = mirror == 1 && mirrorPixels == 1;
  if (mirrored) MirrorImages(image, alphaImage);
  int graph = CreateBlankGraphForImage(image, alphaImage, wantTexture);
  if (graph >= 0 && TransferGraphImageToGraph(nullptr, image, alphaImage, 0, 0, graph, 0) != 0) {
    FreeGraphBody(graph, 0);
    graph = -1;
  }
  if (mirrored) MirrorImages(image, alphaImage);
  return graph;
}

int MakeGraphFromGraphImage(GraphImage* image) { return CreateGraphFromGraphImage(image, nullptr, 1, 0, 0); }

int DeriveGraph(int x, int y, int width, int height, int parent) {
  GraphRecord* parentRecord = GetGraphRecord(parent);
  if (parentRecord == nullptr || x < 0 || y < 0 || x >= parentRecord->width || y >= parentRecord->height) return -1;
  if (width > parentRecord->width - x) width = parentRecord->width - x;
  if (height > parentRecord->height - y) height = parentRecord->height - y;
  if (width <= 0 || height <= 0) return -1;
  GraphRecord* record = nullptr;
  const int graph = AllocGraphRecord(width, height, parentRecord->flags.texture, &record,
                                     parentRecord->flags.alphaChannel, parentRecord->flags.callerFlag);
  if (graph < 0) return -1;
  record->movie = parentRecord->movie;
  std::memcpy(record->fileName, parentRecord->fileName, sizeof(record->fileName));
  std::memcpy(record->directory, parentRecord->directory, sizeof(record->directory));
  record->flags = parentRecord->flags;
  record->userValue = parentRecord->userValue;
  record->sourceX = parentRecord->sourceX + x;
  record->sourceY = parentRecord->sourceY + y;
  const int attached = record->flags.texture ? CreateDerivedGraphTextures(record, x, y, width, height, parentRecord)
                                             : CreateDerivedSurface2D(record, x, y, width, height, parentRecord);
  if (attached != 0) {
    LogWrite("グラフィックの派生に失敗しました終了します");
    record->movie = -1;
    FreeGraphBody(graph, 0);
    return -1;
  }
  return graph;
}

int CreateDivGraphFromGraphImage(GraphImage* image, GraphImage* alphaImage, int count, int xCount, int yCount,
                                 int tileWidth, int tileHeight, int* handles, int wantTexture, int mirror,
                                 int mirrorPixels) {
  FillHandles(handles, count, -1);
  const int parent = CreateGraphFromGraphImage(image, alphaImage, wantTexture, mirror, mirrorPixels);
  if (parent < 0) return -1;
  int made = 0;
  for (int row = 0; row < yCount && made < count; ++row) {
    for (int column = 0; column < xCount && made < count; ++column) {
      const int x = mirror == 1 ? (xCount - 1 - column) * tileWidth : column * tileWidth;
      const int tile = DeriveGraph(x, row * tileHeight, tileWidth, tileHeight, parent);
      if (tile < 0) {
        LogWrite("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage\n");
        for (int i = 0; i < made; ++i) FreeGraphBody(handles[i], 0);
        FillHandles(handles, count, -1);
        FreeGraphBody(parent, 0);
        return -1;
      }
      handles[made++] = tile;
    }
  }
  // The tiles keep the shared pixels alive.
  FreeGraphBody(parent, 0);
  return 0;
}

int LoadGraphFileCore(const char* file, int wantTexture, int mirror, int movieOption) {
  EndDeviceScene();
  WaitWhileInactive();
  GraphImage image{};
  GraphImage alphaImage{};
  const int loaded = LoadGraphImageWithAlpha(file, &image, &alphaImage, 0);
  if (loaded < 0) return LoadMovieGraph(file, wantTexture, movieOption);
  GraphImage* alpha = loaded == 0 ? &alphaImage : nullptr;
  if (mirror == 1) MirrorImages(&image, alpha);
  const int graph = CreateGraphFromGraphImage(&image, alpha, wantTexture, mirror, 0);
  if (graph >= 0) SetGraphSourceFile(graph, file);
  FreeImages(&image, &alphaImage);
  return graph;
}

int LoadGraphFileBody(const char* file) { return LoadGraphFileCore(file, 1, 0, 0); }

int LoadDivGraphFileCore(const char* file, int count, int xCount, int yCount, int tileWidth, int tileHeight,
                         int* handles, int wantTexture, int mirror) {
  WaitWhileInactive();
  GraphImage image{};
  GraphImage alphaImage{};
  const int loaded = LoadGraphImageWithAlpha(file, &image, &alphaImage, 0);
  if (loaded < 0) {
    FillHandles(handles, count, -1);
    LogPrintf("右記のグラフィックファイルのロードに失敗しました：%s", file);
    return -1;
  }
  GraphImage* alpha = loaded == 0 ? &alphaImage : nullptr;
  if (mirror == 1) MirrorImages(&image, alpha);
  const int result = CreateDivGraphFromGraphImage(&image, alpha, count, xCount, yCount, tileWidth, tileHeight, handles,
                                                  wantTexture, mirror, 0);
  for (int i = 0; i < count; ++i) {
    if (handles[i] != -1) SetGraphSourceFile(handles[i], file);
  }
  FreeImages(&image, &alphaImage);
  return result;
}

int LoadDivGraphFileBody(const char* file, int count, int xCount, int yCount, int tileWidth, int tileHeight,
                         int* handles) {
  return LoadDivGraphFileCore(file, count, xCount, yCount, tileWidth, tileHeight, handles, 1, 0);
}

int DrawGraphFileAtBody(int x, int y, const char* file, int transparent) {
  const int graph = LoadGraphFileCore(file, 1, 0, 0);
  if (graph < 0) return -1;
  DrawGraphAtBody(x, y, graph, transparent);
  FreeGraphBody(graph, 0);
  return 0;
}
