// MPEG Layer III through libmpg123, fed a little at a time.
//
// The decoder buffers input, so the bytes it was given are not always all turned into
// output yet when the destination fills. What does not fit stays with the decoder,
// which hands it out first on the next read (it decodes a frame at a time, as it is
// read): copying it all out would take whatever the fed bytes decode to, many times the
// destination for frames of a lower rate. While the decoder may hold output, the last
// byte fed is reported unused, so the caller comes back with it (it is skipped, having
// been fed already) and nothing is lost at the end.
//
// A decoder handle is costly to make, and every sound load asks for several codecs in
// turn (the format check, the conversion, its restart), so a closed codec leaves its
// handle for the next one; reopening a handle for a new stream resets all its state.
// A codec takes a handle and opens its stream only when first given data: the format
// check's codec is never fed, and neither is a conversion closed before its first piece.
#include <mpg123.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "acm/acm_codec.h"

namespace {

constexpr DWORD kFeedPiece = 512;
constexpr std::uint64_t kMaxFrameSamples = 1152;

std::mutex idleLock;
mpg123_handle* idleHandle = nullptr;

mpg123_handle* TakeHandle() {
  {
    const std::lock_guard<std::mutex> hold(idleLock);
    if (idleHandle != nullptr) return std::exchange(idleHandle, nullptr);
  }
  int error = MPG123_OK;
  return mpg123_new(nullptr, &error);
}

void GiveBackHandle(mpg123_handle* handle) {
  mpg123_close(handle);
  {
    const std::lock_guard<std::mutex> hold(idleLock);
    if (idleHandle == nullptr) {
      idleHandle = handle;
      return;
    }
  }
  mpg123_delete(handle);
}

// A handle set up for 16-bit PCM of `channels` at `rate` with its feed open; null when
// the decoder cannot start.
mpg123_handle* StartStream(std::uint64_t channels, long rate) {
  mpg123_handle* handle = TakeHandle();
  if (handle == nullptr) return nullptr;
  const bool mono = channels == 1;
  const long flags = MPG123_QUIET | (mono ? MPG123_FORCE_MONO : MPG123_FORCE_STEREO);
  if (mpg123_param(handle, MPG123_REMOVE_FLAGS, MPG123_FORCE_MONO | MPG123_FORCE_STEREO, 0) != MPG123_OK ||
      mpg123_param(handle, MPG123_ADD_FLAGS, flags, 0) != MPG123_OK || mpg123_format_none(handle) != MPG123_OK ||
      mpg123_format(handle, rate, mono ? MPG123_MONO : MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK ||
      mpg123_open_feed(handle) != MPG123_OK) {
    GiveBackHandle(handle);
    return nullptr;
  }
  return handle;
}

// Whether the decoder gives PCM at `rate`: it decodes at the MPEG rates only.
bool DecodesAtRate(long rate) {
  const long* rates = nullptr;
  std::size_t count = 0;
  mpg123_rates(&rates, &count);
  return std::find(rates, rates + count, rate) != rates + count;
}

class Mp3Codec final : public AcmCodec {
 public:
  explicit Mp3Codec(const WAVEFORMATEX& src)
      : channels_(src.nChannels), rate_(src.nSamplesPerSec), averageBytes_(src.nAvgBytesPerSec) {}
  ~Mp3Codec() override {
    if (handle_ != nullptr) GiveBackHandle(handle_);
  }

  bool Convert(const BYTE* src, DWORD srcBytes, BYTE* dst, DWORD dstBytes, DWORD* used, DWORD* produced) override {
    if (handle_ == nullptr && !failed_) {
      handle_ = StartStream(channels_, static_cast<long>(rate_));
      failed_ = handle_ == nullptr;
    }
    DWORD out = 0;
    if (holding_) ReadDecoded(dst, dstBytes, &out);
    DWORD fed = std::min(heldBack_, srcBytes);
    while (!failed_ && !holding_ && out < dstBytes && fed < srcBytes) {
      const DWORD piece = std::min(kFeedPiece, srcBytes - fed);
      if (mpg123_feed(handle_, src + fed, piece) != MPG123_OK) {
        failed_ = true;
        break;
      }
      fed += piece;
      ReadDecoded(dst, dstBytes, &out);
    }
    heldBack_ = holding_ && fed > 0 ? 1 : 0;
    *used = fed - heldBack_;
    *produced = out;
    return !failed_ || out > 0;
  }

  // From the stated average rate, as a stream of constant bit rate gives; never more
  // than the shortest frames could give (32 kbit/s frames of 1152 samples at the
  // MPEG-1 rates, 8 kbit/s frames of 576 at the lower ones).
  std::uint64_t MaxOutputBytes(DWORD srcBytes) const override {
    const std::uint64_t slack = 2 * kMaxFrameSamples;
    const std::uint64_t divisor = rate_ >= 32000 ? 4000 : 1000;
    std::uint64_t samples = static_cast<std::uint64_t>(srcBytes) * rate_ / divisor + slack;
    if (averageBytes_ > 0) samples = std::min(samples, srcBytes * rate_ / averageBytes_ + slack);
    return samples * channels_ * 2;
  }

 private:
  // Takes decoded bytes into dst while it has room; once it is full, the decoder may
  // hold more.
  void ReadDecoded(BYTE* dst, DWORD dstBytes, DWORD* out) {
    holding_ = false;
    while (*out < dstBytes) {
      std::size_t done = 0;
      const int result = mpg123_read(handle_, dst + *out, dstBytes - *out, &done);
      *out += static_cast<DWORD>(done);
      if (result == MPG123_NEED_MORE || result == MPG123_DONE) return;
      if (result == MPG123_NEW_FORMAT) continue;
      if (result != MPG123_OK) {
        failed_ = true;
        return;
      }
      if (done == 0) return;
    }
    holding_ = true;
  }

  mpg123_handle* handle_ = nullptr;
  std::uint64_t channels_;
  std::uint64_t rate_;
  std::uint64_t averageBytes_;
  bool holding_ = false;  // the destination filled: the decoder may hold output
  DWORD heldBack_ = 0;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<AcmCodec> MakeMp3Codec(const WAVEFORMATEX& src) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { mpg123_init(); });
  if (!DecodesAtRate(static_cast<long>(src.nSamplesPerSec))) return nullptr;
  return std::make_unique<Mp3Codec>(src);
}
