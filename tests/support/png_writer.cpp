#include "png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace {

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v >> 24));
  out.push_back(uint8_t(v >> 16));
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}

uint32_t Crc(const uint8_t* p, size_t n) {
  return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(n)));
}

// Adam7 pass geometry, from the standard.
constexpr int kRow0[7] = {0, 0, 4, 0, 2, 0, 1};
constexpr int kCol0[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr int kRowStep[7] = {8, 8, 8, 4, 4, 2, 2};
constexpr int kColStep[7] = {8, 8, 4, 4, 2, 2, 1};

// Packs the samples of the given pixels of row y into a scan line.
std::vector<uint8_t> PackLine(const PngDesc& s, uint32_t y, uint32_t x0, uint32_t step) {
  const int ch = ChannelsOf(s.ColorType);
  std::vector<uint8_t> line;
  uint32_t acc = 0;
  int bits = 0;
  for (uint32_t x = x0; x < s.Width; x += step) {
    for (int c = 0; c < ch; ++c) {
      const uint16_t v = s.Samples[(size_t(y) * s.Width + x) * ch + c];
      if (s.BitDepth == 16) {
        line.push_back(uint8_t(v >> 8));
        line.push_back(uint8_t(v));
      } else if (s.BitDepth == 8) {
        line.push_back(uint8_t(v));
      } else {
        acc = (acc << s.BitDepth) | v;
        bits += s.BitDepth;
        if (bits == 8) {
          line.push_back(uint8_t(acc));
          acc = 0;
          bits = 0;
        }
      }
    }
  }
  if (bits > 0) line.push_back(uint8_t(acc << (8 - bits)));
  return line;
}

int PaethPredict(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

std::vector<uint8_t> FilterLine(int type, const std::vector<uint8_t>& x,
                                const std::vector<uint8_t>& prior, size_t bpp) {
  std::vector<uint8_t> out(x.size());
  for (size_t i = 0; i < x.size(); ++i) {
    const int a = i >= bpp ? x[i - bpp] : 0;
    const int b = prior[i];
    const int c = i >= bpp ? prior[i - bpp] : 0;
    int pred = 0;
    switch (type) {
      case 1:
        pred = a;
        break;
      case 2:
        pred = b;
        break;
      case 3:
        pred = (a + b) / 2;
        break;
      case 4:
        pred = PaethPredict(a, b, c);
        break;
      default:
        break;
    }
    out[i] = uint8_t(x[i] - pred);
  }
  return out;
}

uint8_t GammaLevel(uint8_t v, uint32_t gamma) {
  const double fileGamma = double(float(int32_t(gamma)) / 100000.0f);
  const double g = fileGamma > 0 ? fileGamma : 1.0;
  return uint8_t(std::lrint(std::pow(v / 255.0, 1.0 / (g * double(2.2f))) * 255));
}

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace

int ChannelsOf(uint8_t colorType) {
  switch (colorType) {
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 1;
  }
}

void FillSamples(PngDesc& s, uint64_t seed, bool smooth) {
  TestRandom rnd(seed);
  const int ch = ChannelsOf(s.ColorType);
  const uint32_t max = s.BitDepth == 16 ? 65535 : (1u << s.BitDepth) - 1;
  if (s.ColorType == 3 && s.Palette.empty()) {
    const uint32_t entries = 1u << s.BitDepth;
    for (uint32_t i = 0; i < entries * 3; ++i) s.Palette.push_back(uint8_t(rnd.Next()));
  }
  const uint32_t limit = s.ColorType == 3 ? uint32_t(s.Palette.size() / 3) - 1 : max;
  s.Samples.resize(size_t(s.Width) * s.Height * ch);
  for (uint32_t y = 0; y < s.Height; ++y) {
    for (uint32_t x = 0; x < s.Width; ++x) {
      for (int c = 0; c < ch; ++c) {
        uint32_t v;
        if (smooth) {
          const double t = (double(x) / s.Width + double(y) / s.Height * (c + 1)) / (c + 2);
          v = uint32_t(t * limit) + rnd.Below(limit / 32 + 2);
          if (v > limit) v = limit;
        } else {
          v = rnd.Below(limit + 1);
        }
        s.Samples[(size_t(y) * s.Width + x) * ch + c] = uint16_t(v);
      }
    }
  }
}

std::vector<uint8_t> FilteredImageData(const PngDesc& s) {
  const size_t bpp = std::max<size_t>(1, size_t(ChannelsOf(s.ColorType)) * s.BitDepth / 8);
  std::vector<uint8_t> raw;
  const int passes = s.Interlaced ? 7 : 1;
  for (int p = 0; p < passes; ++p) {
    const uint32_t x0 = s.Interlaced ? kCol0[p] : 0, xs = s.Interlaced ? kColStep[p] : 1;
    const uint32_t y0 = s.Interlaced ? kRow0[p] : 0, ys = s.Interlaced ? kRowStep[p] : 1;
    if (x0 >= s.Width || y0 >= s.Height) continue;
    std::vector<uint8_t> prior;
    int k = 0;
    for (uint32_t y = y0; y < s.Height; y += ys, ++k) {
      const std::vector<uint8_t> line = PackLine(s, y, x0, xs);
      if (prior.empty()) prior.assign(line.size(), 0);
      int type = (s.FilterBase + k) % 5;
      if (s.Filters == FilterChoice::Adaptive) {
        long best = -1;
        for (int t = 0; t < 5; ++t) {
          long sum = 0;
          for (uint8_t b : FilterLine(t, line, prior, bpp)) sum += b < 128 ? b : 256 - b;
          if (best < 0 || sum < best) best = sum, type = t;
        }
      }
      raw.push_back(uint8_t(type));
      const std::vector<uint8_t> filtered = FilterLine(type, line, prior, bpp);
      raw.insert(raw.end(), filtered.begin(), filtered.end());
      prior = line;
    }
  }
  return raw;
}

std::vector<uint8_t> MakeChunk(const std::string& type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  PutBE32(out, uint32_t(data.size()));
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  PutBE32(out, Crc(out.data() + 4, data.size() + 4));
  return out;
}

std::vector<uint8_t> PngSignature() {
  return {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
}

std::vector<uint8_t> IhdrData(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType,
                              uint8_t interlace, uint8_t compression) {
  std::vector<uint8_t> d;
  PutBE32(d, width);
  PutBE32(d, height);
  d.insert(d.end(), {depth, colorType, compression, 0, interlace});
  return d;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw, int level) {
  uLongf size = compressBound(uLong(raw.size()));
  std::vector<uint8_t> out(size);
  if (compress2(out.data(), &size, raw.data(), uLong(raw.size()), level) != Z_OK)
    throw std::runtime_error("compress2 failed");
  out.resize(size);
  return out;
}

std::vector<uint8_t> EncodePng(const PngDesc& s) {
  std::vector<uint8_t> file = PngSignature();
  auto add = [&](const std::string& type, const std::vector<uint8_t>& data) {
    const std::vector<uint8_t> c = MakeChunk(type, data);
    file.insert(file.end(), c.begin(), c.end());
  };
  add("IHDR", IhdrData(s.Width, s.Height, s.BitDepth, s.ColorType, s.Interlaced ? 1 : 0));
  if (s.Gamma) {
    std::vector<uint8_t> g;
    PutBE32(g, *s.Gamma);
    add("gAMA", g);
  }
  if (s.TextBefore) add("tEXt", {'T', 'i', 't', 'l', 'e', 0, 'b', 'e', 'f', 'o', 'r', 'e'});
  if (!s.Palette.empty()) add("PLTE", s.Palette);
  if (s.Transparency) add("tRNS", *s.Transparency);
  if (s.Background) add("bKGD", *s.Background);
  const std::vector<uint8_t> z = Deflate(FilteredImageData(s), s.Level);
  const size_t split = s.IdatSplit ? s.IdatSplit : z.size();
  for (size_t at = 0; at < z.size(); at += split) {
    if (s.EmptyIdats) add("IDAT", {});
    add("IDAT", std::vector<uint8_t>(z.begin() + at, z.begin() + std::min(z.size(), at + split)));
  }
  if (s.TextAfter) add("tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'a', 'f', 't', 'e', 'r'});
  add("IEND", {});
  return file;
}

std::vector<uint32_t> ExpectedArgb(const PngDesc& s) {
  const int ch = ChannelsOf(s.ColorType);
  auto level = [&](uint16_t v) -> uint8_t {
    switch (s.BitDepth) {
      case 1:
        return uint8_t(v * 255);
      case 2:
        return uint8_t(v * 85);
      case 4:
        return uint8_t(v * 17);
      case 16:
        return uint8_t(uint32_t(v) * 255 / 65535);
      default:
        return uint8_t(v);
    }
  };
  auto gamma = [&](uint8_t v) { return s.Gamma ? GammaLevel(v, *s.Gamma) : v; };
  std::vector<uint32_t> out(size_t(s.Width) * s.Height);
  for (size_t i = 0; i < out.size(); ++i) {
    const uint16_t* p = &s.Samples[i * ch];
    switch (s.ColorType) {
      case 0:
      case 4: {  // grey with alpha shows its grey only
        const uint8_t g = gamma(level(p[0]));
        out[i] = Argb(255, g, g, g);
        break;
      }
      case 2:
        out[i] = Argb(255, gamma(level(p[0])), gamma(level(p[1])), gamma(level(p[2])));
        break;
      case 6:
        out[i] = Argb(level(p[3]), gamma(level(p[0])), gamma(level(p[1])), gamma(level(p[2])));
        break;
      case 3: {
        const size_t idx = p[0];
        const bool known = idx * 3 + 2 < s.Palette.size();
        // gAMA is written before PLTE, so the palette is gamma-corrected.
        const uint8_t r = known ? gamma(s.Palette[idx * 3]) : 0;
        const uint8_t g = known ? gamma(s.Palette[idx * 3 + 1]) : 0;
        const uint8_t b = known ? gamma(s.Palette[idx * 3 + 2]) : 0;
        const uint8_t a =
            s.Transparency && idx < s.Transparency->size() ? (*s.Transparency)[idx] : 255;
        out[i] = Argb(a, r, g, b);
        break;
      }
      default:
        throw std::logic_error("bad colour type");
    }
  }
  return out;
}

void FixChunkCrcs(std::vector<uint8_t>& file) {
  size_t at = 8;
  while (at + 12 <= file.size()) {
    const uint32_t len = (uint32_t(file[at]) << 24) | (uint32_t(file[at + 1]) << 16) |
                         (uint32_t(file[at + 2]) << 8) | file[at + 3];
    if (len > file.size() - at - 12) return;
    const uint32_t crc = Crc(&file[at + 4], size_t(len) + 4);
    uint8_t* p = &file[at + 8 + len];
    p[0] = uint8_t(crc >> 24);
    p[1] = uint8_t(crc >> 16);
    p[2] = uint8_t(crc >> 8);
    p[3] = uint8_t(crc);
    at += size_t(len) + 12;
  }
}

std::string DescribePng(const PngDesc& s) {
  return "type " + std::to_string(s.ColorType) + " depth " + std::to_string(s.BitDepth) + " " +
         std::to_string(s.Width) + "x" + std::to_string(s.Height) + (s.Interlaced ? " Adam7" : "") +
         " filters " + std::to_string(s.FilterBase) + (s.Transparency ? " tRNS" : "") +
         (s.Gamma ? " gAMA" : "");
}
