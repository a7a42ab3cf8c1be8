#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "widgets/rtl/classes.h"
#include "widgets/rtl/sysutils.h"

namespace {

// A forward-only source (like a decompression stream): it cannot seek back,
// counts its calls and hands out at most `chunk` bytes per Read.
class TForwardStream : public TStream {
 public:
  TForwardStream(std::string data, int32_t chunk) : data_(std::move(data)), chunk_(chunk) {}
  int32_t Read(void* buf, int32_t count) override {
    int32_t n = std::min({count, chunk_, static_cast<int32_t>(data_.size()) - pos_});
    std::memcpy(buf, data_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
  }
  int32_t Write(const void*, int32_t) override { return 0; }
  int32_t Seek(int32_t offset, uint16_t origin) override {
    seeks.push_back({offset, origin});
    if (origin == soFromCurrent && offset == 0) return pos_;
    if (origin == soFromEnd && offset == 0) return static_cast<int32_t>(data_.size());
    if (origin == soFromBeginning && offset == pos_) return pos_;
    rewound = true;  // anything else would restart the source
    return pos_;
  }
  std::vector<std::pair<int32_t, uint16_t>> seeks;
  bool rewound = false;
  int32_t pos_ = 0;

 private:
  std::string data_;
  int32_t chunk_;
};

std::string Contents(TMemoryStream& m) {
  return std::string(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

TEST(TStreamTest, SizeSeeksExactlyCurrentEndAndBack) {
  TForwardStream s("0123456789", 100);
  char buf[3];
  s.ReadBuffer(buf, 3);
  s.seeks.clear();
  EXPECT_EQ(s.Size(), 10);
  std::vector<std::pair<int32_t, uint16_t>> expected = {{0, 1}, {0, 2}, {3, 0}};
  EXPECT_EQ(s.seeks, expected);
  EXPECT_FALSE(s.rewound);
}

TEST(TStreamTest, CopyFromCopiesExactlyCountAndZeroCopiesNothing) {
  struct Case {
    int32_t count;
    const char* copied;
  } cases[] = {{0, ""}, {-5, ""}, {4, "2345"}, {8, "23456789"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    TForwardStream src("0123456789", 3);  // short reads force the loop
    char skip[2];
    src.ReadBuffer(skip, 2);
    src.seeks.clear();
    TMemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(src, c.count), c.count > 0 ? c.count : 0);
    EXPECT_EQ(Contents(dst), c.copied);
    EXPECT_EQ(src.pos_, 2 + static_cast<int32_t>(std::strlen(c.copied)));
    // Never seeks the source: 0 must not mean "rewind and copy all".
    EXPECT_TRUE(src.seeks.empty());
  }
}

TEST(TStreamTest, ShortReadsRaise) {
  TForwardStream src("abc", 100);
  TMemoryStream dst;
  EXPECT_THROW(dst.CopyFrom(src, 4), EReadError);
  TMemoryStream m;
  m.WriteBuffer("xy", 2);
  m.SetPosition(0);
  char buf[4];
  EXPECT_THROW(m.ReadBuffer(buf, 3), EReadError);
  m.SetPosition(0);
  EXPECT_NO_THROW(m.ReadBuffer(buf, 2));
  EXPECT_NO_THROW(m.ReadBuffer(buf, 0));
  EXPECT_EQ(m.Read(buf, 4), 0);
}

TEST(TMemoryStreamTest, GrowsZeroFillsAndClipsThePosition) {
  TMemoryStream m;
  m.WriteBuffer("abc", 3);
  EXPECT_EQ(m.Size(), 3);
  EXPECT_EQ(m.Seek(5, soFromCurrent), 8);  // past the end is allowed
  EXPECT_EQ(m.Size(), 3);
  m.WriteBuffer("Z", 1);
  EXPECT_EQ(Contents(m), std::string("abc\0\0\0\0\0Z", 9));
  m.SetSize(2);
  EXPECT_EQ(m.Position(), 2);
  EXPECT_EQ(Contents(m), "ab");
  EXPECT_EQ(m.Seek(-10, soFromCurrent), 0);
  EXPECT_EQ(m.Seek(-1, soFromEnd), 1);
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
  EXPECT_EQ(m.Position(), 0);
  EXPECT_EQ(m.Memory(), nullptr);
}

TEST(TMemoryStreamTest, LoadsFromAStreamFromItsStartAndSavesToFiles) {
  TMemoryStream a;
  a.WriteBuffer("hello", 5);  // position at the end
  TMemoryStream b;
  b.LoadFromStream(a);
  EXPECT_EQ(Contents(b), "hello");
  EXPECT_EQ(b.Position(), 0);

  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  std::string file = std::string(tmp) + "rtl_stream_" + std::to_string(GetCurrentProcessId());
  b.SaveToFile(file);
  TMemoryStream c;
  c.LoadFromFile(file);
  EXPECT_EQ(Contents(c), "hello");
  {
    TFileStream f(file, fmOpenReadWrite);
    EXPECT_EQ(f.Size(), 5);
    f.Seek(0, soFromEnd);
    f.WriteBuffer("!", 1);
    f.SetSize(3);
    EXPECT_EQ(f.Size(), 3);
  }
  c.LoadFromFile(file);
  EXPECT_EQ(Contents(c), "hel");
  DeleteFileA(file.c_str());
  EXPECT_THROW(TFileStream(file, fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(std::string(tmp) + "no\\such\\dir\\x", fmCreate), EFCreateError);
}

TEST(TResourceStreamTest, ReadsRcDataAndRejectsWritesAndMissingNames) {
  TResourceStream r(HInstance(), "RAWBYTES", RT_RCDATA);
  EXPECT_EQ(r.Size(), 7);
  char buf[7];
  r.ReadBuffer(buf, 7);
  EXPECT_EQ(std::string(buf, 7), std::string("ABC\0DEF", 7));
  EXPECT_THROW(r.Write("x", 1), EStreamError);
  EXPECT_THROW(TResourceStream(HInstance(), "NOSUCHRESOURCE", RT_RCDATA), EResNotFound);
}

TEST(TStringsStreamTest, LoadFromStreamReadsTheRestOfTheStream) {
  TMemoryStream m;
  m.WriteBuffer("skip|a\r\nb", 9);
  m.SetPosition(5);
  TStringList l;
  l.LoadFromStream(m);
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(l[0], "a");
  EXPECT_EQ(l[1], "b");
}

}  // namespace
