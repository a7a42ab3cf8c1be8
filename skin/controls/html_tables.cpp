// The fixed tables of the tag markup: colour names, character entities, the
// Windows-1252 upper-case map, and the FONT tag's attributes.
#include <cstdlib>

#include "skin/controls/html_text.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_factories.h"

const std::array<THtmlColorName, 16> HtmlColorNames = {{
    {"AQUA", 0xFFFF00},
    {"BLACK", 0x000000},
    {"BLUE", 0xFF0000},
    {"FUCHSIA", 0xFF00FF},
    {"GRAY", 0x808080},
    {"GREEN", 0x008000},
    {"LIME", 0x00FF00},
    {"MAROON", 0x000080},
    {"NAVY", 0x800000},
    {"OLIVE", 0x008080},
    {"PURPLE", 0x800080},
    {"RED", 0x0000FF},
    {"SILVER", 0xC0C0C0},
    {"TEAL", 0x808000},
    {"WHITE", 0xFFFFFF},
    {"YELLOW", 0x00FFFF},
}};

// Codes above 255 stand for their Windows-1252 byte. The apostrophe's row
// has no number sign in either column, so "&#39;" is no entity.
const std::array<THtmlEntity, 87> HtmlEntities = {{
    {"ndash", "#8211", '\x96'}, {"mdash", "#8212", '\x97'}, {"nbsp", "#160", '\xA0'},
    {"iexcl", "#161", '\xA1'},  {"iquest", "#191", '\xBF'}, {"quot", "#34", '"'},
    {"ldquo", "#8220", '\x93'}, {"rdquo", "#8221", '\x94'}, {"39", "39", '\''},
    {"lsquo", "#8216", '\x91'}, {"rsquo", "#8217", '\x92'}, {"laquo", "#171", '\xAB'},
    {"raquo", "#187", '\xBB'},  {"amp", "#38", '&'},        {"cent", "#162", '\xA2'},
    {"copy", "#169", '\xA9'},   {"divide", "#247", '\xF7'}, {"gt", "#62", '>'},
    {"lt", "#60", '<'},         {"micro", "#181", '\xB5'},  {"middot", "#183", '\xB7'},
    {"para", "#182", '\xB6'},   {"plusmn", "#177", '\xB1'}, {"euro", "#8364", '\x80'},
    {"pound", "#163", '\xA3'},  {"reg", "#174", '\xAE'},    {"sect", "#167", '\xA7'},
    {"trade", "#153", '\x99'},  {"yen", "#165", '\xA5'},    {"szlig", "#223", '\xDF'},
    {"yuml", "#255", '\xFF'},   {"aacute", "#225", '\xE1'}, {"Aacute", "#193", '\xC1'},
    {"agrave", "#224", '\xE0'}, {"Agrave", "#192", '\xC0'}, {"acirc", "#226", '\xE2'},
    {"Acirc", "#194", '\xC2'},  {"aring", "#229", '\xE5'},  {"Aring", "#197", '\xC5'},
    {"atilde", "#227", '\xE3'}, {"Atilde", "#195", '\xC3'}, {"auml", "#228", '\xE4'},
    {"Auml", "#196", '\xC4'},   {"aelig", "#230", '\xE6'},  {"AElig", "#198", '\xC6'},
    {"ccedil", "#231", '\xE7'}, {"Ccedil", "#199", '\xC7'}, {"eacute", "#233", '\xE9'},
    {"Eacute", "#201", '\xC9'}, {"egrave", "#232", '\xE8'}, {"Egrave", "#200", '\xC8'},
    {"ecirc", "#234", '\xEA'},  {"Ecirc", "#202", '\xCA'},  {"euml", "#235", '\xEB'},
    {"Euml", "#203", '\xCB'},   {"iacute", "#237", '\xED'}, {"Iacute", "#205", '\xCD'},
    {"igrave", "#236", '\xEC'}, {"Igrave", "#204", '\xCC'}, {"icirc", "#238", '\xEE'},
    {"Icirc", "#206", '\xCE'},  {"iuml", "#239", '\xEF'},   {"Iuml", "#207", '\xCF'},
    {"ntilde", "#241", '\xF1'}, {"Ntilde", "#209", '\xD1'}, {"oacute", "#243", '\xF3'},
    {"Oacute", "#211", '\xD3'}, {"ograve", "#242", '\xF2'}, {"Ograve", "#210", '\xD2'},
    {"ocirc", "#244", '\xF4'},  {"Ocirc", "#212", '\xD4'},  {"oslash", "#248", '\xF8'},
    {"Oslash", "#216", '\xD8'}, {"otilde", "#245", '\xF5'}, {"Otilde", "#213", '\xD5'},
    {"ouml", "#246", '\xF6'},   {"Ouml", "#214", '\xD6'},   {"uacute", "#250", '\xFA'},
    {"Uacute", "#218", '\xDA'}, {"ugrave", "#249", '\xF9'}, {"Ugrave", "#217", '\xD9'},
    {"ucirc", "#251", '\xFB'},  {"Ucirc", "#219", '\xDB'},  {"uuml", "#252", '\xFC'},
    {"Uuml", "#220", '\xDC'},   {"#180", "#180", '\xB4'},   {"#96", "#96", '`'},
}};

