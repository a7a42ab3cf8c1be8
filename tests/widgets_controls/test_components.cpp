// Ownership: a component joins its owner once it is whole, names are unique
// per owner whatever their case, and freeing goes last to first with every
// notification reaching whole objects (owners, parents, subscribers).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fixture.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/controls/extctrls.h"
#include "widgets/controls/stdctrls.h"

namespace {

using TLog = std::vector<std::string>;

std::string Describe(const char* what, TComponent* c) {
  return std::string(what) + " " + c->ClassName() + " " + c->Name();
}

// An owner that records what it hears, naming each component by the class it
// has at that moment (a half-destroyed object answers with its base class).
class TProbeOwner : public TComponent {
  DECLARE_CLASS(TProbeOwner, TComponent)
 public:
  using TComponent::TComponent;
  TLog* Log = nullptr;
  bool WindowedAtInsert = false;
  bool ListedAtInsert = false;
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opInsert) {
      WindowedAtInsert = dynamic_cast<TWinControl*>(c) != nullptr;
      ListedAtInsert = c->ComponentIndex() >= 0 && c->Owner() == this;
    }
    if (Log) Log->push_back(Describe(op == opInsert ? "insert" : "remove", c));
  }
};

// Records its own freeing and the owner it saw while being constructed.
class TProbeComponent : public TComponent {
  DECLARE_CLASS(TProbeComponent, TComponent)
 public:
  explicit TProbeComponent(TComponent* AOwner) : TComponent(AOwner), OwnerInConstructor(Owner()) {}
  TComponent* OwnerInConstructor;
  TLog* Log = nullptr;
  void BeforeDestruction() override {
    if (Log) Log->push_back("free " + Name());
    TComponent::BeforeDestruction();
  }
};

// A form that records what it hears, as TProbeOwner does.
class TProbeForm : public TForm {
  DECLARE_CLASS(TProbeForm, TForm)
 public:
  TProbeForm() : TForm(Application, TCreateNew{}) {}
  TLog* Log = nullptr;
  void Notification(TComponent* c, TOperation op) override {
    TForm::Notification(c, op);
    if (op == opRemove && Log) Log->push_back(Describe("remove", c));
  }
};

// A component of the form that, hearing of a removal, looks at its owner.
class TSiblingListener : public TComponent {
  DECLARE_CLASS(TSiblingListener, TComponent)
 public:
  using TComponent::TComponent;
  TLog* Log = nullptr;
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op != opRemove || !Log) return;
    auto* form = dynamic_cast<TProbeForm*>(Owner());
    Log->push_back("heard " + c->Name() + (form ? " from a whole form" : " from a broken owner") +
                   (form && form->HasState(csDestroying) ? " being freed" : ""));
  }
};

template <typename T>
constexpr bool kPlainNewCompiles = requires {
  new T(nullptr);
};

}  // namespace

const TClassInfo& TProbeOwner::StaticClass() {
  static const TClassInfo info("TProbeOwner", &TComponent::StaticClass());
  return info;
}
const TClassInfo& TProbeComponent::StaticClass() {
  static const TClassInfo info("TProbeComponent", &TComponent::StaticClass());
  return info;
}
const TClassInfo& TProbeForm::StaticClass() {
  static const TClassInfo info("TProbeForm", &TForm::StaticClass());
  return info;
}
const TClassInfo& TSiblingListener::StaticClass() {
  static const TClassInfo info("TSiblingListener", &TComponent::StaticClass());
  return info;
}

// Plain `new` would skip AfterConstruction, so components cannot be made so.
static_assert(!kPlainNewCompiles<TComponent>);
static_assert(!kPlainNewCompiles<TButton>);
static_assert(!kPlainNewCompiles<TTimer>);

TEST(ComponentLifecycle, TheOwnerHearsOfAComponentOnceItIsWhole) {
  struct Case {
    const char* Made;
    std::function<TComponent*(TComponent*)> Make;
    std::string Heard;
    bool Windowed;
  };
  const Case cases[] = {
      {"New<TTimer>", [](TComponent* o) { return New<TTimer>(o); }, "insert TTimer ", false},
      {"New<TButton>", [](TComponent* o) { return New<TButton>(o); }, "insert TButton ", true},
      {"class factory", [](TComponent* o) { return TButton::StaticClass().Factory()(o); },
       "insert TButton ", true},
      {"New<TProbeComponent>", [](TComponent* o) { return New<TProbeComponent>(o); },
       "insert TProbeComponent ", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Made);
    TLog log;
    TProbeOwner* owner = New<TProbeOwner>(nullptr);
    owner->Log = &log;
    TComponent* made = c.Make(owner);
    EXPECT_EQ(log, TLog{c.Heard});
    EXPECT_EQ(owner->WindowedAtInsert, c.Windowed);
    EXPECT_TRUE(owner->ListedAtInsert) << "already in the list when the owner hears of it";
    EXPECT_EQ(made->Owner(), owner);
    TObject::Free(owner);
  }
  // The owner is known while the constructors run, before the component joins.
  TProbeComponent* p = New<TProbeComponent>(Application);
  EXPECT_EQ(p->OwnerInConstructor, Application);
  TObject::Free(p);
}

