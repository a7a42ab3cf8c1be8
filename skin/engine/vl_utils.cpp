#include "skin/engine/vl_utils.h"

#include <shellapi.h>

#include <cstddef>

#include "skin/engine/services_forms.h"
#include "widgets/controls/controls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"

namespace {

void ProcessPendingMessages() {
  if (Application) {
    Application->ProcessMessages();
    return;
  }
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

// ---- Texts -------------------------------------------------------------------

TCharSet MakeCharSet(std::string_view Chars) {
  TCharSet s{};
  for (unsigned char c : Chars) s[c >> 3] |= static_cast<uint8_t>(1u << (c & 7));
  return s;
}

bool ByteInSet(unsigned char C, const TCharSet& Set) {
  return (Set[C >> 3] >> (C & 7)) & 1;
}

namespace {

// Calls f(start, length) for each word until f returns false.
template <typename F>
void ForEachWord(std::string_view Text, const TCharSet& Separators, F f) {
  size_t i = 0, n = Text.size();
  while (i < n) {
    while (i < n && ByteInSet(static_cast<unsigned char>(Text[i]), Separators)) ++i;
    if (i >= n) break;
    size_t start = i;
    while (i < n && !ByteInSet(static_cast<unsigned char>(Text[i]), Separators)) ++i;
    if (!f(start, i - start)) return;
  }
}

}  // namespace

int WordPosition(int N, std::string_view Text, const TCharSet& Separators) {
  int count = 0, result = 0;
  ForEachWord(Text, Separators, [&](size_t start, size_t) {
    if (++count == N) {
      result = static_cast<int>(start) + 1;
      return false;
    }
    return true;
  });
  return result;
}

std::string ExtractWord(int N, std::string_view Text, const TCharSet& Separators) {
  int count = 0;
  std::string result;
  ForEachWord(Text, Separators, [&](size_t start, size_t len) {
    if (++count == N) {
      result.assign(Text.substr(start, len));
      return false;
    }
    return true;
  });
  return result;
}

int WordCount(std::string_view Text, const TCharSet& Separators) {
  int count = 0;
  ForEachWord(Text, Separators, [&](size_t, size_t) {
    ++count;
    return true;
  });
  return count;
}

std::string RemoveChar(std::string_view Text, char C) {
  std::string r;
  r.reserve(Text.size());
  for (char c : Text)
    if (c != C) r += c;
  return r;
}

std::string ReplaceAll(std::string_view Text, std::string_view Old, std::string_view New) {
  if (Old.empty()) return std::string(Text);
  std::string result;
  std::string_view rest = Text;
  for (;;) {
    size_t p = rest.find(Old);
    if (p == std::string_view::npos) break;
    result.append(rest.substr(0, p));
    result.append(New);
    rest = rest.substr(p + Old.size());
  }
  result.append(rest);
  return result;
}

int64_t HexToInt64(std::string_view Text) {
  std::string t = UpperCase(Text);
  if (!t.empty() && t.back() == 'H') t.pop_back();
  // Shifting an unsigned value keeps overflow of long texts defined.
  uint64_t v = 0;
  for (char c : t) {
    v <<= 4;
    if (c >= '0' && c <= '9')
      v += static_cast<uint64_t>(c - '0');
    else if (c >= 'A' && c <= 'F')
      v += static_cast<uint64_t>(c - 'A' + 10);
    else
      return 0;
  }
  return static_cast<int64_t>(v);
}

// ---- Graphics and controls ---------------------------------------------------------

TRect GraphicRect(const TGraphic* Graphic) {
  return TRect(0, 0, Graphic->Width(), Graphic->Height());
}
TRect ControlRect(const TControl* Control) {
  return TRect(0, 0, Control->Width(), Control->Height());
}
TPoint BitmapSize(const TBitmap* Bitmap) {
  return {Bitmap->Width(), Bitmap->Height()};
}
TPoint ControlPos(const TControl* Control) {
  return {Control->Left(), Control->Top()};
}

TIcon* GetFileIcon(const std::string& FileName, UINT Flags) {
  TSHGetFileInfoA fn = BoundSHGetFileInfo();
  if (!fn || !FileExists(FileName)) return nullptr;
  // The record's size differs between 32 and 64 bits: always the platform's own.
  SHFILEINFOA info{};
  if (!fn(FileName.c_str(), 0, &info, sizeof info, Flags | SHGFI_ICON)) return nullptr;
  if (!info.hIcon) return nullptr;
  TIcon* icon = New<TIcon>();
  icon->SetHandle(info.hIcon);
  if (icon->Empty()) {
    TObject::Free(icon);
    return nullptr;
  }
  return icon;
}

void ShowWarning(const std::string& Msg) {
  ShowMessageBox(Msg, mtWarning, MsgDlgButtons({mbOK}), 0);
}
void ShowError(const std::string& Msg) {
  ShowMessageBox(Msg, mtError, MsgDlgButtons({mbOK}), 0);
}

// ---- Registry, paths, files ----------------------------------------------------

int ReadRegistryInt(HKEY RootKey, const std::string& KeyPath, const std::string& ValueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootKey, KeyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD type = 0, value = 0, size = sizeof value;
  LONG rc = RegQueryValueExA(key, ValueName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || size != sizeof value) return 0;
  return static_cast<int>(value);
}

std::string NormalizeDirPath(const std::string& Path) {
  if (Path.empty()) return Path;
  if (Path.back() == '\\') return Path;
  if (Path.back() == '/') return Path.substr(0, Path.size() - 1) + '\\';
  if (Path.size() == 1) return Path + ":\\";
  return Path + '\\';
}

std::string GetAppFolder() {
  return ExtractFilePath(ParamStr(0));
}
bool DirExists(const std::string& Path) {
  return DirectoryExists(Path);
}
int SearchFirst(const std::string& Path, int Attr, TSearchRec& F) {
  return FindFirst(Path, Attr, F);
}
int SearchNext(TSearchRec& F) {
  return FindNext(F);
}
void SearchClose(TSearchRec& F) {
  FindClose(F);
}

// ---- System queries and settings -------------------------------------------

bool ApplicationTerminating() { return Application && Application->Terminated(); }

namespace {

// The metrics record without the padded-border field: every platform
// version accepts this size.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
static_assert(kNonClientMetricsSize == 340);

bool QueryCaptionFont(LOGFONTA& Font) {
  NONCLIENTMETRICSA m{};
  m.cbSize = kNonClientMetricsSize;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &m, 0)) return false;
  Font = m.lfCaptionFont;
  return true;
}

struct ModuleState {
  TOwnedModule Kernel32;
  TOwnedModule Shell32;
  BOOL(WINAPI* IsDebuggerPresent)() = nullptr;
  BOOL(WINAPI* IsWow64Process)(HANDLE, PBOOL) = nullptr;
  TSHGetFileInfoA SHGetFileInfo = nullptr;
};

ModuleState& State() {
  static ModuleState s;
  return s;
}

template <typename F>
void Bind(F& target, HMODULE module, const char* name) {
  target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

int GetCaptionFontHeight() {
  LOGFONTA f;
  return QueryCaptionFont(f) ? f.lfHeight : 0;
}

HFONT CreateCaptionFont() {
  LOGFONTA f;
  return QueryCaptionFont(f) ? CreateFontIndirectA(&f) : nullptr;
}

bool GetMinAnimate() {
  ANIMATIONINFO ai{};
  ai.cbSize = sizeof ai;
  return SystemParametersInfoA(SPI_GETANIMATION, sizeof ai, &ai, 0) && ai.iMinAnimate != 0;
}

void SetMinAnimate(bool On) {
  ANIMATIONINFO ai{};
  ai.cbSize = sizeof ai;
  ai.iMinAnimate = On ? -1 : 0;
  SystemParametersInfoA(SPI_SETANIMATION, sizeof ai, &ai, 0);
}

void WaitWithMessages(DWORD Milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    ProcessPendingMessages();
    const DWORD now = GetTickCount();
    if (TicksElapsed(start, now, Milliseconds)) break;
    // Sleep until a message arrives or the time is up instead of spinning.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, Milliseconds - (now - start), QS_ALLINPUT);
  }
}

bool IsWinXPOrLater() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&vi)) return false;
#pragma GCC diagnostic pop
  return vi.dwMajorVersion > 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion > 0);
}

