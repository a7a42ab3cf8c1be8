// How items are drawn, plain and skinned, with and without a selection
// (index -1), and that the hover fade ends on its final look.
#include "combo_fixture.h"
#include "skin/engine/anim_timer.h"
#include "widgets/graphics/canvas_on_dc.h"

namespace {

constexpr int kW = 120, kH = 20;

// A bold font, so that some text pixels reach the full font colour even
// where text is smoothed.
void UseBoldFont(TsCustomComboBox* C) {
  C->Font()->SetSize(14);
  C->Font()->SetStyle(fsBold);
}

TEST(ComboItems, PlainItemsFillWithTheControlOrHighlightColours) {
  struct Case {
    int Index;
    TOwnerDrawState State;
    TColor Fill, Text;
  };
  const Case cases[] = {
      {-1, 0, clWindow, clNone},
      {-1, odSelected, clHighlight, clNone},
      {2, 0, clWindow, clWindowText},
      {2, odSelected | odFocused, clHighlight, clHighlightText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Index << " " << c.State);
    TComboScene s(nullptr, csOwnerDrawFixed);
    UseBoldFont(s.Combo);
    TItemCanvas ic(s.Combo, kW, kH);
    s.Combo->DrawItem(c.Index, TRect(0, 0, kW, kH), c.State);
    TBitmap* b = ic.Bitmap();
    EXPECT_EQ(PixelOf(b, kW - 5, kH / 2), RgbOf(c.Fill));
    const int ink = CountNear(b, TRect(0, 0, kW, kH), RgbOf(c.Text), 8);
    if (c.Text == clNone)
      EXPECT_EQ(CountNear(b, TRect(0, 0, kW, kH), RgbOf(c.Fill), 0), kW * kH);
    else
      EXPECT_GT(ink, 3);
  }
}

TEST(ComboItems, SkinnedListItemsTakeThePaletteOrTheSelectionSection) {
  struct Case {
    const char* Variant;
    int Index;
    TOwnerDrawState State;
  };
  const Case cases[] = {
      {"tessera", -1, 0},           {"tessera", 2, 0},
      {"tessera", -1, odSelected},  {"tessera", 2, odSelected},
      {"selection", 2, odSelected},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Variant << " " << c.Index << " " << c.State);
    TComboScene s(c.Variant);
    ASSERT_TRUE(s.Combo->Skinned());
    UseBoldFont(s.Combo);
    TItemCanvas ic(s.Combo, kW, kH);
    s.Combo->DrawItem(c.Index, TRect(0, 0, kW, kH), c.State);
    TBitmap* b = ic.Bitmap();
    const bool selected = (c.State & odSelected) != 0;
    const bool section = selected && FindSectionIndex(s.Manager, "SELECTION") >= 0;
    TColor fill = selected ? s.Manager->GetHighlightColor(true) : s.Manager->GetEditColor();
    TColor text = selected ? s.Manager->GetHighlightFontColor(true) : s.Manager->GetEditFontColor();
    if (section) {
      fill = s.Section("SELECTION").Props[1].Color;
      text = s.Section("SELECTION").Props[1].FontColor;
    }
    EXPECT_EQ(PixelOf(b, kW - 6, kH / 2), RgbOf(fill));
    if (c.Index < 0) {
      // No item: the face alone, no text and no error.
      EXPECT_EQ(CountNear(b, TRect(4, 4, kW - 4, kH - 4), RgbOf(fill), 0), (kW - 8) * (kH - 8));
    } else {
      EXPECT_GT(CountNear(b, TRect(0, 0, kW, kH), RgbOf(text), 8), 3);
    }
  }
}

