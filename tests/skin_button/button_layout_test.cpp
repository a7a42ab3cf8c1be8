// The push button's geometry: caption and image rectangles for each image
// alignment and style, the image a state shows, and the window style that
// keeps every button type owner-drawn.
#include <gtest/gtest.h>

#include "skin/controls/button_layout.h"

namespace {

TEST(ButtonLayoutTest, CaptionAndImageRectanglesByAlignmentAndStyle) {
  // 120 x 40, image 16 x 16, margins 1, 2, 3, 4, content margin 6, caption
  // 40 x 13.
  const struct {
    const char* what;
    int style;
    bool hasImage;
    TImageAlignment alignment;
    bool shift;
    TRect content, image;
  } cases[] = {
      {"no image", 0, false, iaLeft, false, {39, 13, 81, 27}, {}},
      {"left", 0, true, iaLeft, false, {26, 13, 114, 27}, {7, 12, 23, 28}},
      {"right", 0, true, iaRight, false, {6, 13, 94, 27}, {95, 12, 111, 28}},
      {"centre", 0, true, iaCenter, false, {39, 13, 81, 27}, {52, 12, 68, 28}},
      {"top", 0, true, iaTop, false, {6, 26, 114, 39}, {52, 8, 68, 24}},
      {"bottom", 0, true, iaBottom, false, {6, 2, 114, 15}, {52, 14, 68, 30}},
      {"command link", 1, true, iaRight, false, {32, 6, 114, 19}, {7, 6, 23, 22}},
      {"command link without image", 1, false, iaLeft, false, {48, 6, 114, 19}, {}},
      {"split without image", 2, false, iaLeft, false, {31, 13, 73, 27}, {}},
      {"split, right", 2, true, iaRight, false, {6, 13, 78, 27}, {79, 12, 95, 28}},
      {"left, pressed", 0, true, iaLeft, true, {27, 14, 115, 28}, {8, 13, 24, 29}},
      {"no image, pressed", 0, false, iaLeft, true, {40, 14, 82, 28}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ButtonLayoutInput in;
    in.Width = 120;
    in.Height = 40;
    in.Style = c.style;
    in.HasImage = c.hasImage;
    in.ImageWidth = in.ImageHeight = 16;
    in.ImageMargins = TRect(1, 2, 3, 4);
    in.ImageAlignment = c.alignment;
    in.TextWidth = 40;
    in.TextHeight = 13;
    in.Shift = c.shift;
    EXPECT_EQ(ButtonContentRect(in), c.content);
    EXPECT_EQ(ButtonImageRect(in), c.image);
  }
  EXPECT_EQ(ButtonSplitArrowWidth(100), 16);
  EXPECT_EQ(ButtonSplitArrowWidth(125), 20);
}

TEST(ButtonLayoutTest, CurrentImageByStateWithFallBack) {
  const ButtonImageIndexes all{0, 1, 2, 3, 4};
  const struct {
    bool enabled, focused;
    int state;
    int index;
  } cases[] = {
      {false, true, 2, 4}, {true, false, 2, 2}, {true, true, 1, 3}, {true, false, 1, 1},
      {true, false, 3, 3}, {true, false, 0, 0}, {true, true, 0, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ButtonCurrentImageIndex(all, 5, c.enabled, c.focused, c.state), c.index)
        << c.enabled << c.focused << c.state;
    // None of the state images set, or outside the list: the normal one.
    EXPECT_EQ(ButtonCurrentImageIndex({0, -1, -1, -1, -1}, 5, c.enabled, c.focused, c.state), 0);
    EXPECT_EQ(ButtonCurrentImageIndex({0, 7, 7, 7, 7}, 5, c.enabled, c.focused, c.state), 0);
  }
}

TEST(ButtonLayoutTest, EveryButtonTypeBecomesOwnerDrawn) {
  constexpr DWORD kOwnerDraw = 0x0B;
  const DWORD keep = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_MULTILINE;
  // Push, default push, split, default split, command link, default link.
  for (DWORD type : {0x0u, 0x1u, 0xCu, 0xDu, 0xEu, 0xFu}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(OwnerDrawButtonStyle(keep | type), keep | kOwnerDraw);
  }
}

}  // namespace
