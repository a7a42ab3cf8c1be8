// The form description text format, parsed into a tree:
//
//   object Form1: TForm1
//     Caption = 'Varnel'          strings: '' for a quote, #13 or #$0D
//     Font.Name = 'Tahoma'        characters, + joins parts across lines
//     Left = -8                   integers: decimal, $hex, negative
//     Ratio = 1.5                 floats: always '.'
//     Align = alClient            identifiers: Booleans, enumeration
//     Anchors = [akLeft, akTop]   members, colours, references, handlers
//     Items.Strings = ('a' 'b')   lists
//     Sections = < item Name = 'x' end >   collections
//     Glyph.Data = { 0A0B0C }     binary data in hex
//     object Button1: TButton ... end
//   end
//
// Texts are Windows-1252. Every error names the line it was found on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/rtl/exceptions.h"

// An error in a form description; Line() is 1-based (0 when unknown).
class EFormError : public EReadError {
 public:
  EFormError(int Line, const std::string& Message);
  int Line() const { return line_; }

 private:
  int line_;
};

// A syntax error in the text.
class EParserError : public EFormError {
 public:
  using EFormError::EFormError;
};

struct TFormItem;
struct TFormProperty;

enum class TFormValueKind { Integer, Float, String, Ident, Set, List, Collection, Binary };

struct TFormValue {
  TFormValueKind Kind = TFormValueKind::Integer;
  int Line = 0;
  int64_t Int = 0;
  double Float = 0;
  std::string Str;               // String, Ident (possibly dotted)
  std::vector<std::string> Set;  // Set: member names in text order
  std::vector<TFormValue> List;  // List: the values between ( and )
  std::vector<TFormItem> Items;  // Collection: the items between < and >
  std::vector<uint8_t> Binary;   // Binary
};

struct TFormProperty {
  std::string Name;  // possibly dotted: "Font.Name"
  int Line = 0;
  TFormValue Value;
};

struct TFormItem {
  int Line = 0;
  std::vector<TFormProperty> Props;
};

struct TFormObject {
  std::string Name;  // empty for an unnamed object
  std::string ClassName;
  int Line = 0;
  std::vector<TFormProperty> Props;
  std::vector<TFormObject> Children;
};

// Parses one root object; raises EParserError.
TFormObject ParseFormText(const std::string& Text);
