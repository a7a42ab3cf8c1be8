// Colours, fonts, brushes and pens.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "widgets/rtl/components.h"
#include "widgets/rtl/form_reader.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/reflection.h"

#include <commctrl.h>

namespace {

struct TCounter : TObject {
  int Calls = 0;
  void Hit(TObject*) { ++Calls; }
};

TEST(Colors, SystemColoursAreReadFromTheSystemAtRunTime) {
  const struct {
    TColor Color;
    int Index;
  } cases[] = {{clBtnFace, COLOR_BTNFACE},       {clWindow, COLOR_WINDOW},
               {clWindowText, COLOR_WINDOWTEXT}, {clHighlight, COLOR_HIGHLIGHT},
               {clGrayText, COLOR_GRAYTEXT},     {clBtnShadow, COLOR_BTNSHADOW},
               {clInfoBk, COLOR_INFOBK},         {clBtnHighlight, COLOR_BTNHIGHLIGHT}};
  for (const auto& c : cases) {
    EXPECT_EQ(ColorToRGB(c.Color), GetSysColor(c.Index)) << c.Index;
    EXPECT_EQ(static_cast<uint32_t>(c.Color), 0xFF000000u | c.Index);
  }
  // Plain colours and the markers pass unchanged.
  EXPECT_EQ(ColorToRGB(clFuchsia), 0x00FF00FFu);
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
  EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFFu);
  EXPECT_EQ(GetRGBColor(clNone), CLR_NONE);
  EXPECT_EQ(GetRGBColor(clDefault), CLR_DEFAULT);
  EXPECT_EQ(GetColorFromRGB(CLR_NONE), clNone);
}

TEST(Colors, IdentifiersRoundTripAndCompareWithoutCase) {
  const struct {
    const char* Name;
    TColor Value;
  } cases[] = {{"clBtnFace", clBtnFace},
               {"clWindow", clWindow},
               {"clWindowText", clWindowText},
               {"clHighlight", clHighlight},
               {"clHighlightText", clHighlightText},
               {"clGrayText", clGrayText},
               {"clBtnShadow", clBtnShadow},
               {"clBtnHighlight", clBtnHighlight},
               {"clInfoBk", clInfoBk},
               {"clFuchsia", clFuchsia},
               {"clNone", clNone},
               {"clDefault", clDefault},
               {"clBlack", clBlack},
               {"clWhite", clWhite}};
  for (const auto& c : cases) {
    TColor v = 0;
    ASSERT_TRUE(IdentToColor(c.Name, v)) << c.Name;
    EXPECT_EQ(v, c.Value);
    std::string name;
    ASSERT_TRUE(ColorToIdent(c.Value, name));
    EXPECT_EQ(name, c.Name);
    EXPECT_EQ(StringToColor(ColorToString(c.Value)), c.Value);
  }
  TColor v = 0;
  EXPECT_TRUE(IdentToColor("CLBTNFACE", v));
  EXPECT_FALSE(IdentToColor("clBtnFaceX", v));
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(StringToColor("$FF00000F"), clBtnFace);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_THROW(StringToColor("notacolour"), EConvertError);
  EXPECT_THROW(StringToColor("$123456789"), EConvertError);

  int cs = 0;
  ASSERT_TRUE(IdentToCharset("default_charset", cs));
  EXPECT_EQ(cs, DEFAULT_CHARSET);
  std::string name;
  ASSERT_TRUE(CharsetToIdent(ANSI_CHARSET, name));
  EXPECT_EQ(name, "ANSI_CHARSET");
}

TEST(Colors, UnitStartUpMakesColourAndCharsetNamesIntegerValues) {
  InitGraphicsUnit();
  int64_t v = 0;
  ASSERT_TRUE(IdentToInteger("clBtnFace", v));
  EXPECT_EQ(v, clBtnFace);
  ASSERT_TRUE(IdentToInteger("DEFAULT_CHARSET", v));
  EXPECT_EQ(v, DEFAULT_CHARSET);
}

TEST(Font, NewFontHasTheDocumentedDefaults) {
  TFont f;
  EXPECT_EQ(f.Name(), "MS Sans Serif");
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Color(), clWindowText);
  EXPECT_EQ(f.Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(f.Style(), 0);
  EXPECT_EQ(f.Pitch(), fpDefault);
  EXPECT_EQ(f.Orientation(), 0);
  EXPECT_EQ(f.PixelsPerInch(), ScreenPixelsPerInch());
  EXPECT_EQ(f.Size(), -MulDiv(-11, 72, ScreenPixelsPerInch()));
  EXPECT_TRUE(f.IsDefault());
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -MulDiv(12, ScreenPixelsPerInch(), 72));
  EXPECT_FALSE(f.IsDefault());
}

TEST(Font, AssignCopiesEveryAttributeAndNotifiesOnce) {
  TFont a, b;
  a.SetName("Tahoma");
  a.SetHeight(-14);
  a.SetStyle(fsBold | fsUnderline);
  a.SetColor(clRed);
  a.SetCharset(ANSI_CHARSET);
  a.SetPitch(fpFixed);
  a.SetOrientation(900);
  TCounter n;
  b.OnChange = TNotifyEvent::Of<&TCounter::Hit>(&n);
  b.Assign(&a);
  EXPECT_EQ(n.Calls, 1);
  EXPECT_TRUE(b.Equals(a));
  // Setting an equal value is no change; a detached handler hears nothing.
  b.SetColor(clRed);
  EXPECT_EQ(n.Calls, 1);
  b.OnChange = nullptr;
  b.SetColor(clBlue);
  EXPECT_EQ(n.Calls, 1);
  // Assigning something that is not a font raises.
  TBrush brush;
  EXPECT_THROW(b.Assign(&brush), EConvertError);
}

