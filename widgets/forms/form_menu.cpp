// Menus on forms and controls: the form's menu bar, a control's popup menu
// (and the forgetting of its freed menu or action) and the screen's menu font.
#include "widgets/controls/actions.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/graphics.h"
#include "widgets/menus/menus.h"

void TCustomForm::SetMenu(TMainMenu* v) {
  if (menu_ == v) return;
  DetachMenu();
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = v;
  if (!v) return;
  v->FreeNotification(this);
  if (handle_) {
    v->SetWindowHandle(handle_);
    ::SetMenu(handle_, v->Handle());
  }
}

void TCustomForm::DetachMenu() {
  if (!menu_ || !handle_) return;
  // The form shows no other menu; the menu itself may be half gone here.
  if (::GetMenu(handle_)) ::SetMenu(handle_, nullptr);
  menu_->SetWindowHandle(nullptr);
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (menu_ && !parent_) {
    menu_->SetWindowHandle(handle_);
    ::SetMenu(handle_, menu_->Handle());
  }
  UpdateLayeredAttributes();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == menu_) {
    DetachMenu();
    menu_ = nullptr;
  }
}

void TControl::SetPopupMenu(TPopupMenu* v) {
  if (popupMenu_ == v) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = v;
  if (v) v->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
  if (Operation == opRemove && AComponent == action_) action_ = nullptr;
}

TFont* TScreen::MenuFont() {
  if (!menuFont_) {
    menuFont_ = std::make_unique<TFont>();
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0))
      menuFont_->SetHandle(CreateFontIndirectA(&m.lfMenuFont));
  }
  return menuFont_.get();
}
