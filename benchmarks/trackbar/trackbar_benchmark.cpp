// One TsTrackBar of 137 x 37 (Max 127, Frequency 12, Position 26) on a group
// box on a form, repainted in full again and again (the cache rebuilt and
// copied to the window, painted at once), in four looks measured in the same
// run: skinned with the generated test skin, plain themed (manager
// inactive), plain classic (the theme switched off for the bar) and the
// common control's own WM_PRINTCLIENT paint into a memory DC. Prints the
// median time per repaint of each, their ratios to the plain themed look
// (the goal for the skinned one is at most 1.0), and the time of one
// cross-fade step as a share of the 10 ms the fade timer gives it.
//
//   trackbar_benchmark.exe [--quick]
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "skin/controls/track_bar.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/common_data.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_units.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "test_skin.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/units.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kFullRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW;
constexpr double kFadeTick = 10e-3;  // the fade timer's interval

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Median over Batches of the time per call of Work, each batch Calls calls
// long, after a warm-up that fills the caches a first paint builds.
double MedianPerCall(int Batches, int Calls, const std::function<void()>& Work) {
  for (int i = 0; i < Calls / 4 + 1; ++i) Work();
  std::vector<double> times;
  for (int b = 0; b < Batches; ++b) {
    const auto start = Clock::now();
    for (int i = 0; i < Calls; ++i) Work();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count() / Calls);
  }
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  return times[times.size() / 2];
}

// Counts the bar's face rebuilds: every look runs OnSkinPaint once per cache.
int facePaints = 0;
void CountFacePaint(void*, TObject*, TCanvas*) {
  ++facePaints;
}

// The cache alone, built as the paint builds it, without the window road.
double MeasureCache(TsTrackBar* Bar, int Batches, int Calls) {
  return MedianPerCall(Batches, Calls, [&] {
    Bar->SkinData()->BgChanged = true;
    Bar->PrepareCache();
  });
}

struct Scene {
  TForm* Form = nullptr;
  TGroupBox* Box = nullptr;
  TsTrackBar* Bar = nullptr;
};

Scene MakeScene() {
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
  s.Form->Show();
  PumpMessages();
  return s;
}

// One full repaint of the bar through its own road: cache marked stale,
// the whole window invalidated and painted before the call returns.
double MeasureBar(TsTrackBar* Bar, int Batches, int Calls, const char* Look) {
  const HWND h = Bar->Handle();
  facePaints = 0;
  const double t = MedianPerCall(Batches, Calls, [&] {
    Bar->SkinData()->BgChanged = true;
    RedrawWindow(h, nullptr, nullptr, kFullRepaint);
  });
  const int expected = (Calls / 4 + 1) + Batches * Calls;
  if (facePaints != expected)
    std::printf("  (%s: %d face paints for %d repaints)\n", Look, facePaints, expected);
  return t;
}

// The common control alone: a window of the same class, styles and values
// as the bar's, asked to print its client area into a memory DC.
double MeasureNative(TsTrackBar* Bar, HWND Parent, int Batches, int Calls) {
  const HWND own = Bar->Handle();
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(own, GWL_STYLE));
  const HWND h = CreateWindowExW(0, TRACKBAR_CLASSW, L"", style, 12, 100, Bar->Width(),
                                 Bar->Height(), Parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!h) return 0;
  SendMessageW(h, TBM_SETTHUMBLENGTH, SendMessageW(own, TBM_GETTHUMBLENGTH, 0, 0), 0);
  SendMessageW(h, TBM_SETRANGEMIN, FALSE, SendMessageW(own, TBM_GETRANGEMIN, 0, 0));
  SendMessageW(h, TBM_SETRANGEMAX, FALSE, SendMessageW(own, TBM_GETRANGEMAX, 0, 0));
  SendMessageW(h, TBM_SETTICFREQ, 12, 0);
  SendMessageW(h, TBM_SETPOS, TRUE, SendMessageW(own, TBM_GETPOS, 0, 0));
  PumpMessages();
  const TOwnedObject<TBitmap> target = OwnObject(NewArgbBitmap(Bar->Width(), Bar->Height()));
  const HDC dc = target->Canvas()->Handle();
  const double t = MedianPerCall(Batches, Calls, [&] {
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  });
  DestroyWindow(h);
  return t;
}

