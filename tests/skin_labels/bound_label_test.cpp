// The bound caption label: where each layout puts it, how it follows its
// control, how it scales, who frees it, and how it is read back from a
// description.
#include <functional>
#include <string>

#include "labels_fixture.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/rtl/form_reader.h"

namespace {

struct LayoutCase {
  TsCaptionLayout Layout;
  TAlignment Alignment;
  // Expected top-left from the control's bounds, the label's size and Indent.
  std::function<TPoint(const TRect& C, int W, int H, int Indent)> At;
};

int Centred(const TRect& C, int H) {
  return C.Top + (C.Height() - H) / 2 - 1;
}

TEST_F(BoundEditFixture, EachLayoutPlacesAndAlignsTheLabel) {
  const LayoutCase cases[] = {
      {sclLeft, taRightJustify,
       [](const TRect& C, int W, int H, int I) {
         return TPoint(C.Left - W - I - 4, Centred(C, H));
       }},
      {sclTopLeft, taLeftJustify,
       [](const TRect& C, int, int H, int I) { return TPoint(C.Left, C.Top - H - I); }},
      {sclTopCenter, taCenter,
       [](const TRect& C, int W, int H, int I) {
         return TPoint(C.Left + (C.Width() - W) / 2, C.Top - H - I);
       }},
      {sclTopRight, taRightJustify,
       [](const TRect& C, int W, int H, int I) { return TPoint(C.Right - W, C.Top - H - I); }},
      {sclLeftTop, taLeftJustify,
       [](const TRect& C, int W, int, int I) { return TPoint(C.Left - W - I - 4, C.Top + 3); }},
      {sclBottomLeft, taLeftJustify,
       [](const TRect& C, int, int, int I) { return TPoint(C.Left, C.Bottom + I); }},
      {sclBottomCenter, taCenter,
       [](const TRect& C, int W, int, int I) {
         return TPoint(C.Left + (C.Width() - W) / 2, C.Bottom + I);
       }},
      {sclBottomRight, taRightJustify,
       [](const TRect& C, int W, int, int I) { return TPoint(C.Right - W, C.Bottom + I); }},
      {sclRight, taLeftJustify,
       [](const TRect& C, int, int H, int I) { return TPoint(C.Right + I + 4, Centred(C, H)); }},
      {sclRightTop, taLeftJustify,
       [](const TRect& C, int, int, int I) { return TPoint(C.Right + I + 4, C.Top + 3); }},
  };
  Bound()->SetCaption("Level");
  Bound()->SetActive(true);
  ASSERT_TRUE(Label());
  for (const LayoutCase& c : cases) {
    for (const int indent : {0, 5}) {
      SCOPED_TRACE(testing::Message() << "layout " << int(c.Layout) << " indent " << indent);
      Bound()->SetIndent(indent);
      Bound()->SetLayout(c.Layout);
      TCustomLabel* l = Label();
      const TPoint want = c.At(Edit->BoundsRect(), l->Width(), l->Height(), indent);
      EXPECT_EQ(l->Left(), want.X);
      EXPECT_EQ(l->Top(), want.Y);
      EXPECT_EQ(l->Alignment(), c.Alignment);
      EXPECT_EQ(l->Parent(), Form);
      EXPECT_EQ(l->Align(), alNone);
    }
  }
}

TEST_F(BoundEditFixture, LeftOfALeftAlignedControlAlignsLeftAndCentresVertically) {
  Edit->SetAlign(alLeft);
  Bound()->SetActive(true);
  ASSERT_TRUE(Label());
  EXPECT_EQ(Label()->Align(), alLeft);
  EXPECT_EQ(Label()->Layout(), tlCenter);
  Bound()->SetLayout(sclRight);
  EXPECT_EQ(Label()->Align(), alNone);
}

TEST_F(BoundEditFixture, ActivatingNamesTheLabelAfterItsControl) {
  Bound()->SetActive(true);
  ASSERT_TRUE(Label());
  EXPECT_EQ(Label()->Name(), "Edit1Label");
  EXPECT_EQ(Label()->Caption(), "Edit1");
  EXPECT_EQ(Bound()->Caption(), "Edit1");
  EXPECT_EQ(Label()->Owner(), nullptr);
  EXPECT_EQ(Label()->FocusControl(), Edit);
  EXPECT_TRUE(Label()->Visible());
  EXPECT_TRUE(Label()->AutoSize());
  // Set while inactive, it waits; deactivated, the label is gone.
  Bound()->SetActive(false);
  EXPECT_EQ(Label(), nullptr);
  Bound()->SetCaption("Gain");
  Bound()->SetActive(true);
  ASSERT_TRUE(Label());
  EXPECT_EQ(Label()->Caption(), "Gain");
}

TEST_F(BoundEditFixture, MaxWidthLimitsTheLabelAndScalesWithTheControl) {
  const std::string words = "one two three four five six seven eight nine ten eleven twelve";
  Bound()->SetCaption(words);
  Bound()->SetActive(true);
  TCustomLabel* l = Label();
  ASSERT_TRUE(l);
  // No limit: one line, as wide as the text.
  const int lineHeight = l->Height();
  const int fullWidth = l->Width();
  EXPECT_GT(fullWidth, 150);
  Bound()->SetMaxWidth(80);
  EXPECT_LE(l->Width(), 80);
  EXPECT_GT(l->Height(), lineHeight);
  Bound()->SetMaxWidth(0);
  EXPECT_EQ(l->Width(), fullWidth);
  EXPECT_EQ(l->Height(), lineHeight);

  Bound()->SetMaxWidth(200);
  const int steps[][2] = {{150, 300}, {100, 200}};
  for (const auto& s : steps) {
    Edit->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdSetScale), s[0]);
    EXPECT_EQ(Bound()->MaxWidth(), s[1]);
    EXPECT_EQ(Bound()->ScalePercent(), s[0]);
    EXPECT_EQ(l->Constraints()->MaxWidth(), s[1]);
  }
}

