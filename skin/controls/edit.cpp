// The edit's object, properties and message routing.
#include "skin/controls/edit.h"

#include <cstring>

#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/skin_commands.h"

namespace {

int Bit(bool v) {
  return v ? 1 : 0;
}

// The slot of "EDIT" among the standard sections.
size_t StdEditSlot() {
  static const size_t slot = [] {
    for (size_t i = 0; i < StdSectionNames.size(); ++i)
      if (std::strcmp(StdSectionNames[i], "EDIT") == 0) return i;
    return StdSectionNames.size();
  }();
  return slot;
}

}  // namespace

// ---- Frame arithmetic

int EditEdgeWidth(const TEditFrame& f) {
  return Bit(f.Bordered) * (Bit(f.Ctl3D) + 1) +
         (Bit(f.BevelOuter != bvNone) + Bit(f.BevelInner != bvNone)) * Bit(f.BevelKind != bkNone);
}

TRect EditTextRect(const TEditFrame& f, int Width, int Height, bool RightToLeft) {
  const int a = f.Bordered ? (Bit(f.Ctl3D) + 1) +
                                 (Bit(f.BevelOuter != bvNone) + Bit(f.BevelInner != bvNone)) *
                                     Bit(f.BevelKind != bkNone)
                           : 0;
  const int e = Bit(f.Bordered);
  TRect r(a + e, a + e, Width - a - e, Height - a);
  if (RightToLeft) r.Right -= 1;
  return r;
}

int EditChildOffset(const TEditFrame& f) {
  return Bit(f.Bordered) * (Bit(f.Ctl3D) + 2) - 1;
}

// ---- Object

TsEditSkinStore::TsEditSkinStore() : skinData_(new TsCtrlSkinData(nullptr, true)) {
  skinData_->ControlKind = ckEdit;
}

TsEditSkinStore::~TsEditSkinStore() {
  TObject::Free(skinData_);
}

const TClassInfo& TsEdit::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsEdit> b("TsEdit", &TEdit::StaticClass());
    b.Creatable();
    using T = TsEdit;
    b.Set(
        "DisabledKind", DisabledKindInfo(), [](const T& c) { return c.DisabledKind(); },
        [](T& c, int v) { c.SetDisabledKind(static_cast<TsDisabledKind>(v)); }, dkBlended);
    b.SubObject<&TsEdit::BoundLabel>("BoundLabel");
    return b.Done();
  }();
  return info;
}

TsEdit::TsEdit(TComponent* AOwner) : TEdit(AOwner) {
  // The skin state was made unattached: the edit it serves exists only now.
  skinData_->Control = this;
  skinData_->OwnerObject = this;
  skinData_->OwnerWndProc = WindowProc;
  RegisterSkinData(skinData_);
  boundLabel_ = new TsBoundLabel(skinData_);
}

TsEdit::~TsEdit() {
  TObject::Free(boundLabel_);
  boundLabel_ = nullptr;
  TObject::Free(skinData_);
  skinData_ = nullptr;
}

void TsEdit::AfterConstruction() {
  TEdit::AfterConstruction();
  skinData_->Loaded(true);
}

void TsEdit::Loaded() {
  TEdit::Loaded();
  skinData_->Loaded(true);
}

void TsEdit::SetDisabledKind(TsDisabledKind Value) {
  if (disabledKind_ == Value) return;
  disabledKind_ = Value;
  skinData_->Invalidate(false);
}

TEditFrame TsEdit::Frame() const {
  TEditFrame f;
  f.Bordered = BorderStyle() == bsSingle;
  f.Ctl3D = Ctl3D();
  f.BevelKind = BevelKind();
  f.BevelInner = BevelInner();
  f.BevelOuter = BevelOuter();
  return f;
}

void TsEdit::PassToBoundLabel(TMessage& Message) {
  if (boundLabel_) boundLabel_->HandleOwnerMessage(Message, this);
}

// ---- Messages

bool TsEdit::OwnManager(const TMessage& m) const {
  TsSkinManager* manager = skinData_->SkinManager();
  return manager && m.LParam == reinterpret_cast<LPARAM>(manager);
}

