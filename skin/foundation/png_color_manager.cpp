#include "skin/foundation/png_color_manager.h"

#include <algorithm>
#include <cmath>

#include "skin/foundation/png_errors.h"

namespace {

bool IsPaletteLikeInput(ChannelLayout l) {
  return l >= lyIndexed && l <= lyGrayAlpha;
}
bool IsPaletteLikeOutput(ChannelLayout l) {
  return l == lyIndexed || l == lyGray;
}
bool HasAlpha(ChannelLayout l) {
  return l == lyGrayAlpha || l == lyRGBA || l == lyBGRA;
}
bool IsRgbOutput(ChannelLayout l) {
  return l >= lyRGB && l <= lyBGRA;
}
bool Is8Or16(uint8_t bits) {
  return bits == 8 || bits == 16;
}

// Round half to even, as the gamma and chroma tables are defined.
long RoundEven(double v) {
  return std::lrint(v);
}

std::array<uint8_t, 256> ComputeGammaTable(float fileGamma, float displayGamma, int inMax,
                                           int outMax) {
  std::array<uint8_t, 256> table{};
  const double exponent = 1.0 / (double(fileGamma) * double(displayGamma));
  for (int i = 0; i < 256; ++i) {
    const double level = i >= inMax ? 1.0 : double(i) / inMax;
    table[i] = static_cast<uint8_t>(RoundEven(std::pow(level, exponent) * outMax));
  }
  return table;
}

uint16_t Load16(const uint8_t* p, bool bigEndian) {
  return static_cast<uint16_t>(bigEndian ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8));
}

uint32_t PaletteWord(int red, int green, int blue) {
  return (uint32_t(red) << 16) | (uint32_t(green) << 8) | uint32_t(blue);
}

}  // namespace

TColorManager::TColorManager() {
  Reset();
}

void TColorManager::Reset() {
  formatsChanged_ = true;
  inputBits_ = 8;
  outputBits_ = 8;
  inputChannels_ = 3;
  outputChannels_ = 3;
  lumaWeights_ = {0.299f, 0.587f, 0.114f};
  for (auto& table : chromaTables_) table.fill(0);
  inputLayout_ = lyRGB;
  outputLayout_ = lyBGR;
  rowConverter_ = nullptr;
  inputFlags_ = 0;
  outputFlags_ = 0;
  SetGammaValues(1.0f, 2.2f);
}

void TColorManager::SetInputSampleBits(uint8_t bits) {
  if (bits == 0 || bits > 16) throw EColorConversionError(png_msg::kBadSampleBits);
  if (bits != inputBits_) formatsChanged_ = true;
  inputBits_ = bits;
}

void TColorManager::SetOutputSampleBits(uint8_t bits) {
  if (bits == 0 || bits > 16) throw EColorConversionError(png_msg::kBadSampleBits);
  if (bits != outputBits_) formatsChanged_ = true;
  outputBits_ = bits;
}

void TColorManager::SetInputChannels(uint8_t channels) {
  if (channels == 0 || channels > 4) throw EColorConversionError(png_msg::kBadChannelCount);
  if (channels != inputChannels_) formatsChanged_ = true;
  inputChannels_ = channels;
}

void TColorManager::SetOutputChannels(uint8_t channels) {
  if (channels == 0 || channels > 4) throw EColorConversionError(png_msg::kBadChannelCount);
  if (channels != outputChannels_) formatsChanged_ = true;
  outputChannels_ = channels;
}

void TColorManager::SetInputLayout(ChannelLayout layout) {
  if (layout != inputLayout_) formatsChanged_ = true;
  inputLayout_ = layout;
}

void TColorManager::SetOutputLayout(ChannelLayout layout) {
  if (layout != outputLayout_) formatsChanged_ = true;
  outputLayout_ = layout;
}

void TColorManager::SetInputFlags(uint8_t flags) {
  inputFlags_ = static_cast<uint8_t>((inputFlags_ & kInputHasAlpha) |
                                     (flags & (kInputByteSwap | kInputLabL255 | kInputLabOffset)));
}

void TColorManager::SetOutputFlags(uint8_t flags) {
  outputFlags_ = static_cast<uint8_t>((outputFlags_ & kOutputHasAlpha) | (flags & kOutputGamma));
}

