// The skinned label: its caption takes the font colour of the section it
// stands on (faded when disabled), a SkinSection paints a background only
// when the skin has it, and without a skin in force it draws exactly as the
// platform label.
#include <functional>
#include <string>

#include "skin/controls/group_box.h"
#include "skin/engine/control_helpers.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/skin_commands.h"
#include "skinned_scene.h"

namespace {

const test_skin::MfSection& SectionOf(const test_skin::TestSkinManifest& M, const std::string& N) {
  for (const test_skin::MfSection& s : M.Sections)
    if (s.Name == N) return s;
  throw std::logic_error("no section " + N);
}

bool Between(uint32_t X, uint32_t A, uint32_t B) {
  for (int n = 0; n < 24; n += 8) {
    const int x = (X >> n) & 0xFF, a = (A >> n) & 0xFF, b = (B >> n) & 0xFF;
    if (x < std::min(a, b) || x > std::max(a, b)) return false;
  }
  return X != A && X != B;
}

struct ColourCase {
  const char* Name;
  bool OnBox;
  bool Enabled;
  bool UseSkinColor;
};

TEST(LabelColourTest, TakesTheFontColourOfTheSectionBeneath) {
  TSkinnedScene s;
  auto* box = New<TsGroupBox>(s.Form);
  box->SetBounds(120, 10, 200, 150);
  box->SetParent(s.Form);
  auto* onForm = New<TsLabel>(s.Form);
  onForm->SetBounds(10, 10, 80, 20);
  onForm->SetParent(s.Form);
  auto* onBox = New<TsLabel>(s.Form);
  onBox->SetBounds(10, 40, 80, 20);
  onBox->SetParent(box);
  s.Start();
  ASSERT_TRUE(s.Manager->Active());
  const TColor boxFont = static_cast<TColor>(SectionOf(s.Manifest, "GROUPBOX").States[0].FontColor);
  const TColor global = s.Manager->GetGlobalFontColor();
  ASSERT_EQ(RgbOf(global), RgbOf(static_cast<TColor>(s.Manifest.Palette[1])));
  ASSERT_NE(RgbOf(boxFont), RgbOf(global));
  onForm->Font()->SetColor(clRed);
  onBox->Font()->SetColor(clRed);
  const ColourCase cases[] = {
      {"on the form", false, true, true},
      {"on the group box", true, true, true},
      {"disabled on the form", false, false, true},
      {"disabled on the group box", true, false, true},
      {"own colour", true, true, false},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TsLabel* l = c.OnBox ? onBox : onForm;
    l->SetEnabled(c.Enabled);
    l->SetUseSkinColor(c.UseSkinColor);
    const uint32_t got = RgbOf(l->GetCurrentFontColor());
    const uint32_t skin = RgbOf(c.OnBox ? boxFont : global);
    if (!c.UseSkinColor)
      EXPECT_EQ(got, RgbOf(clRed));
    else if (c.Enabled)
      EXPECT_EQ(got, skin);
    else
      EXPECT_TRUE(Between(got, skin, RgbOf(GetControlBgColor(l->Parent()))))
          << std::hex << got << " " << skin;
    l->SetEnabled(true);
    l->SetUseSkinColor(true);
  }
}

TEST(LabelSectionTest, PaintsABackgroundOnlyForASectionTheSkinHas) {
  TSkinnedScene s;
  auto* known = New<TsLabel>(s.Form);
  auto* unknown = New<TsLabel>(s.Form);
  int y = 20;
  for (TsLabel* l : {known, unknown}) {
    l->SetAutoSize(false);
    l->SetCaption("");
    l->SetBounds(30, y, 60, 20);
    l->SetParent(s.Form);
    y += 40;
  }
  known->SetSkinSection("CHECKBOX");
  unknown->SetSkinSection("NOSUCHSECTION");
  s.Start();
  s.Form->Repaint();
  PumpMessages();
  HDC dc = GetDC(s.Form->Handle());
  const auto at = [&](int X, int Y) { return RgbOf(static_cast<TColor>(GetPixel(dc, X, Y))); };
  const uint32_t mint =
      RgbOf(static_cast<TColor>(SectionOf(s.Manifest, "CHECKBOX").States[0].Color));
  EXPECT_TRUE(Near(at(60, 30), mint, 8)) << std::hex << at(60, 30);
  EXPECT_TRUE(Near(at(60, 70), at(20, 70), 2));  // as the form beside it
  ReleaseDC(s.Form->Handle(), dc);
  EXPECT_EQ(unknown->SectionIndex(), -1);
  EXPECT_GE(known->SectionIndex(), 0);
}

// Without a skin the skinned label and the platform label leave the same
// pixels, enabled and disabled (the platform's engraved look).
TEST(LabelPlainTest, DrawsAsThePlatformLabel) {
  ASSERT_TRUE(DefaultManager == nullptr || !DefaultManager->Active());
  TOwnedObject<TForm> form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
  form->SetBounds(40, 40, 400, 200);
  auto* mine = New<TsLabel>(form.get());
  auto* platform = New<TLabel>(form.get());
  int y = 10;
  for (TCustomLabel* l : {static_cast<TCustomLabel*>(mine), static_cast<TCustomLabel*>(platform)}) {
    l->SetTransparent(true);
    l->Font()->SetSize(12);
    l->SetCaption("Reverb &level");
    l->SetLeft(10);
    l->SetTop(y);
    l->SetParent(form.get());
    y += 60;
  }
  form->Show();
  for (const bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    mine->SetEnabled(enabled);
    platform->SetEnabled(enabled);
    form->Repaint();
    PumpMessages();
    ASSERT_EQ(mine->Width(), platform->Width());
    ASSERT_EQ(mine->Height(), platform->Height());
    HDC dc = GetDC(form->Handle());
    int differ = 0;
    for (int py = 0; py < mine->Height(); ++py)
      for (int px = 0; px < mine->Width(); ++px)
        differ += GetPixel(dc, 10 + px, 10 + py) != GetPixel(dc, 10 + px, 70 + py) ? 1 : 0;
    ReleaseDC(form->Handle(), dc);
    EXPECT_EQ(differ, 0);
  }
}

}  // namespace

