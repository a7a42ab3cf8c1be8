#include "widgets/rtl/sysutils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "widgets/rtl/exceptions.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

TSysLocale SysLocale;

namespace {

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiUpper(c);
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// ---- Numbers --------------------------------------------------------------

std::string IntToStr(int64_t Value) {
  return std::to_string(Value);
}

bool TryStrToInt(const std::string& S, int& Value) {
  std::string t = Trim(S);
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  int base = 10;
  if (i < t.size() && t[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == t.size()) return false;
  // Hex literals may name the full 32-bit pattern ($FFFFFFFF = -1).
  const int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
  int64_t v = 0;
  for (; i < t.size(); ++i) {
    int d = base == 16 ? HexDigit(t[i]) : (t[i] >= '0' && t[i] <= '9' ? t[i] - '0' : -1);
    if (d < 0) return false;
    v = v * base + d;
    if (v > limit) return false;
  }
  if (base == 16) v = static_cast<int32_t>(static_cast<uint32_t>(v));
  Value = static_cast<int>(negative ? -v : v);
  return true;
}

int StrToInt(const std::string& S) {
  int v;
  if (!TryStrToInt(S, v)) throw EConvertError("'" + S + "' is not a valid integer value");
  return v;
}

int StrToIntDef(const std::string& S, int Default) {
  int v;
  return TryStrToInt(S, v) ? v : Default;
}

std::string FloatToStr(double Value) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value > 0 ? "INF" : "-INF";
  // 15 significant digits, no trailing zeros, always '.'.
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, Value, std::chars_format::general, 15);
  std::string s(buf, r.ptr);
  if (s == "-0") s = "0";
  return s;
}

bool TryStrToFloat(const std::string& S, double& Value) {
  std::string t = Trim(S);
  const char* b = t.data();
  const char* e = b + t.size();
  if (b != e && *b == '+') ++b;
  if (b == e) return false;
  double v;
  auto r = std::from_chars(b, e, v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != e) return false;
  Value = v;
  return true;
}

double StrToFloat(const std::string& S) {
  double v;
  if (!TryStrToFloat(S, v)) throw EConvertError("'" + S + "' is not a valid floating point value");
  return v;
}

double StrToFloatDef(const std::string& S, double Default) {
  double v;
  return TryStrToFloat(S, v) ? v : Default;
}

int64_t Round(double Value) {
  return std::llrint(Value);
}

