// Malformed and hostile files are refused with the reader's messages, and
// nothing is written outside the image.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <zlib.h>

#include "alloc_counter.h"
#include "png_writer.h"
#include "png_test_util.h"
#include "skin/foundation/png_errors.h"
#include "skin/foundation/png_graphic.h"
#include "widgets/rtl/streams.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kInvalid = "Cannot load image. Invalid or unexpected PNG image format.";
const std::string kScheme =
    "Cannot load image. The compression scheme is not supported for PNG files.";
const std::string kPalette = "Cannot load image. Palette in PNG file is invalid.";
const std::string kCritical = "Cannot load PNG image. Unexpected but critical chunk detected.";
const std::string kCrc = "Cannot load image. CRC error found in PNG file.";
const std::string kCompression = "Cannot load image. Compression error found in PNG file.";
const std::string kExtra = "Cannot load image. Extra compressed data found in PNG file.";
const std::string kColorFormat = "Invalid color format in PNG file.";
const std::string kTooLarge =
    "Cannot load image. The PNG image is larger than this reader accepts "
    "(16384 pixels a side, 16777216 pixels in all).";
const std::string kTooShort =
    "Cannot load image. The image data in PNG file is too short for the image size.";

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A 4x3 RGBA image: its raw filtered data and the matching chunks.
PngDesc Base() {
  PngDesc s;
  s.Width = 4;
  s.Height = 3;
  s.ColorType = 6;
  s.BitDepth = 8;
  FillSamples(s, 42);
  return s;
}

Bytes Ihdr(uint32_t w = 4, uint32_t h = 3, uint8_t depth = 8, uint8_t type = 6) {
  return MakeChunk("IHDR", IhdrData(w, h, depth, type, 0));
}
Bytes Idat(const Bytes& z) {
  return MakeChunk("IDAT", z);
}
Bytes Iend() {
  return MakeChunk("IEND", {});
}
Bytes GoodZ() {
  return Deflate(FilteredImageData(Base()));
}
Bytes Png(std::initializer_list<Bytes> chunks) {
  Bytes out = PngSignature();
  for (const Bytes& c : chunks) out.insert(out.end(), c.begin(), c.end());
  return out;
}
Bytes WithBadCrc(Bytes chunk) {
  chunk.back() ^= 1;
  return chunk;
}
// A chunk header claiming a length, followed by what the file really holds.
Bytes RawChunk(uint32_t length, const std::string& type, const Bytes& rest) {
  Bytes out;
  out.reserve(8 + rest.size());
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(length >> shift));
  for (char c : type) out.push_back(uint8_t(c));
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

struct HostileCase {
  const char* Name;
  std::function<Bytes()> Make;
  DecodeOutcome Outcome;
  std::string Message;
};

