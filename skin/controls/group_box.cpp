// The group box's object, properties, caption geometry and messages.
#include "skin/controls/group_box.h"

#include <algorithm>

#include "skin/engine/anim_timer.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

const TEnumInfo& GroupCaptionLayoutInfo() {
  static const TEnumInfo e{{"clTopLeft", "clTopCenter", "clTopRight"}};
  return e;
}

// Mouse messages carry the point the user acted at; the cursor may already
// be elsewhere when the message is handled.
POINT PointOf(LPARAM p) {
  return POINT{static_cast<short>(LOWORD(p)), static_cast<short>(HIWORD(p))};
}

}  // namespace

// ---- TsMargin

const TClassInfo& TsMargin::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsMargin> b("TsMargin", &TPersistent::StaticClass());
    b.Int(
        "Left", [](const TsMargin& m) { return m.Left(); },
        [](TsMargin& m, int v) { m.SetLeft(v); }, 2);
    b.Int(
        "Top", [](const TsMargin& m) { return m.Top(); }, [](TsMargin& m, int v) { m.SetTop(v); },
        0);
    b.Int(
        "Right", [](const TsMargin& m) { return m.Right(); },
        [](TsMargin& m, int v) { m.SetRight(v); }, 2);
    b.Int(
        "Bottom", [](const TsMargin& m) { return m.Bottom(); },
        [](TsMargin& m, int v) { m.SetBottom(v); }, 0);
    return b.Done();
  }();
  return info;
}

TPersistent* TsMargin::GetOwner() const {
  return owner_;
}

void TsMargin::AssignTo(TPersistent* Dest) {
  auto* m = dynamic_cast<TsMargin*>(Dest);
  if (!m) {
    TPersistent::AssignTo(Dest);
    return;
  }
  m->SetLeft(left_);
  m->SetTop(top_);
  m->SetRight(right_);
  m->SetBottom(bottom_);
}

void TsMargin::Set(int& Field, int v) {
  if (Field == v) return;
  Field = v;
  Changed();
}

void TsMargin::Changed() {
  if (owner_ && !owner_->HasState(csLoading)) owner_->Changed();
}

// ---- TsGroupBox

const TClassInfo& TsGroupBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsGroupBox> b("TsGroupBox", &TGroupBox::StaticClass());
    b.Creatable();
    b.Enum(
        "CaptionLayout", GroupCaptionLayoutInfo(),
        [](const TsGroupBox& c) { return c.CaptionLayout(); },
        [](TsGroupBox& c, int v) { c.SetCaptionLayout(static_cast<TsCaptionLayout>(v)); },
        clTopLeft);
    b.SubObject<&TsGroupBox::CaptionMargin>("CaptionMargin");
    b.Int(
        "CaptionYOffset", [](const TsGroupBox& c) { return c.CaptionYOffset(); },
        [](TsGroupBox& c, int v) { c.SetCaptionYOffset(v); }, 0);
    b.Int(
        "CaptionWidth", [](const TsGroupBox& c) { return c.CaptionWidth(); },
        [](TsGroupBox& c, int v) { c.SetCaptionWidth(v); }, 0);
    b.Str(
        "CaptionSkin", [](const TsGroupBox& c) { return c.CaptionSkin(); },
        [](TsGroupBox& c, const std::string& v) { c.SetCaptionSkin(v); });
    b.Bool(
        "CheckBoxVisible", [](const TsGroupBox& c) { return c.CheckBoxVisible(); },
        [](TsGroupBox& c, int v) { c.SetCheckBoxVisible(v != 0); }, false);
    b.Bool(
        "Checked", [](const TsGroupBox& c) { return c.Checked(); },
        [](TsGroupBox& c, int v) { c.SetChecked(v != 0); }, false);
    b.Event<&TsGroupBox::OnCheckBoxChanged>("OnCheckBoxChanged");
    return b.Done();
  }();
  return info;
}

TsGroupBox::TsGroupBox(TComponent* AOwner) : TGroupBox(AOwner) {
  skinData_ = New<TsCommonData>(this, true);
  skinData_->ControlKind = ckGroupBox;
  captionMargin_ = new TsMargin(this);
}

TsGroupBox::~TsGroupBox() {
  TObject::Free(skinData_);
  skinData_ = nullptr;
  TObject::Free(captionMargin_);
  captionMargin_ = nullptr;
}

void TsGroupBox::AfterConstruction() {
  TGroupBox::AfterConstruction();
  skinData_->Loaded(true);
}

void TsGroupBox::Loaded() {
  TGroupBox::Loaded();
  skinData_->Loaded(true);
}

