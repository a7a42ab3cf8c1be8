#include "widgets/rtl/form_parser.h"

#include <charconv>
#include <limits>

#include "widgets/rtl/sysutils.h"

EFormError::EFormError(int Line, const std::string& Message)
    : EReadError(Line > 0 ? "Line " + std::to_string(Line) + ": " + Message : Message),
      line_(Line) {}

namespace {

enum class Tok { Eof, Ident, Integer, Float, String, Binary, Symbol };

struct Token {
  Tok Kind = Tok::Eof;
  int Line = 1;
  char Sym = 0;
  std::string Text;  // Ident, String
  int64_t Int = 0;
  double Float = 0;
  std::vector<uint8_t> Bytes;
};

bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads tokens from the text; every access to the text is bounds-checked.
class Lexer {
 public:
  explicit Lexer(const std::string& text) : s_(text) {}

  Token Next() {
    SkipBlanks();
    Token t;
    t.Line = line_;
    if (pos_ >= s_.size()) return t;
    char c = s_[pos_];
    if (IsIdentStart(c)) {
      size_t b = pos_;
      while (pos_ < s_.size() && IsIdentChar(s_[pos_])) ++pos_;
      t.Kind = Tok::Ident;
      t.Text = s_.substr(b, pos_ - b);
    } else if (c == '\'' || c == '#') {
      ReadString(t);
    } else if (IsDigit(c) || c == '$' ||
               ((c == '-' || c == '+') && pos_ + 1 < s_.size() &&
                (IsDigit(s_[pos_ + 1]) || s_[pos_ + 1] == '$'))) {
      ReadNumber(t);
    } else if (c == '{') {
      ReadBinary(t);
    } else {
      ++pos_;
      t.Kind = Tok::Symbol;
      t.Sym = c;
      if (std::string_view("=:.[](),<>+").find(c) == std::string_view::npos)
        throw EParserError(t.Line, Format("Invalid character '%c' ($%02X)", c >= ' ' ? c : '?',
                                          static_cast<unsigned char>(c)));
    }
    return t;
  }

