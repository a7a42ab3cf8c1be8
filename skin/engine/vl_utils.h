// Small stateless routines shared by the whole skin library: rectangles,
// points and numbers, word splitting, a registry read, paths and files, a
// few system queries and settings, and the unit's start-up step that binds
// optional system functions.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "skin/foundation/vl_geometry.h"
#include "widgets/rtl/sysutils.h"

class TControl;
class TGraphic;
class TBitmap;
class TIcon;

// (0, 0, Width, Height) of a graphic or a control; a bitmap's size; a
// control's top-left corner in its parent.
TRect GraphicRect(const TGraphic* Graphic);
TRect ControlRect(const TControl* Control);
TPoint BitmapSize(const TBitmap* Bitmap);
TPoint ControlPos(const TControl* Control);

// ---- Texts -------------------------------------------------------------------

// A set of character codes, bit n = code n.
using TCharSet = std::array<uint8_t, 32>;
TCharSet MakeCharSet(std::string_view Chars);
bool ByteInSet(unsigned char C, const TCharSet& Set);
// Words are maximal runs of characters outside Separators; N counts from 1.
int WordPosition(int N, std::string_view Text, const TCharSet& Separators);
std::string ExtractWord(int N, std::string_view Text, const TCharSet& Separators);
int WordCount(std::string_view Text, const TCharSet& Separators);
std::string RemoveChar(std::string_view Text, char C);
// Occurrences do not overlap and New is never searched again.
std::string ReplaceAll(std::string_view Text, std::string_view Old, std::string_view New);
// 0 for an empty text or any character that is not a hex digit; one trailing
// 'H' is allowed.
int64_t HexToInt64(std::string_view Text);

// ---- Registry, paths, files ----------------------------------------------------

// 0 when the key or the value is missing; never creates the key.
int ReadRegistryInt(HKEY RootKey, const std::string& KeyPath, const std::string& ValueName);

std::string NormalizeDirPath(const std::string& Path);
// The executable's folder with its trailing backslash.
std::string GetAppFolder();
bool DirExists(const std::string& Path);
int SearchFirst(const std::string& Path, int Attr, TSearchRec& F);
int SearchNext(TSearchRec& F);
void SearchClose(TSearchRec& F);

// A new icon object for the file (the caller frees it); nil when the file
// does not exist, SHGetFileInfoA is not bound or gives no icon.
TIcon* GetFileIcon(const std::string& FileName, UINT Flags);

// Message boxes with one OK button; the answer is dropped.
void ShowWarning(const std::string& Msg);
void ShowError(const std::string& Msg);

// ---- System queries and settings -------------------------------------------

// lfHeight of the system caption font; 0 when the query fails.
int GetCaptionFontHeight();
// A new font made from the system caption font; 0 when the query fails.
// The caller deletes it.
HFONT CreateCaptionFont();
bool GetMinAnimate();
// True once the application has been told to end: effects stop starting.
bool ApplicationTerminating();
void SetMinAnimate(bool On);
// Processes the application's pending messages until at least Milliseconds
// of the tick count have passed.
void WaitWithMessages(DWORD Milliseconds);
// True once Milliseconds have passed between two tick counts, also when the
// counter wrapped around in between.
constexpr bool TicksElapsed(DWORD Start, DWORD Now, DWORD Milliseconds) {
  return static_cast<DWORD>(Now - Start) >= Milliseconds;
}
bool IsWinXPOrLater();
// True when the platform's answer says so, and also when it cannot be asked.
bool DebuggerPresent();
bool IsWow64();
// Set at start-up: a 32-bit process on 64-bit Windows without composition.
extern bool Wow64WithoutComposition;
// Binds SHGetFileInfoA (shared with the shell-folder start-up).
void BindSHGetFileInfo();
using TSHGetFileInfoA = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
TSHGetFileInfoA BoundSHGetFileInfo();

void VlUtilsInitialization();
void VlUtilsFinalization();
