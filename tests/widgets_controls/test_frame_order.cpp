// The border band of windowed controls, the order of a container's
// children, and what form descriptions keep of them.
#include <windows.h>

#include "fixture.h"
#include "widgets/controls/extctrls.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/rtl/form_reader.h"

namespace {

using BorderWidth = FormTest;

TEST_F(BorderWidth, ShrinksTheClientAreaOnEverySideWithOrWithoutAWindow) {
  // A container that keeps no room of its own (no caption, no frame).
  auto* box = New<TCustomControl>(Form);
  box->SetBounds(10, 10, 120, 80);
  auto* filler = New<TButton>(Form);
  filler->SetParent(box);
  filler->SetAlign(alClient);
  box->SetParent(Form);
  struct Case {
    int Width;
    int ClientW, ClientH;  // of the 120 x 80 box
  } cases[] = {{0, 120, 80}, {3, 114, 74}, {7, 106, 66}, {70, 0, 0}};
  for (const Case& c : cases) {
    box->SetBorderWidth(c.Width);
    EXPECT_EQ(box->ClientRect(), Rect(0, 0, c.ClientW, c.ClientH)) << c.Width << " no window";
  }
  Form->Show();
  Pump();
  for (const Case& c : cases) {
    box->SetBorderWidth(c.Width);
    // Re-framed at once: the window's own client area and the aligned child.
    RECT client;
    GetClientRect(box->Handle(), &client);
    EXPECT_EQ(TRect(client), Rect(0, 0, c.ClientW, c.ClientH)) << c.Width;
    POINT origin{0, 0};
    MapWindowPoints(box->Handle(), Form->Handle(), &origin, 1);
    RECT window;
    GetWindowRect(box->Handle(), &window);
    MapWindowPoints(nullptr, Form->Handle(), reinterpret_cast<POINT*>(&window), 2);
    EXPECT_EQ(origin.x - window.left, c.Width) << c.Width;
    EXPECT_EQ(origin.y - window.top, c.Width) << c.Width;
    EXPECT_EQ(filler->BoundsRect(), Rect(0, 0, c.ClientW, c.ClientH)) << c.Width;
  }
  box->SetBorderWidth(5);
  box->RecreateWnd();
  Pump();
  RECT client;
  GetClientRect(box->Handle(), &client);
  EXPECT_EQ(TRect(client), Rect(0, 0, 110, 70)) << "kept by a new window";
}

TEST_F(BorderWidth, OfAFormComesInsideItsFrame) {
  const int plainClient = Form->ClientWidth();
  Form->SetBorderWidth(4);
  EXPECT_EQ(Form->ClientWidth(), plainClient - 8) << "no window yet";
  Form->Show();
  Pump();
  EXPECT_EQ(Form->ClientWidth(), plainClient - 8);
  Form->SetClientSize(200, 100);
  EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 200, 100));
}

// Controls(i) is the z-order, graphic children before windowed ones.
TEST_F(FormTest, SetChildOrderRestacksChildrenAndTheirWindows) {
  TButton* b[3];
  for (int i = 0; i < 3; ++i) {
    b[i] = New<TButton>(Form);
    b[i]->SetBounds(10 + 20 * i, 10, 60, 25);
    b[i]->SetParent(Form);
  }
  auto* label = New<TLabel>(Form);
  label->SetParent(Form);
  Form->Show();
  Pump();
  // The label stays first: graphic children keep below the windowed ones.
  struct Case {
    TControl* Child;
    int Order;
    std::vector<TControl*> Expected;
  } cases[] = {
      {b[0], 3, {label, b[1], b[2], b[0]}},  {b[0], 1, {label, b[0], b[1], b[2]}},
      {b[2], 2, {label, b[0], b[2], b[1]}},  {b[1], 99, {label, b[0], b[2], b[1]}},
      {label, 5, {label, b[0], b[2], b[1]}},
  };
  for (const Case& c : cases) {
    Form->SetChildOrder(c.Child, c.Order);
    std::vector<TControl*> now;
    for (int i = 0; i < Form->ControlCount(); ++i) now.push_back(Form->Controls(i));
    EXPECT_EQ(now, c.Expected) << c.Child->Name() << " to " << c.Order;
    // The windows from the top down are the list from its end.
    std::vector<HWND> windows;
    for (HWND w = GetWindow(Form->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      windows.push_back(w);
    std::vector<HWND> expected;
    for (auto it = c.Expected.rbegin(); it != c.Expected.rend(); ++it)
      if (auto* w = dynamic_cast<TWinControl*>(*it)) expected.push_back(w->Handle());
    EXPECT_EQ(windows, expected) << c.Child->Name() << " to " << c.Order;
  }
}

// What the writer lists is what SetChildOrder orders: the form's controls
// first, then its other components.
TEST_F(FormTest, ChildOrderIsWhatADescriptionKeeps) {
  auto* first = New<TButton>(Form);
  first->SetName("First");
  first->SetParent(Form);
  auto* second = New<TButton>(Form);
  second->SetName("Second");
  second->SetParent(Form);
  auto* t1 = New<TTimer>(Form);
  t1->SetName("T1");
  auto* t2 = New<TTimer>(Form);
  t2->SetName("T2");
  Form->SetChildOrder(second, 0);
  Form->SetChildOrder(t2, 2);
  const std::string text = WriteComponentToText(Form);
  const size_t s = text.find("Second: TButton"), f = text.find("First: TButton"),
               a = text.find("T2: TTimer"), z = text.find("T1: TTimer");
  ASSERT_NE(z, std::string::npos) << text;
  EXPECT_LT(s, f) << text;
  EXPECT_LT(f, a) << text;
  EXPECT_LT(a, z) << text;
  EXPECT_LT(t2->ComponentIndex(), t1->ComponentIndex());

  auto* copy = New<TForm>(Application, TCustomForm::TCreateNew{});
  ReadComponentFromText(copy, text.substr(0, text.find('\n') + 1) +
                                  "  BorderWidth = 6\n  DockSite = True\n" +
                                  text.substr(text.find('\n') + 1));
  EXPECT_EQ(copy->Controls(0)->Name(), "Second");
  EXPECT_EQ(copy->BorderWidth(), 6);
  EXPECT_TRUE(copy->DockSite());
  const std::string again = WriteComponentToText(copy);
  EXPECT_LT(again.find("T2: TTimer"), again.find("T1: TTimer")) << again;
  TObject::Free(copy);
}

TEST(ScrollingWinControl, SitsBetweenWindowedControlsAndForms) {
  const TClassInfo& form = TCustomForm::StaticClass();
  EXPECT_EQ(form.Parent(), &TScrollingWinControl::StaticClass());
  EXPECT_EQ(form.Parent()->Parent(), &TWinControl::StaticClass());
  auto* f = New<TForm>(Application, TCustomForm::TCreateNew{});
  EXPECT_FALSE(f->DockSite());
  EXPECT_EQ(f->BorderWidth(), 0);
  EXPECT_EQ(f->PopupMenu(), nullptr);
  TObject::Free(f);
}

}  // namespace
