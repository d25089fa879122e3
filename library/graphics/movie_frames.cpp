// Movie frames into graphs: each draw of a movie graph picks up the frame the stream
// finished since the last one (at most once per presented frame) and asks for the next.
#include <algorithm>
#include <cstring>

#include "graphics/graph_image.h"
#include "graphics/graph_records.h"
#include "graphics/movie_record.h"
#include "graphics/movies.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"
#include "kernel/sync.h"
#include "winmm/time.h"

namespace {

// Within one presented frame a graph is refreshed again only after this long.
constexpr DWORD kRefreshGuardMs = 18;

// Copies the sample surface's frame into the frame buffer.
bool CopySampleToFrameBuffer(MovieRecord* rec) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (rec->sampleSurface4->Lock(&rec->sampleRect, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) {
    return false;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(rec->width) * rec->surfaceFormat.bytesPerPixel;
  const auto* source = static_cast<const std::uint8_t*>(description.lpSurface);
  auto* target = static_cast<std::uint8_t*>(rec->frameBuffer);
  for (int y = 0; y < rec->height; ++y) {
    std::memcpy(target + static_cast<std::ptrdiff_t>(y) * rec->frameBufferPitch,
                source + static_cast<std::ptrdiff_t>(y) * description.lPitch, rowBytes);
  }
  rec->sampleSurface4->Unlock(&rec->sampleRect);
  return true;
}

// The frame goes to the graph the movie was opened for; graphs cut from it share its
// pixels.
bool PickUpFrame(MovieRecord* rec, GraphRecord* drawn) {
  if (!CopySampleToFrameBuffer(rec)) return false;
  GraphRecord* owner = GetGraphRecord(rec->ownerGraph);
  GraphRecord* target = owner != nullptr ? owner : drawn;
  if (target->flags.texture) {
    TransferMovieFrameToTextures(rec, target);
  } else {
    TransferMovieFrameToSurface(rec, target);
  }
  return true;
}

}  // namespace

GraphImage MovieFrameImage(const MovieRecord* movie) {
  GraphImage frame{};
  frame.format = movie->surfaceFormat;
  frame.width = movie->frameBufferWidth;
  frame.height = movie->frameBufferHeight;
  frame.pitch = movie->frameBufferPitch;
  frame.pixels = movie->frameBuffer;
  return frame;
}

int TransferMovieFrameToSurface(MovieRecord* movie, GraphRecord* graph) {
  if (graph->pieceCount < 1) return -1;
  const Surface2D* piece = GetSurface2DRecord(graph->pieces[0]);
  if (piece == nullptr) return -1;
  GraphImage frame = MovieFrameImage(movie);
  const RECT source{0, 0, std::min<int>(frame.width, piece->width), std::min<int>(frame.height, piece->height)};
  return TransferImageToSurface2D(&frame, nullptr, &source, piece->offsetX, piece->offsetY, graph->pieces[0]);
}

int RefreshGraphMovieFrame(int graph, int) {
  GraphRecord* record = GetGraphRecord(graph);
  if (record == nullptr) return -1;
  if (record->movie == -1) return 0;
  MovieRecord* rec = GetMovieRecord(record->movie);
  if (rec == nullptr) return -1;
  if (rec->sampleSurface == nullptr) return 0;
  STREAM_STATE state = STREAMSTATE_STOP;
  rec->multimediaStream->GetState(&state);
  const std::uint64_t presents = GetPresentCount();
  const DWORD now = timeGetTime();
  if (rec->playing == 0 || state != STREAMSTATE_RUN) return 0;
  if (presents == rec->lastPresentCount && now - static_cast<DWORD>(rec->lastRefreshTime) < kRefreshGuardMs) return 0;

  bool frameReady = false;
  if (rec->updatePending) {
    if (WaitForSingleObject(rec->frameEvent, 0) != WAIT_OBJECT_0) return 0;
    frameReady = true;
  }
  for (int picked = 0;;) {
    if (frameReady) {
      if (!PickUpFrame(rec, record)) {
        rec->playing = 0;
        return 0;
      }
      rec->lastPresentCount = presents;
      rec->lastRefreshTime = static_cast<int>(now);
      ResetEvent(rec->frameEvent);
      rec->updatePending = 0;
      if (++picked == 2) return 0;
    }
    const HRESULT requested = rec->sample->Update(0, rec->frameEvent, nullptr, 0);
    if (requested == S_OK) {
      frameReady = true;
    } else if (requested == MS_S_PENDING) {
      rec->updatePending = 1;
      return 0;
    } else {
      rec->playing = 0;  // the end of the stream, or an error
      return 0;
    }
  }
}
