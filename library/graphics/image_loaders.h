// The picture loaders and their dispatch. Each loader recognises its format from
// the data alone, starting at the stream's current position (the start), and
// returns 0 with img filled (rows top first, pixels a tracked block) or -1, in
// which case it has freed what it took and left img->pixels as it was.
#pragma once

#include "core/streams.h"
#include "graphics/graph_image.h"

typedef int (*ImageLoader)(DataStream* stream, GraphImage* img);

int LoadBmpImage(DataStream* stream, GraphImage* img);
int LoadJpegImage(DataStream* stream, GraphImage* img);
int LoadPngImage(DataStream* stream, GraphImage* img);
int LoadBgraImage(DataStream* stream, GraphImage* img);  // the raw "BGRA" format
int LoadTgaImage(DataStream* stream, GraphImage* img);
int LoadDdsImage(DataStream* stream, GraphImage* img);

// The loaders in order of preference, ending with NULL.
extern const ImageLoader ImageLoaderTable[];

// Tries each loader of the table from the stream's start; 0 for the first that
// decodes the picture, -1 when none does.
int DecodeImageStream(DataStream* stream, GraphImage* img);
