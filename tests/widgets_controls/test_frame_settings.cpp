// The frame settings every windowed control carries (Ctl3D, BevelWidth):
// their defaults, their bounds, a description that sets them together with
// the buttons' window styles.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "fixture.h"
#include "widgets/controls/comctrls.h"
#include "widgets/controls/messages.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/rtl/form_reader.h"

namespace {

// Counts CM_CTL3DCHANGED.
class TCtl3DGroup : public TGroupBox {
  DECLARE_CLASS(TCtl3DGroup, TGroupBox)
 public:
  using TGroupBox::TGroupBox;
  int Changes = 0;
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_CTL3DCHANGED) ++Changes;
    TGroupBox::Dispatch(m);
  }
};

}  // namespace

const TClassInfo& TCtl3DGroup::StaticClass() {
  static const TClassInfo info("TCtl3DGroup", &TGroupBox::StaticClass());
  return info;
}

TEST_F(FormTest, Ctl3DAndBevelWidthStartOnAndAtOneAndBevelWidthStaysAtLeastOne) {
  TWinControl* controls[] = {Form, New<TButton>(Form), New<TGroupBox>(Form), New<TEdit>(Form),
                             New<TToolBar>(Form)};
  for (TWinControl* c : controls) {
    SCOPED_TRACE(c->ClassName());
    EXPECT_TRUE(c->Ctl3D());
    EXPECT_EQ(c->BevelWidth(), 1);
  }
  auto* group = New<TCtl3DGroup>(Form);
  struct Case {
    int Set, Expected;
  } widths[] = {{4, 4}, {0, 1}, {-3, 1}, {1, 1}};
  for (const Case& c : widths) {
    group->SetBevelWidth(c.Set);
    EXPECT_EQ(group->BevelWidth(), c.Expected) << "set " << c.Set;
  }
  group->SetCtl3D(false);
  group->SetCtl3D(false);
  group->SetCtl3D(true);
  EXPECT_EQ(group->Changes, 2) << "told of changes only";
}

TEST_F(FormTest, FrameSettingsAndButtonStylesAreWrittenWhenNotDefaultAndReadBack) {
  ReadComponentFromText(Form, R"(object FrameForm: TForm
  object Group: TGroupBox
    Ctl3D = False
    BevelWidth = 3
    object Link: TButton
      Caption = 'Link'
      Style = bsCommandLink
      WordWrap = True
    end
  end
  object Plain: TButton
    Top = 120
  end
end
)");
  const std::string text = WriteComponentToText(Form);
  for (const char* line :
       {"Ctl3D = False", "BevelWidth = 3", "Style = bsCommandLink", "WordWrap = True"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  // Plain and the form have every default: nothing of these is written for them.
  for (const char* name : {"Ctl3D", "BevelWidth", "Style", "WordWrap"})
    EXPECT_EQ(text.find(name, text.find("Plain: TButton")), std::string::npos) << name;
  EXPECT_EQ(text.find("Ctl3D"), text.rfind("Ctl3D")) << "written once, for the group";

  auto* copy = New<TForm>(Application, TCustomForm::TCreateNew{});
  ReadComponentFromText(copy, text);
  auto* group = dynamic_cast<TGroupBox*>(copy->FindComponent("Group"));
  auto* link = dynamic_cast<TButton*>(copy->FindComponent("Link"));
  auto* plain = dynamic_cast<TButton*>(copy->FindComponent("Plain"));
  ASSERT_TRUE(group && link && plain);
  EXPECT_FALSE(group->Ctl3D());
  EXPECT_EQ(group->BevelWidth(), 3);
  EXPECT_EQ(link->Style(), bsCommandLink);
  EXPECT_TRUE(link->WordWrap());
  EXPECT_EQ(plain->Style(), bsPushButton);
  EXPECT_TRUE(copy->Ctl3D());
  EXPECT_EQ(GetWindowLongA(link->Handle(), GWL_STYLE) & (BS_TYPEMASK | BS_MULTILINE),
            BS_COMMANDLINK | BS_MULTILINE);
  TObject::Free(copy);
}
