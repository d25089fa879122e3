#include "reference_blend.h"

#include <algorithm>

namespace {

using i64 = std::int64_t;

i64 Scale(i64 r, i64 v) { return r * v / 255; }
i64 Mix6(i64 o, i64 j, i64 i) { return (o * j + (63 - o) * i) / 63; }
bool IsWhite(std::uint32_t tint) { return (tint & 0xFFFFFF) == 0xFFFFFF; }
i64 TintByte(std::uint32_t tint, int c) { return (tint >> (8 * c)) & 0xFF; }
i64 Tinted(std::uint32_t tint, int c, i64 s) { return IsWhite(tint) ? s : Scale(TintByte(tint, c), s); }

// 32-bit channels: byte c. RGB565 channels: c = 0 blue, 1 green, 2 red.
i64 Byte(std::uint32_t v, int c) { return (v >> (8 * c)) & 0xFF; }
constexpr int kShift565[3] = {0, 5, 11};
constexpr int kWidth565[3] = {5, 6, 5};
i64 Field(std::uint32_t v, int c) { return (v >> kShift565[c]) & ((1 << kWidth565[c]) - 1); }
std::uint32_t Pack565(const i64 ch[3]) {
  return static_cast<std::uint32_t>((ch[2] << 11) | (ch[1] << 5) | ch[0]);
}
std::uint32_t Pack8888(const i64 ch[3], std::uint32_t byte3) {
  return static_cast<std::uint32_t>(ch[0] | (ch[1] << 8) | (ch[2] << 16)) | (byte3 << 24);
}

std::uint32_t BytewiseAdd(std::uint32_t d, std::uint32_t s) {
  std::uint32_t out = 0;
  for (int c = 0; c < 4; ++c) out |= static_cast<std::uint32_t>(std::min<i64>(Byte(d, c) + Byte(s, c), 255)) << (8 * c);
  return out;
}

std::uint32_t BytewiseSub(std::uint32_t d, std::uint32_t s) {
  std::uint32_t out = 0;
  for (int c = 0; c < 4; ++c) out |= static_cast<std::uint32_t>(std::max<i64>(Byte(d, c) - Byte(s, c), 0)) << (8 * c);
  return out;
}

// The transparent test shared by every description: returns false to skip; sets
// useAlpha to whether the alpha formulas apply.
bool PassesTransparentTest(const RefPixel& px, const RefDraw& draw, bool* useAlpha) {
  *useAlpha = px.form == REF_ALPHA;
  if (!draw.trans) return true;
  if (px.form == REF_ALPHA) {
    if (px.alpha == 0) return false;
    if (px.alpha == 255) *useAlpha = false;
    return true;
  }
  return px.raw != draw.key;
}

}  // namespace

std::uint32_t RefAdd8888(std::uint32_t d, std::uint32_t q, bool lowBitOr) {
  i64 out[3];
  i64 sum = Byte(d, 0) + Byte(q, 0);
  out[0] = std::min<i64>(sum, 255);
  i64 carry = sum > 255;
  for (int c = 1; c < 3; ++c) {
    const i64 h = (Byte(d, c) >> 1) + (Byte(q, c) >> 1);
    const i64 low = ((lowBitOr ? (Byte(d, c) | Byte(q, c)) : 0) & 1) | carry;
    out[c] = h > 127 ? 255 : (h << 1) | low;
    carry = h > 127;
  }
  return Pack8888(out, static_cast<std::uint32_t>(carry));
}

std::uint32_t RefSub8888(std::uint32_t d, std::uint32_t q) {
  i64 out[3];
  out[0] = std::max<i64>(Byte(d, 0) - Byte(q, 0), 0);
  i64 under = Byte(d, 0) < Byte(q, 0);
  for (int c = 1; c < 3; ++c) {
    if ((Byte(d, c) >> 1) < (Byte(q, c) >> 1)) {
      out[c] = 0;
      under = 1;
    } else {
      out[c] = (Byte(d, c) | 1) - (Byte(q, c) & 0xFE) - under;
      under = 0;
    }
  }
  return Pack8888(out, 0);
}

