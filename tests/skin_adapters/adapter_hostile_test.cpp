// What foreign code may do to an adapted window at any moment: destroy it,
// hook it again, free the adapter first or from inside a message. Each case
// runs on a plain window and on a widget-library control, with poisoned
// adapters, so a call into a freed adapter crashes the test.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "adapter_target.h"
#include "skin/adapters/adapter_base.h"
#include "skin/engine/common_data.h"
#include "skin/engine/control_helpers.h"
#include "widgets/controls/window_procs.h"

namespace {

constexpr char kAdapterProp[] = "VLSBSC";
constexpr char kSkinDataProp[] = "VLSDATA";
constexpr UINT kProbe = WM_USER + 77;

bool HasProps(HWND Wnd) {
  return GetPropA(Wnd, kAdapterProp) || GetPropA(Wnd, kSkinDataProp);
}

// The first bytes after the class pointer of a freed adapter; poisoned
// blocks are kept, so they can be read after the delete.
bool Poisoned(const void* Block) {
  unsigned char probe[sizeof(void*)];
  std::memcpy(probe, static_cast<const unsigned char*>(Block) + sizeof(void*), sizeof probe);
  for (unsigned char b : probe)
    if (b != 0xDD) return false;
  return true;
}

// Records SetWindowTheme calls instead of making them.
struct ThemeRecorder {
  static inline std::vector<std::pair<HWND, bool>> Calls;  // (window, both nil)
  static HRESULT WINAPI Record(HWND Wnd, LPCWSTR App, LPCWSTR Ids) {
    Calls.emplace_back(Wnd, App == nullptr && Ids == nullptr);
    return S_OK;
  }
  TSetWindowTheme saved = SetWindowThemeProc;
  ThemeRecorder() {
    Calls.clear();
    SetWindowThemeProc = &Record;
  }
  ~ThemeRecorder() { SetWindowThemeProc = saved; }
  static bool GaveBack(HWND Wnd) {
    for (auto& c : Calls)
      if (c.first == Wnd && c.second) return true;
    return false;
  }
};

class AdapterHostile : public testing::TestWithParam<TAdapterPath> {
 protected:
  void SetUp() override { Target = std::make_unique<TAdapterTarget>(GetParam()); }
  void TearDown() override {
    Target.reset();
    PumpMessages();
  }
  std::unique_ptr<TAdapterTarget> Target;
};

TEST_P(AdapterHostile, WindowDestroyedWhileAdapted) {
  for (bool throughParent : {false, true}) {
    SCOPED_TRACE(throughParent ? "through its parent" : "itself");
    Target = std::make_unique<TAdapterTarget>(GetParam());
    TvlMainWnd* adapter = Target->Adapt();
    const HWND wnd = Target->Wnd();
    ASSERT_TRUE(GetPropA(wnd, kAdapterProp));
    bool propsAtEnd = true;
    Target->OnMessage = [&](const TRecordedMessage& m) {
      if (m.Msg == WM_NCDESTROY) propsAtEnd = HasProps(wnd);
    };
    if (throughParent)
      Target->DestroyThroughParent();
    else
      Target->DestroyWindowItself();
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(Target->Count(WM_DESTROY), 1);
    EXPECT_TRUE(Target->Destroyed());
    EXPECT_FALSE(propsAtEnd) << "both properties are gone before the window";
    EXPECT_TRUE(adapter->Released);
    // The creator frees it later; nothing dead is touched.
    const void* block = adapter;
    ReleaseWndAdapter(wnd, true, false, adapter);
    EXPECT_EQ(adapter, nullptr);
    EXPECT_TRUE(Poisoned(block));
  }
}

TEST_P(AdapterHostile, SubclassedAgainBySomeoneElse) {
  TvlMainWnd* adapter = Target->Adapt();
  const HWND wnd = Target->Wnd();
  Target->SubclassAgain();
  ReleaseWndAdapter(wnd, false, false, adapter);
  EXPECT_FALSE(adapter->Released) << "the later hook stays; the window is not handed back";
  EXPECT_FALSE(Target->ProcedureIsOwn());

  Target->ClearLog();
  SendMessageA(wnd, kProbe, 1, 2);
  EXPECT_EQ(Target->Count(kProbe), 1);
  ReleaseWndAdapter(wnd, true, false, adapter);
  Target->SubclassSeen = 0;
  SendMessageA(wnd, kProbe, 1, 2);
  EXPECT_EQ(Target->Count(kProbe), 2) << "messages flow after the adapter is freed";
  EXPECT_EQ(Target->SubclassSeen, 1);
  Target->Unsubclass();
  SendMessageA(wnd, kProbe, 1, 2);
  EXPECT_EQ(Target->Count(kProbe), 3) << "and after the later hook let go";
  EXPECT_FALSE(GetPropA(wnd, kAdapterProp));
}

TEST_P(AdapterHostile, AdapterFreedFirst) {
  for (bool ownData : {true, false}) {
    SCOPED_TRACE(ownData ? "own skin data" : "given skin data");
    Target = std::make_unique<TAdapterTarget>(GetParam());
    ThemeRecorder themes;
    TControl* control = Target->Control();
    const TControlStyle styleBefore = control ? control->ControlStyle() : 0;
    TsCommonData* given = ownData ? nullptr : New<TsCommonData>(nullptr, true);
    if (given) {
      given->Control = control;
      given->WndHandle = Target->Wnd();
    }
    TvlMainWnd* adapter = Target->Adapt(given);
    const TsCommonData* data = adapter->SkinData;
    const HWND wnd = Target->Wnd();
    EXPECT_FALSE(Target->ProcedureIsOwn());
    if (control) {
      EXPECT_TRUE(control->ControlStyle() & csOpaque);
    }
    EXPECT_EQ(GetPropA(wnd, kSkinDataProp), data);

    TObject::Free(adapter);  // not released first
    EXPECT_TRUE(Target->ProcedureIsOwn());
    EXPECT_TRUE(ThemeRecorder::GaveBack(wnd)) << "SetWindowTheme(nil, nil)";
    EXPECT_FALSE(GetPropA(wnd, kAdapterProp));
    if (control) {
      EXPECT_EQ(control->ControlStyle(), styleBefore);
    }
    if (ownData) {
      EXPECT_FALSE(GetPropA(wnd, kSkinDataProp));
    }
    if (given) {
      EXPECT_EQ(given->Control, control) << "a given skin data is kept as it was";
      if (control) {
        EXPECT_TRUE(given->OwnerWndProc == control->WindowProc)
            << "its owner procedure leads to the control, not into the freed adapter";
      }
      UnregisterSkinData(given);
      TObject::Free(given);
    }
    Target->ClearLog();
    SendMessageA(wnd, kProbe, 3, 4);
    EXPECT_EQ(Target->Count(kProbe), 1);
  }
}

TEST_P(AdapterHostile, FreedByItsCreatorMidMessage) {
  TvlMainWnd* adapter = Target->Adapt();
  const HWND wnd = Target->Wnd();
  const void* block = adapter;
  bool ownInside = false, wholeInside = false;
  Target->OnMessage = [&](const TRecordedMessage& m) {
    if (m.Msg != kProbe || !adapter) return;
    ReleaseWndAdapter(wnd, true, false, adapter);
    ownInside = Target->ProcedureIsOwn();
    wholeInside = !Poisoned(block);
  };
  SendMessageA(wnd, kProbe, 0, 0);
  EXPECT_EQ(adapter, nullptr);
  EXPECT_TRUE(ownInside) << "the window is handed back at once";
  EXPECT_TRUE(wholeInside) << "the object outlives the frame it was freed in";
  EXPECT_TRUE(Poisoned(block)) << "and goes when the outermost frame returns";
  Target->ClearLog();
  SendMessageA(wnd, kProbe, 0, 0);
  EXPECT_EQ(Target->Count(kProbe), 1);
}

INSTANTIATE_TEST_SUITE_P(Paths, AdapterHostile,
                         testing::Values(TAdapterPath::Plain, TAdapterPath::Control), PathName);

// A window that already carries the layer's limit of instances is left as
// it was, and the adapter counts as released.
TEST(AdapterHook, SixteenInstancesAlreadyOnTheWindow) {
  TAdapterTarget target(TAdapterPath::Plain);
  const HWND wnd = target.Wnd();
  std::vector<TObjectInstance*> instances;
  for (;;) {
    auto* i = MakeObjectInstance(nullptr);
    if (!i->Attach(wnd)) {
      FreeObjectInstance(i);
      break;
    }
    instances.push_back(i);
  }
  ASSERT_EQ(instances.size(), 16u);
  const LONG_PTR procBefore = GetWindowLongPtrA(wnd, GWLP_WNDPROC);
  ThemeRecorder themes;
  TvlMainWnd* adapter = target.Adapt();
  EXPECT_TRUE(adapter->Released);
  EXPECT_FALSE(HasProps(wnd));
  EXPECT_EQ(GetWindowLongPtrA(wnd, GWLP_WNDPROC), procBefore);
  EXPECT_TRUE(ThemeRecorder::Calls.empty()) << "the window is untouched";
  ReleaseWndAdapter(wnd, true, false, adapter);
  for (auto it = instances.rbegin(); it != instances.rend(); ++it) FreeObjectInstance(*it);
  target.ClearLog();
  SendMessageA(wnd, kProbe, 0, 0);
  EXPECT_EQ(target.Count(kProbe), 1);
}

}  // namespace

