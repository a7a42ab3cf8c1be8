// Opening, closing and changing the port: the fall-back to LastGoodPort and
// the handle that is forgotten after a close or a failed open.
#include "midi_link_fixture.h"

namespace midi_link_test {
namespace {

using midi_link_test::PrintTo;  // table rows print as their names

constexpr char kPortInUse[] = "MIDI Device is already use in another App";

TEST_F(MidiLinkTest, OpenPassesDeviceFormWindowAndNoCallback) {
  Ports("Port A|Port B");
  TMidiOutLink link(TPlainBoxKind::ApplicationMessageBox);
  EXPECT_EQ(link.Open(-1, FormWindow()), MMSYSERR_NOERROR);
  EXPECT_EQ(link.Open(1, FormWindow()), MMSYSERR_NOERROR);
  std::vector<Call> opens = Calls({"midiOutOpen"});
  ASSERT_EQ(opens.size(), 2u);
  EXPECT_EQ(opens[0].Int("id"), -1) << "the MIDI mapper";
  EXPECT_EQ(opens[1].Int("id"), 1);
  for (const Call& c : opens) {
    EXPECT_EQ(c.Int("callback"), reinterpret_cast<intptr_t>(FormWindow()));
    EXPECT_EQ(c.Int("instance"), 0);
    EXPECT_EQ(c.Int("flags"), CALLBACK_NULL);
  }
  EXPECT_EQ(reinterpret_cast<intptr_t>(link.Handle), opens[1].Int("handle"));
}

// After a close or a failed open no stale handle reaches winmm: every later
// call carries the null handle and fails as on a closed port, with the same
// boxes for System Exclusive messages and silence for short ones.
struct ForgetCase {
  const char* Name;
  bool OpenFirst;
  bool CloseThenFailOpen;
};

const ForgetCase kForgetCases[] = {
    {"AfterClose", true, false},
    {"AfterFailedOpenThatWroteJunk", false, true},
    {"AfterCloseAndFailedOpen", true, true},
};

class ForgetHandleTest : public MidiLinkTest, public ::testing::WithParamInterface<ForgetCase> {};

TEST_P(ForgetHandleTest, LaterCallsCarryNullHandle) {
  const ForgetCase& c = GetParam();
  Ports("Port A|Port B");
  Set("fail_open", "1");
  Set("junk_on_failed_open", "1");
  TMidiOutLink link(TPlainBoxKind::ShowMessage);
  if (c.OpenFirst) {
    ASSERT_EQ(link.Open(0, FormWindow()), MMSYSERR_NOERROR);
    link.Close();
  }
  if (c.CloseThenFailOpen) {
    EXPECT_EQ(link.Open(1, FormWindow()), MMSYSERR_ALLOCATED);
  }
  EXPECT_EQ(link.Handle, nullptr);

  stub.Reset();  // forget the set-up calls; the stand-in keeps no port open now
  link.ShortMsg(0x3763B0);
  EXPECT_TRUE(boxes.Boxes.empty()) << "short messages fail silently";
  EXPECT_EQ(link.SendSysEx(Bytes("F0 51 7F 00 01 F7")), TSysExOutcome::NotSent);
  EXPECT_EQ(Texts(boxes.Boxes),
            (std::vector<std::string>{"Header Not Prepared", "Sysex Data Not Sent"}));
  link.Close();
  std::vector<Call> calls = stub.Calls();
  ASSERT_EQ(calls.size(), 5u) << stub.LogText();
  for (const Call& call : calls) EXPECT_EQ(call.Int("handle"), 0) << call.Function;
  EXPECT_EQ(calls[0].Int("msg"), 0x3763B0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ForgetHandleTest, ::testing::ValuesIn(kForgetCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// The port list's change event, from the start state (the mapper open).
struct ChangeCase {
  const char* Name;
  const char* FailOpen;
  std::vector<int32_t> Choices;   // item indices chosen one after the other
  std::vector<int64_t> Opens;     // device ids opened by the changes, in order
  std::vector<bool> Results;      // ChangePort's answer per choice
  std::vector<int32_t> Selected;  // entries the link selected from code
  int Boxes;                      // "already in use" boxes
  int32_t LastGoodPort;
  int64_t OpenAtEnd;  // device open at the end; -2: none
};

const ChangeCase kChangeCases[] = {
    {"Succeeds", "", {1}, {1}, {true}, {}, 0, 1, 1},
    {"FirstChangeFailsFallsBackToDeviceZeroNotMapper", "2", {2}, {2, 0}, {false}, {0}, 1, 0, 0},
    {"FallBackFailsTooNothingMoreShown", "0,2", {2}, {2, 0}, {false}, {0}, 1, 0, -2},
    {"FallsBackToLastGoodPort", "2", {1, 2}, {1, 2, 1}, {true, false}, {1}, 1, 1, 1},
    {"SameEntryClosedAndOpenedAgain", "", {1, 1}, {1, 1}, {true, true}, {}, 0, 1, 1},
    {"ChangeAfterLostPortSucceeds", "0,2", {2, 1}, {2, 0, 1}, {false, true}, {0}, 1, 1, 1},
};

class PortChangeTest : public MidiLinkTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(PortChangeTest, FallsBackToLastGoodPort) {
  const ChangeCase& c = GetParam();
  Ports("Port A|Port B|Port C");
  Set("fail_open", c.FailOpen);
  TMidiOutLink link(TPlainBoxKind::ApplicationMessageBox);
  link.Open(-1, FormWindow());
  const int64_t mapper = reinterpret_cast<intptr_t>(link.Handle);
  ASSERT_NE(mapper, 0);

  std::vector<int32_t> selected;
  boxes.OnShow = [&](const TMessageBoxRequest&) {
    EXPECT_TRUE(selected.size() < boxes.Boxes.size()) << "the box comes before the selection";
  };
  std::vector<bool> results;
  for (int32_t choice : c.Choices) {
    size_t opensBefore = Calls({"midiOutOpen"}).size();
    results.push_back(link.ChangePort(choice, FormWindow(), [&](int32_t entry) {
      selected.push_back(entry);
      // Selected after the failed open and before the fall-back open.
      EXPECT_EQ(Calls({"midiOutOpen"}).size(), opensBefore + 1);
    }));
  }

  EXPECT_EQ(results, c.Results);
  EXPECT_EQ(selected, c.Selected);
  EXPECT_EQ(link.LastGoodPort, c.LastGoodPort);
  ASSERT_EQ(static_cast<int>(boxes.Boxes.size()), c.Boxes);
  for (const TMessageBoxRequest& b : boxes.Boxes) {
    EXPECT_EQ(b.Kind, TMessageBoxKind::MessageBox);
    EXPECT_EQ(b.Text, kPortInUse);
    EXPECT_EQ(b.Style, static_cast<UINT>(MB_OK | MB_ICONERROR));
  }

  std::vector<Call> calls = Calls({"midiOutOpen", "midiOutClose"});
  std::vector<int64_t> opens;
  for (size_t i = 1; i < calls.size(); ++i)
    if (calls[i].Function == "midiOutOpen") opens.push_back(calls[i].Int("id"));
  EXPECT_EQ(opens, c.Opens);
  // Each change starts by closing what was open: first the mapper.
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[1].Function, "midiOutClose");
  EXPECT_EQ(calls[1].Int("handle"), mapper);

  if (c.OpenAtEnd == -2) {
    EXPECT_EQ(link.Handle, nullptr);
  } else {
    const Call& last = Calls({"midiOutOpen"}).back();
    EXPECT_EQ(last.Int("id"), c.OpenAtEnd);
    EXPECT_EQ(last.Int("result"), 0);
    EXPECT_EQ(reinterpret_cast<intptr_t>(link.Handle), last.Int("handle"));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PortChangeTest, ::testing::ValuesIn(kChangeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace midi_link_test
