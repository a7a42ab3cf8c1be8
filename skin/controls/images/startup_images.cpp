#include "startup_images.h"

#include <algorithm>
#include <functional>

#include "png_writer.h"

namespace startup_images {

namespace {

// Is the point (in pixel units, sub-pixel precise) inside the shape?
using Shape = std::function<bool(double x, double y)>;

// Sub-samples per axis: 4 x 4 per pixel, all at exact binary fractions, so
// the coverage is the same on every machine.
constexpr int kSub = 4;

int Coverage(const Shape& inside, int px, int py) {
  int n = 0;
  for (int j = 0; j < kSub; ++j)
    for (int i = 0; i < kSub; ++i)
      if (inside(px + (i + 0.5) / kSub, py + (j + 0.5) / kSub)) ++n;
  return n;
}

// Source-over of a straight-alpha colour at Weight/16 of its own alpha.
void Blend(uint32_t& dst, uint32_t src, int weight) {
  const int sa = int(src >> 24) * weight / (kSub * kSub);
  if (sa == 0) return;
  const int da = int(dst >> 24);
  const int keep = da * (255 - sa) / 255;
  const int oa = sa + keep;
  uint32_t out = uint32_t(oa) << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int sc = int(src >> shift) & 0xFF;
    const int dc = int(dst >> shift) & 0xFF;
    out |= uint32_t((sc * sa + dc * keep + oa / 2) / oa) << shift;
  }
  dst = out;
}

void Paint(Picture& p, const Shape& inside, uint32_t argb, int left = 0, int top = 0) {
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) {
      const int c = Coverage([&](double u, double v) { return inside(u - left, v - top); }, x, y);
      if (c) Blend(p.At(x, y), argb, c);
    }
}

// A rounded rectangle grown (or shrunk, Grow < 0) by Grow on every side.
Shape RoundRect(double l, double t, double r, double b, double radius, double grow = 0) {
  l -= grow, t -= grow, r += grow, b += grow, radius += grow;
  return [=](double x, double y) {
    if (x < l || x > r || y < t || y > b) return false;
    const double cx = std::clamp(x, l + radius, r - radius);
    const double cy = std::clamp(y, t + radius, b - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
  };
}

Shape Rect(double l, double t, double r, double b) {
  return [=](double x, double y) { return x >= l && x < r && y >= t && y < b; };
}

Shape Disc(double cx, double cy, double radius) {
  return [=](double x, double y) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
  };
}

Shape Minus(Shape a, Shape b) {
  return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape Union(Shape a, Shape b) {
  return [=](double x, double y) { return a(x, y) || b(x, y); };
}

uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    const int ca = int(a >> shift) & 0xFF, cb = int(b >> shift) & 0xFF;
    out |= uint32_t(ca + (cb - ca) * num / den) << shift;
  }
  return out;
}

// ---- The hint bubble -------------------------------------------------------

constexpr int kHintSize = 27;
// The body sits inside the shadow sizes 6, 5, 7, 8.
constexpr double kBodyL = 6, kBodyT = 5, kBodyR = kHintSize - 7, kBodyB = kHintSize - 8;
constexpr double kBodyRadius = 4;

void HintShadow(Picture& p) {
  // The body's coverage one pixel right and two down, spread by a 5 x 5 box.
  const Shape body = RoundRect(kBodyL + 1, kBodyT + 2, kBodyR + 1, kBodyB + 2, kBodyRadius);
  std::vector<int> cover(p.Pixels.size());
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) cover[size_t(y) * p.Width + x] = Coverage(body, x, y);
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) {
      int sum = 0;
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
          const int sx = x + dx, sy = y + dy;
          if (sx >= 0 && sy >= 0 && sx < p.Width && sy < p.Height)
            sum += cover[size_t(sy) * p.Width + sx];
        }
      const int alpha = sum * 96 / (kSub * kSub * 25);
      p.At(x, y) = uint32_t(alpha) << 24;
    }
}

}  // namespace

