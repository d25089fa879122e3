// Opening and closing movies: the movie table, the multimedia-stream objects of a record
// and the graph a movie belongs to.
#include <cstring>

#include "core/log.h"
#include "core/main_window.h"
#include "core/tracked_alloc.h"
#include "graphics/dd_pixel_format.h"
#include "graphics/graph_records.h"
#include "graphics/memimg.h"
#include "graphics/movie_record.h"
#include "graphics/movie_temp_copy.h"
#include "graphics/movies.h"
#include "graphics/screen_mode.h"
#include "kernel/code_page.h"
#include "kernel/files.h"
#include "kernel/handles.h"
#include "kernel/sync.h"

MovieTableType MovieTable;

namespace {

template <typename Interface>
void ReleaseInterface(Interface*& object) {
  if (object != nullptr) {
    object->Release();
    object = nullptr;
  }
}

// Every object of a record, in the order a close lets go of them.
void ReleaseInterfacesForClose(MovieRecord* rec) {
  ReleaseInterface(rec->sampleSurface4);
  ReleaseInterface(rec->sampleSurface);
  ReleaseInterface(rec->sample);
  ReleaseInterface(rec->ddVideoStream);
  ReleaseInterface(rec->amVideoStream);
  ReleaseInterface(rec->videoStream);
  ReleaseInterface(rec->mediaSeeking);
  ReleaseInterface(rec->mediaControl);
  ReleaseInterface(rec->directDraw4);
  ReleaseInterface(rec->basicAudio);
  ReleaseInterface(rec->filterGraph);
  ReleaseInterface(rec->multimediaStream);
}

void FreeFrameBuffer(MovieRecord* rec) {
  TrackedFree(rec->frameBuffer);
  rec->frameBuffer = nullptr;
}

void CloseFrameEvent(MovieRecord* rec) {
  if (rec->frameEvent != nullptr) CloseHandle(rec->frameEvent);
  rec->frameEvent = nullptr;
}

void DeleteTemporaryCopy(MovieRecord* rec) {
  if (rec->temporaryCopy != 1) return;
  DeleteFileA(rec->fileName);
  rec->temporaryCopy = 0;
}

// The multimedia stream opens a file by its UTF-16 name.
HRESULT OpenStreamFile(IAMMultiMediaStream* stream, const char* file) {
  WCHAR wide[kMovieFileNameSize];
  if (MultiByteToWideChar(CP_ACP, 0, file, -1, wide, kMovieFileNameSize) == 0) return E_INVALIDARG;
  return stream->OpenFile(wide, 0);
}

// Opens the file into the stream, through a temporary copy when the stream cannot open
// it by name (a copy made by an earlier open is opened as it is). `madeCopy` tells
// whether this call made the copy.
bool OpenFileIntoStream(MovieRecord* rec, const char* file, bool* madeCopy) {
  *madeCopy = false;
  if (!CopyGraphText(rec->fileName, sizeof(rec->fileName), file)) return false;
  if (OpenStreamFile(rec->multimediaStream, rec->fileName) == S_OK) return true;
  if (rec->temporaryCopy == 1) return false;
  if (CopyMovieToTempFile(file, rec->fileName, sizeof(rec->fileName)) != 0) return false;
  rec->temporaryCopy = 1;
  *madeCopy = true;
  return OpenStreamFile(rec->multimediaStream, rec->fileName) == S_OK;
}

// The pixel format of the sample surface: the software renderer's standard format of
// the requested depth, or the screen's.
const DDPIXELFORMAT* SampleSurfaceFormat() {
  if (IsSoftwareRenderMode() && ScreenMode.bits != 8) {
    return GetStandardDDPixelFormat(GetRequestedColorBitDepth() != 16 ? 1 : 0, 0, 0);
  }
  return GetScreenDDPixelFormatBody();
}

HRESULT CreateSampleSurface(IDirectDraw7* ddraw, int width, int height, IDirectDrawSurface** surface) {
  IDirectDraw* first = nullptr;
  if (HRESULT result = ddraw->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)); result != DD_OK) {
    return result;
  }
  DDSURFACEDESC description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.ddsCaps.dwCaps = DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN;
  description.dwWidth = static_cast<DWORD>(width);
  description.dwHeight = static_cast<DWORD>(height);
  description.ddpfPixelFormat = *SampleSurfaceFormat();
  const HRESULT result = first->CreateSurface(&description, surface, nullptr);
  first->Release();
  return result;
}

// The sample on the surface made for it, or on one the stream makes.
HRESULT CreateStreamSample(MovieRecord* rec, IDirectDrawSurface* surface, int surfaceMode) {
  rec->surfaceMode = surfaceMode;
  if (rec->ddVideoStream->CreateSample(surface, nullptr, 0, &rec->sample) == S_OK) return S_OK;
  rec->surfaceMode = 0;
  return rec->ddVideoStream->CreateSample(nullptr, nullptr, 0, &rec->sample);
}

