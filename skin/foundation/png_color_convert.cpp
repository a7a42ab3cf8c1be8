// The row converters of TColorManager. Each writes only the target pixels
// selected by the mask; the target advances over every pixel, the sources
// only over the converted ones.
#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "skin/foundation/png_color_manager.h"
#include "skin/foundation/png_errors.h"

namespace {

uint8_t Rotl(uint8_t m) {
  return static_cast<uint8_t>((m << 1) | (m >> 7));
}

uint16_t Load16(const uint8_t* p, bool bigEndian) {
  return static_cast<uint16_t>(bigEndian ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8));
}

void Store16(uint8_t* p, uint32_t v, bool bigEndian) {
  p[bigEndian ? 0 : 1] = static_cast<uint8_t>(v >> 8);
  p[bigEndian ? 1 : 0] = static_cast<uint8_t>(v);
}

uint8_t Scale16To8(uint32_t v) {
  return static_cast<uint8_t>(v * 255u / 65535u);
}
uint8_t ClampByte(int v) {
  return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Bit fields packed most significant first.
uint32_t GetBits(const uint8_t* p, size_t bitPos, unsigned bits) {
  if (8 % bits == 0) {
    const unsigned shift = 8 - bits - unsigned(bitPos & 7);
    return (p[bitPos >> 3] >> shift) & ((1u << bits) - 1);
  }
  uint32_t v = 0;
  for (unsigned i = 0; i < bits; ++i, ++bitPos)
    v = (v << 1) | ((p[bitPos >> 3] >> (7 - (bitPos & 7))) & 1u);
  return v;
}

void PutBits(uint8_t* p, size_t bitPos, unsigned bits, uint32_t v) {
  if (8 % bits == 0) {
    const unsigned shift = 8 - bits - unsigned(bitPos & 7);
    const unsigned fieldMask = ((1u << bits) - 1) << shift;
    uint8_t& b = p[bitPos >> 3];
    b = static_cast<uint8_t>((b & ~fieldMask) | ((v << shift) & fieldMask));
    return;
  }
  for (unsigned i = 0; i < bits; ++i, ++bitPos) {
    const uint8_t bit = static_cast<uint8_t>(0x80u >> (bitPos & 7));
    if ((v >> (bits - 1 - i)) & 1u)
      p[bitPos >> 3] |= bit;
    else
      p[bitPos >> 3] &= static_cast<uint8_t>(~bit);
  }
}

// Where sample c of the k-th converted pixel lies, interleaved or planar.
struct SampleSource {
  const uint8_t* const* planes;
  bool planar;
  size_t samples;  // samples per interleaved pixel
  size_t bytes;    // bytes per sample
  const uint8_t* At(size_t k, size_t c) const {
    return planar ? planes[c] + k * bytes : planes[0] + (k * samples + c) * bytes;
  }
};


// RGB(A) samples to BGR(A) bytes: colours through the gamma table when asked,
// alpha copied as it is.
template <bool Gamma>
void RgbToBgr8(const uint8_t* s, uint8_t* d, size_t count, bool alpha, const uint8_t* table) {
  if (alpha && !Gamma) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i keep = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
    const __m128i low = _mm_set1_epi32(0xFF);
    for (; i + 4 <= count; i += 4) {
      const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * i));
      const __m128i swapped =
          _mm_or_si128(_mm_and_si128(p, keep),
                       _mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 16), low),
                                    _mm_slli_epi32(_mm_and_si128(p, low), 16)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * i), swapped);
    }
#endif
    for (; i < count; ++i) {
      uint32_t p;
      std::memcpy(&p, s + 4 * i, 4);
      p = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
      std::memcpy(d + 4 * i, &p, 4);
    }
    return;
  }
  auto level = [table](uint8_t v) { return Gamma ? table[v] : v; };
  if (alpha) {
    for (size_t i = 0; i < count; ++i, s += 4, d += 4) {
      const uint8_t r = s[0], g = s[1], b = s[2], a = s[3];
      d[0] = level(b);
      d[1] = level(g);
      d[2] = level(r);
      d[3] = a;
    }
    return;
  }
  for (size_t i = 0; i < count; ++i, s += 3, d += 3) {
    const uint8_t r = s[0], g = s[1], b = s[2];
    d[0] = level(b);
    d[1] = level(g);
    d[2] = level(r);
  }
}

