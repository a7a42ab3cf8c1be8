// The decompression stream: where it leaves its source, restarts, and the
// errors it raises for damaged, short and over-long data.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin/foundation/zlib_stream.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Text-like data compresses well; noise does not, so it yields large streams.
Bytes MakeData(size_t n, bool noise) {
  Bytes b(n);
  uint32_t x = 12345;
  for (size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    b[i] = noise ? static_cast<uint8_t>(x >> 24)
                 : static_cast<uint8_t>("skin data "[i % 10] + (i / 997) % 7);
  }
  return b;
}

Bytes Deflate(const Bytes& data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level),
            Z_OK);
  out.resize(size);
  return out;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

void Load(TMemoryStream& s, const Bytes& b, int32_t pos) {
  s.Clear();
  s.WriteBuffer(b.data(), static_cast<int32_t>(b.size()));
  s.SetPosition(pos);
}

// Stored data of a length whose zlib stream is `size` bytes long.
Bytes StoredStreamOfSize(size_t size, Bytes* data) {
  for (size_t n = size - 100; n < size; ++n) {
    *data = MakeData(n, true);
    Bytes z = Deflate(*data, 0);
    if (z.size() == size) return z;
  }
  ADD_FAILURE() << "no stored stream of " << size << " bytes";
  return {};
}

// Runs `step`; returns "" when it raises nothing, else the zlib error it
// raised as "code:message". Any other exception fails the test.
std::string ZFailure(const std::function<void()>& step) {
  try {
    step();
  } catch (const EZLibError& e) {
    return std::to_string(e.ErrorCode()) + ":" + e.Message();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "foreign exception: " << e.what();
    return "foreign";
  }
  return "";
}

