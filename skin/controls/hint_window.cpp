// The hint windows: their window procedure and the measuring of a hint.
#include <algorithm>

#include "skin/controls/alpha_hints.h"
#include "skin/controls/hint_templates.h"
#include "skin/controls/html_text.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"

TvlCustomHintWindow* CurrentHintWindow = nullptr;

namespace {

// Measuring flags: alignment + DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX |
// DT_VCENTER.
constexpr UINT kMeasureFlags = 0xC14;

}  // namespace

// ---- TvlCustomHintWindow ----------------------------------------------------------

const TClassInfo& TvlCustomHintWindow::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlCustomHintWindow> b("TvlCustomHintWindow", &THintWindow::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TvlCustomHintWindow::TvlCustomHintWindow(TComponent* AOwner) : THintWindow(AOwner) {
  CurrentHintWindow = this;
}

TvlCustomHintWindow::~TvlCustomHintWindow() {
  try {
    ReleaseImages();
  } catch (...) {
  }
  if (CurrentHintWindow == this) CurrentHintWindow = nullptr;
  if (ActiveHintManager && ActiveHintManager->State.HintWindow == this)
    ActiveHintManager->State.HintWindow = nullptr;
}

void TvlCustomHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);
}

void TvlCustomHintWindow::WndProc(TMessage& m) {
  if (m.Msg == SkinCommandMessage) {
    switch (SkinCmdCode(m.WParam)) {
      case SkinCmdIsSkinned:
        m.Result = 1;
        return;
      case SkinCmdBackgroundVaries:
        m.LParam = 1;
        break;
      case SkinCmdGetBackground: {
        auto* r = reinterpret_cast<BackgroundRequest*>(m.LParam);
        if (!r) return;
        if (frameImage_) {
          r->Bitmap = frameImage_.get();
          r->OffsetX = 0;
          r->OffsetY = 0;
          r->Kind = bgBitmap;
        } else {
          r->Color = clWindow;
          r->Kind = bgColor;
        }
        m.Result = 1;
        return;
      }
      default:
        break;
    }
  }
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_NCHITTEST:
      // The bubble never stands between the mouse and the hint's control.
      m.Result = HTTRANSPARENT;
      return;
    case WM_NCPAINT:
      if (ActiveHintManager && HandleAllocated() && !region_ && hintImage_)
        MakeHintRegion(hintImage_->Width(), hintImage_->Height());
      m.Result = 1;
      return;
    case WM_DESTROY:
      ReleaseImages();
      break;
    default:
      break;
  }
  THintWindow::WndProc(m);
  TvlHintManager* manager = ActiveHintManager;
  if (!manager) return;
  TvlHintState& s = manager->State;
  switch (m.Msg) {
    case WM_MOVE:
    case WM_SIZE:
      if (!s.Activating && s.LayerForm && HandleAllocated()) {
        RECT r;
        GetWindowRect(Handle(), &r);
        s.LayerForm->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        s.ScreenRect = r;
      }
      break;
    case WM_SHOWWINDOW:
      if (m.WParam)
        CurrentHintWindow = this;
      else
        HintClosed(manager, this);
      break;
    default:
      break;
  }
}

void TvlCustomHintWindow::SelectSkinParts() {
  SkinIndex = BorderIndex = PatternIndex = -1;
  TsSkinManager* sm = DefaultManager;
  TvlHintManager* manager = ActiveHintManager;
  if (!sm || !sm->Active() || !manager) return;
  std::string name = manager->Settings().SkinSection;
  SkinIndex = FindSectionIndex(sm, name);
  if (SkinIndex < 0) {
    name = "EDIT";
    SkinIndex = FindSectionIndex(sm, name);
  }
  if (SkinIndex < 0) return;
  BorderIndex = GetMaskIndex(*sm, SkinIndex, name, "BORDERSMASK");
  PatternIndex = GetTextureIndex(*sm, SkinIndex, name, "PATTERN");
}

int TvlCustomHintWindow::HintBorderWidth(int Side) const {
  TsSkinManager* sm = DefaultManager;
  if (!sm || !sm->ValidImage(BorderIndex)) return 0;
  const TsMaskData& mask = sm->ImageData(BorderIndex);
  const int given = Side == 0   ? mask.BorderTop
                    : Side == 1 ? mask.BorderLeft
                    : Side == 2 ? mask.BorderBottom
                                : mask.BorderRight;
  if (given > 0) return given;
  const int w = mask.SourceRect.right - mask.SourceRect.left;
  const int h = mask.SourceRect.bottom - mask.SourceRect.top;
  if (Side == 1 || Side == 3) return w / std::max(1, mask.FrameCount * 3);
  return h / std::max(1, mask.MaskCount * 3 + 3);
}