// 16-bit samples scaled by 255 / 65535 (truncating), then as above.
template <bool Gamma>
void RgbToBgr16(const uint8_t* s, uint8_t* d, size_t count, bool alpha, bool bigEndian,
                const uint8_t* table) {
  const size_t samples = alpha ? 4 : 3;
  auto scaled = [bigEndian](const uint8_t* p) {
    const uint32_t v = bigEndian ? (uint32_t{p[0]} << 8) | p[1] : (uint32_t{p[1]} << 8) | p[0];
    return static_cast<uint8_t>(v * 255u / 65535u);
  };
  auto level = [table](uint8_t v) { return Gamma ? table[v] : v; };
  size_t i = 0;
#if defined(__SSE2__)
  if (alpha && bigEndian && !Gamma) {
    // Four pixels at a time: v * 255 div 65535 is v div 257, which is
    // (v * 65281) shr 24 for every 16-bit v.
    const __m128i by257 = _mm_set1_epi16(static_cast<short>(65281));
    auto scale = [&](__m128i x) {
      x = _mm_or_si128(_mm_slli_epi16(x, 8), _mm_srli_epi16(x, 8));  // big-endian samples
      x = _mm_srli_epi16(_mm_mulhi_epu16(x, by257), 8);
      // R G B A to B G R A in each pixel's four lanes.
      return _mm_shufflehi_epi16(_mm_shufflelo_epi16(x, _MM_SHUFFLE(3, 0, 1, 2)),
                                 _MM_SHUFFLE(3, 0, 1, 2));
    };
    for (; i + 4 <= count; i += 4, s += 32, d += 16) {
      const __m128i a = scale(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)));
      const __m128i b = scale(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_packus_epi16(a, b));
    }
  }
#endif
  for (; i < count; ++i, s += 2 * samples, d += samples) {
    const uint8_t r = scaled(s), g = scaled(s + 2), b = scaled(s + 4);
    d[0] = level(b);
    d[1] = level(g);
    d[2] = level(r);
    if (alpha) d[3] = scaled(s + 6);
  }
}

}  // namespace

void TColorManager::PackedToPacked(const uint8_t* const* src, size_t, uint8_t* dst, size_t count,
                                   uint8_t mask) {
  const unsigned inBits = inputBits_, outBits = outputBits_;
  if (inBits == outBits && mask == 0xFF) {
    std::memcpy(dst, src[0], (count * inBits + 7) / 8);
    return;
  }
  const uint32_t inMax = (1u << inBits) - 1, outMax = (1u << outBits) - 1;
  size_t inPos = 0;
  for (size_t i = 0; i < count; ++i, mask = Rotl(mask)) {
    if (!(mask & 0x80)) continue;
    const uint32_t v = GetBits(src[0], inPos, inBits);
    inPos += inBits;
    PutBits(dst, i * outBits, outBits, inBits == outBits ? v : v * outMax / inMax);
  }
}

void TColorManager::Packed16ToPacked(const uint8_t* const* src, size_t, uint8_t* dst, size_t count,
                                     uint8_t mask) {
  const bool bigEndian = (inputFlags_ & kInputByteSwap) != 0;
  const uint32_t outMax = (1u << outputBits_) - 1;
  const uint8_t* s = src[0];
  for (size_t i = 0; i < count; ++i, mask = Rotl(mask)) {
    if (!(mask & 0x80)) continue;
    PutBits(dst, i * outputBits_, outputBits_, Load16(s, bigEndian) * outMax / 65535u);
    s += 2;
  }
}

void TColorManager::PackedToPacked16(const uint8_t* const* src, size_t, uint8_t* dst, size_t count,
                                     uint8_t mask) {
  const bool bigEndian = (inputFlags_ & kInputByteSwap) != 0;
  const uint32_t inMax = (1u << inputBits_) - 1;
  size_t inPos = 0;
  for (size_t i = 0; i < count; ++i, mask = Rotl(mask)) {
    if (!(mask & 0x80)) continue;
    const uint32_t v = GetBits(src[0], inPos, inputBits_);
    inPos += inputBits_;
    Store16(dst + 2 * i, v * 65535u / inMax, bigEndian);
  }
}

void TColorManager::Copy16(const uint8_t* const* src, size_t, uint8_t* dst, size_t count,
                           uint8_t mask) {
  const bool swap = (inputFlags_ & kInputByteSwap) != 0;
  if (!swap && mask == 0xFF) {
    std::memcpy(dst, src[0], count * 2);
    return;
  }
  const uint8_t* s = src[0];
  for (size_t i = 0; i < count; ++i, mask = Rotl(mask)) {
    if (!(mask & 0x80)) continue;
    Store16(dst + 2 * i, Load16(s, swap), false);
    s += 2;
  }
}

