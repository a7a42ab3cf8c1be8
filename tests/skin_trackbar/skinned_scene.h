// A form with one track bar under a variant of the generated test skin,
// loaded through the real SkinName, and what the pixel tests read from it:
// the manifest's pixels, the blend of a masked image, the cache under the
// thumb, and a fade run to its end by hand.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "skin/engine/anim_timer.h"
#include "skin/engine/skin_manager.h"
#include "started_skin_manager.h"
#include "tests/support/rgb_compare.h"
#include "test_skin.h"
#include "trackbar_fixture.h"

inline const test_skin::MfImage& SkinImage(const test_skin::TestSkinManifest& M,
                                           const std::string& Key) {
  const int i = M.ImageIndex("TRACKBAR", Key);
  if (i < 0) throw std::logic_error("no TRACKBAR image " + Key);
  return M.Images[static_cast<size_t>(i)];
}

// An image pixel laid over Under through its mask byte (0 = the image,
// 255 = what lies under it), channel by channel.
inline uint32_t MaskBlend(uint32_t Under, uint32_t Image, uint32_t Mask) {
  uint32_t out = 0;
  for (int n = 0; n < 24; n += 8) {
    const int d = (Under >> n) & 0xFF, s = (Image >> n) & 0xFF, m = (Mask >> n) & 0xFF;
    out |= static_cast<uint32_t>(std::clamp((d * m + s * (256 - m)) / 256, 0, 255)) << n;
  }
  return out;
}

// The cache as OnSkinPaint finds it: painted up to the thumb.
struct TUnderThumb {
  std::vector<uint32_t> Pixels;
  int Width = 0, Calls = 0;
  void Take(TObject* Sender, TCanvas*) {
    const PixelView v = ArgbView(static_cast<TsTrackBar*>(Sender)->SkinData()->CacheBitmap);
    Width = v.Width;
    Pixels.clear();
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x) Pixels.push_back(v.At(x, y) & 0xFFFFFF);
    ++Calls;
  }
  uint32_t At(int X, int Y) const { return Pixels.at(static_cast<size_t>(Y * Width + X)); }
};

class TSkinnedScene {
 public:
  TSkinnedScene(const std::string& Variant, bool Vertical) : skin_("tbscene", Variant) {
    Manifest = skin_.Manifest();
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    // Away from where other test programs on the display move the cursor.
    Form->SetBounds(880, 640, 320, 260);
    Bar = New<TsTrackBar>(Form);
    if (Vertical) Bar->SetOrientation(trVertical);
    Bar->SetBounds(10, 10, Vertical ? 37 : 137, Vertical ? 137 : 37);
    Bar->SetParent(Form);
    Bar->SetMax(10);
    Bar->SetFrequency(1);
    Bar->SetPosition(3);
    Bar->OnSkinPaint = TPaintEvent::Of<&TUnderThumb::Take>(&Under);
    Form->Show();
    SetFocus(Form->Handle());
    PumpMessages();
    Bar->PrepareCache();
    const PixelView plain = ArgbView(Bar->SkinData()->CacheBitmap);
    for (int y = 0; y < plain.Height; ++y)
      for (int x = 0; x < plain.Width; ++x) PlainCache.push_back(plain.At(x, y) & 0xFFFFFF);
    Manager = test_skin::StartSkinManager(Form, skin_);
    // Neither focused nor hot: the normal state, whatever a stray cursor did.
    SetFocus(Form->Handle());
    PumpMessages();
    Bar->SkinData()->Hot = false;
  }
  ~TSkinnedScene() {
    ReleaseCapture();
    TObject::Free(Form);
    PumpMessages();
  }
  TSkinnedScene(const TSkinnedScene&) = delete;
  TSkinnedScene& operator=(const TSkinnedScene&) = delete;

  uint32_t Pixel(int X, int Y) const { return CachePixel(Bar, X, Y); }
  // What the window shows there (0xRRGGBB).
  uint32_t WindowPixel(TPoint P) const {
    HDC dc = GetWindowDC(Bar->Handle());
    const COLORREF c = GetPixel(dc, P.X, P.Y);
    ReleaseDC(Bar->Handle(), dc);
    return RgbOf(static_cast<TColor>(c));
  }
  // Ticks the running fade by hand until it ends; false when none ran.
  bool FinishFade() {
    TvlThreadedTimer* t = Bar->SkinData()->AnimTimer;
    if (!t || !t->Enabled()) return false;
    for (int i = 0; i < 100 && t->Enabled(); ++i) t->TimerTick(nullptr);
    return !t->Enabled();
  }

  test_skin::TestSkinManifest Manifest;
  TForm* Form = nullptr;
  TsTrackBar* Bar = nullptr;
  TsSkinManager* Manager = nullptr;
  TUnderThumb Under;
  std::vector<uint32_t> PlainCache;  // before the skin came

