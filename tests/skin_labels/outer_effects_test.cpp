// A control's outer effect: the shadow it paints into its group box's cache
// around itself, chosen by the skin's OUTERMODE, never stacked by repeated
// repaints of an unchanged cache.
#include <functional>

#include "skin/controls/group_box.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/outer_effects.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "skinned_scene.h"

namespace {

// A plain edit with a skin state of section EDIT that answers the skin
// commands as the library's controls do.
class TShadowEdit : public TEdit {
 public:
  explicit TShadowEdit(TComponent* AOwner) : TEdit(AOwner), Data(new TsCommonData(this, false)) {
    Data->ControlKind = 3;
    Data->SetSkinSection("EDIT");
  }
  ~TShadowEdit() override { TObject::Free(Data); }
  void WndProc(TMessage& m) override {
    if (m.Msg == SkinCommandMessage) {
      HandleSkinCommand(m, Data);
      return;
    }
    TEdit::WndProc(m);
  }
  TsCommonData* Data;
};

class TShadowScene : public TSkinnedScene {
 public:
  explicit TShadowScene(const std::string& Variant) : TSkinnedScene(Variant) {
    Box = New<TsGroupBox>(Form);
    Box->SetBounds(10, 10, 300, 220);
    Box->SetParent(Form);
    Edit = New<TShadowEdit>(Form);
    Edit->SetBounds(60, 70, 120, 24);
    Edit->SetParent(Box);
    Start();
    Manager->Effects()->SetAllowOuterEffects(true);
    PumpMessages();
  }
  // The group box's cache rebuilt now, as 0xRRGGBB pixels.
  std::vector<uint32_t> Cache() {
    EXPECT_TRUE(Box->PrepareCache());
    return Pixels();
  }
  std::vector<uint32_t> Pixels() const {
    const PixelView v = ArgbView(Box->SkinData()->CacheBitmap);
    std::vector<uint32_t> p;
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x) p.push_back(v.At(x, y) & 0xFFFFFF);
    return p;
  }
  TsGeneralData& EditSection() {
    return Manager->Sections[static_cast<size_t>(Edit->Data->SkinIndex)];
  }
  TsGroupBox* Box = nullptr;
  TShadowEdit* Edit = nullptr;
};

// Pixels that differ, split into those in a ring of Ring pixels around the
// edit and those farther away; under the edit nothing shows, so nothing
// there counts.
struct Diff {
  int Ring = 0, Far = 0;
};
Diff Compare(const std::vector<uint32_t>& A, const std::vector<uint32_t>& B, int Width,
             const TRect& Edit, int Ring) {
  Diff d;
  const TRect around(Edit.Left - Ring, Edit.Top - Ring, Edit.Right + Ring, Edit.Bottom + Ring);
  for (size_t i = 0; i < A.size(); ++i) {
    if (Near(A[i], B[i], 2)) continue;
    const int x = static_cast<int>(i) % Width, y = static_cast<int>(i) / Width;
    if (x >= Edit.Left && x < Edit.Right && y >= Edit.Top && y < Edit.Bottom) continue;
    const bool inRing =
        x >= around.Left && x < around.Right && y >= around.Top && y < around.Bottom;
    (inRing ? d.Ring : d.Far) += 1;
  }
  return d;
}

struct ShadowCase {
  const char* Name;
  const char* Variant;
  std::function<void(TsGeneralData&)> Section;
  bool Visible;
  bool Shadow;
};

TEST(OuterEffectsTest, ShadowAroundTheControlByOuterMode) {
  const auto keep = [](TsGeneralData&) {};
  const auto mode = [](int m) { return [m](TsGeneralData& s) { s.OuterMode = m; }; };
  const auto maskAround = [](int m) {
    return [m](TsGeneralData& s) {
      s.OuterMode = m;
      s.OuterOffsets = {4, 4, 4, 4};
    };
  };
  const ShadowCase cases[] = {
      {"the list's shadow", test_skin::kSoundVariant, keep, true, true},
      {"the list's outline", test_skin::kSoundVariant, mode(1), true, true},
      {"switched off", test_skin::kSoundVariant, keep, false, false},
      {"mode 0", test_skin::kSoundVariant, mode(0), true, false},
      {"mode 3", test_skin::kSoundVariant, mode(3), true, false},
      {"mode past any list", test_skin::kSoundVariant, mode(2147483647), true, false},
      {"own mask", "edit-outer-mask", maskAround(1), true, true},
      {"own mask, mode 3", "edit-outer-mask", maskAround(3), true, false},
  };
  for (const ShadowCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TShadowScene s(c.Variant);
    ASSERT_GE(s.Edit->Data->SkinIndex, 0);
    c.Section(s.EditSection());
    const std::vector<uint32_t> plain = s.Cache();
    s.Edit->Data->OuterEffects->SetVisibility(c.Visible ? ovAlways : ovNone);
    const std::vector<uint32_t> shadowed = s.Cache();
    ASSERT_EQ(plain.size(), shadowed.size());
    const Diff d = Compare(plain, shadowed, s.Box->Width(), s.Edit->BoundsRect(), 8);
    EXPECT_EQ(d.Far, 0);
    if (c.Shadow)
      EXPECT_GT(d.Ring, 20);
    else
      EXPECT_EQ(d.Ring, 0);
  }
}

TEST(OuterEffectsTest, RepaintsOverTheSavedBackgroundDoNotStack) {
  TShadowScene s(test_skin::kSoundVariant);
  ASSERT_GE(s.Edit->Data->SkinIndex, 0);
  s.Edit->Data->OuterEffects->SetVisibility(ovAlways);
  const std::vector<uint32_t> once = s.Cache();
  BackgroundRequest r;
  r.Bitmap = s.Box->SkinData()->CacheBitmap;
  r.Kind = bgBitmap;
  const auto repaint = [&](uint16_t Flags) {
    s.Edit->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdPaintOuterEffect, Flags),
                    reinterpret_cast<LPARAM>(&r));
  };
  for (int i = 0; i < 3; ++i) repaint(OuterEffectOverSaved);
  const Diff same = Compare(once, s.Pixels(), s.Box->Width(), s.Edit->BoundsRect(), 8);
  EXPECT_EQ(same.Ring + same.Far, 0);
  // Without the flag the cache is taken as fresh: the shadow goes over the
  // last one, which is what the flag is there to avoid.
  repaint(0);
  const Diff stacked = Compare(once, s.Pixels(), s.Box->Width(), s.Edit->BoundsRect(), 8);
  EXPECT_GT(stacked.Ring, 20);
  EXPECT_EQ(stacked.Far, 0);
}

}  // namespace

namespace {

// Switching the effect repaints the parent that shows it, but not while the
// control is still being loaded.
TEST(OuterEffectsTest, SwitchingRepaintsTheParentUnlessLoading) {
  for (const bool loading : {false, true}) {
    SCOPED_TRACE(loading);
    TShadowScene s(test_skin::kSoundVariant);
    PumpMessages();
    ValidateRect(s.Box->Handle(), nullptr);
    if (loading) s.Edit->SetState(csLoading);
    s.Edit->Data->OuterEffects->SetVisibility(ovAlways);
    EXPECT_EQ(GetUpdateRect(s.Box->Handle(), nullptr, FALSE) != FALSE, !loading);
    if (loading) s.Edit->ClearState(csLoading);
    EXPECT_EQ(s.Edit->Data->OuterEffects->Visibility(), ovAlways);
  }
}

}  // namespace
