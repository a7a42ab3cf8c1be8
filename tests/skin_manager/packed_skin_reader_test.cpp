// The packed skin archive reader on sound and hostile bytes, the memory it
// keeps between archives, and the preview picture.
#include <gtest/gtest.h>

#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "archive_bytes.h"
#include "archive_writer.h"
#include "skin/engine/packed_skin.h"
#include "skin/engine/skin_manager.h"
#include "tests/skin_manager/skin_files.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/sysutils.h"

namespace {

using namespace test_skin;
using namespace archive_bytes;

const Bytes kDescription = Text("[GLOBALINFO]\r\nVERSION=8\r\n");

// Reads Archive with the reader; the convertor is left for the checks.
bool Read(const Bytes& Archive, TvlSkinConvertor& Convertor, TsSkinManager* Manager = nullptr) {
  TMemoryStream source;
  Fill(source, Archive);
  return ReadPackedSkinFrom(source, Convertor, Manager);
}

TEST(PackedSkinReader, SoundArchivesGiveTheirDescriptionAndFiles) {
  const Bytes bmp = Text("BM not checked by the reader"), png = Text("\x89PNG also not");
  const struct {
    const char* name;
    std::vector<ArchiveEntry> entries;
    int level;
    bool description;
    std::vector<std::pair<std::string, bool>> items;  // name, IsBmp
  } cases[] = {
      {"description only", {Entry("Options.dat", kDescription)}, 9, true, {}},
      {"mixed-case description", {Entry("oPTIONS.Dat", kDescription)}, 1, true, {}},
      {"bmp and png",
       {Entry("a.bmp", bmp), Entry("Options.dat", kDescription), Entry("B.PNG", png)},
       9,
       true,
       {{"a.bmp", true}, {"B.PNG", false}}},
      {"empty entry",
       {Entry("Options.dat", kDescription), Entry("EMPTY.BMP", {})},
       9,
       true,
       {{"EMPTY.BMP", true}}},
      {"stored, level 0",
       {Entry("Options.dat", kDescription), Entry("x.png", png)},
       0,
       true,
       {{"x.png", false}}},
      {"no description", {Entry("x.bmp", bmp)}, 9, false, {{"x.bmp", true}}},
  };
  for (const auto& c : cases) {
    ArchiveOptions options;
    options.Level = c.level;
    TvlSkinConvertor convertor;
    ASSERT_TRUE(Read(WriteArchive(c.entries, options), convertor)) << c.name;
    EXPECT_EQ(convertor.ImageCount, static_cast<int32_t>(c.entries.size()) - 1) << c.name;
    ASSERT_EQ(convertor.Description != nullptr, c.description) << c.name;
    if (c.description) {
      EXPECT_EQ(Contents(convertor.Description.get()), kDescription) << c.name;
    }
    ASSERT_EQ(convertor.Items.size(), c.items.size()) << c.name;
    for (size_t i = 0; i < c.items.size(); ++i) {
      const TvlImageItem& item = convertor.Items[i];
      EXPECT_EQ(item.Name, c.items[i].first) << c.name;
      EXPECT_EQ(item.IsBmp, c.items[i].second) << c.name;
      for (const ArchiveEntry& e : c.entries) {
        if (e.Name == item.Name) {
          EXPECT_EQ(Contents(item.Stream.get()), e.Bytes) << c.name;
        }
      }
      // Looked up by name in any case.
      EXPECT_EQ(convertor.FindItem(UpperCase(item.Name)), item.Stream.get()) << c.name;
    }
  }
}

TEST(PackedSkinReader, ASecondDescriptionReplacesTheFirst) {
  const Bytes second = Text("[GLOBALINFO]\r\nVERSION=9\r\n");
  TvlSkinConvertor convertor;
  ASSERT_TRUE(Read(WriteArchive({Entry("Options.dat", kDescription), Entry("OPTIONS.DAT", second)}),
                   convertor));
  EXPECT_EQ(Contents(convertor.Description.get()), second);
  EXPECT_TRUE(convertor.Items.empty());
}

// Each damaged archive is refused with the one message, and the convertor
// keeps nothing of it.
TEST(PackedSkinReader, DamagedArchivesAreRefusedWithOneError) {
  const Bytes sound = WriteArchive({Entry("Options.dat", kDescription)});
  const size_t nameAt = 8 + 4, sizeAt = nameAt + 11, dataAt = sizeAt + 4;
  auto with = [](ArchiveEntry e, auto Change) {
    Change(e);
    return WriteArchive({e});
  };
  const ArchiveEntry desc = Entry("Options.dat", kDescription);
  Bytes badAdler = sound;
  badAdler.back() ^= 0x01;
  Bytes zlib = ZlibBytes(kDescription, 9);
  Bytes badDeflate = {zlib[0], zlib[1], 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  ArchiveOptions count;
  const struct {
    const char* name;
    Bytes archive;
  } cases[] = {
      {"empty file", {}},
      {"3 bytes", Text("QMz")},
      {"7 bytes", Raw("QMzf\x01\x00\x00")},
      {"8 bytes, one entry announced", Raw("QMzf\x01\x00\x00\x00")},
      {"negative entry count",
       [&] {
         ArchiveOptions o;
         o.EntryCount = -1;
         return WriteArchive({desc}, o);
       }()},
      {"entry count past the bytes",
       [&] {
         ArchiveOptions o;
         o.EntryCount = 0x7FFFFFFF;
         return WriteArchive({desc}, o);
       }()},
      {"one entry more than present",
       [&] {
         ArchiveOptions o;
         o.EntryCount = 2;
         o.Garbage = Bytes(64, 0);  // room for an entry that is not one
         return WriteArchive({desc}, o);
       }()},
      {"negative name length", with(desc, [](ArchiveEntry& e) { e.NameLength = -1; })},
      {"huge name length", with(desc, [](ArchiveEntry& e) { e.NameLength = 0x7FFFFFFF; })},
      {"name longer than a path", with(Entry(std::string(261, 'n'), kDescription), [](auto&) {})},
      {"negative size", with(desc, [](ArchiveEntry& e) { e.Size = -1; })},
      {"size over 64 MiB", with(desc, [](ArchiveEntry& e) { e.Size = (64 << 20) + 1; })},
      {"size short of the stream",
       with(desc, [](ArchiveEntry& e) { e.Size = static_cast<int32_t>(e.Bytes.size()) - 1; })},
      {"size past the stream",
       with(desc, [](ArchiveEntry& e) { e.Size = static_cast<int32_t>(e.Bytes.size()) + 1; })},
      {"bad deflate data", with(desc, [&](ArchiveEntry& e) { e.Data = badDeflate; })},
      {"bad Adler-32", badAdler},
      {"cut in the header", Cut(sound, 6)},
      {"cut in the name", Cut(sound, nameAt + 5)},
      {"cut in the stream", Cut(sound, dataAt + 5)},
      {"cut before the checksum", Cut(sound, sound.size() - 2)},
  };
  for (const auto& c : cases) {
    TvlSkinConvertor convertor;
    try {
      Read(c.archive, convertor);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "not a valid skin archive") << c.name;
    }
    EXPECT_EQ(convertor.Description, nullptr) << c.name;
    EXPECT_TRUE(convertor.Items.empty()) << c.name;
  }
}

TEST(PackedSkinReader, TheUnpackedTotalIsCapped) {
  // Four full-size entries reach the cap; a byte more is refused before it
  // is unpacked. Zeros pack small, so the archive itself stays small.
  const Bytes zeros = ZlibBytes(Bytes(64 << 20, 0), 1);
  ArchiveEntry full{"BIG.BMP", {}, {}, 64 << 20, zeros};
  std::vector<ArchiveEntry> entries(4, full);
  entries.push_back(Entry("ONE.BMP", {0}));
  TvlSkinConvertor convertor;
  try {
    Read(WriteArchive(entries), convertor);
    ADD_FAILURE() << "accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "not a valid skin archive");
  }
}

// A memory stream that counts the bytes its readers take from it.
class TCountingStream : public TMemoryStream {
 public:
  int32_t Read(void* Buffer, int32_t Count) override {
    const int32_t n = TMemoryStream::Read(Buffer, Count);
    Delivered += n;
    return n;
  }
  int64_t Delivered = 0;
};

// Zeros as one zlib stream, deflated a block at a time so that the test
// never holds the unpacked bytes.
Bytes ZlibZeros(size_t Total) {
  z_stream z{};
  EXPECT_EQ(deflateInit(&z, 1), Z_OK);
  const Bytes zeros(1 << 20, 0);
  Bytes out, chunk(1 << 16);
  for (size_t left = Total;;) {
    const size_t n = std::min(left, zeros.size());
    left -= n;
    z.next_in = const_cast<Bytef*>(zeros.data());
    z.avail_in = static_cast<uInt>(n);
    const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
    int r;
    do {
      z.next_out = chunk.data();
      z.avail_out = static_cast<uInt>(chunk.size());
      r = deflate(&z, flush);
      out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - z.avail_out));
    } while (z.avail_out == 0);
    if (r == Z_STREAM_END) break;
  }
  deflateEnd(&z);
  return out;
}

