// A combo box read from a form description, as the panel's lists are.
#include "combo_fixture.h"
#include "skin/controls/controls_unit.h"
#include "skin/engine/bound_label.h"
#include "widgets/rtl/form_reader.h"

namespace {

TEST(ComboDescription, ReaderSetsTheListAndItsOwnProperties) {
  TForm* root = New<TForm>(Application, TCustomForm::TCreateNew{});
  ReadComponentFromText(root,
                        "object Root: TForm\n"
                        "  Left = 800\n"
                        "  Top = 500\n"
                        "  object sComboBoxReverb: TsComboBox\n"
                        "    Left = 56\n"
                        "    Top = 24\n"
                        "    Width = 113\n"
                        "    Height = 21\n"
                        "    Alignment = taCenter\n"
                        "    VerticalAlignment = taVerticalCenter\n"
                        "    ReadOnly = True\n"
                        "    AllowMouseWheel = False\n"
                        "    DisabledKind = [dkBlended, dkGrayed]\n"
                        "    SkinData.SkinSection = 'COMBOBOX'\n"
                        "    DropDownCount = 5\n"
                        "    Style = csDropDownList\n"
                        "    ItemHeight = 13\n"
                        "    TabOrder = 0\n"
                        "    Items.Strings = (\n"
                        "      'Room1'\n"
                        "      'Room2'\n"
                        "      'Hall1'\n"
                        "      'Hall2'\n"
                        "      'Plate')\n"
                        "    ItemIndex = 4\n"
                        "  end\n"
                        "end\n");
  auto* c = dynamic_cast<TsComboBox*>(root->FindComponent("sComboBoxReverb"));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Alignment(), taCenter);
  EXPECT_EQ(c->VerticalAlignment(), taVerticalCenter);
  EXPECT_TRUE(c->ReadOnly());
  EXPECT_FALSE(c->AllowMouseWheel());
  EXPECT_EQ(c->DisabledKind(), dkBlended | dkGrayed);
  EXPECT_EQ(c->SkinData()->SkinSection, "COMBOBOX");
  EXPECT_EQ(c->DropDownCount(), 5);
  EXPECT_EQ(c->Style(), csDropDownList);
  EXPECT_EQ(c->Items()->Count(), 5);
  root->Show();
  PumpMessages();
  EXPECT_EQ(c->ItemIndex(), 4);
  EXPECT_EQ(c->Text(), "Plate");
  // Unskinned the platform draws the list.
  EXPECT_EQ(GetWindowLongPtrA(c->Handle(), GWL_STYLE) & CBS_OWNERDRAWFIXED, 0);
  TObject::Free(root);
  PumpMessages();
}

// The caption label the description asks for stands left of the list and
// follows what the list passes on; freeing either first is safe.
TEST(ComboDescription, BoundLabelFollowsTheList) {
  for (const bool comboFirst : {true, false}) {
    SCOPED_TRACE(comboFirst);
    TForm* root = New<TForm>(Application, TCustomForm::TCreateNew{});
    ReadComponentFromText(root,
                          "object Root: TForm\n"
                          "  Left = 800\n"
                          "  Top = 500\n"
                          "  Width = 400\n"
                          "  Height = 200\n"
                          "  object Ports: TsComboBox\n"
                          "    Left = 150\n"
                          "    Top = 40\n"
                          "    Width = 180\n"
                          "    Height = 21\n"
                          "    BoundLabel.Active = True\n"
                          "    BoundLabel.Caption = 'MIDI port'\n"
                          "    Style = csDropDownList\n"
                          "  end\n"
                          "end\n");
    auto* c = dynamic_cast<TsComboBox*>(root->FindComponent("Ports"));
    ASSERT_TRUE(c);
    root->Show();
    PumpMessages();
    TCustomLabel* label = c->BoundLabel()->Label();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->Caption(), "MIDI port");
    EXPECT_LE(label->Left() + label->Width(), c->Left());
    c->SetBounds(200, 60, 150, 21);
    EXPECT_LE(label->Left() + label->Width(), 200);
    EXPECT_GT(label->Left() + label->Width(), 180);
    c->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    c->Hide();
    EXPECT_FALSE(label->Visible());
    if (comboFirst) TObject::Free(c);
    TObject::Free(root);
    PumpMessages();
  }
}

TEST(ComboDescription, NewComboHasTheLibrarysDefaults) {
  TComboScene s;
  EXPECT_EQ(s.Combo->DropDownCount(), 16);
  EXPECT_TRUE(s.Combo->AllowMouseWheel());
  EXPECT_TRUE(s.Combo->ShowButton());
  EXPECT_TRUE(s.Combo->StdDropDown());
  EXPECT_FALSE(s.Combo->ReadOnly());
  EXPECT_EQ(s.Combo->DisabledKind(), dkBlended);
  EXPECT_EQ(s.Combo->SkinData()->ControlKind, 13);
}

}  // namespace
