// Tobrin's form as its description makes it, in this process: every
// component with its stored properties and handlers, and what FormCreate sets.
#include <gtest/gtest.h>

#include <string>

#include "soundbank_test/tobrin_form.h"
#include "test_support.h"

namespace {

class TobrinFormTest : public testing::Test {
 protected:
  void SetUp() override { form_ = New<TForm1>(Application); }
  void TearDown() override {
    TObject::Free(form_);
    Pump();
  }
  TForm1* form_ = nullptr;
};

TEST_F(TobrinFormTest, DescriptionGivesEveryControlItsPlaceCaptionAndTabOrder) {
  struct Case {
    const char* name;
    const char* cls;
    const char* parent;
    TRect bounds;
    const char* caption;
    int tabOrder;  // -1: not checked
  } cases[] = {
      {"sGroupBoxEQ", "TsGroupBox", "sTabSheet1", Bounds(3, 3, 174, 158), "Test", 0},
      {"BtnSndBnk1Test", "TBitBtn", "sGroupBoxEQ", Bounds(32, 32, 113, 25), "Snd Bank1 Test", 0},
      {"BtnSndBnk2Test", "TBitBtn", "sGroupBoxEQ", Bounds(32, 96, 113, 25), "Snd Bank2 Test", 1},
      {"sGroupBox5", "TsGroupBox", "sTabSheet1", Bounds(183, 3, 170, 158), "Output Device", 1},
      {"Refresh", "TBitBtn", "sTabSheet1", Bounds(232, 167, 75, 25), "Refresh", 2},
  };
  for (const Case& c : cases) {
    auto* control = dynamic_cast<TWinControl*>(form_->FindComponent(c.name));
    ASSERT_TRUE(control) << c.name;
    EXPECT_EQ(control->ClassName(), c.cls) << c.name;
    ASSERT_TRUE(control->Parent()) << c.name;
    EXPECT_EQ(control->Parent()->Name(), c.parent) << c.name;
    EXPECT_EQ(control->BoundsRect(), c.bounds) << c.name;
    EXPECT_EQ(control->Caption(), c.caption) << c.name;
    if (c.tabOrder >= 0) {
      EXPECT_EQ(control->TabOrder(), c.tabOrder) << c.name;
    }
  }
  EXPECT_EQ(form_->sPageControl1->Align(), alClient);
  EXPECT_EQ(form_->sPageControl1->ActivePage(), form_->sTabSheet1);
  EXPECT_EQ(form_->sTabSheet1->Caption(), "Controls");
}

TEST_F(TobrinFormTest, FormAndListBoxPropertiesAndHandlers) {
  EXPECT_EQ(form_->Caption(), "Mirvale Sound Banks test checksum");
  EXPECT_EQ(form_->ClientWidth(), 381);
  EXPECT_EQ(form_->ClientHeight(), 248);
  EXPECT_EQ(form_->BorderStyle(), bsToolWindow);
  EXPECT_EQ(form_->Color(), clBtnFace);
  EXPECT_EQ(form_->Font()->Name(), "Tahoma");
  EXPECT_EQ(form_->Font()->Height(), -11);

  TsListBox* ports = form_->sListBoxPorts;
  EXPECT_EQ(ports->Parent(), form_->sGroupBox5);
  EXPECT_EQ(ports->Align(), alClient);
  // The group box's client area leaves the list where the description put it.
  EXPECT_EQ(ports->BoundsRect(), Bounds(2, 15, 166, 141));
  EXPECT_EQ(ports->ItemHeight(), 16);
  EXPECT_FALSE(ports->ParentFont());
  EXPECT_EQ(ports->Font()->Name(), "Tahoma");
  EXPECT_EQ(ports->Font()->Height(), -11);
  EXPECT_EQ(ports->Style(), lbStandard);
  EXPECT_TRUE(ports->AutoHideScroll());

  struct Bound {
    TNotifyEvent event;
    TNotifyEvent expected;
  } bound[] = {
      {form_->OnCreate, TNotifyEvent::Of<&TForm1::FormCreate>(form_)},
      {form_->OnShow, TNotifyEvent::Of<&TForm1::FormShow>(form_)},
      {form_->OnDestroy, TNotifyEvent::Of<&TForm1::FormDestroy>(form_)},
      {ports->OnClick, TNotifyEvent::Of<&TForm1::sListBoxPortsClick>(form_)},
      {form_->BtnSndBnk1Test->OnClick, TNotifyEvent::Of<&TForm1::BtnSndBnk1TestClick>(form_)},
      {form_->BtnSndBnk2Test->OnClick, TNotifyEvent::Of<&TForm1::BtnSndBnk2TestClick>(form_)},
      {form_->Refresh->OnClick, TNotifyEvent::Of<&TForm1::RefreshClick>(form_)},
  };
  for (size_t i = 0; i < std::size(bound); ++i)
    EXPECT_TRUE(bound[i].event == bound[i].expected) << "handler " << i;
}

TEST_F(TobrinFormTest, FormCreateSetsKeyPreviewAndTheRequestTail) {
  EXPECT_TRUE(form_->KeyPreview());
  EXPECT_EQ(RequestTail, std::string("\x7F\x00\x01\xF7", 4));
}

TEST_F(TobrinFormTest, SkinManagerIsTheInactiveDefaultManager) {
  ASSERT_TRUE(form_->sSkinManager1);
  EXPECT_EQ(DefaultManager, form_->sSkinManager1);
  EXPECT_FALSE(form_->sSkinManager1->Active());
  EXPECT_EQ(form_->sSkinManager1->SkinName(), "Aluminium");
  EXPECT_EQ(form_->sListBoxPorts->Color(), clWindow);  // unskinned
}

}  // namespace
