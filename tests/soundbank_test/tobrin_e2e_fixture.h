// What Tobrin's end-to-end tests share: the two requests' bytes and a
// fixture that runs Tobrin.exe (or its skinned test build) beside the
// recording winmm.dll and acts on its form as a user does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/e2e/program_under_test.h"

namespace tobrin_e2e {

using e2e::TProgramUnderTest;
using winmm_stub_client::Call;

inline constexpr char kTitle[] = "Mirvale Sound Banks test checksum";
inline const std::string kBank1("\xF0\x51\x7F\x00\x01\xF7", 6);
inline const std::string kBank2("\xF0\x52\x7F\x00\x01\xF7", 6);

inline std::vector<Call> Calls(const std::vector<Call>& calls, const char* function) {
  return winmm_stub_client::Only(calls, {function});
}

class TobrinEndToEnd : public testing::Test {
 protected:
  // Starts Exe (Tobrin.exe, or its skinned test build with the skin's
  // folder and name as Arguments) with the given MIDI ports.
  void StartTobrin(const std::string& ports,
                   std::vector<std::pair<std::string, std::string>> more = {},
                   const char* exe = "Tobrin.exe", std::string arguments = "") {
    more.emplace_back("VARNEL_MIDI_PORTS", ports);
    program_ = std::make_unique<TProgramUnderTest>(exe, std::move(more));
    program_->Arguments = std::move(arguments);
    ASSERT_TRUE(program_->Start(kTitle))
        << exe << ": Tobrin's window did not appear: " << program_->StartFailure();
    auto boxes = e2e::FindChildren(program_->MainWindow(), "TsListBox");
    ASSERT_EQ(boxes.size(), 1u);
    list_ = boxes[0];
  }
  void TearDown() override {
    if (program_) program_->Close();
  }

  HWND Button(const char* group, int left, int top) {
    HWND w = e2e::FindChild(program_->MainWindow(), group, "TBitBtn", left, top);
    EXPECT_TRUE(w) << "button at " << left << "," << top;
    return w;
  }
  HWND Bank1() { return Button("Test", 32, 32); }
  HWND Bank2() { return Button("Test", 32, 96); }
  HWND RefreshButton() { return Button("Controls", 232, 167); }

  void Click(HWND button) {
    program_->ClearLogs();
    e2e::ClickButton(button);
    program_->Settle();
  }
  // A user's click on entry Index (the list is not scrolled).
  void ClickEntry(int Index) {
    program_->ClearLogs();
    const int h = static_cast<int>(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM at = MAKELPARAM(10, Index * h + h / 2);
    PostMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list_, WM_LBUTTONUP, 0, at);
    program_->Settle();
  }
  // Read through the wide message: across processes the platform hands
  // the narrow one wide characters.
  std::vector<std::string> Entries() {
    std::vector<std::string> out;
    const auto n = SendMessageW(list_, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      wchar_t wide[256] = {};
      SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
      char text[256] = {};
      WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
      out.emplace_back(text);
    }
    return out;
  }
  // The one long message of the last action, checked to the byte.
  void ExpectSent(const std::string& bytes, const std::string& handle) {
    auto longs = Calls(program_->PortCalls(), "midiOutLongMsg");
    ASSERT_EQ(longs.size(), 1u);
    EXPECT_EQ(longs[0].Bytes(), bytes);
    EXPECT_EQ(longs[0].Int("length"), 6);
    EXPECT_EQ(longs[0].Text("tail"), "00") << "the copy keeps a zero after the message";
    EXPECT_EQ(longs[0].Int("result"), 0);
    EXPECT_EQ(longs[0].Text("handle"), handle);
    EXPECT_TRUE(program_->Boxes().empty());
  }
  // The sender's two reports of a request that reached no port, shown the
  // way this program shows plain notices.
  void ExpectBothReports() {
    auto boxes = program_->Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Text, "Header Not Prepared");
    EXPECT_EQ(boxes[1].Text, "Sysex Data Not Sent");
    for (const auto& box : boxes) EXPECT_EQ(box.Kind, "ShowMessage");
  }
  std::string OpenedHandle(const std::vector<Call>& calls, int64_t id) {
    for (const Call& c : Calls(calls, "midiOutOpen"))
      if (c.Int("id") == id && c.Int("result") == 0) return c.Text("handle");
    ADD_FAILURE() << "device " << id << " was not opened";
    return {};
  }

  std::unique_ptr<TProgramUnderTest> program_;
  HWND list_ = nullptr;
};

}  // namespace tobrin_e2e
