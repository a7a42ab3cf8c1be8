// The push button's object, properties, geometry and mouse handling.
#include "skin/controls/button.h"

#include <algorithm>

#include "skin/controls/button_shared.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_manager.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/flag_scope.h"
#include "widgets/menus/menus.h"

// ---- TImageMargins

const TClassInfo& TImageMargins::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TImageMargins> b("TImageMargins", &TPersistent::StaticClass());
    using T = TImageMargins;
    b.Int(
        "Left", [](const T& m) { return m.Left(); }, [](T& m, int v) { m.SetLeft(v); }, 0);
    b.Int(
        "Top", [](const T& m) { return m.Top(); }, [](T& m, int v) { m.SetTop(v); }, 0);
    b.Int(
        "Right", [](const T& m) { return m.Right(); }, [](T& m, int v) { m.SetRight(v); }, 0);
    b.Int(
        "Bottom", [](const T& m) { return m.Bottom(); }, [](T& m, int v) { m.SetBottom(v); }, 0);
    return b.Done();
  }();
  return info;
}

void TImageMargins::Set(int& field, int v) {
  if (field == v) return;
  field = v;
  Changed();
}

void TImageMargins::Changed() {
  if (OnChange) OnChange(this);
}

void TImageMargins::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TImageMargins*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  left_ = other->left_;
  top_ = other->top_;
  right_ = other->right_;
  bottom_ = other->bottom_;
  Changed();
}

// ---- TsButton

const TEnumInfo& ImageAlignmentInfo() {
  static const TEnumInfo info{{"iaLeft", "iaRight", "iaTop", "iaBottom", "iaCenter"}};
  return info;
}

const TClassInfo& TsButton::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsButton> b("TsButton", &TButton::StaticClass());
    b.Creatable();
    using T = TsButton;
    // No default: always stored, so a form says which way each toggle starts.
    b.Ord(
        "Down", TPropKind::Boolean, [](const T& c) { return c.Down(); },
        [](T& c, int v) { c.SetDown(v != 0); });
    b.Obj(
        "DropDownMenu", TPropKind::Component, TPopupMenu::StaticClass(),
        [](const T& c) -> TObject* { return c.DropDownMenu(); },
        [](T& c, TObject* v) { c.SetDropDownMenu(dynamic_cast<TPopupMenu*>(v)); });
    b.Str(
        "CommandLinkHint", [](const T& c) { return c.CommandLinkHint(); },
        [](T& c, const std::string& v) { c.SetCommandLinkHint(v); });
    b.Obj(
        "Images", TPropKind::Component, TCustomImageList::StaticClass(),
        [](const T& c) -> TObject* { return c.Images(); },
        [](T& c, TObject* v) { c.SetImages(dynamic_cast<TCustomImageList*>(v)); });
    b.Int(
        "ImageIndex", [](const T& c) { return c.ImageIndex(); },
        [](T& c, int v) { c.SetImageIndex(v); }, -1);
    b.Int(
        "HotImageIndex", [](const T& c) { return c.HotImageIndex(); },
        [](T& c, int v) { c.SetHotImageIndex(v); }, -1);
    b.Int(
        "PressedImageIndex", [](const T& c) { return c.PressedImageIndex(); },
        [](T& c, int v) { c.SetPressedImageIndex(v); }, -1);
    b.Int(
        "SelectedImageIndex", [](const T& c) { return c.SelectedImageIndex(); },
        [](T& c, int v) { c.SetSelectedImageIndex(v); }, -1);
    b.Int(
        "DisabledImageIndex", [](const T& c) { return c.DisabledImageIndex(); },
        [](T& c, int v) { c.SetDisabledImageIndex(v); }, -1);
    b.Enum(
        "ImageAlignment", ImageAlignmentInfo(), [](const T& c) { return c.ImageAlignment(); },
        [](T& c, int v) { c.SetImageAlignment(static_cast<TImageAlignment>(v)); }, iaLeft);
    b.Int(
        "ContentMargin", [](const T& c) { return c.ContentMargin(); },
        [](T& c, int v) { c.SetContentMargin(v); }, 6);
    b.Int(
        "FocusMargin", [](const T& c) { return c.FocusMargin(); },
        [](T& c, int v) { c.SetFocusMargin(v); }, 1);
    b.Bool(
        "ShowFocus", [](const T& c) { return c.ShowFocus(); },
        [](T& c, int v) { c.SetShowFocus(v != 0); }, true);
    b.Bool(
        "Reflected", [](const T& c) { return c.Reflected(); },
        [](T& c, int v) { c.SetReflected(v != 0); }, false);
    b.Set(
        "DisabledKind", DisabledKindInfo(), [](const T& c) { return c.DisabledKind(); },
        [](T& c, int v) { c.SetDisabledKind(static_cast<TsDisabledKind>(v)); }, dkBlended);
    b.Set(
        "AnimatEvents", AnimatEventInfo(), [](const T& c) { return c.AnimatEvents(); },
        [](T& c, int v) { c.SetAnimatEvents(static_cast<TvlAnimatEvents>(v)); }, 1 << aeGlobalDef);
    b.Event<&T::OnMouseEnter>("OnMouseEnter");
    b.Event<&T::OnMouseLeave>("OnMouseLeave");
    return b.Done();
  }();
  return info;
}

