#include "skin/controls/button_glyphs.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "skin/controls/alpha_image_list.h"
#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/control_text.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/glyph_drawing.h"
#include "skin/foundation/skin_commands.h"
#include "skin/foundation/vl_geometry.h"
#include "widgets/controls/comctrls.h"
#include "widgets/controls/controls.h"
#include "widgets/rtl/object_model.h"

TStringList* ExcludedPopupClasses = nullptr;

namespace {

constexpr TColor kMagenta = static_cast<TColor>(0xFF00FF);

bool StdGlyphsOrderOn() {
  return DefaultManager != nullptr && DefaultManager->Options()->StdGlyphsOrder();
}

// The library numbers its strips hot-first; the standard order has no hot
// frame, so the state is moved to the frame that stands for it there.
int StandardOrderState(int state, bool enabled, int numGlyphs) {
  switch (state) {
    case 0:
      return enabled ? 0 : 1;
    case 1:
      return 0;
    default:
      return numGlyphs < 3 ? 0 : state;
  }
}

bool ValidSection(TsSkinManager* manager, int index) {
  return manager != nullptr && index >= 0 && index < manager->SectionCount();
}

// The section that paints a control's normal face: a fully see-through
// section shows the parent's instead.
int GlyphSkinIndex(TsCommonData* data, TsSkinManager* manager, int state) {
  const int own = data->SkinIndex;
  TControl* control = data->Control;
  if (state == 0 && control != nullptr && control->Parent() != nullptr &&
      ValidSection(manager, own) && manager->Section(own).Props[0].Transparency == 100)
    return EffectiveSectionIndex(control, own, manager, 0);
  return own;
}

// Image Index of a list that keeps no alpha, on a 32-bit bitmap of the
// list's image size filled with the list's key colour.
std::unique_ptr<TBitmap> PreparePlainListImage(TCustomImageList* list, int index, TColor key) {
  auto w = std::make_unique<TBitmap>();
  w->SetPixelFormat(pf32bit);
  w->SetHandleType(bmDIB);
  w->SetSize(ImageListWidth(list), ImageListHeight(list));
  if (w->Empty()) return w;
  FillRectArgb(w.get(), TRect(0, 0, w->Width(), w->Height()), key, 0);
  ImageList_Draw(list->Handle(), index, w->Canvas()->Handle(), 0, 0, ILD_NORMAL);
  return w;
}

void DrawFromPlainList(const GlyphPaintParams& p, int x, int y) {
  TColor key = p.Images->BkColor();
  if (key == clNone) key = kMagenta;
  auto w = PreparePlainListImage(p.Images, p.ImageIndex, key);
  if (w->Empty()) return;
  const TRect whole(0, 0, w->Width() - 1, w->Height() - 1);
  // The key of the grey step is whatever the work image shows at its
  // corner, the list's background where the image leaves it.
  auto grey = [&] { GrayscaleArgbExceptKey(w.get(), w->Canvas()->Pixels(0, 0)); };
  if (p.Enabled) {
    if (p.State == 0 && p.Discolored) grey();
    // Blend is the copy's keep weight as it stands, and magenta its key
    // whatever the list's background was.
    if (p.State == 0 && p.Blend > 0)
      BlendCopyExceptKey(p.DstBitmap, x, y, w.get(), whole, static_cast<uint8_t>(p.Blend),
                         kMagenta);
    else
      CopyBitmapExceptKey(p.DstBitmap, w.get(), x, y, key);
    return;
  }
  if (p.Discolored) grey();
  if (p.DisabledLook & dkBlended)
    BlendCopyExceptKey(p.DstBitmap, x, y, w.get(), whole, 127, kMagenta);
  else
    CopyBitmapExceptKey(p.DstBitmap, w.get(), x, y, key);
}

void DrawFromImages(const GlyphPaintParams& p, TColor tint) {
  const int x = p.DstRect.Left, y = p.DstRect.Top;
  const int t =
      std::max(p.State == 0 ? p.Blend : 0, !p.Enabled && (p.DisabledLook & dkBlended) ? 50 : 0);
  if (dynamic_cast<TsAlphaImageList*>(p.Images) != nullptr) {
    if (p.DstBitmap != nullptr)
      DrawImageToBitmap(p.Images, p.DstBitmap, x, y, p.ImageIndex, t, tint, p.State + p.Down,
                        p.NumGlyphs, p.Reflected);
    else if (p.DstCanvas != nullptr)
      DrawImageToDC(p.Images, p.DstCanvas->Handle(), x, y, p.ImageIndex, t, tint, p.State + p.Down,
                    p.NumGlyphs, p.Reflected);
    return;
  }
  if (p.DstBitmap != nullptr)
    DrawFromPlainList(p, x, y);
  else if (p.DstCanvas != nullptr)
    p.Images->Draw(p.DstCanvas, x, y, p.ImageIndex, true);
}

// Puts the glyph's change handler back however the check ends.
class TDetachedOnChange {
 public:
  explicit TDetachedOnChange(TBitmap* glyph) : glyph_(glyph), saved_(glyph->OnChange) {
    glyph_->OnChange = TNotifyEvent();
  }
  ~TDetachedOnChange() { glyph_->OnChange = saved_; }
  TDetachedOnChange(const TDetachedOnChange&) = delete;
  TDetachedOnChange& operator=(const TDetachedOnChange&) = delete;

