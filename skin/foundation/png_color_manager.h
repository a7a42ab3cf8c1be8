// Conversion of image sample rows between layouts, sample sizes and channel
// counts, with gamma correction and palette building.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum ChannelLayout : uint8_t {
  lyUnknown = 0,
  lyIndexed = 1,  // palette indices
  lyGray = 2,
  lyGrayAlpha = 3,
  lyRGB = 4,
  lyRGBA = 5,
  lyBGR = 6,
  lyBGRA = 7,
  lyUnhandled = 8,  // accepted by the setters; no conversion handles it
  lyCMYK = 9,
  lyCIELab = 10,
  lyYCbCr = 11,
  lyPhotoYCC = 12,
};

// Bits of TColorManager::InputFlags.
inline constexpr uint8_t kInputHasAlpha = 1;
inline constexpr uint8_t kInputByteSwap = 4;    // 16-bit samples are big-endian
inline constexpr uint8_t kInputLabL255 = 8;     // L*a*b*: L stored as 0..255
inline constexpr uint8_t kInputLabOffset = 16;  // L*a*b*: a and b stored with offset 128
// Bits of TColorManager::OutputFlags.
inline constexpr uint8_t kOutputHasAlpha = 1;
inline constexpr uint8_t kOutputGamma = 2;

// Bitmap pixel formats the output (or input) settings correspond to.
enum class SamplePixelFormat : uint8_t { Custom, Bits1, Bits4, Bits8, Bits15, Bits24, Bits32 };

// A palette as little-endian words 0x00RRGGBB (bytes blue, green, red, 0);
// entries from Count on are black.
struct ColorPalette {
  uint32_t Count = 0;
  std::array<uint32_t, 256> Entries{};
};

class TColorManager {
 public:
  TColorManager();
  // Back to the settings of a new manager.
  void Reset();

  void SetInputSampleBits(uint8_t bits);
  void SetOutputSampleBits(uint8_t bits);
  void SetInputChannels(uint8_t channels);
  void SetOutputChannels(uint8_t channels);
  void SetInputLayout(ChannelLayout layout);
  void SetOutputLayout(ChannelLayout layout);
  // Only the bits the user owns are taken (input 4, 8, 16; output 2); the
  // alpha bits follow the layouts.
  void SetInputFlags(uint8_t flags);
  void SetOutputFlags(uint8_t flags);
  void SetGammaValues(float fileGamma, float displayGamma);

  uint8_t InputSampleBits() const { return inputBits_; }
  uint8_t OutputSampleBits() const { return outputBits_; }
  uint8_t InputChannels() const { return inputChannels_; }
  uint8_t OutputChannels() const { return outputChannels_; }
  ChannelLayout InputLayout() const { return inputLayout_; }
  ChannelLayout OutputLayout() const { return outputLayout_; }
  uint8_t InputFlags() const { return inputFlags_; }
  uint8_t OutputFlags() const { return outputFlags_; }
  float FileGamma() const { return fileGamma_; }
  float DisplayGamma() const { return displayGamma_; }
  const std::array<uint8_t, 256>& GammaTable() const { return gammaTable_; }

  SamplePixelFormat PixelFormatFor(bool output) const;

  // Converts count pixels. sources holds one pointer for interleaved samples
  // or one per channel for planar samples. Bit 7 of mask selects the first
  // pixel of every group of eight, bit 6 the second and so on: the target
  // advances over every pixel, the sources only over the selected ones.
  void ConvertPixelRow(const void* const* sources, size_t sourceCount, void* target, size_t count,
                       uint8_t mask);
  void ConvertPixelRow(const void* source, void* target, size_t count, uint8_t mask) {
    ConvertPixelRow(&source, 1, target, count, mask);
  }

  // kind 0/1: interleaved 8-bit triples/quads; 2/3: three 8-bit planes;
  // 4/5: interleaved 16-bit triples/quads; 6/7: three 16-bit planes.
  ColorPalette MakePalette(const void* const* sources, size_t sourceCount, int kind, bool swapped,
                           int count) const;
  ColorPalette MakeGrayPalette(bool descending) const;

 private:
  using Converter = void (TColorManager::*)(const uint8_t* const* src, size_t planes, uint8_t* dst,
                                            size_t count, uint8_t mask);
  void SelectRowConverter();
  void BuildChromaTables();

  // Converters, in png_color_convert.cpp.
  void PackedToPacked(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                      uint8_t mask);
  void Packed16ToPacked(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                        uint8_t mask);
  void PackedToPacked16(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                        uint8_t mask);
  void Copy16(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count, uint8_t mask);
  void OneChannel(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                  uint8_t mask);
  void RgbFamily(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                 uint8_t mask);
  void CmykToRgb(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count,
                 uint8_t mask);
  void LabToRgb(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count, uint8_t mask);
  void YccToRgb(const uint8_t* const* src, size_t planes, uint8_t* dst, size_t count, uint8_t mask);
  void WriteColor(uint8_t*& dst, int red, int green, int blue) const;

  bool formatsChanged_;
  uint8_t inputBits_;
  uint8_t outputBits_;
  uint8_t inputChannels_;
  uint8_t outputChannels_;
  float fileGamma_;
  float displayGamma_;
  std::array<uint8_t, 256> gammaTable_;
  std::array<float, 3> lumaWeights_;
  std::array<std::array<int32_t, 256>, 4> chromaTables_;  // Cr->R, Cb->B, Cr->G, Cb->G
  ChannelLayout inputLayout_;
  ChannelLayout outputLayout_;
  Converter rowConverter_;
  uint8_t inputFlags_;
  uint8_t outputFlags_;
};