TEST(ComponentLifecycle, OwnedComponentsGoLastToFirst) {
  TLog log;
  TComponent* owner = New<TProbeOwner>(nullptr);
  for (const char* name : {"A", "B", "C"}) {
    auto* c = New<TProbeComponent>(owner);
    c->SetName(name);
    c->Log = &log;
  }
  TObject::Free(owner->Components(1));
  ASSERT_EQ(owner->ComponentCount(), 2) << "a component freed directly leaves its owner";
  EXPECT_EQ(owner->Components(1)->Name(), "C");
  New<TProbeComponent>(owner)->SetName("D");
  static_cast<TProbeComponent*>(owner->Components(2))->Log = &log;
  TObject::Free(owner);
  EXPECT_EQ(log, (TLog{"free B", "free D", "free C", "free A"}));
}

TEST(ComponentLifecycle, NamesAreUniquePerOwnerWhateverTheirCase) {
  struct Case {
    const char* First;
    const char* Second;
    bool Rejected;
  };
  const Case cases[] = {
      {"Button1", "button1", true},
      {"Button1", "BUTTON1", true},
      {"a_1", "A_1", true},
      {"Button1", "Button2", false},
      {"", "", false},  // unnamed components may be many
  };
  TComponent* owner = New<TProbeOwner>(nullptr);
  TComponent* other = New<TProbeOwner>(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.First) + " / " + c.Second);
    TComponent* first = New<TProbeComponent>(owner);
    TComponent* second = New<TProbeComponent>(owner);
    TComponent* elsewhere = New<TProbeComponent>(other);
    first->SetName(c.First);
    if (c.Rejected)
      EXPECT_THROW(second->SetName(c.Second), EComponentError);
    else
      EXPECT_NO_THROW(second->SetName(c.Second));
    EXPECT_NO_THROW(elsewhere->SetName(c.Second)) << "another owner's names do not count";
    owner->DestroyComponents();
    other->DestroyComponents();
  }
  TComponent* c = New<TProbeComponent>(owner);
  c->SetName("OkButton");
  EXPECT_NO_THROW(c->SetName("OKBUTTON")) << "a component may change the case of its own name";
  EXPECT_EQ(owner->FindComponent("okbutton"), c);
  EXPECT_EQ(owner->FindComponent("OkButton2"), nullptr);
  EXPECT_EQ(owner->FindComponent(""), nullptr) << "unnamed components are never found";
  for (const char* bad : {"1abc", "a-b", "a b"})
    EXPECT_THROW(c->SetName(bad), EComponentError) << bad;
  TObject::Free(owner);
  TObject::Free(other);
}

TEST(ComponentLifecycle, FreeNotificationsAndRemovalsNameTheWholeComponent) {
  TLog log;
  TProbeOwner* owner = New<TProbeOwner>(nullptr);
  TTimer* owned = New<TTimer>(owner);
  owned->SetName("Owned");
  TTimer* outsider = New<TTimer>(nullptr);
  outsider->SetName("Outsider");
  outsider->FreeNotification(owner);
  owner->Log = &log;
  TObject::Free(owned);
  TObject::Free(outsider);
  EXPECT_EQ(log, (TLog{"remove TTimer Owned", "remove TTimer Outsider"}));
  // An owner freed before what it watches is forgotten by it.
  TTimer* watched = New<TTimer>(nullptr);
  watched->FreeNotification(owner);
  TObject::Free(owner);
  TObject::Free(watched);
}

TEST(ComponentLifecycle, AFreedFormsChildrenReachTheWholeFormLastToFirst) {
  TLog heard, siblings;
  auto* form = New<TProbeForm>();
  form->Log = &heard;
  New<TSiblingListener>(form)->Log = &siblings;
  auto* box = New<TGroupBox>(form);
  box->SetName("Box");
  box->SetParent(form);
  auto* inner = New<TButton>(form);
  inner->SetName("Inner");
  inner->SetParent(box);
  auto* last = New<TEdit>(form);
  last->SetName("Last");
  last->SetParent(form);
  // Owned by nobody but shown on the form, which wants to hear when it goes.
  auto* guest = New<TButton>(nullptr);
  guest->SetName("Guest");
  guest->SetParent(form);
  guest->FreeNotification(form);
  form->Show();
  TObject::Free(form);
  EXPECT_EQ(heard, (TLog{"remove TButton Guest", "remove TEdit Last", "remove TButton Inner",
                         "remove TGroupBox Box"}));
  EXPECT_EQ(siblings, (TLog{"heard Last from a whole form being freed",
                            "heard Inner from a whole form being freed",
                            "heard Box from a whole form being freed"}));
}

TEST_F(FormTest, AChildFreedDirectlyIsWholeWhenItsParentHears) {
  struct TListWatch {
    TWndMethod Old;
    std::vector<std::string> Seen;
    void Hook(TMessage& m) {
      if (m.Msg == CM_CONTROLLISTCHANGE && m.LParam == 0) {
        auto* c = reinterpret_cast<TControl*>(m.WParam);
        Seen.push_back(c->ClassName() + (dynamic_cast<TWinControl*>(c) ? " windowed" : ""));
      }
      Old(m);
    }
  } watch;
  watch.Old = Form->WindowProc;
  Form->WindowProc = TWndMethod::Of<&TListWatch::Hook>(&watch);
  auto* edit = New<TEdit>(Form);
  edit->SetParent(Form);
  auto* label = New<TLabel>(Form);
  label->SetParent(Form);
  Form->Show();
  TObject::Free(edit);
  TObject::Free(label);
  Form->WindowProc = watch.Old;
  EXPECT_EQ(watch.Seen, (std::vector<std::string>{"TEdit windowed", "TLabel"}));
  EXPECT_EQ(Form->ControlCount(), 0);
}