// Every step of an open; the message of the first that fails, or nullptr.
const char* BuildMovieObjects(MovieRecord* rec, IDirectDraw7* ddraw, const char* file, int* width, int* height,
                              int surfaceMode, bool* madeCopy) {
  if (CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                       reinterpret_cast<void**>(&rec->filterGraph)) != S_OK) {
    return "CLSID_FilterGraph の作成に失敗しました";
  }
  if (CoCreateInstance(CLSID_AMMultiMediaStream, nullptr, CLSCTX_INPROC_SERVER, IID_IAMMultiMediaStream,
                       reinterpret_cast<void**>(&rec->multimediaStream)) != S_OK) {
    return "IAMMultimediaインターフェイスを取得できませんでした！";
  }
  IAMMultiMediaStream* stream = rec->multimediaStream;
  if (stream->Initialize(STREAMTYPE_READ, AMMSF_NOGRAPHTHREAD, rec->filterGraph) != S_OK) {
    return "ストリームを読み取り用にセットアップできませんでした！";
  }
  if (rec->filterGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&rec->mediaControl)) != S_OK) {
    return "IID_IMediaControlインターフェイスの取得に失敗しました";
  }
  if (ddraw == nullptr ||
      ddraw->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&rec->directDraw4)) != DD_OK) {
    return "DirectDraw4オブジェクトを取得できませんでした";
  }
  if (stream->AddMediaStream(rec->directDraw4, &MSPID_PrimaryVideo, 0, nullptr) != S_OK) {
    return "プライマリビデオストリームを追加できませんでした！";
  }
  if (stream->AddMediaStream(nullptr, &MSPID_PrimaryAudio, AMMSF_ADDDEFAULTRENDERER, nullptr) != S_OK) {
    return "デフォルトサウンドレンダラを追加できませんでした！";
  }
  if (!OpenFileIntoStream(rec, file, madeCopy)) return "";  // logged with the file's name
  if (rec->filterGraph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&rec->mediaSeeking)) != S_OK) {
    return "メディアシーキングインターフェースの取得に失敗しました";
  }
  rec->mediaSeeking->GetStopPosition(&rec->stopPosition);
  if (rec->filterGraph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&rec->basicAudio)) != S_OK) {
    return "BasicAudio インターフェースの取得に失敗しました";
  }
  if (stream->GetMediaStream(MSPID_PrimaryVideo, &rec->videoStream) != S_OK) {
    return "プライマリビデオストリームインターフェイスを取得できませんでした！";
  }
  if (rec->videoStream->QueryInterface(IID_IAMMediaStream, reinterpret_cast<void**>(&rec->amVideoStream)) != S_OK) {
    return "AMMediaStreamインターフェイスの取得に失敗しました";
  }
  if (rec->videoStream->QueryInterface(IID_IDirectDrawMediaStream, reinterpret_cast<void**>(&rec->ddVideoStream)) !=
      S_OK) {
    return "DirectDrawメディアストリームインターフェイスを取得できませんでした！";
  }
  DDSURFACEDESC format{};
  format.dwSize = sizeof(format);
  if (rec->ddVideoStream->GetFormat(&format, nullptr, nullptr, nullptr) != S_OK || format.dwWidth == 0 ||
      format.dwHeight == 0) {
    return "動画ファイルではない可能性があります！";
  }
  IDirectDrawSurface* surface = nullptr;
  if (CreateSampleSurface(ddraw, static_cast<int>(format.dwWidth), static_cast<int>(format.dwHeight), &surface) !=
      DD_OK) {
    return "DirectDrawSurface オブジェクトの作成に失敗しました";
  }
  const HRESULT sampled = CreateStreamSample(rec, surface, surfaceMode);
  surface->Release();  // the sample keeps what it uses
  if (sampled != S_OK) return "ストリームサンプルを作成できませんでした！";
  if (rec->sample->GetSurface(&rec->sampleSurface, &rec->sampleRect) != S_OK) {
    return "ストリームサンプルからIDirectDrawSurfaceインターフェイスを取得できませんでした！";
  }
  rec->width = rec->sampleRect.right - rec->sampleRect.left;
  rec->height = rec->sampleRect.bottom - rec->sampleRect.top;
  if (width != nullptr) *width = rec->width;
  if (height != nullptr) *height = rec->height;

  DDSCAPS caps{};
  rec->sampleSurface->GetCaps(&caps);
  rec->systemMemorySurface = (caps.dwCaps & DDSCAPS_SYSTEMMEMORY) ? 1 : 0;
  if (rec->sampleSurface->QueryInterface(IID_IDirectDrawSurface4, reinterpret_cast<void**>(&rec->sampleSurface4)) !=
      DD_OK) {
    return "IDirectDrawSurface4インターフェイスを取得できませんでした！";
  }
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (rec->sampleSurface4->GetSurfaceDesc(&description) != DD_OK ||
      PixelFormatFromDDPixelFormat(&description.ddpfPixelFormat, &rec->surfaceFormat) != 0) {
    return "IDirectDrawSurface4インターフェイスを取得できませんでした！";
  }
  rec->frameBufferWidth = rec->width;
  rec->frameBufferHeight = rec->height;
  rec->frameBufferPitch = (rec->surfaceFormat.bytesPerPixel * rec->width + 3) & ~3;
  rec->frameBuffer = TRACKED_CALLOC(static_cast<std::size_t>(rec->frameBufferPitch) * rec->height);
  if (rec->frameBuffer == nullptr) return "ムービーのフレームバッファの確保に失敗しました";
  rec->frameEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (rec->frameEvent == nullptr) return "ムービーのイベントの作成に失敗しました";
  return nullptr;
}

}  // namespace

