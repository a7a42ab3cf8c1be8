// TApplication: the hidden application window, the message loop and the
// reporting of exceptions.
#include <algorithm>

#include "widgets/forms/dialogs.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/forms/forms.h"
#include "widgets/forms/hint_window.h"
#include "widgets/forms/message_box.h"
#include "widgets/controls/window_procs.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// "Error." / "Done!": a period unless the text already ends in punctuation.
std::string ExceptionText(const std::exception& e) {
  std::string msg = e.what();
  if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.') msg += '.';
  return msg;
}

// What HandleException does without an application (or inside it).
void ReportCurrentException(TApplication* app, TObject* Sender) {
  std::exception_ptr ep = std::current_exception();
  if (!ep) return;
  try {
    std::rethrow_exception(ep);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    if (app && app->OnException)
      app->OnException(Sender, e);
    else
      ShowExceptionMessage(ExceptionText(e));
  } catch (...) {
    ShowExceptionMessage("Unknown exception.");
  }
}

HWND BoxOwner() {
  HWND active = GetActiveWindow();
  if (active) return active;
  return Application && Application->HandleAllocated() ? Application->Handle() : nullptr;
}

std::string BoxTitle() {
  return Application ? Application->Title() : std::string();
}

}  // namespace

void HandleException(TObject* Sender) noexcept {
  try {
    if (Application)
      Application->HandleException(Sender);
    else
      ReportCurrentException(nullptr, Sender);
  } catch (...) {
    // A failing exception handler must not take the process down.
  }
}

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info("TApplication", &TComponent::StaticClass());
  return info;
}

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner), hintWindowClass_(&THintWindow::StaticClass()) {}

void TApplication::SetHintWindowClass(const TClassInfo* v) {
  const TClassInfo& plain = THintWindow::StaticClass();
  hintWindowClass_ = v && v->InheritsFrom(&plain) && v->Factory() ? v : &plain;
}

void TApplication::SetBiDiMode(TBiDiMode v) {
  if (bidiMode_ == v) return;
  bidiMode_ = v;
  if (!Screen) return;
  for (int i = 0; i < Screen->CustomFormCount(); ++i) {
    TCustomForm* f = Screen->CustomForms(i);
    if (f->ParentBiDiMode()) f->Perform(CM_PARENTBIDIMODECHANGED);
  }
}

TApplication::~TApplication() {
  terminated_ = true;
  CancelHint();
  // The forms go first, last to first, while the application is whole.
  DestroyComponents();
  if (handle_) DeallocateHWnd(handle_);
  handle_ = nullptr;
}

void TApplication::Initialize() {
  Handle();
}

HWND TApplication::Handle() {
  if (!handle_) {
    int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ =
        AllocateMethodWindow("TApplication", title_.c_str(),
                             WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                             0, x, y, 0, 0, nullptr, TWndMethod::Of<&TApplication::WndProc>(this));
  }
  return handle_;
}

void TApplication::SetTitle(const std::string& v) {
  title_ = v;
  if (handle_) SetWindowTextA(handle_, v.c_str());
}

std::string TApplication::ExeName() const {
  return ParamStr(0);
}

void TApplication::FormCreated(TComponent* Form) {
  if (mainForm_) return;
  if (auto* f = dynamic_cast<TCustomForm*>(Form)) {
    f->HandleNeeded();
    mainForm_ = f;
  }
}

void TApplication::Run() {
  running_ = true;
  try {
    if (mainForm_ && showMainForm_) mainForm_->SetVisible(true);
  } catch (...) {
    HandleException(this);
  }
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
  running_ = false;
}

void TApplication::Terminate() {
  PostQuitMessage(0);
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) {
    UpdateMouseControl();
    HintIdle();
    WaitMessage();
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      if (hintControl_ || hintWindow_) CancelHint();
      break;
    default:
      break;
  }
  if (!IsKeyMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

// Key messages are performed as CN_* on the nearest widget control of the
// window that has them (or the capture); a non-zero result consumes them.
bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) {
    wnd = msg.hwnd;
    while (wnd && !FindControl(wnd)) wnd = GetParent(wnd);
  }
  TWinControl* c = FindControl(wnd);
  if (!c) return false;
  LRESULT r = 0;
  if (!Guarded(c, [&] { r = c->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam); }))
    return true;
  return r != 0;
}

void TApplication::HandleException(TObject* Sender) {
  ReportCurrentException(this, Sender);
}

void TApplication::ShowException(const std::exception& E) {
  ShowExceptionMessage(ExceptionText(E));
}

void TApplication::HookMainWindow(TWindowHook Hook) {
  if (Hook && std::find(hooks_.begin(), hooks_.end(), Hook) == hooks_.end()) hooks_.push_back(Hook);
}

void TApplication::UnhookMainWindow(TWindowHook Hook) {
  std::erase(hooks_, Hook);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  return ApplicationMessageBox(Text, Caption, Flags);
}

void TApplication::WndProc(TMessage& m) {
  // A copy: a hook may remove itself while it runs.
  std::vector<TWindowHook> hooks = hooks_;
  for (const TWindowHook& h : hooks)
    if (h(m)) return;
  if (WindowStateMessage(m)) return;
  switch (m.Msg) {
    case WM_CLOSE:
      if (mainForm_) mainForm_->Close();
      return;
    case WM_ACTIVATEAPP:
      m.Result = DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
      active_ = m.WParam != 0;
      PostMessageA(handle_, active_ ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
      return;
    case CM_ACTIVATE:
    case CM_DEACTIVATE:
      return;
    case WM_QUERYENDSESSION:
      m.Result = 1;
      return;
    case WM_ENDSESSION:
      if (m.WParam) Terminate();
      return;
    default:
      // Private messages nobody hooked answer 0 ("nobody answered").
      m.Result = DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
  }
}

// ---- The forms unit ---------------------------------------------------------------------

void InitFormsUnit() {
  if (!Screen) Screen = New<TScreen>(nullptr);
  if (!Application) Application = New<TApplication>(nullptr);
  ConnectHintTracking(true);
  SetMessageBoxOwner(&BoxOwner);
  SetMessageBoxTitle(&BoxTitle);
  SetMessageDialog(&ShowMessageDialogForm);
}

void DestroyApplication() {
  if (!Application) return;
  TApplication* app = Application;
  TObject::Free(app);
  Application = nullptr;
}

void FinalizeFormsUnit() {
  ConnectHintTracking(false);
  DestroyApplication();
  SetMessageBoxOwner(nullptr);
  SetMessageBoxTitle(nullptr);
  SetMessageDialog(nullptr);
  TScreen* s = Screen;
  Screen = nullptr;
  TObject::Free(s);
}
