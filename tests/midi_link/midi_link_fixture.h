// Shared set-up of the MIDI output link tests: the recording winmm.dll beside
// the test executable (reset before each test) and a message-box sink that
// records instead of showing.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "panel/midi_out_link.h"
#include "tests/support/winmm_stub/winmm_stub_client.h"
#include "widgets/forms/message_box.h"

namespace midi_link_test {

using winmm_stub_client::Call;
using winmm_stub_client::Only;

class RecordingBoxes : public TMessageBoxSink {
 public:
  int Show(const TMessageBoxRequest& Request) override {
    Boxes.push_back(Request);
    if (OnShow) OnShow(Request);
    return IDOK;
  }
  std::vector<TMessageBoxRequest> Boxes;
  std::function<void(const TMessageBoxRequest&)> OnShow;
};

inline void PrintTo(TPlainBoxKind kind, std::ostream* os) {
  *os << (kind == TPlainBoxKind::ShowMessage ? "ShowMessage" : "ApplicationMessageBox");
}

// Table rows print as their names in test output.
template <typename Case>
requires requires(const Case& c) {
  c.Name;
}
void PrintTo(const Case& c, std::ostream* os) {
  *os << c.Name;
}

inline std::vector<std::string> Texts(const std::vector<TMessageBoxRequest>& boxes) {
  std::vector<std::string> texts;
  for (const auto& b : boxes) texts.push_back(b.Text);
  return texts;
}

// "F0 41 00" -> the three bytes.
inline std::string Bytes(const char* hex) {
  std::string out;
  for (const char* p = hex; *p;) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    out += static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16));
    p += 2;
  }
  return out;
}

class MidiLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(stub.Loaded()) << "winmm.dll beside the test is not the recording stand-in "
                                  "(WINEDLLOVERRIDES must hold winmm=n,b)";
    stub.Reset();
    previousSink = SetMessageBoxSink(&boxes);
  }
  void TearDown() override {
    if (stub.Loaded()) stub.CompleteQueued();  // no header stays queued across tests
    SetMessageBoxSink(previousSink);
  }

  void Ports(const char* names) { ASSERT_TRUE(stub.Configure("ports", names)); }
  void Set(const char* key, const char* value) { ASSERT_TRUE(stub.Configure(key, value)); }
  std::vector<Call> Calls(std::vector<std::string> names) const {
    return Only(stub.Calls(), std::move(names));
  }

  static HWND FormWindow() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10abc)); }

  winmm_stub_client::Stub stub;
  RecordingBoxes boxes;
  TMessageBoxSink* previousSink = nullptr;
};

}  // namespace midi_link_test
