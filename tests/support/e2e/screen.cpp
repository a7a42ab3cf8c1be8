#include "tests/support/e2e/screen.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "png_writer.h"
#include "widgets/graphics/gdi_handles.h"

namespace e2e {

namespace {

struct THandleTraits {
  static void Free(HANDLE h) { CloseHandle(h); }
};
using TOwnedProcess = TOwnedHandle<HANDLE, THandleTraits>;

// Memory in another process, freed with it.
class TRemoteMemory {
 public:
  TRemoteMemory(HANDLE Process, size_t Size)
      : process_(Process),
        at_(VirtualAllocEx(Process, nullptr, Size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  TRemoteMemory(const TRemoteMemory&) = delete;
  TRemoteMemory& operator=(const TRemoteMemory&) = delete;
  ~TRemoteMemory() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  }
  void* Get() const { return at_; }

 private:
  HANDLE process_;
  void* at_;
};

void SendMouse(DWORD Flags, LONG X = 0, LONG Y = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = X;
  in.mi.dy = Y;
  in.mi.dwFlags = Flags;
  SendInput(1, &in, sizeof in);
}

std::string ParentFolder(const std::string& Path) {
  const size_t cut = Path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : Path.substr(0, cut);
}

// The build tree is the nearest folder above the test that holds CMake's
// cache; empty when there is none.
std::string BuildTree() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  for (std::string dir = ParentFolder(std::string(path, n)); !dir.empty();
       dir = ParentFolder(dir)) {
    if (GetFileAttributesA((dir + "\\CMakeCache.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
      return dir;
  }
  return "";
}

}  // namespace

std::string SaveCapture(const TScreenImage& Image, const std::string& Name) {
  const std::string tree = BuildTree();
  if (tree.empty() || Image.Pixels.empty()) return "";
  const std::string folder = ParentFolder(tree) + "\\screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  PngDesc png;
  png.Width = uint32_t(Image.Width);
  png.Height = uint32_t(Image.Height);
  png.ColorType = 2;
  png.Filters = FilterChoice::Adaptive;
  png.Samples.reserve(Image.Pixels.size() * 3);
  for (uint32_t p : Image.Pixels)
    for (int shift : {16, 8, 0}) png.Samples.push_back(uint16_t((p >> shift) & 0xFF));
  const std::vector<uint8_t> bytes = EncodePng(png);
  const std::string file = folder + "\\" + Name + ".png";
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return out ? file : "";
}

TScreenImage CaptureScreen(const RECT& Rect) {
  TScreenImage image;
  image.Left = Rect.left;
  image.Top = Rect.top;
  image.Width = std::max(0L, Rect.right - Rect.left);
  image.Height = std::max(0L, Rect.bottom - Rect.top);
  if (!image.Width || !image.Height) return image;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = image.Width;
  bi.bmiHeader.biHeight = -image.Height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TWindowDC screen(nullptr);
  TMemoryDC memory(CreateCompatibleDC(screen.Get()));
  TOwnedBitmap dib(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !dib || !bits) return image;
  {
    TSelectedObject selected(memory.Get(), dib.Get());
    BitBlt(memory.Get(), 0, 0, image.Width, image.Height, screen.Get(), Rect.left, Rect.top,
           SRCCOPY);
  }
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  image.Pixels.reserve(size_t(image.Width) * size_t(image.Height));
  for (size_t i = 0; i < size_t(image.Width) * size_t(image.Height); ++i)
    image.Pixels.push_back(p[i] & 0xFFFFFF);
  return image;
}

TScreenImage CaptureWindow(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return CaptureScreen(r);
}

int ChannelDistance(uint32_t A, uint32_t B) {
  int d = 0;
  for (int shift : {0, 8, 16})
    d = std::max(d, std::abs(int((A >> shift) & 0xFF) - int((B >> shift) & 0xFF)));
  return d;
}

bool AskRemote(HWND Wnd, UINT Msg, WPARAM Param, void* Data, size_t Size, HWND Receiver,
               DWORD_PTR* Answer) {
  if (!Receiver) Receiver = Wnd;
  DWORD pid = 0;
  GetWindowThreadProcessId(Wnd, &pid);
  TOwnedProcess process(OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
      pid));
  if (!process) return false;
  TRemoteMemory remote(process.Get(), Size);
  SIZE_T moved = 0;
  if (!remote.Get() || !WriteProcessMemory(process.Get(), remote.Get(), Data, Size, &moved) ||
      moved != Size)
    return false;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(Receiver, Msg, Param, reinterpret_cast<LPARAM>(remote.Get()),
                           SMTO_NORMAL, 5000, &result))
    return false;
  if (Answer) *Answer = result;
  return ReadProcessMemory(process.Get(), remote.Get(), Data, Size, &moved) && moved == Size;
}

RECT AskRect(HWND Wnd, UINT Msg, WPARAM Param) {
  RECT r{};
  if (!AskRemote(Wnd, Msg, Param, &r, sizeof r)) r = RECT{};
  return r;
}

POINT ClientOffset(HWND Wnd) {
  RECT w{};
  GetWindowRect(Wnd, &w);
  POINT origin{0, 0};
  ClientToScreen(Wnd, &origin);
  return {origin.x - w.left, origin.y - w.top};
}

HWND FocusOf(HWND Wnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(Wnd, nullptr), &info) ? info.hwndFocus : nullptr;
}

HWND CaptureOf(HWND Wnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(Wnd, nullptr), &info) ? info.hwndCapture
                                                                         : nullptr;
}

void MouseMoveTo(POINT Screen) {
  // Absolute input spans 0..65535 over the primary screen.
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, MulDiv(Screen.x, 65535, w - 1),
            MulDiv(Screen.y, 65535, h - 1));
}

void MouseButton(bool Down) {
  SendMouse(Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

bool PollUntil(DWORD TimeoutMs, const std::function<bool()>& Check, DWORD IntervalMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (Check()) return true;
    if (GetTickCount() - start >= TimeoutMs) return Check();
    Sleep(IntervalMs);
  }
}

}  // namespace e2e
