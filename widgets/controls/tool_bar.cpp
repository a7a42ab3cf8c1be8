// TToolBar and TToolButton: the bar's image lists and button size, and the
// buttons that take that size.
#include <algorithm>

#include "widgets/controls/comctrls.h"
#include "widgets/graphics/img_list.h"

// ---- TToolBar --------------------------------------------------------------------------------

const TClassInfo& TToolBar::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TToolBar> b("TToolBar", &TWinControl::StaticClass());
    b.Creatable();
    using T = TToolBar;
    b.Obj(
        "Images", TPropKind::Component, TCustomImageList::StaticClass(),
        [](const T& c) -> TObject* { return c.Images(); },
        [](T& c, TObject* v) { c.SetImages(dynamic_cast<TCustomImageList*>(v)); });
    b.Obj(
        "HotImages", TPropKind::Component, TCustomImageList::StaticClass(),
        [](const T& c) -> TObject* { return c.HotImages(); },
        [](T& c, TObject* v) { c.SetHotImages(dynamic_cast<TCustomImageList*>(v)); });
    b.Obj(
        "DisabledImages", TPropKind::Component, TCustomImageList::StaticClass(),
        [](const T& c) -> TObject* { return c.DisabledImages(); },
        [](T& c, TObject* v) { c.SetDisabledImages(dynamic_cast<TCustomImageList*>(v)); });
    b.Int(
        "ButtonWidth", [](const T& c) { return c.ButtonWidth(); },
        [](T& c, int v) { c.SetButtonWidth(v); }, 23);
    b.Int(
        "ButtonHeight", [](const T& c) { return c.ButtonHeight(); },
        [](T& c, int v) { c.SetButtonHeight(v); }, 22);
    b.Bool(
        "List", [](const T& c) { return c.List(); }, [](T& c, int v) { c.SetList(v != 0); }, false);
    b.Bool(
        "ShowCaptions", [](const T& c) { return c.ShowCaptions(); },
        [](T& c, int v) { c.SetShowCaptions(v != 0); }, false);
    return b.Done();
  }();
  return info;
}

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
  controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks;
  InitBounds(0, 0, 150, 29);
  InitAlign(alTop);
  InitColor(clBtnFace);
}

void TToolBar::SetImageList(TCustomImageList*& Field, TCustomImageList* v) {
  if (Field == v) return;
  // One list may serve in several roles: keep hearing of it while it does.
  TCustomImageList* old = Field;
  Field = v;
  if (old && old != images_ && old != hotImages_ && old != disabledImages_)
    old->RemoveFreeNotification(this);
  if (v) v->FreeNotification(this);
  Invalidate();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  for (TCustomImageList** field : {&images_, &hotImages_, &disabledImages_})
    if (*field == AComponent) *field = nullptr;
}

void TToolBar::SetButtonWidth(int v) {
  v = std::max(0, v);
  if (v == buttonWidth_) return;
  buttonWidth_ = v;
  ResizeButtons();
}

void TToolBar::SetButtonHeight(int v) {
  v = std::max(0, v);
  if (v == buttonHeight_) return;
  buttonHeight_ = v;
  ResizeButtons();
}

void TToolBar::SetList(bool v) {
  if (v == list_) return;
  list_ = v;
  Invalidate();
}

void TToolBar::SetShowCaptions(bool v) {
  if (v == showCaptions_) return;
  showCaptions_ = v;
  Invalidate();
}

int TToolBar::ButtonCount() const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++n;
  return n;
}

TToolButton* TToolBar::Buttons(int Index) const {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i)))
      if (Index-- == 0) return b;
  return nullptr;
}

void TToolBar::ResizeButtons() {
  for (int i = 0; i < ButtonCount(); ++i) {
    TToolButton* b = Buttons(i);
    b->SetBounds(b->Left(), b->Top(), buttonWidth_, buttonHeight_);
  }
}

// ---- TToolButton -----------------------------------------------------------------------------

const TEnumInfo& TToolButton::StyleInfo() {
  static const TEnumInfo info{
      {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider", "tbsTextButton"}};
  return info;
}

const TClassInfo& TToolButton::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TToolButton> b("TToolButton", &TGraphicControl::StaticClass());
    b.Creatable();
    b.Int(
        "ImageIndex", [](const TToolButton& c) { return c.ImageIndex(); },
        [](TToolButton& c, int v) { c.SetImageIndex(v); }, -1);
    b.Enum(
        "Style", StyleInfo(), [](const TToolButton& c) { return c.Style(); },
        [](TToolButton& c, int v) { c.SetStyle(static_cast<TToolButtonStyle>(v)); }, tbsButton);
    return b.Done();
  }();
  return info;
}

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  InitBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const {
  return dynamic_cast<TToolBar*>(Parent());
}

void TToolButton::SetParent(TWinControl* AParent) {
  TGraphicControl::SetParent(AParent);
  if (TToolBar* bar = ToolBar()) SetBounds(Left(), Top(), bar->ButtonWidth(), bar->ButtonHeight());
}

void TToolButton::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  Invalidate();
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  if (v == style_) return;
  style_ = v;
  Invalidate();
}
