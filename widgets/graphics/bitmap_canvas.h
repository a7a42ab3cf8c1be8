// The bitmap's canvas and helpers shared by the bitmap's source files
// (internal to the graphics unit).
#pragma once

#include <windows.h>

#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/bitmap.h"

namespace gfx {

// The screen's format: what a device bitmap turns into as a DIB.
TPixelFormat DeviceFormat();

inline bool IsPaletteFormat(TPixelFormat f) {
  return f == pf1bit || f == pf4bit || f == pf8bit;
}

[[noreturn]] inline void RaiseOutOfResources() {
  throw EOutOfResources("Out of system resources");
}

}  // namespace gfx

// The canvas of a bitmap: one memory DC, made on demand, holding the bitmap.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* owner) : bitmap_(owner) {}
  ~TBitmapCanvas() override { FreeContext(); }

  HDC DC() const { return dc_.Get(); }
  HGDIOBJ DefaultBitmap() const { return oldBitmap_; }
  void FreeContext() {
    if (!dc_) return;
    SetHandle(nullptr);
    SelectObject(dc_.Get(), oldBitmap_);
    dc_.Reset();
    oldBitmap_ = nullptr;
  }

 protected:
  void CreateHandle() override {
    bitmap_->HandleNeeded();
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!dc) gfx::RaiseOutOfResources();
    oldBitmap_ = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    if (bitmap_->image_.Handle) SelectObject(dc.Get(), bitmap_->image_.Handle);
    dc_ = std::move(dc);
    SetHandle(dc_.Get());
  }
  void Changing() override {
    TCanvas::Changing();
    bitmap_->Changing(bitmap_);
  }
  void Changed() override {
    TCanvas::Changed();
    bitmap_->Changed(bitmap_);
  }

 private:
  TBitmap* bitmap_;
  TMemoryDC dc_;
  HGDIOBJ oldBitmap_ = nullptr;
};