void TsGroupBox::Changed() {
  if (HasState(csLoading) || HasState(csDestroying)) return;
  if (Skinned())
    skinData_->Invalidate();
  else
    Invalidate();
}

void TsGroupBox::SetCaptionLayout(TsCaptionLayout v) {
  if (captionLayout_ == v) return;
  captionLayout_ = v;
  if (!Caption().empty()) Changed();
}

void TsGroupBox::SetCaptionYOffset(int v) {
  if (captionYOffset_ == v) return;
  captionYOffset_ = v;
  Changed();
  if (!HasState(csLoading)) Realign();
}

void TsGroupBox::SetCaptionWidth(int v) {
  if (captionWidth_ == v) return;
  captionWidth_ = v;
  Changed();
}

void TsGroupBox::SetCaptionSkin(const std::string& v) {
  if (captionSkin_ == v) return;
  captionSkin_ = v;
  Changed();
}

void TsGroupBox::SetCheckBoxVisible(bool v) {
  if (checkBoxVisible_ == v) return;
  checkBoxVisible_ = v;
  Changed();
}

void TsGroupBox::SetChecked(bool v) {
  if (checked_ == v) return;
  checked_ = v;
  if (HasState(csLoading)) return;
  // A press repaints the check area itself when it is released.
  if (!checkPressed_) Changed();
  if (OnCheckBoxChanged) OnCheckBoxChanged(this);
}

void TsGroupBox::AdjustClientRect(TRect& Rect) {
  if (HasState(csDestroying)) return;
  TGroupBox::AdjustClientRect(Rect);
  Rect.Top += captionYOffset_;
}

void TsGroupBox::Paint() {
  PaintTo(Canvas()->Handle());
}

// ---- Caption geometry

TCanvas* TsGroupBox::MeasureCanvas() {
  TCanvas* c = skinData_->CacheBitmap->Canvas();
  c->SetFont(Font());
  return c;
}

int TsGroupBox::CaptionTextHeight() {
  return std::max(4, MeasureCanvas()->TextHeight("W")) + 2;
}

int TsGroupBox::CaptionHeight() {
  return CaptionTextHeight() + captionYOffset_ + captionMargin_->Top() + captionMargin_->Bottom();
}

int TsGroupBox::CheckBoxImage() {
  TsSkinManager* m = skinData_->SkinManager();
  if (!m) return -1;
  const int index = m->ConstData.CheckBoxes[checked_ ? 1 : 0];
  return index >= 0 && index < m->ImageCount() ? index : -1;
}

int TsGroupBox::CheckBoxWidth() {
  if (!Skinned()) return ThemesEnabled() ? 16 : 13;
  const int i = CheckBoxImage();
  return i < 0 ? 0 : skinData_->SkinManager()->ImageData(i).FrameWidth;
}

int TsGroupBox::CheckBoxHeight() {
  if (!Skinned()) return ThemesEnabled() ? 16 : 13;
  const int i = CheckBoxImage();
  return i < 0 ? 0 : skinData_->SkinManager()->ImageData(i).FrameHeight;
}

TRect TsGroupBox::CaptionRect() {
  TRect r;
  r.Top = std::min(0, captionYOffset_);
  r.Bottom = CaptionHeight();
  const int ml = captionMargin_->Left(), mr = captionMargin_->Right(), m = ml + mr;
  const bool rtl = UseRightToLeftAlignment();
  const bool nearSide =
      (captionLayout_ == clTopLeft && !rtl) || (captionLayout_ == clTopRight && rtl);
  const int w = Width();
  if (captionWidth_ > 0) {
    const int cw = captionWidth_;
    if (captionLayout_ == clTopCenter)
      r.Left = (w - cw - 6) / 2;
    else if (nearSide)
      r.Left = ml + 6;
    else
      r.Left = w - cw - mr - 6;
    r.Left = std::max(0, r.Left);
    r.Right = std::min(r.Left + cw + ml, w);
  } else {
    const std::string text = Caption();
    const int t = text.empty() ? 0 : MeasureCanvas()->TextWidth(text);
    if (captionLayout_ == clTopCenter)
      r.Left = (w - t - m - 6) / 2;
    else if (nearSide)
      r.Left = 6;
    else
      r.Left = w - t - 2 * m - 6;
    r.Left = std::max(0, r.Left);
    r.Right = std::min(r.Left + t + 2 * m, w);
  }
  const int bevel = BevelWidth();
  if (r.Width() < 2 * bevel) {
    r.Left -= bevel;
    r.Right += bevel;
  }
  if (checkBoxVisible_) {
    const int shift = CheckBoxWidth() + 2;
    if (captionLayout_ == clTopLeft && !rtl) OffsetRect(r.AsRECT(), shift, 0);
    if (captionLayout_ == clTopRight && rtl) OffsetRect(r.AsRECT(), -shift, 0);
  }
  return r;
}

