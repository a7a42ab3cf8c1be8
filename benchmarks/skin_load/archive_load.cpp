// The packed half of the skin-load benchmark. Every figure is a ratio to a
// reference timed in the same run: archive and stored-skin loads against the
// load of the same skin from its folder, the decompression stream against
// zlib's one-shot uncompress of the very same zlib bytes into the same
// memory.
#include "archive_load.h"

#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "bench_timing.h"
#include "skin/engine/packed_skin.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/stored_skins.h"
#include "skin/foundation/zlib_stream.h"
#include "test_skin.h"
#include "widgets/rtl/streams.h"

namespace skin_load_bench {

namespace {

using Bytes = std::vector<uint8_t>;

void Fill(TMemoryStream& Stream, const Bytes& Data) {
  Stream.SetSize(static_cast<int32_t>(Data.size()));
  std::memcpy(Stream.Memory(), Data.data(), Data.size());
  Stream.SetPosition(0);
}

void WriteFileBytes(const std::filesystem::path& Path, const Bytes& Data) {
  HANDLE h = CreateFileA(Path.string().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(h, Data.data(), static_cast<DWORD>(Data.size()), &written, nullptr);
  CloseHandle(h);
}

int32_t ReadInt32(TStream& Source) {
  int32_t v = 0;
  Source.ReadBuffer(&v, 4);
  return v;
}

// Where one entry's zlib data lies in the archive.
struct PackedEntry {
  int32_t Offset = 0, Packed = 0, Size = 0;
};

// Walks the archive as the reader does; the stream's end tells where the
// next entry begins.
std::vector<PackedEntry> EntriesOf(TMemoryStream& Archive) {
  std::vector<PackedEntry> entries;
  Archive.SetPosition(4);
  const int32_t count = ReadInt32(Archive);
  for (int32_t i = 0; i < count; ++i) {
    Archive.Seek(ReadInt32(Archive), soFromCurrent);
    PackedEntry e;
    e.Size = ReadInt32(Archive);
    e.Offset = Archive.Position();
    Bytes scratch(static_cast<size_t>(e.Size));
    TZDecompressionStream z(Archive);
    z.ReadBuffer(scratch.data(), e.Size);
    z.Finish();
    e.Packed = Archive.Position() - e.Offset;
    entries.push_back(e);
  }
  return entries;
}

const uint8_t* At(const TMemoryStream& Archive, int32_t Offset) {
  return static_cast<const uint8_t*>(Archive.Memory()) + Offset;
}

void Uncompress(TMemoryStream& Archive, const PackedEntry& E, uint8_t* Dest) {
  uLongf n = static_cast<uLongf>(E.Size);
  if (uncompress(Dest, &n, At(Archive, E.Offset), static_cast<uLong>(E.Packed)) != Z_OK ||
      n != static_cast<uLongf>(E.Size))
    std::printf("  uncompress failed\n");
}

// The stream read straight into the caller's memory, as one ReadBuffer.
void StreamRead(TMemoryStream& Archive, const PackedEntry& E, uint8_t* Dest) {
  Archive.SetPosition(E.Offset);
  TZDecompressionStream z(Archive);
  z.ReadBuffer(Dest, E.Size);
  z.Finish();
}

// The stream copied into a memory stream sized once, through CopyFrom's
// chunks.
void StreamCopy(TMemoryStream& Archive, const PackedEntry& E, TMemoryStream& Dest) {
  Archive.SetPosition(E.Offset);
  Dest.SetPosition(0);
  TZDecompressionStream z(Archive);
  Dest.CopyFrom(z, E.Size);
  z.Finish();
}

// The entries of one archive through each road.
struct EntryFigures {
  double Uncompress = 0, Read = 0, Copy = 0;
  // Into memory allocated per run, as a reader must: on a machine where the
  // first touch of a page is dear this weighs as much as inflating.
  double FreshUncompress = 0, FreshRead = 0;
};

EntryFigures TimeEntries(TMemoryStream& Archive, int Runs) {
  const std::vector<PackedEntry> entries = EntriesOf(Archive);
  std::vector<Bytes> dest;
  std::vector<std::unique_ptr<TMemoryStream>> streams;
  for (const PackedEntry& e : entries) {
    dest.emplace_back(static_cast<size_t>(e.Size), 1);
    streams.push_back(std::make_unique<TMemoryStream>());
    streams.back()->SetSize(e.Size);
  }
  using Road = void (*)(TMemoryStream&, const PackedEntry&, uint8_t*);
  const auto ready = [&](Road R) {
    return [&, R] {
      for (size_t i = 0; i < entries.size(); ++i) R(Archive, entries[i], dest[i].data());
    };
  };
  const auto fresh = [&](Road R) {
    return [&, R] {
      std::vector<std::unique_ptr<uint8_t[]>> memory;
      for (const PackedEntry& e : entries) {
        memory.emplace_back(new uint8_t[static_cast<size_t>(e.Size)]);
        R(Archive, e, memory.back().get());
      }
    };
  };
  const Road uncompress = [](TMemoryStream& A, const PackedEntry& E, uint8_t* D) {
    Uncompress(A, E, D);
  };
  const std::vector<double> t = BestOfEach(Runs, {ready(uncompress), ready(StreamRead),
                                                  [&] {
                                                    for (size_t i = 0; i < entries.size(); ++i)
                                                      StreamCopy(Archive, entries[i], *streams[i]);
                                                  },
                                                  fresh(uncompress), fresh(StreamRead)});
  // Every road must deliver the same bytes.
  for (size_t i = 0; i < entries.size(); ++i) {
    Bytes expected(static_cast<size_t>(entries[i].Size));
    Uncompress(Archive, entries[i], expected.data());
    StreamRead(Archive, entries[i], dest[i].data());
    if (dest[i] != expected || std::memcmp(streams[i]->Memory(), expected.data(), expected.size()))
      std::printf("  entry %zu: the roads differ\n", i);
  }
  return EntryFigures{t[0], t[1], t[2], t[3], t[4]};
}

void PrintEntries(const EntryFigures& F) {
  std::printf("  uncompress, every entry   %9.3f ms   (reference)\n", F.Uncompress * 1e3);
  std::printf("  stream, one read          %9.3f ms   ratio %.3f (goal <= 1.10)\n", F.Read * 1e3,
              F.Read / F.Uncompress);
  std::printf("  stream, CopyFrom          %9.3f ms   ratio %.3f\n", F.Copy * 1e3,
              F.Copy / F.Uncompress);
  std::printf("  into new memory: uncompress %.3f ms, stream %.3f ms   ratio %.3f\n",
              F.FreshUncompress * 1e3, F.FreshRead * 1e3, F.FreshRead / F.FreshUncompress);
}

TsSkinManager* NewManager(const std::filesystem::path& Dir) {
  auto* m = New<TsSkinManager>(nullptr);
  m->SetActive(false);
  m->SetSkinDirectory(Dir.string());
  return m;
}

// A skin-like 32-bit bitmap file: gradients, flat controls with frames, and
// textured patches with a little noise; it packs about as well as a skin's
// master.
Bytes BigBitmapFile(int Width, int Height) {
  const uint32_t rowBytes = static_cast<uint32_t>(Width) * 4;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(Height);
  Bytes out(54 + pixelBytes, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&out[at], &v, 4); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(Width));
  put32(22, static_cast<uint32_t>(Height));
  out[26] = 1;
  out[28] = 32;
  put32(34, pixelBytes);
  uint32_t noise = 2463534242u;
  uint8_t* p = out.data() + 54;
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x, p += 4) {
      uint32_t r = 40 + y * 120 / Height, g = 60 + x * 100 / Width, b = 90 + (x + y) % 64;
      const int cx = x % 250, cy = y % 120;
      if (cx < 200 && cy < 90) {
        const uint32_t tile = static_cast<uint32_t>(x / 250 * 7 + y / 120 * 13);
        const bool frame = cx == 0 || cy == 0 || cx == 199 || cy == 89;
        r = frame ? 30 : 120 + tile * 37 % 100;
        g = frame ? 30 : 110 + tile * 53 % 120;
        b = frame ? 40 : 140 + tile * 71 % 90;
      } else if ((x / 64 + y / 48) % 3 == 0) {
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        r += noise & 7;
        g += (noise >> 3) & 7;
        b += (noise >> 6) & 7;
      }
      p[0] = static_cast<uint8_t>(b);
      p[1] = static_cast<uint8_t>(g);
      p[2] = static_cast<uint8_t>(r);
      p[3] = 255;
    }
  }
  return out;
}

}  // namespace

