// The picture loader table and the dispatch over it.
#include "graphics/image_loaders.h"

const ImageLoader ImageLoaderTable[] = {
    LoadBmpImage, LoadJpegImage, LoadPngImage, LoadBgraImage, LoadTgaImage, LoadDdsImage, nullptr,
};

int DecodeImageStream(DataStream* stream, GraphImage* img) {
  for (const ImageLoader* loader = ImageLoaderTable; *loader != nullptr; ++loader) {
    stream->ops->seek(stream->handle, 0, 0);
    if ((*loader)(stream, img) == 0) return 0;
  }
  return -1;
}