void TColorManager::SetGammaValues(float fileGamma, float displayGamma) {
  if (!(fileGamma > 0)) fileGamma = 1.0f;
  if (!(displayGamma > 0)) displayGamma = 2.2f;
  fileGamma_ = fileGamma;
  displayGamma_ = displayGamma;
  const int outMax = outputBits_ >= 8 ? 255 : (1 << outputBits_) - 1;
  // The table has 256 entries whatever the sample sizes: the input range is
  // held to it, and entries above the range keep the top output value.
  const int inMax = inputBits_ >= 8 ? 255 : std::min(255, (1 << outputBits_) - 1);
  // Every reset asks for the same table (file gamma 1, 8-bit samples), twice
  // per PNG load: its 256 powers are worked out once.
  if (fileGamma == 1.0f && displayGamma == 2.2f && outMax == 255 && inMax == 255) {
    static const std::array<uint8_t, 256> plain = ComputeGammaTable(1.0f, 2.2f, 255, 255);
    gammaTable_ = plain;
    return;
  }
  gammaTable_ = ComputeGammaTable(fileGamma, displayGamma, inMax, outMax);
}

SamplePixelFormat TColorManager::PixelFormatFor(bool output) const {
  const uint8_t bits = output ? outputBits_ : inputBits_;
  const uint8_t channels = output ? outputChannels_ : inputChannels_;
  switch (channels) {
    case 1:
      if (bits == 1) return SamplePixelFormat::Bits1;
      if (bits >= 2 && bits <= 4) return SamplePixelFormat::Bits4;
      if (bits >= 8) return SamplePixelFormat::Bits8;
      return SamplePixelFormat::Custom;
    case 3:
      return bits <= 5 ? SamplePixelFormat::Bits15 : SamplePixelFormat::Bits24;
    case 4:
      return bits >= 8 ? SamplePixelFormat::Bits32 : SamplePixelFormat::Custom;
    default:
      return SamplePixelFormat::Custom;
  }
}

void TColorManager::ConvertPixelRow(const void* const* sources, size_t sourceCount, void* target,
                                    size_t count, uint8_t mask) {
  if (formatsChanged_) SelectRowConverter();
  if (rowConverter_ == nullptr) throw EColorConversionError(png_msg::kNoConverter);
  if (sourceCount == 0 || sources == nullptr)
    throw EColorConversionError(png_msg::kBadChannelCount);
  (this->*rowConverter_)(reinterpret_cast<const uint8_t* const*>(sources), sourceCount,
                         static_cast<uint8_t*>(target), count, mask);
}

void TColorManager::SelectRowConverter() {
  rowConverter_ = nullptr;
  if (IsPaletteLikeInput(inputLayout_) != IsPaletteLikeOutput(outputLayout_))
    throw EColorConversionError(png_msg::kIndexedMismatch);
  inputFlags_ = static_cast<uint8_t>((inputFlags_ & ~kInputHasAlpha) |
                                     (HasAlpha(inputLayout_) ? kInputHasAlpha : 0));
  outputFlags_ = static_cast<uint8_t>((outputFlags_ & ~kOutputHasAlpha) |
                                      (HasAlpha(outputLayout_) ? kOutputHasAlpha : 0));
  const bool in16 = inputBits_ == 16;
  const bool out16 = outputBits_ == 16;
  const bool rgbOut = IsRgbOutput(outputLayout_);
  switch (inputLayout_) {
    case lyIndexed:
      if (in16 && out16)
        rowConverter_ = &TColorManager::Copy16;
      else if (in16)
        rowConverter_ = &TColorManager::Packed16ToPacked;
      else if (out16)
        rowConverter_ = &TColorManager::PackedToPacked16;
      else
        rowConverter_ = &TColorManager::PackedToPacked;
      break;
    case lyGray:
      if (!in16 && !out16)
        rowConverter_ = &TColorManager::PackedToPacked;
      else if (Is8Or16(inputBits_) && Is8Or16(outputBits_))
        rowConverter_ = &TColorManager::OneChannel;
      break;
    case lyGrayAlpha:
      if (Is8Or16(inputBits_) && Is8Or16(outputBits_)) rowConverter_ = &TColorManager::OneChannel;
      break;
    case lyRGB:
    case lyRGBA:
    case lyBGR:
    case lyBGRA:
      if (rgbOut && Is8Or16(inputBits_) && Is8Or16(outputBits_))
        rowConverter_ = &TColorManager::RgbFamily;
      break;
    case lyCMYK:
      if (rgbOut && Is8Or16(inputBits_) && Is8Or16(outputBits_))
        rowConverter_ = &TColorManager::CmykToRgb;
      break;
    case lyCIELab:
      if (rgbOut && inputBits_ == 8 && Is8Or16(outputBits_))
        rowConverter_ = &TColorManager::LabToRgb;
      break;
    case lyYCbCr:
    case lyPhotoYCC:
      if (rgbOut && inputBits_ == 8 && Is8Or16(outputBits_)) {
        BuildChromaTables();
        rowConverter_ = &TColorManager::YccToRgb;
      }
      break;
    default:
      break;
  }
  formatsChanged_ = false;
}