namespace {

// A skin refresh remembers that the label followed its parent's font, so
// removing the skin gives that back after a font of its own was set
// meanwhile; a font change re-sizes an auto-sized label.
TEST(LabelCommandsTest, RefreshAndRemovalKeepTheParentFont) {
  TOwnedObject<TForm> form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
  auto* manager = New<TsSkinManager>(form.get());
  const LPARAM m = reinterpret_cast<LPARAM>(manager);
  struct Case {
    const char* Name;
    bool RefreshFirst;
    bool ParentFontAfter;
  };
  const Case cases[] = {{"refreshed, then removed", true, true},
                        {"removed without a refresh", false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* l = New<TsLabel>(form.get());
    l->SetParent(form.get());
    ASSERT_TRUE(l->ParentFont());
    if (c.RefreshFirst) l->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdRefresh), m);
    l->Font()->SetSize(20);
    EXPECT_FALSE(l->ParentFont());
    l->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdRemoveSkin), m);
    EXPECT_EQ(l->ParentFont(), c.ParentFontAfter);
    TObject::Free(l);
  }
}

TEST(LabelCommandsTest, FontChangeResizesAnAutoSizedLabel) {
  TOwnedObject<TForm> form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
  auto* l = New<TsLabel>(form.get());
  l->SetCaption("Chorus");
  l->SetParent(form.get());
  form->Show();
  const int w = l->Width(), h = l->Height();
  l->Font()->SetSize(l->Font()->Size() * 2);
  EXPECT_GT(l->Width(), w);
  EXPECT_GT(l->Height(), h);
  l->SetAutoSize(false);
  const int fixed = l->Width();
  l->Font()->SetSize(l->Font()->Size() * 2);
  EXPECT_EQ(l->Width(), fixed);
}

}  // namespace
