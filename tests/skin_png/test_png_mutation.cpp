// A deterministic mutation run over the generated corpus: every input either
// decodes or raises one of the reader's errors, and nothing is written
// outside the image, and no input makes the reader hold more memory than its
// declared limits (large declared sizes included). The length comes from --png-mutations=N (5,000
// by default).
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "alloc_counter.h"
#include "png_writer.h"
#include "png_test_util.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> SeedCorpus() {
  struct Shape {
    uint8_t Type, Depth;
    bool Interlaced;
    bool Trns;
  };
  const Shape shapes[] = {
      {0, 1, false, false},  {0, 2, true, false},  {0, 4, false, true},  {0, 8, true, false},
      {0, 16, false, false}, {2, 8, false, true},  {2, 16, true, false}, {3, 1, true, true},
      {3, 2, false, true},   {3, 4, true, false},  {3, 8, false, true},  {4, 8, true, false},
      {4, 16, false, false}, {6, 8, false, false}, {6, 8, true, false},  {6, 16, false, false}};
  std::vector<Bytes> corpus;
  uint64_t seed = 77;
  for (const Shape& sh : shapes) {
    PngDesc s;
    s.Width = 3 + uint32_t(seed % 13);
    s.Height = 2 + uint32_t(seed % 7);
    s.ColorType = sh.Type;
    s.BitDepth = sh.Depth;
    s.Interlaced = sh.Interlaced;
    s.FilterBase = int(seed % 5);
    s.IdatSplit = seed % 3 == 0 ? 16 : 0;
    s.TextAfter = seed % 2 == 0;
    if (seed % 4 == 1) s.Gamma = 45455;
    ++seed;
    FillSamples(s, seed, seed % 2 == 0);
    if (sh.Trns) {
      if (sh.Type == 3)
        s.Transparency = Bytes(s.Palette.size() / 6 + 1, 0x80);
      else if (sh.Type == 0)
        s.Transparency = Bytes{0, 1};
      else
        s.Transparency = Bytes{0, 1, 0, 2, 0, 3};
    }
    if (seed % 3 == 1)
      s.Background = sh.Type == 3                   ? Bytes{1}
                     : sh.Type == 2 || sh.Type == 6 ? Bytes(6, 0)
                                                    : Bytes(2, 0);
    corpus.push_back(EncodePng(s));
  }
  return corpus;
}

// A width or height from the edges of the reader's limits and beyond.
uint32_t LargeSide(TestRandom& rnd) {
  const uint32_t sides[] = {4096,    4097,     16383,      16384,      16385,
                            1 << 20, 1u << 24, (1u << 26), 0x7FFFFFFF, 0xFFFFFFFF};
  return rnd.Below(3) == 0 ? 1 + rnd.Below(1u << 20) : sides[rnd.Below(10)];
}

