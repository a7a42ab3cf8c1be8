// Tobrin's port list: a TsListBox of 166 x 141 with ItemHeight 16 and 24
// items (more than it shows, so the vertical bar is up), aligned in a
// TsGroupBox on a form, one item selected. Measured in the same run, with
// the generated test skin and with the manager switched off (the list box's
// own owner-drawn plain look, the platform's frame and bars):
//   repaint  RedrawWindow(RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW): items,
//            frame and bars (the goal: skinned at most 2x plain);
//   line     one line scrolled with its repaint: SB_LINEDOWN and, in the
//            same call, SB_LINEUP back, so every call starts from the top;
//            the figure is per line (the goal: at most 2x plain).
// Prints the median time per call of each, its ratio to the plain look and
// the items drawn per call; then the skinned repaint's parts against the
// plain repaint: the client paint alone (item bitmaps over the cache, the
// strips between them), the frame with the bars (WM_NCPAINT), the bars
// alone and the frame with the cache rebuilt from the skin; last the client
// painted into a bitmap, off the screen, skinned against plain: the
// composing alone, which the screen's share hides in the figures above.
//
// The looks take turns over several rounds, so a busy machine slows them
// alike.
//
//   listbox_benchmark.exe [--quick]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "benchmarks/support/median_sampler.h"
#include "skin/adapters/edit_wnd.h"
#include "skin/controls/group_box.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_units.h"
#include "skin/foundation/argb_factories.h"
#include "soundbank_test/slistbox.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/units.h"

namespace {

constexpr UINT kFullRepaint = RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW;
constexpr int kItems = 24;

using bench::Plan;
using bench::Sample;
using bench::Samples;

// Counts the items drawn, so a road that paints nothing shows as such
// instead of as a fast one.
class TCountingListBox : public TsListBox {
 public:
  using TsListBox::TsListBox;
  long Drawn = 0;

