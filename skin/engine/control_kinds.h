// Control-kind codes that each skinned control writes into its skin state,
// and the kind sets that steer the common behaviour. A set holds codes
// 0..255 (bit k mod 8 of byte k div 8); larger codes are in no set.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

constexpr int ckEdit = 3;
constexpr int ckListBox = 8;
constexpr int ckListView = 10;
constexpr int ckComboBox = 13;
constexpr int ckCheckBox = 32;
constexpr int ckGroupBox = 74;
constexpr int ckButton = 93;
constexpr int ckPageControl = 141;
constexpr int ckTrackBar = 165;
constexpr int ckForm = 224;
constexpr int ckFrame = 226;
constexpr int ckGraphicControl = 230;
constexpr int ckEditWindow = 231;

class TControlKinds {
 public:
  // Members as single codes or inclusive ranges {from, to}.
  constexpr TControlKinds(std::initializer_list<std::pair<int, int>> ranges) : bits_{} {
    for (const auto& r : ranges)
      for (int k = r.first; k <= r.second; ++k)
        if (k >= 0 && k < 256) bits_[k >> 3] |= static_cast<uint8_t>(1u << (k & 7));
  }
  constexpr bool Contains(int Kind) const {
    return Kind >= 0 && Kind < 256 && ((bits_[Kind >> 3] >> (Kind & 7)) & 1);
  }

 private:
  std::array<uint8_t, 32> bits_;
};

// No hot state from the mouse.
constexpr TControlKinds NoHoverKinds{{19, 19}, {51, 74}, {110, 110}, {141, 161}};
// The hot state only with EditHoverOption.
constexpr TControlKinds EditKinds{{2, 18}, {76, 85}, {132, 140}, {231, 231}};
// No glow on hover; a transparent member never paints its own background;
// the hot state is not passed to background requests.
constexpr TControlKinds ContainerKinds{{51, 51},   {54, 54},   {56, 59},   {74, 74},   {110, 110},
                                       {141, 141}, {143, 143}, {151, 151}, {161, 161}, {226, 226}};
// Color and Font.Color follow the skin section.
constexpr TControlKinds SkinColorKinds{{2, 18}, {76, 84}, {132, 140}, {231, 231}};
// SkinCmdRefresh recalculates the non-client frame.
constexpr TControlKinds FramedKinds{{7, 8},   {10, 10}, {14, 14},  {78, 78},
                                    {83, 83}, {85, 85}, {231, 231}};
// No glow from the common mouse handling.
constexpr TControlKinds ButtonKinds{{92, 94}};

// Kinds whose default section the control itself names.
constexpr TControlKinds AskControlForSectionKinds{
    {2, 10},  {12, 14}, {32, 34},   {51, 51},   {53, 54},   {57, 59},   {74, 76},   {78, 78},
    {81, 85}, {92, 94}, {132, 141}, {143, 143}, {151, 151}, {161, 161}, {165, 165}, {226, 227}};

// A library flag that nothing sets: edits show no hover.
extern bool EditHoverOption;
