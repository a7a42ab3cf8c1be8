// The message pipeline: binding before WM_NCCREATE, replaceable WindowProc,
// Perform without a window, the saved class procedure, child identifiers at
// WM_PARENTNOTIFY, detaching from a window the system destroyed, exceptions
// stopped at the window procedure, and subclassing of foreign windows.
#include <gtest/gtest.h>

#include <stdexcept>

#include "fixture.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/controls/extctrls.h"
#include "widgets/rtl/reflection.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/controls/window_procs.h"

namespace {

// Records what reaches a control's WindowProc, with the state seen then.
struct TRecorder {
  TWinControl* Control = nullptr;
  TWndMethod Old;
  std::vector<UINT> Msgs;
  bool HandleAtNcCreate = false;
  LONG_PTR IdAtNcCreate = 0;
  void Attach(TWinControl* c) {
    Control = c;
    Old = c->WindowProc;
    c->WindowProc = TWndMethod::Of<&TRecorder::Hook>(this);
  }
  void Hook(TMessage& m) {
    Msgs.push_back(m.Msg);
    if (m.Msg == WM_NCCREATE) {
      HandleAtNcCreate = Control->HandleAllocated();
      IdAtNcCreate = GetWindowLongPtrA(Control->Handle(), GWLP_ID);
    }
    Old(m);
  }
  bool Saw(UINT msg) const { return std::find(Msgs.begin(), Msgs.end(), msg) != Msgs.end(); }
};

}  // namespace

TEST_F(FormTest, WindowProcReplacedBeforeTheWindowSeesNcCreateAndCreate) {
  TEdit* edit = New<TEdit>(Form);
  edit->SetParent(Form);
  TRecorder rec;
  rec.Attach(edit);
  ASSERT_FALSE(edit->HandleAllocated()) << "constructors make no window";
  HWND h = edit->Handle();
  ASSERT_TRUE(rec.Saw(WM_NCCREATE));
  ASSERT_TRUE(rec.Saw(WM_CREATE));
  EXPECT_LT(std::find(rec.Msgs.begin(), rec.Msgs.end(), WM_NCCREATE) - rec.Msgs.begin(),
            std::find(rec.Msgs.begin(), rec.Msgs.end(), WM_CREATE) - rec.Msgs.begin());
  EXPECT_TRUE(rec.HandleAtNcCreate);
  EXPECT_EQ(rec.IdAtNcCreate, reinterpret_cast<LONG_PTR>(h)) << "the identifier is set by then";
  // The replaced procedure is restored by value: events compare equal.
  TWndMethod mine = edit->WindowProc;
  EXPECT_TRUE(mine == TWndMethod::Of<&TRecorder::Hook>(&rec));
  edit->WindowProc = rec.Old;
  EXPECT_TRUE(edit->WindowProc == TWndMethod::Of<&TControl::WndProc>(static_cast<TControl*>(edit)));
  EXPECT_FALSE(edit->WindowProc == mine);
}

TEST_F(FormTest, ChildIdentifierIsTheHandleWhenTheParentHearsOfIt) {
  Form->HandleNeeded();
  struct ParentNotify {
    TWndMethod Old;
    std::vector<std::pair<LPARAM, int>> Seen;  // child, its GetDlgCtrlID
    void Hook(TMessage& m) {
      if (m.Msg == WM_PARENTNOTIFY && LOWORD(m.WParam) == WM_CREATE) {
        HWND child = reinterpret_cast<HWND>(m.LParam);
        Seen.push_back({m.LParam, GetDlgCtrlID(child)});
      }
      Old(m);
    }
  } pn;
  pn.Old = Form->WindowProc;
  Form->WindowProc = TWndMethod::Of<&ParentNotify::Hook>(&pn);
  TButton* b = New<TButton>(Form);
  b->SetParent(Form);
  HWND h = b->Handle();
  Form->WindowProc = pn.Old;
  ASSERT_EQ(pn.Seen.size(), 1u);
  EXPECT_EQ(pn.Seen[0].first, reinterpret_cast<LPARAM>(h));
  EXPECT_EQ(pn.Seen[0].second, static_cast<int>(reinterpret_cast<intptr_t>(h)));
}