namespace {

// A control's window made again drops the adapter with the old window; the
// new window carries no trace of it.
TEST(AdapterHook, ControlWindowMadeAgain) {
  TAdapterTarget target(TAdapterPath::Control);
  TvlMainWnd* adapter = target.Adapt();
  const HWND before = target.Wnd();
  static_cast<TWinControl*>(target.Control())->RecreateWnd();
  static_cast<TWinControl*>(target.Control())->HandleNeeded();
  const HWND after = target.Wnd();
  ASSERT_NE(after, before);
  EXPECT_TRUE(adapter->Released);
  EXPECT_TRUE(target.ProcedureIsOwn());
  EXPECT_FALSE(HasProps(after));
  ReleaseWndAdapter(after, true, false, adapter);
  target.ClearLog();
  SendMessageA(after, kProbe, 0, 0);
  EXPECT_EQ(target.Count(kProbe), 1);
}

// Unicode windows stay Unicode under the adapter: text the code page cannot
// hold survives the way through it.
TEST(AdapterHook, UnicodeWindowsStayUnicode) {
  TTestWindow host = CreateHostWindow();
  for (bool unicode : {true, false}) {
    SCOPED_TRACE(unicode ? "W window" : "A window");
    TTestWindow edit(unicode ? CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100,
                                               20, host.Get(), nullptr, nullptr, nullptr)
                             : CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                               host.Get(), nullptr, nullptr, nullptr));
    TvlSkinParams params;
    TvlMainWnd* adapter =
        CreateAdapter(&TvlMainWnd::AdapterClass(), edit.Get(), nullptr, nullptr, params, false);
    EXPECT_EQ(IsWindowUnicode(edit.Get()) != FALSE, unicode);
    if (unicode) {
      const wchar_t text[] = L"\x0416\x4E2D";
      SendMessageW(edit.Get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
      wchar_t back[8] = {};
      GetWindowTextW(edit.Get(), back, 8);
      EXPECT_EQ(std::wcscmp(back, text), 0);
    }
    ReleaseWndAdapter(edit.Get(), true, false, adapter);
    EXPECT_EQ(IsWindowUnicode(edit.Get()) != FALSE, unicode);
  }
}

}  // namespace
