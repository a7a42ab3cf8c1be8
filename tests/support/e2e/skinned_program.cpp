#include "tests/support/e2e/skinned_program.h"

#include <cstdio>

#include "tests/support/e2e/program_under_test.h"
#include "tests/support/e2e/skin_switch.h"

namespace e2e {

std::string TTestSkinFolder::Arguments() const {
  return "\"" + Directory().string() + "\" " + skin_.Name();
}

void ParkMouse() {
  MouseMoveTo({GetSystemMetrics(SM_CXSCREEN) - 4, GetSystemMetrics(SM_CYSCREEN) - 4});
}

std::string Differences(const TScreenImage& A, const TScreenImage& B, int Tolerance) {
  if (A.Width != B.Width || A.Height != B.Height)
    return "sizes differ: " + std::to_string(A.Width) + "x" + std::to_string(A.Height) + " and " +
           std::to_string(B.Width) + "x" + std::to_string(B.Height);
  std::string first;
  int bad = 0;
  for (int y = 0; y < A.Height; ++y)
    for (int x = 0; x < A.Width; ++x) {
      if (ChannelDistance(A.At(x, y), B.At(x, y)) <= Tolerance || ++bad > 6) continue;
      char line[64];
      snprintf(line, sizeof line, " (%d,%d) %06X/%06X;", x, y, unsigned(A.At(x, y)),
               unsigned(B.At(x, y)));
      first += line;
    }
  return bad ? std::to_string(bad) + " pixels differ:" + first : "";
}

std::string AwaitCapture(HWND Wnd, const TScreenImage& Want, int Tolerance, DWORD TimeoutMs) {
  std::string last;
  PollUntil(TimeoutMs, [&] {
    last = Differences(CaptureWindow(Wnd), Want, Tolerance);
    return last.empty();
  });
  return last;
}

TScreenImage SteadyCapture(HWND Wnd, DWORD TimeoutMs) {
  TScreenImage last = CaptureWindow(Wnd);
  PollUntil(
      TimeoutMs,
      [&] {
        TScreenImage next = CaptureWindow(Wnd);
        const bool same = next.Pixels == last.Pixels && next.Width == last.Width;
        last = std::move(next);
        return same;
      },
      50);
  return last;
}

std::string SkinSwitchRoundTrip(const TProgramUnderTest& Program, const TScreenImage& Plain,
                                int Tolerance, const std::string& SaveAs) {
  // Long enough for a slow machine to repaint every control.
  constexpr DWORD kRepaintMs = 5000;
  HWND main = Program.MainWindow();
  const TScreenImage skinned = SteadyCapture(main, kRepaintMs);
  if (Differences(skinned, Plain, Tolerance).empty()) return "the skin does not show";
  if (!SwitchSkin(Program.ApplicationWindow(), false)) return "the switch off was not answered";
  std::string off = AwaitCapture(main, Plain, Tolerance, kRepaintMs);
  SaveCapture(CaptureWindow(main), SaveAs + "-off");
  if (!off.empty()) return "switched off, the window is not the plain one: " + off;
  if (!SwitchSkin(Program.ApplicationWindow(), true)) return "the switch on was not answered";
  std::string on = AwaitCapture(main, skinned, Tolerance, kRepaintMs);
  SaveCapture(CaptureWindow(main), SaveAs + "-on");
  if (!on.empty()) return "switched on again, the window is not the skinned one: " + on;
  return "";
}

}  // namespace e2e
