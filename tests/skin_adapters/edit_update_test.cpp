// Keeping a control's adapter in step with its skinning: made, kept,
// replaced when released, freed, and left alone while the control cannot
// take one; a control whose window is made again.
#include <vector>

#include "edit_scene.h"
#include "skin/adapters/adapter_unit.h"
#include "skin/engine/control_kinds.h"
#include "skin/foundation/skin_commands.h"

namespace {

std::vector<HWND> FlatOn, FlatOff;
BOOL WINAPI RecordFlatOn(HWND Wnd) {
  FlatOn.push_back(Wnd);
  return TRUE;
}
HRESULT WINAPI RecordFlatOff(HWND Wnd) {
  FlatOff.push_back(Wnd);
  return S_OK;
}

// The flat-bar functions recorded for a scope.
struct TFlatRecorder {
  TFlatRecorder() : on_(InitializeFlatSBProc), off_(UninitializeFlatSBProc) {
    InitializeFlatSBProc = &RecordFlatOn;
    UninitializeFlatSBProc = &RecordFlatOff;
    FlatOn.clear();
    FlatOff.clear();
  }
  ~TFlatRecorder() {
    InitializeFlatSBProc = on_;
    UninitializeFlatSBProc = off_;
  }
  TInitializeFlatSB on_;
  TUninitializeFlatSB off_;
};

enum class State { Loading, Skinned, Released, NotSkinned };

struct UpdateCase {
  const char* Name;
  State Before;
  bool Edit;        // UpdateEditWndAdapter, else UpdateScrollWndAdapter
  bool HadAdapter;  // an adapter exists before the call
  bool Kept;        // the same adapter afterwards
  bool Made;        // a new adapter afterwards
  int FlatOff, FlatOn;
};

TEST(EditAdapterUpdate, RoutinesFollowTheControlsSkinState) {
  const UpdateCase cases[] = {
      {"scroll: loading", State::Loading, false, false, false, false, 0, 0},
      {"edit: loading", State::Loading, true, false, false, true, 0, 0},
      {"scroll: skinned, none yet", State::Skinned, false, false, false, true, 1, 0},
      {"scroll: skinned, kept", State::Skinned, false, true, true, false, 1, 0},
      {"edit: skinned, none yet", State::Skinned, true, false, false, true, 0, 0},
      {"edit: skinned, kept", State::Skinned, true, true, true, false, 0, 0},
      {"scroll: released, replaced", State::Released, false, true, false, true, 1, 0},
      {"edit: released, replaced", State::Released, true, true, false, true, 0, 0},
      {"scroll: not skinned, freed", State::NotSkinned, false, true, false, false, 0, 1},
      {"edit: not skinned, freed", State::NotSkinned, true, true, false, false, 0, 0},
  };
  TEditScene s;
  for (const UpdateCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* memo = s.AddControl<TMemo>(10, 10, 166, 141);
    memo->SetScrollBars(ssBoth);
    TsScrollWndData data(nullptr, true);
    data.Control = memo;
    data.SetSkinSection("EDIT");
    data.UpdateIndexes(true);
    ASSERT_TRUE(data.Skinned(false));
    TvlScrollWnd* scroll = nullptr;
    TvlEditWnd* edit = nullptr;
    const auto update = [&] {
      if (c.Edit)
        UpdateEditWndAdapter(&data, edit);
      else
        UpdateScrollWndAdapter(&data, scroll);
    };
    const auto current = [&]() -> TvlMainWnd* {
      return c.Edit ? static_cast<TvlMainWnd*>(edit) : scroll;
    };
    if (c.HadAdapter) update();
    TvlMainWnd* before = current();
    ASSERT_EQ(before != nullptr, c.HadAdapter);
    if (c.Before == State::Released) {
      // Given back without being freed, as when the skin went meanwhile.
      TvlMainWnd* spent = before;
      ReleaseScrollWndAdapter(memo->Handle(), false, false, spent);
      ASSERT_TRUE(before->Released);
    }
    if (c.Before == State::NotSkinned) data.SkinIndex = -1;
    if (c.Before == State::Loading) memo->SetState(csLoading);
    TFlatRecorder flat;
    update();
    if (c.Before == State::Loading) memo->ClearState(csLoading);
    TvlMainWnd* after = current();
    EXPECT_EQ(after != nullptr && after == before, c.Kept);
    EXPECT_EQ(after != nullptr && after != before, c.Made);
    if (after) {
      EXPECT_EQ(GetWindowAdapter(memo->Handle()), after);
      EXPECT_FALSE(after->Released);
    } else {
      EXPECT_EQ(GetWindowAdapter(memo->Handle()), nullptr);
    }
    EXPECT_EQ(static_cast<int>(FlatOff.size()), c.FlatOff);
    EXPECT_EQ(static_cast<int>(FlatOn.size()), c.FlatOn);
    data.SkinIndex = -1;
    update();
    EXPECT_EQ(current(), nullptr);
    data.Control = nullptr;
    TObject::Free(memo);
  }
}

TEST(EditAdapterUpdate, RecreatedWindowIsReleasedAndGetsANewAdapter) {
  TEditScene s;
  auto* memo = s.AddControl<TMemo>(10, 10, 166, 141);
  memo->SetScrollBars(ssVertical);
  TsScrollWndData data(nullptr, true);
  data.Control = memo;
  data.SetSkinSection("EDIT");
  data.UpdateIndexes(true);
  TvlEditWnd* adapter = nullptr;
  UpdateEditWndAdapter(&data, adapter);
  ASSERT_NE(adapter, nullptr);
  TvlEditWnd* first = adapter;
  const HWND old = memo->Handle();
  memo->RecreateWnd();
  memo->HandleNeeded();
  ASSERT_NE(memo->Handle(), old);
  // The old window went: its adapter is spent, the control kept its own
  // procedure.
  EXPECT_TRUE(first->Released);
  EXPECT_EQ(GetWindowAdapter(memo->Handle()), nullptr);
  UpdateEditWndAdapter(&data, adapter);
  ASSERT_NE(adapter, nullptr);
  EXPECT_FALSE(adapter->Released);
  EXPECT_EQ(GetWindowAdapter(memo->Handle()), adapter);
  EXPECT_EQ(adapter->WindowHandle, memo->Handle());
  // Messages flow through the new adapter to the control.
  memo->SetText("after");
  EXPECT_EQ(memo->Text(), "after");
  EXPECT_EQ(adapter->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetAdapter), 0),
            reinterpret_cast<LRESULT>(adapter));
  data.SkinIndex = -1;
  UpdateEditWndAdapter(&data, adapter);
  EXPECT_EQ(adapter, nullptr);
  data.Control = nullptr;
  TObject::Free(memo);
}

}  // namespace