void TColorManager::OneChannel(const uint8_t* const* src, size_t, uint8_t* dst, size_t count,
                               uint8_t mask) {
  const bool bigEndian = (inputFlags_ & kInputByteSwap) != 0;
  const size_t inBytes = inputBits_ / 8, outBytes = outputBits_ / 8;
  // With alpha the grey sample is followed by an alpha sample, which is skipped.
  const size_t inStep = inBytes * ((inputFlags_ & kInputHasAlpha) ? 2 : 1);
  const uint8_t* s = src[0];
  if (mask == 0xFF && inBytes == 1 && outBytes == 1) {
    if (inStep == 1)
      std::memcpy(dst, s, count);
    else
      for (size_t i = 0; i < count; ++i) dst[i] = s[i * inStep];
    return;
  }
  for (size_t i = 0; i < count; ++i, mask = Rotl(mask)) {
    if (!(mask & 0x80)) continue;
    if (inBytes == 1 && outBytes == 1)
      dst[i] = s[0];
    else if (inBytes == 1)
      Store16(dst + 2 * i, s[0] * 257u, bigEndian);
    else if (outBytes == 1)
      dst[i] = Scale16To8(Load16(s, bigEndian));
    else
      Store16(dst + 2 * i, Load16(s, bigEndian), false);
    s += inStep;
  }
}

void TColorManager::RgbFamily(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                              uint8_t mask) {
  const bool inAlpha = (inputFlags_ & kInputHasAlpha) != 0;
  const bool outAlpha = (outputFlags_ & kOutputHasAlpha) != 0;
  const bool gamma = (outputFlags_ & kOutputGamma) != 0;
  const bool bigEndian = (inputFlags_ & kInputByteSwap) != 0;
  const size_t inSamples = inAlpha ? 4 : 3, outSamples = outAlpha ? 4 : 3;
  const size_t inBytes = inputBits_ / 8, outBytes = outputBits_ / 8;
  const bool planar = planes > 1;
  if (planar && planes < inSamples) throw EColorConversionError(png_msg::kBadChannelCount);
  // Sample positions of red, green and blue on each side.
  const bool inBgr = inputLayout_ == lyBGR || inputLayout_ == lyBGRA;
  const bool outBgr = outputLayout_ == lyBGR || outputLayout_ == lyBGRA;
  const size_t inPos[3] = {inBgr ? 2u : 0u, 1, inBgr ? 0u : 2u};
  const size_t outPos[3] = {outBgr ? 2u : 0u, 1, outBgr ? 0u : 2u};
  const size_t outPixel = outSamples * outBytes;

  if (!planar && mask == 0xFF && outBytes == 1 && !inBgr && outBgr &&
      inSamples == outSamples) {
    // The PNG cases (RGB to BGR, RGBA to BGRA, 8 or 16 bits) with fixed
    // sample positions, so that the compiler can vectorize them.
    if (inBytes == 1) {
      if (gamma)
        RgbToBgr8<true>(src[0], dst, count, inSamples == 4, gammaTable_.data());
      else
        RgbToBgr8<false>(src[0], dst, count, inSamples == 4, gammaTable_.data());
    } else {
      if (gamma)
        RgbToBgr16<true>(src[0], dst, count, inSamples == 4, bigEndian, gammaTable_.data());
      else
        RgbToBgr16<false>(src[0], dst, count, inSamples == 4, bigEndian, gammaTable_.data());
    }
    return;
  }
  if (!planar && mask == 0xFF && inBytes == 1 && outBytes == 1) {
    // The common case of 8-bit files, kept free of per-sample branches.
    const uint8_t* s = src[0];
    const uint8_t* table = gammaTable_.data();
    const bool copyAlpha = inAlpha && outAlpha;
    for (size_t i = 0; i < count; ++i, s += inSamples, dst += outPixel) {
      for (int c = 0; c < 3; ++c) {
        const uint8_t v = s[inPos[c]];
        dst[outPos[c]] = gamma ? table[v] : v;
      }
      if (copyAlpha) dst[3] = s[3];
    }
    return;
  }

  const SampleSource in{src, planar, inSamples, inBytes};
  size_t k = 0;
  for (size_t i = 0; i < count; ++i, mask = Rotl(mask), dst += outPixel) {
    if (!(mask & 0x80)) continue;
    for (size_t c = 0; c < 3; ++c) {
      const uint8_t* s = in.At(k, inPos[c]);
      uint8_t* d = dst + outPos[c] * outBytes;
      if (inBytes == 2 && outBytes == 2) {
        Store16(d, Load16(s, bigEndian), false);
        continue;
      }
      uint8_t v = inBytes == 1 ? s[0] : Scale16To8(Load16(s, bigEndian));
      if (gamma) v = gammaTable_[v];
      if (outBytes == 1)
        *d = v;
      else
        Store16(d, v * 257u, bigEndian);
    }
    if (inAlpha && outAlpha) {
      const uint8_t* s = in.At(k, 3);
      uint8_t* d = dst + 3 * outBytes;
      if (inBytes == 1 && outBytes == 1)
        *d = *s;
      else if (inBytes == 1)
        Store16(d, *s * 257u, bigEndian);
      else if (outBytes == 1)
        *d = Scale16To8(Load16(s, bigEndian));
      else
        Store16(d, Load16(s, bigEndian), false);
    }
    ++k;
  }
}

