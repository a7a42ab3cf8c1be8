#include "panel/panel_messages.h"

#include <gtest/gtest.h>

namespace {

TEST(PanelMessages, MapSliderToMidiValueAtTheListedPositions) {
  const struct {
    int pos, value;
  } cases[] = {{0, 0},   {12, 31}, {22, 57}, {23, 60}, {24, 63},
               {25, 65}, {33, 87}, {36, 95}, {48, 127}};
  for (auto c : cases) EXPECT_EQ(MapSliderToMidiValue(c.pos, 63, 24), c.value) << c.pos;
}

TEST(PanelMessages, EqPositionToDbTextAtTheListedPositions) {
  const struct {
    int pos;
    const char* text;
  } cases[] = {{0, "-12.0"}, {1, "-11.5"}, {21, "-1.5"}, {22, "-1.0"}, {23, "-0.5"},
               {24, "0.0"},  {25, "+0.5"}, {26, "+1.0"}, {33, "+4.5"}, {48, "+12.0"}};
  for (auto c : cases) EXPECT_EQ(EqPositionToDbText(c.pos), c.text) << c.pos;
}

TEST(PanelMessages, NrpnWordsCarryParameterThenLsbThenValueOnChannelOne) {
  const struct {
    uint8_t lsb, value;
    DWORD second, third;
  } cases[] = {
      {NrpnEffectMode, 3, 0x5562B0, 0x0306B0},    {NrpnEqLow, 63, 0x0862B0, 0x3F06B0},
      {NrpnEqMid1, 0, 0x0962B0, 0x0006B0},        {NrpnEqMid2, 127, 0x0A62B0, 0x7F06B0},
      {NrpnEqHigh, 87, 0x0B62B0, 0x5706B0},       {Nrpn3DVolume, 12, 0x1C62B0, 0x0C06B0},
      {Nrpn3DDelayTime, 100, 0x1D62B0, 0x6406B0},
  };
  for (auto c : cases) {
    auto w = NrpnWords(c.lsb, c.value);
    EXPECT_EQ(w[0], 0x3763B0u);
    EXPECT_EQ(w[1], c.second);
    EXPECT_EQ(w[2], c.third);
  }
}

TEST(PanelMessages, EffectModeFollowsBothToggles) {
  EXPECT_EQ(EffectMode(false, false), 0);
  EXPECT_EQ(EffectMode(true, false), 3);
  EXPECT_EQ(EffectMode(false, true), 4);
  EXPECT_EQ(EffectMode(true, true), 6);
}

TEST(PanelMessages, SysExIsTenBytesWithTheZeroByteAndNoChecksum) {
  const std::string header = PanelSysExHeader();
  ASSERT_EQ(header.size(), 7u);
  const std::string level26 = PanelSysEx(header, SysExReverbLevel, 26);
  EXPECT_EQ(level26, std::string("\xF0\x41\x00\x42\x12\x40\x01\x33\x1A\xF7", 10));
  EXPECT_EQ(PanelSysEx(header, SysExEffectType, 8).substr(7), std::string("\x38\x08\xF7", 3));
  EXPECT_EQ(PanelSysEx(header, SysExEffectMix, 0).substr(7), std::string("\x3A\x00\xF7", 3));
}

}  // namespace
