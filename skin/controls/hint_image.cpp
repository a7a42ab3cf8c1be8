// The hint image: the bubble's frame from the skin or a template picture,
// the content drawn over it, and the alpha a layered window shows.
#include <algorithm>

#include "skin/controls/alpha_hints.h"
#include "skin/controls/hint_templates.h"
#include "skin/controls/html_text.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

// The marker the region is cut by: a colour no frame is painted with,
// whole (alpha 0 included), as the region walk compares it.
constexpr uint32_t kShapeKey = 0x00FF00FF;
// A template hint draws its text with these and the manager's alignment.
constexpr UINT kTemplateTextFlags = DT_WORDBREAK | DT_NOPREFIX;

std::unique_ptr<TBitmap> NewWork(int W, int H) {
  return std::unique_ptr<TBitmap>(NewArgbBitmap(W, H));
}

void FillKey(TBitmap* b) {
  const PixelView v = ArgbView(b);
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x) v.At(x, y) = kShapeKey;
}

}  // namespace

void TvlCustomHintWindow::PaintSkinnedHintFrame(TBitmap* Bitmap, TColor Behind) {
  TsSkinManager* sm = DefaultManager;
  if (!sm || !sm->ValidSection(SkinIndex)) return;
  const TsGeneralData& section = sm->Section(SkinIndex);
  const TRect all{0, 0, Bitmap->Width(), Bitmap->Height()};
  BackgroundInfo bg;
  bg.Color = Behind;
  if (section.Props[0].Transparency == 100 && sm->ValidImage(BorderIndex)) {
    PaintMaskNineSlice(Bitmap, all, bg, sm->ImageData(BorderIndex), 0, false);
    return;
  }
  PaintSectionAndMask(SkinIndex, BorderIndex, PatternIndex, bg, 0, all, {0, 0}, Bitmap, sm);
}

void TvlCustomHintWindow::MakeHintRegion(int W, int H) {
  maskImage_ = NewWork(W, H);
  FillKey(maskImage_.get());
  PaintSkinnedHintFrame(maskImage_.get(), clFuchsia);
  // Whatever alpha the painter gave the key, the region walk wants it whole.
  const PixelView v = ArgbView(maskImage_.get());
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if ((v.At(x, y) & 0xFFFFFF) == (kShapeKey & 0xFFFFFF)) v.At(x, y) = kShapeKey;
  region_ = RegionFromBitmap(ArgbView(maskImage_.get()), kShapeKey);
}

void TvlCustomHintWindow::MakeHintImage(int W, int H) {
  if (!ActiveHintManager) return;
  SelectSkinParts();
  hintImage_ = NewWork(W, H);
  MakeHintRegion(W, H);
  frameImage_ = NewWork(W, H);
  PaintSkinnedHintFrame(frameImage_.get(), clBlack);
  PaintHintContent(frameImage_.get());
  TsSkinManager* sm = DefaultManager;
  const bool clearSection = sm && sm->ValidSection(SkinIndex) &&
                            sm->Section(SkinIndex).Props[0].Transparency == 100 &&
                            sm->ValidImage(BorderIndex);
  if (clearSection) {
    CopyBitmapInto(hintImage_.get(), frameImage_.get());
  } else {
    const PixelView shape = ArgbView(maskImage_.get());
    const PixelView frame = ArgbView(frameImage_.get());
    const PixelView out = ArgbView(hintImage_.get());
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        out.At(x, y) = shape.At(x, y) == kShapeKey ? 0 : (frame.At(x, y) | 0xFF000000u);
  }
  PremultiplyAlpha(hintImage_.get());
}

