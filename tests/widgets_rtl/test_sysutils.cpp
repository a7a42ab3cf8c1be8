#include <gtest/gtest.h>

#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/sysutils.h"

namespace {

TEST(SysUtilsTest, StrToIntAcceptsSignDecimalAndBothHexForms) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  } cases[] = {
      {"0", true, 0},
      {"  42 ", true, 42},
      {"-17", true, -17},
      {"+5", true, 5},
      {"$1F", true, 31},
      {"0x1f", true, 31},
      {"0X10", true, 16},
      {"-$10", true, -16},
      {"$FFFFFFFF", true, -1},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"$100000000", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"0x", false, 0},
      {"12a", false, 0},
      {"1 2", false, 0},
      {"1.5", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int v = 0;
    EXPECT_EQ(TryStrToInt(c.text, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
      EXPECT_EQ(StrToInt(c.text), c.value);
    } else {
      EXPECT_EQ(StrToIntDef(c.text, -99), -99);
      EXPECT_THROW(StrToInt(c.text), EConvertError);
    }
  }
}

TEST(SysUtilsTest, FloatsUseThePointWhateverTheLocale) {
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStr(-0.25), "-0.25");
  EXPECT_EQ(FloatToStr(11.22), "11.22");
  EXPECT_EQ(FloatToStr(3), "3");
  EXPECT_DOUBLE_EQ(StrToFloat("8.45"), 8.45);
  EXPECT_DOUBLE_EQ(StrToFloat(" -1e3 "), -1000);
  EXPECT_DOUBLE_EQ(StrToFloatDef("8,45", -1), -1);
  EXPECT_THROW(StrToFloat("abc"), EConvertError);
  EXPECT_THROW(StrToFloat(""), EConvertError);
}

TEST(SysUtilsTest, RoundTakesHalvesToTheEvenNeighbour) {
  struct Case {
    double in;
    int64_t out;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.51, 3}};
  for (const Case& c : cases) EXPECT_EQ(Round(c.in), c.out) << c.in;
}

TEST(SysUtilsTest, StringHelpersAreOneBasedAndAsciiOnly) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(Pos("lo", "hello"), 4);
  EXPECT_EQ(Pos("x", "hello"), 0);
  EXPECT_EQ(Pos("", "hello"), 0);
  EXPECT_EQ(Copy("hello", 2, 3), "ell");
  EXPECT_EQ(Copy("hello", 4, 100), "lo");
  EXPECT_EQ(Copy("hello", 6, 1), "");
  EXPECT_EQ(Copy("hello", 0, 2), "he");
  EXPECT_EQ(Copy("hello", 2, -1), "");
  // Windows-1252 letters stay as they are.
  EXPECT_EQ(UpperCase("tsEdit \xE9\xE4"), "TSEDIT \xE9\xE4");
  EXPECT_EQ(LowerCase("TButton \xC9"), "tbutton \xC9");
  EXPECT_TRUE(SameText("TPanel", "tpanel"));
  EXPECT_FALSE(SameText("TPanel", "TPanel1"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_LT(CompareStr("ABC", "abc"), 0);
}

TEST(SysUtilsTest, FileNameParts) {
  struct Case {
    const char* name;
    const char* path;
    const char* file;
    const char* ext;
  } cases[] = {
      {"C:\\Skins\\Blue.qmz", "C:\\Skins\\", "Blue.qmz", ".qmz"},
      {"C:\\a.b\\file", "C:\\a.b\\", "file", ""},
      {"dir/x.tar.gz", "dir/", "x.tar.gz", ".gz"},
      {"C:name.txt", "C:", "name.txt", ".txt"},
      {"plain", "", "plain", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
    EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
    EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
  }
}

TEST(SysUtilsTest, FindFirstListsFilesAndFoldersOnlyWhenAsked) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  std::string dir = std::string(tmp) + "rtl_find_" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((dir + "\\sub").c_str(), nullptr));
  HANDLE h =
      CreateFileA((dir + "\\a.qmz").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);

  EXPECT_TRUE(FileExists(dir + "\\a.qmz"));
  EXPECT_FALSE(FileExists(dir + "\\sub"));
  EXPECT_TRUE(DirectoryExists(dir + "\\sub"));
  EXPECT_FALSE(DirectoryExists(dir + "\\a.qmz"));

  auto list = [&](int attr) {
    std::string names;
    TSearchRec sr;
    for (int r = FindFirst(dir + "\\*", attr, sr); r == 0; r = FindNext(sr)) {
      if (sr.Name == "." || sr.Name == "..") continue;
      names += sr.Name + ((sr.Attr & faDirectory) ? "/" : "") + ";";
    }
    FindClose(sr);
    return names;
  };
  EXPECT_EQ(list(0), "a.qmz;");
  std::string all = list(faDirectory);
  EXPECT_NE(all.find("a.qmz;"), std::string::npos);
  EXPECT_NE(all.find("sub/;"), std::string::npos);

  TSearchRec none;
  EXPECT_NE(FindFirst(dir + "\\*.none", faAnyFile, none), 0);

  DeleteFileA((dir + "\\a.qmz").c_str());
  RemoveDirectoryA((dir + "\\sub").c_str());
  RemoveDirectoryA(dir.c_str());
}

TEST(SysUtilsTest, GeometryRecordsMatchTheirPlatformLayouts) {
  TRect r = Bounds(10, 20, 30, 40);
  EXPECT_EQ(r, Rect(10, 20, 40, 60));
  EXPECT_EQ(r.Width(), 30);
  EXPECT_EQ(r.Height(), 40);
  // Right and bottom are exclusive, as the platform's own calls see them.
  EXPECT_TRUE(PtInRect(r.AsRECT(), Point(39, 59)));
  EXPECT_FALSE(PtInRect(r.AsRECT(), Point(40, 59)));
  RECT raw = r;
  EXPECT_EQ(raw.right, 40);
  EXPECT_EQ(TRect(raw), r);
}

TEST(SysUtilsTest, ShortCutTextRoundTrips) {
  struct Case {
    TShortCut sc;
    const char* text;
  } cases[] = {
      {0x8073, "Alt+F4"},
      {scCtrl | 'S', "Ctrl+S"},
      {scShift | scCtrl | 'Z', "Shift+Ctrl+Z"},
      {VK_DELETE, "Del"},
      {scCtrl | VK_RETURN, "Ctrl+Enter"},
      {'5', "5"},
      {scAlt | VK_BACK, "Alt+BkSp"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToText(c.sc), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
  }
  EXPECT_EQ(TextToShortCut("alt+f4"), 0x8073);
  EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
  EXPECT_EQ(TextToShortCut("Hyper+X"), scNone);
  EXPECT_EQ(ShortCutToText(scNone), "");
  EXPECT_EQ(ShortCut(VK_F4, ssAlt), 0x8073);
}

TEST(SysUtilsTest, ProcessHelpers) {
  EXPECT_EQ(LowerCase(ExtractFileExt(ParamStr(0))), ".exe");
  EXPECT_EQ(ParamStr(ParamCount() + 1), "");
  EXPECT_EQ(HInstance(), GetModuleHandleA(nullptr));
  EXPECT_EQ(LoadStr(65000), "");
  EXPECT_EQ(Format("%s=%d", "a", 5), "a=5");
  EXPECT_EQ(Format("%s", std::string(3000, 'x').c_str()).size(), 3000u);
}

}  // namespace
