// JPEG pictures through libjpeg's 6b interface (with the blue-first output of the
// extended colour spaces), fed from the library's DataStream by a source manager of
// our own. Grey pictures become grey-ramp palette images, colour ones RGB24 (blue
// first), rows back to back, decoded straight into the picture's block.
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include "core/tracked_alloc.h"
#include "graphics/image_loaders.h"
#include "graphics/picture_stream.h"

namespace {

constexpr std::size_t kInputBufferSize = 4096;

// libjpeg's standard error manager, then the jump back into the loader.
struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

struct JpegStreamSourceMgr {
  jpeg_source_mgr pub;
  JOCTET* buffer;
  boolean startOfFile;
  DataStream* stream;
  std::int64_t end;  // stream position of the end of the data
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// Every picture that is not a BMP is tried as JPEG first: nothing is printed.
void JpegQuietMessage(j_common_ptr) {}

JpegStreamSourceMgr* SourceOf(j_decompress_ptr cinfo) { return reinterpret_cast<JpegStreamSourceMgr*>(cinfo->src); }

void JpegInitSource(j_decompress_ptr cinfo) { SourceOf(cinfo)->startOfFile = TRUE; }

boolean JpegFillInputBuffer(j_decompress_ptr cinfo) {
  JpegStreamSourceMgr* src = SourceOf(cinfo);
  const std::int64_t here = src->stream->ops->tell(src->stream->handle);
  const std::int64_t left = here >= 0 ? src->end - here : 0;
  const std::size_t want = static_cast<std::size_t>(std::clamp<std::int64_t>(left, 0, kInputBufferSize));
  std::size_t got = want > 0 ? src->stream->ops->read(src->buffer, 1, want, src->stream->handle) : 0;
  if (got == 0) {
    if (src->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    // An end-of-image marker ends the decode of a cut-off file.
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    got = 2;
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = got;
  src->startOfFile = FALSE;
  return TRUE;
}

void JpegSkipInputData(j_decompress_ptr cinfo, long count) {
  JpegStreamSourceMgr* src = SourceOf(cinfo);
  if (count <= 0) return;
  // A segment longer than the data left is cut off: everything after it is the
  // inserted end marker, reached at once rather than two bytes at a time.
  const std::int64_t here = src->stream->ops->tell(src->stream->handle);
  const std::int64_t left = here >= 0 ? src->end - here : 0;
  if (count > static_cast<long>(src->pub.bytes_in_buffer) + left) {
    src->stream->ops->seek(src->stream->handle, src->end, 0);
    JpegFillInputBuffer(cinfo);
    return;
  }
  while (count > static_cast<long>(src->pub.bytes_in_buffer)) {
    count -= static_cast<long>(src->pub.bytes_in_buffer);
    JpegFillInputBuffer(cinfo);
  }
  src->pub.next_input_byte += count;
  src->pub.bytes_in_buffer -= count;
}

void JpegTermSource(j_decompress_ptr) {}

void SetJpegStreamSource(j_decompress_ptr cinfo, DataStream* stream) {
  if (cinfo->src == nullptr) {
    auto* src = static_cast<JpegStreamSourceMgr*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(JpegStreamSourceMgr)));
    src->buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kInputBufferSize));
    cinfo->src = &src->pub;
  }
  JpegStreamSourceMgr* src = SourceOf(cinfo);
  src->pub.init_source = JpegInitSource;
  src->pub.fill_input_buffer = JpegFillInputBuffer;
  src->pub.skip_input_data = JpegSkipInputData;
  src->pub.resync_to_restart = jpeg_resync_to_restart;
  src->pub.term_source = JpegTermSource;
  src->stream = stream;
  src->end = stream->ops->tell(stream->handle) + StreamRemaining(stream);
  src->pub.bytes_in_buffer = 0;
  src->pub.next_input_byte = nullptr;
}

}  // namespace

int LoadJpegImage(DataStream* stream, GraphImage* img) {
  jpeg_decompress_struct cinfo;
  JpegErrorManager err;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegErrorExit;
  err.pub.output_message = JpegQuietMessage;
  // The pixel block is freed at the jump point when libjpeg gives up.
  std::uint8_t* volatile pixels = nullptr;
  if (setjmp(err.jump)) {
    if (pixels != nullptr) TrackedFree(pixels);
    jpeg_destroy_decompress(&cinfo);
    return -1;
  }
  jpeg_create_decompress(&cinfo);
  SetJpegStreamSource(&cinfo, stream);
  jpeg_read_header(&cinfo, TRUE);
  if (!PictureSizeAllowed(cinfo.image_width, cinfo.image_height)) ERREXIT(&cinfo, JERR_IMAGE_TOO_BIG);
  if (cinfo.out_color_space == JCS_RGB) cinfo.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  // Only grey and RGB output; four-component (CMYK) files are refused.
  const int components = cinfo.output_components;
  if (components != 1 && components != 3) ERREXIT(&cinfo, JERR_CONVERSION_NOTIMPL);
  const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * components;
  pixels = static_cast<std::uint8_t*>(TRACKED_ALLOC(stride * cinfo.output_height));
  if (pixels == nullptr) ERREXIT(&cinfo, JERR_OUT_OF_MEMORY);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = pixels + stride * cinfo.output_scanline;
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) ERREXIT(&cinfo, JERR_INPUT_EOF);
  }
  jpeg_finish_decompress(&cinfo);

  GraphImage result{};
  if (components == 1) {
    BuildGray8PixelFormat(&result.format);
  } else {
    BuildRgb24PixelFormat(&result.format);
  }
  result.width = static_cast<int>(cinfo.output_width);
  result.height = static_cast<int>(cinfo.output_height);
  result.pitch = static_cast<int>(stride);
  result.pixels = pixels;
  jpeg_destroy_decompress(&cinfo);
  *img = result;
  return 0;
}
