#include "tests/support/adapter_windows.h"

#include <string>

#include "skin/adapters/adapter_base.h"
#include "skin/foundation/skin_commands.h"

namespace {

// The adapter tests run with poisoned adapters: a freed adapter that is
// still called fails at once.
const bool poisonOn = (PoisonFreedAdapters = true);

constexpr char kRecorderClass[] = "VarnelRecorder";
constexpr char kRecorderProp[] = "VarnelRecorderObject";
constexpr char kHostClass[] = "VarnelAdapterHost";

void RegisterOnce(const char* Name, WNDPROC Proc) {
  WNDCLASSA existing{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), Name, &existing)) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = Name;
  RegisterClassA(&wc);
}

}  // namespace

TTestWindow CreateHostWindow(int Width, int Height) {
  (void)poisonOn;
  RegisterOnce(kHostClass, DefWindowProcA);
  return TTestWindow(CreateWindowExA(
      0, kHostClass, "Adapter host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10,
      Width, Height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
}

TTestWindow CreatePlainEdit(HWND Parent, int Width, int Height) {
  HWND h =
      CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                          ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                      8, 8, Width, Height, Parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  std::string text;
  for (int i = 0; i < 40; ++i)
    text += "Line " + std::to_string(i) + " of a text that is wider than its window\r\n";
  SetWindowTextA(h, text.c_str());
  return TTestWindow(h);
}

TTestWindow CreateListBox100(HWND Parent, int Width, int Height) {
  HWND h =
      CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 8, 8,
                      Width, Height, Parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(h, LB_SETHORIZONTALEXTENT, 600, 0);
  for (int i = 0; i < 100; ++i) {
    const std::string item = "Item " + std::to_string(i) + " of the list, wider than the box";
    SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  return TTestWindow(h);
}

TRecordingWindow::TRecordingWindow(HWND Parent, DWORD Style, int Width, int Height) {
  RegisterOnce(kRecorderClass, &TRecordingWindow::Proc);
  handle_ = CreateWindowExA(0, kRecorderClass, "Recorder", Style, 8, 8, Width, Height, Parent,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  SetPropA(handle_, kRecorderProp, this);
  SetScrollRange(handle_, SB_VERT, 0, 100, FALSE);
  SetScrollRange(handle_, SB_HORZ, 0, 100, FALSE);
}

TRecordingWindow::~TRecordingWindow() {
  if (IsWindow(handle_)) {
    RemovePropA(handle_, kRecorderProp);
    DestroyWindow(handle_);
  }
}

int TRecordingWindow::Count(UINT Msg) const {
  int n = 0;
  for (const TRecordedMessage& m : log_)
    if (m.Msg == Msg) ++n;
  return n;
}

LRESULT CALLBACK TRecordingWindow::Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* self = static_cast<TRecordingWindow*>(GetPropA(Wnd, kRecorderProp));
  if (self) {
    const TRecordedMessage m{Msg, WParam, LParam};
    self->log_.push_back(m);
    if (self->OnMessage) self->OnMessage(m);
    if (Msg == SkinCommandMessage && SkinCmdCode(WParam) == SkinCmdBeforeScroll)
      return self->BeforeScrollAnswer;
    if (Msg == WM_NCDESTROY) {
      RemovePropA(Wnd, kRecorderProp);
      self->handle_ = Wnd;  // kept for Count; the window is gone
    }
  }
  return DefWindowProcA(Wnd, Msg, WParam, LParam);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
