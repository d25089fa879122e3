// Starting and pausing movies (one graph or all, with the window's activation), and
// letting go of their objects around a display change.
#include "graphics/graph_records.h"
#include "graphics/movie_record.h"
#include "graphics/movies.h"
#include "graphics/screen_mode.h"

namespace {

// The live movie of a graph: 1 with *rec set, 0 when the graph has none, -1 for an
// invalid graph or movie handle.
int ResolveGraphMovie(int graph, MovieRecord** rec) {
  const GraphRecord* record = GetGraphRecord(graph);
  if (record == nullptr) return -1;
  if (record->movie == -1) return 0;
  *rec = GetMovieRecord(record->movie);
  return *rec != nullptr ? 1 : -1;
}

void ForEveryMovieGraph(int (*action)(int graph)) {
  for (int slot = 0; slot < GraphTable.highWater; ++slot) {
    const GraphRecord* record = GraphTable.slots[slot];
    if (record != nullptr && record->movie >= 0) action(GraphTable.HandleOf(slot));
  }
}

}  // namespace

int PlayGraphMovie(int graph) {
  MovieRecord* rec = nullptr;
  const int resolved = ResolveGraphMovie(graph, &rec);
  if (resolved <= 0) return resolved;
  if (rec->sampleSurface != nullptr && rec->playing == 0) {
    rec->multimediaStream->SetState(STREAMSTATE_RUN);
    rec->playing = 1;
  }
  return 0;
}

int PauseGraphMovie(int graph) {
  MovieRecord* rec = nullptr;
  const int resolved = ResolveGraphMovie(graph, &rec);
  if (resolved <= 0) return resolved;
  if (rec->sampleSurface != nullptr && rec->playing == 1) {
    rec->mediaControl->Pause();
    rec->playing = 0;
  }
  return 0;
}

int ResumeAllGraphMovies() {
  ForEveryMovieGraph(PlayGraphMovie);
  return 0;
}

int PauseAllGraphMovies() {
  ForEveryMovieGraph(PauseGraphMovie);
  return 0;
}

int ReleaseAllMovieObjects() {
  for (MovieRecord* rec : MovieTable.slots) {
    if (rec == nullptr || rec->sampleSurface == nullptr) continue;
    rec->multimediaStream->GetTime(&rec->playPosition);
    ReleaseMovieObjects(rec);
  }
  return 0;
}

int ReopenAllMovies() {
  for (MovieRecord* rec : MovieTable.slots) {
    if (rec == nullptr || rec->sampleSurface != nullptr) continue;
    char file[kMovieFileNameSize];
    CopyGraphText(file, sizeof(file), rec->fileName);
    if (OpenMovieFile(rec, GetDirectDrawObject(), file, nullptr, nullptr, rec->surfaceMode) != 0) return -1;
    rec->multimediaStream->Seek(rec->playPosition);
    if (rec->playing) rec->multimediaStream->SetState(STREAMSTATE_RUN);
  }
  return 0;
}
