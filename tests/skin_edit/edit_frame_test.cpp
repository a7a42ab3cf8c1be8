// The frame the edit assumes is the frame the platform draws: counted in
// pixels, since a flat border is drawn by the platform edit inside its
// client area rather than as a window frame.
#include "edit_scene.h"

namespace {

TEST(EditFrame, EdgeWidthIsTheFrameThePlatformDraws) {
  struct {
    TBorderStyle Border;
    bool Ctl3D;
    TBevelKind Kind;
    TBevelCut Inner, Outer;
    int Edge;
  } const cases[] = {
      {bsSingle, true, bkNone, bvRaised, bvLowered, 2},
      {bsSingle, false, bkNone, bvRaised, bvLowered, 1},
      {bsNone, true, bkNone, bvRaised, bvLowered, 0},
      {bsSingle, true, bkFlat, bvRaised, bvLowered, 4},
      {bsSingle, true, bkTile, bvNone, bvLowered, 3},
      {bsSingle, false, bkSoft, bvRaised, bvNone, 2},
      {bsNone, true, bkSoft, bvRaised, bvLowered, 2},
      {bsNone, true, bkFlat, bvNone, bvNone, 0},
  };
  TEditScene scene(false);
  for (const auto& c : cases) {
    TsEdit* edit = scene.Add("", 10, 10, 90, 30);
    edit->SetColor(clLime);
    // Changed on a live window: the frame must follow.
    edit->SetBorderStyle(c.Border);
    edit->SetCtl3D(c.Ctl3D);
    edit->SetBevelKind(c.Kind);
    edit->SetBevelInner(c.Inner);
    edit->SetBevelOuter(c.Outer);
    PumpMessages();
    RedrawWindow(edit->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    int frame = 0;
    while (frame < 10 && WindowPixel(edit->Handle(), frame, 15) != 0x00FF00) ++frame;
    EXPECT_EQ(edit->EdgeWidth(), c.Edge) << c.Border << c.Ctl3D << c.Kind << c.Inner << c.Outer;
    EXPECT_EQ(frame, c.Edge) << c.Border << c.Ctl3D << c.Kind << c.Inner << c.Outer;
    TObject::Free(edit);
  }
}

}  // namespace
