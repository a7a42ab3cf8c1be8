// close_window TITLE [MILLISECONDS]
// Asks the program that owns the visible top-level window TITLE to close, the
// way a user would: WM_CLOSE to that window. Waits for the program to end and ends
// it by force only when it has not ended in time (default 10 s).
// Exit codes: 0 ended by itself, 1 usage, 2 no such window, 3 ended by force,
// 4 could not be ended.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_ != nullptr) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

struct Search {
  const wchar_t* title;
  HWND found;
};

// A program may own several top-level windows of one title (a zero-sized
// window that carries the task-bar button, say): the one a user would close
// is visible and has an area.
BOOL CALLBACK TakeIfClosable(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t text[256];
  RECT r;
  if (GetWindowTextW(window, text, 256) > 0 && wcscmp(text, search->title) == 0 &&
      IsWindowVisible(window) && GetWindowRect(window, &r) && r.right > r.left &&
      r.bottom > r.top) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindClosableWindow(const wchar_t* title) {
  Search search{title, nullptr};
  EnumWindows(TakeIfClosable, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argc > 3) {
    fwprintf(stderr, L"usage: close_window TITLE [MILLISECONDS]\n");
    return 1;
  }
  DWORD wait = 10000;
  if (argc == 3) {
    wchar_t* end = nullptr;
    wait = wcstoul(argv[2], &end, 10);
    if (end == argv[2] || *end != L'\0') {
      fwprintf(stderr, L"close_window: '%ls' is not a number of milliseconds\n", argv[2]);
      return 1;
    }
  }
  HWND window = FindClosableWindow(argv[1]);
  if (window == nullptr) {
    fwprintf(stderr, L"close_window: no visible top-level window '%ls'\n", argv[1]);
    return 2;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  // Opened before the message goes out, so the process cannot end and its id
  // be reused in between.
  Handle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
  if (process.get() == nullptr) {
    fwprintf(stderr, L"close_window: cannot open process %lu (error %lu)\n", pid,
             GetLastError());
    return 4;
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.get(), wait) == WAIT_OBJECT_0) return 0;
  fwprintf(stderr, L"close_window: '%ls' did not end within %lu ms; ending it\n", argv[1], wait);
  if (TerminateProcess(process.get(), 1) &&
      WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0)
    return 3;
  fwprintf(stderr, L"close_window: process %lu could not be ended\n", pid);
  return 4;
}
