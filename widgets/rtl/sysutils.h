// Run-time helpers: conversions, string and file-name helpers, files and
// folders, the command line, geometry records and keyboard short cuts.
// Texts are 8-bit Windows-1252 strings; case changes touch ASCII only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

// ---- Numbers --------------------------------------------------------------

std::string IntToStr(int64_t Value);
// Decimal with an optional sign, "$hex" or "0x" hex (sign allowed before
// either); blanks around the number are ignored. Raises EConvertError
// ("'x' is not a valid integer value") for anything else or a value outside
// the 32-bit range.
int StrToInt(const std::string& S);
int StrToIntDef(const std::string& S, int Default);
bool TryStrToInt(const std::string& S, int& Value);

// Floats use '.' as the decimal separator whatever the locale.
std::string FloatToStr(double Value);
double StrToFloat(const std::string& S);  // raises EConvertError
double StrToFloatDef(const std::string& S, double Default);
bool TryStrToFloat(const std::string& S, double& Value);

// Rounds halves to the even neighbour (banker's rounding), as the FPU does.
int64_t Round(double Value);
// MulDiv is the platform's own (kernel32): (a * b) / c rounded, -1 on overflow.

// printf-style formatting into a string.
std::string Format(const char* Fmt, ...) __attribute__((format(printf, 1, 2)));

// ---- Strings --------------------------------------------------------------

// Removes control characters and blanks (everything <= ' ') at the ends.
std::string Trim(std::string_view S);
std::string TrimLeft(std::string_view S);
std::string TrimRight(std::string_view S);
// 1-based position of Sub in S, 0 when absent (or Sub is empty).
int Pos(std::string_view Sub, std::string_view S);
// Count characters from the 1-based Index; out-of-range parts are clipped.
std::string Copy(std::string_view S, int Index, int Count);
std::string UpperCase(std::string_view S);  // ASCII letters only
std::string LowerCase(std::string_view S);  // ASCII letters only
// ASCII case-insensitive comparison: < 0, 0 or > 0.
int CompareText(std::string_view A, std::string_view B);
bool SameText(std::string_view A, std::string_view B);
// Byte-wise comparison: < 0, 0 or > 0.
int CompareStr(std::string_view A, std::string_view B);

// ---- File names, files and folders -----------------------------------------

// Up to and including the last '\\', '/' or ':'.
std::string ExtractFilePath(std::string_view FileName);
// After the last '\\', '/' or ':'.
std::string ExtractFileName(std::string_view FileName);
// From the last '.' of the name part on (".txt"), empty when there is none.
std::string ExtractFileExt(std::string_view FileName);
bool FileExists(const std::string& FileName);        // an existing file, not a folder
bool DirectoryExists(const std::string& Directory);  // an existing folder

enum : int {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faAnyFile = 0x3F,
};

// One found entry; owns the search between FindFirst and FindClose (and
// closes a search left open when it is destroyed).
struct TSearchRec {
  std::string Name;
  int Attr = 0;
  int64_t Size = 0;

  TSearchRec() = default;
  TSearchRec(const TSearchRec&) = delete;
  TSearchRec& operator=(const TSearchRec&) = delete;
  ~TSearchRec();

  HANDLE FindHandle = INVALID_HANDLE_VALUE;
  int ExcludeAttr = 0;
};

// Finds the first entry matching Path (wildcards allowed). Plain files are
// always found; hidden, system and folder entries only when their bit is in
// Attr. Returns 0 on success, else the platform error code.
int FindFirst(const std::string& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// ---- Process ---------------------------------------------------------------

// ParamStr(0) is the program's file name; 1..ParamCount() are the command
// line's arguments (blanks separate, double quotes group and are removed).
std::string ParamStr(int Index);
int ParamCount();
// The module this code is linked into.
HINSTANCE HInstance();
// A string of the module's string table, empty when absent.
std::string LoadStr(int Ident);
// The user's short date format as the platform reports it.
std::string ShortDateFormat();

struct TSysLocale {
  bool MiddleEast = false;  // right-to-left reading is available
};
// Filled by InitSysLocale() in the layer's start-up; MiddleEast is False before.
extern TSysLocale SysLocale;
void InitSysLocale();

// ---- Geometry ---------------------------------------------------------------

struct TPoint {
  int X = 0, Y = 0;
  TPoint() = default;
  constexpr TPoint(int x, int y) : X(x), Y(y) {}
  TPoint(const POINT& p) : X(p.x), Y(p.y) {}
  operator POINT() const { return {X, Y}; }
  POINT* AsPOINT() { return reinterpret_cast<POINT*>(this); }
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int cx = 0, cy = 0;
  TSize() = default;
  constexpr TSize(int w, int h) : cx(w), cy(h) {}
  TSize(const SIZE& s) : cx(s.cx), cy(s.cy) {}
  operator SIZE() const { return {cx, cy}; }
  bool operator==(const TSize&) const = default;
};

// Right and Bottom are exclusive, as in RECT; the layout equals RECT's.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
  operator RECT() const { return {Left, Top, Right, Bottom}; }
  RECT* AsRECT() { return reinterpret_cast<RECT*>(this); }
  const RECT* AsRECT() const { return reinterpret_cast<const RECT*>(this); }
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  bool operator==(const TRect&) const = default;
};
static_assert(sizeof(TRect) == sizeof(RECT) && sizeof(TPoint) == sizeof(POINT));

constexpr TRect Rect(int Left, int Top, int Right, int Bottom) {
  return {Left, Top, Right, Bottom};
}
constexpr TRect Bounds(int Left, int Top, int Width, int Height) {
  return {Left, Top, Left + Width, Top + Height};
}
constexpr TPoint Point(int X, int Y) {
  return {X, Y};
}

// ---- Keyboard ----------------------------------------------------------------

// A set of shift keys and mouse buttons, one bit each.
using TShiftState = uint32_t;
enum : TShiftState {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
  ssDouble = 1u << 6,
};
// The state of Shift, Ctrl and Alt now (GetKeyState).
TShiftState KeyboardShiftState();

// A virtual-key code in the low byte plus modifier bits.
using TShortCut = uint16_t;
enum : TShortCut { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
TShortCut ShortCut(uint16_t Key, TShiftState Shift);
// "Ctrl+Shift+S", "Alt+F4", "Del"...; empty for scNone or an unnamed key.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse of ShortCutToText, case-insensitive; scNone when not understood.
TShortCut TextToShortCut(std::string_view Text);
