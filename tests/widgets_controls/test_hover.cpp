// Hover: the deepest control under the cursor gets CM_MOUSEENTER and the
// one before CM_MOUSELEAVE, both with LParam 0; nothing is copied to parents.
#include <gtest/gtest.h>

#include "fixture.h"
#include "widgets/controls/stdctrls.h"

namespace {

struct THoverLog {
  std::vector<std::string>* Log;
  std::string Name;
  TControl* Control;
  TWndMethod Old;
  void Proc(TMessage& m) {
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE)
      Log->push_back(Name + (m.Msg == CM_MOUSEENTER ? " enter" : " leave") +
                     (m.LParam ? " (copy)" : ""));
    Old(m);
  }
  void Attach() {
    Old = Control->WindowProc;
    Control->WindowProc = TWndMethod::Of<&THoverLog::Proc>(this);
  }
  void Detach() { Control->WindowProc = Old; }
};

}  // namespace

TEST_F(FormTest, HoverTracksTheDeepestControlWithoutCopiesToParents) {
  TGroupBox* g = New<TGroupBox>(Form);
  g->SetParent(Form);
  g->SetBounds(10, 10, 300, 200);
  TLabel* l = New<TLabel>(Form);
  l->SetParent(g);
  l->SetAutoSize(false);
  l->SetBounds(20, 30, 60, 20);
  TButton* b = New<TButton>(Form);
  b->SetParent(g);
  b->SetBounds(120, 30, 60, 25);
  SetCursorPos(0, 0);  // off the form, whatever an earlier test left
  Form->Show();
  UpdateMouseControl();

  std::vector<std::string> log;
  THoverLog hg{&log, "group", g, {}}, hl{&log, "label", l, {}}, hb{&log, "button", b, {}};
  hg.Attach();
  hl.Attach();
  hb.Attach();
  auto moveTo = [](TControl* c, int x, int y) {
    TPoint p = c->ClientToScreen(TPoint(x, y));
    SetCursorPos(p.X, p.Y);
    UpdateMouseControl();
  };
  moveTo(g, 250, 150);  // the group itself
  moveTo(l, 5, 5);      // the label inside it
  moveTo(b, 5, 5);      // a windowed child
  moveTo(g, 250, 150);  // back to the group
  hg.Detach();
  hl.Detach();
  hb.Detach();
  EXPECT_EQ(log,
            (std::vector<std::string>{"group enter", "group leave", "label enter", "label leave",
                                      "button enter", "button leave", "group enter"}));
  EXPECT_EQ(MouseControl(), g);

  // A control going away is forgotten.
  TObject::Free(g);
  EXPECT_NE(MouseControl(), static_cast<TControl*>(g));
}
