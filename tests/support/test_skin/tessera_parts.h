// The Tessera palette and the plate pieces its designs are built from, shared
// by the design of the skin's surfaces and the design of its controls.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "skin_builder.h"

namespace test_skin {

// Colours as the description writes them (red in the low byte).
constexpr int32_t Tc(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}
constexpr int32_t kInk = Tc(29, 35, 39), kSlate = Tc(46, 58, 70), kTeal = Tc(42, 157, 143),
                  kAmber = Tc(233, 196, 106), kClay = Tc(231, 111, 81), kIvory = Tc(244, 241, 222),
                  kSand = Tc(214, 204, 178), kMoss = Tc(96, 130, 82), kDusk = Tc(88, 80, 141),
                  kMint = Tc(183, 228, 199), kSky = Tc(142, 202, 230), kPlum = Tc(120, 60, 110),
                  kOchre = Tc(188, 108, 37);

inline uint32_t Argb(int32_t tc, uint32_t alpha = 0xFF) {
  return (alpha << 24) | (uint32_t(tc & 0xFF) << 16) | (uint32_t(tc & 0xFF00)) |
         (uint32_t(tc >> 16) & 0xFF);
}

constexpr uint32_t kWhite = 0xFFFFFFFF;

// One plate per frame: a ramp lit more in each later frame, an ink rim and a
// diamond; mask parts below hold a grey ramp. Key corners are punched into
// the image part when asked.
void DrawPlate(SkinBuilder& b, MfRect r, int frames, int masks, int32_t base, int32_t accent,
               bool keyCorners);

// The key pixels punched into the corners of a frame's image part, fw x fh,
// relative to the frame: two pixels of the top row and one below at the left,
// one pixel in each other corner.
std::vector<MfPoint> KeyCornerPixels(int fw, int fh);
void PunchKeyCorners(Raster& m, int x0, int y0, int fw, int fh);

// Records the centre of every frame's picture.
void FramePixels(SkinBuilder& b, const std::string& file, MfRect r, int frames, int masks,
                 const std::string& what);

// A bordered plate placed on the master with its value and pixels recorded.
MfRect Plate(SkinBuilder& b, const std::string& section, const std::string& key, int fw, int fh,
             int frames, int masks, std::array<int, 4> borders, int uniform, int paintMode,
             int32_t base, int32_t accent, bool keyCorners = false, int corners = 0);

// A strip of fw x fh frames with flat faces, one per frame, in an ink rim
// (tessera_controls.cpp); the faces go into the manifest as a strip.
MfRect FaceStrip(SkinBuilder& b, const std::string& section, const std::string& key, int fw, int fh,
                 int masks, const std::vector<int32_t>& faces, MfPoint face, bool keyCorners,
                 bool mark);

}  // namespace test_skin