void TvlCustomHintWindow::PaintCustomControl(TBitmap* Bitmap, const TRect& Content) {
  TWinControl* c = ActiveHintManager->Settings().CustomControl;
  c->SetBounds(Content.Left, Content.Top, c->Width(), c->Height());
  c->SetVisible(true);
  // The control asks its parent for the background while it paints: the
  // hint image answers, through a procedure that is put back however the
  // paint ends.
  savedCustomProc_ = c->WindowProc;
  const TWndMethod mine = TWndMethod::Of<&TvlCustomHintWindow::HintWindowProc>(this);
  c->WindowProc = mine;
  customProcSwapped_ = true;
  struct Restore {
    TvlCustomHintWindow* w;
    TWinControl* c;
    TWndMethod mine;
    ~Restore() {
      if (c->WindowProc == mine) c->WindowProc = w->savedCustomProc_;
      w->customProcSwapped_ = false;
    }
  } restore{this, c, mine};
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  TSelectedObject bmp(dc.Get(), Bitmap->Handle());
  auto paint = [&](TControl* child, int x, int y) {
    TSavedDC saved(dc.Get());
    SetWindowOrgEx(dc.Get(), -x, -y, nullptr);
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc.Get()), 0);
    SetAlphaInRect(Bitmap, {x, y, x + child->Width(), y + child->Height()}, 255, kShapeKey);
  };
  paint(c, Content.Left, Content.Top);
  for (int i = 0; i < c->ControlCount(); ++i) {
    TControl* child = c->Controls(i);
    if (child->Visible()) paint(child, Content.Left + child->Left(), Content.Top + child->Top());
  }
}

void TvlCustomHintWindow::HintWindowProc(TMessage& m) {
  if (m.Msg == SkinCommandMessage && SkinCmdCode(m.WParam) == SkinCmdGetBackground) {
    WndProc(m);
    return;
  }
  if (savedCustomProc_) savedCustomProc_(m);
}

void TvlCustomHintWindow::PaintHintContent(TBitmap* Bitmap) {
  TvlHintManager* manager = ActiveHintManager;
  if (!manager || !Bitmap) return;
  const TvlHintSettings& set = manager->Settings();
  const bool skinned = UsesHintSkin();
  TRect r{0, 0, Bitmap->Width(), Bitmap->Height()};
  if (skinned) {
    const int pad = ScaledHintPadding();
    r = {r.Left + HintBorderWidth(1) + pad, r.Top + HintBorderWidth(0) + pad,
         r.Right - HintBorderWidth(3) - pad, r.Bottom - HintBorderWidth(2) - pad};
  } else if (const TvlHintImage* image = CurrentImage()) {
    // The text keeps the margins it was measured with.
    const TvlBordersSizes& m = image->ClientMargins();
    r = {r.Left + m.Left(), r.Top + m.Top(), r.Right - m.Right(), r.Bottom - m.Bottom()};
  }
  if (manager->PaintHintEvent(Bitmap, r)) return;

  if (set.FixedSize) {
    TRect text = r;
    if (TBitmap* pic = set.Picture) {
      const int pw = pic->Width(), ph = pic->Height(), gap = 4;
      TRect place{r.Left, r.Top, r.Left + pw, r.Top + ph};
      switch (set.PictureLayout) {
        case 1:  // above the caption
          OffsetRect(place.AsRECT(), (r.Width() - pw) / 2, 0);
          text.Top = place.Bottom + gap;
          break;
        case 2:  // right of it
          OffsetRect(place.AsRECT(), r.Width() - pw, (r.Height() - ph) / 2);
          text.Right = place.Left - gap;
          break;
        case 3:  // below it
          OffsetRect(place.AsRECT(), (r.Width() - pw) / 2, r.Height() - ph);
          text.Bottom = place.Top - gap;
          break;
        default:
          OffsetRect(place.AsRECT(), 0, (r.Height() - ph) / 2);
          text.Left = place.Right + gap;
          break;
      }
      if (pic->PixelFormat() == pf32bit)
        AlphaCopyArgb(place, {0, 0, pw, ph}, Bitmap, pic, EmptyBackgroundInfo, false, clNone, 0,
                      false);
      else
        Bitmap->Canvas()->Draw(place.Left, place.Top, pic);
    }
    DrawTextArgb(Bitmap, set.Caption, true, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                 Bitmap->Canvas()->Font()->Color(), false);
    return;
  }
  if (set.CustomControl) {
    PaintCustomControl(Bitmap, r);
    return;
  }
  const std::string text =
      skinned || HintText.empty() ? (HintText.empty() ? Caption() : HintText) : HintText;
  if (set.HtmlMode) {
    TsHtml html;
    html.AlphaText = true;
    if (skinned && DefaultManager)
      Bitmap->Canvas()->Font()->SetColor(DefaultManager->Section(SkinIndex).Props[0].FontColor);
    html.Init(Bitmap, text, r, -1, -1);
    TvlLinks links;
    TRect size;
    html.Render(links, false, size);
    return;
  }
  if (skinned) {
    TFont font;
    font.Assign(Screen ? Screen->HintFont() : Font());
    ScaleHintFont(&font);
    Bitmap->Canvas()->Font()->Assign(&font);
    DrawSectionTextArgb(Bitmap, text, true, r,
                        DrawTextBiDiModeFlags(set.TextAlignment | kTemplateTextFlags), SkinIndex, 0,
                        DefaultManager);
    return;
  }
  HDC dc = Bitmap->Canvas()->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Bitmap->Canvas()->Font()->Color()));
  HGDIOBJ old = SelectObject(dc, Bitmap->Canvas()->Font()->Handle());
  RECT rr = r;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rr,
            DrawTextBiDiModeFlags(set.TextAlignment | kTemplateTextFlags));
  SelectObject(dc, old);
}