// An entry that says 32 bytes in front of 384 MiB of zlib data is refused
// once its 33rd byte comes out: the reader neither unpacks nor reads the
// rest, whatever the data would grow to.
TEST(PackedSkinReader, AnEntryLongerThanItsSizeIsRefusedAtOnce) {
  const Bytes data = ZlibZeros(size_t{384} << 20);
  const Bytes archive = WriteArchive({{"MASTER.BMP", {}, {}, 32, data}});
  constexpr int64_t kRefills = 2 * 65536;  // what one stream may read ahead
  ASSERT_GT(static_cast<int64_t>(data.size()), 2 * kRefills);
  TCountingStream source;
  Fill(source, archive);
  TvlSkinConvertor convertor;
  try {
    ReadPackedSkinFrom(source, convertor, nullptr);
    ADD_FAILURE() << "accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "not a valid skin archive");
  }
  EXPECT_LE(source.Delivered, 8 + 4 + 10 + 4 + kRefills);
  EXPECT_TRUE(convertor.Items.empty());
}

// The memory of unpacked files serves a later archive, but only once its
// convertor has let go of it, and the later archive sees only its own bytes
// in it.
TEST(PackedSkinReader, UnpackedMemoryPassesOnOnlyWhenReleased) {
  FreeSpareArchiveFiles();
  const auto noise = [](uint32_t Seed, size_t Size) {
    Bytes b(Size);
    for (uint8_t& x : b) x = static_cast<uint8_t>((Seed = Seed * 1103515245u + 12345u) >> 24);
    return b;
  };
  // Large enough to be kept; C fits into A's memory.
  const Bytes a = noise(1, 300000), b = noise(2, 300000), c = noise(3, 250000);
  TvlSkinConvertor first, second, third;
  ASSERT_TRUE(Read(WriteArchive({Entry("A.BMP", a)}), first));
  const void* memoryA = first.Items[0].Stream->Memory();
  ASSERT_TRUE(Read(WriteArchive({Entry("B.BMP", b)}), second));
  EXPECT_NE(second.Items[0].Stream->Memory(), memoryA);
  EXPECT_EQ(Contents(first.Items[0].Stream.get()), a);

  first.Clear();
  ASSERT_TRUE(Read(WriteArchive({Entry("C.BMP", c)}), third));
  EXPECT_EQ(third.Items[0].Stream->Memory(), memoryA);
  EXPECT_EQ(Contents(third.Items[0].Stream.get()), c);
  EXPECT_EQ(third.Items[0].Stream->Position(), 0);
  EXPECT_EQ(Contents(second.Items[0].Stream.get()), b);
  FreeSpareArchiveFiles();
}

