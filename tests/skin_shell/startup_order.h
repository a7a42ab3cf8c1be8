// The place of the start-up steps in a program's units: one run in their
// own order, after the alpha image list's and the controls' units, and
// right before the program's form unit.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/controls/startup_steps.h"

inline void ExpectStartupStepsInOrder(const std::vector<TUnitInfo>& Units, const char* Form) {
  const std::vector<std::string> steps = {"UserCaptions",    "ComboEditGlyphs", "DateFormats",
                                          "CalendarCaption", "SpareUnit",       "vlShellCtrls",
                                          "ColorPicker",     "sListBox"};
  std::vector<std::string> own;
  for (const TUnitInfo& u : StartupResourceUnits) own.push_back(u.Name);
  EXPECT_EQ(own, steps);
  std::vector<std::string> names;
  for (const TUnitInfo& u : Units) names.push_back(u.Name);
  const auto first = std::search(names.begin(), names.end(), steps.begin(), steps.end());
  ASSERT_NE(first, names.end()) << Form;
  const auto at = [&](const char* n) { return std::find(names.begin(), names.end(), n); };
  // The glyphs are alpha image lists: that unit starts before them and
  // stops after them.
  EXPECT_LT(at("vlAlphaImageList"), first) << Form;
  EXPECT_LT(at("sControls"), first) << Form;
  EXPECT_EQ(first + long(steps.size()), names.end() - 1) << Form;
  EXPECT_EQ(names.back(), Form);
}