TEST_F(FormTest, PerformWorksWithoutAWindowAndForGraphicControls) {
  TButton* b = New<TButton>(Form);
  b->SetParent(Form);
  b->SetCaption("Text kept");
  EXPECT_EQ(b->Caption(), "Text kept");
  EXPECT_FALSE(b->HandleAllocated()) << "text lives in the object without a window";
  EXPECT_EQ(b->Perform(WM_GETTEXTLENGTH), 9);
  // Once made, the window carries it; a new window gets it back.
  HWND h = b->Handle();
  char buf[32] = {};
  GetWindowTextA(h, buf, sizeof buf);
  EXPECT_STREQ(buf, "Text kept");
  SetWindowTextA(h, "Changed");
  b->RecreateWnd();
  EXPECT_EQ(b->Caption(), "Changed");

  TLabel* l = New<TLabel>(Form);
  l->SetParent(Form);
  struct Answer {
    TWndMethod Old;
    void Hook(TMessage& m) {
      if (m.Msg == WM_USER + 5) {
        m.Result = static_cast<LRESULT>(m.WParam + m.LParam);
        m.LParam = 99;  // writes reach the caller's message
        return;
      }
      Old(m);
    }
  } a;
  a.Old = l->WindowProc;
  l->WindowProc = TWndMethod::Of<&Answer::Hook>(&a);
  EXPECT_EQ(l->Perform(WM_USER + 5, 2, 3), 5);
  TMessage m{WM_USER + 5, 1, 1, 0};
  l->WindowProc(m);
  EXPECT_EQ(m.LParam, 99);
  l->WindowProc = a.Old;
}

TEST_F(FormTest, UnhandledMessagesReachTheSavedClassProcedure) {
  TEdit* e = New<TEdit>(Form);
  e->SetParent(Form);
  e->HandleNeeded();
  // Only the system edit procedure answers these.
  EXPECT_NE(e->Perform(WM_GETDLGCODE) & DLGC_HASSETSEL, 0);
  e->SetText("abcdef");
  e->Perform(EM_SETSEL, 1, 3);
  DWORD from = 0, to = 0;
  e->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 1u);
  EXPECT_EQ(to, 3u);
  // A private message nobody handles answers 0.
  EXPECT_EQ(e->Perform(WM_APP + 3, 1, 1), 0);
}

TEST_F(FormTest, WindowDestroyedByTheSystemDetachesFromItsObject) {
  TEdit* e = New<TEdit>(Form);
  e->SetParent(Form);
  Form->Show();
  HWND h = e->Handle();
  ASSERT_EQ(FindControl(h), e);
  DestroyWindow(h);
  EXPECT_FALSE(e->HandleAllocated());
  EXPECT_EQ(FindControl(h), nullptr);
  EXPECT_FALSE(e->Showing());
  // The object goes on and can make a new window.
  EXPECT_NE(e->Handle(), nullptr);
}

TEST_F(FormTest, ExceptionsInHandlersAreReportedAndGoNoFurther) {
  TBoxRecorder boxes;
  TButton* b = New<TButton>(Form);
  b->SetParent(Form);
  Form->Show();
  struct Thrower {
    bool Abort = false;
    void Click(TObject*) {
      if (Abort) throw EAbort("silent");
      throw Exception("Port is gone");
    }
  } t;
  b->OnClick = TNotifyEvent::Of<&Thrower::Click>(&t);
  SendMessageA(b->Handle(), BM_CLICK, 0, 0);  // BN_CLICKED, reflected, OnClick throws
  ASSERT_EQ(boxes.Boxes.size(), 1u);
  EXPECT_EQ(boxes.Boxes[0].Kind, TMessageBoxKind::Exception);
  EXPECT_EQ(boxes.Boxes[0].Text, "Port is gone.");
  EXPECT_EQ(boxes.Boxes[0].Style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  t.Abort = true;
  SendMessageA(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(boxes.Boxes.size(), 1u) << "EAbort is silent";

  // A timer's tick and a utility window's method are guarded too.
  TTimer* timer = New<TTimer>(Form);
  timer->SetInterval(5);
  t.Abort = false;
  timer->SetOnTimer(TNotifyEvent::Of<&Thrower::Click>(&t));
  ASSERT_TRUE(PumpUntil([&] { return boxes.Boxes.size() >= 2; }));
  timer->SetEnabled(false);
  // One pass of the queue may take more than one tick when the machine is
  // busy: every tick that ran reported its own box.
  for (size_t i = 1; i < boxes.Boxes.size(); ++i) EXPECT_EQ(boxes.Boxes[i].Text, "Port is gone.");
  const size_t shown = boxes.Boxes.size();

  // OnException replaces the box.
  struct Handler {
    std::string Seen;
    void OnException(TObject*, const std::exception& e) { Seen = e.what(); }
  } h;
  Application->OnException = TExceptionEvent::Of<&Handler::OnException>(&h);
  SendMessageA(b->Handle(), BM_CLICK, 0, 0);
  Application->OnException = nullptr;
  EXPECT_EQ(h.Seen, "Port is gone");
  EXPECT_EQ(boxes.Boxes.size(), shown) << "the handler took the place of the box";
}

namespace {

LRESULT CALLBACK ForeignProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 1) return 1000 + static_cast<LRESULT>(w);
  return DefWindowProcW(h, msg, w, l);
}

LRESULT CALLBACK OnTopProc(HWND h, UINT msg, WPARAM w, LPARAM l);
WNDPROC onTopPrevious = nullptr;
LRESULT CALLBACK OnTopProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 2) return 7;
  return CallWindowProcW(onTopPrevious, h, msg, w, l);
}

