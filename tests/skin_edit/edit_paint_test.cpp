// The skinned edit's looks on screen and in its cache: who paints a focused
// edit, the disabled look, passwords, and the reading direction.
#include <string>

#include "edit_scene.h"
#include "widgets/rtl/sysutils.h"

namespace {

// Pixels of the client row band near the highlight colour.
int HighlightPixels(TsEdit* Edit) {
  const uint32_t highlight = RgbOf(static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
  const int e = Edit->EdgeWidth();
  int n = 0;
  for (int y = e; y < Edit->Height() - e; ++y)
    for (int x = e; x < Edit->Width() / 2; ++x)
      if (Near(WindowPixel(Edit->Handle(), x, y), highlight, 8)) ++n;
  return n;
}

TEST(EditPaint, FocusedEditShowsThePlatformClientInsideTheSkinnedFrame) {
  TEditScene scene(true);
  TsEdit* edit = scene.Add("0.5", 20, 20, 120, 24);
  const int w = edit->Width(), h = edit->Height();
  SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
  scene.Settle(edit);
  // Unfocused: all from the cache, the section's normal face.
  const uint32_t normal = RgbOf(static_cast<TColor>(scene.EditSection().States[0].Color));
  EXPECT_TRUE(Near(WindowPixel(edit->Handle(), w - 6, h / 2), normal))
      << std::hex << WindowPixel(edit->Handle(), w - 6, h / 2);
  EXPECT_TRUE(Near(WindowPixel(edit->Handle(), w - 6, h / 2), scene.MaskFace(0)));
  EXPECT_EQ(WindowPixel(edit->Handle(), w / 2, 0), CachePixel(edit, w / 2, 0));
  EXPECT_EQ(HighlightPixels(edit), 0) << "the cache never shows a selection";

  edit->SetFocus();
  SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
  scene.Settle(edit);
  // Focused: the platform paints the client in the focused state's colour
  // (selection and all); the frame still comes from the skin, now focused.
  const uint32_t focused = RgbOf(static_cast<TColor>(scene.EditSection().States[1].Color));
  ASSERT_FALSE(Near(normal, focused, 3)) << "the test skin's states must differ";
  EXPECT_TRUE(Near(WindowPixel(edit->Handle(), w - 6, h / 2), focused))
      << std::hex << WindowPixel(edit->Handle(), w - 6, h / 2);
  EXPECT_GT(HighlightPixels(edit), 0);
  EXPECT_TRUE(Near(CachePixel(edit, w / 2, h - 3), scene.MaskFace(1)));
  for (const POINT p : {POINT{w / 2, 0}, POINT{0, h / 2}, POINT{w - 1, h / 2}, POINT{w / 2, h - 1}})
    EXPECT_EQ(WindowPixel(edit->Handle(), p.x, p.y), CachePixel(edit, p.x, p.y))
        << p.x << "," << p.y;

  // Back to the cache once the focus leaves.
  SetFocus(scene.Form->Handle());
  scene.Settle(edit);
  EXPECT_TRUE(Near(WindowPixel(edit->Handle(), w - 6, h / 2), normal));
  EXPECT_EQ(HighlightPixels(edit), 0);
}

TEST(EditPaint, DisabledLookBlendsTheFaceWithTheBackground) {
  struct {
    TsDisabledKind Kind;
    bool Blended;
  } const cases[] = {{dkBlended, true}, {0, false}};
  for (const auto& c : cases) {
    TEditScene scene(true);
    scene.Form->SetColor(static_cast<TColor>(RGB(0, 0, 128)));
    TsEdit* edit = scene.Add("", 20, 20, 120, 24);
    edit->SetDisabledKind(c.Kind);
    edit->SetEnabled(false);
    scene.Settle(edit);
    const int x = edit->Width() / 2, y = edit->Height() / 2;
    const uint32_t face = scene.MaskFace(0), bg = 0x000080, seen = CachePixel(edit, x, y);
    EXPECT_EQ(WindowPixel(edit->Handle(), x, y), seen);
    if (!c.Blended) {
      EXPECT_TRUE(Near(seen, face)) << std::hex << seen;
      continue;
    }
    for (int n = 0; n < 24; n += 8) {
      const int f = (face >> n) & 0xFF, b = (bg >> n) & 0xFF, s = (seen >> n) & 0xFF;
      EXPECT_GE(s, std::min(f, b)) << std::hex << seen;
      EXPECT_LE(s, std::max(f, b)) << std::hex << seen;
    }
    // Clearly a mix: far from both ends in red.
    const int red = (seen >> 16) & 0xFF;
    EXPECT_GT(red, 20);
    EXPECT_LT(red, 224);
  }
}

// The cache of an edit as it paints unfocused.
std::vector<uint32_t> CacheOf(TsEdit* Edit) {
  std::vector<uint32_t> v;
  for (int y = 0; y < Edit->Height(); ++y)
    for (int x = 0; x < Edit->Width(); ++x) v.push_back(CachePixel(Edit, x, y));
  return v;
}

TEST(EditPaint, PasswordEditDrawsOneMaskCharacterPerCharacter) {
  TEditScene scene(true);
  TsEdit* secret = scene.Add("WiW", 10, 10, 100, 24);
  secret->SetPasswordChar('*');
  TsEdit* stars = scene.Add("***", 10, 50, 100, 24);
  TsEdit* plain = scene.Add("WiW", 10, 90, 100, 24);
  for (TsEdit* e : {secret, stars, plain}) {
    e->SkinData()->BgChanged = true;
    ASSERT_TRUE(e->PrepareCache());
  }
  EXPECT_EQ(CacheOf(secret), CacheOf(stars));
  EXPECT_NE(CacheOf(secret), CacheOf(plain));
}

// Columns of the cache's text band whose pixels leave the face colour.
std::pair<int, int> InkSpan(TsEdit* Edit, uint32_t Face) {
  int first = -1, last = -1;
  for (int x = 3; x < Edit->Width() - 3; ++x)
    for (int y = 3; y < Edit->Height() - 3; ++y)
      if (!Near(CachePixel(Edit, x, y), Face, 24)) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

TEST(EditPaint, TextReadsRightToLeftOnlyWhereTheLocaleDoes) {
  struct {
    bool MiddleEast;
    TBiDiMode Mode;
    bool RightAligned;
  } const cases[] = {
      {false, bdLeftToRight, false},
      {false, bdRightToLeft, false},
      {true, bdLeftToRight, false},
      {true, bdRightToLeft, true},
  };
  const bool saved = SysLocale.MiddleEast;
  for (const auto& c : cases) {
    SysLocale.MiddleEast = c.MiddleEast;
    {
      TEditScene scene(true);
      TsEdit* edit = scene.Add("", 20, 20, 160, 24);
      edit->SetParentBiDiMode(false);
      edit->SetBiDiMode(c.Mode);
      edit->SetText("88");
      edit->SkinData()->BgChanged = true;
      ASSERT_TRUE(edit->PrepareCache());
      const auto [first, last] = InkSpan(edit, scene.MaskFace(0));
      ASSERT_GE(first, 0) << "no text drawn";
      if (c.RightAligned) {
        EXPECT_GT(first, edit->Width() / 2) << first;
      } else {
        EXPECT_LT(last, edit->Width() / 2) << last;
      }
    }
  }
  SysLocale.MiddleEast = saved;
}

}  // namespace

namespace {

TEST(EditPaint, TextChangesRebuildTheCacheButNotWhileLoading) {
  TEditScene scene(true);
  TsEdit* edit = scene.Add("", 20, 20, 120, 24);
  scene.Settle(edit);
  ASSERT_FALSE(edit->SkinData()->BgChanged);
  const std::vector<uint32_t> empty = CacheOf(edit);

  edit->SetState(csLoading);
  edit->SetText("88");
  EXPECT_FALSE(edit->SkinData()->BgChanged);
  edit->ClearState(csLoading);

  edit->SetText("88");
  edit->SetText("99");
  scene.Settle(edit);
  EXPECT_NE(CacheOf(edit), empty) << "the new text is in the cache";
  const int y = edit->Height() / 2;
  for (int x = 3; x < edit->Width() - 3; x += 5)
    EXPECT_EQ(WindowPixel(edit->Handle(), x, y), CachePixel(edit, x, y)) << x;
}

TEST(EditPaint, RemovedSkinGivesThePlatformLookBack) {
  TEditScene scene(true);
  TsEdit* edit = scene.Add("", 20, 20, 120, 24);
  scene.Settle(edit);
  EXPECT_EQ(edit->SkinData()->SkinIndex, scene.Manifest.Controls.Edit);
  const int w = edit->Width(), h = edit->Height();
  ASSERT_TRUE(Near(WindowPixel(edit->Handle(), w / 2, h / 2), scene.MaskFace(0)));
  scene.Manager->SetActive(false);
  scene.Settle(edit);
  EXPECT_FALSE(edit->SkinData()->Skinned());
  EXPECT_TRUE(Near(WindowPixel(edit->Handle(), w / 2, h / 2),
                   RgbOf(static_cast<TColor>(GetSysColor(COLOR_WINDOW)))))
      << std::hex << WindowPixel(edit->Handle(), w / 2, h / 2);
}

}  // namespace