TEST(PackedSkinReader, PreviewFollowsTheFirstMarker) {
  const Bytes png = Text("picture bytes");
  const std::vector<ArchiveEntry> skin = {Entry("Options.dat", kDescription)};
  const struct {
    const char* name;
    Bytes archive;
    bool found;
  } cases[] = {
      {"none", WriteArchive(skin), false},
      {"at the end", WriteArchive(skin, {.Preview = png}), true},
      {"twice",
       WriteArchive(skin, {.Preview = png, .Garbage = Raw("previewimg\x02\x00\x00\x00zz")}), true},
      {"negative length", WriteArchive(skin, {.Preview = png, .PreviewLength = -1}), false},
      {"length past the end", WriteArchive(skin, {.Preview = png, .PreviewLength = 14}), false},
      {"length cut", Raw("xxpreviewimg\x01\x00"), false},
  };
  for (const auto& c : cases) {
    TMemoryStream source, dest;
    Fill(source, c.archive);
    EXPECT_EQ(ReadArchivePreview(dest, source), c.found) << c.name;
    if (c.found) {
      EXPECT_EQ(Contents(&dest), png) << c.name;
      EXPECT_EQ(dest.Position(), 0) << c.name;
    }
  }
  TempFolder dir;
  WriteBytes(dir.Path() + "\\p.qmz", WriteArchive({}, {.Preview = png}));
  TMemoryStream dest;
  EXPECT_TRUE(ReadArchiveFilePreview(dest, dir.Path() + "\\p.qmz"));
  EXPECT_EQ(Contents(&dest), png);
  EXPECT_FALSE(ReadArchiveFilePreview(dest, dir.Path() + "\\missing.qmz"));
}

}  // namespace