Picture HintBubble() {
  Picture p(kHintSize, kHintSize);
  HintShadow(p);
  const Shape outer = RoundRect(kBodyL, kBodyT, kBodyR, kBodyB, kBodyRadius);
  const Shape inner = RoundRect(kBodyL, kBodyT, kBodyR, kBodyB, kBodyRadius, -1);
  // Rows of the body fade from white to a cool grey.
  for (int y = 0; y < p.Height; ++y) {
    const int row = std::clamp(y - int(kBodyT), 0, int(kBodyB - kBodyT));
    const uint32_t fill = Mix(0xFFFFFFFF, 0xFFE3EAF4, row, int(kBodyB - kBodyT));
    for (int x = 0; x < p.Width; ++x) {
      const int c = Coverage(inner, x, y);
      if (c) Blend(p.At(x, y), fill, c);
    }
  }
  Paint(p, Minus(outer, inner), 0xFF56677D);
  return p;
}

// ---- Combo-edit button glyphs ------------------------------------------------

namespace {

constexpr int kFrame = 24;

// Glyph Index drawn in Ink into the frame at Left.
void DrawGlyph(Picture& p, int index, uint32_t ink, int left) {
  const uint32_t light = Mix(ink, 0xFFFFFFFF, 1, 2);
  switch (index) {
    case 0: {  // a sheet with a folded corner and three lines of text
      const Shape sheet = [](double x, double y) {
        return x >= 5 && x <= 19 && y >= 3 && y <= 21 && x - y <= 11;
      };
      const Shape hollow = [](double x, double y) {
        return x >= 6.5 && x <= 17.5 && y >= 4.5 && y <= 19.5 && x - y <= 9;
      };
      Paint(p, Minus(sheet, hollow), ink, left);
      Paint(
          p, [](double x, double y) { return x >= 14 && y <= 8 && x - y <= 11; }, light, left);
      for (int row = 0; row < 3; ++row)
        Paint(p, Rect(9, 11 + row * 3, 16, 12.5 + row * 3), ink, left);
      break;
    }
    case 1: {  // a ring three quarters round with an arrow head
      const Shape ring = Minus(Disc(12, 12, 8), Disc(12, 12, 5.5));
      const Shape gap = [](double x, double y) { return x > 12 && y < 12; };
      Paint(p, Minus(ring, gap), ink, left);
      // The head sits on the ring's open end at the right, pointing up.
      Paint(
          p,
          [](double x, double y) {
            const double off = x < 18.75 ? 18.75 - x : x - 18.75;
            return y <= 12.5 && y >= 7 && off <= (y - 7) * 0.7;
          },
          ink, left);
      break;
    }
    case 2: {  // a folder: its tab and back, then the lighter front flap
      Paint(p, Union(RoundRect(3, 5, 11, 9, 1), RoundRect(3, 7, 21, 19, 1)), ink, left);
      Paint(
          p,
          [](double x, double y) {
            return y >= 11 && y <= 19 && x >= 3 + (19 - y) * 0.25 && x <= 21;
          },
          light, left);
      break;
    }
    case 3:  // an ellipsis
      for (int dot = 0; dot < 3; ++dot) Paint(p, Disc(6 + dot * 6, 16, 2.25), ink, left);
      break;
    default: {  // a calendar sheet: frame, header and a grid of days
      Paint(p, Minus(RoundRect(4, 4, 20, 20, 1.5), Rect(5.5, 9, 18.5, 18.5)), ink, left);
      for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
          Paint(p, Rect(7.5 + col * 3.5, 11 + row * 3.5, 9.5 + col * 3.5, 13 + row * 3.5), ink,
                left);
      break;
    }
  }
}

}  // namespace

Picture ComboEditGlyph(int Index) {
  Picture p(2 * kFrame, kFrame);
  DrawGlyph(p, Index, 0xFF4A5668, 0);
  DrawGlyph(p, Index, 0xFF1F5FBF, kFrame);
  return p;
}

// ---- The pipette -------------------------------------------------------------

