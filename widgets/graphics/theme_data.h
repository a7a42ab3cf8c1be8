// Theme data of a window class ("BUTTON", "TAB", ...) for one paint; every
// themed call is guarded by IsThemePartDefined and has a classic fallback.
#pragma once

#include <windows.h>

#include <uxtheme.h>

class TThemeData {
 public:
  // Null when themes are off or the class has no theme data.
  TThemeData(HWND Wnd, const wchar_t* ClassList);
  TThemeData(const TThemeData&) = delete;
  TThemeData& operator=(const TThemeData&) = delete;
  ~TThemeData() {
    if (theme_) CloseThemeData(theme_);
  }
  HTHEME Get() const { return theme_; }
  bool Defines(int Part, int State = 0) const {
    return theme_ && IsThemePartDefined(theme_, Part, State);
  }

 private:
  HTHEME theme_ = nullptr;
};
