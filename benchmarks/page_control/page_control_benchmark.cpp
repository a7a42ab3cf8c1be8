// One TsPageControl of 506 x 429 with one tab whose sheet holds a group box,
// repainted in full again and again (the cache rebuilt and copied, painted
// at once), in four looks measured in the same run: skinned with the
// generated test skin, plain themed (manager inactive), plain classic (the
// theme switched off for the control) and the native tab control's
// WM_PRINTCLIENT into a DIB of the same size. Prints the median time per
// repaint of each and their ratios to the plain themed look (the goal for
// the skinned one is at most 2.0), and the time of one step of a tab's
// hover fade as a share of the 10 ms its timer gives it (goal at most 5 %).
//
// The looks take turns over several rounds, so a busy machine slows them
// alike.
//
//   page_control_benchmark.exe [--quick]
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "benchmarks/support/median_sampler.h"
#include "skin/controls/group_box.h"
#include "skin/controls/page_control.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_units.h"
#include "skin/foundation/argb_factories.h"
#include "temp_test_skin.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/units.h"

namespace {

constexpr UINT kFullRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW;
constexpr double kFadeTick = 10e-3;

using bench::Plan;
using bench::Sample;
using bench::Samples;

struct Scene {
  TForm* Form = nullptr;
  TsPageControl* Pages = nullptr;
  TsTabSheet* Sheet = nullptr;
  TsGroupBox* Box = nullptr;
  TsSkinManager* Manager = nullptr;
};

Scene MakeScene(const std::filesystem::path& SkinRoot) {
  Scene s;
  s.Form = New<TForm>(Application, TCustomForm::TCreateNew{});
  s.Form->SetBounds(20, 20, 540, 480);
  s.Pages = New<TsPageControl>(s.Form);
  s.Pages->SetBounds(8, 8, 506, 429);
  s.Pages->SetParent(s.Form);
  s.Sheet = New<TsTabSheet>(s.Form);
  s.Sheet->SetPageControl(s.Pages);
  s.Sheet->SetCaption("Controls");
  s.Pages->SetActivePage(s.Sheet);
  s.Box = New<TsGroupBox>(s.Form);
  s.Box->SetBounds(3, 3, 260, 200);
  s.Box->SetCaption("EQ");
  s.Box->SetParent(s.Sheet);
  s.Manager = New<TsSkinManager>(s.Form);
  s.Manager->SetActive(false);
  s.Manager->SetSkinDirectory(SkinRoot.string());
  s.Manager->SetSkinName("Tessera");
  s.Form->Show();
  PumpMessages();
  return s;
}

void SampleLook(const Scene& S, const Plan& P, Samples& Into) {
  const HWND h = S.Pages->Handle();
  Sample(P, Into, [&] {
    S.Pages->SkinData()->BgChanged = true;
    RedrawWindow(h, nullptr, nullptr, kFullRepaint | RDW_ALLCHILDREN);
  });
}

// The control's own part of a plain repaint: its paint into a DIB, without
// the sheet and the group box.
void SampleOwnPlain(const Scene& S, const Plan& P, Samples& Into) {
  const TOwnedObject<TBitmap> target =
      OwnObject(NewArgbBitmap(S.Pages->Width(), S.Pages->Height()));
  const HDC dc = target->Canvas()->Handle();
  Sample(P, Into, [&] { S.Pages->PaintUnskinned(dc); });
}

// The common control alone: a tab control of the same size and styles with
// the same tab, asked to print its client area into a DIB.
void SampleNative(const Scene& S, const Plan& P, Samples& Into) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(S.Pages->Handle(), GWL_STYLE));
  const HWND h =
      CreateWindowExA(0, WC_TABCONTROLA, "", style, 8, 8, S.Pages->Width(), S.Pages->Height(),
                      S.Form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!h) return;
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  char text[] = "Controls";
  item.pszText = text;
  SendMessageA(h, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(S.Pages->Font()->Handle()), FALSE);
  PumpMessages();
  const TOwnedObject<TBitmap> target =
      OwnObject(NewArgbBitmap(S.Pages->Width(), S.Pages->Height()));
  const HDC dc = target->Canvas()->Handle();
  Sample(P, Into, [&] {
    SendMessageA(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  });
  DestroyWindow(h);
}

