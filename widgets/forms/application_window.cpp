// The application window as the program's face to the shell: it owns every
// form window, so it alone gets the task-bar button (owned and tool windows
// get none). It is shown with an empty rectangle while a form is visible;
// minimizing it takes the forms along, restoring brings them back.
#include "widgets/forms/forms.h"

namespace {

bool IsTopLevelForm(TCustomForm* f) {
  return !f->Parent() && !f->ParentWindow();
}

}  // namespace

void TApplication::FormVisibilityChanged() {
  if (!handle_ || !Screen) return;
  bool anyVisible = false;
  for (int i = 0; i < Screen->CustomFormCount() && !anyVisible; ++i) {
    TCustomForm* f = Screen->CustomForms(i);
    anyVisible =
        IsTopLevelForm(f) && f->Visible() && f->HandleAllocated() && !f->HasState(csDestroying);
  }
  // A minimized application keeps its button until the forms are really gone.
  bool shown = IsWindowVisible(handle_) != FALSE;
  if (anyVisible && !shown)
    ShowWindow(handle_, SW_SHOWNOACTIVATE);
  else if (!anyVisible && shown)
    ShowWindow(handle_, SW_HIDE);
}

void TApplication::Minimize() {
  SendMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TApplication::Restore() {
  if (handle_) SendMessageA(handle_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

bool TApplication::WindowStateMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SYSCOMMAND:
      switch (m.WParam & 0xFFF0) {
        case SC_MINIMIZE:
          if (IsIconic(handle_)) return true;
          // Hidden without touching their Visible state: they come back as
          // they were.
          ShowOwnedPopups(handle_, FALSE);
          ShowWindow(handle_, IsWindowVisible(handle_) ? SW_MINIMIZE : SW_SHOWMINNOACTIVE);
          RaiseGuarded(OnMinimize, this);
          return true;
        case SC_RESTORE:
          if (!IsIconic(handle_)) return false;
          ShowWindow(handle_, SW_RESTORE);
          ShowOwnedPopups(handle_, TRUE);
          if (mainForm_ && mainForm_->HandleAllocated() && IsWindowVisible(mainForm_->Handle()))
            SetForegroundWindow(mainForm_->Handle());
          RaiseGuarded(OnRestore, this);
          return true;
        default:
          return false;
      }
    case WM_SETFOCUS:
      // Activated through its button: the keyboard belongs to a form.
      if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated() &&
          IsWindowVisible(Screen->ActiveForm()->Handle()) &&
          IsWindowEnabled(Screen->ActiveForm()->Handle())) {
        ::SetFocus(Screen->ActiveForm()->Handle());
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool TApplication::RelaySysCommand(TCustomForm* Form, TMessage& m) {
  if (m.Msg != WM_SYSCOMMAND || Form != mainForm_ || !handle_) return false;
  UINT cmd = static_cast<UINT>(m.WParam & 0xFFF0);
  if (cmd == SC_MINIMIZE || (cmd == SC_RESTORE && IsIconic(handle_))) {
    m.Result = SendMessageA(handle_, WM_SYSCOMMAND, m.WParam, m.LParam);
    return true;
  }
  return false;
}
