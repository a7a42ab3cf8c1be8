// The group box's object, properties and messages.
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
      // A given DC (a print or a parent's paint) leaves the update region
      // alone: only the window's own paint validates it.
      if (HDC given = reinterpret_cast<HDC>(m.WParam)) {
        PaintTo(given);
      } else {
        PAINTSTRUCT ps{};
        BeginPaint(Handle(), &ps);
        {
          TWindowDC dc(Handle(), GetDC(Handle()));
          if (dc) PaintTo(dc.Get());
        }
        EndPaint(Handle(), &ps);
      }
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
