#include <gtest/gtest.h>

#include "widgets/rtl/form_parser.h"

namespace {

TEST(FormParserTest, BuildsTheTreeWithLinesAndValues) {
  TFormObject o = ParseFormText(
      "object Form1: TForm1\n"
      "  Left = -8\n"
      "  Top = $7FFF\n"
      "  Scale = 1.5\n"
      "  Caption = 'a' +\n"
      "    'b'#65#$42\n"
      "  Font.Style = [fsBold, fsItalic]\n"
      "  Lines = ('x'\n"
      "    'y' + 'z' 5)\n"
      "  Cols = <\n"
      "    item\n"
      "      Width = 1\n"
      "    end\n"
      "    item\n"
      "    end>\n"
      "  Data = {\n"
      "    0a0B}\n"
      "  Empty = {}\n"
      "  ActivePage = Sheet.Child\n"
      "  inherited Panel1: TPanel\n"
      "    object TLabel\n"
      "    end\n"
      "  end\n"
      "end\n");
  EXPECT_EQ(o.Name, "Form1");
  EXPECT_EQ(o.ClassName, "TForm1");
  ASSERT_EQ(o.Props.size(), 10u);
  EXPECT_EQ(o.Props[0].Value.Int, -8);
  EXPECT_EQ(o.Props[1].Value.Int, 0x7FFF);
  EXPECT_EQ(o.Props[2].Value.Kind, TFormValueKind::Float);
  EXPECT_DOUBLE_EQ(o.Props[2].Value.Float, 1.5);
  EXPECT_EQ(o.Props[3].Value.Str, "abAB");
  EXPECT_EQ(o.Props[3].Line, 5);
  EXPECT_EQ(o.Props[4].Name, "Font.Style");
  EXPECT_EQ(o.Props[4].Value.Set, (std::vector<std::string>{"fsBold", "fsItalic"}));
  ASSERT_EQ(o.Props[5].Value.List.size(), 3u);
  EXPECT_EQ(o.Props[5].Value.List[1].Str, "yz");
  EXPECT_EQ(o.Props[5].Value.List[1].Line, 9);
  EXPECT_EQ(o.Props[5].Value.List[2].Int, 5);
  ASSERT_EQ(o.Props[6].Value.Items.size(), 2u);
  EXPECT_EQ(o.Props[6].Value.Items[0].Props[0].Name, "Width");
  EXPECT_EQ(o.Props[6].Value.Items[0].Line, 11);
  EXPECT_TRUE(o.Props[6].Value.Items[1].Props.empty());
  EXPECT_EQ(o.Props[7].Value.Binary, (std::vector<uint8_t>{0x0A, 0x0B}));
  EXPECT_TRUE(o.Props[8].Value.Binary.empty());
  EXPECT_EQ(o.Props[9].Value.Kind, TFormValueKind::Ident);
  EXPECT_EQ(o.Props[9].Value.Str, "Sheet.Child");
  ASSERT_EQ(o.Children.size(), 1u);
  EXPECT_EQ(o.Children[0].Line, 20);
  ASSERT_EQ(o.Children[0].Children.size(), 1u);
  EXPECT_EQ(o.Children[0].Children[0].Name, "");
  EXPECT_EQ(o.Children[0].Children[0].ClassName, "TLabel");
}

TEST(FormParserTest, ErrorsNameTheirLine) {
  struct Case {
    std::string text;
    int line;
  } cases[] = {
      {"object A: TA\n  Caption = 'open\nend\n", 2},
      {"object A: TA\n  X = 1\n", 3},                // missing end
      {"object A: TA\n\n  X = \nend\n", 4},          // 'end' is no value
      {"object A: TA\n  X = 1 +\nend\n", 2},         // '+' only joins strings
      {"object A: TA\n  S = 'a' +\n  5\nend\n", 3},  // string expected after '+'
      {"object A: TA\n  B = {0A0}\nend\n", 2},       // odd number of digits
      {"object A: TA\n  B = {0G}\nend\n", 2},
      {"object A: TA\n  B = {00\nend\n", 3},  // never closed
      {"object A: TA\n  C = #\nend\n", 2},
      {"object A: TA\n  C = #300\nend\n", 2},
      {"object A: TA\n  S = [a b]\nend\n", 2},
      {"object A: TA\n  N = 12abc\nend\n", 2},
      {"object A: TA\n  N = 99999999999999999999\nend\n", 2},
      {"object A: TA\n  @ = 1\nend\n", 2},
      {"object A: TA\nend\nextra\n", 3},
      {"thing A: TA\nend\n", 1},
      {"object A: TA\n  L = <\n    item\n      X = 1\n    item\n", 5},
      // Nesting is bounded instead of running the stack out.
      {"object A: TA\n  L = " + std::string(100000, '(') + "\nend\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60));
    try {
      ParseFormText(c.text);
      ADD_FAILURE() << "no error";
    } catch (const EParserError& e) {
      EXPECT_EQ(e.Line(), c.line) << e.Message();
      EXPECT_EQ(e.Message().rfind("Line " + std::to_string(c.line) + ": ", 0), 0u) << e.Message();
    }
  }
}

}  // namespace
