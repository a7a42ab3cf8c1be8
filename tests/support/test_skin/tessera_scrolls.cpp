// The replacement scroll bars' sections. Every piece shows a face colour of
// its own in every state, so a painted bar tells by colour which section and
// which state lies at each pixel: the two track halves of each axis, the
// four arrow buttons, the two thumbs.
#include <string>
#include <vector>

#include "tessera_design.h"
#include "tessera_parts.h"

namespace test_skin {
namespace {

struct Piece {
  const char* Name;
  std::vector<int32_t> Faces;  // normal, hot, pressed
  int32_t ArrowInk;            // the drawn arrow's colour in every state
};

// Three states, each with the colour of its face, so that a section painted
// without its image (too small for the borders) still shows its state.
SectionDef ThreeStates(const Piece& p, bool reserved = false) {
  SectionDef d{.Name = p.Name, .States = 3, .UseState2 = 1};
  if (reserved) d.ReservedBoolean = "TRUE";
  for (int k = 0; k < 3; ++k)
    d.State[size_t(k)] = {.Color = p.Faces[size_t(k)], .FontColor = p.ArrowInk};
  return d;
}

void Bordered(SkinBuilder& b, const Piece& p, int fw, int fh, int border) {
  const MfRect r =
      FaceStrip(b, p.Name, "BORDERSMASK", fw, fh, 0, p.Faces, {fw / 2, fh / 2}, false, false);
  b.Bordered(p.Name, "BORDERSMASK", r, 3, 0, {border, border, border, border}, 0, 4, 0);
}

}  // namespace

void ScrollSections(SkinBuilder& b, const ScrollLook& look) {
  if (!look.Sections) return;
  const Piece tracks[] = {
      {"SCROLLBAR1H", {Tc(150, 190, 230), Tc(170, 210, 240), Tc(60, 90, 160)}, 0},
      {"SCROLLBAR2H", {Tc(230, 200, 150), Tc(240, 220, 170), Tc(160, 110, 40)}, 0},
      {"SCROLLBAR1V", {Tc(160, 220, 160), Tc(180, 235, 180), Tc(40, 120, 40)}, 0},
      {"SCROLLBAR2V", {Tc(220, 170, 220), Tc(235, 190, 235), Tc(120, 40, 120)}, 0}};
  for (const Piece& p : tracks) {
    if (look.TransparentTrack && std::string(p.Name) == "SCROLLBAR1H") {
      SectionDef clear{.Name = p.Name};
      for (int k = 0; k < 3; ++k)
        clear.State[size_t(k)] = {.Color = p.Faces[0], .Transparency = 100};
      b.AddSection(clear);
      continue;
    }
    b.AddSection(ThreeStates(p));
    Bordered(b, p, 12, 12, 2);
  }

  // Arrows: the left and bottom ones carry glyphs, the top one draws its
  // arrow, the right one has RESERVEDBOOLEAN and a border image 21 wide, so
  // its button reaches 4 pixels further into the track than its place.
  const Piece left{"SCROLLBTNLEFT", {Tc(90, 70, 50), Tc(110, 90, 60), Tc(70, 40, 30)}, kIvory};
  const Piece top{"SCROLLBTNTOP", {Tc(50, 70, 90), Tc(60, 90, 120), Tc(30, 40, 70)}, kAmber};
  const Piece right{"SCROLLBTNRIGHT", {Tc(80, 60, 100), Tc(100, 80, 130), Tc(50, 30, 70)}, kMint};
  const Piece bottom{"SCROLLBTNBOTTOM", {Tc(60, 90, 60), Tc(80, 120, 80), Tc(30, 60, 30)}, kIvory};
  for (const Piece* p : {&left, &top, &bottom}) {
    b.AddSection(ThreeStates(*p));
    Bordered(b, *p, 17, 17, 3);
  }
  b.AddSection(ThreeStates(right, true));
  Bordered(b, right, 21, 17, 3);
  for (const Piece* p : {&left, &bottom}) {
    const MfRect glyph =
        FaceStrip(b, p->Name, "GLYPHMASK", 7, 7, 1,
                  {Tc(250, 240, 120), Tc(250, 180, 80), Tc(250, 120, 60)}, {1, 1}, false, true);
    b.MasterRect(p->Name, "GLYPHMASK", glyph, 3, 1);
  }

  const Piece thumbs[] = {
      {"SCROLLSLIDERH", {Tc(20, 110, 130), Tc(30, 150, 170), Tc(10, 70, 90)}, 0},
      {"SCROLLSLIDERV", {Tc(130, 60, 20), Tc(170, 90, 30), Tc(90, 40, 10)}, 0}};
  for (const Piece& p : thumbs) {
    b.AddSection(ThreeStates(p));
    Bordered(b, p, 14, 14, 3);
  }
  const MfRect grip =
      FaceStrip(b, "SCROLLSLIDERV", "GLYPHMASK", 6, 6, 1,
                {Tc(240, 240, 240), Tc(255, 255, 200), Tc(200, 200, 255)}, {1, 1}, false, true);
  b.MasterRect("SCROLLSLIDERV", "GLYPHMASK", grip, 3, 1);

  // The size box's grip: one frame, a mask part below shows it whole.
  const MfRect box =
      FaceStrip(b, "GLOBALINFO", "GRIPIMAGE", 9, 9, 1, {Tc(20, 20, 20)}, {2, 2}, false, true);
  b.MasterRect("GLOBALINFO", "GRIPIMAGE", box, 1, 1);
}

}  // namespace test_skin
