// The class table: every adapter class the unit knows is found by its
// exact name and builds an adapter of that class.
#include <gtest/gtest.h>

#include "skin/adapters/adapter_base.h"
#include "skin/adapters/stand_in_adapters.h"
#include "tests/support/adapter_windows.h"

TEST(AdapterClasses, FoundByExactNameAndBuildTheirClass) {
  struct Case {
    const char* name;
    const TvlAdapterClass* expected;
  };
  const Case cases[] = {
      {"TvlMainWnd", &TvlMainWnd::AdapterClass()},
      {"TvlSpinWnd", &TvlSpinWnd::AdapterClass()},
      {"TvlCheckBoxWnd", &TvlCheckBoxWnd::AdapterClass()},
      {"tvlspinwnd", nullptr},
      {"TvlSpin", nullptr},
  };
  TTestWindow host = CreateHostWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TvlAdapterClass* cls = FindAdapterClass(c.name);
    EXPECT_EQ(cls, c.expected);
    if (!cls) continue;
    TTestWindow edit = CreatePlainEdit(host.Get());
    TvlSkinParams params;
    TvlMainWnd* adapter = CreateAdapter(cls, edit.Get(), nullptr, nullptr, params, false);
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(GetWindowAdapter(edit.Get()), adapter);
    if (c.expected == &TvlSpinWnd::AdapterClass()) {
      EXPECT_NE(dynamic_cast<TvlSpinWnd*>(adapter), nullptr);
    }
    ReleaseWndAdapter(edit.Get(), true, false, adapter);
    EXPECT_EQ(adapter, nullptr);
    EXPECT_EQ(GetWindowAdapter(edit.Get()), nullptr);
  }
}
