#include "skin/foundation/png_graphic.h"

#include <windows.h>

#include <memory>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/png_errors.h"
#include "widgets/graphics/canvas.h"
#include "widgets/rtl/streams.h"

namespace {

bool CarriesAlpha(const PngImageProperties& props, const std::vector<uint8_t>& alphaTable) {
  return props.ColorType == 6 || (props.ColorType == 3 && !alphaTable.empty());
}

}  // namespace

const TClassInfo& TPNGGraphic::StaticClass() {
  static const TClassInfo info("TPNGGraphic", &TBitmap::StaticClass());
  return info;
}

void TPNGGraphic::Assign(TPersistent* Source) {
  if (auto* png = dynamic_cast<TPNGGraphic*>(Source); png != nullptr && png != this) {
    props_.ImageFlags = png->props_.ImageFlags;
    props_.ImageWidth = png->props_.ImageWidth;
    props_.ColorLayout = png->props_.ColorLayout;
    props_.SampleBits = png->props_.SampleBits;
    props_.SampleCount = png->props_.SampleCount;
    props_.Compression = png->props_.Compression;
  }
  TBitmap::Assign(Source);
}

void TPNGGraphic::LoadFromStream(TStream& Stream) {
  SetSize(0, 0);
  const int32_t start = Stream.Position();
  const int32_t available = Stream.Size() - start;
  std::vector<uint8_t> data(available > 0 ? static_cast<size_t>(available) : 0);
  if (!data.empty()) Stream.ReadBuffer(data.data(), static_cast<int32_t>(data.size()));

  PngReader reader(colorManager_);
  if (!reader.ReadImageHeader(data.data(), data.size())) RaisePngError(png_msg::kInvalidFormat);
  const PngImageProperties& header = reader.Properties();
  SetTransparent(false);
  SetHandleType(bmDIB);
  SetPixelFormat(pf32bit);
  SetSize(static_cast<int>(header.ImageWidth), static_cast<int>(header.ImageHeight));
  uint8_t* base = nullptr;
  ptrdiff_t stride = 0;
  if (!ScanlineBaseAndStride(this, base, stride)) RaisePngError(png_msg::kInvalidFormat);

  // Forwards the reader's notifications to OnProgress.
  class Relay : public PngProgressSink {
   public:
    explicit Relay(TPNGGraphic& graphic) : graphic_(graphic) {}
    void PngProgress(PngProgressStage stage, int percent, int rowTop,
                     const char* message) override {
      graphic_.Progress(&graphic_, stage == PngProgressStage::Starting ? psStarting : psEnding,
                        static_cast<uint8_t>(percent), false,
                        TRect(0, rowTop, graphic_.Width(), rowTop + 1), message ? message : "");
    }

   private:
    TPNGGraphic& graphic_;
  } relay(*this);
  const size_t used = reader.LoadFromMemory(
      data.data(), data.size(), {base, stride, header.ImageWidth, header.ImageHeight}, &relay);
  Stream.SetPosition(start + static_cast<int32_t>(used));

  props_ = reader.Properties();
  alphaTable_ = reader.AlphaTable();
  backgroundColor_ = reader.BackgroundColor();
  transparentKey_ = reader.TransparentKey();
  // Only images with alpha need the fourth byte; the others keep their
  // colours in 24 bits and draw as plain bitmaps.
  if (!CarriesAlpha(props_, alphaTable_)) SetPixelFormat(pf24bit);
  if (transparentKey_ != kPngNoColor) {
    SetTransparentColor(static_cast<TColor>(transparentKey_));
    SetTransparent(true);
  }
  Changed(this);
}

void TPNGGraphic::Draw(TCanvas& ACanvas, const TRect& Rect) {
  if (PixelFormat() != pf32bit) {
    TBitmap::Draw(ACanvas, Rect);
    return;
  }
  const int w = Rect.Width(), h = Rect.Height();
  if (w <= 0 || h <= 0 || Empty()) return;
  const int workHeight = h + (reflected_ ? h / 2 : 0);
  std::unique_ptr<TBitmap> work(NewArgbBitmap(w, workHeight));
  if (work->Empty()) return;
  HDC workDC = work->Canvas()->Handle();
  BitBlt(workDC, 0, 0, w, workHeight, ACanvas.Handle(), Rect.Left, Rect.Top, SRCCOPY);
  GdiFlush();
  const PixelView workView = ArgbView(work.get());
  const BackgroundView noBackground = ToBackgroundView(EmptyBackgroundInfo);
  const RECT whole{0, 0, w, h};
  if (w == Width() && h == Height()) {
    AlphaCopyArgb(whole, whole, workView, ArgbView(this), noBackground, false, kNoColor, 0,
                  reflected_);
  } else {
    // Nearest-pixel scaling of colour and alpha alike, as COLORONCOLOR
    // stretching gives; the scaled image is drawn without a mirror.
    std::unique_ptr<TBitmap> scaled(NewArgbBitmap(w, h));
    if (scaled->Empty()) return;
    const PixelView scaledView = ArgbView(scaled.get());
    StretchPixels(scaledView, 0, 0, w, h, ArgbView(this), 0, 0, Width(), Height());
    AlphaCopyArgb(whole, whole, workView, scaledView, noBackground, false, kNoColor, 0, false);
  }
  BitBlt(ACanvas.Handle(), Rect.Left, Rect.Top, w, workHeight, workDC, 0, 0, SRCCOPY);
}

void ConvertPngToArgb(TBitmap* Bitmap, TPNGGraphic* Png) {
  if (Bitmap == nullptr || Png == nullptr) return;
  Bitmap->Assign(Png);
  if (Bitmap->PixelFormat() == pf32bit) return;  // the file's own alpha stays
  Bitmap->SetPixelFormat(pf32bit);
  const PixelView view = ArgbView(Bitmap);
  if (!view.Valid()) return;
  for (int y = 0; y < view.Height; ++y) {
    uint32_t* row = view.Row(y);
    for (int x = 0; x < view.Width; ++x) row[x] |= 0xFF000000u;
  }
}

void RegisterPngGraphic() {
  TPicture::RegisterFileFormat("png", "Portable network graphics (Vistrel)",
                               GraphicClassOf<TPNGGraphic>());
}

void UnregisterPngGraphic() {
  TPicture::UnregisterGraphicClass(GraphicClassOf<TPNGGraphic>());
}