void RunArchiveLoad(const std::filesystem::path& Root, bool Large, int Runs) {
  const std::string name = Large ? "TesseraLarge" : "Tessera";
  const std::filesystem::path folderDir = Root / "folder", packedDir = Root / "packed",
                              storedDir = Root / "stored";
  test_skin::WriteTestSkin(folderDir / name, test_skin::kSoundVariant, Large);
  std::filesystem::create_directories(packedDir);
  std::filesystem::create_directories(storedDir);
  const Bytes archive = test_skin::WriteArchive(
      test_skin::ArchiveEntries(test_skin::BuildTestSkin(test_skin::kSoundVariant, Large).Files));
  WriteFileBytes(packedDir / (name + ".qmz"), archive);

  TsSkinManager* folder = NewManager(folderDir);
  TsSkinManager* packed = NewManager(packedDir);
  TsSkinManager* stored = NewManager(storedDir);
  auto* item = static_cast<TsStoredSkin*>(stored->InternalSkins()->Add());
  item->Name = name;
  Fill(*item->PackedData(), archive);
  bool loaded = true;
  for (TsSkinManager* m : {folder, packed, stored}) {
    m->SetSkinName(name);
    m->SetActive(true);
    loaded = loaded && m->Active() && !m->Masks.empty();
  }
  if (!loaded || !packed->PackedMode || !stored->PackedMode || folder->PackedMode) {
    std::printf("%s: a road did not load the skin\n", name.c_str());
  } else {
    const std::vector<double> t =
        BestOfEach(Runs, {[&] { folder->SetSkinName(name); }, [&] { packed->SetSkinName(name); },
                          [&] { stored->SetSkinName(name); }});
    std::printf("%s packed: %zu bytes in the archive (zlib level 9)\n", name.c_str(),
                archive.size());
    std::printf("  load from the folder      %9.3f ms   (reference)\n", t[0] * 1e3);
    std::printf("  load from the archive     %9.3f ms   ratio %.3f (goal <= 1.5)\n", t[1] * 1e3,
                t[1] / t[0]);
    std::printf("  load of the stored skin   %9.3f ms   ratio %.3f\n", t[2] * 1e3, t[2] / t[0]);
    TMemoryStream bytes;
    Fill(bytes, archive);
    const double reader = Best(Runs, [&] {
      TvlSkinConvertor convertor;
      ReadPackedSkinFrom(bytes, convertor, nullptr);
    });
    std::printf("    of which the reader     %9.3f ms   %5.1f %% of the archive load\n",
                reader * 1e3, 100 * reader / t[1]);
    PrintEntries(TimeEntries(bytes, Runs));
  }
  TObject::Free(stored);
  TObject::Free(packed);
  TObject::Free(folder);
}

void RunBigEntry(int Runs) {
  const Bytes file = BigBitmapFile(2000, 1500);
  const Bytes archive = test_skin::WriteArchive({{"BIG.BMP", file}});
  std::printf("One entry of %.2f MiB packed to %.2f MiB (zlib level 9)\n",
              static_cast<double>(file.size()) / (1 << 20),
              static_cast<double>(archive.size()) / (1 << 20));
  TMemoryStream bytes;
  Fill(bytes, archive);
  PrintEntries(TimeEntries(bytes, Runs));
}

}  // namespace skin_load_bench