Bytes Mutate(const std::vector<Bytes>& corpus, TestRandom& rnd) {
  Bytes f = corpus[rnd.Below(uint32_t(corpus.size()))];
  const uint32_t kind = rnd.Below(9);
  switch (kind) {
    case 8: {  // a large declared size (CRC repaired), with or without other flips
      const uint32_t w = rnd.Below(2) ? LargeSide(rnd) : 1 + rnd.Below(64);
      const uint32_t h = rnd.Below(2) ? LargeSide(rnd) : 1 + rnd.Below(64);
      for (int i = 0; i < 4; ++i) {
        f[16 + i] = uint8_t(w >> (24 - 8 * i));
        f[20 + i] = uint8_t(h >> (24 - 8 * i));
      }
      if (rnd.Below(2)) f[8 + rnd.Below(uint32_t(f.size() - 8))] ^= uint8_t(1u << rnd.Below(8));
      FixChunkCrcs(f);
      break;
    }
    case 0:  // bit flips
    case 1: {
      const uint32_t flips = 1 + rnd.Below(8);
      for (uint32_t i = 0; i < flips; ++i)
        f[rnd.Below(uint32_t(f.size()))] ^= uint8_t(1u << rnd.Below(8));
      break;
    }
    case 2: {  // interesting byte values
      const uint8_t values[] = {0, 1, 0x7F, 0x80, 0xFF, 0xFE, 16, 0x20};
      const uint32_t n = 1 + rnd.Below(4);
      for (uint32_t i = 0; i < n; ++i) f[rnd.Below(uint32_t(f.size()))] = values[rnd.Below(8)];
      break;
    }
    case 3:  // truncation
      f.resize(rnd.Below(uint32_t(f.size())));
      break;
    case 4: {  // splice: the head of one file with the tail of another
      const Bytes& other = corpus[rnd.Below(uint32_t(corpus.size()))];
      const size_t cut = rnd.Below(uint32_t(f.size()));
      const size_t from = rnd.Below(uint32_t(other.size()));
      f.resize(cut);
      f.insert(f.end(), other.begin() + from, other.end());
      break;
    }
    case 5: {  // duplicate or delete a range
      const size_t at = rnd.Below(uint32_t(f.size()));
      const size_t len = 1 + rnd.Below(32);
      if (rnd.Below(2)) {
        const Bytes part(f.begin() + at, f.begin() + std::min(f.size(), at + len));
        f.insert(f.begin() + rnd.Below(uint32_t(f.size())), part.begin(), part.end());
      } else {
        f.erase(f.begin() + at, f.begin() + std::min(f.size(), at + len));
      }
      break;
    }
    default: {  // flips with the CRCs repaired, so that they reach the decoder
      const uint32_t flips = 1 + rnd.Below(4);
      for (uint32_t i = 0; i < flips; ++i) {
        const size_t at = 8 + rnd.Below(uint32_t(f.size() - 8));
        f[at] ^= uint8_t(1u << rnd.Below(8));
      }
      FixChunkCrcs(f);
      break;
    }
  }
  return f;
}

TEST(PngMutation, EveryInputDecodesOrRaisesTheReadersError) {
  const std::vector<Bytes> corpus = SeedCorpus();
  for (const Bytes& f : corpus) ASSERT_EQ(DecodeGuarded(f).Outcome, DecodeOutcome::Decoded);

  TestRandom rnd(20240611);
  long decoded = 0, refused = 0;
  double slowest = 0;
  size_t highest = 0;
  for (long i = 0; i < g_pngMutationCount; ++i) {
    const Bytes input = Mutate(corpus, rnd);
    const auto start = std::chrono::steady_clock::now();
    DecodeResult r;
    alloc_counter::ResetPeak();
    try {
      r = DecodeGuarded(input, nullptr);
    } catch (const std::exception& e) {
      FAIL() << "input " << i << " raised a foreign exception: " << e.what();
    }
    // The memory ceiling: what the reader declares, its image included.
    const size_t peak = alloc_counter::PeakSinceReset();
    highest = std::max(highest, peak);
    ASSERT_LE(peak, kPngMaxImageBytes + kPngMaxWorkBytes) << "input " << i;
    slowest = std::max(
        slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    ASSERT_TRUE(r.GuardsIntact) << "input " << i << " wrote outside the image";
    ASSERT_TRUE(r.Outcome != DecodeOutcome::Decoded || r.Message.empty()) << r.Message;
    (r.Outcome == DecodeOutcome::Decoded ? decoded : refused)++;
  }
  // Every input is tiny: a slow one would mean a loop that does not end.
  EXPECT_LT(slowest, 2.0);
  RecordProperty("decoded", int(decoded));
  RecordProperty("refused", int(refused));
  std::printf(
      "mutation run: %ld inputs, %ld decoded, %ld refused, slowest %.4f s, "
      "most memory %zu bytes\n",
      g_pngMutationCount, decoded, refused, slowest, highest);
}

}  // namespace
