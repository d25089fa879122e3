// Movies played into graphs: a picture file that no decoder takes is opened as a movie
// whose frames go into a blank graph; drawing the graph brings it up to the newest
// finished frame. Movies pause and resume with the window and are rebuilt after a
// display change.
#pragma once

#include <cstdint>

struct GraphImage;
struct GraphRecord;
struct MovieRecord;

// A movie handle, with the frame size; -1 when the file opens as no movie.
int OpenMovieToGraph(const char* file, int* width, int* height, int surfaceMode);
// Ties an open movie to the graph made for it: that graph shows and owns it.
int AttachMovieToGraph(int graph, int movie);
// 1 for a live movie handle.
int IsMovieHandleLive(int movie);
// Closes a movie that no graph took. 0, or -1 for an invalid handle.
int CloseMovie(int movie);
// The graph lets go of its movie, closing it when the graph opened it. 0 when the
// graph has none; -1 for an invalid graph.
int CloseGraphMovie(int graph);

// Brings the graph's pixels up to date with the movie, at most once per presented
// frame. 0, or -1 for an invalid graph or movie handle.
int RefreshGraphMovieFrame(int graph, int force);
// The movie's frame buffer seen as a picture.
GraphImage MovieFrameImage(const MovieRecord* movie);
// Copies the movie's last frame into the first piece of a 2-D graph. 0 / -1.
int TransferMovieFrameToSurface(MovieRecord* movie, GraphRecord* graph);

int PlayGraphMovie(int graph);
int PauseGraphMovie(int graph);
int ResumeAllGraphMovies();
int PauseAllGraphMovies();
// Around a display change: every movie lets go of its objects (keeping its place) and
// is opened again.
int ReleaseAllMovieObjects();
int ReopenAllMovies();
