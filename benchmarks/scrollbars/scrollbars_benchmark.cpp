// Two "LISTBOX" windows of 166 x 141 with 100 items and both bars side by
// side on one form: one adapted by a TvlScrollWnd under the generated test
// skin, one left to the platform. Measured in the same run:
//   bars    PaintScrollBars of the adapted list box against the platform's
//           own WM_NCPAINT of the plain one (the goal: at most 2x);
//   drag    one thumb-drag step of the adapted list box (SB_THUMBTRACK sent
//           through SendScroll plus the bar drawn) against the plain one's
//           own step: position set, WM_VSCROLL, UpdateWindow (the goal: at
//           most 2x).
// Prints the median time per call of each and their ratios.
//
// The measures take turns over several rounds, so a busy machine slows them
// alike instead of whichever happened to run at the wrong moment.
//
//   scrollbars_benchmark.exe [--quick]
#include <windows.h>

#include <cstdio>
#include <string>

#include "benchmarks/support/median_sampler.h"
#include "skin/adapters/scroll_track_state.h"
#include "skin/adapters/scroll_tracking.h"
#include "skin/adapters/scroll_wnd.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_units.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/units.h"

namespace {

using bench::Plan;
using bench::Sample;
using bench::Samples;

HWND MakeListBox(HWND Parent, int X) {
  const HWND h = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"LISTBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL,
      X, 10, 166, 141, Parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (int i = 0; i < 100; ++i) {
    const std::wstring item =
        L"Sound bank entry number " + std::to_wstring(i) + L" with a name wider than the list";
    SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendMessageW(h, LB_SETHORIZONTALEXTENT, 400, 0);
  return h;
}

std::string Ratio(double A, double B) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", B > 0 ? A / B : 0.0);
  return buf;
}

}  // namespace

int main(int argc, char** argv) {
  const Plan plan = bench::PlanFromArgs(argc, argv, Plan{5, 7, 100}, Plan{2, 3, 20});
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  const test_skin::TempTestSkin skin("scrollbars_bench_");

  TForm* form = New<TForm>(Application, TCustomForm::TCreateNew{});
  form->SetBounds(40, 40, 420, 220);
  form->Show();
  PumpMessages();
  TsSkinManager* manager = test_skin::StartSkinManager(form, skin);
  PumpMessages();

  const HWND skinned = MakeListBox(form->Handle(), 10);
  const HWND plain = MakeListBox(form->Handle(), 220);
  // The bare adapter skins with the section an edit-like control gives it.
  TvlSkinParams params;
  params.SectionName = "EDIT";
  TvlScrollWnd* adapter = CreateAdapter<TvlScrollWnd>(skinned, nullptr, manager, params, true);
  PumpMessages();
  if (!adapter || !adapter->VertBar || !adapter->VertBar->Visible) {
    std::printf("the list box was not adapted\n");
    return 1;
  }

  Samples bars, platformBars, drag, platformDrag;
  RECT vr{};
  VertScrollBarRect(adapter, skinned, vr);
  RECT wr{};
  GetWindowRect(skinned, &wr);
  const TRect bar(vr.left - wr.left, vr.top - wr.top, vr.right - wr.left, vr.bottom - wr.top);
  int step = 0;
  for (int round = 0; round < plan.Rounds; ++round) {
    Sample(plan, bars, [&] { adapter->PaintScrollBars(skinned, -1, nullptr); });
    Sample(plan, platformBars, [&] { SendMessageW(plain, WM_NCPAINT, 1, 0); });
    // One drag step: the thumb moves one position, the window is told with
    // SB_THUMBTRACK and the bar is drawn with the thumb where the mouse is.
    Sample(plan, drag, [&] {
      const int pos = (++step) % 80;
      SendScroll(skinned, WM_VSCROLL, SB_THUMBTRACK, pos);
      int len = 0, at = 0;
      ThumbGeometry(adapter->VertBar, bar, len, at);
      const HDC dc = GetWindowDC(skinned);
      adapter->PaintBar(SB_VERT, dc, at, SB_THUMBTRACK, bar, true);
      ReleaseDC(skinned, dc);
      // The content the scroll uncovered, as the reference paints it.
      UpdateWindow(skinned);
    });
    // The platform's own drag step: the tracking position is set, then
    // SB_THUMBTRACK. A list box takes the position from the scroll state,
    // not from the message; without the position set first it does not
    // move at all, and the step would measure nothing.
    Sample(plan, platformDrag, [&] {
      const int pos = (++step) % 80;
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_POS;
      si.nPos = pos;
      SetScrollInfo(plain, SB_VERT, &si, FALSE);
      SendMessageW(plain, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
      UpdateWindow(plain);
    });
  }

  const double b = bars.Median(), pb = platformBars.Median();
  const double d = drag.Median(), pd = platformDrag.Median();
  std::printf("scroll bars of a 166 x 141 list box, 100 items, both bars (median per call)\n");
  std::printf(
      "  bars: PaintScrollBars %.1f us, platform WM_NCPAINT %.1f us, ratio %s (goal <= 2)\n",
      b * 1e6, pb * 1e6, Ratio(b, pb).c_str());
  std::printf(
      "  drag: SendScroll + bar %.1f us, platform position + WM_VSCROLL + UpdateWindow %.1f us, "
      "ratio %s (goal <= 2)\n",
      d * 1e6, pd * 1e6, Ratio(d, pd).c_str());

  ReleaseScrollWndAdapter(skinned, true, false, adapter);
  DestroyWindow(skinned);
  DestroyWindow(plain);
  TObject::Free(form);
  PumpMessages();
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return 0;
}
