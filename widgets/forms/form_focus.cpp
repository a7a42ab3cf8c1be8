// TCustomForm's focus bookkeeping, and TScreen.
#include <algorithm>

#include "widgets/rtl/exceptions.h"
#include "widgets/forms/forms.h"

namespace {
// Counts focus changes, so a handler that moves the focus elsewhere while
// CM_EXIT/CM_ENTER runs stops the change in progress.
int focusCount = 0;
}  // namespace

// ---- Focus ---------------------------------------------------------------------------------

void TCustomForm::SetActive(bool v) {
  active_ = v;
  if (!v) return;
  if (!activeControl_) activeControl_ = FindNextControl(nullptr, true, true, false);
  SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  HWND h = activeControl_ && activeControl_->HandleAllocated() ? activeControl_->Handle() : handle_;
  if (h) ::SetFocus(h);
}

void TCustomForm::SetFocus() {
  if (active_) return;
  if (!Visible() || !Enabled())
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  SetWindowFocus();
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (activeControl_ == Control) return;
  if (Control && !(Control != this && GetParentForm(Control) == this &&
                   (HasState(csLoading) || Control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  activeControl_ = Control;
  if (!HasState(csLoading) && !HasState(csDestroying) && active_) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool wasActive = active_;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && Control->ContainsControl(focusedControl_)) focusedControl_ = Control->Parent();
  if (Control->ContainsControl(activeControl_)) {
    if (HasState(csDestroying))
      activeControl_ = nullptr;
    else
      SetActiveControl(nullptr);
  }
  if (Screen && Control->ContainsControl(Screen->activeControl_)) Screen->activeControl_ = nullptr;
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  ++focusCount;
  int count = focusCount;
  activeControl_ = Control != this ? Control : nullptr;
  if (Screen) {
    Screen->activeControl_ = Control;
    Screen->activeForm_ = this;
    Screen->MoveFormToFront(this);
  }
  if (Control->controlState_ & csFocusing) return false;
  Control->controlState_ |= csFocusing;
  struct Clear {
    TWinControl* c;
    ~Clear() { c->controlState_ &= ~csFocusing; }
  } clear{Control};

  if (Screen && Screen->focusedForm_ != this) {
    if (TCustomForm* old = Screen->focusedForm_) {
      Screen->focusedForm_ = nullptr;
      old->Perform(CM_DEACTIVATE);
      if (count != focusCount) return false;
    }
    Screen->focusedForm_ = this;
    Perform(CM_ACTIVATE);
    if (count != focusCount) return false;
  }
  if (!focusedControl_) focusedControl_ = this;
  if (focusedControl_ != Control) {
    while (focusedControl_ && !focusedControl_->ContainsControl(Control)) {
      TWinControl* leaving = focusedControl_;
      focusedControl_ = leaving->Parent();
      leaving->Perform(CM_EXIT);
      if (count != focusCount) return false;
    }
    while (focusedControl_ != Control) {
      TWinControl* t = Control;
      while (t->Parent() != focusedControl_) t = t->Parent();
      focusedControl_ = t;
      t->Perform(CM_ENTER);
      if (count != focusCount) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
    Control->Perform(CM_UIACTIVATE);
  }
  return true;
}

// ---- TScreen ---------------------------------------------------------------------------------

const TClassInfo& TScreen::StaticClass() {
  static const TClassInfo info("TScreen", &TComponent::StaticClass());
  return info;
}

void TScreen::AddForm(TCustomForm* f) {
  customForms_.push_back(f);
  forms_.push_back(f);
}

void TScreen::RemoveForm(TCustomForm* f) {
  std::erase(customForms_, f);
  std::erase(forms_, f);
  if (activeForm_ == f) activeForm_ = nullptr;
  if (focusedForm_ == f) focusedForm_ = nullptr;
  if (activeControl_ && GetParentForm(activeControl_) == f) activeControl_ = nullptr;
}

void TScreen::MoveFormToFront(TCustomForm* f) {
  auto it = std::find(forms_.begin(), forms_.end(), f);
  if (it == forms_.end() || it == forms_.begin()) return;
  forms_.erase(it);
  forms_.insert(forms_.begin(), f);
}