struct FollowCase {
  const char* Name;
  bool EnabledAlways;
  std::function<void(TBoundEdit*)> Change;
  std::function<void(TBoundEdit*, TCustomLabel*)> Check;
};

TEST_F(BoundEditFixture, LabelFollowsItsControl) {
  const FollowCase cases[] = {
      {"disabled", false, [](TBoundEdit* e) { e->SetEnabled(false); },
       [](TBoundEdit*, TCustomLabel* l) { EXPECT_FALSE(l->Enabled()); }},
      {"disabled, enabled always", true, [](TBoundEdit* e) { e->SetEnabled(false); },
       [](TBoundEdit*, TCustomLabel* l) { EXPECT_TRUE(l->Enabled()); }},
      {"enabled again", false,
       [](TBoundEdit* e) {
         e->SetEnabled(false);
         e->SetEnabled(true);
       },
       [](TBoundEdit*, TCustomLabel* l) { EXPECT_TRUE(l->Enabled()); }},
      {"hidden", false, [](TBoundEdit* e) { e->SetVisible(false); },
       [](TBoundEdit*, TCustomLabel* l) { EXPECT_FALSE(l->Visible()); }},
      {"shown again after a move", false,
       [](TBoundEdit* e) {
         e->SetVisible(false);
         e->SetBounds(200, 150, 120, 23);
         e->SetVisible(true);
       },
       [](TBoundEdit* e, TCustomLabel* l) {
         EXPECT_TRUE(l->Visible());
         EXPECT_EQ(l->Left() + l->Width() + 4, e->Left());
       }},
      {"moved", false, [](TBoundEdit* e) { e->SetBounds(230, 60, 100, 40); },
       [](TBoundEdit* e, TCustomLabel* l) {
         EXPECT_EQ(l->Left() + l->Width() + 4, e->Left());
         EXPECT_EQ(l->Top(), 60 + (40 - l->Height()) / 2 - 1);
       }},
      {"right to left", false, [](TBoundEdit* e) { e->SetBiDiMode(bdRightToLeft); },
       [](TBoundEdit*, TCustomLabel* l) { EXPECT_EQ(l->BiDiMode(), bdRightToLeft); }},
  };
  for (const FollowCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    Bound()->SetEnabledAlways(c.EnabledAlways);
    Bound()->SetCaption("Rate");
    Bound()->SetActive(true);
    ASSERT_TRUE(Label());
    c.Change(Edit);
    c.Check(Edit, Label());
  }
}

TEST_F(BoundEditFixture, ClicksOnTheLabelClickTheControlWhileAllowed) {
  int clicks = 0;
  struct Counter {
    int* n;
    void Click(TObject*) { ++*n; }
  } counter{&clicks};
  Edit->OnClick = TNotifyEvent::Of<&Counter::Click>(&counter);
  Bound()->SetAllowClick(true);
  Bound()->SetActive(true);  // the label made later still forwards
  ASSERT_TRUE(Label());
  Label()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  Label()->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(clicks, 1);
  Bound()->SetAllowClick(false);
  Label()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  Label()->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(clicks, 1);
}

