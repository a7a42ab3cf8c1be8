#include "skin/foundation/png_reader.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#include "skin/foundation/png_argb.h"
#include "skin/foundation/png_chunks.h"
#include "skin/foundation/png_errors.h"
#include "skin/foundation/png_filters.h"
#include "skin/foundation/png_lz77.h"

namespace {

constexpr uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// Adam7: start row, start column, row step and column step of the passes.
constexpr uint8_t kPassStartRow[7] = {0, 0, 4, 0, 2, 0, 1};
constexpr uint8_t kPassStartColumn[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr uint8_t kPassRowStep[7] = {8, 8, 8, 4, 4, 2, 2};
constexpr uint8_t kPassColumnStep[7] = {8, 8, 4, 4, 2, 2, 1};

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

}  // namespace

bool PngReader::ReadImageHeader(const uint8_t* data, size_t size) {
  props_ = PngImageProperties{};
  if (data == nullptr || size < 8 || std::memcmp(data, kSignature, 8) != 0) return false;
  PngCursor cursor(data + 8, size - 8);
  PngChunkReader chunks(cursor);
  if (!chunks.TryReadChunkHeader() || !chunks.IsChunk(kChunkIHDR) || chunks.Length() != 13)
    return false;
  props_.ImageFlags = kPngFlagHeader;
  const uint8_t* ihdr = chunks.ReadChunkData();
  const uint32_t width = PngCursor::LoadBE32(ihdr);
  const uint32_t height = PngCursor::LoadBE32(ihdr + 4);
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return false;
  if (uint64_t{width} * height > kPngMaxPixels) return false;
  props_.ImageWidth = width;
  props_.ImageHeight = height;
  props_.SampleBits = ihdr[8];
  props_.ColorType = ihdr[9];
  props_.Compression = ihdr[10] == 0 ? 2 : 0;
  props_.InterlaceMethod = ihdr[12];
  props_.SampleCount = 1;
  switch (props_.ColorType) {
    case 0:
      props_.ColorLayout = lyGray;
      break;
    case 2:
      props_.ColorLayout = lyRGB;
      props_.SampleCount = 3;
      break;
    case 3:
      props_.ColorLayout = lyIndexed;
      break;
    case 4:
      props_.ColorLayout = lyGrayAlpha;
      break;
    case 6:
      props_.ColorLayout = lyRGBA;
      props_.SampleCount = 4;
      break;
    default:
      props_.ColorLayout = lyUnknown;
      break;
  }
  for (;;) {
    if (!chunks.TryReadChunkHeader()) return false;
    if (chunks.IsChunk(kChunkgAMA)) {
      if (chunks.Length() != 4) return false;
      chunks.ReadChunkData();
      props_.ImageFlags |= kPngFlagGamma;
      return true;
    }
    if (chunks.IsChunk(kChunkIEND)) return true;
    chunks.SkipChunk();
  }
}

// The state of one load; it lives only while LoadFromMemory runs.
class PngReader::Session {
 public:
  Session(PngReader& owner, const uint8_t* data, size_t size, const ArgbTarget& target,
          PngProgressSink* progress)
      : r_(owner),
        data_(data),
        size_(size),
        target_(target),
        progress_(progress),
        cursor_(data, size),
        chunks_(cursor_) {}

  size_t Run() {
    try {
      Load();
    } catch (...) {
      Notify(PngProgressStage::Ending, 100, nullptr);
      throw;
    }
    decoder_.DecodeEnd();
    Notify(PngProgressStage::Ending, 100, nullptr);
    return cursor_.Position();
  }

 private:
  void Notify(PngProgressStage stage, int percent, const char* message) {
    if (progress_ != nullptr) progress_->PngProgress(stage, percent, rowTop_, message);
  }