 private:
  TBitmap* glyph_;
  TNotifyEvent saved_;
};

// A 32-bit glyph saved without alpha would draw invisible: it is read as a
// 24-bit one instead. The caller's glyph is changed, silently.
void CheckEmptyAlpha(TBitmap* glyph) {
  TDetachedOnChange detached(glyph);
  glyph->SetHandleType(bmDIB);
  if (!glyph->HandleAllocated() || glyph->PixelFormat() != pf32bit) return;
  const PixelView v = ArgbView(glyph);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x)
      if ((v.At(x, y) >> 24) != 0) return;
  glyph->SetPixelFormat(pf24bit);
}

void DrawArgbGlyph(const GlyphPaintParams& p, TColor tint) {
  const int f = RectWidth(p.DstRect);
  const int left = std::min(p.State, p.NumGlyphs - 1) * f;
  const TRect src(left, 0, left + f, p.Glyph->Height());
  if (p.DstBitmap != nullptr) {
    AlphaCopyArgb(p.DstRect, src, p.DstBitmap, p.Glyph, BackgroundInfo{}, false, tint,
                  p.State == 0 ? p.Blend : 0, p.Reflected);
    return;
  }
  if (p.DstCanvas == nullptr) return;
  auto w = OwnObject(NewArgbBitmapForRect(p.DstRect));
  if (w->Empty()) return;
  CopyPixels(ArgbView(w.get()), 0, 0, ArgbView(p.Glyph), src.Left, 0, f, p.Glyph->Height());
  int d = p.Blend;
  if (!p.Enabled && (p.DisabledLook & dkBlended)) d = std::max(d, 50);
  if (p.State == 0 && d != 0) {
    const PixelView v = ArgbView(w.get());
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x) {
        uint32_t& px = v.At(x, y);
        const uint32_t a = (px >> 24) * static_cast<uint32_t>(100 - d) / 100;
        px = (px & 0xFFFFFFu) | (a << 24);
      }
  }
  if ((!p.Enabled && (p.DisabledLook & dkGrayed)) || (p.State == 0 && p.Discolored))
    GrayscaleArgb(w.get());
  DrawArgbOnCanvas(p.DstCanvas, w.get(), p.DstRect, p.Reflected);
}