CursorPicture Pipette() {
  // Along the pipette: a = x - y + 27 runs from the tip (2, 29) towards the
  // bulb, b = x + y - 31 across it; both are sqrt(2) times pixel distances.
  auto pipette = [](double grow) {
    const double g = grow * 1.4142;
    const Shape tube = [=](double x, double y) {
      const double a = x - y + 27, b = x + y - 31, w = b < 0 ? -b : b;
      return a >= -g && a <= 33 && w <= 3.6 + g && w <= 1.2 + a * 0.35 + g;
    };
    const Shape collar = [=](double x, double y) {
      const double a = x - y + 27, b = x + y - 31, w = b < 0 ? -b : b;
      return a >= 30 - g && a <= 35 + g && w <= 7 + g;
    };
    return Union(Union(tube, collar), Disc(23, 8, 5.5 + grow));
  };
  CursorPicture c{Picture(32, 32), 2, 29};
  Paint(c.Image, pipette(1), 0xFF000000);
  Paint(c.Image, pipette(0), 0xFFFFFFFF);
  // Colour drawn up into the glass, and the rubber bulb.
  Paint(
      c.Image, [&](double x, double y) { return pipette(0)(x, y) && x - y + 27 <= 14; },
      0xFF2D6FD0);
  Paint(c.Image, Disc(23, 8, 5.5), 0xFF3C3C44);
  return c;
}

// ---- Files -------------------------------------------------------------------

std::vector<uint8_t> EncodePicture(const Picture& Image) {
  PngDesc desc;
  desc.Width = uint32_t(Image.Width);
  desc.Height = uint32_t(Image.Height);
  desc.ColorType = 6;
  desc.BitDepth = 8;
  desc.Filters = FilterChoice::Adaptive;
  desc.Level = 9;
  for (uint32_t argb : Image.Pixels) {
    desc.Samples.push_back(uint16_t((argb >> 16) & 0xFF));
    desc.Samples.push_back(uint16_t((argb >> 8) & 0xFF));
    desc.Samples.push_back(uint16_t(argb & 0xFF));
    desc.Samples.push_back(uint16_t(argb >> 24));
  }
  return EncodePng(desc);
}

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeCursor(const CursorPicture& Cursor) {
  const Picture& img = Cursor.Image;
  const uint32_t maskStride = uint32_t((img.Width + 31) / 32 * 4);
  const uint32_t imageBytes = 40 + uint32_t(img.Width * img.Height * 4) + maskStride * img.Height;
  std::vector<uint8_t> out;
  // The directory: one cursor image.
  Put16(out, 0);
  Put16(out, 2);
  Put16(out, 1);
  out.push_back(uint8_t(img.Width));
  out.push_back(uint8_t(img.Height));
  out.push_back(0);  // no palette
  out.push_back(0);
  Put16(out, uint32_t(Cursor.HotX));
  Put16(out, uint32_t(Cursor.HotY));
  Put32(out, imageBytes);
  Put32(out, 6 + 16);
  // The image: a bottom-up 32-bit colour bitmap over its AND mask, which
  // counts twice the height.
  Put32(out, 40);
  Put32(out, uint32_t(img.Width));
  Put32(out, uint32_t(img.Height * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, imageBytes - 40);
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = img.Height - 1; y >= 0; --y)
    for (int x = 0; x < img.Width; ++x) {
      const uint32_t argb = img.At(x, y);
      Put32(out, argb >> 24 ? argb : 0);
    }
  for (int y = img.Height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < img.Width; ++x)
      if ((img.At(x, y) >> 24) == 0) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<OutputFile> AllFiles() {
  std::vector<OutputFile> files;
  files.push_back({"vlhint.png", EncodePicture(HintBubble())});
  const char* glyphs[] = {"combo_sf.png", "combo_sr.png", "combo_sd.png", "combo_se.png",
                          "combo_sc.png"};
  for (int i = 0; i < 5; ++i) files.push_back({glyphs[i], EncodePicture(ComboEditGlyph(i))});
  files.push_back({"pipette.cur", EncodeCursor(Pipette())});
  return files;
}

}  // namespace startup_images
