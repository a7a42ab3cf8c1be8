// The export, the loading and sharing of the platform libraries, reference
// counting, the timer and the binary layout of the interface objects.
#include <windows.h>

#include "HostTest.h"

using namespace halvex_sim;

namespace {

class EntryTest : public HostTest {};

TEST_F(EntryTest, OnlyVersion256GivesAnInterfaceAndOthersLoadNothing) {
  for (int32_t version : {0, 1, 255, 257, 0x10100, -256}) {
    SCOPED_TRACE(version);
    EXPECT_EQ(getInterface(version), nullptr);
    EXPECT_FALSE(moduleLoaded("winusb.dll"));
    EXPECT_FALSE(moduleLoaded("setupapi.dll"));
  }
  EXPECT_EQ(sim().attaches["winusb"], 0);
  EXPECT_EQ(sim().attaches["setupapi"], 0);

  HalvexRpc* rpc = getInterface(256);
  ASSERT_NE(rpc, nullptr);
  EXPECT_TRUE(moduleLoaded("winusb.dll"));
  EXPECT_TRUE(moduleLoaded("setupapi.dll"));
  rpc->release();
  EXPECT_EQ(sim().detaches["winusb"], 1);
  EXPECT_EQ(sim().detaches["setupapi"], 1);
}

}  // namespace