void DrawStripGlyph(const GlyphPaintParams& p) {
  const auto blend = static_cast<uint8_t>(std::clamp(p.Blend, 0, 255));
  if (p.DstBitmap != nullptr) {
    DrawGlyphForState(p.Glyph, p.DstBitmap, p.DstRect, p.NumGlyphs, p.Enabled, p.State, blend,
                      p.Down, p.Reflected);
    return;
  }
  if (p.DstCanvas == nullptr) return;
  auto w = OwnObject(NewArgbBitmapForRect(p.DstRect));
  if (w->Empty()) return;
  HDC canvas = p.DstCanvas->Handle();
  BitBlt(w->Canvas()->Handle(), 0, 0, w->Width(), w->Height(), canvas, p.DstRect.Left,
         p.DstRect.Top, SRCCOPY);
  DrawGlyphForState(p.Glyph, w.get(), TRect(0, 0, w->Width(), w->Height()), p.NumGlyphs, p.Enabled,
                    p.State, blend, p.Down, p.Reflected);
  BitBlt(canvas, p.DstRect.Left, p.DstRect.Top, w->Width(), w->Height(), w->Canvas()->Handle(), 0,
         0, SRCCOPY);
}

void DrawFromGlyph(const GlyphPaintParams& p, TColor tint) {
  if (p.Glyph == nullptr || p.Glyph->Empty()) return;
  const bool checkAlpha =
      p.Glyph->PixelFormat() == pfDevice || !p.Enabled ||
      (p.Glyph->PixelFormat() == pf32bit &&
       (DefaultManager == nullptr || DefaultManager->Options()->CheckEmptyAlpha()));
  if (checkAlpha) CheckEmptyAlpha(p.Glyph);
  if (p.Glyph->PixelFormat() == pf32bit)
    DrawArgbGlyph(p, tint);
  else
    DrawStripGlyph(p);
}

void InitButtonGlyphs() {
  ExcludedPopupClasses = new TStringList;
  ExcludedPopupClasses->SetSorted(true);
  ExcludedPopupClasses->SetCaseSensitive(true);
  for (const char* name :
       {"TApplication", "TfcPopup", "TcxComboBoxPopupWindow", "TcxCustomPopupWindow",
        "TdxPopupEditForm", "TcxDateEditPopupWindow", "TcxGridFilterPopup"})
    ExcludedPopupClasses->Add(name);
}

void FinalizeButtonGlyphs() {
  delete ExcludedPopupClasses;
  ExcludedPopupClasses = nullptr;
}

}  // namespace

const TUnitInfo ButtonGlyphsUnit{"sButtonGlyphs", InitButtonGlyphs, FinalizeButtonGlyphs};

int ImageListCount(TCustomImageList* List) {
  return List != nullptr ? List->Count() : 0;
}

int ImageListWidth(TCustomImageList* List) {
  if (auto* alpha = dynamic_cast<TsAlphaImageList*>(List)) return alpha->Width();
  return List != nullptr ? List->Width() : 0;
}

int ImageListHeight(TCustomImageList* List) {
  if (auto* alpha = dynamic_cast<TsAlphaImageList*>(List)) return alpha->Height();
  return List != nullptr ? List->Height() : 0;
}

void PaintButtonGlyph(const GlyphPaintParams& Params) {
  GlyphPaintParams p = Params;
  const TColor tint = p.Discolored ? p.DiscolorColor : clNone;
  if (p.NumGlyphs < 1) p.NumGlyphs = 1;
  if (StdGlyphsOrderOn()) p.State = StandardOrderState(p.State, p.Enabled, p.NumGlyphs);
  if (p.Images != nullptr && p.ImageIndex >= 0 && p.ImageIndex < ImageListCount(p.Images))
    DrawFromImages(p, tint);
  else
    DrawFromGlyph(p, tint);
}

void FillGlyphSkinParams(TsCommonData* SkinData, GlyphPaintParams& Params) {
  TsSkinManager* manager = SkinData->SkinManager();
  Params.SkinManager = manager;
  Params.DstBitmap = SkinData->CacheBitmap;
  Params.SkinIndex = GlyphSkinIndex(SkinData, manager, Params.State);
  TColor colour = static_cast<TColor>(0xFFFFFF);
  if (SkinData->CustomColor && SkinData->Control != nullptr)
    colour = SkinData->Control->Color();
  else if (ValidSection(manager, Params.SkinIndex))
    colour = static_cast<TColor>(manager->Section(Params.SkinIndex).Props[0].FontColor);
  if (SkinData->HUEOffset != 0)
    colour =
        static_cast<TColor>(ChangeColorHue(SkinData->HUEOffset, static_cast<uint32_t>(colour)));
  Params.DiscolorColor = colour;
}