TRect TsGroupBox::CheckBoxRect() {
  if (!checkBoxVisible_) return TRect();
  const TRect c = CaptionRect();
  const int cw = CheckBoxWidth(), ch = CheckBoxHeight();
  TRect r;
  r.Top = std::max(0, (c.Height() - ch) / 2);
  r.Bottom = r.Top + ch;
  if (!UseRightToLeftAlignment()) {
    r.Right = c.Left - 2;
    r.Left = r.Right - cw;
  } else {
    r.Left = c.Right + 2;
    r.Right = r.Left + cw;
  }
  return r;
}

TRect TsGroupBox::CheckArea() {
  const TRect caption = CaptionRect();
  if (!checkBoxVisible_) return caption;
  const TRect box = CheckBoxRect();
  RECT u{};
  UnionRect(&u, caption.AsRECT(), box.AsRECT());
  return TRect(u.left, u.top, u.right, u.bottom);
}

bool TsGroupBox::InCheckArea(LPARAM Point) {
  if (HasState(csDesigning)) return false;
  const POINT p = PointOf(Point);
  return PtInRect(CheckBoxRect().AsRECT(), p) || PtInRect(CaptionRect().AsRECT(), p);
}

// ---- The check box

void TsGroupBox::FilterCheckBoxMessage(const TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      if (!checkBoxVisible_) return;
      const int hot = InCheckArea(m.LParam) ? 1 : 0;
      if (hot == checkHot_) return;
      checkHot_ = hot;
      RepaintCheckArea(hot, true);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!checkBoxVisible_ || !Enabled() || !InCheckArea(m.LParam)) return;
      checkPressed_ = true;
      RepaintCheckArea(2, false);
      return;
    case WM_LBUTTONUP:
      if (!checkPressed_) return;
      if (InCheckArea(m.LParam)) SetChecked(!checked_);
      checkPressed_ = false;
      RepaintCheckArea(1, false);
      return;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      if (!checkHot_) return;
      checkHot_ = 0;
      RepaintCheckArea(0, true);
      return;
    case SkinCommandMessage:
      if (SkinCmdCode(m.WParam) != SkinCmdMouseLeave || !checkHot_) return;
      checkHot_ = 0;
      RepaintCheckArea(0, false);
      return;
    default:
      return;
  }
}

void TsGroupBox::RepaintCheckArea(int State, bool Animated) {
  if (!HandleAllocated() || HasState(csDestroying)) return;
  if (!Skinned()) {
    Invalidate();
    return;
  }
  TsSkinManager* manager = skinData_->SkinManager();
  const TRect area = CheckArea();
  TBitmap* cache = skinData_->CacheBitmap;
  if (Animated && State != 2 && manager && manager->Effects()->AllowAnimation() &&
      !skinData_->BgChanged) {
    // Entering fades in, leaving fades out; both blend from the old look.
    const int kind = State == 1 ? 1 : 0;
    const int startStep = EnsureAnimTimer(skinData_->AnimTimer, this, kind);
    TvlThreadedTimer* t = skinData_->AnimTimer;
    if (t->Enabled() && t->Kind == kind && t->Callback == CaptionFadeStep) return;
    CopyBitmapRect(t, t->OldImage, cache, area);
    PaintCaptionArea(State);
    fadeRepeats_ = 0;
    t->StartAnimation(skinData_, startStep, CaptionFadeStep, kind, false);
    return;
  }
  StopAnimation(skinData_);
  if (skinData_->BgChanged) {
    skinData_->Invalidate();
    return;
  }
  PaintCaptionArea(State);
  TWindowDC dc(Handle(), GetDC(Handle()));
  if (dc)
    BitBlt(dc.Get(), area.Left, area.Top, area.Width(), area.Height(), cache->Canvas()->Handle(),
           area.Left, area.Top, SRCCOPY);
}

// ---- Messages

