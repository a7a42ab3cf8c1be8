// SendSysEx: exact bytes and header, the two failure boxes, and the bounded
// wait for the driver.
#include "midi_link_fixture.h"

namespace midi_link_test {
namespace {

using midi_link_test::PrintTo;  // table rows print as their names

struct SysExCase {
  const char* Name;
  std::string Message;
};

const SysExCase kMessages[] = {
    // The panel's messages carry a zero in the header and may carry zero values.
    {"ReverbLevel26", Bytes("F0 41 00 42 12 40 01 33 1A F7")},
    {"ReverbTime64", Bytes("F0 41 00 42 12 40 01 34 40 F7")},
    {"ZeroValue", Bytes("F0 41 00 42 12 40 01 3A 00 F7")},
    {"EffectTypeEmptyItem", Bytes("F0 41 00 42 12 40 01 38 08 F7")},
    // The sound-bank requests.
    {"SoundBank1", Bytes("F0 51 7F 00 01 F7")},
    {"SoundBank2", Bytes("F0 52 7F 00 01 F7")},
    {"ZerosToTheEnd", std::string("\xF0\x00\x00\x00\x00\xF7", 6)},
};

class SysExBytesTest : public MidiLinkTest, public ::testing::WithParamInterface<SysExCase> {};

TEST_P(SysExBytesTest, SentWholeWithPlatformHeaderSize) {
  const std::string& message = GetParam().Message;
  Ports("Port A");
  TMidiOutLink link(TPlainBoxKind::ApplicationMessageBox);
  ASSERT_EQ(link.Open(0, FormWindow()), MMSYSERR_NOERROR);
  const int64_t handle = reinterpret_cast<intptr_t>(link.Handle);

  EXPECT_EQ(link.SendSysEx(message), TSysExOutcome::Sent);

  std::vector<Call> calls = Calls(
      {"midiOutPrepareHeader", "midiOutLongMsg", "done", "midiOutUnprepareHeader", "midiOutReset"});
  ASSERT_EQ(calls.size(), 4u) << stub.LogText();
  const char* order[] = {"midiOutPrepareHeader", "midiOutLongMsg", "done",
                         "midiOutUnprepareHeader"};
  for (size_t i = 0; i < calls.size(); ++i) {
    const Call& c = calls[i];
    EXPECT_EQ(c.Function, order[i]);
    EXPECT_EQ(c.Int("handle"), handle);
    EXPECT_EQ(c.Bytes(), message) << c.Function;
    EXPECT_EQ(c.Int("length"), static_cast<int64_t>(message.size())) << c.Function;
    if (c.Function == "done") continue;
    EXPECT_EQ(c.Int("size"), static_cast<int64_t>(sizeof(MIDIHDR))) << c.Function;
    EXPECT_EQ(c.Text("tail"), "00") << "the copy ends in one uncounted zero";
    EXPECT_EQ(c.Int("result"), 0) << c.Function;
  }
  EXPECT_EQ(calls[0].Int("flags"), 0) << "only data, length and zero flags before preparing";
  EXPECT_TRUE(boxes.Boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SysExBytesTest, ::testing::ValuesIn(kMessages),
                         [](const auto& info) { return std::string(info.param.Name); });

// Every failing send shows the same texts through either program's box.
struct FailureCase {
  const char* Name;
  bool OpenPort;  // false: sends on a never opened (null) handle
  const char* Key;
  const char* Value;
  std::vector<std::string> Boxes;
};

const FailureCase kFailures[] = {
    {"NoPortOpen", false, "fail_long", "0", {"Header Not Prepared", "Sysex Data Not Sent"}},
    {"PrepareFails", true, "fail_prepare", "1", {"Header Not Prepared", "Sysex Data Not Sent"}},
    {"LongMessageFails", true, "fail_long", "1", {"Sysex Data Not Sent"}},
};

class SysExFailureTest
    : public MidiLinkTest,
      public ::testing::WithParamInterface<std::tuple<FailureCase, TPlainBoxKind>> {};

TEST_P(SysExFailureTest, BoxesThenUnpreparedWithoutWaiting) {
  const auto& [c, kind] = GetParam();
  Ports("Port A");
  Set(c.Key, c.Value);
  Set("done", "never");  // a wait would run into the time-out and reset
  TMidiOutLink link(kind);
  if (c.OpenPort) {
    ASSERT_EQ(link.Open(0, FormWindow()), MMSYSERR_NOERROR);
  }
  const std::string message = Bytes("F0 41 00 42 12 40 01 33 1A F7");

  EXPECT_EQ(link.SendSysEx(message), TSysExOutcome::NotSent);

  EXPECT_EQ(Texts(boxes.Boxes), c.Boxes);
  for (const TMessageBoxRequest& b : boxes.Boxes) {
    EXPECT_EQ(b.Kind, kind == TPlainBoxKind::ShowMessage ? TMessageBoxKind::ShowMessage
                                                         : TMessageBoxKind::MessageBox);
    EXPECT_EQ(b.Style, static_cast<UINT>(MB_OK)) << "plain box: one OK button, no icon";
  }
  // The message still went to winmm whole; the header was unprepared, and
  // nothing waited or reset.
  std::vector<Call> calls =
      Calls({"midiOutPrepareHeader", "midiOutLongMsg", "midiOutUnprepareHeader", "midiOutReset"});
  ASSERT_EQ(calls.size(), 3u) << stub.LogText();
  EXPECT_EQ(calls[1].Function, "midiOutLongMsg");
  EXPECT_NE(calls[1].Int("result"), 0);
  EXPECT_EQ(calls[2].Function, "midiOutUnprepareHeader");
  for (const Call& call : calls) EXPECT_EQ(call.Bytes(), message);
}

INSTANTIATE_TEST_SUITE_P(Cases, SysExFailureTest,
                         ::testing::Combine(::testing::ValuesIn(kFailures),
                                            ::testing::Values(TPlainBoxKind::ApplicationMessageBox,
                                                              TPlainBoxKind::ShowMessage)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).Name) +
                                  (std::get<1>(info.param) == TPlainBoxKind::ShowMessage
                                       ? "_ShowMessage"
                                       : "_ApplicationMessageBox");
                         });

// The wait for the driver: a late done flag is waited for; one that never
// comes ends in a reset before the header is unprepared; a buffer the driver
// keeps even then is never freed.
struct WaitCase {
  const char* Name;
  const char* Done;  // stand-in's done mode
  DWORD TimeoutMs;   // 0: the link's own default
  TSysExOutcome Outcome;
  DWORD MinMs, MaxMs;  // how long SendSysEx took
  bool Reset;          // midiOutReset before unpreparing
  int UnprepareResult;
};

// Lower bounds allow for a 16 ms tick.
const WaitCase kWaits[] = {
    {"DoneAtOnce", "now", 0, TSysExOutcome::Sent, 0, 500, false, 0},
    {"DoneLate", "150", 0, TSysExOutcome::Sent, 130, 1500, false, 0},
    {"DoneNeverTimesOutAfterTwoSeconds", "never", 0, TSysExOutcome::TimedOut, 1980, 3500, true, 0},
    {"DoneNeverShortTimeOut", "never", 100, TSysExOutcome::TimedOut, 80, 1500, true, 0},
    {"DoneAfterTheTimeOut", "1000", 100, TSysExOutcome::TimedOut, 80, 900, true, 0},
    {"DriverKeepsTheBuffer", "stuck", 100, TSysExOutcome::Abandoned, 80, 1500, true,
     MIDIERR_STILLPLAYING},
};

class SysExWaitTest : public MidiLinkTest, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(SysExWaitTest, BoundedAndNoEarlyFree) {
  const WaitCase& c = GetParam();
  Ports("Port A");
  Set("done", c.Done);
  TMidiOutLink link(TPlainBoxKind::ApplicationMessageBox);
  EXPECT_EQ(link.DoneTimeoutMs, 2000u);
  if (c.TimeoutMs) link.DoneTimeoutMs = c.TimeoutMs;
  ASSERT_EQ(link.Open(0, FormWindow()), MMSYSERR_NOERROR);
  const std::string message = Bytes("F0 52 7F 00 01 F7");

  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(link.SendSysEx(message), c.Outcome);
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_GE(took, c.MinMs);
  EXPECT_LE(took, c.MaxMs);

  std::vector<Call> calls =
      Calls({"midiOutLongMsg", "done", "midiOutReset", "midiOutUnprepareHeader"});
  std::vector<std::string> seen;
  for (const Call& call : calls) seen.push_back(call.Function);
  std::vector<std::string> expected = {"midiOutLongMsg"};
  if (c.Reset) expected.push_back("midiOutReset");
  if (c.Outcome != TSysExOutcome::Abandoned) expected.push_back("done");
  expected.push_back("midiOutUnprepareHeader");
  EXPECT_EQ(seen, expected) << stub.LogText();
  EXPECT_EQ(calls.back().Int("result"), c.UnprepareResult);
  EXPECT_TRUE(boxes.Boxes.empty());

  if (c.Outcome == TSysExOutcome::Abandoned) {
    // The driver finishes later and still finds the header and bytes intact.
    ASSERT_EQ(stub.CompleteQueued(), 1);
    std::vector<Call> done = Calls({"done"});
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].Bytes(), message);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SysExWaitTest, ::testing::ValuesIn(kWaits),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace midi_link_test