// The edit part of a drop-down list shows the button face with the item in
// the button's font colour; no selection shows the face as an empty item.
TEST(ComboItems, EditPartWithoutSelectionLooksLikeAnEmptyItem) {
  TComboScene s("tessera");
  ASSERT_TRUE(s.Combo->Skinned());
  UseBoldFont(s.Combo);
  s.Combo->SetBounds(16, 20, 180, 30);
  s.Combo->Items()->Add("");
  // Unfocused and not hot: the normal state.
  ::SetFocus(nullptr);
  PumpMessages();
  ASSERT_EQ(s.Combo->SkinData()->CurrentState(), 0);
  const auto editPart = [&](int Index) {
    s.Combo->SetItemIndex(Index);
    s.Combo->SkinData()->Focused = false;
    s.Combo->PrepareCache();
    std::vector<uint32_t> px;
    const TRect b = s.Combo->ButtonRect();
    for (int y = 3; y < s.Combo->Height() - 3; ++y)
      for (int x = 3; x < b.Left - 2; ++x)
        px.push_back(PixelOf(s.Combo->SkinData()->CacheBitmap, x, y));
    return px;
  };
  const auto none = editPart(-1);
  EXPECT_EQ(none, editPart(5));
  EXPECT_NE(none, editPart(1));
  const TColor text = s.Section("BUTTON").Props[0].FontColor;
  s.Combo->SetItemIndex(1);
  s.Combo->PrepareCache();
  EXPECT_GT(CountNear(s.Combo->SkinData()->CacheBitmap, TRect(3, 3, s.Combo->ButtonRect().Left, 27),
                      RgbOf(text), 8),
            3);
}

struct Thrower {
  void Draw(TWinControl*, int, TRect, TOwnerDrawState) { throw std::runtime_error("draw"); }
};

// An item handler that fails leaves the canvas without the platform's DC.
TEST(ComboItems, CanvasGivesTheItemDCBackWhenDrawingFails) {
  for (const bool skinned : {false, true}) {
    SCOPED_TRACE(skinned);
    TComboScene s(skinned ? "tessera" : nullptr, csOwnerDrawFixed);
    Thrower t;
    s.Combo->OnDrawItem = TDrawItemEvent::Of<&Thrower::Draw>(&t);
    TItemCanvas ic(s.Combo, kW, kH);
    s.Combo->Canvas()->SetHandle(nullptr);
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_COMBOBOX;
    d.itemID = 1;
    d.hwndItem = s.Combo->Handle();
    d.hDC = ic.Bitmap()->Canvas()->Handle();
    d.rcItem = RECT{0, 0, kW, kH};
    EXPECT_THROW(s.Combo->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d)),
                 std::runtime_error);
    EXPECT_FALSE(s.Combo->Canvas()->HandleAllocated());
  }
}

// A fade whose steps cannot reach the end (it took over another one at a
// level its step sizes never leave) still ends, on its final look.
TEST(ComboFade, StepsEndAtTheFinalValue) {
  struct Case {
    int Kind;
    double Value, SecondValue;
  };
  for (const Case c : {Case{2, 200, 10}, Case{0, 100, 10}}) {
    SCOPED_TRACE(c.Kind);
    TComboScene s("tessera", csDropDownList, "COMBOBOX");
    ASSERT_TRUE(s.Combo->Skinned());
    TsCommonData* d = s.Combo->SkinData();
    s.Combo->PrepareCache();
    EnsureAnimTimer(d->AnimTimer, s.Combo, c.Kind);
    TvlThreadedTimer* t = d->AnimTimer;
    const TRect all(0, 0, s.Combo->Width(), s.Combo->Height());
    CopyBitmapRect(t, t->OldImage, d->CacheBitmap, all);
    CopyBitmapRect(t, t->NewImage, d->CacheBitmap, all);
    t->NewImage->Canvas()->Brush()->SetColor(clRed);
    t->NewImage->Canvas()->FillRect(all);
    t->Kind = c.Kind;
    t->StepCount = 10;
    t->CurrentStep = 10;
    t->Value = c.Value;
    t->SecondValue = c.SecondValue;
    t->StepSize = 0;
    t->SecondStepSize = 0;
    EXPECT_FALSE(TsCustomComboBox::FadeStep(d, 10));
    if (c.Kind == 2) {
      EXPECT_EQ(t->SecondValue, 255);
      ASSERT_NE(t->WorkImage, nullptr);
      EXPECT_TRUE(Near(PixelOf(t->WorkImage, 10, 10), 0xFF0000, 2));
    } else {
      EXPECT_EQ(t->Value, 0);
      EXPECT_EQ(t->Kind, -1);  // stopped
    }
  }
}

}  // namespace
