// A form description makes a skinned edit with the panel's value-box
// properties.
#include "edit_scene.h"
#include "widgets/rtl/form_reader.h"

namespace {

TEST(EditDescription, ValueBoxReadsFromAFormDescription) {
  TEditScene scene(true);
  ReadComponentFromText(scene.Form,
                        "object Root: TForm\n"
                        "  object sEditReverb: TsEdit\n"
                        "    Left = 12\n"
                        "    Top = 30\n"
                        "    Width = 39\n"
                        "    Height = 21\n"
                        "    BiDiMode = bdRightToLeft\n"
                        "    ParentBiDiMode = False\n"
                        "    ReadOnly = True\n"
                        "    TabOrder = 1\n"
                        "    Text = '64'\n"
                        "    DisabledKind = []\n"
                        "  end\n"
                        "end\n");
  auto* e = dynamic_cast<TsEdit*>(scene.Form->FindComponent("sEditReverb"));
  ASSERT_TRUE(e);
  EXPECT_EQ(e->BoundsRect(), TRect(12, 30, 51, 51));
  EXPECT_EQ(e->BiDiMode(), bdRightToLeft);
  EXPECT_TRUE(e->ReadOnly());
  EXPECT_EQ(e->Text(), "64");
  EXPECT_EQ(e->DisabledKind(), 0);
  EXPECT_FALSE(e->HasState(csLoading));
  // The skin was there before the edit: it takes its section on loading.
  EXPECT_TRUE(e->SkinData()->Skinned());
}

TEST(EditDescription, BoundLabelFollowsTheSkinnedEdit) {
  TEditScene scene(true);
  ReadComponentFromText(scene.Form,
                        "object Root: TForm\n"
                        "  object sEditLevel: TsEdit\n"
                        "    Left = 120\n"
                        "    Top = 40\n"
                        "    Width = 50\n"
                        "    Height = 21\n"
                        "    Text = '5'\n"
                        "    BoundLabel.Active = True\n"
                        "    BoundLabel.Caption = 'Level'\n"
                        "  end\n"
                        "end\n");
  auto* e = dynamic_cast<TsEdit*>(scene.Form->FindComponent("sEditLevel"));
  ASSERT_TRUE(e);
  ASSERT_TRUE(e->SkinData()->Skinned());
  TCustomLabel* l = e->BoundLabel()->Label();
  ASSERT_TRUE(l);
  EXPECT_EQ(l->Name(), "sEditLevelLabel");
  EXPECT_EQ(l->Caption(), "Level");
  EXPECT_EQ(l->Left() + l->Width() + 4, e->Left());
  // What the skinned edit passes on reaches the label.
  e->SetBounds(140, 60, 50, 21);
  PumpMessages();
  EXPECT_EQ(l->Left() + l->Width() + 4, 140);
  e->SetEnabled(false);
  EXPECT_FALSE(l->Enabled());
  e->SetVisible(false);
  EXPECT_FALSE(l->Visible());
}

}  // namespace