TsButton::TsButton(TComponent* AOwner) : TButton(AOwner) {
  skinData_ = New<TsCtrlSkinData>(this, true);
  skinData_->ControlKind = ckButton;
  controlStyle_ &= ~(csOpaque | csDoubleClicks);
  SetWordWrap(true);
  imageLink_ = std::make_unique<TChangeLink>();
  imageLink_->OnChange = TNotifyEvent::Of<&TsButton::ImagesChanged>(this);
  imageMargins_ = std::make_unique<TImageMargins>();
  imageMargins_->OnChange = TNotifyEvent::Of<&TsButton::MarginsChanged>(this);
}

TsButton::~TsButton() {
  *alive_ = false;
  hints_.Restore();
  if (images_) images_->UnRegisterChanges(imageLink_.get());
  imageLink_.reset();
  imageMargins_.reset();
  TObject::Free(skinData_);
  skinData_ = nullptr;
}

void TsButton::AfterConstruction() {
  TButton::AfterConstruction();
  skinData_->Loaded(true);
}

void TsButton::Loaded() {
  TButton::Loaded();
  skinData_->CacheBitmap->Canvas()->Font()->Assign(Font());
  skinData_->Loaded(true);
}

void TsButton::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style = OwnerDrawButtonStyle(Params.Style);
}