  void Load();
  uint8_t SetupSampleFormat();
  void ReadPalette(const uint8_t* data, uint32_t length);
  void ReadGamma(const uint8_t* data);
  void ReadBackgroundChunk(const uint8_t* data, uint32_t length);
  void ReadTransparencyChunk(const uint8_t* data, uint32_t length);
  uint32_t GreyValue(const uint8_t* sample) const;
  void DecodeImageData();
  void DecodeRows(size_t passWidth, uint32_t firstRow, uint32_t rowStep, uint32_t startColumn,
                  uint32_t columnStep, bool movesProgress);
  void ReadImageRow(uint8_t* buffer, size_t count);
  size_t RowBytes(uint64_t pixels) const;

  PngReader& r_;
  const uint8_t* data_;
  size_t size_;
  ArgbTarget target_;
  PngProgressSink* progress_;
  PngCursor cursor_;
  PngChunkReader chunks_;
  TLZ77Decoder decoder_{Z_PARTIAL_FLUSH, false};
  const uint8_t* input_ = nullptr;  // undecoded rest of the current IDAT data
  size_t inputLeft_ = 0;
  int rowTop_ = 0;
  bool formatReady_ = false;
  bool paletteRead_ = false;
  uint8_t bytesPerPixel_ = 1;
  uint8_t channels_ = 1;
  ArgbRowKind rowKind_ = ArgbRowKind::Bgra32;
  uint32_t lookup_[256] = {};
  std::vector<uint8_t> rows_[2];
  std::vector<uint8_t> converted_;
};

void PngReader::Session::Load() {
  PngImageProperties& props = r_.props_;
  if (!r_.ReadImageHeader(data_, size_)) RaisePngError(png_msg::kInvalidFormat);
  if (target_.Base == nullptr || target_.Width != props.ImageWidth ||
      target_.Height != props.ImageHeight)
    throw std::invalid_argument("PNG target does not match the image size");
  cursor_.Skip(8);
  rowTop_ = 0;
  Notify(PngProgressStage::Starting, 0, "Preparing...");

  r_.palette_ = ColorPalette{};
  r_.alphaTable_.clear();
  r_.backgroundColor_ = 0xFFFFFF;
  r_.transparentKey_ = kPngNoColor;
  r_.bitmapFormat_ = SamplePixelFormat::Custom;
  // Nothing of an earlier file may carry over, its gamma least of all.
  r_.cm_.Reset();
  r_.cm_.SetInputFlags(kInputByteSwap);

  chunks_.ReadChunkHeader();
  chunks_.ReadChunkData();
  if (props.Compression != 2) RaisePngError(png_msg::kCompressionScheme);
  decoder_.DecodeInit();

  bool imageDone = false;
  chunks_.ReadChunkHeader();
  for (;;) {
    if (!imageDone && chunks_.IsChunk(kChunkIDAT)) {
      Notify(PngProgressStage::Ending, 0, nullptr);
      DecodeImageData();
      imageDone = true;
      // The chunk after the image data is only passed over and checked.
      if (!chunks_.IsChunk(kChunkIEND) && chunks_.IsCritical())
        RaisePngError(png_msg::kCriticalChunk);
    } else if (chunks_.IsChunk(kChunkPLTE)) {
      if (chunks_.Length() % 3 != 0) RaisePngError(png_msg::kInvalidPalette);
      ReadPalette(chunks_.ReadChunkData(), chunks_.Length());
      chunks_.ReadChunkHeader();
      continue;
    } else if (chunks_.IsChunk(kChunkgAMA)) {
      if (chunks_.Length() != 4) RaisePngError(png_msg::kInvalidFormat);
      ReadGamma(chunks_.ReadChunkData());
      chunks_.ReadChunkHeader();
      continue;
    } else if (chunks_.IsChunk(kChunkbKGD)) {
      ReadBackgroundChunk(chunks_.ReadChunkData(), chunks_.Length());
      chunks_.ReadChunkHeader();
      continue;
    } else if (chunks_.IsChunk(kChunktRNS)) {
      ReadTransparencyChunk(chunks_.ReadChunkData(), chunks_.Length());
      chunks_.ReadChunkHeader();
      continue;
    } else if (!chunks_.IsChunk(kChunkIEND) && chunks_.IsCritical()) {
      // A repeated header, a second run of image data or a chunk unknown to
      // this reader.
      RaisePngError(png_msg::kCriticalChunk);
    }
    const bool end = chunks_.IsChunk(kChunkIEND);
    chunks_.SkipChunk();
    if (end) break;
    chunks_.ReadChunkHeader();
  }
  // A file without image data would load as an empty image.
  if (!imageDone) RaisePngError(png_msg::kCompressionError);
}

uint8_t PngReader::Session::SetupSampleFormat() {
  TColorManager& cm = r_.cm_;
  const uint8_t depth = r_.props_.SampleBits;
  auto require = [&](std::initializer_list<uint8_t> depths) {
    if (std::find(depths.begin(), depths.end(), depth) == depths.end())
      RaisePngError(png_msg::kInvalidColorFormat);
  };
  auto input = [&](ChannelLayout layout, uint8_t channels) {
    cm.SetInputLayout(layout);
    cm.SetInputChannels(channels);
    cm.SetInputSampleBits(depth);
  };
  auto output = [&](ChannelLayout layout, uint8_t channels, uint8_t bits) {
    cm.SetOutputLayout(layout);
    cm.SetOutputChannels(channels);
    cm.SetOutputSampleBits(bits);
    if (channels == 4) {
      r_.bitmapFormat_ = SamplePixelFormat::Bits32;
      rowKind_ = ArgbRowKind::Bgra32;
    } else if (channels == 3) {
      r_.bitmapFormat_ = SamplePixelFormat::Bits24;
      rowKind_ = ArgbRowKind::Bgr24;
    } else if (bits == 1) {
      r_.bitmapFormat_ = SamplePixelFormat::Bits1;
      rowKind_ = ArgbRowKind::Indexed1;
    } else if (bits == 4) {
      r_.bitmapFormat_ = SamplePixelFormat::Bits4;
      rowKind_ = ArgbRowKind::Indexed4;
    } else {
      r_.bitmapFormat_ = SamplePixelFormat::Bits8;
      rowKind_ = ArgbRowKind::Indexed8;
    }
  };
  switch (r_.props_.ColorType) {
    case 0:
      require({1, 2, 4, 8, 16});
      input(lyGray, 1);
      output(lyGray, 1, depth == 2 ? 4 : depth == 16 ? 8 : depth);
      bytesPerPixel_ = static_cast<uint8_t>((depth + 7) / 8);
      break;
    case 2:
      require({8, 16});
      input(lyRGB, 3);
      output(lyBGR, 3, 8);
      bytesPerPixel_ = static_cast<uint8_t>(depth * 3 / 8);
      break;
    case 3:
      require({1, 2, 4, 8});
      input(lyIndexed, 1);
      output(lyIndexed, 1, depth == 2 ? 4 : depth);
      bytesPerPixel_ = 1;
      break;
    case 4:
      // Only the grey sample reaches the 8-bit palette bitmap.
      require({8, 16});
      input(lyGrayAlpha, 1);
      output(lyIndexed, 1, 8);
      bytesPerPixel_ = static_cast<uint8_t>(depth * 2 / 8);
      break;
    case 6:
      require({8, 16});
      input(lyRGBA, 4);
      output(lyBGRA, 4, 8);
      bytesPerPixel_ = static_cast<uint8_t>(depth * 4 / 8);
      break;
    default:
      RaisePngError(png_msg::kInvalidColorFormat);
  }
  formatReady_ = true;
  return bytesPerPixel_;
}

void PngReader::Session::ReadPalette(const uint8_t* data, uint32_t length) {
  if (r_.props_.ColorType != 3) return;  // a suggestion for other images, not used
  SetupSampleFormat();
  const void* source = data;
  r_.palette_ = r_.cm_.MakePalette(&source, 1, 0, false, static_cast<int>(length / 3));
  paletteRead_ = true;
}

void PngReader::Session::ReadGamma(const uint8_t* data) {
  const auto stored = static_cast<int32_t>(PngCursor::LoadBE32(data));
  r_.cm_.SetGammaValues(static_cast<float>(stored) / 100000.0f, 2.2f);
  r_.cm_.SetOutputFlags(r_.cm_.OutputFlags() | kOutputGamma);
  r_.props_.ImageFlags |= kPngFlagGamma;
}

uint32_t PngReader::Session::GreyValue(const uint8_t* sample) const {
  const uint32_t value = PngCursor::LoadBE16(sample);
  switch (r_.props_.SampleBits) {
    case 2:
      return value * 15 / 3;
    case 16:
      return value * 255 / 65535;
    default:
      return value & 0xFF;
  }
}

void PngReader::Session::ReadBackgroundChunk(const uint8_t* data, uint32_t length) {
  const bool wide = r_.props_.SampleBits == 16;
  auto sample = [&](int i) {
    const uint32_t v = PngCursor::LoadBE16(data + 2 * i);
    return wide ? v * 255 / 65535 : v & 0xFF;
  };
  switch (r_.props_.ColorType) {
    case 0:
    case 4:
      if (length < 2) RaisePngError(png_msg::kInvalidFormat);
      r_.backgroundColor_ = GreyValue(data);
      break;
    case 2:
    case 6:
      if (length < 6) RaisePngError(png_msg::kInvalidFormat);
      r_.backgroundColor_ = Rgb(sample(0), sample(1), sample(2));
      break;
    case 3:
      if (length < 1) RaisePngError(png_msg::kInvalidFormat);
      r_.backgroundColor_ = data[0];
      break;
    default:
      break;
  }
}

void PngReader::Session::ReadTransparencyChunk(const uint8_t* data, uint32_t length) {
  const bool wide = r_.props_.SampleBits == 16;
  auto sample = [&](int i) {
    const uint32_t v = PngCursor::LoadBE16(data + 2 * i);
    return wide ? v * 255 / 65535 : v & 0xFF;
  };
  switch (r_.props_.ColorType) {
    case 0: {
      if (length < 2) RaisePngError(png_msg::kInvalidFormat);
      const uint32_t grey = GreyValue(data);
      r_.transparentKey_ = Rgb(grey, grey, grey);
      break;
    }
    case 2:
      if (length < 6) RaisePngError(png_msg::kInvalidFormat);
      r_.transparentKey_ = Rgb(sample(0), sample(1), sample(2));
      break;
    case 4:
    case 6:
      break;  // these images carry their own alpha
    default:
      r_.alphaTable_.assign(256, 255);
      std::copy_n(data, std::min<uint32_t>(length, 256), r_.alphaTable_.begin());
      break;
  }
}

size_t PngReader::Session::RowBytes(uint64_t pixels) const {
  // The image is at most kPngMaxPixels wide, so this stays far below 2^32.
  return static_cast<size_t>((pixels * r_.props_.SampleBits + 7) / 8 * channels_);
}

void PngReader::Session::DecodeImageData() {
  const PngImageProperties& props = r_.props_;
  Notify(PngProgressStage::Starting, 0, "Transfering...");
  if (!formatReady_) SetupSampleFormat();
  channels_ = props.SampleBits == 16 ? bytesPerPixel_ / 2 : bytesPerPixel_;

  if (props.ColorType == 3) {
    // Without a palette the indices would have no colours at all.
    if (!paletteRead_) RaisePngError(png_msg::kInvalidPalette);
  } else if (props.ColorType == 0 || props.ColorType == 4) {
    r_.palette_ = r_.cm_.MakeGrayPalette(false);
  }
  if (rowKind_ != ArgbRowKind::Bgr24 && rowKind_ != ArgbRowKind::Bgra32)
    BuildArgbLookup(r_.palette_, r_.alphaTable_, props.SampleBits, r_.cm_.OutputSampleBits(),
                    lookup_);

  const size_t fullRow = RowBytes(props.ImageWidth);
  rows_[0].assign(fullRow + 1, 0);
  rows_[1].assign(fullRow + 1, 0);
  converted_.resize(size_t{props.ImageWidth} * 4);

  if (props.InterlaceMethod != 1) {
    DecodeRows(props.ImageWidth, 0, 1, 0, 1, true);
  } else {
    for (int pass = 0; pass < 7; ++pass) {
      if (kPassStartColumn[pass] >= props.ImageWidth) continue;
      const uint32_t step = kPassColumnStep[pass];
      const size_t passWidth = (props.ImageWidth + step - kPassStartColumn[pass] - 1) / step;
      DecodeRows(passWidth, kPassStartRow[pass], kPassRowStep[pass], kPassStartColumn[pass], step,
                 pass == 6);
    }
  }
  // The rest of the image data is checked and passed over.
  while (chunks_.IsChunk(kChunkIDAT)) {
    chunks_.ReadChunkData();
    chunks_.ReadChunkHeader();
  }
  rows_[0] = {};
  rows_[1] = {};
  converted_ = {};
}

void PngReader::Session::DecodeRows(size_t passWidth, uint32_t firstRow, uint32_t rowStep,
                                    uint32_t startColumn, uint32_t columnStep, bool movesProgress) {
  const size_t rowBytes = RowBytes(passWidth);
  uint8_t* current = rows_[0].data();
  uint8_t* previous = rows_[1].data();
  // The first row of every pass is filtered against a row of zeros.
  std::memset(previous, 0, rowBytes + 1);
  for (uint32_t y = firstRow; y < r_.props_.ImageHeight; y += rowStep) {
    ReadImageRow(current, rowBytes + 1);
    ApplyRowFilter(current[0], current + 1, previous + 1, bytesPerPixel_, rowBytes);
    uint8_t* destRow = target_.Base + static_cast<ptrdiff_t>(y) * target_.Stride;
    if (rowKind_ == ArgbRowKind::Bgra32 && columnStep == 1) {
      r_.cm_.ConvertPixelRow(current + 1, destRow, passWidth, 0xFF);
    } else {
      r_.cm_.ConvertPixelRow(current + 1, converted_.data(), passWidth, 0xFF);
      ExpandRowToArgb(rowKind_, converted_.data(), passWidth, lookup_, destRow, startColumn,
                      columnStep);
    }
    if (movesProgress) rowTop_ = static_cast<int>(y) + 1;
    std::swap(current, previous);
  }
}

void PngReader::Session::ReadImageRow(uint8_t* buffer, size_t count) {
  size_t left = count;
  while (left > 0) {
    // Zero-length IDAT chunks are legal and carry nothing.
    while (inputLeft_ == 0) {
      // The image data ended before the image did.
      if (!chunks_.IsChunk(kChunkIDAT)) RaisePngError(png_msg::kCompressionError);
      input_ = chunks_.ReadChunkData();
      inputLeft_ = chunks_.Length();
      chunks_.ReadChunkHeader();
    }
    uint8_t* out = buffer + (count - left);
    const int result = decoder_.Decode(input_, out, inputLeft_, left);
    left = decoder_.AvailableOutput();
    inputLeft_ = decoder_.AvailableInput();
    if (result == Z_STREAM_END) {
      if (left > 0 || inputLeft_ > 0) RaisePngError(png_msg::kExtraData);
    } else if (result != Z_OK) {
      RaisePngError(png_msg::kCompressionError);
    }
  }
}

size_t PngReader::LoadFromMemory(const uint8_t* data, size_t size, const ArgbTarget& target,
                                 PngProgressSink* progress) {
  Session session(*this, data, size, target, progress);
  return session.Run();
}

ArgbImage LoadPngToArgb(const uint8_t* data, size_t size) {
  TColorManager colorManager;
  PngReader reader(colorManager);
  if (!reader.ReadImageHeader(data, size)) RaisePngError(png_msg::kInvalidFormat);
  ArgbImage image;
  image.Width = reader.Properties().ImageWidth;
  image.Height = reader.Properties().ImageHeight;
  image.Pixels.resize(size_t{image.Width} * image.Height);
  const ArgbTarget target{reinterpret_cast<uint8_t*>(image.Pixels.data()),
                          static_cast<ptrdiff_t>(image.Width) * 4, image.Width, image.Height};
  reader.LoadFromMemory(data, size, target);
  return image;
}