bool DebuggerPresent() {
  auto f = State().IsDebuggerPresent;
  return f ? f() != FALSE : true;
}

bool IsWow64() {
  auto f = State().IsWow64Process;
  BOOL wow = FALSE;
  if (!f || !f(GetCurrentProcess(), &wow)) return false;
  return wow != FALSE;
}

bool Wow64WithoutComposition = false;

void BindSHGetFileInfo() {
  ModuleState& s = State();
  if (!s.Shell32) s.Shell32.Reset(LoadLibraryA("shell32.dll"));
  if (s.Shell32 && !s.SHGetFileInfo) Bind(s.SHGetFileInfo, s.Shell32.Get(), "SHGetFileInfoA");
}

TSHGetFileInfoA BoundSHGetFileInfo() {
  return State().SHGetFileInfo;
}

void VlUtilsInitialization() {
  ModuleState& s = State();
  if (!s.Kernel32) s.Kernel32.Reset(LoadLibraryA("kernel32.dll"));
  if (s.Kernel32) {
    if (!s.IsDebuggerPresent) Bind(s.IsDebuggerPresent, s.Kernel32.Get(), "IsDebuggerPresent");
    Bind(s.IsWow64Process, s.Kernel32.Get(), "IsWow64Process");
    if (IsWow64() && !DwmCompositionEnabled()) Wow64WithoutComposition = true;
  }
  BindSHGetFileInfo();
}

void VlUtilsFinalization() {
  ModuleState& s = State();
  s.IsDebuggerPresent = nullptr;
  s.IsWow64Process = nullptr;
  s.SHGetFileInfo = nullptr;
  s.Kernel32.Reset();
  s.Shell32.Reset();
}