std::uint32_t RefAdd565(std::uint32_t d, std::uint32_t u, bool lowBitOr) {
  i64 out[3];
  const i64 blueSum = Field(d, 0) + Field(u, 0);
  out[0] = std::min<i64>(blueSum, 31);
  const i64 h = (Field(d, 1) >> 1) + (Field(u, 1) >> 1);
  const i64 greenLow = ((lowBitOr ? (Field(d, 1) | Field(u, 1)) : 0) & 1) | (blueSum >= 32);
  out[1] = (std::min<i64>(h, 31) << 1) | greenLow;
  const i64 hr = (Field(d, 2) >> 1) + (Field(u, 2) >> 1);
  const i64 redLow = ((lowBitOr ? (Field(d, 2) | Field(u, 2)) : 0) & 1) | (h >= 32);
  out[2] = hr >= 16 ? 31 : (hr << 1) | redLow;
  return Pack565(out);
}

std::uint32_t RefSub565(std::uint32_t d, std::uint32_t u) {
  i64 out[3];
  out[0] = std::max<i64>(Field(d, 0) - Field(u, 0), 0);
  const bool greenOk = (Field(d, 1) >> 1) >= (Field(u, 1) >> 1);
  out[1] = greenOk ? 2 * ((Field(d, 1) >> 1) - (Field(u, 1) >> 1)) : 0;
  const bool redOk = (Field(d, 2) >> 1) >= (Field(u, 2) >> 1);
  out[2] = redOk ? 2 * ((Field(d, 2) >> 1) - (Field(u, 2) >> 1)) + (greenOk ? 1 : 0) : 0;
  return Pack565(out);
}

std::uint32_t RefPair565(std::uint32_t d, std::uint32_t s, bool add) {
  const std::uint32_t d0 = d & 0xFFFF, d1 = d >> 16, s0 = s & 0xFFFF, s1 = s >> 16;
  const std::uint32_t first = add ? RefAdd565(d0, s0, false) : RefSub565(d0, s0);
  std::uint32_t second = add ? RefAdd565(d1, s1, false) : RefSub565(d1, s1);
  // The second pixel's blue works on its upper four bits, its lowest bit fed by the
  // first pixel's red.
  const i64 hb = (Field(d1, 0) >> 1), sb = (Field(s1, 0) >> 1);
  i64 blue;
  if (add) {
    const bool redCarry = (Field(d0, 2) >> 1) + (Field(s0, 2) >> 1) > 15;
    const bool blueCarry = hb + sb > 15;
    blue = blueCarry ? 31 : ((hb + sb) << 1) | (redCarry ? 1 : 0);
    // Green's lowest bit is the carry of this blue.
    second = (second & ~0x3Fu) | static_cast<std::uint32_t>(blue) | (blueCarry ? 0x20u : 0u);
  } else {
    const bool redKept = (Field(d0, 2) >> 1) >= (Field(s0, 2) >> 1);
    blue = hb < sb ? 0 : 2 * (hb - sb) + (redKept ? 1 : 0);
    second = (second & ~0x1Fu) | static_cast<std::uint32_t>(blue);
  }
  return first | (second << 16);
}

