#include "widgets/graphics/icon.h"

#include <cstring>

#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/pixels.h"
#include "widgets/rtl/streams.h"

namespace {

constexpr const char* kBadIcon = "Icon image is not valid";

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

}  // namespace

const TClassInfo& TIcon::StaticClass() {
  static const TClassInfo info("TIcon", &TGraphic::StaticClass());
  return info;
}

void TIcon::SetWidth(int Value) {
  if (Value == width_) return;
  if (!Empty()) throw EInvalidGraphicOperation("Cannot change the size of an icon");
  width_ = Value;
}

void TIcon::SetHeight(int Value) {
  if (Value == height_) return;
  if (!Empty()) throw EInvalidGraphicOperation("Cannot change the size of an icon");
  height_ = Value;
}

HICON TIcon::Handle() {
  return handle_.Get();
}

void TIcon::SetHandle(HICON Value) {
  if (Value && Value == handle_.Get()) return;
  Changing(this);
  handle_.Reset(Value);
  data_.clear();
  width_ = height_ = 0;
  ICONINFO ii{};
  if (Value && GetIconInfo(Value, &ii)) {
    TOwnedBitmap color(ii.hbmColor), mask(ii.hbmMask);
    BITMAP bm{};
    if (color && GetObjectA(color.Get(), sizeof bm, &bm)) {
      width_ = bm.bmWidth;
      height_ = bm.bmHeight;
    } else if (mask && GetObjectA(mask.Get(), sizeof bm, &bm)) {
      width_ = bm.bmWidth;
      height_ = bm.bmHeight / 2;  // AND and XOR halves
    }
  }
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  Changing(this);
  HICON h = handle_.Detach();
  data_.clear();
  width_ = height_ = 0;
  return h;
}

void TIcon::LoadFromStream(TStream& Stream) {
  int32_t pos = Stream.Position();
  int32_t size = Stream.Size() - pos;
  if (size <= 0 || size > gfx::kMaxImageBytes) throw EInvalidGraphic(kBadIcon);
  std::vector<uint8_t> data(static_cast<size_t>(size));
  Stream.ReadBuffer(data.data(), size);
  LoadIco(std::move(data));
}

void TIcon::LoadIco(std::vector<uint8_t> data) {
  gfx::TByteCursor c(data.data(), data.size(), kBadIcon);
  if (c.U16() != 0 || c.U16() != 1) throw EInvalidGraphic(kBadIcon);
  int count = c.U16();
  if (count == 0) throw EInvalidGraphic(kBadIcon);
  const int wanted = width_ > 0 ? width_ : GetSystemMetrics(SM_CXICON);
  struct Entry {
    int W, H;
    uint32_t Size, Offset;
  };
  Entry chosen{};
  bool found = false;
  for (int i = 0; i < count; ++i) {
    Entry e;
    e.W = c.U8();
    e.H = c.U8();
    c.Skip(6);  // colour count, reserved, planes, bit count
    e.Size = c.U32();
    e.Offset = c.U32();
    if (e.W == 0) e.W = 256;
    if (e.H == 0) e.H = 256;
    if (i == 0) chosen = e;
    if (!found && e.W == wanted) {
      chosen = e;
      found = true;
    }
  }
  if (chosen.Offset > data.size() || chosen.Size > data.size() - chosen.Offset || chosen.Size < 40)
    throw EInvalidGraphic(kBadIcon);
  HICON h = CreateIconFromResourceEx(data.data() + chosen.Offset, chosen.Size, TRUE, 0x00030000,
                                     chosen.W, chosen.H, LR_DEFAULTCOLOR);
  if (!h) throw EInvalidGraphic(kBadIcon);
  Changing(this);
  handle_.Reset(h);
  data_ = std::move(data);
  width_ = chosen.W;
  height_ = chosen.H;
  Changed(this);
}

std::vector<uint8_t> TIcon::IcoFromHandle() {
  const int w = width_, h = height_;
  if (!handle_ || w <= 0 || h <= 0 || w > 256 || h > 256) throw EInvalidGraphic(kBadIcon);
  // The colour image as 32-bit pixels and the mask as 1-bit rows, both
  // bottom-up, drawn from the icon itself.
  std::vector<uint8_t> color(static_cast<size_t>(w) * h * 4);
  const int maskStride = static_cast<int>(gfx::DibStride(w, 1));
  std::vector<uint8_t> mask(static_cast<size_t>(maskStride) * h);
  {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TOwnedBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) throw EOutOfResources("Out of system resources");
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    {
      TSelectedObject sel(dc.Get(), dib.Get());
      DrawIconEx(dc.Get(), 0, 0, handle_.Get(), w, h, 0, nullptr, DI_IMAGE);
      GdiFlush();
      std::memcpy(color.data(), bits, color.size());
      std::memset(bits, 0, color.size());
      DrawIconEx(dc.Get(), 0, 0, handle_.Get(), w, h, 0, nullptr, DI_MASK);
      GdiFlush();
    }
    const uint8_t* m = static_cast<const uint8_t*>(bits);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (m[(static_cast<size_t>(y) * w + x) * 4 + 1] >= 128)
          gfx::SetIndex(mask.data() + static_cast<size_t>(y) * maskStride, x, 1, 1);
  }
  const uint32_t bytes = static_cast<uint32_t>(40 + color.size() + mask.size());
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(uint8_t(w == 256 ? 0 : w));
  out.push_back(uint8_t(h == 256 ? 0 : h));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, bytes);
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(h * 2));
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  out.insert(out.end(), color.begin(), color.end());
  out.insert(out.end(), mask.begin(), mask.end());
  return out;
}

void TIcon::SaveToStream(TStream& Stream) {
  if (Empty()) return;
  if (data_.empty()) data_ = IcoFromHandle();
  Stream.WriteBuffer(data_.data(), static_cast<int32_t>(data_.size()));
}

void TIcon::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  if (auto* src = dynamic_cast<TIcon*>(Source)) {
    if (!src->data_.empty()) {
      width_ = src->width_;
      data_.clear();
      handle_.Reset();
      LoadIco(src->data_);
    } else {
      SetHandle(src->handle_ ? CopyIcon(src->handle_.Get()) : nullptr);
    }
    return;
  }
  TGraphic::Assign(Source);
}

void TIcon::Draw(TCanvas& ACanvas, const TRect& Rect) {
  if (!handle_) return;
  DrawIconEx(ACanvas.Handle(), Rect.Left, Rect.Top, handle_.Get(), Rect.Width(), Rect.Height(), 0,
             nullptr, DI_NORMAL);
}
