// ListMidiOutDevices: one entry per device id, names as the driver reports
// them, failing queries kept as empty entries.
#include "midi_link_fixture.h"

#include "widgets/rtl/classes.h"

namespace midi_link_test {
namespace {

using midi_link_test::PrintTo;  // table rows print as their names

static_assert(sizeof(MIDIOUTCAPSA) == 52, "the ANSI capability record is 52 bytes on both targets");

struct ListCase {
  const char* Name;
  std::string Ports;     // '|'-separated, as VARNEL_MIDI_PORTS
  const char* CapsFail;  // ids whose query fails (the driver scribbles over the record)
  std::vector<std::string> Before;
  std::vector<std::string> Expected;
};

const std::string k32 = "0123456789abcdef0123456789ABCDEF";

const ListCase kListCases[] = {
    {"NoDevices", "", "", {}, {}},
    {"InIdOrder", "Port A|Port B|Port C", "", {}, {"Port A", "Port B", "Port C"}},
    {"EqualNamesKeptByPosition", "Synth|Synth", "", {}, {"Synth", "Synth"}},
    {"FailingQueryKeepsAnEmptyEntry", "Port A|Port B|Port C", "1", {}, {"Port A", "", "Port C"}},
    {"AllQueriesFail", "Port A|Port B", "0,1", {}, {"", ""}},
    {"NameFillingAllThirtyTwoChars", "x|" + k32, "", {}, {"x", k32}},
    {"LongerNameCutAtThirtyTwo", "x|" + k32 + "tail", "", {}, {"x", k32}},
    {"ListNotClearedFirst", "Port A", "", {"earlier"}, {"earlier", "Port A"}},
};

class PortListTest : public MidiLinkTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(PortListTest, OneEntryPerDeviceId) {
  const ListCase& c = GetParam();
  Ports(c.Ports.c_str());
  Set("caps_fail", c.CapsFail);
  TStringList list;
  for (const std::string& s : c.Before) list.Add(s);

  ListMidiOutDevices(list);

  std::vector<std::string> got;
  for (int i = 0; i < list.Count(); ++i) got.push_back(list[i]);
  EXPECT_EQ(got, c.Expected);

  // Every id asked once, in order, with the ANSI record size; nothing opened.
  std::vector<Call> queries = Calls({"midiOutGetDevCapsA"});
  ASSERT_EQ(queries.size(), c.Expected.size() - c.Before.size());
  for (size_t id = 0; id < queries.size(); ++id) {
    EXPECT_EQ(queries[id].Int("id"), static_cast<int64_t>(id));
    EXPECT_EQ(queries[id].Int("size"), 52);
  }
  EXPECT_TRUE(Calls({"midiOutOpen", "midiOutClose"}).empty());
  EXPECT_TRUE(boxes.Boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, PortListTest, ::testing::ValuesIn(kListCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace midi_link_test