void TColorManager::BuildChromaTables() {
  const double r = lumaWeights_[0], g = lumaWeights_[1], b = lumaWeights_[2];
  const double cr = 2 - 2 * r, cb = 2 - 2 * b;
  const double kr = r * cr / g, kb = b * cb / g;
  const bool photo = inputLayout_ == lyPhotoYCC;
  for (int i = 0; i < 256; ++i) {
    const double eCr = i - (photo ? 137 : 128);
    const double eCb = i - (photo ? 156 : 128);
    chromaTables_[0][i] = static_cast<int32_t>(RoundEven(cr * eCr));
    chromaTables_[1][i] = static_cast<int32_t>(RoundEven(cb * eCb));
    chromaTables_[2][i] = -static_cast<int32_t>(RoundEven(kr * eCr));
    chromaTables_[3][i] = -static_cast<int32_t>(RoundEven(kb * eCb));
  }
}

ColorPalette TColorManager::MakePalette(const void* const* sources, size_t sourceCount, int kind,
                                        bool swapped, int count) const {
  ColorPalette input;
  count = std::clamp(count, 0, 256);
  const bool planar = kind == 2 || kind == 3 || kind == 6 || kind == 7;
  if (sources == nullptr || sourceCount < (planar ? 3u : 1u) || kind < 0 || kind > 7)
    throw EColorConversionError(png_msg::kBadChannelCount);
  const auto* s0 = static_cast<const uint8_t*>(sources[0]);
  const bool gamma = (outputFlags_ & kOutputGamma) != 0;
  const bool bigEndian = (inputFlags_ & kInputByteSwap) != 0;
  auto level8 = [&](uint8_t v) { return gamma ? gammaTable_[v] : v; };
  auto level16 = [&](const uint8_t* p) {
    return level8(static_cast<uint8_t>(Load16(p, bigEndian) * 255u / 65535u));
  };
  for (int i = 0; i < count; ++i) {
    int red, green, blue;
    if (kind <= 1) {
      const uint8_t* p = s0 + size_t(i) * (kind == 0 ? 3 : 4);
      red = level8(p[swapped ? 2 : 0]);
      green = level8(p[1]);
      blue = level8(p[swapped ? 0 : 2]);
    } else if (kind <= 3) {
      red = level8(static_cast<const uint8_t*>(sources[0])[i]);
      green = level8(static_cast<const uint8_t*>(sources[1])[i]);
      blue = level8(static_cast<const uint8_t*>(sources[2])[i]);
    } else if (kind <= 5) {
      const uint8_t* p = s0 + size_t(i) * (kind == 4 ? 6 : 8);
      blue = level16(p + (swapped ? 4 : 0));
      green = level16(p + 2);
      red = level16(p + (swapped ? 0 : 4));
    } else {
      red = level16(static_cast<const uint8_t*>(sources[0]) + 2 * size_t(i));
      green = level16(static_cast<const uint8_t*>(sources[1]) + 2 * size_t(i));
      blue = level16(static_cast<const uint8_t*>(sources[2]) + 2 * size_t(i));
    }
    input.Entries[i] = PaletteWord(red, green, blue);
  }
  input.Count = uint32_t(count);
  if (outputBits_ > 8 || inputBits_ == outputBits_) return input;
  // Indices are rescaled to the output sample size (a 2-bit index k becomes
  // 5k in 4 bits), so the entries move to the rescaled positions; positions
  // that map beyond the file's entries stay black.
  ColorPalette result;
  const uint32_t outMax = (1u << outputBits_) - 1;
  const uint32_t inMax = (1u << inputBits_) - 1;
  result.Count = outMax + 1;
  for (uint32_t t = 0; t <= outMax; ++t) {
    const uint32_t from = t * inMax / outMax;
    if (from < input.Count) result.Entries[t] = input.Entries[from];
  }
  return result;
}

ColorPalette TColorManager::MakeGrayPalette(bool descending) const {
  ColorPalette result;
  const int bits = std::min(outputBits_ * outputChannels_, 8);
  const uint32_t n = 1u << bits;
  const uint32_t step = 255 / (n - 1);
  const bool gamma = (outputFlags_ & kOutputGamma) != 0;
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t grey = static_cast<uint8_t>(i * step);
    if (gamma) grey = gammaTable_[grey];
    result.Entries[descending ? n - 1 - i : i] = PaletteWord(grey, grey, grey);
  }
  result.Count = n;
  return result;
}
