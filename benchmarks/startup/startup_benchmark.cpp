// Varnel's start-up, measured in fresh processes: the program's own units
// and body (the panel form as Varnel.exe builds it), from the entry point to
// the first full paint of the main form, and within it the start-up steps
// of the controls' units that prepare resources the panel never uses
// (captions, combo-edit glyphs, OLE and the shell folder, the system's
// small icons, the pipette cursor), and the default hint template. Prints
// the median of the runs, the share of the steps in it (the goal is at most
// 10 %), each step's own median, and how much of the shell step is the
// platform's own first SHGetFileInfo call, with the share the steps keep
// without it.
//
// Each run is one process: the units start once per process. The parent
// starts itself with --once FILE as many times as asked and reads back
// what each child wrote.
//
//   startup_benchmark.exe [--runs N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "panel/panel_form.h"
#include "panel/program_body.h"
#include "skin/controls/hint_templates.h"
#include "skin/controls/shell_item_ids.h"
#include "skin/controls/startup_steps.h"
#include "skin/engine/vl_utils.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/units.h"

namespace {

constexpr size_t kSteps = StartupResourceUnits.size();

LARGE_INTEGER Frequency;
double Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / double(Frequency.QuadPart);
}

// ---- One run (a child process) ------------------------------------------------

double EntryTime = 0;
double StepTimes[kSteps] = {};
double HintTemplateTime = 0;
double FileInfoTime = 0;
double UnitsDone = 0;
double FirstPaint = 0;
HHOOK MessageHook = nullptr;
HWND Helper = nullptr;
constexpr UINT kPainted = WM_APP + 1;

template <size_t I>
void TimedStep() {
  const double t = Now();
  StartupResourceUnits[I].Initialization();
  StepTimes[I] = Now() - t;
}

// The shell step's own call to the platform, timed on its way through the
// seam the step reaches the shell by.
TSHGetFileInfoA PlatformFileInfo = nullptr;

DWORD_PTR WINAPI TimedFileInfo(LPCSTR Path, DWORD Attributes, SHFILEINFOA* Info, UINT Size,
                               UINT Flags) {
  const double t = Now();
  const DWORD_PTR result = PlatformFileInfo(Path, Attributes, Info, Size, Flags);
  FileInfoTime += Now() - t;
  return result;
}

TSHGetFileInfoA BoundTimedFileInfo() {
  PlatformFileInfo = BoundSHGetFileInfo();
  return PlatformFileInfo ? TimedFileInfo : nullptr;
}

// The default hint template is built inside the controls' unit. Started
// just before that unit, it is timed alone; the unit's own call then only
// counts one more start, and the last shutdown frees the template.
void TimedHintTemplate() {
  const double t = Now();
  AlphaHintsUnit.Initialization();
  HintTemplateTime = Now() - t;
}

template <size_t... I>
std::vector<TUnitInfo> TimedUnits(std::index_sequence<I...>) {
  std::vector<TUnitInfo> units = VarnelUnits();
  void (*const timed[])() = {TimedStep<I>...};
  for (TUnitInfo& u : units)
    for (size_t i = 0; i < kSteps; ++i)
      if (std::strcmp(u.Name, StartupResourceUnits[i].Name) == 0 && u.Initialization)
        u.Initialization = timed[i];
  const auto controls = std::find_if(units.begin(), units.end(), [](const TUnitInfo& u) {
    return std::strcmp(u.Name, "sControls") == 0;
  });
  units.insert(controls, TUnitInfo{"HintTemplate", TimedHintTemplate, AlphaHintsUnit.Finalization});
  // The panel's own unit is the last: the units before it are all done
  // when it starts.
  units.insert(units.end() - 1, TUnitInfo{"Mark", [] { UnitsDone = Now(); }, nullptr});
  return units;
}

// The first paint message taken from the queue for the form: once it is
// handled, whatever else of the window is still invalid is painted at
// once, and the time is taken.
LRESULT CALLBACK GetMessageHook(int Code, WPARAM Remove, LPARAM Msg) {
  auto* msg = reinterpret_cast<MSG*>(Msg);
  if (Code == HC_ACTION && Remove == PM_REMOVE && msg->message == WM_PAINT && Form1 &&
      Form1->HandleAllocated() && FirstPaint == 0 &&
      (msg->hwnd == Form1->Handle() || IsChild(Form1->Handle(), msg->hwnd))) {
    FirstPaint = -1;
    PostMessageA(Helper, kPainted, 0, 0);
  }
  return CallNextHookEx(MessageHook, Code, Remove, Msg);
}

