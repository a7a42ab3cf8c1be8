#include "skin/foundation/resampled_piece.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "skin/foundation/resample.h"

namespace {

// Pixels of resampled image and mask kept at most (8 bytes each): enough for
// the centres of a full-screen window, small next to its own bitmaps.
constexpr int64_t kBudget = int64_t{1} << 21;
constexpr int kEntries = 4;

struct Entry {
  int pieceW = 0, pieceH = 0, dstW = 0, dstH = 0;
  ResampleFilter maskFilter = rsMitchell;
  std::vector<uint32_t> key;  // the piece's image pixels, then its mask pixels
  PixelBuffer image, mask;
  uint64_t lastUse = 0;
  int64_t Pixels() const { return int64_t{dstW} * dstH; }
};

struct Cache {
  Entry entries[kEntries];
  uint64_t clock = 0;
  std::vector<uint32_t> scratch;
};

// One cache for the process; a second thread painting while another holds it
// resamples into its own buffers rather than waiting.
Cache cache;
std::atomic<bool> cacheBusy{false};

PixelView ViewOf(uint32_t* pixels, int w, int h) {
  return {reinterpret_cast<uint8_t*>(pixels), static_cast<ptrdiff_t>(w) * 4, w, h};
}

// The piece's image then its mask, each pw x ph with the last column and row
// repeated to reach 2 x 2.
void LayOut(std::vector<uint32_t>& out, const PixelView& src, int srcX, int srcY, int srcW,
            int srcH, int maskOffset, int pw, int ph) {
  out.resize(size_t(pw) * ph * 2);
  uint32_t* p = out.data();
  for (int part = 0; part < 2; ++part) {
    const int top = srcY + (part == 0 ? 0 : maskOffset);
    for (int y = 0; y < ph; ++y) {
      const uint32_t* row = src.Row(top + std::min(y, srcH - 1)) + srcX;
      for (int x = 0; x < pw; ++x) *p++ = row[std::min(x, srcW - 1)];
    }
  }
}

void Resample(uint32_t* laid, int pw, int ph, const PixelView& image, const PixelView& mask,
              ResampleFilter maskFilter) {
  const size_t half = size_t(pw) * ph;
  ResampleArgb(ViewOf(laid, pw, ph), image, rsMitchell);
  ResampleArgb(ViewOf(laid + half, pw, ph), mask, maskFilter);
}

}  // namespace

ResampledMaskedPiece::ResampledMaskedPiece(const PixelView& src, int srcX, int srcY, int srcW,
                                           int srcH, int maskOffset, int dstW, int dstH,
                                           ResampleFilter maskFilter) {
  const int pw = std::max(2, srcW), ph = std::max(2, srcH);
  const int64_t pixels = int64_t{dstW} * dstH;
  if (pixels <= kBudget && !cacheBusy.exchange(true, std::memory_order_acquire)) {
    holdsCache_ = true;
    try {
      Lookup(src, srcX, srcY, srcW, srcH, maskOffset, dstW, dstH, maskFilter);
    } catch (...) {
      // Out of memory half-way: an entry may be torn; start the cache afresh.
      for (Entry& e : cache.entries) e = Entry{};
      cacheBusy.store(false, std::memory_order_release);
      throw;
    }
    return;
  }
  std::vector<uint32_t> laid;
  LayOut(laid, src, srcX, srcY, srcW, srcH, maskOffset, pw, ph);
  ownImage_.Reset(dstW, dstH);
  ownMask_.Reset(dstW, dstH);
  image_ = ownImage_.View();
  mask_ = ownMask_.View();
  Resample(laid.data(), pw, ph, image_, mask_, maskFilter);
}

void ResampledMaskedPiece::Lookup(const PixelView& src, int srcX, int srcY, int srcW, int srcH,
                                  int maskOffset, int dstW, int dstH, ResampleFilter maskFilter) {
  const int pw = std::max(2, srcW), ph = std::max(2, srcH);
  const int64_t pixels = int64_t{dstW} * dstH;
  std::vector<uint32_t>& key = cache.scratch;
  LayOut(key, src, srcX, srcY, srcW, srcH, maskOffset, pw, ph);
  Entry* found = nullptr;
  for (Entry& e : cache.entries) {
    if (e.pieceW == pw && e.pieceH == ph && e.dstW == dstW && e.dstH == dstH &&
        e.maskFilter == maskFilter && std::memcmp(e.key.data(), key.data(), key.size() * 4) == 0) {
      found = &e;
      break;
    }
  }
  if (found == nullptr) {
    // The least recently used entry takes the piece; older ones give up
    // their pixels while the budget would be exceeded.
    found = &cache.entries[0];
    for (Entry& e : cache.entries)
      if (e.lastUse < found->lastUse) found = &e;
    int64_t kept = pixels;
    for (Entry& e : cache.entries)
      if (&e != found) kept += e.Pixels();
    while (kept > kBudget) {
      Entry* oldest = nullptr;
      for (Entry& e : cache.entries)
        if (&e != found && e.Pixels() > 0 && (oldest == nullptr || e.lastUse < oldest->lastUse))
          oldest = &e;
      kept -= oldest->Pixels();
      *oldest = Entry{};
    }
    found->pieceW = pw;
    found->pieceH = ph;
    found->dstW = dstW;
    found->dstH = dstH;
    found->maskFilter = maskFilter;
    found->key.swap(key);
    if (found->image.Width() != dstW || found->image.Height() != dstH) {
      found->image.Reset(dstW, dstH);
      found->mask.Reset(dstW, dstH);
    }
    Resample(found->key.data(), pw, ph, found->image.View(), found->mask.View(), maskFilter);
  }
  found->lastUse = ++cache.clock;
  image_ = found->image.View();
  mask_ = found->mask.View();
}

ResampledMaskedPiece::~ResampledMaskedPiece() {
  if (holdsCache_) cacheBusy.store(false, std::memory_order_release);
}
