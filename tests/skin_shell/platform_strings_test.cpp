// The platform strings of the start-up steps read through a loader of the
// test's own: which library and string each step asks for, the fall-back of
// the calendar caption, and that every loaded library is freed.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "skin/controls/startup_steps.h"

namespace {

struct TFakeLibraries {
  // Library name -> its strings; a name missing here does not load.
  std::map<std::string, std::map<UINT, std::string>> Tables;
  std::vector<std::string> Loaded;
  std::vector<std::string> Freed;
  std::vector<UINT> Read;
};
TFakeLibraries Fake;

HMODULE FakeLoad(const char* Name) {
  auto it = Fake.Tables.find(Name);
  if (it == Fake.Tables.end()) return nullptr;
  Fake.Loaded.push_back(Name);
  // The handle points at the table's name.
  return reinterpret_cast<HMODULE>(const_cast<std::string*>(&it->first));
}

std::string FakeRead(HMODULE Module, UINT Id) {
  Fake.Read.push_back(Id);
  const auto& table = Fake.Tables.at(*reinterpret_cast<const std::string*>(Module));
  auto it = table.find(Id);
  return it == table.end() ? std::string() : it->second;
}

void FakeFree(HMODULE Module) {
  Fake.Freed.push_back(*reinterpret_cast<const std::string*>(Module));
}

// Runs the steps that read platform strings with the fake loader.
class PlatformStrings_ : public testing::Test {
 protected:
  void SetUp() override {
    Fake = TFakeLibraries{};
    saved_ = PlatformStrings;
    PlatformStrings = {FakeLoad, FakeRead, FakeFree};
  }
  void TearDown() override { PlatformStrings = saved_; }
  static void RunSteps() {
    InitializeStartupResourceUnits();
    captions_ = User32Captions;
    today_ = TodayCaption;
    FinalizeStartupResourceUnits();
  }
  TPlatformStringLoader saved_{};
  static inline std::array<std::string, 2> captions_;
  static inline std::string today_;
};

TEST_F(PlatformStrings_, TodayCaptionFallsBackWhenTheLibraryOrItsStringIsMissing) {
  struct Case {
    const char* Name;
    bool Loads;
    const char* Text;  // null: the table lacks string 4163
    const char* Caption;
  };
  const Case cases[] = {
      {"the library's own text", true, "Heute:", "Heute:"},
      {"an empty string", true, "", "Today: "},
      {"no such string", true, nullptr, "Today: "},
      {"no library", false, nullptr, "Today: "},
  };
  for (const Case& c : cases) {
    Fake = TFakeLibraries{};
    if (c.Loads) {
      Fake.Tables["comctl32.dll"] = {};
      if (c.Text) Fake.Tables["comctl32.dll"][4163] = c.Text;
    }
    RunSteps();
    EXPECT_EQ(today_, c.Caption) << c.Name;
    EXPECT_EQ(Fake.Freed, Fake.Loaded) << c.Name;
  }
}

TEST_F(PlatformStrings_, User32CaptionsAreStrings905And900InThisOrder) {
  struct Case {
    const char* Name;
    bool Loads;
    std::array<std::string, 2> Captions;
  };
  const Case cases[] = {{"loads", true, {"Close it", "Minimise it"}},
                        {"does not load", false, {"", ""}}};
  for (const Case& c : cases) {
    Fake = TFakeLibraries{};
    if (c.Loads) Fake.Tables["User32"] = {{905, "Close it"}, {900, "Minimise it"}};
    Fake.Tables["comctl32.dll"] = {};
    RunSteps();
    EXPECT_EQ(captions_, c.Captions) << c.Name;
    // User32 is asked first, by that name, for 905 then 900; comctl32 next.
    const std::vector<UINT> reads =
        c.Loads ? std::vector<UINT>{905, 900, 4163} : std::vector<UINT>{4163};
    EXPECT_EQ(Fake.Read, reads) << c.Name;
    EXPECT_EQ(Fake.Freed, Fake.Loaded) << c.Name;
  }
}

TEST(PlatformStringsSystem, TheSystemLoaderGivesACalendarCaption) {
  InitializeStartupResourceUnits();
  const std::string today = TodayCaption;
  FinalizeStartupResourceUnits();
  EXPECT_FALSE(today.empty());
}

}  // namespace
