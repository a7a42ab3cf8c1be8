// What an adapter answers for its window while a skin is active, and that
// a skin removal puts the control back but keeps the adapter (and its
// "VLSBSC" marker) on the window, so the next skin stacks no second one.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "adapter_target.h"
#include "skin/adapters/adapter_base.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_commands.h"
#include "test_skin.h"

namespace {

class AdapterSkinCommands : public testing::TestWithParam<TAdapterPath> {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    dir_ = std::filesystem::path(tmp) / ("adapters" + std::to_string(GetCurrentProcessId()));
    test_skin::WriteTestSkin(dir_ / test_skin::kSoundVariant);
    Manager = OwnObject(New<TsSkinManager>(nullptr));
    Manager->SetSkinDirectory(dir_.string());
    Manager->SetSkinName(test_skin::kSoundVariant);
    Manager->SetActive(true);
    PumpMessages();
  }
  void TearDown() override {
    Manager.reset();
    PumpMessages();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  LRESULT Command(HWND Wnd, uint16_t Code, LPARAM LParam) {
    return SendMessageA(Wnd, SkinCommandMessage, SkinCmdParam(Code), LParam);
  }
  TOwnedObject<TsSkinManager> Manager;
  std::filesystem::path dir_;
};

TEST_P(AdapterSkinCommands, AnswersForItsWindow) {
  TAdapterTarget target(GetParam());
  TvlMainWnd* adapter = target.Adapt(nullptr, Manager.get());
  const HWND wnd = target.Wnd();
  ASSERT_TRUE(Manager->Active());
  const std::string edit = "EDIT";
  struct Case {
    const char* name;
    uint16_t code;
    LPARAM lParam;
    LRESULT expected;
  };
  const Case cases[] = {
      {"is skinned", SkinCmdIsSkinned, 0, 1},
      {"adapter", SkinCmdGetAdapter, 0, reinterpret_cast<LRESULT>(adapter)},
      {"skin data", SkinCmdGetSkinData, 0, reinterpret_cast<LRESULT>(adapter->SkinData)},
      {"no section", SkinCmdSetSection, 0, 0},
      {"a section", SkinCmdSetSection, reinterpret_cast<LPARAM>(&edit), 1},
      {"application", SkinCmdGetApplication, 0, reinterpret_cast<LRESULT>(Application)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string before = adapter->SkinData->SkinSection;
    target.ClearLog();
    EXPECT_EQ(Command(wnd, c.code, c.lParam), c.expected);
    EXPECT_EQ(target.Count(SkinCommandMessage), 0) << "answered by the adapter";
    if (c.code == SkinCmdSetSection) {
      EXPECT_EQ(adapter->SkinData->SkinSection, c.lParam ? edit : before);
    }
  }

  target.ClearLog();
  Command(wnd, SkinCmdRemoveSkin, reinterpret_cast<LPARAM>(Manager.get()));
  EXPECT_EQ(target.Count(SkinCommandMessage), 1) << "passed on after the control is put back";
  EXPECT_EQ(GetWindowAdapter(wnd), adapter) << "the marker stays while the subclass stays";
  EXPECT_FALSE(GetPropA(wnd, "VLSDATA"));
  EXPECT_FALSE(target.ProcedureIsOwn());

  Manager->SetActive(false);
  target.ClearLog();
  Command(wnd, SkinCmdIsSkinned, 0);
  EXPECT_EQ(target.Count(SkinCommandMessage), 1) << "without an active skin it passes on";
  ReleaseWndAdapter(wnd, true, false, adapter);
  EXPECT_TRUE(target.ProcedureIsOwn());
}

INSTANTIATE_TEST_SUITE_P(Paths, AdapterSkinCommands,
                         testing::Values(TAdapterPath::Plain, TAdapterPath::Control), PathName);

}  // namespace