namespace {

constexpr std::array<uint8_t, 256> MakeUpperTable() {
  std::array<uint8_t, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(i);
  for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<uint8_t>(c - 32);
  t[0x9A] = 0x8A;  // s caron
  t[0x9C] = 0x8C;  // oe
  t[0x9E] = 0x8E;  // z caron
  t[0xFF] = 0x9F;  // y diaeresis
  for (int c = 0xE0; c <= 0xFE; ++c)
    if (c != 0xF7) t[c] = static_cast<uint8_t>(c - 32);
  return t;
}
constexpr std::array<uint8_t, 256> UpperTable = MakeUpperTable();

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A point size out of this range would ask the alpha text painter for a
// bitmap as large as the run.
int ClampSize(int64_t v) {
  if (v < 1) return 1;
  if (v > 500) return 500;
  return static_cast<int>(v);
}

TColor ParseColorValue(std::string_view v) {
  int64_t rgb = -1;
  if (!v.empty() && v[0] == '#') {
    rgb = HexToInt64(v.substr(1));
  } else {
    for (const auto& row : HtmlColorNames)
      if (v == row.Name) return row.Color;
    rgb = HexToInt64(v);
  }
  // Only 24 bits: a high byte would make a system colour or clNone.
  return SwapRedBlue(static_cast<int32_t>(rgb & 0xFFFFFF));
}

struct TagWord {
  std::string_view Text;
  size_t Offset;
};

std::vector<TagWord> SplitTag(std::string_view Tag) {
  auto separator = [](char c) {
    return c == '\n' || c == '\r' || c == ' ' || c == '"' || c == '<' || c == '=' || c == '>';
  };
  std::vector<TagWord> words;
  size_t i = 0;
  while (i < Tag.size()) {
    while (i < Tag.size() && separator(Tag[i])) ++i;
    size_t start = i;
    while (i < Tag.size() && !separator(Tag[i])) ++i;
    if (i > start) words.push_back({Tag.substr(start, i - start), start});
  }
  return words;
}

void ApplySize(TFont& Font, std::string_view v) {
  if (!v.empty() && (v[0] == '-' || v[0] == '+')) {
    std::string_view n = v.substr(1);
    // A relative size whose number is not one leaves the size alone.
    if (!IsDigits(n) || n.size() > 12) return;
    int64_t delta = std::strtoll(std::string(n).c_str(), nullptr, 10);
    int64_t size = Font.Size();
    Font.SetSize(ClampSize(v[0] == '-' ? size - delta : size + delta));
    return;
  }
  if (!IsDigits(v) || v.size() > 10) {
    Font.SetSize(8);
    return;
  }
  int64_t size = std::strtoll(std::string(v).c_str(), nullptr, 10);
  Font.SetSize(size > INT32_MAX ? 8 : ClampSize(size));
}

}  // namespace

std::string HtmlUpperCase(std::string_view Text) {
  std::string out(Text);
  for (char& c : out) c = static_cast<char>(UpperTable[static_cast<uint8_t>(c)]);
  return out;
}

std::string CleanHref(std::string_view Tag) {
  std::string upper = HtmlUpperCase(Tag);
  size_t href = upper.find("HREF");
  if (href == std::string::npos) return {};
  std::string_view rest = Tag.substr(href + 4);
  size_t eq = rest.find('=');
  if (eq != std::string_view::npos) rest = rest.substr(eq + 1);
  std::string out;
  for (char c : rest)
    if (c != '\'' && c != '"' && c != '>') out += c;
  return out;
}

THtmlFontData THtmlFontData::From(const TFont& Font) {
  return {Font.Name(),  Font.Height(),  Font.PixelsPerInch(), Font.Style(),
          Font.Color(), Font.Charset(), Font.Pitch(),         Font.Orientation()};
}

void THtmlFontData::ApplyTo(TFont& Font) const {
  Font.SetPixelsPerInch(PixelsPerInch);
  Font.SetName(Name);
  Font.SetHeight(Height);
  Font.SetStyle(Style);
  Font.SetColor(Color);
  Font.SetCharset(Charset);
  Font.SetPitch(Pitch);
  Font.SetOrientation(Orientation);
}

void ParseFontTag(TFont& Font, std::string_view Tag) {
  std::vector<TagWord> words = SplitTag(Tag);
  for (size_t k = 0; k < words.size(); ++k) {
    std::string_view word = words[k].Text;
    bool hasNext = k + 1 < words.size();
    if (word == "SIZE") {
      if (hasNext) ApplySize(Font, words[k + 1].Text);
    } else if (word == "COLOR") {
      if (hasNext) Font.SetColor(ParseColorValue(words[k + 1].Text));
    } else if (word == "FACE") {
      size_t open = Tag.find('"', words[k].Offset);
      if (open == std::string_view::npos) continue;
      size_t close = Tag.find('"', open + 1);
      // Without its closing quote the face would run to the tag's end.
      if (close == std::string_view::npos || close == open + 1) continue;
      Font.SetName(std::string(Tag.substr(open + 1, close - open - 1)));
    }
  }
}
