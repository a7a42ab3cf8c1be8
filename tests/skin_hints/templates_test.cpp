// Template sizes: the clamp of a side, the default template's values, and
// the change reports a manager gets.
#include <gtest/gtest.h>

#include "png_writer.h"
#include "skin/controls/hint_templates.h"
#include "test_hint_manager.h"
#include "widgets/rtl/streams.h"

namespace {

// A picture of Size x Size as PNG bytes in a memory stream.
std::unique_ptr<TMemoryStream> PictureStream(int Size) {
  PngDesc d;
  d.Width = d.Height = uint32_t(Size);
  FillSamples(d, 7);
  const std::vector<uint8_t> png = EncodePng(d);
  auto s = std::make_unique<TMemoryStream>();
  s->Write(png.data(), int32_t(png.size()));
  s->SetPosition(0);
  return s;
}

struct SideCase {
  const char* What;
  bool CheckSize;
  int Opposite;  // set first
  int Side;      // TvlBordersSizes::Side
  int Value;
  int ExpectSide, ExpectOpposite;
};

TEST(HintBordersSizes, SidesAreClampedToTheImage) {
  using S = TvlBordersSizes;
  const SideCase cases[] = {
      {"negative reads 0", false, 0, S::sLeft, -5, 0, 0},
      {"without CheckSize a side may pass the image", false, 20, S::sLeft, 30, 30, 20},
      {"left past a 27-pixel image stops at 26, right shrinks to 0", true, 5, S::sLeft, 30, 26, 0},
      {"top 10 leaves bottom 16", true, 20, S::sTop, 10, 10, 16},
      {"a small right keeps the left", true, 3, S::sRight, 4, 4, 3},
      {"bottom exactly size - 1", true, 0, S::sBottom, 26, 26, 0},
  };
  for (const SideCase& c : cases) {
    SCOPED_TRACE(c.What);
    auto t = OwnObject(New<TvlHintTemplate>(nullptr));
    TvlHintImage* image = t->ImageDefault();
    auto png = PictureStream(27);
    image->Image()->LoadFromStream(*png);
    ASSERT_EQ(image->ImageWidth(), 27);
    TvlBordersSizes& b = image->BordersWidths();
    const int opposite = c.Side == S::sTop      ? S::sBottom
                         : c.Side == S::sBottom ? S::sTop
                         : c.Side == S::sLeft   ? S::sRight
                                                : S::sLeft;
    b.Set(opposite, c.Opposite);
    b.CheckSize = c.CheckSize;
    b.Set(c.Side, c.Value);
    EXPECT_EQ(b.Get(c.Side), c.ExpectSide);
    EXPECT_EQ(b.Get(opposite), c.ExpectOpposite);
  }
}

TEST(HintTemplates, TheDefaultTemplateKeepsItsTableNotAFitToThePicture) {
  // The unit built one already from the picture every program carries; it
  // keeps the table too.
  ASSERT_NE(DefaultHintTemplate, nullptr);
  TvlHintTemplate* started = DefaultHintTemplate;
  DefaultHintTemplate = nullptr;
  auto png = PictureStream(27);
  BuildDefaultHintTemplate(png.get());
  auto built = OwnObject(DefaultHintTemplate);
  DefaultHintTemplate = started;

  for (TvlHintTemplate* t : {started, built.get()}) {
    const TvlHintImage* i = t->ImageDefault();
    const TvlBordersSizes* sizes[3] = {&i->BordersWidths(), &i->ShadowSizes(), &i->ClientMargins()};
    const int expect[3][4] = {{11, 10, 14, 15}, {6, 5, 7, 8}, {11, 8, 16, 15}};
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(k);
      EXPECT_EQ(sizes[k]->Left(), expect[k][0]);
      EXPECT_EQ(sizes[k]->Top(), expect[k][1]);
      EXPECT_EQ(sizes[k]->Right(), expect[k][2]);
      EXPECT_EQ(sizes[k]->Bottom(), expect[k][3]);
    }
  }
  EXPECT_EQ(built->ImageDefault()->ImageWidth(), 27);
  EXPECT_EQ(built->ImageDefault()->ImageHeight(), 27);
  EXPECT_EQ(started->ImageDefault()->ImageWidth(), 27);
}

TEST(HintTemplates, SettingAPictureFitsBordersAndMargins) {
  auto t = OwnObject(New<TvlHintTemplate>(nullptr));
  auto png = PictureStream(27);
  TPNGGraphic picture;
  picture.LoadFromStream(*png);
  t->ImageDefault()->SetImage(&picture);
  EXPECT_EQ(t->ImageDefault()->BordersWidths().Left(), 13);
  EXPECT_EQ(t->ImageDefault()->ClientMargins().Bottom(), 13);
}

TEST(HintTemplates, ChangesReachTheManagerExceptWhileItLoads) {
  test_hints::TTestHintManager m;
  TvlHintTemplate* t = m.Templates(0);
  m.Changes = 0;
  t->ImageDefault()->BordersWidths().Set(TvlBordersSizes::sLeft, 4);
  t->ImageDefault()->BorderDrawModes().Set(TvlBorderDrawModes::pCenter, dmRepeat);
  TFont f;
  t->SetFont(&f);
  EXPECT_EQ(m.Changes, 3);
  m.LoadingFlag = true;
  t->ImageDefault()->ShadowSizes().Set(TvlBordersSizes::sTop, 2);
  EXPECT_EQ(m.Changes, 3);
  // A template of no collection reports to nobody.
  auto loose = OwnObject(New<TvlHintTemplate>(nullptr));
  loose->ImageDefault()->ShadowSizes().Set(TvlBordersSizes::sTop, 2);
  EXPECT_EQ(m.Changes, 3);
}

TEST(HintTemplates, AssignCopiesPicturesBytesAndSizes) {
  test_hints::TTestHintManager m;
  auto copy = OwnObject(New<TvlHintTemplate>(nullptr));
  copy->Assign(m.Templates(1));
  EXPECT_EQ(copy->Name, "corners");
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(copy->Images(i)->ImgData()->Size(), m.Templates(1)->Images(i)->ImgData()->Size());
    EXPECT_EQ(copy->Images(i)->ClientMargins().Left(), test_hints::kMargin);
    copy->Images(i)->LoadHintImageFromData();
    EXPECT_EQ(copy->Images(i)->ImageWidth(), test_hints::kPictureSize);
  }
}

}  // namespace
