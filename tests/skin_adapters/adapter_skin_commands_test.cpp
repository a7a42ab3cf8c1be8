// What an adapter answers for its window while a skin is active, and that
// a skin removal puts the control back but keeps the adapter (and its
// "VLSBSC" marker) on the window, so the next skin stacks no second one.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "adapter_target.h"
#include "skin/adapters/adapter_base.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_commands.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "test_skin.h"

namespace {

class AdapterSkinCommands : public testing::TestWithParam<TAdapterPath> {
 protected:
  void SetUp() override {
    skin_ = std::make_unique<test_skin::TempTestSkin>("adapters");
    Manager = OwnObject(test_skin::StartSkinManager(nullptr, *skin_));
    PumpMessages();
  }
  void TearDown() override {
    Manager.reset();
    PumpMessages();
    skin_.reset();
  }
  LRESULT Command(HWND Wnd, uint16_t Code, LPARAM LParam) {
    return SendMessageA(Wnd, SkinCommandMessage, SkinCmdParam(Code), LParam);
  }
  TOwnedObject<TsSkinManager> Manager;
  std::unique_ptr<test_skin::TempTestSkin> skin_;
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
