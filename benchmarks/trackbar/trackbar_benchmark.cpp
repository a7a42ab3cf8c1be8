// One TsTrackBar of 137 x 37 (Max 127, Frequency 12, Position 26) on a group
// box on a form, repainted in full again and again (the cache rebuilt and
// copied to the window, painted at once), in four looks measured in the same
// run: skinned with the generated test skin, plain themed (manager
// inactive), plain classic (the theme switched off for the bar) and the
// common control's own WM_PRINTCLIENT paint into a memory DC. Prints the
// median time per repaint of each, their ratios to the plain themed look
// (the goal for the skinned one is at most 1.0), the share of the cache
// build in the library's looks, and the time of one cross-fade step as a
// share of the 10 ms the fade timer gives it.
//
// The looks take turns over several rounds, so a busy machine slows them
// alike instead of whichever happened to run at the wrong moment.
//
//   trackbar_benchmark.exe [--quick]
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "benchmarks/support/median_sampler.h"
#include "skin/controls/track_bar.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/common_data.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_units.h"
#include "skin/foundation/argb_factories.h"
#include "temp_test_skin.h"
#include "tests/support/pump_messages.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/theme_data.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/units.h"

namespace {

constexpr UINT kFullRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW;
constexpr double kFadeTick = 10e-3;  // the fade timer's interval

using bench::Plan;
using bench::Sample;
using bench::Samples;

// Counts the bar's face rebuilds: every look runs OnSkinPaint once per cache.
int facePaints = 0;
void CountFacePaint(void*, TObject*, TCanvas*) {
  ++facePaints;
}

// A look of the library's: full repaints through the bar's own road (cache
// marked stale, the whole window invalidated and painted before the call
// returns), and the cache build alone.
struct Look {
  explicit Look(const char* AWhat) : What(AWhat) {}
  const char* What;
  Samples Repaint, Cache;
};

void SampleLook(TsTrackBar* Bar, const Plan& P, Look& L) {
  const HWND h = Bar->Handle();
  facePaints = 0;
  Sample(P, L.Repaint, [&] {
    Bar->SkinData()->BgChanged = true;
    RedrawWindow(h, nullptr, nullptr, kFullRepaint);
  });
  const int expected = P.Calls / 4 + 1 + P.Batches * P.Calls;
  if (facePaints != expected)
    std::printf("  (%s: %d face paints for %d repaints)\n", L.What, facePaints, expected);
  Sample(P, L.Cache, [&] {
    Bar->SkinData()->BgChanged = true;
    Bar->PrepareCache();
  });
}

// The common control alone: a window of the same class, styles and values
// as the bar's, asked to print its client area into a memory DC.
void SampleNative(TsTrackBar* Bar, HWND Parent, const Plan& P, Samples& Into) {
  const HWND own = Bar->Handle();
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(own, GWL_STYLE));
  const HWND h =
      CreateWindowExW(0, TRACKBAR_CLASSW, L"", style, 12, 100, Bar->Width(), Bar->Height(), Parent,
                      nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!h) return;
  SendMessageW(h, TBM_SETTHUMBLENGTH, SendMessageW(own, TBM_GETTHUMBLENGTH, 0, 0), 0);
  SendMessageW(h, TBM_SETRANGEMIN, FALSE, SendMessageW(own, TBM_GETRANGEMIN, 0, 0));
  SendMessageW(h, TBM_SETRANGEMAX, FALSE, SendMessageW(own, TBM_GETRANGEMAX, 0, 0));
  SendMessageW(h, TBM_SETTICFREQ, 12, 0);
  SendMessageW(h, TBM_SETPOS, TRUE, SendMessageW(own, TBM_GETPOS, 0, 0));
  PumpMessages();
  const TOwnedObject<TBitmap> target = OwnObject(NewArgbBitmap(Bar->Width(), Bar->Height()));
  const HDC dc = target->Canvas()->Handle();
  Sample(P, Into, [&] {
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  });
  DestroyWindow(h);
}

// One step of a cross-fade from the bar's look to itself, as the fade
// timer runs it every 10 ms: old image copied, new one blended over it at
// a middle level, the result copied to the window.
void SampleFadeStep(TsTrackBar* Bar, const Plan& P, Samples& Into) {
  TsCommonData* data = Bar->SkinData();
  data->SkinManager()->Effects()->SetAllowAnimation(true);
  RedrawWindow(Bar->Handle(), nullptr, nullptr, kFullRepaint);
  data->BgChanged = false;
  RepaintWithFade(data, 2, FadeStep, true, false, false);
  TvlThreadedTimer* t = data->AnimTimer;
  if (!t || t->Kind != 2) {
    std::printf("  (the fade did not start)\n");
    return;
  }
  Sample(P, Into, [&] {
    t->Value = 127.5;
    FadeStep(data, t->CurrentStep);
  });
  // A timer left behind would make the next round's fade continue from
  // this one's step instead of starting afresh.
  StopAnimation(data);
  TObject::Free(data->AnimTimer);
  data->AnimTimer = nullptr;
  PumpMessages();
}