MovieRecord* GetMovieRecord(int movie) { return MovieTable.Find(movie); }

int IsMovieHandleLive(int movie) { return GetMovieRecord(movie) != nullptr ? 1 : 0; }

int OpenMovieFile(MovieRecord* rec, IDirectDraw7* ddraw, const char* file, int* width, int* height, int surfaceMode) {
  // A reopen starts afresh: what the last open made goes first.
  ReleaseInterfacesForClose(rec);
  FreeFrameBuffer(rec);
  CloseFrameEvent(rec);
  bool madeCopy = false;
  const char* failure = BuildMovieObjects(rec, ddraw, file, width, height, surfaceMode, &madeCopy);
  if (failure == nullptr) {
    rec->updatePending = 0;
    rec->reservedTime = -1;
    rec->lastPresentCount = ~std::uint64_t{0};
    rec->lastRefreshTime = -1;
    rec->openTime = GetMicroseconds(0);
    rec->multimediaStream->GetDuration(&rec->duration);
    return 0;
  }
  ReleaseInterfacesForClose(rec);
  FreeFrameBuffer(rec);
  CloseFrameEvent(rec);
  if (madeCopy) DeleteTemporaryCopy(rec);
  if (failure[0] != '\0') return LogPrintf("%s", failure);
  return LogPrintf("ファイル:%s が開けませんでした", file);
}

int OpenMovieToGraph(const char* file, int* width, int* height, int surfaceMode) {
  int slot = -1;
  for (int i = 0; i < kMovieTableSize && slot < 0; ++i) {
    if (MovieTable.slots[i] == nullptr) slot = i;
  }
  if (slot < 0) return -1;
  auto* rec = static_cast<MovieRecord*>(TRACKED_CALLOC(sizeof(MovieRecord)));
  if (rec == nullptr) return LogWrite("メモリの確保に失敗しました in OpenMovieToGraph");
  rec->ownerGraph = -1;
  if (OpenMovieFile(rec, GetDirectDrawObject(), file, width, height, surfaceMode) != 0) {
    TrackedFree(rec);
    return LogWrite("ムービーファイルオープン処理時にエラーが発生しました");
  }
  rec->playing = 0;
  return MovieTable.Register(slot, rec);
}

int AttachMovieToGraph(int graph, int movie) {
  GraphRecord* record = GetGraphRecord(graph);
  MovieRecord* rec = GetMovieRecord(movie);
  if (record == nullptr || rec == nullptr) return -1;
  record->movie = movie;
  rec->ownerGraph = graph;
  return 0;
}

void ReleaseMovieObjects(MovieRecord* rec) {
  ReleaseInterface(rec->videoStream);
  ReleaseInterface(rec->ddVideoStream);
  ReleaseInterface(rec->sample);
  ReleaseInterface(rec->sampleSurface);
  ReleaseInterface(rec->sampleSurface4);
  ReleaseInterface(rec->amVideoStream);
  ReleaseInterface(rec->multimediaStream);
  ReleaseInterface(rec->directDraw4);
  ReleaseInterface(rec->filterGraph);
  ReleaseInterface(rec->mediaControl);
  ReleaseInterface(rec->mediaSeeking);
  ReleaseInterface(rec->basicAudio);
}

int CloseMovie(int movie) {
  MovieRecord* rec = GetMovieRecord(movie);
  if (rec == nullptr) return -1;
  DeleteTemporaryCopy(rec);
  FreeFrameBuffer(rec);
  ReleaseInterfacesForClose(rec);
  CloseFrameEvent(rec);
  MovieTable.Unregister(MovieTableType::SlotOf(movie));
  TrackedFree(rec);
  return 0;
}

int CloseGraphMovie(int graph) {
  GraphRecord* record = GetGraphRecord(graph);
  if (record == nullptr) return -1;
  if (record->movie == -1) return 0;
  const int movie = record->movie;
  const MovieRecord* rec = GetMovieRecord(movie);
  if (rec == nullptr) return -1;
  record->movie = -1;
  // A graph that only shares the movie (a tile of the one it was opened for) leaves it.
  return rec->ownerGraph == graph ? CloseMovie(movie) : 0;
}