void TvlCustomHintWindow::ReleaseImages() {
  TvlHintManager* manager = ActiveHintManager;
  if (manager) {
    HintClosed(manager, this);
    manager->State.Visible = false;
    if (hintImage_) {
      delete manager->State.LastImage;
      manager->State.LastImage = hintImage_.release();
    }
  }
  hintImage_.reset();
  maskImage_.reset();
  frameImage_.reset();
}

void TvlPngHintWindow::MakeHintImage(int W, int H) {
  TvlHintManager* manager = ActiveHintManager;
  if (!manager) return;
  if (UsesHintSkin()) {
    TvlCustomHintWindow::MakeHintImage(W, H);
    return;
  }
  if (region_) {
    if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, FALSE);
    region_.Reset();
  }
  hintImage_ = NewWork(W, H);
  if (!image_) SelectHintImage();
  if (!image_) return;
  image_->LoadHintImageFromData();
  TPNGGraphic* png = image_->Image();
  if (!png->Empty()) {
    // The picture in 32 bits with its alpha, whatever its PNG format.
    auto src = NewWork(png->Width(), png->Height());
    ConvertPngToArgb(src.get(), png);
    const TvlBordersSizes& b = image_->BordersWidths();
    const TvlBorderDrawModes& m = image_->BorderDrawModes();
    BlitNineSlice(hintImage_.get(), src.get(), {0, 0, W, H}, {0, 0, png->Width(), png->Height()},
                  {b.Left(), b.Top(), b.Right(), b.Bottom()}, {255, 255, 255, 255},
                  {m.Get(TvlBorderDrawModes::pLeft), m.Get(TvlBorderDrawModes::pTop),
                   m.Get(TvlBorderDrawModes::pRight), m.Get(TvlBorderDrawModes::pBottom)},
                  m.Get(TvlBorderDrawModes::pCenter) == dmStretch, true);
  }
  auto frame = NewWork(W, H);
  CopyBitmapInto(frame.get(), hintImage_.get());
  TFont font;
  if (TvlHintTemplate* t = CurrentHintTemplate()) font.Assign(t->Font());
  ScaleHintFont(&font);
  hintImage_->Canvas()->Font()->Assign(&font);
  PaintHintContent(hintImage_.get());
  CopyArgbChannel(hintImage_.get(), frame.get(), 3);
  PremultiplyAlpha(hintImage_.get());
}

void TvlPngHintWindow::ReleaseImages() {
  // A template hint hands no image to the manager.
  hintImage_.reset();
  TvlCustomHintWindow::ReleaseImages();
}
