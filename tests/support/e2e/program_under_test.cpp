#include "tests/support/e2e/program_under_test.h"

#include <commctrl.h>

#include <fstream>
#include <sstream>

namespace e2e {

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kCloseTimeoutMs = 10000;

std::string ModuleFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of("\\/") + 1);
}

std::string TempFile(const char* prefix) {
  char dir[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  GetTempFileNameA(dir, prefix, 0, file);
  return file;
}

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == sep)
      out.emplace_back();
    else
      out.back() += c;
  }
  return out;
}

struct TFindByTitle {
  DWORD Pid;
  const std::string* Title;
  HWND Found;
};

BOOL CALLBACK FindTopLevel(HWND wnd, LPARAM param) {
  auto* f = reinterpret_cast<TFindByTitle*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  // The application window carries the same title but has no area: skip it.
  char cls[32] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  if (pid == f->Pid && IsWindowVisible(wnd) && WindowText(wnd) == *f->Title &&
      lstrcmpA(cls, "TApplication") != 0) {
    f->Found = wnd;
    return FALSE;
  }
  return TRUE;
}

struct TFindChild {
  const char* ParentText;
  const char* ClassName;
  int Left, Top;
  HWND Found;
  std::vector<HWND>* All;
};

BOOL CALLBACK VisitChild(HWND wnd, LPARAM param) {
  auto* f = reinterpret_cast<TFindChild*>(param);
  char cls[64];
  GetClassNameA(wnd, cls, sizeof cls);
  if (lstrcmpiA(cls, f->ClassName) != 0) return TRUE;
  if (f->All) {
    f->All->push_back(wnd);
    return TRUE;
  }
  HWND parent = GetParent(wnd);
  if (f->ParentText && WindowText(parent) != f->ParentText) return TRUE;
  RECT r;
  GetWindowRect(wnd, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  if (r.left == f->Left && r.top == f->Top) {
    f->Found = wnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

TProgramUnderTest::TProgramUnderTest(std::string ExeName,
                                     std::vector<std::pair<std::string, std::string>> Env)
    : exe_(ModuleFolder() + ExeName), env_(std::move(Env)) {
  midiLog_ = TempFile("mid");
  boxLog_ = TempFile("box");
}

TProgramUnderTest::~TProgramUnderTest() {
  if (pi_.hProcess) Close();
  DeleteFileA(midiLog_.c_str());
  DeleteFileA(boxLog_.c_str());
}

bool TProgramUnderTest::Start(const std::string& Title) {
  // The child inherits this environment; set it, start, then put it back.
  std::vector<std::pair<std::string, std::string>> env = env_;
  env.emplace_back("VARNEL_MIDI_LOG", midiLog_);
  env.emplace_back("VARNEL_MESSAGE_LOG", boxLog_);
  std::vector<std::pair<std::string, std::string>> saved;
  for (auto& [name, value] : env) {
    char old[4096];
    DWORD n = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
    saved.emplace_back(name, n ? std::string(old, n) : std::string("\x01"));
    SetEnvironmentVariableA(name.c_str(), value.c_str());
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cmd = "\"" + exe_ + "\"";
  if (!Arguments.empty()) cmd += " " + Arguments;
  // A loaded Wine server now and then refuses a process start with an
  // internal error that a second attempt does not meet; anything else fails
  // at once.
  BOOL ok = FALSE;
  for (int attempt = 0; attempt < 3 && !ok; ++attempt) {
    if (attempt > 0) {
      if (GetLastError() != ERROR_INTERNAL_ERROR) break;
      Sleep(200);
    }
    ok = CreateProcessA(exe_.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi_);
  }
  for (auto& [name, value] : saved)
    SetEnvironmentVariableA(name.c_str(), value == "\x01" ? nullptr : value.c_str());
  if (!ok) {
    startFailure_ = "CreateProcess failed with error " + std::to_string(GetLastError());
    return false;
  }
  WaitForInputIdle(pi_.hProcess, kStartTimeoutMs);
  DWORD start = GetTickCount();
  while (GetTickCount() - start < kStartTimeoutMs) {
    TFindByTitle f{pi_.dwProcessId, &Title, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&f));
    if (f.Found) {
      main_ = f.Found;
      Settle();
      return true;
    }
    if (WaitForSingleObject(pi_.hProcess, 50) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(pi_.hProcess, &code);
      startFailure_ = "the program ended with exit code " + std::to_string(code) + " after " +
                      std::to_string(GetTickCount() - start) + " ms";
      return false;
    }
  }
  startFailure_ =
      "no window titled " + Title + " within " + std::to_string(kStartTimeoutMs) + " ms";
  return false;
}

HWND TProgramUnderTest::ApplicationWindow() const {
  HWND owner = main_ ? GetWindow(main_, GW_OWNER) : nullptr;
  char cls[32] = {};
  if (!owner || !GetClassNameA(owner, cls, sizeof cls) || lstrcmpA(cls, "TApplication") != 0)
    return nullptr;
  return owner;
}

void TProgramUnderTest::Settle() const {
  // A sent message returns only after everything posted before it was handled.
  if (!main_) return;
  for (int i = 0; i < 3; ++i) {
    DWORD_PTR result;
    SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    Sleep(20);
  }
}

int TProgramUnderTest::Close() {
  if (!pi_.hProcess) return -1;
  if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi_.hProcess, kCloseTimeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(pi_.hProcess, &code);
  else
    TerminateProcess(pi_.hProcess, 99);
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
  pi_ = {};
  main_ = nullptr;
  return static_cast<int>(code);
}

std::vector<winmm_stub_client::Call> TProgramUnderTest::MidiCalls() const {
  auto calls = winmm_stub_client::ParseLog(ReadAll(midiLog_));
  if (midiSkip_ >= calls.size()) return {};
  return {calls.begin() + static_cast<ptrdiff_t>(midiSkip_), calls.end()};
}

std::vector<winmm_stub_client::Call> TProgramUnderTest::PortCalls() const {
  return winmm_stub_client::Only(
      MidiCalls(), {"midiOutOpen", "midiOutClose", "midiOutShortMsg", "midiOutLongMsg"});
}

std::vector<TBoxLine> TProgramUnderTest::Boxes() const {
  std::vector<TBoxLine> out;
  std::istringstream lines(ReadAll(boxLog_));
  std::string line;
  size_t index = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || index++ < boxSkip_) continue;
    auto f = Split(line, '\t');
    f.resize(6);
    out.push_back({f[0], f[1], f[2], f[3], f[4], f[5]});
  }
  return out;
}

void TProgramUnderTest::ClearLogs() {
  midiSkip_ += MidiCalls().size();
  boxSkip_ += Boxes().size();
}

HWND FindChild(HWND Root, const char* ParentText, const char* ClassName, int Left, int Top) {
  TFindChild f{ParentText, ClassName, Left, Top, nullptr, nullptr};
  EnumChildWindows(Root, VisitChild, reinterpret_cast<LPARAM>(&f));
  return f.Found;
}

std::vector<HWND> FindChildren(HWND Root, const char* ClassName) {
  std::vector<HWND> all;
  TFindChild f{nullptr, ClassName, 0, 0, nullptr, &all};
  EnumChildWindows(Root, VisitChild, reinterpret_cast<LPARAM>(&f));
  return all;
}

std::string WindowText(HWND Wnd) {
  // GetWindowText does not read the text of another process's controls.
  char text[256] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutA(Wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                      5000, &n);
  return std::string(text, n < sizeof text ? n : 0);
}

std::string TaskBarRoundTrip(const TProgramUnderTest& Program) {
  HWND main = Program.MainWindow();
  HWND app = GetWindow(main, GW_OWNER);
  char cls[32] = {};
  GetClassNameA(app, cls, sizeof cls);
  if (lstrcmpA(cls, "TApplication") != 0) return "the main window's owner is not the application";
  RECT r;
  GetWindowRect(app, &r);
  if (!IsWindowVisible(app) || !IsRectEmpty(&r)) return "the application window is not shown empty";
  if (GetWindow(app, GW_OWNER) || (GetWindowLongPtrA(app, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
    return "the application window gets no task-bar button";
  PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Program.Settle();
  if (!IsIconic(app) || IsWindowVisible(main)) return "minimizing left the main window shown";
  PostMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
  Program.Settle();
  if (IsIconic(app) || !IsWindowVisible(main))
    return "restoring did not bring the main window back";
  return "";
}

void DragTrackBarTo(HWND TrackBar, int Pos) {
  HWND parent = GetParent(TrackBar);
  SendMessageA(TrackBar, TBM_SETPOS, TRUE, Pos);
  SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, Pos),
               reinterpret_cast<LPARAM>(TrackBar));
  SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(TrackBar));
}

void PickComboItem(HWND Combo, int Index) {
  SendMessageA(Combo, CB_SETCURSEL, Index, 0);
  SendMessageA(GetParent(Combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Combo));
}

void ClickButton(HWND Button) {
  SendMessageA(Button, BM_CLICK, 0, 0);
}

}  // namespace e2e