std::string Format(const char* Fmt, ...) {
  va_list args;
  va_start(args, Fmt);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, Fmt, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), Fmt, args);
    out.resize(static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

// ---- Strings --------------------------------------------------------------

std::string Trim(std::string_view S) {
  size_t b = 0, e = S.size();
  while (b < e && IsBlank(S[b])) ++b;
  while (e > b && IsBlank(S[e - 1])) --e;
  return std::string(S.substr(b, e - b));
}

std::string TrimLeft(std::string_view S) {
  size_t b = 0;
  while (b < S.size() && IsBlank(S[b])) ++b;
  return std::string(S.substr(b));
}

std::string TrimRight(std::string_view S) {
  size_t e = S.size();
  while (e > 0 && IsBlank(S[e - 1])) --e;
  return std::string(S.substr(0, e));
}

int Pos(std::string_view Sub, std::string_view S) {
  if (Sub.empty()) return 0;
  size_t p = S.find(Sub);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

std::string Copy(std::string_view S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || static_cast<size_t>(Index) > S.size()) return {};
  return std::string(S.substr(static_cast<size_t>(Index) - 1, static_cast<size_t>(Count)));
}

std::string UpperCase(std::string_view S) {
  std::string r(S);
  for (char& c : r) c = AsciiUpper(c);
  return r;
}

std::string LowerCase(std::string_view S) {
  std::string r(S);
  for (char& c : r) c = AsciiLower(c);
  return r;
}

int CompareText(std::string_view A, std::string_view B) {
  size_t n = std::min(A.size(), B.size());
  for (size_t i = 0; i < n; ++i) {
    int x = static_cast<unsigned char>(AsciiUpper(A[i]));
    int y = static_cast<unsigned char>(AsciiUpper(B[i]));
    if (x != y) return x - y;
  }
  return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}

bool SameText(std::string_view A, std::string_view B) {
  return A.size() == B.size() && CompareText(A, B) == 0;
}

int CompareStr(std::string_view A, std::string_view B) {
  int c = A.compare(B);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// ---- File names, files and folders -----------------------------------------

namespace {
size_t NameStart(std::string_view FileName) {
  size_t p = FileName.find_last_of("\\/:");
  return p == std::string_view::npos ? 0 : p + 1;
}
}  // namespace

std::string ExtractFilePath(std::string_view FileName) {
  return std::string(FileName.substr(0, NameStart(FileName)));
}

std::string ExtractFileName(std::string_view FileName) {
  return std::string(FileName.substr(NameStart(FileName)));
}

std::string ExtractFileExt(std::string_view FileName) {
  std::string_view name = FileName.substr(NameStart(FileName));
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

bool FileExists(const std::string& FileName) {
  DWORD a = GetFileAttributesA(FileName.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& Directory) {
  DWORD a = GetFileAttributesA(Directory.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TSearchRec::~TSearchRec() {
  FindClose(*this);
}

namespace {
// Skips entries the caller did not ask for; 0 when one was found.
int FindMatching(TSearchRec& F, WIN32_FIND_DATAA& data) {
  while (data.dwFileAttributes & static_cast<DWORD>(F.ExcludeAttr)) {
    if (!FindNextFileA(F.FindHandle, &data)) return static_cast<int>(GetLastError());
  }
  F.Name = data.cFileName;
  F.Attr = static_cast<int>(data.dwFileAttributes);
  F.Size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return 0;
}
}  // namespace

int FindFirst(const std::string& Path, int Attr, TSearchRec& F) {
  FindClose(F);
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  WIN32_FIND_DATAA data;
  F.FindHandle = FindFirstFileA(Path.c_str(), &data);
  if (F.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  int r = FindMatching(F, data);
  if (r != 0) FindClose(F);
  return r;
}

int FindNext(TSearchRec& F) {
  if (F.FindHandle == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  WIN32_FIND_DATAA data;
  if (!FindNextFileA(F.FindHandle, &data)) return static_cast<int>(GetLastError());
  return FindMatching(F, data);
}

void FindClose(TSearchRec& F) {
  if (F.FindHandle == INVALID_HANDLE_VALUE) return;
  ::FindClose(F.FindHandle);
  F.FindHandle = INVALID_HANDLE_VALUE;
}

// ---- Process ---------------------------------------------------------------

namespace {
std::vector<std::string> CommandLineArgs() {
  std::vector<std::string> args;
  const char* p = GetCommandLineA();
  while (*p) {
    while (*p && IsBlank(*p)) ++p;
    if (!*p) break;
    std::string arg;
    bool quoted = false;
    for (; *p && (quoted || !IsBlank(*p)); ++p) {
      if (*p == '"')
        quoted = !quoted;
      else
        arg += *p;
    }
    args.push_back(std::move(arg));
  }
  return args;
}
}  // namespace

std::string ParamStr(int Index) {
  if (Index == 0) {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return std::string(buf, n < MAX_PATH ? n : 0);
  }
  std::vector<std::string> args = CommandLineArgs();
  if (Index < 0 || static_cast<size_t>(Index) >= args.size()) return {};
  return args[static_cast<size_t>(Index)];
}

int ParamCount() {
  size_t n = CommandLineArgs().size();
  return n == 0 ? 0 : static_cast<int>(n) - 1;
}

HINSTANCE HInstance() {
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

std::string LoadStr(int Ident) {
  char buf[4096];
  int n = LoadStringA(HInstance(), static_cast<UINT>(Ident), buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

std::string ShortDateFormat() {
  char buf[128];
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, sizeof buf);
  return n > 1 ? std::string(buf, static_cast<size_t>(n) - 1) : std::string();
}

void InitSysLocale() {
  SysLocale.MiddleEast = GetSystemMetrics(SM_MIDEASTENABLED) != 0;
}

// ---- Keyboard ----------------------------------------------------------------

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShortCut ShortCut(uint16_t Key, TShiftState Shift) {
  if (Key & 0xFF00) return scNone;
  TShortCut r = Key;
  if (Shift & ssShift) r |= scShift;
  if (Shift & ssCtrl) r |= scCtrl;
  if (Shift & ssAlt) r |= scAlt;
  return r;
}

namespace {
struct KeyName {
  uint8_t Key;
  const char* Name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},    {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},  {VK_UP, "Up"},        {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

std::string KeyToText(uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num " + std::to_string(key - VK_NUMPAD0);
  for (const KeyName& k : kKeyNames)
    if (k.Key == key) return k.Name;
  return {};
}
}  // namespace

std::string ShortCutToText(TShortCut ShortCut) {
  std::string key = KeyToText(static_cast<uint8_t>(ShortCut & 0xFF));
  if (key.empty()) return {};
  std::string r;
  if (ShortCut & scShift) r += "Shift+";
  if (ShortCut & scCtrl) r += "Ctrl+";
  if (ShortCut & scAlt) r += "Alt+";
  return r + key;
}

TShortCut TextToShortCut(std::string_view Text) {
  TShortCut mods = 0;
  std::string_view rest = Text;
  for (;;) {
    auto take = [&](std::string_view prefix, TShortCut bit) {
      if (rest.size() > prefix.size() && SameText(rest.substr(0, prefix.size()), prefix)) {
        rest.remove_prefix(prefix.size());
        mods |= bit;
        return true;
      }
      return false;
    };
    if (!take("Shift+", scShift) && !take("Ctrl+", scCtrl) && !take("Alt+", scAlt)) break;
  }
  for (int key = 1; key < 256; ++key) {
    std::string name = KeyToText(static_cast<uint8_t>(key));
    if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(key | mods);
  }
  return scNone;
}