// What the plain look finds to draw themed on the bar's window: the
// platform may give theme data without the channel and thumb parts, and the
// plain look then draws those the classic way.
std::string ThemedParts(HWND Bar) {
  const TThemeData theme(Bar, L"TRACKBAR");
  if (!theme.Get()) return "no theme data";
  return theme.Defines(TKP_TRACK) && theme.Defines(TKP_THUMBBOTTOM) ? "channel and thumb themed"
                                                                    : "no themed channel or thumb";
}

void PrintLook(const char* What, double Repaint, double Cache, double Themed) {
  std::printf("  %-22s %8.1f us  %5.2fx", What, Repaint * 1e6, Repaint / std::max(Themed, 1e-12));
  if (Cache > 0) std::printf("   %7.1f us  %4.1f %%", Cache * 1e6, 100.0 * Cache / Repaint);
  std::printf("\n");
}

struct Scene {
  TForm* Form = nullptr;
  TGroupBox* Box = nullptr;
  TsTrackBar* Bar = nullptr;
  TsSkinManager* Manager = nullptr;
};

Scene MakeScene(const std::filesystem::path& SkinRoot) {
  Scene s;
  s.Form = New<TForm>(Application, TCustomForm::TCreateNew{});
  s.Form->SetBounds(40, 40, 320, 260);
  s.Box = New<TGroupBox>(s.Form);
  s.Box->SetBounds(8, 8, 290, 200);
  s.Box->SetCaption("Level");
  s.Box->SetParent(s.Form);
  s.Bar = New<TsTrackBar>(s.Form);
  s.Bar->SetBounds(12, 24, 137, 37);
  s.Bar->SetParent(s.Box);
  s.Bar->SetMax(127);
  s.Bar->SetFrequency(12);
  s.Bar->SetPosition(26);
  s.Bar->OnSkinPaint = TPaintEvent(nullptr, &CountFacePaint);
  s.Manager = New<TsSkinManager>(s.Form);
  s.Manager->SetActive(false);
  s.Manager->SetSkinDirectory(SkinRoot.string());
  s.Manager->SetSkinName("Tessera");
  s.Form->Show();
  PumpMessages();
  return s;
}

bool Run(const Scene& S, const Plan& P) {
  Look skinned{"skinned (Tessera)"}, themed{"plain themed"}, classic{"plain classic"};
  Samples native, fade;
  std::string themedParts, classicParts;
  for (int round = 0; round < P.Rounds; ++round) {
    S.Manager->SetActive(true);
    PumpMessages();
    if (!S.Bar->SkinData()->Skinned()) {
      std::printf("the test skin did not load\n");
      return false;
    }
    SampleLook(S.Bar, P, skinned);
    SampleFadeStep(S.Bar, P, fade);
    // Off again, the bar gets a new window with the platform's theme.
    S.Manager->SetActive(false);
    PumpMessages();
    SampleLook(S.Bar, P, themed);
    themedParts = ThemedParts(S.Bar->Handle());
    SampleNative(S.Bar, S.Box->Handle(), P, native);
    // A class list matching no class: the platform keeps no empty one
    // (Wine cannot make an atom of ""), so "" would leave the theme on.
    SetWindowTheme(S.Bar->Handle(), L" ", L" ");
    PumpMessages();
    SampleLook(S.Bar, P, classic);
    classicParts = ThemedParts(S.Bar->Handle());
    SetWindowTheme(S.Bar->Handle(), nullptr, nullptr);
    PumpMessages();
  }
  const double base = themed.Repaint.Median();
  std::printf(
      "TsTrackBar %dx%d on a group box, full repaint, median of %d rounds x %d x %d "
      "(themes %s)\n",
      S.Bar->Width(), S.Bar->Height(), P.Rounds, P.Batches, P.Calls,
      ThemesEnabled() ? "on" : "off");
  std::printf("  plain themed: %s; plain classic: %s\n", themedParts.c_str(), classicParts.c_str());
  std::printf("  %-22s %11s  %6s   %10s  %s\n", "look", "repaint", "ratio", "cache", "share");
  for (Look* l : {&skinned, &themed, &classic})
    PrintLook(l->What, l->Repaint.Median(), l->Cache.Median(), base);
  PrintLook("native WM_PRINTCLIENT", native.Median(), 0, base);
  std::printf("  skinned / plain themed %.2f (goal <= 1.0)\n", skinned.Repaint.Median() / base);
  const double step = fade.Median();
  std::printf("  fade step              %8.1f us   %5.2f %% of the %.0f ms step\n", step * 1e6,
              100.0 * step / kFadeTick, kFadeTick * 1e3);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const Plan plan = bench::PlanFromArgs(argc, argv, Plan{5, 5, 100}, Plan{1, 3, 20});
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  const test_skin::TempTestSkin skin("trackbar_bench_", test_skin::kSoundVariant, "Tessera");
  const Scene scene = MakeScene(skin.Directory());
  const bool ok = Run(scene, plan);
  TObject::Free(scene.Form);
  PumpMessages();
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return ok ? 0 : 1;
}
