#include "skin/foundation/png_reader.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <new>
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
  headerRefusal_ = png_msg::kInvalidFormat;
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
  if (width > kPngMaxSide || height > kPngMaxSide || uint64_t{width} * height > kPngMaxPixels) {
    headerRefusal_ = png_msg::kTooLarge;
    return false;
  }
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

uint64_t PngReader::ImageBytes(PngOutput output) const {
  uint64_t bits = 32;
  if (output == PngOutput::Native) {
    switch (bitmapFormat_) {
      case SamplePixelFormat::Bits1:
        bits = 1;
        break;
      case SamplePixelFormat::Bits4:
        bits = 4;
        break;
      case SamplePixelFormat::Bits8:
        bits = 8;
        break;
      case SamplePixelFormat::Bits24:
        bits = 24;
        break;
      default:
        break;
    }
  }
  return (uint64_t{props_.ImageWidth} * bits + 31) / 32 * 4 * props_.ImageHeight;
}

namespace {

// Inflated image data is taken this many bytes at a time (whole rows, at
// least one): zlib's fast loop stops 258 bytes before the end of its output,
// so row-sized calls would spend a few percent of every row in its slow loop.
constexpr size_t kInflateBatchBytes = size_t{1} << 17;

}  // namespace

// The state of one load; it lives only while Load runs.
class PngReader::Session {
 public:
  Session(PngReader& owner, const uint8_t* data, size_t size, PngOutput output,
          PngTargetProvider& provider, PngProgressSink* progress)
      : r_(owner),
        data_(data),
        size_(size),
        output_(output),
        provider_(provider),
        progress_(progress),
        cursor_(data, size),
        chunks_(cursor_) {}

