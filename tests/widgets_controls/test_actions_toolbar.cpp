// Actions linked to controls (Enabled followed, CM_ACTIONUPDATE, either side
// freed first) and tool bars as holders of what their buttons are drawn
// from (image lists in three roles, button size, styles, descriptions).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture.h"
#include "widgets/controls/actions.h"
#include "widgets/controls/comctrls.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/graphics/img_list.h"
#include "widgets/rtl/form_reader.h"

TEST_F(FormTest, LinkedControlsFollowTheActionsEnabledUntilEitherSideIsFreed) {
  auto* action = New<TCustomAction>(Form);
  auto* a = New<TButton>(Form);
  auto* b = New<TButton>(Form);
  auto* unlinked = New<TButton>(Form);
  for (TButton* c : {a, b, unlinked}) c->SetParent(Form);
  action->SetEnabled(false);
  a->SetAction(action);
  EXPECT_FALSE(a->Enabled()) << "linking takes the action's state at once";
  b->SetAction(action);
  EXPECT_EQ(action->Clients(), (std::vector<TControl*>{a, b}));

  action->SetEnabled(true);
  EXPECT_TRUE(a->Enabled() && b->Enabled());
  action->SetEnabled(false);
  EXPECT_FALSE(a->Enabled() || b->Enabled());
  EXPECT_TRUE(unlinked->Enabled());
  EXPECT_FALSE(IsWindowEnabled(a->Handle())) << "the window follows too";

  b->SetAction(nullptr);
  action->SetEnabled(true);
  EXPECT_TRUE(a->Enabled());
  EXPECT_FALSE(b->Enabled()) << "an unlinked control keeps what it had";

  // CM_ACTIONUPDATE lets the action bring itself up to date.
  struct TUpdater {
    int Calls = 0;
    void Update(TObject* s) {
      ++Calls;
      static_cast<TCustomAction*>(s)->SetEnabled(false);
    }
  } updater;
  EXPECT_EQ(a->Perform(CM_ACTIONUPDATE, 0, reinterpret_cast<LPARAM>(action)), 0)
      << "nothing to run without OnUpdate";
  action->OnUpdate = TNotifyEvent::Of<&TUpdater::Update>(&updater);
  EXPECT_EQ(a->Perform(CM_ACTIONUPDATE, 0, reinterpret_cast<LPARAM>(action)), 1);
  EXPECT_EQ(unlinked->Perform(CM_ACTIONUPDATE), 0);
  EXPECT_EQ(updater.Calls, 1);
  EXPECT_FALSE(a->Enabled());

  TObject::Free(a);
  EXPECT_TRUE(action->Clients().empty()) << "a freed control leaves the action";
  b->SetAction(action);
  TObject::Free(action);
  EXPECT_EQ(b->Action(), nullptr) << "a freed action is forgotten";
}

TEST_F(FormTest, ToolButtonsTakeTheBarsButtonSizeAndTheBarForgetsFreedImageLists) {
  auto* bar = New<TToolBar>(Form);
  bar->SetParent(Form);
  EXPECT_EQ(bar->Align(), alTop);
  auto* loose = New<TToolButton>(Form);
  loose->SetParent(Form);
  EXPECT_EQ(loose->ToolBar(), nullptr);
  std::vector<TToolButton*> buttons;
  for (int i = 0; i < 3; ++i) {
    auto* b = New<TToolButton>(Form);
    b->SetParent(bar);
    b->SetLeft(i * 30);
    buttons.push_back(b);
  }
  bar->SetButtonWidth(30);
  bar->SetButtonHeight(26);
  ASSERT_EQ(bar->ButtonCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(bar->Buttons(i), buttons[i]);
    EXPECT_EQ(buttons[i]->BoundsRect(), Bounds(i * 30, buttons[i]->Top(), 30, 26));
    EXPECT_EQ(buttons[i]->ToolBar(), bar);
  }
  loose->SetParent(bar);
  EXPECT_EQ(loose->BoundsRect().Width(), 30) << "joins at the bar's size";
  EXPECT_EQ(bar->Buttons(3), loose);

  // One list in two roles stays known to the bar while it serves in either.
  auto* shared = New<TImageList>(Form);
  auto* hot = New<TImageList>(Form);
  bar->SetImages(shared);
  bar->SetDisabledImages(shared);
  bar->SetHotImages(hot);
  bar->SetImages(hot);
  TObject::Free(shared);
  EXPECT_EQ(bar->DisabledImages(), nullptr);
  EXPECT_EQ(bar->Images(), hot);
  TObject::Free(hot);
  EXPECT_EQ(bar->Images(), nullptr);
  EXPECT_EQ(bar->HotImages(), nullptr);
}

TEST_F(FormTest, AToolBarDescriptionNamesItsListsAndButtonStylesAndReadsBack) {
  ReadComponentFromText(Form, R"(object BarForm: TForm
  object Icons: TImageList
  end
  object Grey: TImageList
  end
  object Bar: TToolBar
    Images = Icons
    DisabledImages = Grey
    ButtonWidth = 40
    List = True
    ShowCaptions = True
    object Open: TToolButton
      ImageIndex = 2
      Style = tbsDropDown
    end
    object Gap: TToolButton
      Left = 40
      Style = tbsSeparator
    end
  end
end
)");
  const std::string text = WriteComponentToText(Form);
  EXPECT_EQ(text.find("ButtonHeight"), std::string::npos) << "a default is not written";
  auto* copy = New<TForm>(Application, TCustomForm::TCreateNew{});
  ReadComponentFromText(copy, text);
  for (TComponent* root : {static_cast<TComponent*>(Form), static_cast<TComponent*>(copy)}) {
    SCOPED_TRACE(root == Form ? "read" : "read back");
    auto* bar = dynamic_cast<TToolBar*>(root->FindComponent("Bar"));
    auto* open = dynamic_cast<TToolButton*>(root->FindComponent("Open"));
    auto* gap = dynamic_cast<TToolButton*>(root->FindComponent("Gap"));
    ASSERT_TRUE(bar && open && gap) << text;
    EXPECT_EQ(bar->Images(), root->FindComponent("Icons"));
    EXPECT_EQ(bar->DisabledImages(), root->FindComponent("Grey"));
    EXPECT_EQ(bar->HotImages(), nullptr);
    EXPECT_TRUE(bar->List() && bar->ShowCaptions());
    EXPECT_EQ(bar->ButtonHeight(), 22);
    EXPECT_EQ(open->Style(), tbsDropDown);
    EXPECT_EQ(open->ImageIndex(), 2);
    EXPECT_EQ(gap->Style(), tbsSeparator);
    EXPECT_EQ(gap->ImageIndex(), -1);
    EXPECT_EQ(open->Width(), 40);
    EXPECT_EQ(open->ToolBar(), bar);
  }
  TObject::Free(copy);
}
