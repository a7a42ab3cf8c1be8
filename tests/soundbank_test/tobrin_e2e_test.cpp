// The real Tobrin.exe under Wine, beside the recording winmm.dll: what a
// user's actions put on the MIDI port, byte for byte.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/soundbank_test/tobrin_e2e_fixture.h"

namespace {

using namespace tobrin_e2e;

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
