// The real Tobrin.exe under Wine, beside the recording winmm.dll: what a
// user's actions put on the MIDI port, byte for byte.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/e2e/program_under_test.h"

namespace {

using e2e::TProgramUnderTest;
using winmm_stub_client::Call;

constexpr char kTitle[] = "Mirvale Sound Banks test checksum";
const std::string kBank1("\xF0\x51\x7F\x00\x01\xF7", 6);
const std::string kBank2("\xF0\x52\x7F\x00\x01\xF7", 6);

std::vector<Call> Calls(const std::vector<Call>& calls, const char* function) {
  return winmm_stub_client::Only(calls, {function});
}

class TobrinEndToEnd : public testing::Test {
 protected:
  void StartTobrin(const std::string& ports,
                   std::vector<std::pair<std::string, std::string>> more = {}) {
    more.emplace_back("VARNEL_MIDI_PORTS", ports);
    program_ = std::make_unique<TProgramUnderTest>("Tobrin.exe", std::move(more));
    ASSERT_TRUE(program_->Start(kTitle))
        << "Tobrin's window did not appear: " << program_->StartFailure();
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

TEST_F(TobrinEndToEnd, StartUpOpensTheMapperAndListsThePortsUnselected) {
  StartTobrin("Port A|Port B|Port C");
  auto calls = program_->PortCalls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].Function, "midiOutOpen");
  EXPECT_EQ(calls[0].Int("id"), -1);
  EXPECT_EQ(calls[0].Int("flags"), 0);
  EXPECT_EQ(calls[0].Int("instance"), 0);
  EXPECT_EQ(calls[0].Int("callback"), reinterpret_cast<intptr_t>(program_->MainWindow()));
  EXPECT_EQ(calls[0].Int("result"), 0);
  EXPECT_EQ(calls.size(), 1u) << "nothing else reaches the port";
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Port A", "Port B", "Port C"}));
  EXPECT_EQ(SendMessageA(list_, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0), 16);
  EXPECT_TRUE(program_->Boxes().empty());

  RECT client;
  GetClientRect(program_->MainWindow(), &client);
  EXPECT_EQ(client.right, 381);
  EXPECT_EQ(client.bottom, 248);
  EXPECT_TRUE(GetWindowLongPtrA(program_->MainWindow(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(e2e::WindowText(Bank1()), "Snd Bank1 Test");
  EXPECT_EQ(e2e::WindowText(Bank2()), "Snd Bank2 Test");
  EXPECT_EQ(e2e::WindowText(RefreshButton()), "Refresh");
}

TEST_F(TobrinEndToEnd, HasATaskBarButtonAndMinimizesWithIt) {
  StartTobrin("Port A|Port B");
  EXPECT_EQ(e2e::TaskBarRoundTrip(*program_), "");
  EXPECT_EQ(program_->Close(), 0);
}

TEST_F(TobrinEndToEnd, TestButtonsSendTheirSixBytesToTheMapper) {
  StartTobrin("Port A|Port B");
  const std::string mapper = OpenedHandle(program_->PortCalls(), -1);
  struct Case {
    HWND button;
    const std::string& bytes;
  } cases[] = {{Bank1(), kBank1}, {Bank2(), kBank2}, {Bank1(), kBank1}};
  for (const Case& c : cases) {
    Click(c.button);
    ExpectSent(c.bytes, mapper);
  }
}

TEST_F(TobrinEndToEnd, ClickingAnEntryClosesThePortAndOpensThatDevice) {
  StartTobrin("Port A|Port B|Port C");
  const std::string mapper = OpenedHandle(program_->PortCalls(), -1);
  ClickEntry(2);
  EXPECT_EQ(SendMessageA(list_, LB_GETCURSEL, 0, 0), 2);
  auto calls = program_->PortCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Function, "midiOutClose");
  EXPECT_EQ(calls[0].Text("handle"), mapper);
  EXPECT_EQ(calls[0].Int("result"), 0);
  EXPECT_EQ(calls[1].Function, "midiOutOpen");
  EXPECT_EQ(calls[1].Int("id"), 2);
  EXPECT_EQ(calls[1].Int("flags"), 0);
  const std::string port = OpenedHandle(calls, 2);

  Click(Bank2());
  ExpectSent(kBank2, port);
}

TEST_F(TobrinEndToEnd, AfterRefreshNothingIsOpenUntilAnEntryIsClicked) {
  StartTobrin("Port A|Port B");
  ClickEntry(1);
  Click(RefreshButton());
  auto calls = program_->PortCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Function, "midiOutClose");
  EXPECT_EQ(calls[0].Int("result"), 0);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Port A", "Port B"})) << "refilled, not doubled";
  EXPECT_EQ(SendMessageA(list_, LB_GETCURSEL, 0, 0), LB_ERR);

  // The request goes to no port: the sender's two reports, nothing sent.
  Click(Bank1());
  auto longs = Calls(program_->PortCalls(), "midiOutLongMsg");
  ASSERT_EQ(longs.size(), 1u);
  EXPECT_NE(longs[0].Int("result"), 0);
  ExpectBothReports();

  ClickEntry(0);
  const std::string port = OpenedHandle(program_->PortCalls(), 0);
  Click(Bank1());
  ExpectSent(kBank1, port);
}

TEST_F(TobrinEndToEnd, EqualNamesAreKeptApartByPosition) {
  StartTobrin("Synth|Synth|Synth");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Synth", "Synth", "Synth"}));
  for (int entry : {1, 2, 0}) {
    ClickEntry(entry);
    auto opens = Calls(program_->PortCalls(), "midiOutOpen");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].Int("id"), entry);
  }
}

TEST_F(TobrinEndToEnd, WithoutPortsTheListIsEmptyAndTheMapperWasAsked) {
  StartTobrin("");
  EXPECT_TRUE(Entries().empty());
  auto opens = Calls(program_->PortCalls(), "midiOutOpen");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].Int("id"), -1);
  EXPECT_TRUE(program_->Boxes().empty()) << "a failed open is silent";
}

TEST_F(TobrinEndToEnd, AFailedOpenIsSilentAndLaterSendsReportTheirFailure) {
  StartTobrin("Port A|Port B", {{"VARNEL_MIDI_FAIL_OPEN", "1"}});
  ClickEntry(1);
  auto opens = Calls(program_->PortCalls(), "midiOutOpen");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_NE(opens[0].Int("result"), 0);
  EXPECT_TRUE(program_->Boxes().empty());

  Click(Bank2());
  ExpectBothReports();
}

TEST_F(TobrinEndToEnd, ClosingTheFormClosesThePort) {
  StartTobrin("Port A");
  ClickEntry(0);
  const std::string port = OpenedHandle(program_->PortCalls(), 0);
  program_->ClearLogs();
  EXPECT_EQ(program_->Close(), 0);
  auto calls = program_->PortCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Function, "midiOutClose");
  EXPECT_EQ(calls[0].Text("handle"), port);
  EXPECT_EQ(calls[0].Int("result"), 0);
}

}  // namespace
