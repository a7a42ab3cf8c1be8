// What the label tests share: a pump, an edit that carries a bound label as
// the library's edits do (its window procedure passes every message on to
// the bound label), and a form that holds one.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include "skin/controls/label.h"
#include "skin/engine/bound_label.h"
#include "skin/engine/common_data.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"

class TBoundEdit : public TEdit {
  DECLARE_CLASS(TBoundEdit, TEdit)
 public:
  explicit TBoundEdit(TComponent* AOwner)
      : TEdit(AOwner), skin_(new TsCtrlSkinData(this, false)), bound_(new TsBoundLabel(skin_)) {}
  ~TBoundEdit() override {
    TObject::Free(bound_);
    TObject::Free(skin_);
  }
  void WndProc(TMessage& Message) override {
    TEdit::WndProc(Message);
    bound_->HandleOwnerMessage(Message, this);
  }
  TsBoundLabel* BoundLabel() const { return bound_; }

 private:
  TsCommonData* skin_;
  TsBoundLabel* bound_;
};

inline const TClassInfo& TBoundEdit::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TBoundEdit> b("TBoundEdit", &TEdit::StaticClass());
    b.Creatable();
    b.SubObject<&TBoundEdit::BoundLabel>("BoundLabel");
    return b.Done();
  }();
  return info;
}

// Counts how often a watched component announces its end.
class TFreeWatch : public TComponent {
 public:
  TFreeWatch() : TComponent(nullptr) {}
  void Watch(TComponent* C) { C->FreeNotification(this); }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) ++Count;
  }
  int Count = 0;
};

class BoundEditFixture : public testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(40, 40, 420, 300);
    Edit = New<TBoundEdit>(Form);
    Edit->SetName("Edit1");
    Edit->SetBounds(150, 100, 120, 23);
    Edit->SetParent(Form);
    Form->Show();
    PumpMessages();
  }
  void TearDown() override {
    TObject::Free(Form);
    PumpMessages();
  }
  TsBoundLabel* Bound() const { return Edit->BoundLabel(); }
  TCustomLabel* Label() const { return Edit->BoundLabel()->Label(); }

  TForm* Form = nullptr;
  TBoundEdit* Edit = nullptr;
};
