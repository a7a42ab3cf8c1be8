// The plain look, painted into a bitmap filled with a marker colour: the
// frame runs whole under an empty caption and leaves a caption's place.
#include "groupbox_fixture.h"
#include "widgets/graphics/bitmap.h"

namespace {

constexpr COLORREF kMarker = RGB(255, 0, 255);

class GroupBoxPlainTest : public GroupBoxFixture {
 protected:
  // The box painted over the marker; pixels as 0x00BBGGRR.
  struct Picture {
    HDC DC = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Old = nullptr;
    ~Picture() {
      SelectObject(DC, Old);
      DeleteObject(Bitmap);
      DeleteDC(DC);
    }
    COLORREF At(int X, int Y) const { return GetPixel(DC, X, Y); }
  };
  std::unique_ptr<Picture> Paint() {
    auto p = std::make_unique<Picture>();
    HDC screen = GetDC(nullptr);
    p->DC = CreateCompatibleDC(screen);
    p->Bitmap = CreateCompatibleBitmap(screen, Box->Width(), Box->Height());
    ReleaseDC(nullptr, screen);
    p->Old = SelectObject(p->DC, p->Bitmap);
    HBRUSH b = CreateSolidBrush(kMarker);
    RECT r{0, 0, Box->Width(), Box->Height()};
    FillRect(p->DC, &r, b);
    DeleteObject(b);
    Box->PaintTo(p->DC);
    return p;
  }
  // The first row below the top with frame pixels at column X.
  static int FrameRow(const Picture& P, int X, int Height) {
    for (int y = 0; y < Height; ++y)
      if (P.At(X, y) != kMarker) return y;
    return -1;
  }
};

TEST_F(GroupBoxPlainTest, EmptyCaptionLeavesTheFrameWhole) {
  Box->SetCaption("");
  const auto p = Paint();
  const int x = Box->Width() / 2;
  const int row = FrameRow(*p, x, Box->Height());
  ASSERT_GE(row, 0);
  const TRect caption = Box->CaptionRect();
  for (int i = caption.Left; i < caption.Right; ++i) EXPECT_NE(p->At(i, row), kMarker) << i;
}

TEST_F(GroupBoxPlainTest, CaptionInterruptsTheFrame) {
  // Blanks only: no glyph pixel lies on the frame's row.
  Box->SetCaption("      ");
  const auto p = Paint();
  const int x = Box->Width() - 20;
  const int row = FrameRow(*p, x, Box->Height());
  ASSERT_GE(row, 0);
  const COLORREF line = p->At(x, row);
  const TRect caption = Box->CaptionRect();
  const int middle = (caption.Left + caption.Right) / 2;
  EXPECT_NE(p->At(middle, row), line);
  EXPECT_EQ(p->At(caption.Left - 3, row), line);
}

TEST_F(GroupBoxPlainTest, FrameStartsAtHalfTheCaptionBand) {
  Box->SetCaption("EQ");
  Box->SetCaptionYOffset(8);
  const auto p = Paint();
  const int row = FrameRow(*p, Box->Width() - 20, Box->Height());
  // Themed from half the band; classic from half the text height, less one.
  const int themed = Box->CaptionRect().Height() / 2;
  const int classic = TextSizeIn(Box, "0").cy / 2 - 1;
  EXPECT_TRUE(row == themed || row == classic) << row;
}

}  // namespace
