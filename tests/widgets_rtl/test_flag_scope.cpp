#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "widgets/rtl/flag_scope.h"

namespace {

TEST(FlagScopeTest, BoolFlagIsRaisedInsideAndLoweredHoweverTheScopeEnds) {
  bool flag = false;
  {
    TFlagScope raised(flag);
    EXPECT_TRUE(flag);
  }
  EXPECT_FALSE(flag);
  EXPECT_THROW(
      {
        TFlagScope raised(flag);
        throw std::runtime_error("fails");
      },
      std::runtime_error);
  EXPECT_FALSE(flag);
}

TEST(FlagScopeTest, BitsOfASetLeaveTheOtherBitsAsTheScopeLeftThem) {
  constexpr uint32_t kOwn = 1u << 3, kOther = 1u << 7, kLater = 1u << 9;
  for (bool fails : {false, true}) {
    SCOPED_TRACE(fails);
    uint32_t set = kOther;
    try {
      TFlagScope raised(set, kOwn);
      EXPECT_EQ(set, kOther | kOwn);
      // Bits changed inside the scope are not the guard's to undo.
      set = (set & ~kOther) | kLater;
      if (fails) throw std::runtime_error("fails");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(set, kLater);
  }
}

}  // namespace
