#include "tessera_parts.h"

#include <algorithm>

namespace test_skin {

std::vector<MfPoint> KeyCornerPixels(int fw, int fh) {
  return {{0, 0}, {1, 0}, {0, 1}, {fw - 1, 0}, {0, fh - 1}, {fw - 1, fh - 1}};
}

void PunchKeyCorners(Raster& m, int x0, int y0, int fw, int fh) {
  for (const MfPoint& p : KeyCornerPixels(fw, fh)) m.Set(x0 + p.X, y0 + p.Y, kKeyArgb);
}

void DrawPlate(SkinBuilder& b, MfRect r, int frames, int masks, int32_t base, int32_t accent,
               bool keyCorners) {
  Raster& m = b.Master;
  const int fw = r.Width() / frames;
  const int fh = masks ? r.Height() / (masks + 1) : r.Height();
  for (int f = 0; f < frames; ++f) {
    const int x0 = r.Left + f * fw;
    const uint32_t top = MixArgb(Argb(base), kWhite, 40 + 50 * f);
    m.Ramp(x0, r.Top, x0 + fw, r.Top + fh, top, Argb(base));
    m.Frame(x0, r.Top, x0 + fw, r.Top + fh, Argb(kInk));
    m.Diamond(x0 + fw / 2, r.Top + fh / 2, std::max(1, std::min(fw, fh) / 4), Argb(accent));
    for (int k = 1; k <= masks; ++k)
      m.Ramp(x0, r.Top + k * fh, x0 + fw, r.Top + (k + 1) * fh, 0xFF101010, 0xFF707070);
    if (keyCorners) PunchKeyCorners(m, x0, r.Top, fw, fh);
  }
}

void FramePixels(SkinBuilder& b, const std::string& file, MfRect r, int frames, int masks,
                 const std::string& what) {
  const int fw = r.Width() / frames;
  const int fh = masks ? r.Height() / (masks + 1) : r.Height();
  for (int f = 0; f < frames; ++f) {
    const std::string frame = what + " frame " + std::to_string(f);
    b.AddPixel(file, r.Left + f * fw + fw / 2, r.Top + fh / 2, frame + " centre");
    for (int k = 1; k <= masks; ++k)
      b.AddPixel(file, r.Left + f * fw + fw / 2, r.Top + k * fh + fh / 2,
                 frame + " mask " + std::to_string(k) + " centre");
  }
}

MfRect Plate(SkinBuilder& b, const std::string& section, const std::string& key, int fw, int fh,
             int frames, int masks, std::array<int, 4> borders, int uniform, int paintMode,
             int32_t base, int32_t accent, bool keyCorners, int corners) {
  const MfRect r = b.Place(fw * frames, fh * (masks + 1));
  DrawPlate(b, r, frames, masks, base, accent, keyCorners);
  b.Bordered(section, key, r, frames, masks, borders, uniform, paintMode,
             keyCorners && corners == 0 ? 1 : corners);
  FramePixels(b, "", r, frames, masks, section + "/" + key);
  return r;
}

}  // namespace test_skin