bool TsGroupBox::HandleSkinMessage(TMessage& m) {
  TsSkinManager* manager = skinData_->SkinManager();
  const bool own = manager && m.LParam == reinterpret_cast<LPARAM>(manager);
  switch (SkinCmdCode(m.WParam)) {
    case SkinCmdNewSkin:
      BroadcastToChildControls(this, m);
      if (own) HandleSkinCommand(m, skinData_);
      return true;
    case SkinCmdRemoveSkin:
    case SkinCmdRefresh:
      if (own) {
        HandleSkinCommand(m, skinData_);
        BroadcastToChildControls(this, m);
        if (HandleAllocated()) Repaint();
      } else {
        BroadcastToChildControls(this, m);
      }
      return true;
    case SkinCmdIsSkinned:
      m.Result = 1;
      return true;
    case SkinCmdGetDefaultSection:
      if (manager) m.Result = manager->ConstData.Sections[kStdGroupBoxSection] + 1;
      return true;
    case SkinCmdPrepareCache:
      if (Skinned() && !skinData_->IsUpdating() && !PrepareCache()) skinData_->Updating = true;
      return true;
    case SkinCmdGetBackground:
      if (captionSkin_.empty()) break;
      if (auto* r = reinterpret_cast<BackgroundRequest*>(m.LParam)) {
        r->Bitmap = skinData_->CacheBitmap;
        r->OffsetX = r->OffsetY = 0;
        r->Kind = bgBitmap;
      }
      return true;
    case SkinCmdSetScale: {
      const int current = skinData_->ScalePercent;
      if (current > 0) captionWidth_ = MulDiv(captionWidth_, static_cast<int>(m.LParam), current);
      break;
    }
    case SkinCmdGetBounds:
      if (auto* r = reinterpret_cast<TRect*>(m.LParam)) {
        const int top = captionYOffset_ < 0 ? 0 : CaptionRect().Height() / 2;
        *r = TRect(Left(), Top() + top, Left() + Width(), Top() + Height());
      }
      return true;
    case SkinCmdResumePaint:
      if (skinData_->Updating) {
        if (Showing() && !skinData_->CheckUpdating(true) && HandleAllocated()) {
          RedrawWindow(Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME | RDW_NOCHILDREN);
          RepaintChildren(this);
        }
      } else if (!skinData_->HasOwnBackground()) {
        RepaintChildren(this);
      }
      return true;
    case SkinCmdGetSkinData:
      m.Result = reinterpret_cast<LRESULT>(skinData_);
      return true;
    default:
      break;
  }
  return HandleSkinCommand(m, skinData_);
}

void TsGroupBox::HandleSkinnedMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_MOVE:
      skinData_->BgChanged = skinData_->BgChanged || skinData_->NeedsRepaintOnMove();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TGroupBox::WndProc(m);
      return;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC given = reinterpret_cast<HDC>(m.WParam);
      BeginPaint(Handle(), &ps);
      if (given) {
        PaintTo(given);
      } else {
        TWindowDC dc(Handle(), GetDC(Handle()));
        if (dc) PaintTo(dc.Get());
      }
      EndPaint(Handle(), &ps);
      m.Result = 0;
      return;
    }
    case WM_ERASEBKGND:
      // Equal parameters are the library's own request for the background;
      // the system's erase would only flicker under the cache.
      m.Result = 1;
      if (m.WParam != static_cast<WPARAM>(m.LParam) || skinData_->BgChanged) return;
      if (HDC dc = reinterpret_cast<HDC>(m.WParam); skinData_->HasOwnBackground()) {
        BitBlt(dc, 0, 0, Width(), Height(), skinData_->CacheBitmap->Canvas()->Handle(), 0, 0,
               SRCCOPY);
      } else {
        TOwnedBrush brush(CreateSolidBrush(ColorToRGB(skinData_->BgColor(0, nullptr))));
        RECT r{0, 0, Width(), Height()};
        FillRect(dc, &r, brush.Get());
      }
      return;
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
      skinData_->BgChanged = true;
      break;
    case WM_PRINT:
      skinData_->Updating = false;
      PaintTo(reinterpret_cast<HDC>(m.WParam));
      return;
    case CM_TEXTCHANGED:
      skinData_->Invalidate();
      break;
    default:
      break;
  }
  if (HandleControlMessage(m, skinData_)) return;
  TGroupBox::WndProc(m);
}

void TsGroupBox::WndProc(TMessage& m) {
  FilterCheckBoxMessage(m);
  if (m.Msg == SkinCommandMessage && HandleSkinMessage(m)) return;
  if (m.Msg == CM_FONTCHANGED) {
    TGroupBox::WndProc(m);
    if (!Caption().empty()) Changed();
    return;
  }
  if (m.Msg == CM_ENABLEDCHANGED) {
    TGroupBox::WndProc(m);
    Changed();
    return;
  }
  if (!Skinned() || !ControlIsReady(this)) {
    if (m.Msg == WM_NCCREATE || m.Msg == WM_CREATE) RegisterSkinData(skinData_);
    TGroupBox::WndProc(m);
    // A skin that came while the box had no window is taken when it shows.
    if (m.Msg == CM_SHOWINGCHANGED && Showing()) HandleControlMessage(m, skinData_);
    return;
  }
  HandleSkinnedMessage(m);
}
