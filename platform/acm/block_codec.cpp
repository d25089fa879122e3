// Conversion of block formats: whole source blocks, as many as both buffers hold.
#include <algorithm>

#include "acm/acm_codec.h"

namespace {

class BlockCodec final : public AcmCodec {
 public:
  BlockCodec(BlockFormat format, BlockDecoder decoder) : format_(std::move(format)), decoder_(decoder) {}

  bool Convert(const BYTE* src, DWORD srcBytes, BYTE* dst, DWORD dstBytes, DWORD* used, DWORD* produced) override {
    const DWORD outBytesPerBlock = format_.framesPerBlock * format_.channels * 2;
    const DWORD blocks = std::min(srcBytes / format_.blockBytes, dstBytes / outBytesPerBlock);
    *used = 0;
    *produced = 0;
    if (blocks > 0 && !decoder_(format_, src, blocks, dst)) return false;
    *used = blocks * format_.blockBytes;
    *produced = blocks * outBytesPerBlock;
    return true;
  }

  std::uint64_t MaxOutputBytes(DWORD srcBytes) const override {
    return static_cast<std::uint64_t>(srcBytes / format_.blockBytes) * format_.framesPerBlock * format_.channels * 2;
  }

 private:
  BlockFormat format_;
  BlockDecoder decoder_;
};

}  // namespace

std::unique_ptr<AcmCodec> MakeBlockCodec(BlockFormat format, BlockDecoder decoder) {
  return std::make_unique<BlockCodec>(std::move(format), decoder);
}