  size_t Run() {
    try {
      Load();
    } catch (const std::bad_alloc&) {
      Notify(PngProgressStage::Ending, 100, nullptr);
      RaisePngOutOfMemory();
    } catch (const std::length_error&) {
      Notify(PngProgressStage::Ending, 100, nullptr);
      RaisePngOutOfMemory();
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
  void CheckLimits();
  uint64_t InflatedBytes() const;
  uint64_t ContiguousIdatBytes() const;
  void DecodeRows(size_t passWidth, uint32_t firstRow, uint32_t rowStep, uint32_t startColumn,
                  uint32_t columnStep, bool movesProgress);
  void WriteRow(const uint8_t* samples, size_t count, uint32_t y, uint32_t startColumn,
                uint32_t columnStep);
  void ReadImageData(uint8_t* buffer, size_t count);
  uint64_t RowBytes(uint64_t pixels) const;

  PngReader& r_;
  const uint8_t* data_;
  size_t size_;
  PngOutput output_;
  PngTargetProvider& provider_;
  PngProgressSink* progress_;
  PngCursor cursor_;
  PngChunkReader chunks_;
  TLZ77Decoder decoder_{Z_PARTIAL_FLUSH, false, /*skipCheck=*/true};
  const uint8_t* input_ = nullptr;  // undecoded rest of the current IDAT data
  size_t inputLeft_ = 0;
  int rowTop_ = 0;
  bool formatReady_ = false;
  bool paletteRead_ = false;
  uint8_t bytesPerPixel_ = 1;
  uint8_t channels_ = 1;
  ArgbRowKind rowKind_ = ArgbRowKind::Bgra32;
  uint32_t lookup_[256] = {};
  PngRows rows_;
  std::vector<uint8_t> batch_;      // inflated rows, filter byte first
  std::vector<uint8_t> previous_;   // the row before the batch
  std::vector<uint8_t> converted_;  // one converted row of an interlace pass
};

void PngReader::Session::Load() {
  PngImageProperties& props = r_.props_;
  if (!r_.ReadImageHeader(data_, size_)) RaisePngError(r_.headerRefusal_);
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

uint64_t PngReader::Session::RowBytes(uint64_t pixels) const {
  return (pixels * r_.props_.SampleBits + 7) / 8 * channels_;
}

uint64_t PngReader::Session::InflatedBytes() const {
  const PngImageProperties& props = r_.props_;
  if (props.InterlaceMethod != 1)
    return uint64_t{props.ImageHeight} * (RowBytes(props.ImageWidth) + 1);
  uint64_t total = 0;
  for (int pass = 0; pass < 7; ++pass) {
    if (kPassStartColumn[pass] >= props.ImageWidth || kPassStartRow[pass] >= props.ImageHeight)
      continue;
    const uint64_t columns =
        (props.ImageWidth - kPassStartColumn[pass] + kPassColumnStep[pass] - 1) /
        kPassColumnStep[pass];
    const uint64_t rows =
        (props.ImageHeight - kPassStartRow[pass] + kPassRowStep[pass] - 1) / kPassRowStep[pass];
    total += rows * (RowBytes(columns) + 1);
  }
  return total;
}

uint64_t PngReader::Session::ContiguousIdatBytes() const {
  // The current chunk is the first IDAT; its header is read, the cursor is at
  // its data. Only lengths are read here: the CRCs are checked when the
  // chunks are decoded.
  PngCursor probe = cursor_;
  uint64_t total = 0;
  uint32_t length = chunks_.Length();
  for (;;) {
    total += length;
    if (!probe.CanRead(size_t{length} + 4 + 8)) break;
    probe.Skip(size_t{length} + 4);
    const uint8_t* header = probe.Take(8);
    const uint32_t type = PngCursor::LoadBE32(header + 4);
    if ((type & ~0x20202020u) != (kChunkIDAT & ~0x20202020u)) break;
    length = PngCursor::LoadBE32(header);
    if (length > kMaxChunkLength) break;
  }
  return total;
}

void PngReader::Session::CheckLimits() {
  // The header bounded width, height and pixels; what the sample format adds
  // is checked here, before anything of the image is allocated.
  if (RowBytes(r_.props_.ImageWidth) > kPngMaxRowBytes) RaisePngError(png_msg::kTooLarge);
  if (r_.ImageBytes(output_) > kPngMaxImageBytes) RaisePngError(png_msg::kTooLarge);
  if (ContiguousIdatBytes() * kDeflateMaxRatio < InflatedBytes())
    RaisePngError(png_msg::kDataTooShort);
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
  CheckLimits();
  if (output_ == PngOutput::Argb32 && rowKind_ != ArgbRowKind::Bgr24 &&
      rowKind_ != ArgbRowKind::Bgra32)
    BuildArgbLookup(r_.palette_, r_.alphaTable_, props.SampleBits, r_.cm_.OutputSampleBits(),
                    lookup_);

  const size_t fullLine = static_cast<size_t>(RowBytes(props.ImageWidth)) + 1;
  // A small image takes a batch of its own size: a whole batch for a glyph
  // of a few hundred bytes was most of its load, in fresh pages to fill.
  const size_t wanted =
      static_cast<size_t>(std::min<uint64_t>(InflatedBytes(), kInflateBatchBytes));
  batch_.resize(std::max(fullLine, wanted));
  previous_.resize(fullLine);
  if (props.InterlaceMethod == 1 || output_ == PngOutput::Argb32)
    converted_.resize(size_t{props.ImageWidth} * 4);

  rows_ = provider_.ProvideRows(r_);
  if (rows_.Base == nullptr) throw EInvalidGraphicOperation("No rows for the PNG image");

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
  batch_ = {};
  previous_ = {};
  converted_ = {};
}

void PngReader::Session::DecodeRows(size_t passWidth, uint32_t firstRow, uint32_t rowStep,
                                    uint32_t startColumn, uint32_t columnStep, bool movesProgress) {
  const uint32_t height = r_.props_.ImageHeight;
  if (firstRow >= height) return;
  const size_t rowBytes = static_cast<size_t>(RowBytes(passWidth));
  const size_t line = rowBytes + 1;
  const size_t batchRows = std::max<size_t>(1, batch_.size() / line);
  // The first row of every pass is filtered against a row of zeros.
  std::memset(previous_.data(), 0, rowBytes);
  const uint8_t* previous = previous_.data();
  uint32_t y = firstRow;
  size_t rowsLeft = (height - firstRow + rowStep - 1) / rowStep;
  while (rowsLeft > 0) {
    const size_t n = std::min(batchRows, rowsLeft);
    ReadImageData(batch_.data(), n * line);
    for (size_t k = 0; k < n; ++k, y += rowStep) {
      uint8_t* current = batch_.data() + k * line;
      ApplyRowFilter(current[0], current + 1, previous, bytesPerPixel_, rowBytes);
      WriteRow(current + 1, passWidth, y, startColumn, columnStep);
      if (movesProgress) rowTop_ = static_cast<int>(y) + 1;
      previous = current + 1;
    }
    rowsLeft -= n;
    if (rowsLeft > 0) {
      // The next batch overwrites this one: keep its last row.
      std::memcpy(previous_.data(), previous, rowBytes);
      previous = previous_.data();
    }
  }
}

void PngReader::Session::WriteRow(const uint8_t* samples, size_t count, uint32_t y,
                                  uint32_t startColumn, uint32_t columnStep) {
  uint8_t* destRow = rows_.Base + static_cast<ptrdiff_t>(y) * rows_.Stride;
  TColorManager& cm = r_.cm_;
  if (output_ == PngOutput::Native) {
    if (columnStep == 1) {
      cm.ConvertPixelRow(samples, destRow, count, 0xFF);
    } else {
      cm.ConvertPixelRow(samples, converted_.data(), count, 0xFF);
      ScatterNativeRow(rowKind_, converted_.data(), count, destRow, startColumn, columnStep);
    }
    return;
  }
  if (rowKind_ == ArgbRowKind::Bgra32 && columnStep == 1) {
    cm.ConvertPixelRow(samples, destRow, count, 0xFF);
    return;
  }
  cm.ConvertPixelRow(samples, converted_.data(), count, 0xFF);
  ExpandRowToArgb(rowKind_, converted_.data(), count, lookup_, destRow, startColumn, columnStep);
}

void PngReader::Session::ReadImageData(uint8_t* buffer, size_t count) {
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

size_t PngReader::Load(const uint8_t* data, size_t size, PngOutput output,
                       PngTargetProvider& provider, PngProgressSink* progress) {
  Session session(*this, data, size, output, provider, progress);
  return session.Run();
}

namespace {

// A target the caller made before the load.
class FixedTarget : public PngTargetProvider {
 public:
  explicit FixedTarget(const ArgbTarget& target) : target_(target) {}
  PngRows ProvideRows(const PngReader& reader) override {
    if (target_.Base == nullptr || target_.Width != reader.Properties().ImageWidth ||
        target_.Height != reader.Properties().ImageHeight)
      throw EInvalidGraphicOperation("PNG target does not match the image size");
    return {target_.Base, target_.Stride};
  }

 private:
  ArgbTarget target_;
};

// A top-down block made once the reader has accepted the image.
class ImageTarget : public PngTargetProvider {
 public:
  explicit ImageTarget(ArgbImage& image) : image_(image) {}
  PngRows ProvideRows(const PngReader& reader) override {
    image_.Width = reader.Properties().ImageWidth;
    image_.Height = reader.Properties().ImageHeight;
    image_.Pixels.resize(size_t{image_.Width} * image_.Height);
    return {reinterpret_cast<uint8_t*>(image_.Pixels.data()),
            static_cast<ptrdiff_t>(image_.Width) * 4};
  }

 private:
  ArgbImage& image_;
};

}  // namespace

size_t PngReader::LoadFromMemory(const uint8_t* data, size_t size, const ArgbTarget& target,
                                 PngProgressSink* progress) {
  FixedTarget provider(target);
  return Load(data, size, PngOutput::Argb32, provider, progress);
}

ArgbImage LoadPngToArgb(const uint8_t* data, size_t size) {
  TColorManager colorManager;
  PngReader reader(colorManager);
  ArgbImage image;
  ImageTarget provider(image);
  reader.Load(data, size, PngOutput::Argb32, provider);
  return image;
}