TEST(ZDecompressionStream, ReadThenFinishLeavesSourceAfterTheData) {
  const Bytes head = {'H', 'E', 'A', 'D', 0, 1, 2};
  const Bytes tail = {'T', 'A', 'I', 'L'};
  const Bytes text = MakeData(5000, false);
  const Bytes noise = MakeData(200000, true);
  const Bytes zText = Deflate(text, 9);
  const Bytes zNoise = Deflate(noise, 6);
  ASSERT_GT(zNoise.size(), 65536u);

  Bytes corruptSum = zText;
  corruptSum.back() ^= 0x5A;
  Bytes corruptHeader = zText;
  corruptHeader[0] = 0x00;
  const Bytes halfText(zText.begin(), zText.begin() + zText.size() / 2);
  const Bytes noSum(zText.begin(), zText.end() - 2);
  const Bytes textPrefix(text.begin(), text.begin() + 4000);

  struct Case {
    const char* name;
    Bytes stream;  // placed after `head` and followed by `tail`
    Bytes expect;  // what the caller reads with ReadBuffer
    bool withTail;
    std::string readError, finishError;
  };
  const Case cases[] = {
      {"large", zNoise, noise, true, "", ""},
      {"trailing bytes", zText, text, true, "", ""},
      {"corrupt checksum", corruptSum, text, true, "-3:data error", ""},
      {"corrupt header", corruptHeader, text, true, "-3:data error", ""},
      {"truncated", halfText, text, false, "-5:buffer error", ""},
      {"truncated checksum", noSum, text, false, "", "-5:buffer error"},
      {"over-long", zText, textPrefix, true, "", "-3:data error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream src;
    Load(src, c.withTail ? Cat({head, c.stream, tail}) : Cat({head, c.stream}),
         static_cast<int32_t>(head.size()));
    TZDecompressionStream z(src);
    Bytes got(c.expect.size());
    EXPECT_EQ(ZFailure([&] { z.ReadBuffer(got.data(), static_cast<int32_t>(got.size())); }),
              c.readError);
    if (!c.readError.empty()) continue;
    EXPECT_TRUE(got == c.expect);
    EXPECT_EQ(ZFailure([&] { z.Finish(); }), c.finishError);
    if (!c.finishError.empty()) continue;
    EXPECT_EQ(src.Position(), static_cast<int32_t>(head.size() + c.stream.size()));
    Bytes after(tail.size());
    EXPECT_EQ(src.Read(after.data(), static_cast<int32_t>(after.size())), 4);
    EXPECT_TRUE(after == tail);
  }
}

// Stored blocks put the checksum right at the first 65,536-byte refill: the
// caller's last byte arrives before the checksum has been read in full.
TEST(ZDecompressionStream, FinishReadsAChecksumAcrossARefill) {
  const Bytes head = {9, 9, 9};
  for (size_t before : {1, 2, 3}) {  // checksum bytes inside the first refill
    SCOPED_TRACE(before);
    Bytes data;
    const Bytes zs = StoredStreamOfSize(65536 + 4 - before, &data);
    TMemoryStream src;
    Load(src, Cat({head, zs, {7, 7}}), static_cast<int32_t>(head.size()));
    TZDecompressionStream z(src);
    Bytes got(data.size());
    EXPECT_EQ(ZFailure([&] {
                z.ReadBuffer(got.data(), static_cast<int32_t>(got.size()));
                z.Finish();
              }),
              "");
    EXPECT_TRUE(got == data);
    EXPECT_EQ(src.Position(), static_cast<int32_t>(head.size() + zs.size()));
  }
}

TEST(ZDecompressionStream, TwoStreamsBackToBack) {
  const Bytes head(11, 0xEE);
  const Bytes a = MakeData(3000, false), b = MakeData(70000, true);
  const Bytes za = Deflate(a, 9), zb = Deflate(b, 1);
  TMemoryStream src;
  Load(src, Cat({head, za, zb}), static_cast<int32_t>(head.size()));
  Bytes got(a.size() + 100);
  {
    TZDecompressionStream z(src);
    // Asking for more than there is reads past the data into the next
    // stream; the end of the data gives that input back.
    EXPECT_EQ(z.Read(got.data(), static_cast<int32_t>(got.size())), static_cast<int32_t>(a.size()));
    EXPECT_EQ(src.Position(), static_cast<int32_t>(head.size() + za.size()));
    z.Finish();
    EXPECT_EQ(src.Position(), static_cast<int32_t>(head.size() + za.size()));
    got.resize(a.size());
    EXPECT_TRUE(got == a);
  }
  TZDecompressionStream z(src);
  got.assign(b.size(), 0);
  z.ReadBuffer(got.data(), static_cast<int32_t>(got.size()));
  z.Finish();
  EXPECT_TRUE(got == b);
  EXPECT_EQ(src.Position(), src.Size());
}

TEST(ZDecompressionStream, RestartGoesBackToWhereTheStreamBegan) {
  const Bytes head(500, 0x42);
  const Bytes data = MakeData(20000, false);
  TMemoryStream src;
  Load(src, Cat({head, Deflate(data, 9)}), static_cast<int32_t>(head.size()));
  TZDecompressionStream z(src);
  EXPECT_EQ(z.Read(nullptr, 0), 0);
  EXPECT_EQ(src.Position(), 500);

  Bytes first(300), again(300);
  z.ReadBuffer(first.data(), 50);
  EXPECT_EQ(z.Seek(100, soFromCurrent), 150);
  EXPECT_EQ(ZFailure([&] { z.Seek(120, soFromBeginning); }), "0:Invalid ZStream operation!");
  EXPECT_EQ(ZFailure([&] { z.Write(first.data(), 1); }), "0:Invalid ZStream operation!");
  EXPECT_EQ(z.Seek(0, soFromBeginning), 0);
  EXPECT_EQ(src.Position(), 500);
  z.ReadBuffer(first.data(), 300);
  z.SetPosition(0);
  z.ReadBuffer(again.data(), 300);
  EXPECT_TRUE(again == first);
  EXPECT_TRUE(Bytes(data.begin(), data.begin() + 300) == first);

  z.SetPosition(0);
  EXPECT_EQ(z.Size(), static_cast<int32_t>(data.size()));
  EXPECT_EQ(z.Position(), 0);
  EXPECT_EQ(src.Position(), 500);
  again.assign(300, 0);
  z.ReadBuffer(again.data(), 300);
  EXPECT_TRUE(again == first);
}

}  // namespace