std::optional<std::uint32_t> RefAtPosition32(const RefPixel& px, std::uint32_t d, const RefDraw& draw) {
  bool useAlpha = false;
  if (!PassesTransparentTest(px, draw, &useAlpha)) return std::nullopt;
  const i64 p = draw.param, a = px.weight, al = px.alpha;
  const bool white = IsWhite(draw.tint);
  const bool plain = !px.graph && white && px.form != REF_ALPHA;
  const std::uint32_t s = px.colour;
  if (draw.mode == 1 && p == 128 && plain) return ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F);
  if (draw.mode == 2 && p == 255 && plain) return draw.mmx ? BytewiseAdd(d, s) : RefAdd8888(d, s, false);
  if (draw.mode == 3 && p == 255 && plain) return draw.mmx ? BytewiseSub(d, s) : RefSub8888(d, s);
  if (draw.mode == 0 && !px.graph && !useAlpha && white) return s;
  i64 out[3];
  for (int c = 0; c < 3; ++c) {
    const i64 t = Tinted(draw.tint, c, Byte(s, c)), dc = Byte(d, c);
    switch (draw.mode) {
      case 0:
        if (!px.graph && !useAlpha) out[c] = t;
        else if (!px.graph) out[c] = (dc * 256 + (t - dc) * al) >> 8;
        else if (!useAlpha) out[c] = (dc * 256 + (t - dc) * a) >> 8;
        else out[c] = (dc * 65536 + (t - dc) * a * al) >> 16;
        break;
      case 1:
        if (!px.graph && !useAlpha) out[c] = (dc * 256 + (t - dc) * p) >> 8;
        else if (!px.graph) out[c] = (dc * 65536 + (t - dc) * al * p) >> 16;
        else if (!useAlpha) out[c] = (dc * 65536 + (t - dc) * a * p) >> 16;
        else out[c] = (dc * (i64{1} << 24) + (t - dc) * a * al * p) >> 24;
        break;
      case 2:
      case 3:
        if (!px.graph && !useAlpha) out[c] = Scale(p, t);
        else if (!px.graph) out[c] = (t * al * p) >> 16;
        else if (!useAlpha) out[c] = (t * a * p) >> 16;
        else out[c] = (t * a * al * p) >> 24;
        break;
      default:
        if (!px.graph && !useAlpha) out[c] = (t * dc) >> 8;
        else if (!px.graph) out[c] = (t * dc * al) >> 16;
        else if (!useAlpha) out[c] = (a * t * dc) >> 16;
        else out[c] = (a * t * dc * al) >> 24;
        break;
    }
  }
  if (draw.mode == 2) return RefAdd8888(d, Pack8888(out, 0), true);
  if (draw.mode == 3) return RefSub8888(d, Pack8888(out, 0));
  return Pack8888(out, d >> 24);
}

std::optional<std::uint32_t> RefAtPosition16(const RefPixel& px, std::uint32_t d, const RefDraw& draw) {
  bool useAlpha = false;
  if (!PassesTransparentTest(px, draw, &useAlpha)) return std::nullopt;
  const i64 p = draw.param, f = px.weight, a = px.alpha;
  const bool white = IsWhite(draw.tint);
  const bool plain = !px.graph && white && px.form != REF_ALPHA;
  const std::uint32_t s = px.colour & 0xFFFF;
  if (draw.mode == 1 && plain && p == 128) return ((s >> 1) & 0x7BEF) + ((d >> 1) & 0x7BEF);
  i64 out[3];
  for (int c = 0; c < 3; ++c) {
    const i64 sc = Field(s, c), dc = Field(d, c), t = Tinted(draw.tint, c, sc);
    switch (draw.mode) {
      case 0:
        if (!px.graph && !useAlpha) out[c] = t;
        else if (!px.graph) out[c] = (dc * (256 - a) + t * a) >> 8;
        else if (!useAlpha) out[c] = (dc * (256 - f) + t * f) >> 8;
        else out[c] = (dc * (65536 - a * f) + t * a * f) >> 16;
        break;
      case 1:
        if (plain) out[c] = Mix6(p >> 2, sc, dc);
        else if (!px.graph && !useAlpha) out[c] = dc + (p * (t - dc)) / 255;
        else if (!px.graph) out[c] = (dc * 65536 + (t - dc) * a * p) >> 16;
        else if (!useAlpha) out[c] = (dc * 65536 + (t - dc) * f * p) >> 16;
        else out[c] = (dc * (i64{1} << 24) + (t - dc) * a * f * p) >> 24;
        break;
      case 2:
      case 3:
        if (!px.graph && !useAlpha) out[c] = Scale(p, t);
        else if (!px.graph) out[c] = Scale(p, Tinted(draw.tint, c, (sc * a) >> 8));
        else if (!useAlpha) out[c] = Scale(p, (t * f) >> 8);
        else out[c] = Scale(p, (t * a * f) >> 16);
        break;
      default: {
        const int w = kWidth565[c];
        if (!px.graph && !useAlpha) out[c] = (dc * t) >> w;
        else if (!px.graph) out[c] = (dc * t * a) >> (w + 8);
        else if (!useAlpha) out[c] = (dc * t * f) >> (w + 8);
        else out[c] = (dc * t * a * f) >> (w + 16);
        break;
      }
    }
  }
  if (draw.mode == 2) return RefAdd565(d, Pack565(out), true);
  if (draw.mode == 3) return RefSub565(d, Pack565(out));
  return Pack565(out);
}

