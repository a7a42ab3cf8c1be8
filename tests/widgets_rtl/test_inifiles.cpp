#include <gtest/gtest.h>

#include "widgets/rtl/classes.h"
#include "widgets/rtl/inifiles.h"

namespace {

std::string Joined(const TStrings& s) {
  std::string r;
  for (int i = 0; i < s.Count(); ++i) r += (i ? "," : "") + s.Strings(i);
  return r;
}

void Load(TMemIniFile& ini, const std::string& text) {
  TStringList lines;
  lines.SetText(text);
  ini.SetStrings(lines);
}

const char kSkin[] =
    "\xEF\xBB\xBF[GLOBALINFO]\r\n"
    "  Version  =  8.45  \r\n"
    "; Version=1\r\n"
    "orphan line\r\n"
    "Name=a=b\r\n"
    "\r\n"
    "[BUTTON]\r\n"
    "MASTERBITMAP=one.bmp\r\n"
    "Left=$1F\r\n"
    "MASTERBITMAP=two.bmp\r\n"
    "Neg=-12\r\n"
    "Hex0x=0x10\r\n"
    "Bad=12a\r\n"
    "Empty=\r\n"
    "[ globalinfo ]\r\n"
    "Author=me\r\n";

TEST(TMemIniFileTest, ReadsByTheFileRules) {
  TMemIniFile ini("");
  Load(ini, kSkin);
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"GLOBALINFO", "Version", "8.45"},      // BOM dropped, blanks trimmed
      {"globalinfo", "VERSION", "8.45"},      // names case-insensitive
      {"GLOBALINFO", "Name", "a=b"},          // split at the first '='
      {"GLOBALINFO", "Author", "me"},         // a repeated section continues the first
      {"GLOBALINFO", "; Version", "-"},       // comment lines are no keys
      {"GLOBALINFO", "orphan line", "-"},     // neither are lines without '='
      {"BUTTON", "MASTERBITMAP", "one.bmp"},  // the first of repeated keys
      {"BUTTON", "Empty", ""},                // present but empty is not the default
      {"NOSECTION", "x", "-"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ini.ReadString(c.section, c.key, "-"), c.value) << c.section << "." << c.key;

  TStringList s;
  ini.ReadSections(s);
  EXPECT_EQ(Joined(s), "GLOBALINFO,BUTTON");
  ini.ReadSection("BUTTON", s);
  EXPECT_EQ(Joined(s), "MASTERBITMAP,Left,MASTERBITMAP,Neg,Hex0x,Bad,Empty");
  EXPECT_TRUE(ini.SectionExists("button"));
  EXPECT_FALSE(ini.SectionExists("BUTTONS"));
  EXPECT_TRUE(ini.ValueExists("BUTTON", "empty"));
  EXPECT_FALSE(ini.ValueExists("BUTTON", "Right"));
}

TEST(TMemIniFileTest, ReadIntegerTakesDecimalOrDollarHexElseTheDefault) {
  TMemIniFile ini("");
  Load(ini, kSkin);
  struct Case {
    const char* key;
    int value;
  } cases[] = {{"Left", 31},  {"Neg", -12},         {"Hex0x", -1},  {"Bad", -1},
               {"Empty", -1}, {"MASTERBITMAP", -1}, {"Missing", -1}};
  for (const Case& c : cases) EXPECT_EQ(ini.ReadInteger("BUTTON", c.key, -1), c.value) << c.key;
}

TEST(TMemIniFileTest, CaseSensitiveKeepsNamesApart) {
  TMemIniFile ini("");
  ini.SetCaseSensitive(true);
  TStringList lines;
  lines.SetText("[A]\nk=1\nK=2\n[a]\nk=3\n");
  ini.SetStrings(lines);
  EXPECT_EQ(ini.ReadString("A", "K", "-"), "2");
  EXPECT_EQ(ini.ReadString("a", "k", "-"), "3");
  EXPECT_EQ(ini.ReadString("a", "K", "-"), "-");
  // Turning it off merges what now compares equal.
  ini.SetCaseSensitive(false);
  EXPECT_EQ(ini.ReadString("a", "K", "-"), "1");
  TStringList s;
  ini.ReadSections(s);
  EXPECT_EQ(Joined(s), "A");
  ini.ReadSection("A", s);
  EXPECT_EQ(Joined(s), "k,K,k");
}

TEST(TMemIniFileTest, FileIsReadWhenPresentAndMissingGivesEmpty) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  std::string file = std::string(tmp) + "rtl_ini_" + std::to_string(GetCurrentProcessId()) + ".dat";
  {
    TFileStream f(file, fmCreate);
    f.WriteBuffer(kSkin, sizeof kSkin - 1);
  }
  TMemIniFile ini(file);
  EXPECT_EQ(ini.ReadString("GLOBALINFO", "Version", ""), "8.45");
  EXPECT_EQ(ini.FileName(), file);
  TMemIniFile missing(file + "_");
  TStringList s;
  missing.ReadSections(s);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(missing.ReadInteger("GLOBALINFO", "Version", 7), 7);
  DeleteFileA(file.c_str());
}

}  // namespace