// One step of the tab's hover fade at a middle level, as its timer runs it.
void SampleFadeStep(const Scene& S, const Plan& P, Samples& Into) {
  S.Manager->Effects()->SetAllowAnimation(true);
  RedrawWindow(S.Pages->Handle(), nullptr, nullptr, kFullRepaint);
  S.Pages->HotTab = 0;
  S.Pages->RefreshTab(0, true);
  TvlThreadedTimer* t = S.Sheet->FadeTimer;
  if (!t) {
    std::printf("  (the fade did not start)\n");
    return;
  }
  t->SetEnabled(false);
  Sample(P, Into, [&] {
    t->CurrentStep = t->StepCount / 2;
    t->SecondValue = 127.5;
    TsPageControl::TabFadeStep(S.Sheet, t->CurrentStep);
  });
  S.Pages->HotTab = -1;
  S.Pages->ClearTabTimers();
  PumpMessages();
}

void PrintLook(const char* What, double Repaint, double Themed) {
  std::printf("  %-22s %8.1f us  %5.2fx\n", What, Repaint * 1e6, Repaint / std::max(Themed, 1e-12));
}

bool Run(const Scene& S, const Plan& P) {
  Samples skinned, themed, classic, native, fade, ownThemed;
  for (int round = 0; round < P.Rounds; ++round) {
    S.Manager->SetActive(true);
    PumpMessages();
    if (!S.Pages->SkinData()->Skinned()) {
      std::printf("the test skin did not load\n");
      return false;
    }
    SampleLook(S, P, skinned);
    SampleFadeStep(S, P, fade);
    S.Manager->SetActive(false);
    PumpMessages();
    SampleLook(S, P, themed);
    SampleOwnPlain(S, P, ownThemed);
    SampleNative(S, P, native);
    SetWindowTheme(S.Pages->Handle(), L" ", L" ");
    PumpMessages();
    SampleLook(S, P, classic);
    SetWindowTheme(S.Pages->Handle(), nullptr, nullptr);
    PumpMessages();
  }
  const double base = themed.Median();
  std::printf(
      "TsPageControl %dx%d, one tab and a group box, full repaint, median of %d rounds x %d x %d "
      "(themes %s)\n",
      S.Pages->Width(), S.Pages->Height(), P.Rounds, P.Batches, P.Calls,
      ThemesEnabled() ? "on" : "off");
  std::printf("  %-22s %11s  %6s\n", "look", "repaint", "ratio");
  PrintLook("skinned (Tessera)", skinned.Median(), base);
  PrintLook("plain themed", base, base);
  PrintLook("plain classic", classic.Median(), base);
  PrintLook("native WM_PRINTCLIENT", native.Median(), base);
  PrintLook("plain themed, own part", ownThemed.Median(), base);
  std::printf("  skinned / plain themed %.2f (goal <= 2.0)\n", skinned.Median() / base);
  const double step = fade.Median();
  std::printf("  tab fade step          %8.1f us   %5.2f %% of the %.0f ms step (goal <= 5 %%)\n",
              step * 1e6, 100.0 * step / kFadeTick, kFadeTick * 1e3);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const Plan plan = bench::PlanFromArgs(argc, argv, Plan{5, 5, 40}, Plan{1, 3, 10});
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  const test_skin::TempTestSkin skin("pages_bench_", test_skin::kSoundVariant, "Tessera");
  const Scene scene = MakeScene(skin.Directory());
  const bool ok = Run(scene, plan);
  TObject::Free(scene.Form);
  PumpMessages();
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return ok ? 0 : 1;
}