LRESULT CALLBACK HelperProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  if (Msg == kPainted) {
    RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    FirstPaint = Now();
    PostMessageA(Form1->Handle(), WM_CLOSE, 0, 0);
    return 0;
  }
  return DefWindowProcA(Wnd, Msg, W, L);
}

void AfterCreate() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = HelperProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "StartupBenchmarkHelper";
  RegisterClassA(&wc);
  Helper = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                         nullptr);
  MessageHook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
}

void Body() {
  RunVarnelBody(AfterCreate);
}

int RunOnce(const char* OutFile) {
  ShellPlatform.FileInfo = BoundTimedFileInfo;
  const int code = RunProgram(TimedUnits(std::make_index_sequence<kSteps>()), Body);
  if (MessageHook) UnhookWindowsHookEx(MessageHook);
  std::FILE* out = std::fopen(OutFile, "w");
  if (!out) return 3;
  std::fprintf(out, "%.9f %.9f", UnitsDone - EntryTime, FirstPaint - EntryTime);
  for (double t : StepTimes) std::fprintf(out, " %.9f", t);
  std::fprintf(out, " %.9f %.9f\n", HintTemplateTime, FileInfoTime);
  std::fclose(out);
  return FirstPaint > 0 ? code : 4;
}

// ---- The parent ---------------------------------------------------------------

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

bool RunChild(const std::string& Self, const std::string& OutFile, std::vector<double>& Values) {
  std::string cmd = "\"" + Self + "\" --once \"" + OutFile + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  // A run that does not paint within a minute has gone wrong.
  const bool ended = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(pi.hProcess, 5);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (!ended || code != 0) {
    std::printf("run failed (exit code %lu)\n", static_cast<unsigned long>(code));
    return false;
  }
  std::FILE* in = std::fopen(OutFile.c_str(), "r");
  if (!in) return false;
  Values.assign(4 + kSteps, 0);
  bool ok = true;
  for (double& v : Values) ok = ok && std::fscanf(in, "%lf", &v) == 1;
  std::fclose(in);
  return ok;
}

int RunParent(int Runs) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string outFile = std::string(temp) + "startup_benchmark_run.txt";
  std::vector<double> units, paint, steps, share, hint, fileInfo, allShare, withoutShare;
  std::vector<std::vector<double>> perStep(kSteps);
  for (int r = 0; r < Runs; ++r) {
    std::vector<double> v;
    if (!RunChild(self, outFile, v)) return 1;
    double sum = 0;
    for (size_t i = 0; i < kSteps; ++i) {
      perStep[i].push_back(v[2 + i]);
      sum += v[2 + i];
    }
    units.push_back(v[0]);
    paint.push_back(v[1]);
    steps.push_back(sum);
    share.push_back(sum / v[1]);
    const double h = v[2 + kSteps], f = v[3 + kSteps];
    hint.push_back(h);
    fileInfo.push_back(f);
    allShare.push_back((sum + h) / v[1]);
    // As if the platform's call cost nothing: the paint comes sooner too.
    withoutShare.push_back((sum + h - f) / (v[1] - f));
  }
  DeleteFileA(outFile.c_str());
  std::printf("Varnel start-up, median of %d fresh processes (entry point to first full paint)\n",
              Runs);
  std::printf("  time to first paint          %8.2f ms\n", Median(paint) * 1e3);
  std::printf("  all units started after      %8.2f ms\n", Median(units) * 1e3);
  std::printf(
      "  the controls' start-up steps %8.2f ms  = %.1f %% of the time to first paint"
      " (goal <= 10 %%)\n",
      Median(steps) * 1e3, Median(share) * 100);
  for (size_t i = 0; i < kSteps; ++i)
    if (StartupResourceUnits[i].Initialization)
      std::printf("    %-16s %8.3f ms\n", StartupResourceUnits[i].Name, Median(perStep[i]) * 1e3);
  std::printf("  the default hint template    %8.3f ms\n", Median(hint) * 1e3);
  std::printf("  both together                         = %.1f %% of the time to first paint\n",
              Median(allShare) * 100);
  std::printf("  the platform's SHGetFileInfo %8.2f ms  (inside vlShellCtrls)\n",
              Median(fileInfo) * 1e3);
  std::printf("  both together without it              = %.1f %%\n", Median(withoutShare) * 100);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  QueryPerformanceFrequency(&Frequency);
  EntryTime = Now();
  if (__argc >= 3 && std::strcmp(__argv[1], "--once") == 0) return RunOnce(__argv[2]);
  int runs = 15;
  if (__argc >= 3 && std::strcmp(__argv[1], "--runs") == 0)
    runs = std::max(1, std::atoi(__argv[2]));
  return RunParent(runs);
}