struct TSubclasser {
  TObjectInstance* Instance = nullptr;
  int Seen = 0;
  void Proc(TMessage& m) {
    if (m.Msg == WM_USER + 1) ++Seen;
    Instance->CallPrevious(m);
    if (m.Msg == WM_USER + 1) m.Result += 1;
  }
};

HWND MakeForeignWindow() {
  static bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ForeignProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ForeignTestWindow";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, L"ForeignTestWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(ObjectInstance, SubclassesAForeignWindowAndGivesBackItsProcedure) {
  HWND h = MakeForeignWindow();
  ASSERT_TRUE(h);
  ASSERT_TRUE(IsWindowUnicode(h));
  auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));
  TSubclasser s;
  s.Instance = MakeObjectInstance(TWndMethod::Of<&TSubclasser::Proc>(&s));
  ASSERT_TRUE(s.Instance->Attach(h));
  EXPECT_TRUE(IsWindowUnicode(h)) << "a Unicode window stays Unicode";
  EXPECT_EQ(SendMessageW(h, WM_USER + 1, 5, 0), 1006);
  EXPECT_EQ(s.Seen, 1);
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_USERDATA), 0);
  EXPECT_TRUE(s.Instance->Detach());
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC)), original);
  EXPECT_EQ(SendMessageW(h, WM_USER + 1, 5, 0), 1005);
  FreeObjectInstance(s.Instance);
  DestroyWindow(h);
}

TEST(ObjectInstance, LeavesAProcedureOnTopInPlaceAndPassesMessagesOn) {
  HWND h = MakeForeignWindow();
  TSubclasser s;
  s.Instance = MakeObjectInstance(TWndMethod::Of<&TSubclasser::Proc>(&s));
  ASSERT_TRUE(s.Instance->Attach(h));
  onTopPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OnTopProc)));
  EXPECT_FALSE(s.Instance->Detach()) << "not ours any more: left in place";
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC)), OnTopProc);
  FreeObjectInstance(s.Instance);
  // The chain still works: our procedure now passes messages through.
  EXPECT_EQ(SendMessageW(h, WM_USER + 2, 0, 0), 7);
  EXPECT_EQ(SendMessageW(h, WM_USER + 1, 1, 0), 1001);
  EXPECT_EQ(s.Seen, 0);
  DestroyWindow(h);
}

TEST(UtilityWindow, IsATPUtilWindowThatRoutesToItsMethod) {
  struct Sink {
    int Got = 0;
    HWND Wnd = nullptr;
    void Proc(TMessage& m) {
      if (m.Msg == WM_USER + 9) {
        Got = static_cast<int>(m.WParam);
        m.Result = 3;
        return;
      }
      m.Result = DefWindowProcA(Wnd, m.Msg, m.WParam, m.LParam);
    }
  } sink;
  HWND h = AllocateHWnd(TWndMethod::Of<&Sink::Proc>(&sink));
  sink.Wnd = h;
  EXPECT_EQ(WindowClassName(h), "TPUtilWindow");
  EXPECT_EQ(SendMessageA(h, WM_USER + 9, 42, 0), 3);
  EXPECT_EQ(sink.Got, 42);
  EXPECT_EQ(FindControl(h), nullptr);
  DeallocateHWnd(h);
  EXPECT_FALSE(IsWindow(h));
}

