// The background protocol against a fake parent that answers each kind or none.
#include <gtest/gtest.h>

#include <memory>

#include "probe.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/background_query.h"

namespace {

class BackgroundTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    parent = AddProbe(Form, "Parent");
    parent->SetColor(clLime);
    parentImage.reset(NewArgbBitmap(4, 4));
    image = parentImage.get();
  }
  TProbeControl* parent = nullptr;
  std::unique_ptr<TBitmap> parentImage;
  static inline TBitmap* image = nullptr;
  static inline uint8_t answerKind = 0;
  static inline LRESULT bgColorAnswer = 0;

  static bool Answer(TControl*, TMessage& m) {
    switch (SkinCmdCode(m.WParam)) {
      case SkinCmdGetBackground: {
        auto* r = reinterpret_cast<BackgroundRequest*>(m.LParam);
        r->Kind = answerKind;
        if (answerKind == bgColor) r->Color = clBtnFace;
        if (answerKind == bgBitmap) {
          r->Bitmap = image;
          r->OffsetX += 3;
          r->OffsetY += 4;
        }
        m.Result = answerKind != 0;
        return true;
      }
      case SkinCmdGetBgColor:
        m.Result = bgColorAnswer;
        return true;
    }
    return false;
  }
};

TEST_F(BackgroundTest, EachKindOfAnswer) {
  parent->Answer = Answer;
  struct Case {
    uint8_t kind;
    bool hasBitmap;
    COLORREF color;
  };
  const Case cases[] = {
      {bgColor, false, ColorToRGB(clBtnFace)},
      {bgBitmap, true, 0x00FF00FF},
      // Not ready, colour left unset by the parent: "not known yet".
      {bgNotReady, false, 0x00FF00FF},
  };
  for (const Case& c : cases) {
    answerKind = c.kind;
    BackgroundRequest r;
    r.Bitmap = image;  // the control query starts from nothing
    r.Color = clRed;
    r.OffsetX = 10;
    r.OffsetY = 20;
    r.Borders = TRect(1, 1, 1, 1);
    EXPECT_TRUE(QueryControlBackground(r, parent, false));
    EXPECT_EQ(r.Kind, c.kind);
    BackgroundInfo info;
    info.Borders = TRect(9, 9, 9, 9);
    BackgroundInfoFromRequest(r, info);
    EXPECT_EQ(info.HasBitmap, c.hasBitmap) << int(c.kind);
    EXPECT_EQ(static_cast<COLORREF>(info.Color), c.color) << int(c.kind);
    EXPECT_EQ(info.Borders, TRect()) << int(c.kind);
    if (c.kind == bgBitmap) {
      EXPECT_EQ(info.Bitmap, image);
      EXPECT_EQ(info.OffsetX, 13);
      EXPECT_EQ(info.OffsetY, 24);
    } else {
      EXPECT_EQ(info.Bitmap, nullptr);
    }
  }
}

TEST_F(BackgroundTest, UnansweredControlGivesItsColour) {
  parent->Answer = Answer;
  answerKind = bgNotAnswered;
  struct Case {
    LRESULT bgColor;
    TColor expected;
  };
  // A black answer (0) cannot be told from none: the control's own colour.
  for (const Case& c : {Case{0x123456, 0x123456}, Case{0, clLime}}) {
    bgColorAnswer = c.bgColor;
    BackgroundRequest r;
    r.Bitmap = image;
    EXPECT_TRUE(QueryControlBackground(r, parent, false));
    EXPECT_EQ(r.Kind, bgColor);
    EXPECT_EQ(r.Color, c.expected);
    EXPECT_EQ(r.Bitmap, nullptr);
  }
}

TEST_F(BackgroundTest, UnansweredWindowGivesManagerColourOrButtonFace) {
  BackgroundRequest r;
  r.Bitmap = image;
  EXPECT_FALSE(QueryWindowBackground(r, parent->Handle(), false));
  EXPECT_EQ(r.Kind, bgColor);
  EXPECT_EQ(r.Color, clBtnFace);
  EXPECT_EQ(r.Bitmap, image);  // left as the caller set it
  BackgroundInfo info;
  BackgroundInfoFromRequest(r, info);
  EXPECT_EQ(static_cast<COLORREF>(info.Color), ColorToRGB(clBtnFace));
  EXPECT_FALSE(info.HasBitmap);

  auto* manager = New<TsSkinManager>(nullptr);
  ASSERT_EQ(DefaultManager, manager);
  TsGeneralData global;
  global.SectionName = "GLOBALINFO";
  manager->Sections.push_back(global);
  manager->SkinPalette[0] = 0x00ABCDEF;  // the skin's main colour
  EXPECT_FALSE(QueryWindowBackground(r, parent->Handle(), false));
  EXPECT_EQ(r.Color, 0x00ABCDEF);
  TObject::Free(manager);
  EXPECT_EQ(DefaultManager, nullptr);

  parent->Answer = Answer;
  answerKind = bgBitmap;
  EXPECT_TRUE(QueryWindowBackground(r, parent->Handle(), false));
  EXPECT_EQ(r.Kind, bgBitmap);
}

// The parent paints (10, 10, 30, 30) red over blue; the asker's DC shows the
// parent from (OffsetX, OffsetY) on, clipped to ClipRect.
class FallbackPaint : public BackgroundTest {
 protected:
  void SetUp() override {
    BackgroundTest::SetUp();
    parent->PaintsPattern = true;
    target.reset(NewArgbBitmap(20, 20));
    target->Canvas()->Brush()->SetColor(clWhite);
    target->Canvas()->FillRect(TRect(0, 0, 20, 20));
    req.DC = target->Canvas()->Handle();
    req.OffsetX = 10;
    req.OffsetY = 10;
    req.ClipRect = TRect(0, 0, 5, 5);
  }
  COLORREF At(int x, int y) { return GetPixel(target->Canvas()->Handle(), x, y); }
  void ExpectPainted() {
    EXPECT_EQ(At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(At(4, 4), RGB(255, 0, 0));
    EXPECT_EQ(At(5, 5), RGB(255, 255, 255));  // clipped
    POINT org;
    GetViewportOrgEx(req.DC, &org);
    EXPECT_EQ(org.x, 0);  // the DC's state is kept
  }
  std::unique_ptr<TBitmap> target;
  BackgroundRequest req;
};

TEST_F(FallbackPaint, ControlQueryPaintsTheParentIntoTheDC) {
  EXPECT_TRUE(QueryControlBackground(req, parent, true));
  EXPECT_EQ(req.Kind, bgNotAnswered);
  ExpectPainted();
}

TEST_F(FallbackPaint, WindowQueryFollowsTheByteLeftInTheRequest) {
  req.PaintFallback = true;  // left by the caller
  EXPECT_FALSE(QueryWindowBackground(req, parent->Handle(), false));
  EXPECT_EQ(req.Kind, bgNotAnswered);
  ExpectPainted();
}

}  // namespace
