#include "widgets/graphics/colors.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <commctrl.h>

#include "widgets/rtl/exceptions.h"

namespace {

struct TIdentEntry {
  int32_t Value;
  const char* Name;
};

// The order is the order a writer prefers when two names share a value
// (clGray before clDkGray, clSilver before clLtGray).
constexpr TIdentEntry kColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

constexpr TIdentEntry kCharsets[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

bool SameIdent(std::string_view a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return i == a.size() && b[i] == 0;
}

template <size_t N>
bool ToIdent(const TIdentEntry (&table)[N], int32_t value, std::string& ident) {
  for (const auto& e : table)
    if (e.Value == value) {
      ident = e.Name;
      return true;
    }
  return false;
}

template <size_t N>
bool FromIdent(const TIdentEntry (&table)[N], std::string_view ident, int32_t& value) {
  for (const auto& e : table)
    if (SameIdent(ident, e.Name)) {
      value = e.Value;
      return true;
    }
  return false;
}

}  // namespace

COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color);
}

COLORREF GetRGBColor(TColor Value) {
  if (Value == clNone) return CLR_NONE;
  if (Value == clDefault) return CLR_DEFAULT;
  return ColorToRGB(Value);
}

TColor GetColorFromRGB(COLORREF Value) {
  if (Value == CLR_NONE) return clNone;
  if (Value == CLR_DEFAULT) return clDefault;
  return static_cast<TColor>(Value);
}

bool ColorToIdent(TColor Color, std::string& Ident) {
  return ToIdent(kColors, Color, Ident);
}

bool IdentToColor(std::string_view Ident, TColor& Color) {
  return FromIdent(kColors, Ident, Color);
}

std::string ColorToString(TColor Color) {
  std::string s;
  if (ColorToIdent(Color, s)) return s;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<unsigned>(Color));
  return buf;
}

TColor StringToColor(std::string_view S) {
  TColor c;
  if (IdentToColor(S, c)) return c;
  std::string t(S);
  const char* p = t.c_str();
  bool neg = *p == '-';
  if (neg || *p == '+') ++p;
  int base = 10;
  if (*p == '$') {
    base = 16;
    ++p;
  } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    base = 16;
    p += 2;
  }
  char* end = nullptr;
  errno = 0;
  unsigned long long v = *p ? std::strtoull(p, &end, base) : 0;
  if (!*p || *end || errno || v > 0xFFFFFFFFull)
    throw EConvertError("'" + t + "' is not a valid color value");
  uint32_t u = static_cast<uint32_t>(v);
  return static_cast<TColor>(neg ? 0u - u : u);
}

bool CharsetToIdent(int Charset, std::string& Ident) {
  return ToIdent(kCharsets, Charset, Ident);
}

bool IdentToCharset(std::string_view Ident, int& Charset) {
  int32_t v;
  if (!FromIdent(kCharsets, Ident, v)) return false;
  Charset = v;
  return true;
}
