// Modal forms: a nested message loop that runs until the form has a result,
// with the thread's other windows disabled so that input reaches only it.
#include "widgets/rtl/exceptions.h"
#include "widgets/forms/forms.h"

namespace {

struct TDisabling {
  HWND Active;
  TTaskWindowList* List;
};

BOOL CALLBACK DisableOne(HWND Wnd, LPARAM Param) {
  auto* d = reinterpret_cast<TDisabling*>(Param);
  if (Wnd != d->Active && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) {
    d->List->push_back(Wnd);
    EnableWindow(Wnd, FALSE);
  }
  return TRUE;
}

// Undoes what ShowModal did to the rest of the program, whichever way the
// loop ends.
class TModalScope {
 public:
  TModalScope(TFormState& State, HWND Form) : state_(State), active_(GetActiveWindow()) {
    state_ |= fsModal;
    disabled_ = DisableTaskWindows(Form);
  }
  ~TModalScope() {
    EnableOthers();
    if (active_ && IsWindow(active_)) SetActiveWindow(active_);
    state_ &= ~fsModal;
  }
  // Before the form hides: with every other window still disabled, the
  // system would pass the activation to another program.
  void EnableOthers() {
    EnableTaskWindows(disabled_);
    disabled_.clear();
  }
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;

 private:
  TFormState& state_;
  HWND active_;
  TTaskWindowList disabled_;
};

}  // namespace

TTaskWindowList DisableTaskWindows(HWND ActiveWindow) {
  TTaskWindowList list;
  TDisabling d{ActiveWindow, &list};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&d));
  return list;
}

void EnableTaskWindows(const TTaskWindowList& List) {
  for (HWND w : List)
    if (IsWindow(w)) EnableWindow(w, TRUE);
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || (formState_ & fsModal) || !Application)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  TModalScope scope(formState_, Handle());
  modalResult_ = mrNone;
  try {
    Show();
    while (modalResult_ == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated())
        modalResult_ = mrCancel;
      else if (modalResult_ != mrNone)
        CloseModal();
    }
  } catch (...) {
    scope.EnableOthers();
    Hide();
    throw;
  }
  TModalResult result = modalResult_;
  scope.EnableOthers();
  Hide();
  return result;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone)
    modalResult_ = mrNone;
  else if (action == caFree)
    Release();
}