// One step of a cross-fade from the bar's look to itself, as the fade
// timer runs it every 10 ms: old image copied, new one blended over it at
// a middle level, the result copied to the window.
double MeasureFadeStep(TsTrackBar* Bar, int Batches, int Calls) {
  TsCommonData* data = Bar->SkinData();
  data->SkinManager()->Effects()->SetAllowAnimation(true);
  RedrawWindow(Bar->Handle(), nullptr, nullptr, kFullRepaint);
  data->BgChanged = false;
  RepaintWithFade(data, 2, FadeStep, true, false, false);
  TvlThreadedTimer* t = data->AnimTimer;
  if (!t || t->Kind != 2) {
    std::printf("  (the fade did not start)\n");
    return 0;
  }
  const double step = MedianPerCall(Batches, Calls, [&] {
    t->Value = 127.5;
    FadeStep(data, t->CurrentStep);
  });
  StopAnimation(data);
  PumpMessages();
  return step;
}

// The time per full repaint, and of the cache build inside it (0 where
// the look has no cache of the library's).
struct Look {
  const char* What;
  double Repaint = 0, Cache = 0;
};

void PrintLook(const Look& L, double Themed) {
  std::printf("  %-22s %8.1f us  %5.2fx", L.What, L.Repaint * 1e6,
              L.Repaint / std::max(Themed, 1e-12));
  if (L.Cache > 0)
    std::printf("   cache %7.1f us (%4.1f %%)", L.Cache * 1e6, 100.0 * L.Cache / L.Repaint);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const int batches = quick ? 3 : 15;
  const int calls = quick ? 20 : 200;
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::filesystem::path root =
      std::filesystem::path(temp) / ("trackbar_bench_" + std::to_string(GetCurrentProcessId()));
  test_skin::WriteTestSkin(root / "Tessera", test_skin::kSoundVariant);

  const Scene scene = MakeScene();
  TsSkinManager* manager = New<TsSkinManager>(scene.Form);
  manager->SetSkinDirectory(root.string());
  manager->SetSkinName("Tessera");
  manager->SetActive(true);
  PumpMessages();
  if (!scene.Bar->SkinData()->Skinned()) {
    std::printf("the test skin did not load\n");
  } else {
    Look skinned{"skinned (Tessera)"};
    skinned.Repaint = MeasureBar(scene.Bar, batches, calls, skinned.What);
    skinned.Cache = MeasureCache(scene.Bar, batches, calls);
    const double fade = MeasureFadeStep(scene.Bar, batches, calls);

    manager->SetActive(false);
    PumpMessages();
    Look themed{"plain themed"};
    themed.Repaint = MeasureBar(scene.Bar, batches, calls, themed.What);
    themed.Cache = MeasureCache(scene.Bar, batches, calls);
    Look native{"native WM_PRINTCLIENT"};
    native.Repaint = MeasureNative(scene.Bar, scene.Box->Handle(), batches, calls);

    SetWindowTheme(scene.Bar->Handle(), L"", L"");
    PumpMessages();
    Look classic{"plain classic"};
    classic.Repaint = MeasureBar(scene.Bar, batches, calls, classic.What);
    classic.Cache = MeasureCache(scene.Bar, batches, calls);

    std::printf("TsTrackBar %dx%d on a group box, full repaint, median of %d x %d (themes %s)\n",
                scene.Bar->Width(), scene.Bar->Height(), batches, calls,
                ThemesEnabled() ? "on" : "off");
    std::printf("  %-22s %11s  %5s   %s\n", "look", "repaint", "ratio", "cache build (share)");
    for (const Look& l : {skinned, themed, classic, native}) PrintLook(l, themed.Repaint);
    std::printf("  skinned / plain themed %.2f (goal <= 1.0)\n", skinned.Repaint / themed.Repaint);
    std::printf("  fade step              %8.1f us   %5.1f %% of the %.0f ms step\n", fade * 1e6,
                100.0 * fade / kFadeTick, kFadeTick * 1e3);
  }
  TObject::Free(scene.Form);
  PumpMessages();
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return 0;
}