void TsButton::SetButtonStyle(bool ADefault) {
  // BM_SETSTYLE would end the owner drawing: the default look is painted.
  activeDefault_ = ADefault;
  SetFocusedDefault(ADefault);
  skinData_->Invalidate();
  if (!Skinned() && HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TsButton::Notification(TComponent* AComponent, TOperation Operation) {
  TButton::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == images_) SetImages(nullptr);
  if (AComponent == dropDownMenu_) dropDownMenu_ = nullptr;
}

// ---- Properties

void TsButton::SetDown(bool v) {
  if (down_ == v) return;
  down_ = v;
  stateChanged_ = true;
  if (!HasState(csLoading)) {
    skinData_->Invalidate();
    if (!Skinned() && HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
  }
}

void TsButton::SetDropDownMenu(TPopupMenu* v) {
  if (dropDownMenu_ == v) return;
  if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
  dropDownMenu_ = v;
  if (v) v->FreeNotification(this);
  skinData_->Invalidate();
}

void TsButton::SetCommandLinkHint(const std::string& v) {
  if (commandLinkHint_ == v) return;
  commandLinkHint_ = v;
  skinData_->Invalidate();
}

void TsButton::SetImages(TCustomImageList* v) {
  if (images_ == v) return;
  if (images_) {
    images_->UnRegisterChanges(imageLink_.get());
    images_->RemoveFreeNotification(this);
  }
  images_ = v;
  if (v) {
    v->RegisterChanges(imageLink_.get());
    v->FreeNotification(this);
  }
  skinData_->Invalidate();
}

void TsButton::SetIndex(int& field, int v) {
  if (field == v) return;
  field = v;
  if (images_) skinData_->Invalidate();
}

void TsButton::SetImageAlignment(TImageAlignment v) {
  if (imageAlignment_ == v) return;
  imageAlignment_ = v;
  if (images_) skinData_->Invalidate();
}

void TsButton::SetContentMargin(int v) {
  if (contentMargin_ == v) return;
  contentMargin_ = v;
  skinData_->Invalidate();
}

void TsButton::SetShowFocus(bool v) {
  if (showFocus_ == v) return;
  showFocus_ = v;
  skinData_->Invalidate();
}

void TsButton::SetReflected(bool v) {
  if (reflected_ == v) return;
  reflected_ = v;
  skinData_->Invalidate();
}

void TsButton::SetDisabledKind(TsDisabledKind v) {
  if (disabledKind_ == v) return;
  disabledKind_ = v;
  skinData_->Invalidate();
}

void TsButton::ImagesChanged(TObject*) {
  skinData_->Invalidate();
}

void TsButton::MarginsChanged(TObject*) {
  if (images_) skinData_->Invalidate();
}

// ---- State and geometry

int TsButton::ContentState() {
  if (Down() || menuOpen_) return 2;
  const bool pushed = (ButtonState() & BST_PUSHED) != 0 || ButtonShowPressed;
  if (pushed) {
    TsSkinManager* m = skinData_->SkinManager();
    const bool held = (ControlState() & csLButtonDown) != 0;
    POINT p{};
    GetCursorPos(&p);
    const bool over = HandleAllocated() && WindowFromPoint(p) == Handle();
    if (over || !held || (m && m->Options()->NoMouseHover())) return 2;
  }
  if (Designing() || skinData_->CurrentState() == 0) return Default() ? 3 : 0;
  return 1;
}

bool TsButton::HasImage() const {
  return images_ != nullptr && indexes_.ImageIndex >= 0 &&
         indexes_.ImageIndex < ImageListCount(images_);
}

int TsButton::CurrentImageIndex() {
  const bool focused = HandleAllocated() && GetFocus() == Handle();
  return ButtonCurrentImageIndex(indexes_, ImageListCount(images_), Enabled(), focused,
                                 ContentState());
}

int TsButton::SplitArrowWidth() const {
  return ButtonSplitArrowWidth(skinData_->ScalePercent);
}

TSize TsButton::TextSize() {
  const std::string caption = Caption();
  if (caption.empty()) return {0, 0};
  TCanvas* canvas = skinData_->CacheBitmap->Canvas();
  canvas->Font()->Assign(Font());
  if (Style() == bsCommandLink) {
    canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
    canvas->Font()->SetSize(canvas->Font()->Size() + 2);
  }
  int right = Width() - contentMargin_;
  if (Style() == bsCommandLink) {
    const int image = (HasImage() ? ImageListWidth(images_) : 32) + imageMargins_->Left() +
                      imageMargins_->Right();
    right = Width() - image - 3 * contentMargin_ - 6;
  }
  RECT r{contentMargin_, 0, right, 0};
  std::string text = caption;
  DrawTextA(canvas->Handle(), text.data(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_CENTER | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : DT_SINGLELINE));
  canvas->Font()->Assign(Font());
  return {r.right - r.left, r.bottom - r.top};
}

bool TsButton::ShiftsContent() {
  if (ContentState() != 2) return false;
  if (!Skinned()) return true;
  TsSkinManager* m = skinData_->SkinManager();
  return m && m->ButtonsOptions()->ShiftContentOnClick();
}

ButtonLayoutInput TsButton::LayoutInput() {
  ButtonLayoutInput in;
  in.Width = Width();
  in.Height = Height();
  in.Style = Style();
  in.HasImage = HasImage();
  in.ImageWidth = HasImage() ? ImageListWidth(images_) : 32;
  in.ImageHeight = HasImage() ? ImageListHeight(images_) : 32;
  in.ImageMargins = imageMargins_->AsRect();
  in.ContentMargin = contentMargin_;
  in.ImageAlignment = imageAlignment_;
  const TSize text = TextSize();
  in.TextWidth = text.cx;
  in.TextHeight = text.cy;
  in.SplitArrowWidth = SplitArrowWidth();
  in.Shift = ShiftsContent();
  return in;
}

TRect TsButton::ContentRect() {
  return ButtonContentRect(LayoutInput());
}

TRect TsButton::ImageRect() {
  return ButtonImageRect(LayoutInput());
}

TGlyphButton::Picture TsButton::GlyphPicture() {
  Picture p;
  p.Images = images_;
  p.ImageIndex = CurrentImageIndex();
  p.Rect = ImageRect();
  p.State = ContentState();
  p.Enabled = Enabled();
  TsSkinManager* m = skinData_->SkinManager();
  p.Discolored = p.State == 0 && Skinned() && m && m->Effects()->DiscoloredGlyphs();
  p.Reflected = reflected_;
  p.SkinData = skinData_;
  return p;
}

// ---- Mouse

void TsButton::RepaintNow() {
  if (HandleAllocated())
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
}

void TsButton::OpenDropDown() {
  // A menu item may free the form and this button with it: nothing of the
  // button is touched once the menu has returned unless it still lives.
  const std::shared_ptr<bool> alive = alive_;
  TPopupMenu* menu = dropDownMenu_;
  menuOpen_ = true;
  Invalidate();
  RepaintNow();
  if (DefaultManager && DefaultManager->CommonSkinData && DefaultManager->CommonSkinData->Loaded &&
      DefaultManager->Menus)
    DefaultManager->Menus->HookPopupMenu(menu, true);
  menu->SetPopupComponent(this);
  const TPoint at = ClientToScreen(TPoint(0, Height()));
  menu->Popup(at.X, at.Y);
  if (!*alive) return;
  menuOpen_ = false;
  Invalidate();
}

void TsButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Style() == bsSplitButton && dropDownMenu_ && X >= Width() - SplitArrowWidth() &&
      X < Width()) {
    OpenDropDown();
    return;
  }
  if (Skinned() && Enabled() && !Designing()) {
    skinData_->Updating = false;
    if (Button == mbLeft) hints_.Suspend();
    pressedByMouse_ = true;
    if (Button == mbLeft && !down_) {
      stateChanged_ = true;
      skinData_->Updating = skinData_->IsUpdating();
      skinData_->BgChanged = false;
      RepaintWithFade(skinData_, 2, FadeStep,
                      IsAnimatedEvent(aeMouseDown, animatEvents_, skinData_->SkinManager()), false,
                      false);
    }
  }
  TButton::MouseDown(Button, Shift, X, Y);
}

void TsButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Destroying()) return;
  if (Skinned() && Enabled() && !Designing()) {
    if (Button == mbLeft) hints_.Restore();
    if (!pressedByMouse_) return;
    pressedByMouse_ = false;
    if (Button == mbLeft) {
      if (skinData_->AnimationRunning()) {
        StopAnimation(skinData_);
        skinData_->BgChanged = true;
        {
          TFlagScope pressed(ButtonShowPressed);
          RepaintNow();
        }
        // A quick click still shows the pressed look for a moment.
        Sleep(30);
      }
      skinData_->Updating = false;
      stateChanged_ = true;
      POINT p{};
      GetCursorPos(&p);
      if (HandleAllocated() && WindowFromPoint(p) == Handle()) {
        skinData_->BgChanged = false;
        RepaintWithFade(skinData_, 2, FadeStep,
                        IsAnimatedEvent(aeMouseUp, animatEvents_, skinData_->SkinManager()), false,
                        false);
      } else {
        // No fade builds the new look: the click may have changed Down, so
        // the cache is built again at the next paint.
        skinData_->Invalidate();
      }
    }
  }
  TButton::MouseUp(Button, Shift, X, Y);
}