void TColorManager::WriteColor(uint8_t*& dst, int red, int green, int blue) const {
  const bool outBgr = outputLayout_ == lyBGR || outputLayout_ == lyBGRA;
  const size_t outBytes = outputBits_ / 8;
  const int values[3] = {outBgr ? blue : red, green, outBgr ? red : blue};
  for (int c = 0; c < 3; ++c) {
    const uint8_t v = ClampByte(values[c]);
    if (outBytes == 1)
      dst[c] = v;
    else
      Store16(dst + 2 * c, v * 257u, (inputFlags_ & kInputByteSwap) != 0);
  }
  dst += ((outputFlags_ & kOutputHasAlpha) ? 4 : 3) * outBytes;
}

void TColorManager::CmykToRgb(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                              uint8_t mask) {
  if (planes > 1 && planes < 4) throw EColorConversionError(png_msg::kBadChannelCount);
  const size_t inBytes = inputBits_ / 8;
  const bool bigEndian = (inputFlags_ & kInputByteSwap) != 0;
  const SampleSource in{src, planes > 1, 4, inBytes};
  auto sample = [&](size_t k, size_t c) -> int {
    const uint8_t* s = in.At(k, c);
    return inBytes == 1 ? *s : Scale16To8(Load16(s, bigEndian));
  };
  const size_t outPixel = ((outputFlags_ & kOutputHasAlpha) ? 4 : 3) * (outputBits_ / 8);
  size_t k = 0;
  for (size_t i = 0; i < count; ++i, mask = Rotl(mask)) {
    if (!(mask & 0x80)) {
      dst += outPixel;
      continue;
    }
    const int key = sample(k, 3);
    auto channel = [&](int c) { return c * key / 255 - c - key + 255; };
    WriteColor(dst, channel(sample(k, 0)), channel(sample(k, 1)), channel(sample(k, 2)));
    ++k;
  }
}

void TColorManager::LabToRgb(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                             uint8_t mask) {
  if (planes > 1 && planes < 3) throw EColorConversionError(png_msg::kBadChannelCount);
  const SampleSource in{src, planes > 1, 3, 1};
  const size_t outPixel = ((outputFlags_ & kOutputHasAlpha) ? 4 : 3) * (outputBits_ / 8);
  size_t k = 0;
  for (size_t i = 0; i < count; ++i, mask = Rotl(mask)) {
    if (!(mask & 0x80)) {
      dst += outPixel;
      continue;
    }
    double l = *in.At(k, 0);
    if (inputFlags_ & kInputLabL255) l /= 2.55;
    double a, b;
    if (inputFlags_ & kInputLabOffset) {
      a = *in.At(k, 1) - 128.0;
      b = *in.At(k, 2) - 128.0;
    } else {
      a = static_cast<int8_t>(*in.At(k, 1));
      b = static_cast<int8_t>(*in.At(k, 2));
    }
    double x, y, z;
    if (l < 7.9996) {
      y = l / 903.3;
      x = y + a / 3893.5;
      z = y - b / 1557.4;
    } else {
      const double f = (l + 16) / 116;
      x = std::pow(f + a / 500, 3);
      y = f * f * f;
      z = std::pow(f - b / 200, 3);
    }
    auto level = [](double v) {
      return static_cast<int>(std::clamp(std::lrint(v * 255), -1L, 256L));
    };
    WriteColor(dst, level(2.998 * x - 1.458 * y - 0.541 * z),
               level(-0.952 * x + 1.893 * y + 0.059 * z), level(0.099 * x - 0.198 * y + 1.099 * z));
    ++k;
  }
}

void TColorManager::YccToRgb(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                             uint8_t mask) {
  if (planes > 1 && planes < 3) throw EColorConversionError(png_msg::kBadChannelCount);
  const SampleSource in{src, planes > 1, 3, 1};
  const size_t outPixel = ((outputFlags_ & kOutputHasAlpha) ? 4 : 3) * (outputBits_ / 8);
  size_t k = 0;
  for (size_t i = 0; i < count; ++i, mask = Rotl(mask)) {
    if (!(mask & 0x80)) {
      dst += outPixel;
      continue;
    }
    const int luma = *in.At(k, 0), cb = *in.At(k, 1), cr = *in.At(k, 2);
    WriteColor(dst, luma + chromaTables_[0][cr], luma + chromaTables_[3][cb] + chromaTables_[2][cr],
               luma + chromaTables_[1][cb]);
    ++k;
  }
}
