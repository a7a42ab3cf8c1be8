// The engine's text and clipping helpers: which section a see-through
// control's text takes its colours from, a control's caption fed from its
// skin state, and graphic children left out of the clip.
#include <gtest/gtest.h>

#include "probe.h"
#include "skin/engine/control_text.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "tests/skin_paint/text_recorder.h"

namespace {

// What the probe answers to SkinCmdGetBgSection.
LRESULT gAnswerResult = 1;
int gAnswerIndex = 7;
BgSectionQuery gAsked;

bool AnswerBgSection(TControl*, TMessage& m) {
  if (SkinCmdCode(m.WParam) != SkinCmdGetBgSection) return false;
  auto* q = reinterpret_cast<BgSectionQuery*>(m.LParam);
  gAsked = *q;
  q->Index = gAnswerIndex;
  m.Result = gAnswerResult;
  return true;
}

class ControlTextTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    manager = New<TsSkinManager>(Form);
    // 0 BUTTON (opaque), 1 WEBBUTTON, 2 GROUPBOX see-through in state 1, 3
    // PANEL whose colours show through, 4 a section 39 % transparent.
    const struct {
      const char* name;
      int transparency;
      SkinColor fontColor;
    } sections[] = {{"BUTTON", 0, 0x000080},
                    {"WEBBUTTON", 0, 0x008000},
                    {"GROUPBOX", 40, 0x800000},
                    {"PANEL", 0, 0x123456},
                    {"EDIT", 39, 0x654321}};
    for (const auto& s : sections) {
      TsGeneralData d;
      d.SectionName = s.name;
      for (TsGenState& st : d.Props) {
        st.Transparency = s.transparency;
        st.FontColor = s.fontColor;
      }
      manager->Sections.push_back(d);
    }
    manager->ConstData.Sections[6] = 2;  // "GROUPBOX"
    manager->ConstData.Sections[8] = 1;  // "WEBBUTTON"
    probe = AddProbe(Form, "P");
    probe->SetBounds(12, 8, 50, 40);
    probe->Answer = AnswerBgSection;
    gAnswerResult = 1;
    gAnswerIndex = 3;
  }
  TsCommonData* SkinDataWithSection(int index) {
    probe->SkinData = New<TsCommonData>(probe, false);
    probe->SkinData->SetSkinManager(manager);
    probe->SkinData->SkinIndex = index;
    return probe->SkinData;
  }
  TsSkinManager* manager = nullptr;
  TProbeControl* probe = nullptr;
};

TEST_F(ControlTextTest, EffectiveSectionAsksOnlyWhenSeeThrough) {
  struct Case {
    int index, state;
    LRESULT answer;
    int answerIndex;
    int expected;
    bool asked;
  };
  const Case cases[] = {
      {4, 1, 1, 3, 4, false},  // 39 %: the section stands
      {2, 1, 1, 3, 3, true},   // 40 %: the control tells
      {0, 0, 1, 3, 3, true},   // the normal state always asks
      {-1, 1, 1, 3, 3, true},  // no section of its own
      {0, 3, 1, 3, 3, true},   // a state the section does not have
      {2, 1, 0, 3, 2, true},   // nobody answered
      {2, 1, 1, -1, 2, true},  // the answer names no section
  };
  for (const Case& c : cases) {
    ReceivedLog().clear();
    gAnswerResult = c.answer;
    gAnswerIndex = c.answerIndex;
    gAsked = BgSectionQuery{};
    EXPECT_EQ(EffectiveSectionIndex(probe, c.index, manager, c.state), c.expected)
        << c.index << " state " << c.state;
    EXPECT_EQ(ReceiversOf(SkinCmdGetBgSection).size(), c.asked ? 1u : 0u) << c.index;
    if (c.asked) {
      EXPECT_EQ(gAsked.State, c.state);
      const RECT bounds{12, 8, 62, 48};
      EXPECT_TRUE(EqualRect(&gAsked.Rect, &bounds));
    }
  }
  EXPECT_EQ(EffectiveSectionIndex(nullptr, 2, manager, 1), 2);
}

TEST_F(ControlTextTest, CaptionColoursFromTheSectionBehindASeeThroughStandardSection) {
  struct Case {
    int skinIndex;
    COLORREF colour;
  };
  // GROUPBOX is standard and see-through: PANEL's colour; BUTTON is no
  // standard section here: its own.
  for (const Case& c : {Case{2, 0x123456}, Case{0, 0x000080}}) {
    TsCommonData* data = SkinDataWithSection(c.skinIndex);
    TextRecorder rec;
    DrawControlText(&rec.Canvas, "Text", true, RECT{0, 0, 50, 20}, DT_SINGLELINE, data, 1);
    const auto drawn = rec.Finish();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].Color, c.colour) << c.skinIndex;
    TObject::Free(probe->SkinData);
    probe->SkinData = nullptr;
  }
}

TEST_F(ControlTextTest, HoveredLinkButtonIsUnderlinedAndTheFontGivenBack) {
  TsCommonData* data = SkinDataWithSection(1);
  TextRecorder rec;
  DrawControlText(&rec.Canvas, "Link", true, RECT{0, 0, 50, 20}, DT_SINGLELINE, data, 1);
  EXPECT_EQ(rec.Canvas.Font()->Style(), 0);
  DrawControlText(&rec.Canvas, "Link", true, RECT{0, 0, 50, 20}, DT_SINGLELINE, data, 0);
  const auto drawn = rec.Finish();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_TRUE(drawn[0].Underline);
  EXPECT_FALSE(drawn[1].Underline);
  EXPECT_EQ(drawn[0].Color, COLORREF(0x008000));
}

TEST_F(ControlTextTest, SectionTextOfAManager) {
  TextRecorder rec;
  rec.Canvas.Font()->SetColor(TColor(0x00AA00));
  DrawSectionText(&rec.Canvas, "A", true, RECT{0, 0, 50, 20}, DT_SINGLELINE, 3, 0, manager);
  DrawSectionText(&rec.Canvas, "B", true, RECT{0, 0, 50, 20}, DT_SINGLELINE, 9, 0, manager);
  const auto drawn = rec.Finish();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].Color, COLORREF(0x123456));
  EXPECT_EQ(drawn[1].Color, COLORREF(0x00AA00));  // no such section: the canvas's colour
}

TEST_F(ControlTextTest, GraphicChildrenLeftOutOfTheClipUnlessImagesAreTransparent) {
  ASSERT_NE(DefaultManager, nullptr);
  auto* graphic = New<TProbeGraphic>(Form);
  graphic->SetBounds(100, 20, 30, 10);
  graphic->SetParent(Form);
  TvlOptions* options = DefaultManager->Options();
  const bool saved = options->StdImgTransparency();
  for (bool transparent : {false, true}) {
    options->SetOption(TvlOptions::StdImgTransparencyIndex, transparent);
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    TOwnedBitmap bmp(CreateCompatibleBitmap(dc.Get(), 300, 200));
    TSelectedObject sel(dc.Get(), bmp.Get());
    ExcludeGraphicChildren(dc.Get(), Form, 5, 3);
    EXPECT_EQ(PtVisible(dc.Get(), 106, 24) != 0, transparent);
    EXPECT_TRUE(PtVisible(dc.Get(), 104, 24));
    EXPECT_TRUE(PtVisible(dc.Get(), 17, 11));  // the windowed probe stays
  }
  options->SetOption(TvlOptions::StdImgTransparencyIndex, saved);
}

}  // namespace