TEST(Font, HandleFollowsTheAttributesAndAdoptsForeignFonts) {
  TFont f;
  HFONT h1 = f.Handle();
  ASSERT_NE(h1, nullptr);
  EXPECT_EQ(f.Handle(), h1);  // made once
  f.SetHeight(-20);
  f.SetStyle(fsItalic);
  LOGFONTA lf{};
  ASSERT_EQ(GetObjectA(f.Handle(), sizeof lf, &lf), int(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  // The colour is no part of the GDI font.
  HFONT h2 = f.Handle();
  f.SetColor(clRed);
  EXPECT_EQ(f.Handle(), h2);

  LOGFONTA other{};
  other.lfHeight = -17;
  other.lfWeight = FW_BOLD;
  other.lfCharSet = SYMBOL_CHARSET;
  std::strcpy(other.lfFaceName, "Tahoma");
  HFONT foreign = CreateFontIndirectA(&other);
  f.SetHandle(foreign);
  EXPECT_EQ(f.Handle(), foreign);
  EXPECT_EQ(f.Name(), "Tahoma");
  EXPECT_EQ(f.Height(), -17);
  EXPECT_EQ(f.Style(), fsBold);
  EXPECT_EQ(f.Charset(), SYMBOL_CHARSET);
}

// A component that publishes a font, as every control does.
class TFontHolder : public TComponent {
  DECLARE_CLASS(TFontHolder, TComponent)
 public:
  using TComponent::TComponent;
  TFont* Font() const { return font_.get(); }

 private:
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
};

const TClassInfo& TFontHolder::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TFontHolder> b("TFontHolder", &TComponent::StaticClass());
    b.SubObject<&TFontHolder::Font>("Font");
    return b.Done();
  }();
  return info;
}

TEST(Font, WhatADescriptionHoldsReadsBackAsTheSameFont) {
  TFontHolder* written = New<TFontHolder>(nullptr);
  written->SetName("Holder");
  TFont* f = written->Font();
  f->SetName("Tahoma");
  f->SetHeight(-17);
  f->SetColor(clRed);
  f->SetStyle(fsBold | fsStrikeOut);
  f->SetCharset(SYMBOL_CHARSET);
  f->SetPitch(fpVariable);
  const std::string text = WriteComponentToText(written);
  EXPECT_EQ(text.find("Font.Size"), std::string::npos) << "the size follows from the height";
  EXPECT_NE(text.find("Font.Style = [fsBold, fsStrikeOut]"), std::string::npos) << text;

  TFontHolder* read = New<TFontHolder>(nullptr);
  ReadComponentFromText(read, text);
  const TFont* g = read->Font();
  EXPECT_EQ(g->Name(), "Tahoma");
  EXPECT_EQ(g->Height(), -17);
  EXPECT_EQ(g->Size(), f->Size());
  EXPECT_EQ(g->Color(), clRed);
  EXPECT_EQ(g->Style(), fsBold | fsStrikeOut);
  EXPECT_EQ(g->Charset(), SYMBOL_CHARSET);
  EXPECT_EQ(g->Pitch(), fpVariable);

  // A font left as it is writes only its name and height.
  TFontHolder* plain = New<TFontHolder>(nullptr);
  const std::string plainText = WriteComponentToText(plain);
  for (const char* left : {"Font.Color", "Font.Style", "Font.Charset", "Font.Pitch"})
    EXPECT_EQ(plainText.find(left), std::string::npos) << left;
  for (TComponent* c : {static_cast<TComponent*>(written), static_cast<TComponent*>(read),
                        static_cast<TComponent*>(plain)})
    TObject::Free(c);
}

TEST(BrushAndPen, HandlesMatchStyleColourAndWidth) {
  TBrush b;
  EXPECT_EQ(b.Color(), clWhite);
  b.SetColor(clBtnFace);
  LOGBRUSH lb{};
  GetObjectA(b.Handle(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, UINT(BS_SOLID));
  EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
  b.SetStyle(bsClear);
  GetObjectA(b.Handle(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, UINT(BS_HOLLOW));
  b.SetStyle(bsCross);
  GetObjectA(b.Handle(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, UINT(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, ULONG_PTR(HS_CROSS));

  TPen p;
  EXPECT_EQ(p.Color(), clBlack);
  EXPECT_EQ(p.Width(), 1);
  p.SetWidth(3);
  p.SetColor(clRed);
  LOGPEN lp{};
  GetObjectA(p.Handle(), sizeof lp, &lp);
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnColor, 0x0000FFu);
  p.SetStyle(psClear);
  GetObjectA(p.Handle(), sizeof lp, &lp);
  EXPECT_EQ(lp.lopnStyle, UINT(PS_NULL));
  TPen q;
  q.Assign(&p);
  EXPECT_EQ(q.Width(), 3);
  EXPECT_EQ(q.Style(), psClear);
}

}  // namespace