namespace {

BOOL CALLBACK CountProperty(HWND, LPSTR, HANDLE, ULONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int PropertyCount(HWND h) {
  int n = 0;
  EnumPropsExA(h, &CountProperty, reinterpret_cast<LPARAM>(&n));
  return n;
}

// Sits on top of a window's procedure and counts the window's properties
// once the procedure below has handled WM_NCDESTROY.
WNDPROC watchedPrevious = nullptr;
int propertiesLeft = -1;
LRESULT CALLBACK WatchNcDestroy(HWND h, UINT msg, WPARAM w, LPARAM l) {
  LRESULT r = CallWindowProcA(watchedPrevious, h, msg, w, l);
  if (msg == WM_NCDESTROY) propertiesLeft = PropertyCount(h);
  return r;
}

}  // namespace

TEST(UtilityWindow, AWindowTheSystemDestroysTakesItsMethodRecordAlong) {
  struct Sink {
    HWND Wnd = nullptr;
    void Proc(TMessage& m) { m.Result = DefWindowProcA(Wnd, m.Msg, m.WParam, m.LParam); }
  } sink;
  HWND h = AllocateHWnd(TWndMethod::Of<&Sink::Proc>(&sink));
  sink.Wnd = h;
  int before = PropertyCount(h);
  ASSERT_GE(before, 1);
  watchedPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchNcDestroy)));
  DestroyWindow(h);
  EXPECT_EQ(propertiesLeft, before - 1) << "the record is released at WM_NCDESTROY";
  DeallocateHWnd(h);  // too late, and harmless
}

TEST(ObjectInstance, AFailingMethodLeavesTheAnswerToThePreviousProcedure) {
  TBoxRecorder boxes;
  HWND h = MakeForeignWindow();
  struct Thrower {
    void Proc(TMessage& m) {
      if (m.Msg == WM_USER + 1) throw Exception("Adapter failed");
    }
  } t;
  TObjectInstance* instance = MakeObjectInstance(TWndMethod::Of<&Thrower::Proc>(&t));
  ASSERT_TRUE(instance->Attach(h));
  EXPECT_EQ(SendMessageW(h, WM_USER + 1, 5, 0), 1005) << "not 0: the window answers as without us";
  ASSERT_EQ(boxes.Boxes.size(), 1u);
  EXPECT_EQ(boxes.Boxes[0].Text, "Adapter failed.");
  FreeObjectInstance(instance);
  DestroyWindow(h);
}

TEST(ObjectInstance, AUnicodeWindowWithoutARecordGetsTheUnicodeDefault) {
  HWND subclassed = MakeForeignWindow();
  HWND plain = MakeForeignWindow();
  ASSERT_TRUE(IsWindowUnicode(plain));
  TSubclasser s;
  s.Instance = MakeObjectInstance(TWndMethod::Of<&TSubclasser::Proc>(&s));
  ASSERT_TRUE(s.Instance->Attach(subclassed));
  // Our slot procedure, called for a window it holds no record for (as a copy
  // kept by other code would call it), passes the message on unconverted.
  auto ours = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(subclassed, GWLP_WNDPROC));
  const wchar_t* text = L"\u03A9mega \u00E9t\u00E9";
  CallWindowProcW(ours, plain, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  wchar_t got[32] = {};
  GetWindowTextW(plain, got, 32);
  EXPECT_STREQ(got, text);
  FreeObjectInstance(s.Instance);
  DestroyWindow(plain);
  DestroyWindow(subclassed);
}

template <typename T>
constexpr bool kOnTimerAssignable = requires(T& t) {
  t.OnTimer = TNotifyEvent();
};
static_assert(!kOnTimerAssignable<TTimer>, "a field set directly would not start the timer");

TEST(Timer, SettingTheEventThroughItsPropertyStartsTheTimer) {
  struct Ticks {
    int Count = 0;
    void Tick(TObject*) { ++Count; }
  } ticks;
  TTimer* timer = New<TTimer>(Application);
  timer->SetInterval(5);
  SetMethodProp(timer, "OnTimer", TNotifyEvent::Of<&Ticks::Tick>(&ticks).Method());
  EXPECT_TRUE(PumpUntil([&] { return ticks.Count >= 2; }));
  EXPECT_TRUE(GetMethodProp(timer, "OnTimer") == TNotifyEvent::Of<&Ticks::Tick>(&ticks).Method());
  SetMethodProp(timer, "OnTimer", TMethod{});
  int stopped = ticks.Count;
  Pump();
  Sleep(30);
  Pump();
  EXPECT_EQ(ticks.Count, stopped) << "cleared: the timer stops";
  TObject::Free(timer);
}