 private:
  test_skin::TempTestSkin skin_;
};

// ---- What the pixel tests compare

// The channel image's rectangle: centred across the bar on the frame size,
// one pixel short of it, and one pixel in from each end of the channel.
inline TRect ChannelImageRect(TsTrackBar* Bar, const test_skin::MfImage& Channel) {
  TRect r = Bar->ChannelRect();
  if (Bar->Orientation() == trVertical) {
    r.Left += (r.Width() - Channel.FrameWidth + 1) / 2;
    r.Right = r.Left + Channel.FrameWidth - 1;
    r.Top += 1;
    r.Bottom -= 1;
  } else {
    r.Top += (r.Height() - Channel.FrameHeight + 1) / 2;
    r.Bottom = r.Top + Channel.FrameHeight - 1;
    r.Left += 1;
    r.Right -= 1;
  }
  return r;
}

inline bool Inside(const TRect& R, int X, int Y) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

// The channel's corner pieces show the frame of State unchanged.
inline void ExpectChannel(TSkinnedScene& S, int State) {
  const TRect r = ChannelImageRect(S.Bar, SkinImage(S.Manifest, "SLIDERCHANNEL"));
  const std::string frame = "TRACKBAR/SLIDERCHANNEL frame " + std::to_string(State);
  const TRect thumb = S.Bar->ThumbRect();
  ASSERT_FALSE(Inside(thumb, r.Left + 1, r.Top + 1));
  ASSERT_FALSE(Inside(thumb, r.Left + 1, r.Bottom - 2));
  ASSERT_FALSE(Inside(thumb, r.Right - 1, r.Top + 1));
  EXPECT_EQ(S.Pixel(r.Left + 1, r.Top + 1), SkinPixel(S.Manifest, frame + " inner top-left"));
  EXPECT_EQ(S.Pixel(r.Right - 1, r.Top + 1), SkinPixel(S.Manifest, frame + " right rim"));
  EXPECT_EQ(S.Pixel(r.Left + 1, r.Bottom - 2), SkinPixel(S.Manifest, frame + " inner bottom-left"));
}

// The centre of the thumb image's frame, placed in the middle of the thumb.
inline TPoint ThumbCentre(TSkinnedScene& S) {
  const test_skin::MfImage& thumb =
      SkinImage(S.Manifest, S.Bar->Orientation() == trVertical ? "SLIDERVMASK" : "SLIDERMASK");
  const TRect t = S.Bar->ThumbRect();
  return TPoint(t.Left + (t.Width() - thumb.FrameWidth) / 2 + thumb.FrameWidth / 2,
                t.Top + (t.Height() - thumb.FrameHeight) / 2 + thumb.FrameHeight / 2);
}

// That pixel of frame State blended through its mask over what lay there
// before the thumb.
inline uint32_t ExpectedThumb(TSkinnedScene& S, int State) {
  const std::string key = S.Bar->Orientation() == trVertical ? "SLIDERVMASK" : "SLIDERMASK";
  const TPoint c = ThumbCentre(S);
  const std::string frame = "TRACKBAR/" + key + " frame " + std::to_string(State);
  return MaskBlend(S.Under.At(c.X, c.Y), SkinPixel(S.Manifest, frame + " centre"),
                   SkinPixel(S.Manifest, frame + " mask 1 centre"));
}

inline uint32_t ThumbPixel(TSkinnedScene& S) {
  const TPoint c = ThumbCentre(S);
  return S.Pixel(c.X, c.Y);
}

// Where the bottom-right tick mark at Position starts: below (right of) the
// channel by half the thumb's overhang and two pixels.
inline TPoint TickOrigin(TsTrackBar* Bar, int Position) {
  const TRect c = Bar->ChannelRect(), t = Bar->ThumbRect();
  if (Bar->Orientation() == trVertical)
    return TPoint(c.Right + (t.Width() - c.Width()) / 2 + 2, Position);
  return TPoint(Position, c.Bottom + (t.Height() - c.Height()) / 2 + 2);
}

// The centre of the tick image there: the image ends at the tick's place
// along the bar.
inline TPoint TickImageCentre(TSkinnedScene& S, int Position) {
  const bool vertical = S.Bar->Orientation() == trVertical;
  const test_skin::MfImage& tick = SkinImage(S.Manifest, vertical ? "TICKVERT" : "TICKHORZ");
  const TPoint o = TickOrigin(S.Bar, Position);
  const TPoint at =
      vertical ? TPoint(o.X, o.Y - tick.FrameHeight) : TPoint(o.X - tick.FrameWidth, o.Y);
  return TPoint(at.X + tick.FrameWidth / 2, at.Y + tick.FrameHeight / 2);
}