TEST_F(BoundEditFixture, UseHtmlAndFontReachTheLabel) {
  TFont big;
  big.SetSize(14);
  big.SetStyle(fsBold);
  EXPECT_FALSE(Bound()->IsFontStored());
  Bound()->SetFont(&big);  // kept until the label exists
  EXPECT_TRUE(Bound()->IsFontStored());
  Bound()->SetActive(true);
  auto* l = dynamic_cast<TsEditLabel*>(Label());
  ASSERT_TRUE(l);
  EXPECT_EQ(l->BoundLabel(), Bound());
  EXPECT_EQ(l->Font()->Size(), 14);
  EXPECT_EQ(Bound()->Font(), l->Font());
  EXPECT_FALSE(l->UseHTML());
  Bound()->SetUseHTML(true);
  EXPECT_TRUE(l->UseHTML());
  EXPECT_TRUE(Bound()->UseSkinColor());
  Bound()->SetUseSkinColor(false);
  EXPECT_FALSE(l->UseSkinColor());
}

// Each way the label can end: it is freed exactly once, and the bound
// label knows it is gone.
struct EndCase {
  const char* Name;
  std::function<void(TForm*&, TBoundEdit*&)> End;
};

TEST_F(BoundEditFixture, TheLabelIsFreedOnceWhoeverGoesFirst) {
  const EndCase cases[] = {
      {"control first",
       [](TForm*&, TBoundEdit*& e) {
         TObject::Free(e);
         e = nullptr;
       }},
      {"parent first",
       [](TForm*& f, TBoundEdit*& e) {
         TObject::Free(f);
         f = nullptr;
         e = nullptr;
       }},
      {"label first",
       [](TForm*&, TBoundEdit*& e) {
         TObject::Free(e->BoundLabel()->Label());
         EXPECT_FALSE(e->BoundLabel()->Active());
         EXPECT_EQ(e->BoundLabel()->Label(), nullptr);
       }},
      {"deactivated", [](TForm*&, TBoundEdit*& e) { e->BoundLabel()->SetActive(false); }},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    Bound()->SetActive(true);
    ASSERT_TRUE(Label());
    TOwnedObject<TFreeWatch> watch = OwnObject(New<TFreeWatch>());
    watch->Watch(Label());
    const int before = Form->ControlCount();
    c.End(Form, Edit);
    EXPECT_EQ(watch->Count, 1);
    if (Form) {
      EXPECT_LT(Form->ControlCount(), before);
    }
    if (Edit) {
      // A later end of the control frees nothing twice.
      TObject::Free(Edit);
      Edit = nullptr;
      EXPECT_EQ(watch->Count, 1);
    }
  }
}

TEST(BoundLabelDescription, IsReadWithItsControlInEitherOrder) {
  RegisterClass(TBoundEdit::StaticClass());
  const char* const orders[] = {
      "    BoundLabel.Active = True\n"
      "    BoundLabel.Caption = 'Gain'\n",
      "    BoundLabel.Caption = 'Gain'\n"
      "    BoundLabel.Active = True\n",
  };
  for (const char* props : orders) {
    SCOPED_TRACE(props);
    TForm* root = New<TForm>(Application, TCustomForm::TCreateNew{});
    ReadComponentFromText(root, std::string("object Root: TForm\n"
                                            "  Left = 50\n"
                                            "  Top = 50\n"
                                            "  Width = 400\n"
                                            "  Height = 260\n"
                                            "  object Volume: TBoundEdit\n"
                                            "    Left = 160\n"
                                            "    Top = 60\n"
                                            "    Width = 100\n"
                                            "    Height = 23\n") +
                                    props +
                                    "    BoundLabel.Layout = sclTopLeft\n"
                                    "    BoundLabel.Indent = 2\n"
                                    "  end\n"
                                    "end\n");
    auto* e = dynamic_cast<TBoundEdit*>(root->FindComponent("Volume"));
    ASSERT_TRUE(e);
    root->Show();
    PumpMessages();
    TCustomLabel* l = e->BoundLabel()->Label();
    ASSERT_TRUE(l);
    EXPECT_EQ(l->Name(), "VolumeLabel");
    EXPECT_EQ(l->Caption(), "Gain");
    EXPECT_EQ(l->Parent(), root);
    EXPECT_EQ(l->Left(), 160);
    EXPECT_EQ(l->Top(), 60 - l->Height() - 2);
    // Written back, the label's switch comes before its caption.
    const std::string text = WriteComponentToText(root);
    const size_t active = text.find("BoundLabel.Active = True");
    const size_t caption = text.find("BoundLabel.Caption = 'Gain'");
    ASSERT_NE(active, std::string::npos);
    ASSERT_NE(caption, std::string::npos);
    EXPECT_LT(active, caption);
    TObject::Free(root);
    PumpMessages();
  }
}

}  // namespace
