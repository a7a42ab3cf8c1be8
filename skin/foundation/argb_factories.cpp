#include "skin/foundation/argb_factories.h"

#include <cstddef>
#include <limits>
#include <memory>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/vl_geometry.h"
#include "widgets/controls/controls.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

// GDI cannot address DIBs whose byte size does not fit 31 bits; asking for
// one would overflow the size arithmetic on the way.
bool SizeFits(int Width, int Height) {
  if (Width < 0 || Height < 0) return false;
  const int64_t bytes = int64_t{Width} * Height * 4;
  return bytes <= std::numeric_limits<int32_t>::max();
}

void SetEmpty(TBitmap* b) {
  try {
    b->SetWidth(0);
    b->SetHeight(0);
  } catch (...) {
    // Shrinking to nothing allocates nothing; nothing to report either way.
  }
}

}  // namespace

TBitmap* NewArgbBitmap(int Width, int Height) {
  TBitmap* b = New<TBitmap>();
  try {
    b->SetPixelFormat(pf32bit);
    b->SetHandleType(bmDIB);
    if (!SizeFits(Width, Height)) throw EOutOfResources("Bitmap too large");
    b->SetWidth(Width);
    b->SetHeight(Height);
  } catch (...) {
    SetEmpty(b);
  }
  return b;
}

TBitmap* NewArgbBitmapForRect(const TRect& Rect) {
  return NewArgbBitmap(RectWidth(Rect, true), RectHeight(Rect, true));
}

TBitmap* NewArgbBitmapOfSize(const TSize& Size) {
  return NewArgbBitmap(Size.cx, Size.cy);
}

TBitmap* NewArgbBitmapLike(TBitmap* Bitmap) {
  return NewArgbBitmap(Bitmap->Width(), Bitmap->Height());
}

TBitmap* NewArgbBitmapForControl(TControl* Control) {
  return NewArgbBitmap(Control->Width(), Control->Height());
}

TBitmap* NewBitmapLike(TBitmap* Bitmap) {
  TBitmap* b = New<TBitmap>();
  try {
    b->SetPixelFormat(Bitmap->PixelFormat());
    b->SetWidth(Bitmap->Width());
    b->SetHeight(Bitmap->Height());
  } catch (...) {
    SetEmpty(b);
  }
  return b;
}

TBitmap* ArgbFromMaskedImage(TBitmap* Image, const TRect& Rect) {
  const int w = RectWidth(Rect, true);
  const int h = RectHeight(Rect, true) / 2;
  if (w == 0 || h == 0) return nullptr;
  PixelView src = ArgbView(Image);
  if (!src.Valid()) return nullptr;
  TBitmap* result = NewArgbBitmap(w, h);
  PixelView dst = ArgbView(result);
  if (!dst.Valid()) return result;
  // Read the pixels directly: the image may be smaller than Rect claims,
  // and what lies outside it counts as transparent.
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int sx = Rect.Left + x, sy = Rect.Top + y, my = Rect.Top + h + y;
      uint32_t pixel = src.Contains(sx, sy) ? src.At(sx, sy) : 0;
      uint32_t alpha = 0;
      if (src.Contains(sx, my)) alpha = 255 - ((src.At(sx, my) >> 16) & 0xFF);
      dst.At(x, y) = (pixel & 0x00FFFFFF) | (alpha << 24);
    }
  }
  return result;
}