std::optional<std::uint32_t> RefShared32(const RefPixel& px, std::uint32_t d, const RefDraw& draw, bool mmxCase) {
  bool useAlpha = false;
  if (!PassesTransparentTest(px, draw, &useAlpha)) return std::nullopt;
  const int n = (px.graph ? 1 : 0) + (useAlpha ? 1 : 0);
  const i64 F = (px.graph ? i64{px.weight} : 1) * (useAlpha ? i64{px.alpha} : 1);
  const i64 p = draw.param;
  const bool white = IsWhite(draw.tint);
  const std::uint32_t s = px.colour;
  if (draw.mode == 0 && n == 0 && white) return s;
  if (draw.mode == 3 && mmxCase && draw.mmx && p == 255 && n == 0 && white && px.form != REF_ALPHA) {
    return BytewiseSub(d, s);
  }
  i64 out[3];
  for (int c = 0; c < 3; ++c) {
    const i64 v = Tinted(draw.tint, c, Byte(s, c)), dc = Byte(d, c);
    switch (draw.mode) {
      case 0: out[c] = n == 0 ? v : ((dc << (8 * n)) + (v - dc) * F) >> (8 * n); break;
      case 1: out[c] = ((dc << (8 * (n + 1))) + (v - dc) * F * p) >> (8 * (n + 1)); break;
      case 2:
      case 3: out[c] = n == 0 ? Scale(p, v) : (v * F * p) >> (8 * (n + 1)); break;
      default: out[c] = (v * dc * F) >> (8 * (n + 1)); break;
    }
  }
  if (draw.mode == 2) return RefAdd8888(d, Pack8888(out, 0), true);
  if (draw.mode == 3) return RefSub8888(d, Pack8888(out, 0));
  return Pack8888(out, d >> 24);
}

std::optional<std::uint32_t> RefShared16(const RefPixel& px, std::uint32_t d, const RefDraw& draw) {
  bool useAlpha = false;
  if (!PassesTransparentTest(px, draw, &useAlpha)) return std::nullopt;
  const int n = (px.graph ? 1 : 0) + (useAlpha ? 1 : 0);
  const i64 F = (px.graph ? i64{px.weight} : 1) * (useAlpha ? i64{px.alpha} : 1);
  const i64 p = draw.param;
  const bool white = IsWhite(draw.tint);
  const std::uint32_t s = px.colour & 0xFFFF;
  i64 out[3];
  for (int c = 0; c < 3; ++c) {
    const i64 sc = Field(s, c), dc = Field(d, c), t = Tinted(draw.tint, c, sc);
    const int w = kWidth565[c];
    switch (draw.mode) {
      case 0:
        out[c] = n == 0 ? t : n == 1 ? (dc * (256 - F) + t * F) / 256 : (dc * (65536 - F) + t * F) / 65536;
        break;
      case 1:
        out[c] = n == 0   ? dc + (t - dc) * p / 255
                 : n == 1 ? (dc * (65536 - F * p) + t * F * p) / 65536
                          : (dc * ((i64{1} << 24) - F * p) + t * F * p) / (i64{1} << 24);
        break;
      case 2:
      case 3:
        if (n == 0) out[c] = Scale(p, t);
        else if (n == 1 && useAlpha && !white) out[c] = Scale(p, Scale(TintByte(draw.tint, c), sc * F / 256));
        else if (n == 1) out[c] = Scale(p, t * F / 256);
        else out[c] = Scale(p, t * F / 65536);
        break;
      default: out[c] = dc * t * F / (i64{1} << (w + 8 * n)); break;
    }
  }
  if (draw.mode == 2) return RefAdd565(d, Pack565(out), true);
  if (draw.mode == 3) return RefSub565(d, Pack565(out));
  return Pack565(out);
}
