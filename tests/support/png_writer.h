// A deterministic PNG writer for the tests and the benchmark. It knows every
// sample it writes, so the pixels a reader must produce follow exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Deterministic pseudo-random numbers (xorshift64*), the same on every platform.
class TestRandom {
 public:
  explicit TestRandom(uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  uint32_t Below(uint32_t n) { return n ? static_cast<uint32_t>(Next() % n) : 0; }

 private:
  uint64_t state_;
};

enum class FilterChoice {
  Cycle,     // row k of every pass gets filter (FilterBase + k) % 5
  Adaptive,  // the filter with the least sum of absolute differences, as encoders do
};

struct PngDesc {
  uint32_t Width = 1;
  uint32_t Height = 1;
  uint8_t ColorType = 6;
  uint8_t BitDepth = 8;
  bool Interlaced = false;
  // Samples in file order, Width * Height * channels, each below 2^BitDepth.
  std::vector<uint16_t> Samples;
  std::vector<uint8_t> Palette;                      // RGB triples (PLTE)
  std::optional<std::vector<uint8_t>> Transparency;  // tRNS data as stored
  std::optional<std::vector<uint8_t>> Background;    // bKGD data as stored
  std::optional<uint32_t> Gamma;                     // gAMA value (gamma * 100000)
  FilterChoice Filters = FilterChoice::Cycle;
  int FilterBase = 0;
  size_t IdatSplit = 0;     // bytes per IDAT chunk; 0 = one chunk
  bool EmptyIdats = false;  // zero-length IDAT chunks between the others
  bool TextBefore = false;
  bool TextAfter = false;
  int Level = 6;  // zlib compression level
};

int ChannelsOf(uint8_t colorType);

// Fills Samples (and for palette images Palette) with deterministic content;
// smooth gives gradients with a little noise instead of pure noise.
void FillSamples(PngDesc& pngDesc, uint64_t seed, bool smooth = false);

// The raw (filter byte + filtered scan line) stream the IDAT chunks carry.
std::vector<uint8_t> FilteredImageData(const PngDesc& pngDesc);

// One chunk with its length and CRC.
std::vector<uint8_t> MakeChunk(const std::string& type, const std::vector<uint8_t>& data);
std::vector<uint8_t> PngSignature();
std::vector<uint8_t> IhdrData(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType,
                              uint8_t interlace, uint8_t compression = 0);
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw, int level = 6);

std::vector<uint8_t> EncodePng(const PngDesc& pngDesc);

// The pixels the reader must deliver, as words 0xAARRGGBB, row by row.
std::vector<uint32_t> ExpectedArgb(const PngDesc& pngDesc);

// Recomputes the CRC of every whole chunk after the signature (mutations use
// it to get past the CRC check).
void FixChunkCrcs(std::vector<uint8_t>& file);

std::string DescribePng(const PngDesc& pngDesc);