TsEdit::TRoute TsEdit::SkinCommand(TMessage& m) {
  switch (SkinCmdCode(m.WParam)) {
    case SkinCmdNewSkin:
    case SkinCmdRemoveSkin:
      if (!OwnManager(m)) return TRoute::Platform;
      HandleControlMessage(m, skinData_);
      return TRoute::Done;
    case SkinCmdRefresh:
      if (!OwnManager(m)) return TRoute::Platform;
      HandleControlMessage(m, skinData_);
      if (!GlobalAnimationActive && HandleAllocated() && Visible())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
      return TRoute::Done;
    case SkinCmdGetDefaultSection:
      if (TsSkinManager* manager = skinData_->SkinManager();
          manager && StdEditSlot() < manager->ConstData.Sections.size()) {
        m.Result = manager->ConstData.Sections[StdEditSlot()] + 1;
        return TRoute::Done;
      }
      break;
    case SkinCmdBackgroundVaries:
      // Children see the same face wherever they stand.
      m.Result = 0;
      return TRoute::Done;
    case SkinCmdGetBgColor:
      if (Skinned()) return TRoute::Platform;
      m.Result = static_cast<LRESULT>(ColorToRGB(Color()));
      return TRoute::Done;
    default:
      break;
  }
  return HandleSkinCommand(m, skinData_) ? TRoute::Done : TRoute::Platform;
}

// The skinned messages the edit paints itself; every other one takes the
// common way to the platform. A handler answering Platform lets its message
// go on that way too. Only what reaches the platform reaches the bound label.
const TsEdit::TRouteEntry TsEdit::SkinnedRoutes[] = {
    {WM_PAINT, &TsEdit::SkinnedPaint},    {WM_ERASEBKGND, &TsEdit::SkinnedErase},
    {CN_DRAWITEM, &TsEdit::SkinnedErase}, {WM_NCPAINT, &TsEdit::SkinnedNcPaint},
    {WM_PRINT, &TsEdit::SkinnedPrint},    {CM_COLORCHANGED, &TsEdit::SkinnedColorChanged},
};

TsEdit::TRoute TsEdit::SkinnedPaint(TMessage& m) {
  if (GlobalAnimationActive || skinData_->CheckUpdating(false)) {
    PAINTSTRUCT ps;
    BeginPaint(Handle(), &ps);
    EndPaint(Handle(), &ps);
    return TRoute::Done;
  }
  // While the user types, the platform draws the text and its caret.
  if (Enabled() && Focused()) return TRoute::Platform;
  PaintFromCache(reinterpret_cast<HDC>(m.WParam));
  return TRoute::Done;
}

TsEdit::TRoute TsEdit::SkinnedErase(TMessage& m) {
  if (!GlobalAnimationActive && !skinData_->CheckUpdating(false) && Enabled()) TEdit::WndProc(m);
  return TRoute::Done;
}

TsEdit::TRoute TsEdit::SkinnedNcPaint(TMessage&) {
  if (!IsWindowVisible(Handle())) return TRoute::Platform;
  PaintBorder();
  return TRoute::Done;
}

TsEdit::TRoute TsEdit::SkinnedColorChanged(TMessage&) {
  if (skinData_->CustomColor) skinData_->BgChanged = true;
  return TRoute::Platform;
}

void TsEdit::SkinnedCommon(TMessage& m) {
  TEdit::WndProc(m);
  switch (m.Msg) {
    case WM_SETTEXT:
    case WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      if (HasState(csLoading) || skinData_->AnimationRunning() || GlobalAnimationActive) break;
      skinData_->BgChanged = true;
      Repaint();
      SendMessageA(Handle(), WM_NCPAINT, 0, 0);
      break;
    case WM_SIZE:
      SendMessageA(Handle(), WM_NCPAINT, 0, 0);
      break;
    default:
      break;
  }
}

void TsEdit::PlainMessage(TMessage& m) {
  if (m.Msg == WM_NCCREATE || m.Msg == WM_CREATE) RegisterSkinData(skinData_);
  TEdit::WndProc(m);
  // A skin that came while the edit had no window (the broadcast passes
  // windowless controls by) is taken when the edit is shown.
  if (m.Msg == CM_SHOWINGCHANGED && Showing()) HandleControlMessage(m, skinData_);
}

void TsEdit::WndProc(TMessage& m) {
  if (m.Msg == SkinCommandMessage && SkinCommand(m) == TRoute::Done) return;
  if (ControlIsReady(this) && Skinned()) {
    for (const TRouteEntry& route : SkinnedRoutes) {
      if (route.Msg != m.Msg) continue;
      if ((this->*route.Handle)(m) == TRoute::Done) return;
      break;
    }
    if (HandleControlMessage(m, skinData_)) return;
    SkinnedCommon(m);
  } else if (m.Msg == WM_PRINT) {
    PaintTo(reinterpret_cast<HDC>(m.WParam), 0, 0);
    return;
  } else {
    PlainMessage(m);
  }
  PassToBoundLabel(m);
}
