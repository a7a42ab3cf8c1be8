// Drawing from image lists: an alpha list's images blended with their alpha,
// any other list through its own drawing.
#include <algorithm>

#include "skin/controls/alpha_image_list.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/blend.h"
#include "widgets/graphics/canvas.h"

namespace {

// Holds a canvas's DC for a scope, whatever ends it.
class TCanvasLock {
 public:
  explicit TCanvasLock(TCanvas* Canvas) : canvas_(Canvas) { canvas_->Lock(); }
  ~TCanvasLock() { canvas_->Unlock(); }
  TCanvasLock(const TCanvasLock&) = delete;
  TCanvasLock& operator=(const TCanvasLock&) = delete;

 private:
  TCanvas* canvas_;
};

void ImageListSize(TCustomImageList* List, int& W, int& H) {
  if (auto* alpha = dynamic_cast<TsAlphaImageList*>(List)) {
    W = alpha->Width();
    H = alpha->Height();
  } else {
    W = List->Width();
    H = List->Height();
  }
}

}  // namespace

int ScreenBitsPerPixel() {
  TWindowDC screen(nullptr);
  return screen ? GetDeviceCaps(screen.Get(), BITSPIXEL) : 32;
}

void FixEmptyAlpha(TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->PixelFormat() != pf32bit) return;
  const PixelView v = ArgbView(Bitmap);
  if (!v.Valid()) return;
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x)
      if (v.At(x, y) >> 24) return;
  const uint32_t key = v.At(0, v.Height - 1);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x)
      if (v.At(x, y) != key) v.At(x, y) |= 0xFF000000u;
}

void TsAlphaImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT, bool) {
  if (!HandleAllocated() || Index < 0) return;
  TsImgListItem* item = Index < items_->Count() ? items_->Items(Index) : nullptr;
  const int w = Width(), h = Height();
  if (!item || item->ImageFormat == ifICO) {
    ImageList_SetBkColor(Handle(), CLR_NONE);
    TOwnedIcon icon(ImageList_GetIcon(Handle(), Index, ILD_TRANSPARENT));
    if (icon) DrawIconEx(Canvas->Handle(), X, Y, icon.Get(), w, h, 0, nullptr, DI_NORMAL);
    return;
  }
  if (item->ImageFormat != ifPNG && item->ImageFormat != ifBMP32) return;
  auto image = OwnObject(MakeArgbImage(Index, w, h));
  if (!image) return;
  auto work = OwnObject(NewArgbBitmap(w, h));
  TCanvasLock canvasLock(Canvas);
  TCanvasLock workLock(work->Canvas());
  const HDC workDC = work->Canvas()->Handle();
  BitBlt(workDC, 0, 0, w, h, Canvas->Handle(), X, Y, SRCCOPY);
  AlphaCopyArgb(TRect(0, 0, w, h), TRect(0, 0, w, h), work.get(), image.get(),
                MakeBackgroundInfo(work.get(), 0, 0), false, clNone, 0, false);
  BitBlt(Canvas->Handle(), X, Y, w, h, workDC, 0, 0, SRCCOPY);
}

TSize DrawImageToBitmap(TCustomImageList* List, TBitmap* Bitmap, int X, int Y, int Index,
                        int Transparency, TColor TintColor, int State, int NumGlyphs,
                        bool Reflected) {
  if (!List || !Bitmap || Bitmap->Width() == 0 || !List->HandleAllocated() || Index < 0) return {};
  int iw = 0, ih = 0;
  ImageListSize(List, iw, ih);
  const int n = std::max(1, NumGlyphs);
  const int fw = iw / n;
  const TRect dst(X, Y, X + fw, Y + ih);
  const int frameLeft = fw * std::clamp(State, 0, n - 1);
  const TRect src(frameLeft, 0, frameLeft + fw, ih);
  if (auto* alpha = dynamic_cast<TsAlphaImageList*>(List)) {
    // A warm cache is drawn from in place: a copy per glyph would cost more
    // than the blend.
    TBitmap* image = alpha->CachedImage(Index, iw, ih);
    TOwnedObject<TBitmap> made;
    if (!image) {
      made = OwnObject(alpha->MakeArgbImage(Index, iw, ih));
      image = made.get();
    }
    if (!image || image->Empty()) return {};
    if (alpha->OpaqueDraw())
      CopyPixels(ArgbView(Bitmap), X, Y, ArgbView(image), 0, 0, image->Width(), image->Height());
    else
      AlphaCopyArgb(dst, src, Bitmap, image, EmptyBackgroundInfo, false, TintColor, Transparency,
                    Reflected);
    return TSize(fw, ih);
  }
  auto work = OwnObject(NewArgbBitmap(iw, ih));
  const PixelView workView = ArgbView(work.get());
  CopyPixels(workView, src.Left, 0, ArgbView(Bitmap), X, Y, fw, ih);
  List->Draw(work->Canvas(), 0, 0, Index);
  CopyPixels(ArgbView(Bitmap), X, Y, ArgbView(work.get()), src.Left, 0, fw, ih);
  return TSize(fw, ih);
}

void DrawImageToDC(TCustomImageList* List, HDC DC, int X, int Y, int Index, int Transparency,
                   TColor TintColor, int State, int NumGlyphs, bool Reflected) {
  if (!List || !List->HandleAllocated()) return;
  int iw = 0, ih = 0;
  ImageListSize(List, iw, ih);
  const int h = Reflected ? ih + ih / 2 : ih;
  auto work = OwnObject(NewArgbBitmap(iw, h));
  if (work->Empty()) return;
  const HDC workDC = work->Canvas()->Handle();
  BitBlt(workDC, 0, 0, iw, h, DC, X, Y, SRCCOPY);
  DrawImageToBitmap(List, work.get(), 0, 0, Index, Transparency, TintColor, State, NumGlyphs,
                    Reflected);
  BitBlt(DC, X, Y, iw, h, work->Canvas()->Handle(), 0, 0, SRCCOPY);
}
