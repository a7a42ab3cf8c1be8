// What the end-to-end tests of the skinned test builds share: the generated
// test skin written where a program under test finds it, the mouse kept
// off the windows, and captures compared within a tolerance.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "temp_test_skin.h"
#include "tests/support/e2e/screen.h"

namespace e2e {

// Where a program finds the skin "Tessera": its folder, or its archive
// alone in the skin directory.
using TSkinSource = test_skin::TempSkinForm;

// The test skin Variant as the skin "Tessera" in a fresh temporary skin
// directory (nothing of an earlier run is found beside it); removed with
// the object.
class TTestSkinFolder {
 public:
  TTestSkinFolder(const std::string& Prefix, const std::string& Variant = test_skin::kSoundVariant,
                  TSkinSource Source = TSkinSource::Folder)
      : skin_(Prefix, Variant, "Tessera", Source) {}

  const std::filesystem::path& Directory() const { return skin_.Directory(); }
  // The skinned programs' command line: the skin directory and the skin's name.
  std::string Arguments() const;

 private:
  test_skin::TempTestSkin skin_;
};

// Somewhere no window of a program under test lies, so that nothing is hot.
void ParkMouse();

// How two captures differ beyond Tolerance per channel: empty when they do
// not, else the count and the first few places.
std::string Differences(const TScreenImage& A, const TScreenImage& B, int Tolerance);

// Polls the window's capture until it matches Want within Tolerance (or the
// time is up); the differences of the last capture, empty when it matched.
std::string AwaitCapture(HWND Wnd, const TScreenImage& Want, int Tolerance, DWORD TimeoutMs);

// A capture once two in a row agree exactly (or the time is up): what the
// window shows after its last repaint.
TScreenImage SteadyCapture(HWND Wnd, DWORD TimeoutMs);

class TProgramUnderTest;

// A skinned program's round trip through the test-only skin switch: off,
// its main window must show Plain again within Tolerance; on again, what it
// showed before. Each capture is saved as "<SaveAs>-off"/"-on". Returns
// what failed, empty when all held.
std::string SkinSwitchRoundTrip(const TProgramUnderTest& Program, const TScreenImage& Plain,
                                int Tolerance, const std::string& SaveAs);

}  // namespace e2e
