// The stand-in as the real programs meet it: configured only through the
// environment and logging to a file (end-to-end tests read that file).
#include "midi_link_fixture.h"

#include <fstream>
#include <sstream>

#include "widgets/rtl/classes.h"

namespace midi_link_test {
namespace {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    SetEnvironmentVariableA(name, value.c_str());
  }
  ~ScopedEnv() { SetEnvironmentVariableA(name_, nullptr); }

 private:
  const char* name_;
};

TEST_F(MidiLinkTest, EnvironmentConfiguresAndLogFileMatchesMemory) {
  char dir[MAX_PATH], path[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, dir), 0u);
  ASSERT_NE(GetTempFileNameA(dir, "mid", 0, path), 0u);
  DeleteFileA(path);
  {
    ScopedEnv ports("VARNEL_MIDI_PORTS", "Env One|Env Two");
    ScopedEnv failOpen("VARNEL_MIDI_FAIL_OPEN", "mapper");
    ScopedEnv log("VARNEL_MIDI_LOG", path);
    stub.Reset();  // reads the environment again, as at load

    TStringList list;
    ListMidiOutDevices(list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[1], "Env Two");
    TMidiOutLink link(TPlainBoxKind::ApplicationMessageBox);
    EXPECT_EQ(link.Open(-1, FormWindow()), MMSYSERR_ALLOCATED);
    EXPECT_EQ(link.Open(1, FormWindow()), MMSYSERR_NOERROR);
    link.ShortMsg(0x0306B0);
    link.Close();
  }
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  file.close();
  DeleteFileA(path);
  EXPECT_EQ(text.str(), stub.LogText());
  std::vector<Call> calls = winmm_stub_client::ParseLog(text.str());
  ASSERT_EQ(calls.size(), 7u) << text.str();
  EXPECT_EQ(calls[2].Text("name"), "Env Two") << "names run to the end of the line";
  EXPECT_EQ(calls[5].Int("msg"), 0x0306B0);

  stub.Reset();  // the variables are gone: back to no ports, no log file
  TStringList none;
  ListMidiOutDevices(none);
  EXPECT_EQ(none.Count(), 0);
}

}  // namespace
}  // namespace midi_link_test
