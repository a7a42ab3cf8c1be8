// Runs one of the real programs (Varnel.exe, Tobrin.exe) from the test's own
// folder, next to the recording winmm.dll, with boxes and MIDI calls logged
// to files, and finds its windows the way a user sees them.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/winmm_stub/winmm_stub_client.h"

namespace e2e {

struct TBoxLine {
  std::string Kind, Caption, Text, Buttons, Icon, Answer;
};

class TProgramUnderTest {
 public:
  // Extra environment (VARNEL_MIDI_PORTS=..., VARNEL_MIDI_FAIL_OPEN=...).
  TProgramUnderTest(std::string ExeName, std::vector<std::pair<std::string, std::string>> Env);
  ~TProgramUnderTest();

  // Starts the program and waits until its main window (by title) is visible
  // and its message queue idles; false on time-out, with the reason in
  // StartFailure().
  bool Start(const std::string& Title);
  const std::string& StartFailure() const { return startFailure_; }
  // Asks the main window to close and waits for the process to end.
  // Returns the exit code, or -1 when it had to be killed.
  int Close();

  // Command-line arguments after the program's name; set before Start.
  std::string Arguments;

  HWND MainWindow() const { return main_; }
  // The program's hidden application window (class "TApplication", the
  // main window's owner), where messages for the whole program go; null
  // when the main window has no such owner.
  HWND ApplicationWindow() const;
  // Waits until the program has handled everything sent or posted so far.
  void Settle() const;

  std::vector<winmm_stub_client::Call> MidiCalls() const;
  // Only the calls that reach the port (opens, closes, sends).
  std::vector<winmm_stub_client::Call> PortCalls() const;
  std::vector<TBoxLine> Boxes() const;
  // Forgets what was logged so far (the next reads start after it).
  void ClearLogs();

 private:
  std::string exe_;
  std::vector<std::pair<std::string, std::string>> env_;
  std::string midiLog_, boxLog_;
  std::string startFailure_;
  size_t midiSkip_ = 0, boxSkip_ = 0;
  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
};

// The descendant of Root of class ClassName whose position in its parent's
// client area is (Left, Top) and whose parent's text is ParentText (any
// parent when ParentText is null); null when there is none.
HWND FindChild(HWND Root, const char* ParentText, const char* ClassName, int Left, int Top);
// All descendants of the class, in z-order of a depth-first walk.
std::vector<HWND> FindChildren(HWND Root, const char* ClassName);

std::string WindowText(HWND Wnd);

// Checks that a program's face to the shell holds: the main window is owned by
// a visible "TApplication" window of no area, which alone gets the task-bar
// button, and minimizing through the main window's system command takes the
// main window along and restoring through the button brings it back. Returns
// what failed, empty when all holds.
std::string TaskBarRoundTrip(const TProgramUnderTest& Program);

// A user's slider drag released at Pos: the position changes, then the
// parent hears TB_THUMBPOSITION and TB_ENDTRACK, as from a real release.
void DragTrackBarTo(HWND TrackBar, int Pos);
// A user's pick in a drop-down list (the change notification included).
void PickComboItem(HWND Combo, int Index);
void ClickButton(HWND Button);

}  // namespace e2e