 protected:
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override {
    ++Drawn;
    TsListBox::DrawItem(Index, Rect, State);
  }
};

struct Scene {
  TForm* Form = nullptr;
  TsGroupBox* Box = nullptr;
  TCountingListBox* List = nullptr;
  TsSkinManager* Manager = nullptr;
};

// The group box and the list box as Tobrin's form lays them out.
Scene MakeScene(const test_skin::TempTestSkin& Skin) {
  Scene s;
  s.Form = New<TForm>(Application, TCustomForm::TCreateNew{});
  s.Form->SetBounds(20, 20, 400, 300);
  s.Box = New<TsGroupBox>(s.Form);
  s.Box->SetBounds(183, 3, 170, 158);
  s.Box->SetCaption("Output Device");
  s.Box->SetParent(s.Form);
  s.List = New<TCountingListBox>(s.Form);
  s.List->SetBounds(2, 15, 166, 141);
  s.List->SetParentFont(false);
  s.List->Font()->SetName("Tahoma");
  s.List->Font()->SetHeight(-11);
  s.List->SetParent(s.Box);
  s.List->SetAlign(alClient);
  s.List->SetItemHeight(16);
  for (int i = 0; i < kItems; ++i) s.List->Items()->Add("Fake MIDI port " + std::to_string(i + 1));
  s.List->SetItemIndex(2);
  s.Form->Show();
  PumpMessages();
  s.Manager = test_skin::StartSkinManager(s.Form, Skin);
  PumpMessages();
  return s;
}

// A measure's times, and the items drawn over its calls.
struct Figure {
  Samples Time;
  long Calls = 0, Items = 0;
  double ItemsPerCall() const { return Calls ? static_cast<double>(Items) / Calls : 0; }
};

// Times Work, which does Steps steps per call, into F per step.
void Take(const Scene& S, const Plan& P, Figure& F, const std::function<void()>& Work,
          int Steps = 1) {
  const long before = S.List->Drawn;
  long calls = 0;
  Samples batches;
  Sample(P, batches, [&] {
    ++calls;
    Work();
  });
  for (double t : batches.Times) F.Time.Times.push_back(t / Steps);
  F.Calls += calls * Steps;
  F.Items += S.List->Drawn - before;
}

void TakeRepaint(const Scene& S, const Plan& P, Figure& F) {
  const HWND h = S.List->Handle();
  Take(S, P, F, [&] { RedrawWindow(h, nullptr, nullptr, kFullRepaint); });
}

// Down one line and back, each with the repaint it brings; the list box's
// own handling of the skinned road already repaints at once, UpdateWindow
// then finds nothing left.
void TakeLine(const Scene& S, const Plan& P, Figure& F) {
  const HWND h = S.List->Handle();
  S.List->SetTopIndex(0);
  UpdateWindow(h);
  Take(
      S, P, F,
      [&] {
        SendMessageA(h, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
        UpdateWindow(h);
        SendMessageA(h, WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
        UpdateWindow(h);
      },
      2);
}

// The skinned repaint taken apart.
struct Parts {
  Figure Client, Frame, Bars, Cache, Offscreen;
};

// The client painted into a bitmap instead of the screen: the skinned road
// takes a WM_PAINT with the DC, the platform's a WM_PRINTCLIENT.
void TakeOffscreen(const Scene& S, const Plan& P, Figure& F, bool Skinned) {
  const HWND h = S.List->Handle();
  const TOwnedObject<TBitmap> target = OwnObject(NewArgbBitmap(S.List->Width(), S.List->Height()));
  const HDC dc = target->Canvas()->Handle();
  const UINT msg = Skinned ? WM_PAINT : WM_PRINTCLIENT;
  const LPARAM flags = Skinned ? 0 : PRF_CLIENT;
  Take(S, P, F, [&] { SendMessageA(h, msg, reinterpret_cast<WPARAM>(dc), flags); });
}

void TakeParts(const Scene& S, const Plan& P, Parts& Into) {
  const HWND h = S.List->Handle();
  TvlEditWnd* adapter = S.List->Adapter();
  Take(S, P, Into.Client, [&] {
    InvalidateRect(h, nullptr, FALSE);
    UpdateWindow(h);
  });
  Take(S, P, Into.Frame, [&] { SendMessageA(h, WM_NCPAINT, 1, 0); });
  Take(S, P, Into.Bars, [&] { adapter->PaintScrollBars(h, -1, nullptr); });
  Take(S, P, Into.Cache, [&] {
    S.List->SkinData()->BgChanged = true;
    SendMessageA(h, WM_NCPAINT, 1, 0);
  });
  TakeOffscreen(S, P, Into.Offscreen, true);
}

void PrintLine(const char* What, Figure& F, double Base) {
  const double t = F.Time.Median();
  std::printf("  %-36s %9.1f us  %5.2fx  %5.1f\n", What, t * 1e6, t / std::max(Base, 1e-12),
              F.ItemsPerCall());
}

void PrintHead(const char* What) {
  std::printf("  %-36s %12s  %6s  %5s\n", What, "median", "ratio", "items");
}

bool Run(const Scene& S, const Plan& P) {
  Figure skinned, plain, skinnedLine, plainLine, plainOffscreen;
  Parts parts;
  for (int round = 0; round < P.Rounds; ++round) {
    S.Manager->SetActive(true);
    PumpMessages();
    TvlEditWnd* adapter = S.List->Adapter();
    if (!S.List->SkinData()->Skinned(false) || !adapter || !adapter->VertBar ||
        !adapter->VertBar->Visible) {
      std::printf("the list box was not skinned with its vertical bar up\n");
      return false;
    }
    TakeRepaint(S, P, skinned);
    TakeLine(S, P, skinnedLine);
    TakeParts(S, P, parts);
    S.Manager->SetActive(false);
    PumpMessages();
    if (S.List->Adapter() || S.List->SkinData()->Skinned(false)) {
      std::printf("the list box stayed skinned with the manager off\n");
      return false;
    }
    TakeRepaint(S, P, plain);
    TakeLine(S, P, plainLine);
    TakeOffscreen(S, P, plainOffscreen, false);
  }
  const double base = plain.Time.Median(), baseLine = plainLine.Time.Median();
  std::printf(
      "TsListBox %dx%d, ItemHeight %d, %d items, one selected, on a group box; median of %d "
      "rounds x %d x %d (items: drawn per call)\n",
      S.List->Width(), S.List->Height(), S.List->ItemHeight(), S.List->Count(), P.Rounds, P.Batches,
      P.Calls);
  PrintHead("full repaint (items, frame, bars)");
  PrintLine("plain, owner-drawn", plain, base);
  PrintLine("skinned (test skin)", skinned, base);
  PrintHead("one line scrolled, with its repaint");
  PrintLine("plain, owner-drawn", plainLine, baseLine);
  PrintLine("skinned (test skin)", skinnedLine, baseLine);
  PrintHead("parts of the skinned repaint");
  PrintLine("client: item bitmaps + strips", parts.Client, base);
  PrintLine("WM_NCPAINT: frame + bars", parts.Frame, base);
  PrintLine("bars alone", parts.Bars, base);
  PrintLine("WM_NCPAINT with the cache rebuilt", parts.Cache, base);
  PrintHead("client into a bitmap, off the screen");
  PrintLine("plain, WM_PRINTCLIENT", plainOffscreen, plainOffscreen.Time.Median());
  PrintLine("skinned, WM_PAINT with the DC", parts.Offscreen, plainOffscreen.Time.Median());
  std::printf("  repaint: skinned / plain %.2f (goal <= 2.0)\n", skinned.Time.Median() / base);
  std::printf("  line:    skinned / plain %.2f (goal <= 2.0)\n",
              skinnedLine.Time.Median() / baseLine);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const Plan plan = bench::PlanFromArgs(argc, argv, Plan{5, 5, 40}, Plan{1, 3, 10});
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  bool ok = false;
  {
    const test_skin::TempTestSkin skin("listbox_bench_");
    const Scene scene = MakeScene(skin);
    ok = Run(scene, plan);
    TObject::Free(scene.Form);
    PumpMessages();
  }
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return ok ? 0 : 1;
}