 private:
  void SkipBlanks() {
    while (pos_ < s_.size() && static_cast<unsigned char>(s_[pos_]) <= ' ') {
      if (s_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }

  // Quoted parts and #nnn characters written next to each other form one string.
  void ReadString(Token& t) {
    t.Kind = Tok::String;
    while (pos_ < s_.size()) {
      if (s_[pos_] == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= s_.size() || s_[pos_] == '\n' || s_[pos_] == '\r')
            throw EParserError(line_, "Unterminated string");
          if (s_[pos_] == '\'') {
            if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
              t.Text += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          t.Text += s_[pos_++];
        }
      } else if (s_[pos_] == '#') {
        ++pos_;
        int64_t v = 0;
        size_t b = pos_;
        if (pos_ < s_.size() && s_[pos_] == '$') {
          ++pos_;
          b = pos_;
          while (pos_ < s_.size() && HexValue(s_[pos_]) >= 0 && v <= 0xFFFF)
            v = v * 16 + HexValue(s_[pos_++]);
        } else {
          while (pos_ < s_.size() && IsDigit(s_[pos_]) && v <= 0xFFFF)
            v = v * 10 + (s_[pos_++] - '0');
        }
        if (pos_ == b) throw EParserError(line_, "Character code expected after '#'");
        if (v > 255)
          throw EParserError(
              line_, "Character code #" + std::to_string(v) + " is not a Windows-1252 character");
        t.Text += static_cast<char>(v);
      } else {
        break;
      }
    }
  }

  void ReadNumber(Token& t) {
    bool negative = false;
    if (s_[pos_] == '-' || s_[pos_] == '+') negative = s_[pos_++] == '-';
    if (pos_ < s_.size() && s_[pos_] == '$') {
      ++pos_;
      size_t b = pos_;
      uint64_t v = 0;
      while (pos_ < s_.size() && HexValue(s_[pos_]) >= 0) {
        if (v >> 60) throw EParserError(line_, "Number too large");
        v = v * 16 + static_cast<uint64_t>(HexValue(s_[pos_++]));
      }
      if (pos_ == b) throw EParserError(line_, "Hex digits expected after '$'");
      t.Kind = Tok::Integer;
      t.Int = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
      return;
    }
    size_t b = pos_;
    while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
    bool isFloat = false;
    if (pos_ + 1 < s_.size() && s_[pos_] == '.' && IsDigit(s_[pos_ + 1])) {
      isFloat = true;
      ++pos_;
      while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      size_t e = pos_ + 1;
      if (e < s_.size() && (s_[e] == '+' || s_[e] == '-')) ++e;
      if (e < s_.size() && IsDigit(s_[e])) {
        isFloat = true;
        pos_ = e;
        while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
      }
    }
    const char* first = s_.data() + b;
    const char* last = s_.data() + pos_;
    if (isFloat) {
      double v;
      auto r = std::from_chars(first, last, v);
      if (r.ec != std::errc() || r.ptr != last) throw EParserError(line_, "Invalid number");
      t.Kind = Tok::Float;
      t.Float = negative ? -v : v;
    } else {
      uint64_t v;
      auto r = std::from_chars(first, last, v);
      if (r.ec != std::errc() || r.ptr != last ||
          v > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
        throw EParserError(line_, "Invalid number");
      t.Kind = Tok::Integer;
      t.Int = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    }
    if (pos_ < s_.size() && IsIdentChar(s_[pos_])) throw EParserError(line_, "Invalid number");
  }

  void ReadBinary(Token& t) {
    t.Kind = Tok::Binary;
    ++pos_;  // '{'
    int high = -1;
    for (;;) {
      SkipBlanks();
      if (pos_ >= s_.size()) throw EParserError(t.Line, "Unterminated binary data, '}' expected");
      char c = s_[pos_++];
      if (c == '}') break;
      int v = HexValue(c);
      if (v < 0) throw EParserError(line_, "Invalid binary data");
      if (high < 0) {
        high = v;
      } else {
        t.Bytes.push_back(static_cast<uint8_t>(high * 16 + v));
        high = -1;
      }
    }
    if (high >= 0) throw EParserError(line_, "Binary data has an odd number of hex digits");
  }

  const std::string& s_;
  size_t pos_ = 0;
  int line_ = 1;
};

class Parser {
 public:
  explicit Parser(const std::string& text) : lex_(text) { Advance(); }

  TFormObject Root() {
    TFormObject o = Object();
    if (t_.Kind != Tok::Eof) throw EParserError(t_.Line, "End of text expected");
    return o;
  }

 private:
  void Advance() { t_ = lex_.Next(); }
  bool IsSym(char c) const { return t_.Kind == Tok::Symbol && t_.Sym == c; }
  bool IsWord(const char* w) const { return t_.Kind == Tok::Ident && SameText(t_.Text, w); }
  void Expect(char c) {
    if (!IsSym(c)) throw EParserError(t_.Line, std::string("'") + c + "' expected");
    Advance();
  }
  std::string Ident(const char* what) {
    if (t_.Kind != Tok::Ident) throw EParserError(t_.Line, std::string(what) + " expected");
    std::string s = t_.Text;
    Advance();
    return s;
  }
  std::string DottedIdent(const char* what) {
    std::string s = Ident(what);
    while (IsSym('.')) {
      Advance();
      s += '.';
      s += Ident("Identifier");
    }
    return s;
  }

  // Objects, lists and collections nest; a bound keeps a hostile text from
  // exhausting the stack.
  struct DepthGuard {
    explicit DepthGuard(Parser& p) : p_(p) {
      if (++p_.depth_ > kMaxDepth) throw EParserError(p_.t_.Line, "Nesting too deep");
    }
    ~DepthGuard() { --p_.depth_; }
    Parser& p_;
  };
  static constexpr int kMaxDepth = 200;

  TFormObject Object() {
    DepthGuard guard(*this);
    if (!IsWord("object") && !IsWord("inherited") && !IsWord("inline"))
      throw EParserError(t_.Line, "'object' expected");
    TFormObject o;
    o.Line = t_.Line;
    Advance();
    std::string first = Ident("Component name");
    if (IsSym(':')) {
      Advance();
      o.Name = first;
      o.ClassName = Ident("Class name");
    } else {
      o.ClassName = first;
    }
    for (;;) {
      if (IsWord("end")) {
        Advance();
        return o;
      }
      if (IsWord("object") || IsWord("inherited") || IsWord("inline")) {
        o.Children.push_back(Object());
      } else if (t_.Kind == Tok::Ident) {
        o.Props.push_back(Property());
      } else if (t_.Kind == Tok::Eof) {
        throw EParserError(
            t_.Line, "'end' expected for object " + o.Name + " of line " + std::to_string(o.Line));
      } else {
        throw EParserError(t_.Line, "Property name expected");
      }
    }
  }

  TFormProperty Property() {
    TFormProperty p;
    p.Line = t_.Line;
    p.Name = DottedIdent("Property name");
    Expect('=');
    p.Value = Value();
    return p;
  }

  TFormValue Value() {
    DepthGuard guard(*this);
    TFormValue v;
    v.Line = t_.Line;
    switch (t_.Kind) {
      case Tok::Integer:
        v.Kind = TFormValueKind::Integer;
        v.Int = t_.Int;
        Advance();
        return v;
      case Tok::Float:
        v.Kind = TFormValueKind::Float;
        v.Float = t_.Float;
        Advance();
        return v;
      case Tok::String:
        v.Kind = TFormValueKind::String;
        v.Str = StringExpr();
        return v;
      case Tok::Ident:
        if (IsWord("end") || IsWord("object") || IsWord("item")) break;
        v.Kind = TFormValueKind::Ident;
        v.Str = DottedIdent("Identifier");
        return v;
      case Tok::Binary:
        v.Kind = TFormValueKind::Binary;
        v.Binary = std::move(t_.Bytes);
        Advance();
        return v;
      case Tok::Symbol:
        if (IsSym('[')) return SetValue(v);
        if (IsSym('(')) return ListValue(v);
        if (IsSym('<')) return CollectionValue(v);
        break;
      case Tok::Eof:
        break;
    }
    throw EParserError(t_.Line, "Property value expected");
  }

  std::string StringExpr() {
    std::string s = t_.Text;
    Advance();
    while (IsSym('+')) {
      Advance();
      if (t_.Kind != Tok::String) throw EParserError(t_.Line, "String expected after '+'");
      s += t_.Text;
      Advance();
    }
    return s;
  }

  TFormValue SetValue(TFormValue& v) {
    v.Kind = TFormValueKind::Set;
    Advance();
    if (IsSym(']')) {
      Advance();
      return std::move(v);
    }
    for (;;) {
      if (t_.Kind == Tok::Ident)
        v.Set.push_back(t_.Text);
      else if (t_.Kind == Tok::Integer)
        v.Set.push_back(std::to_string(t_.Int));
      else
        throw EParserError(t_.Line, "Set member expected");
      Advance();
      if (IsSym(']')) break;
      Expect(',');
    }
    Advance();
    return std::move(v);
  }

  TFormValue ListValue(TFormValue& v) {
    v.Kind = TFormValueKind::List;
    Advance();
    while (!IsSym(')')) {
      if (t_.Kind == Tok::Eof) throw EParserError(t_.Line, "')' expected");
      v.List.push_back(Value());
    }
    Advance();
    return std::move(v);
  }

  TFormValue CollectionValue(TFormValue& v) {
    v.Kind = TFormValueKind::Collection;
    Advance();
    while (!IsSym('>')) {
      if (!IsWord("item")) throw EParserError(t_.Line, "'item' or '>' expected");
      TFormItem item;
      item.Line = t_.Line;
      Advance();
      while (!IsWord("end")) {
        if (t_.Kind != Tok::Ident || IsWord("item"))
          throw EParserError(t_.Line, "'end' expected for item");
        item.Props.push_back(Property());
      }
      Advance();
      v.Items.push_back(std::move(item));
    }
    Advance();
    return std::move(v);
  }

  Lexer lex_;
  Token t_;
  int depth_ = 0;
};

}  // namespace

TFormObject ParseFormText(const std::string& Text) {
  return Parser(Text).Root();
}
