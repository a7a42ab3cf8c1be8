// What the panel's end-to-end tests share: the MIDI words and System
// Exclusive messages the panel sends, and a fixture that runs one of the
// panel's programs (Varnel.exe, or its skinned test build) and finds its
// controls where the form places them.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/e2e/program_under_test.h"

namespace panel_e2e {

using winmm_stub_client::Call;

inline std::string Sysex(std::initializer_list<int> tail) {
  std::string s("\xF0\x41\x00\x42\x12\x40\x01", 7);
  for (int b : tail) s += static_cast<char>(b);
  s += '\xF7';
  return s;
}

inline std::vector<DWORD> ShortWords(const std::vector<Call>& calls) {
  std::vector<DWORD> out;
  for (const Call& c : calls)
    if (c.Function == "midiOutShortMsg") out.push_back(static_cast<DWORD>(c.Int("msg")));
  return out;
}

inline std::vector<std::string> SysexMessages(const std::vector<Call>& calls) {
  std::vector<std::string> out;
  for (const Call& c : calls)
    if (c.Function == "midiOutLongMsg") out.push_back(c.Bytes());
  return out;
}

inline std::vector<DWORD> Nrpn(int lsb, int value) {
  return {0x3763B0u, 0x0062B0u | (DWORD(lsb) << 16), 0x0006B0u | (DWORD(value) << 16)};
}

using TEnvironment = std::vector<std::pair<std::string, std::string>>;

inline TEnvironment TwoPorts() {
  return {{"VARNEL_MIDI_PORTS", "Port A|Port B"}};
}

// The window classes of the panel's value boxes and drop-down lists.
inline constexpr const char* kBoxClass = "TsEdit";
inline constexpr const char* kListClass = "TsComboBox";

// Where the form places each slider: its group box and position there.
struct TSliderPlace {
  const char* Group;
  int Left, Top;
};

inline constexpr TSliderPlace kEqSliders[] = {
    {"EQ", 55, 25}, {"EQ", 55, 61}, {"EQ", 55, 97}, {"EQ", 55, 134}};
inline constexpr TSliderPlace kSliders[] = {
    {"EQ", 55, 25},      {"EQ", 55, 61},     {"EQ", 55, 97},     {"EQ", 55, 134},
    {"Reverb", 49, 51},  {"Reverb", 49, 90}, {"Effect", 47, 43}, {"Effect", 47, 80},
    {"Effect", 48, 118}, {"3D", 55, 25},     {"3D", 55, 66}};

class PanelEndToEnd : public ::testing::Test {
 protected:
  void StartPanel(TEnvironment env = TwoPorts(), std::string arguments = "",
                  const char* exe = "Varnel.exe") {
    program_ = std::make_unique<e2e::TProgramUnderTest>(exe, std::move(env));
    program_->Arguments = std::move(arguments);
    ASSERT_TRUE(program_->Start("Varnel"))
        << exe << ": the panel's window did not appear: " << program_->StartFailure();
  }
  HWND Control(const char* group, const char* cls, int left, int top) {
    HWND w = e2e::FindChild(program_->MainWindow(), group, cls, left, top);
    EXPECT_TRUE(w) << cls << " at " << left << "," << top << " in " << (group ? group : "?");
    return w;
  }
  HWND Slider(const char* group, int left, int top) {
    return Control(group, "TsTrackBar", left, top);
  }
  HWND Slider(const TSliderPlace& p) { return Slider(p.Group, p.Left, p.Top); }
  std::string BoxText(const char* group, int left, int top) {
    return e2e::WindowText(Box(group, left, top));
  }
  HWND Box(const char* group, int left, int top) { return Control(group, kBoxClass, left, top); }
  HWND List(const char* group, int left, int top) { return Control(group, kListClass, left, top); }
  HWND EqButton() { return Control("EQ", "TsButton", 27, 173); }
  HWND ThreeDButton() { return Control("3D", "TsButton", 27, 104); }
  void TearDown() override {
    if (program_) program_->Close();
  }
  std::unique_ptr<e2e::TProgramUnderTest> program_;
};

}  // namespace panel_e2e