TSize TvlCustomHintWindow::ContentSize(int MaxWidth, const std::string& Text, TFont* Font) {
  TvlHintManager* manager = ActiveHintManager;
  const TvlHintSettings& set = manager->Settings();
  if (set.FixedSize) return {set.FixedWidth, set.FixedHeight};
  if (set.CustomControl)
    return {set.CustomControl->ClientWidth(), set.CustomControl->ClientHeight()};
  TRect r{0, 0, MaxWidth, 0};
  if (set.HtmlMode) {
    auto work = std::make_unique<TBitmap>();
    work->SetPixelFormat(pf32bit);
    work->SetSize(1, 1);
    work->Canvas()->Font()->Assign(Font);
    TsHtml html;
    html.Init(work.get(), Text, r, -1, -1);
    TvlLinks links;
    TRect size;
    html.Render(links, true, size);
    return {size.Width(), size.Height()};
  }
  RECT rr = r;
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  HGDIOBJ old = SelectObject(dc.Get(), Font->Handle());
  DrawTextA(dc.Get(), Text.c_str(), static_cast<int>(Text.size()), &rr,
            DrawTextBiDiModeFlags(set.TextAlignment | kMeasureFlags));
  SelectObject(dc.Get(), old);
  return {rr.right - rr.left, rr.bottom - rr.top};
}

TRect TvlCustomHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint) {
  TvlHintManager* manager = ActiveHintManager;
  if (!manager) return {};
  const bool skinned = UsesHintSkin();
  if (skinned) SelectSkinParts();
  TFont font;
  font.Assign(Screen ? Screen->HintFont() : Font());
  if (skinned) ScaleHintFont(&font);
  TSize size = ContentSize(MaxWidth, AHint, &font);
  manager->HintSizeEvent(size.cx, size.cy);
  TRect r{0, 0, size.cx, size.cy};
  if (skinned) {
    const int pad = 2 * ScaledHintPadding();
    r.Right += HintBorderWidth(1) + HintBorderWidth(3) + pad;
    r.Bottom += HintBorderWidth(0) + HintBorderWidth(2) + pad;
  }
  return r;
}

// ---- TvlPngHintWindow -------------------------------------------------------------

const TClassInfo& TvlPngHintWindow::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlPngHintWindow> b("TvlPngHintWindow", &TvlCustomHintWindow::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TvlPngHintWindow::TvlPngHintWindow(TComponent* AOwner) : TvlCustomHintWindow(AOwner) {}

void TvlPngHintWindow::SelectHintImage() {
  TvlHintManager* manager = ActiveHintManager;
  Corner = manager ? std::clamp(manager->Settings().DefaultCorner, 0, 3) : 0;
  image_ = CornerImage(CurrentHintTemplate(), Corner);
}

namespace {

TRect AddTemplateMargins(TSize Size, const TvlHintImage* Image) {
  const TvlBordersSizes& m = Image->ClientMargins();
  return {0, 0, Size.cx + m.Left() + m.Right(), Size.cy + m.Top() + m.Bottom()};
}

bool OnlyDefaultImage(TvlHintTemplate* t) {
  for (int i = 1; i < 4; ++i) {
    t->Images(i)->LoadHintImageFromData();
    if (!t->Images(i)->Empty()) return false;
  }
  return true;
}

TPoint CursorPoint() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

}  // namespace

TRect TvlPngHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint) {
  TvlHintManager* manager = ActiveHintManager;
  if (!manager) return {};
  TvlHintState& s = manager->State;
  const TvlHintSettings& set = manager->Settings();
  if (UsesHintSkin()) {
    image_ = nullptr;
    TRect r = TvlCustomHintWindow::CalcHintRect(MaxWidth, AHint);
    if (set.AnchorControl) {
      const TPoint p = set.AnchorControl->ClientToScreen({0, set.AnchorControl->Height()});
      s.Point = p;
    }
    return r;
  }
  TvlHintTemplate* t = CurrentHintTemplate();
  if (!t) return {};
  SelectHintImage();
  if (!image_) return {};
  TFont font;
  font.Assign(t->Font());
  ScaleHintFont(&font);
  TSize size = ContentSize(MaxWidth, AHint, &font);
  manager->HintSizeEvent(size.cx, size.cy);
  TRect r = AddTemplateMargins(size, image_);

  TPoint point;
  if (set.AnchorControl) {
    point = s.FixedPos.X == -1 ? CursorPoint() : s.FixedPos;
    s.HintControl = set.AnchorControl;
    AdjustHintPointToControl(point, set.AnchorControl, t, image_, Corner);
  } else if (set.FixedSize && s.FixedPos.X != -1) {
    point = s.FixedPos;
  } else {
    point = (s.Point.X != 0 && s.Point.Y != 0) ? s.Point : CursorPoint();
  }
  TRect placed = r;
  const TRect m = HintContentMargins(image_, false);
  OffsetRect(placed.AsRECT(), point.X - m.Left, point.Y - m.Top);
  PlaceHint(placed, point, Corner, image_, false, OnlyDefaultImage(t));
  if (Corner != 0) {
    TvlHintImage* corner = CornerImage(t, Corner);
    if (corner && !corner->Empty()) {
      image_ = corner;
      AdjustHintPointToControl(point, s.HintControl, t, image_, Corner);
    }
  }
  s.Point = point;
  return AddTemplateMargins(size, image_);
}