TEST(PngHostile, MalformedFilesRaiseTheReadersMessages) {
  const Bytes z = GoodZ();
  const Bytes plte = MakeChunk("PLTE", {1, 2, 3, 4, 5, 6});
  const HostileCase cases[] = {
      {"empty file", [] { return Bytes{}; }, DecodeOutcome::InvalidGraphic, kInvalid},
      {"bad signature",
       [&] {
         Bytes f = Png({Ihdr(), Idat(z), Iend()});
         f[1] = 'Q';
         return f;
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"signature only", [] { return PngSignature(); }, DecodeOutcome::InvalidGraphic, kInvalid},
      {"first chunk not IHDR",
       [&] {
         return Png({Idat(z), Ihdr(), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"CRC error in IHDR",
       [&] {
         return Png({WithBadCrc(Ihdr()), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCrc},
      {"CRC error in IDAT",
       [&] {
         return Png({Ihdr(), WithBadCrc(Idat(z)), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCrc},
      {"CRC error in gAMA",
       [&] {
         return Png({Ihdr(), WithBadCrc(MakeChunk("gAMA", {0, 1, 0, 0})), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCrc},
      {"CRC error in PLTE",
       [&] {
         return Png({Ihdr(4, 3, 8, 3), WithBadCrc(plte), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCrc},
      {"width 0",
       [&] {
         return Png({Ihdr(0, 3), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"height 0",
       [&] {
         return Png({Ihdr(4, 0), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"100000 x 100000",
       [&] {
         return Png({Ihdr(100000, 100000), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kTooLarge},
      {"width 2^31",
       [&] {
         return Png({Ihdr(0x80000000u, 1), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"width 2^32-1",
       [&] {
         return Png({Ihdr(0xFFFFFFFFu, 0xFFFFFFFFu), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"short IHDR",
       [&] {
         Bytes d = IhdrData(4, 3, 8, 6, 0);
         d.pop_back();
         return Png({MakeChunk("IHDR", d), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"long IHDR",
       [&] {
         Bytes d = IhdrData(4, 3, 8, 6, 0);
         d.push_back(0);
         return Png({MakeChunk("IHDR", d), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"repeated IHDR",
       [&] {
         return Png({Ihdr(), Ihdr(), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCritical},
      {"chunk length 0xFFFFFFF0",
       [&] {
         return Concat({Png({Ihdr()}), RawChunk(0xFFFFFFF0u, "tEXt", Bytes(64, 0))});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"chunk length 2^31",
       [&] {
         return Concat({Png({Ihdr()}), RawChunk(0x80000000u, "IDAT", Bytes(64, 0))});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"IDAT longer than the file",
       [&] {
         return Concat({Png({Ihdr()}), RawChunk(uint32_t(z.size() + 100), "IDAT", z)});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"file cut inside IDAT",
       [&] {
         Bytes f = Png({Ihdr(), Idat(z), Iend()});
         f.resize(f.size() - 20);
         return f;
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"no IEND",
       [&] {
         return Png({Ihdr(), Idat(z)});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"PLTE of 10 bytes",
       [&] {
         return Png({Ihdr(4, 3, 8, 3), MakeChunk("PLTE", Bytes(10, 7)), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kPalette},
      {"palette image without PLTE",
       [&] {
         return Png({Ihdr(4, 3, 8, 3), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kPalette},
      {"gAMA of 3 bytes",
       [&] {
         return Png({Ihdr(), MakeChunk("gAMA", {0, 1, 0}), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"gAMA of 5 bytes after a tEXt",
       [&] {
         return Png({Ihdr(), MakeChunk("tEXt", {'a', 0}), MakeChunk("gAMA", {0, 1, 0, 0, 0}),
                     Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"short bKGD of an RGB image",
       [&] {
         return Png({Ihdr(), MakeChunk("bKGD", {0, 1, 0, 2}), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"empty bKGD of a palette image",
       [&] {
         return Png({Ihdr(4, 3, 8, 3), plte, MakeChunk("bKGD", {}), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"short bKGD of a grey image",
       [&] {
         return Png({Ihdr(4, 3, 8, 0), MakeChunk("bKGD", {0}), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"short tRNS of a grey image",
       [&] {
         return Png({Ihdr(4, 3, 8, 0), MakeChunk("tRNS", {0}), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"short tRNS of an RGB image",
       [&] {
         return Png({Ihdr(4, 3, 8, 2), MakeChunk("tRNS", {0, 1, 0, 2, 0}), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kInvalid},
      {"compression method 1",
       [&] {
         return Png({MakeChunk("IHDR", IhdrData(4, 3, 8, 6, 0, 1)), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kScheme},
      {"RGB of 4 bits",
       [&] {
         return Png({Ihdr(4, 3, 4, 2), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kColorFormat},
      {"colour type 5",
       [&] {
         return Png({Ihdr(4, 3, 8, 5), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kColorFormat},
      {"palette of 16 bits",
       [&] {
         return Png({Ihdr(4, 3, 16, 3), plte, Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kColorFormat},
      {"unknown critical chunk",
       [&] {
         return Png({Ihdr(), MakeChunk("ABCD", {1}), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCritical},
      {"critical chunk right after the image data",
       [&] {
         return Png({Ihdr(), Idat(z), MakeChunk("PLTE", {1, 2, 3}), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCritical},
      {"second run of image data",
       [&] {
         return Png({Ihdr(), Idat(z), MakeChunk("tEXt", {'a', 0}), Idat(z), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCritical},
      {"no image data",
       [&] {
         return Png({Ihdr(), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCompression},
      {"image data cut short before IEND",
       [&] {
         return Png({Ihdr(), Idat(Bytes(z.begin(), z.begin() + z.size() / 2)), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCompression},
      {"stream ends before the image does",
       [&] {
         Bytes raw = FilteredImageData(Base());
         raw.resize(raw.size() - 5);
         return Png({Ihdr(), Idat(Deflate(raw)), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kExtra},
      {"bytes after the end of the stream",
       [&] {
         Bytes more = z;
         more.insert(more.end(), {1, 2, 3});
         return Png({Ihdr(), Idat(more), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kExtra},
      {"garbage instead of a zlib stream",
       [&] {
         return Png({Ihdr(), Idat(Bytes(40, 0xEE)), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCompression},
      {"stream asking for a preset dictionary",
       [&] {
         return Png({Ihdr(), Idat({0x78, 0xBB, 0, 0, 0, 1, 1, 2, 3}), Iend()});
       },
       DecodeOutcome::InvalidGraphic, kCompression},
  };
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const DecodeResult r = DecodeGuarded(c.Make());
    EXPECT_EQ(r.Outcome, c.Outcome);
    EXPECT_EQ(r.Message, c.Message);
    EXPECT_TRUE(r.GuardsIntact);
  }
}

TEST(PngHostile, ToleratedOddities) {
  const Bytes z = GoodZ();
  const std::vector<uint32_t> expected = ExpectedArgb(Base());
  Bytes overlong = FilteredImageData(Base());
  overlong.insert(overlong.end(), 500, 0x11);  // more rows than the image has
  const std::pair<const char*, Bytes> cases[] = {
      {"CRC error in a skipped ancillary chunk",
       Png({Ihdr(), WithBadCrc(MakeChunk("tEXt", {'a', 0})), Idat(z), Iend()})},
      {"CRC error in the chunk right after the image data",
       Png({Ihdr(), Idat(z), WithBadCrc(MakeChunk("tEXt", {'a', 0})), Iend()})},
      {"unknown ancillary chunk", Png({Ihdr(), MakeChunk("abCD", {1, 2}), Idat(z), Iend()})},
      {"over-long image data", Png({Ihdr(), Idat(Deflate(overlong)), Iend()})},
      {"long tRNS of an RGBA image",
       Png({Ihdr(), MakeChunk("tRNS", Bytes(9, 0)), Idat(z), Iend()})},
  };
  for (const auto& [name, file] : cases) {
    SCOPED_TRACE(name);
    const DecodeResult r = DecodeGuarded(file);
    ASSERT_EQ(r.Outcome, DecodeOutcome::Decoded) << r.Message;
    EXPECT_TRUE(r.GuardsIntact);
    EXPECT_EQ(r.Pixels, expected);
  }
}

TEST(PngHostile, PaletteOverlongTransparencyAndPaletteAreClamped) {
  // 300 alpha values and a palette of 300 entries: only 256 count.
  PngDesc s;
  s.Width = 3;
  s.Height = 2;
  s.ColorType = 3;
  s.BitDepth = 8;
  s.Palette.assign(900, 0x44);
  s.Samples = {0, 1, 255, 254, 2, 3};
  s.Transparency = std::vector<uint8_t>(300, 0x22);
  const DecodeResult r = DecodeGuarded(EncodePng(s));
  ASSERT_EQ(r.Outcome, DecodeOutcome::Decoded) << r.Message;
  for (uint32_t p : r.Pixels) EXPECT_EQ(p, 0x22444444u);
}

// A zlib stream of `count` zero bytes, made a megabyte at a time.
Bytes DeflateZeros(uint64_t count) {
  z_stream z{};
  deflateInit(&z, 1);
  const Bytes zeros(1 << 20, 0);
  Bytes out;
  Bytes buffer(1 << 16);
  for (;;) {
    const uInt n = uInt(std::min<uint64_t>(count, zeros.size()));
    count -= n;
    z.next_in = const_cast<Bytef*>(zeros.data());
    z.avail_in = n;
    const int flush = count == 0 ? Z_FINISH : Z_NO_FLUSH;
    int rc;
    do {
      z.next_out = buffer.data();
      z.avail_out = uInt(buffer.size());
      rc = deflate(&z, flush);
      out.insert(out.end(), buffer.data(), buffer.data() + (buffer.size() - z.avail_out));
    } while (z.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    if (flush == Z_FINISH) break;
  }
  deflateEnd(&z);
  return out;
}

struct SizeCase {
  const char* Name;
  Bytes File;
  std::string Message;  // empty: the image decodes
};

// Files that declare large images, each refused from its header or its
// image data's length before the image is allocated, or (at the limits)
// decoded within them.
std::vector<SizeCase> LargeDeclaredSizes() {
  std::vector<SizeCase> cases;
  const Bytes tiny = Deflate(Bytes(64, 0));
  // The report's cases: 69 bytes declaring 2^26 x 1 RGBA16, and a valid
  // 130 KB file of 1 x 2^26 grey pixels.
  cases.push_back({"69 bytes, 2^26 x 1 RGBA16",
                   Png({Ihdr(1u << 26, 1, 16, 6), Idat(Deflate(Bytes(9, 0))), Iend()}), kTooLarge});
  cases.push_back({"valid 1 x 2^26 grey",
                   Png({Ihdr(1, 1u << 26, 8, 0), Idat(DeflateZeros(uint64_t{2} << 26)), Iend()}),
                   kTooLarge});
  cases.push_back({"16385 x 1", Png({Ihdr(16385, 1, 8, 6), Idat(tiny), Iend()}), kTooLarge});
  cases.push_back({"1 x 16385", Png({Ihdr(1, 16385, 1, 0), Idat(tiny), Iend()}), kTooLarge});
  cases.push_back(
      {"4097 x 4096 of 1 bit", Png({Ihdr(4097, 4096, 1, 0), Idat(tiny), Iend()}), kTooLarge});
  cases.push_back({"4096 x 4096 RGBA16 with 60 bytes of data",
                   Png({Ihdr(4096, 4096, 16, 6), Idat(Bytes(tiny.begin(), tiny.end())), Iend()}),
                   kTooShort});
  cases.push_back({"16384 x 1024 RGBA16 with a short stream",
                   Png({Ihdr(16384, 1024, 16, 6), Idat(DeflateZeros(1 << 20)), Iend()}),
                   kTooShort});
  cases.push_back(
      {"interlaced 4096 x 4096 with a short stream",
       Png({MakeChunk("IHDR", IhdrData(4096, 4096, 8, 2, 1)), Idat(DeflateZeros(1000)), Iend()}),
       kTooShort});
  // At the limits: decoded.
  cases.push_back({"16384 x 1 RGBA16",
                   Png({Ihdr(16384, 1, 16, 6), Idat(DeflateZeros(16384 * 8 + 1)), Iend()}), ""});
  cases.push_back(
      {"1 x 16384 grey", Png({Ihdr(1, 16384, 8, 0), Idat(DeflateZeros(16384 * 2)), Iend()}), ""});
  cases.push_back({"4096 x 4096 grey 1 bit",
                   Png({Ihdr(4096, 4096, 1, 0), Idat(DeflateZeros(4096 * 513)), Iend()}), ""});
  return cases;
}

TEST(PngHostile, LargeDeclaredSizesAreRefusedQuicklyWithinTheLimits) {
  using Clock = std::chrono::steady_clock;
  for (const SizeCase& c : LargeDeclaredSizes()) {
    SCOPED_TRACE(c.Name);
    // The reader with a target made on request.
    alloc_counter::ResetPeak();
    const auto start = Clock::now();
    std::string message;
    ArgbImage image;
    try {
      image = LoadPngToArgb(c.File.data(), c.File.size());
    } catch (const EInvalidGraphic& e) {
      message = e.what();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const size_t peak = alloc_counter::PeakSinceReset();
    EXPECT_EQ(message, c.Message);
    if (c.Message.empty()) {
      EXPECT_LE(peak, kPngMaxImageBytes + kPngMaxWorkBytes);
      EXPECT_EQ(uint64_t{image.Width} * image.Height * 4, image.Pixels.size() * 4);
    } else {
      // Refused before anything of the image is allocated.
      EXPECT_LT(peak, size_t{64} << 10) << peak << " bytes";
      EXPECT_LT(seconds, 0.5);
    }

    // The same through TPNGGraphic: nothing allocated, the graphic empty.
    TMemoryStream stream;
    stream.Write(c.File.data(), static_cast<int32_t>(c.File.size()));
    stream.SetPosition(0);
    TPNGGraphic png;
    alloc_counter::ResetPeak();
    message.clear();
    try {
      png.LoadFromStream(stream);
    } catch (const EInvalidGraphic& e) {
      message = e.what();
    }
    EXPECT_EQ(message, c.Message);
    if (!c.Message.empty()) {
      EXPECT_TRUE(png.Empty());
      EXPECT_LT(alloc_counter::PeakSinceReset(), size_t{64} << 10);
    }
  }
}

// Fails every larger request while it lives.
class FailAbove {
 public:
  explicit FailAbove(size_t bytes) { alloc_counter::FailAbove(bytes); }
  ~FailAbove() { alloc_counter::FailAbove(0); }
};

TEST(PngHostile, AllocationFailureLeavesAsTheLibrarysOwnError) {
  PngDesc s = Base();
  s.Width = 300;
  s.Height = 200;
  FillSamples(s, 5, /*smooth=*/true);
  const Bytes file = EncodePng(s);
  TMemoryStream stream;
  stream.Write(file.data(), static_cast<int32_t>(file.size()));
  // The reader takes its image data 128 KB at a time: a ceiling below that
  // fails inside the reader, one below the image inside the caller's target.
  for (size_t ceiling : {size_t{100} << 10, size_t{200} << 10}) {
    SCOPED_TRACE(ceiling);
    FailAbove failing(ceiling);
    const DecodeResult r = DecodeGuarded(file);
    EXPECT_EQ(r.Outcome, DecodeOutcome::OutOfMemory);
    EXPECT_EQ(r.Message, "Cannot load image. Not enough memory for the PNG image.");
    if (ceiling < (size_t{128} << 10)) {
      TPNGGraphic png;
      stream.SetPosition(0);
      EXPECT_THROW(png.LoadFromStream(stream), EOutOfResources);
    }
  }
  // A stream that is not in memory is copied first; that copy failing too.
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  const std::string name = std::string(path) + "skin_png_alloc.png";
  {
    TFileStream out(name, fmCreate);
    out.Write(file.data(), static_cast<int32_t>(file.size()));
  }
  {
    TFileStream in(name, fmOpenRead);
    TPNGGraphic png;
    FailAbove failing(file.size() - 1);
    EXPECT_THROW(png.LoadFromStream(in), EOutOfResources);
  }
  DeleteFileA(name.c_str());
}

}  // namespace