void CopyBitmapInto(TBitmap* Dst, TBitmap* Src) {
  Dst->SetPixelFormat(Src->PixelFormat());
  Dst->SetHandleType(bmDIB);
  Dst->SetWidth(Src->Width());
  Dst->SetHeight(Src->Height());
  if (Src->Empty()) return;
  BitBlt(Dst->Canvas()->Handle(), 0, 0, Src->Width(), Src->Height(), Src->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void CopyArgbChannel(TBitmap* Dst, TBitmap* Src, int Channel) {
  if (Channel < 0 || Channel > 3) return;
  PixelView d = ArgbView(Dst), s = ArgbView(Src);
  if (!d.Valid() || !s.Valid()) return;
  const int w = d.Width < s.Width ? d.Width : s.Width;
  const int h = d.Height < s.Height ? d.Height : s.Height;
  for (int y = 0; y < h; ++y) {
    uint8_t* dr = reinterpret_cast<uint8_t*>(d.Row(y));
    const uint8_t* sr = reinterpret_cast<const uint8_t*>(s.Row(y));
    for (int x = 0; x < w; ++x) dr[4 * x + Channel] = sr[4 * x + Channel];
  }
}

void TransferArgbChannel(TBitmap* Argb, TBitmap* Gray, int Channel, bool ToGray) {
  if (Channel < 0 || Channel > 3 || !Gray || Gray->PixelFormat() != pf8bit) return;
  PixelView a = ArgbView(Argb);
  uint8_t* grayBase = nullptr;
  ptrdiff_t grayStride = 0;
  if (!a.Valid() || !ScanlineBaseAndStride(Gray, grayBase, grayStride)) return;
  // Rows and columns of Argb, clipped to what the grey bitmap holds.
  const int w = a.Width < Gray->Width() ? a.Width : Gray->Width();
  const int h = a.Height < Gray->Height() ? a.Height : Gray->Height();
  for (int y = 0; y < h; ++y) {
    uint8_t* ar = reinterpret_cast<uint8_t*>(a.Row(y));
    uint8_t* gr = grayBase + grayStride * y;
    for (int x = 0; x < w; ++x) {
      if (ToGray)
        gr[x] = ar[4 * x + Channel];
      else
        ar[4 * x + Channel] = gr[x];
    }
  }
}

HICON IconFromArgbBitmap(TBitmap* Bitmap, TColor) {
  if (!Bitmap) return nullptr;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  if (Bitmap->PixelFormat() != pf32bit) {
    Bitmap->SetPixelFormat(pf32bit);
    PixelView v = ArgbView(Bitmap);
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x) {
        uint32_t& p = v.At(x, y);
        p = (p == 0x00FF00FFu) ? p : ((p & 0x00FFFFFFu) | 0xFF000000u);
      }
  }
  std::unique_ptr<TBitmap> mask(New<TBitmap>());
  std::unique_ptr<TBitmap> color(NewArgbBitmap(w, h));
  HICON icon = nullptr;
  try {
    mask->SetPixelFormat(pf1bit);
    mask->SetWidth(w);
    mask->SetHeight(h);
    PixelView src = ArgbView(Bitmap), dst = ArgbView(color.get());
    HDC maskDC = mask->Canvas()->Handle();
    for (int y = 0; y < src.Height && y < dst.Height; ++y)
      for (int x = 0; x < src.Width && x < dst.Width; ++x) {
        const uint32_t p = src.At(x, y);
        dst.At(x, y) = p;
        SetPixelV(maskDC, x, y, (p >> 24) == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0));
      }
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmMask = mask->Handle();
    ii.hbmColor = color->Handle();
    icon = CreateIconIndirect(&ii);
  } catch (const Exception&) {
    icon = nullptr;
  }
  return icon;
}

TUpdateLayeredWindow UpdateLayeredWindowProc = nullptr;
TSetLayeredWindowAttributes SetLayeredWindowAttributesProc = nullptr;
int32_t CheckBoxGlyphWidth = 0;
int32_t CheckBoxGlyphHeight = 0;

namespace {

using TSetLayout = DWORD(WINAPI*)(HDC, DWORD);
using TGetLayout = DWORD(WINAPI*)(HDC);

struct GraphicsUnitState {
  TOwnedModule Gdi32;
  TOwnedModule User32;
  TSetLayout SetLayout = nullptr;
  TGetLayout GetLayout = nullptr;
};

GraphicsUnitState& Unit() {
  static GraphicsUnitState s;
  return s;
}

template <typename F>
F BindProc(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool LayeredWindowsAvailable() {
  return UpdateLayeredWindowProc != nullptr;
}

void CallSetLayout(HDC DC, DWORD Layout) {
  if (Unit().SetLayout) Unit().SetLayout(DC, Layout);
}

DWORD CallGetLayout(HDC DC) {
  return Unit().GetLayout ? Unit().GetLayout(DC) : 0;
}

void MeasureCheckBoxGlyph() {
  constexpr int kCheckBoxes = 32759;  // OBM_CHECKBOXES
  TOwnedBitmap bmp(LoadBitmapA(nullptr, MAKEINTRESOURCEA(kCheckBoxes)));
  BITMAP info{};
  if (bmp && GetObjectA(bmp.Get(), sizeof info, &info)) {
    CheckBoxGlyphWidth = info.bmWidth / 4;
    CheckBoxGlyphHeight = info.bmHeight / 3;
  }
}

void GraphicsUnitInitialization() {
  GraphicsUnitState& s = Unit();
  s.Gdi32.Reset(LoadLibraryA("gdi32.dll"));
  if (s.Gdi32) {
    s.SetLayout = BindProc<TSetLayout>(s.Gdi32.Get(), "SetLayout");
    s.GetLayout = BindProc<TGetLayout>(s.Gdi32.Get(), "GetLayout");
  }
  if (!UpdateLayeredWindowProc) {
    s.User32.Reset(LoadLibraryA("user32.dll"));
    if (s.User32) {
      UpdateLayeredWindowProc =
          BindProc<TUpdateLayeredWindow>(s.User32.Get(), "UpdateLayeredWindow");
      SetLayeredWindowAttributesProc =
          BindProc<TSetLayeredWindowAttributes>(s.User32.Get(), "SetLayeredWindowAttributes");
    }
  }
  MeasureCheckBoxGlyph();
}

void GraphicsUnitFinalization() {
  GraphicsUnitState& s = Unit();
  s.SetLayout = nullptr;
  s.GetLayout = nullptr;
  s.Gdi32.Reset();
  if (s.User32) {
    UpdateLayeredWindowProc = nullptr;
    SetLayeredWindowAttributesProc = nullptr;
  }
  s.User32.Reset();
}