void DrawButtonGlyph(TControl* Button, TCanvas* Canvas) {
  auto* button = dynamic_cast<TGlyphButton*>(Button);
  if (button == nullptr) return;
  const TGlyphButton::Picture pic = button->GlyphPicture();
  GlyphPaintParams p;
  p.Images = pic.Images;
  p.ImageIndex = pic.ImageIndex;
  p.DstRect = pic.Rect;
  p.Enabled = pic.Enabled;
  p.State = pic.State;
  p.Down = pic.State == 2;
  p.Discolored = pic.Discolored;
  p.Reflected = pic.Reflected;
  p.DstCanvas = Canvas;
  if (pic.SkinData != nullptr) {
    FillGlyphSkinParams(pic.SkinData, p);
    if (p.SkinIndex < 0) p.DstBitmap = nullptr;
  }
  PaintButtonGlyph(p);
}

TRect ToolButtonGlyphRect(TToolBar* ToolBar, TToolButton* ToolButton, TBitmap* Bitmap) {
  const int iw = ImageListWidth(ToolBar->Images()), ih = ImageListHeight(ToolBar->Images());
  const int w = ToolButton->Width(), h = ToolButton->Height();
  TRect r;
  if (ToolBar->List()) {
    r.Left = 5;
    r.Top = (h - ih) / 2;
  } else {
    const int arrow = ToolButton->Style() == tbsDropDown ? 8 : 0;
    const int caption = ToolBar->ShowCaptions() ? Bitmap->Canvas()->TextHeight("A") + 3 : 0;
    r.Left = (w - iw) / 2 + 1 - arrow;
    r.Top = (h - ih - caption) / 2;
  }
  r.Right = r.Left + iw;
  r.Bottom = r.Top + ih;
  return r;
}

void PaintToolButtonGlyph(TToolBar* ToolBar, TToolButton* ToolButton, UINT ItemState,
                          TBitmap* Bitmap) {
  GlyphPaintParams p;
  if (ItemState & ODS_SELECTED)
    p.State = 2;
  else if (ItemState & ODS_HOTLIGHT)
    p.State = 1;
  else if (ItemState & ODS_CHECKED)
    p.State = 2;
  auto* data = reinterpret_cast<TsCommonData*>(PerformSkinCommand(ToolBar, SkinCmdGetSkinData, 0));
  TsSkinManager* manager = data != nullptr ? data->SkinManager() : nullptr;
  if (data != nullptr) {
    p.Discolored = p.State == 0 && manager != nullptr && manager->Effects()->DiscoloredGlyphs();
    p.SkinManager = manager;
    p.SkinIndex = GlyphSkinIndex(data, manager, p.State);
    if (!ValidSection(manager, p.SkinIndex)) p.SkinIndex = -1;
  }
  if ((ItemState & ODS_DISABLED) && ToolBar->DisabledImages() != nullptr)
    p.Images = ToolBar->DisabledImages();
  else if (p.State == 1 && ToolBar->HotImages() != nullptr)
    p.Images = ToolBar->HotImages();
  else
    p.Images = ToolBar->Images();
  p.ImageIndex = ToolButton->ImageIndex();
  p.Enabled = ToolBar->Enabled();
  p.Down = p.State == 2;
  if (p.Discolored) {
    p.DisabledLook = dkGrayed;
    if (p.SkinIndex >= 0 && manager != nullptr)
      p.DiscolorColor = static_cast<TColor>(manager->Section(p.SkinIndex).Props[0].FontColor);
  }
  p.DstBitmap = Bitmap;
  p.DstCanvas = Bitmap->Canvas();
  p.DstRect = ToolButtonGlyphRect(ToolBar, ToolButton, Bitmap);
  if (p.State == 2 && (manager == nullptr || manager->ButtonsOptions()->ShiftContentOnClick()))
    p.DstRect = OffsetRectBy(p.DstRect, 1, 1);
  PaintButtonGlyph(p);
}
