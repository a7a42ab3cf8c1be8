// Event identity: an event is (object, method), whatever static type of
// pointer bound it, so code can save, compare and restore WindowProc and
// events bound elsewhere (through a base pointer, a derived one, or by name).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture.h"
#include "widgets/controls/stdctrls.h"

namespace {

// A subclassing helper in the way skinning code hooks a control: it keeps
// the previous procedure and gives it back only while its own is on top.
class THookBase {
 public:
  virtual ~THookBase() = default;
  void Install(TControl* c) {
    Control = c;
    Previous = c->WindowProc;
    c->WindowProc = TWndMethod::Of<&THookBase::Hook>(this);
  }
  bool Remove() {
    if (!(Control->WindowProc == TWndMethod::Of<&THookBase::Hook>(this))) return false;
    Control->WindowProc = Previous;
    return true;
  }
  void Hook(TMessage& m) {
    if (m.Msg == WM_USER + 5) Seen.push_back(Name);
    Previous(m);
  }
  std::string Name;
  TControl* Control = nullptr;
  TWndMethod Previous;
  std::vector<std::string> Seen;
};

class THookDerived : public THookBase {};

class TClickTarget : public TForm {
  DECLARE_CLASS(TClickTarget, TForm)
 public:
  TClickTarget() : TForm(Application, TCreateNew{}) {}
  void Click(TObject*) {}
  void OtherClick(TObject*) {}
};

class TClickTargetEx : public TClickTarget {};

}  // namespace

const TClassInfo& TClickTarget::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TClickTarget> b("TClickTarget", &TForm::StaticClass());
    b.Published<TNotifyEvent, &TClickTarget::Click>("Click");
    return b.Done();
  }();
  return info;
}

TEST_F(FormTest, EventsAreTheObjectAndTheMethodWhateverPointerBoundThem) {
  TEdit* edit = New<TEdit>(Form);
  TEdit* other = New<TEdit>(Form);
  THookDerived hook;
  auto* target = New<TClickTargetEx>();
  struct Case {
    const char* Name;
    TMethod A, B;
    bool Equal;
  };
  const Case cases[] = {
      {"window procedure through the control and its base",
       TWndMethod::Of<&TControl::WndProc>(edit).Method(),
       TWndMethod::Of<&TControl::WndProc>(static_cast<TControl*>(edit)).Method(), true},
      {"window procedure through two intermediate classes",
       TWndMethod::Of<&TControl::WndProc>(static_cast<TWinControl*>(edit)).Method(),
       TWndMethod::Of<&TControl::WndProc>(static_cast<TCustomEdit*>(edit)).Method(), true},
      {"hook through its derived class and its base",
       TWndMethod::Of<&THookBase::Hook>(&hook).Method(),
       TWndMethod::Of<&THookBase::Hook>(static_cast<THookBase*>(&hook)).Method(), true},
      {"handler bound in code and by its published name",
       Bind<TNotifyEvent, &TClickTarget::Click>(target).Method(),
       TClickTarget::StaticClass().FindMethod("Click")->Make(target), true},
      {"handler through the derived form and its base",
       Bind<TNotifyEvent, &TClickTarget::Click>(target).Method(),
       Bind<TNotifyEvent, &TClickTarget::Click>(static_cast<TClickTarget*>(target)).Method(), true},
      {"same method, another object", TWndMethod::Of<&TControl::WndProc>(edit).Method(),
       TWndMethod::Of<&TControl::WndProc>(other).Method(), false},
      {"same object, another method", TWndMethod::Of<&TControl::WndProc>(edit).Method(),
       TWndMethod::Of<&TControl::Dispatch>(edit).Method(), false},
      {"same object, another handler", Bind<TNotifyEvent, &TClickTarget::Click>(target).Method(),
       Bind<TNotifyEvent, &TClickTarget::OtherClick>(target).Method(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.A == c.B, c.Equal);
    EXPECT_EQ(TWndMethod::FromMethod(c.A) == TWndMethod::FromMethod(c.B), c.Equal);
  }
  TObject::Free(target);
}

TEST_F(FormTest, WindowProcSavedComparedAndRestoredThroughAnyPointer) {
  TEdit* edit = New<TEdit>(Form);
  edit->SetParent(Form);
  Form->Show();
  // The control's own procedure is recognised through any of its classes.
  const TWndMethod own = TWndMethod::Of<&TControl::WndProc>(static_cast<TWinControl*>(edit));
  ASSERT_TRUE(edit->WindowProc == own);

  THookDerived first, second;
  first.Name = "first";
  second.Name = "second";
  first.Install(edit);
  second.Install(edit);
  SendMessageA(edit->Handle(), WM_USER + 5, 0, 0);
  EXPECT_EQ(second.Seen, std::vector<std::string>{"second"});
  EXPECT_EQ(first.Seen, std::vector<std::string>{"first"}) << "the chain reaches the first hook";
  EXPECT_FALSE(first.Remove()) << "another hook is on top: the first stays in the chain";
  EXPECT_TRUE(second.Remove());
  EXPECT_TRUE(edit->WindowProc == TWndMethod::Of<&THookBase::Hook>(&first));
  EXPECT_TRUE(first.Remove());
  EXPECT_TRUE(edit->WindowProc == own);
  EXPECT_TRUE(edit->WindowProc == TWndMethod::Of<&TControl::WndProc>(edit));
  SendMessageA(edit->Handle(), WM_USER + 5, 0, 0);
  EXPECT_EQ(first.Seen.size() + second.Seen.size(), 2u) << "no hook is called any more";
}
