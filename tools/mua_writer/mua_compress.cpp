// Greedy hash-chain LZ compressor for the MUA token format (see core/mua_lz.h).
#include <algorithm>
#include <array>
#include <cstring>

#include "core/archive_format.h"
#include "core/mua_lz.h"
#include "mua_writer.h"

namespace {

constexpr int kHashBits = 16;
constexpr int kChainDepth = 48;
constexpr std::uint8_t kLengthLowMask = 31;

std::uint32_t HashAt(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return (v * 2654435761u) >> (32 - kHashBits);
}

// The byte value used least, so that literal escapes cost least.
std::uint8_t LeastUsedByte(const std::uint8_t* data, std::size_t size) {
  std::array<std::size_t, 256> counts{};
  for (std::size_t i = 0; i < size; ++i) ++counts[data[i]];
  std::size_t best = 0;
  for (std::size_t b = 1; b < counts.size(); ++b) {
    if (counts[b] < counts[best]) best = b;
  }
  return static_cast<std::uint8_t>(best);
}

std::size_t MatchLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
  std::size_t n = 0;
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

std::size_t DistanceBytes(std::size_t distance) {
  const std::size_t value = distance - 1;
  return value < 0x100 ? 1 : value < 0x10000 ? 2 : 3;
}

class Encoder {
 public:
  Encoder(std::uint8_t escape, std::vector<std::uint8_t>* out) : escape_(escape), out_(out) {}

  void Literal(std::uint8_t b) {
    out_->push_back(b);
    if (b == escape_) out_->push_back(b);
  }

  // Bytes the match would take; 0 when it cannot be written with this distance form.
  std::size_t MatchCost(std::size_t length, std::size_t distance) const {
    const bool wide = length - kMuaLzMinMatch > kLengthLowMask;
    const bool repeat =
        distance == lastDistance_ && !(wide && ((length - kMuaLzMinMatch) & kLengthLowMask) == kLengthLowMask);
    return 2 + (wide ? 1 : 0) + (repeat ? 0 : DistanceBytes(distance));
  }

  void Match(std::size_t length, std::size_t distance) {
    const std::size_t extra = length - kMuaLzMinMatch;
    const bool wide = extra > kLengthLowMask;
    std::uint8_t form = kMuaLzRepeatDistance;
    std::uint32_t code = static_cast<std::uint32_t>(extra & kLengthLowMask) << 3 | (wide ? kMuaLzWideLength : 0);
    // Code 255 cannot be stored (codes above the escape are shifted up by one).
    if (distance != lastDistance_ || (code | form) == 255) form = static_cast<std::uint8_t>(DistanceBytes(distance) - 1);
    code |= form;
    out_->push_back(escape_);
    out_->push_back(static_cast<std::uint8_t>(code < escape_ ? code : code + 1));
    if (wide) out_->push_back(static_cast<std::uint8_t>(extra >> 5));
    if (form != kMuaLzRepeatDistance) {
      for (std::size_t i = 0; i <= form; ++i) out_->push_back(static_cast<std::uint8_t>((distance - 1) >> (8 * i)));
    }
    lastDistance_ = distance;
  }

 private:
  std::uint8_t escape_;
  std::vector<std::uint8_t>* out_;
  std::size_t lastDistance_ = 1;
};

}  // namespace

std::vector<std::uint8_t> CompressMuaLz(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t escape = LeastUsedByte(data, size);
  std::vector<std::uint8_t> out(kMuaLzHeaderSize);
  out.reserve(kMuaLzHeaderSize + size + size / 8);
  Encoder encoder(escape, &out);
  std::vector<std::int64_t> head(std::size_t{1} << kHashBits, -1);
  std::vector<std::int64_t> previous(size, -1);
  auto insert = [&](std::size_t at) {
    if (at + kMuaLzMinMatch > size) return;
    const std::uint32_t h = HashAt(data + at);
    previous[at] = head[h];
    head[h] = static_cast<std::int64_t>(at);
  };
  std::size_t i = 0;
  while (i < size) {
    std::size_t bestLength = 0;
    std::size_t bestDistance = 0;
    if (i + kMuaLzMinMatch <= size) {
      const std::size_t limit = std::min<std::size_t>(kMuaLzMaxMatch, size - i);
      std::int64_t candidate = head[HashAt(data + i)];
      for (int depth = 0; candidate >= 0 && depth < kChainDepth; ++depth) {
        const std::size_t distance = i - static_cast<std::size_t>(candidate);
        if (distance > kMuaLzMaxDistance) break;
        const std::size_t length = MatchLength(data + candidate, data + i, limit);
        if (length > bestLength) {
          bestLength = length;
          bestDistance = distance;
        }
        candidate = previous[static_cast<std::size_t>(candidate)];
      }
    }
    if (bestLength >= kMuaLzMinMatch && encoder.MatchCost(bestLength, bestDistance) < bestLength) {
      encoder.Match(bestLength, bestDistance);
      for (std::size_t j = 0; j < bestLength; ++j) insert(i + j);
      i += bestLength;
    } else {
      encoder.Literal(data[i]);
      insert(i);
      ++i;
    }
  }
  StoreLe32(out.data(), static_cast<std::uint32_t>(size));
  StoreLe32(out.data() + 4, static_cast<std::uint32_t>(out.size()));
  out[8] = escape;
  return out;
}
