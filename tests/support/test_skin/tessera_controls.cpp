// The sections push buttons, group boxes, check boxes, edits and combo boxes
// paint from. Their images are strips of flat faces, one colour per state
// frame, so that a painted control tells by colour which frame it shows.
#include <algorithm>
#include <string>
#include <vector>

#include "tessera_design.h"
#include "tessera_parts.h"

namespace test_skin {

// A strip of fw x fh frames on the master: each frame a flat face in an ink
// rim, black mask parts below (a black mask shows the image as it is), key
// corners and an ink diamond when asked. The faces go into the manifest.
MfRect FaceStrip(SkinBuilder& b, const std::string& section, const std::string& key, int fw, int fh,
                 int masks, const std::vector<int32_t>& faces, MfPoint face, bool keyCorners,
                 bool mark) {
  const int frames = int(faces.size());
  const MfRect r = b.Place(fw * frames, fh * (masks + 1));
  Raster& m = b.Master;
  MfStrip strip;
  strip.Section = section;
  strip.Key = key;
  strip.Face = face;
  if (keyCorners) strip.KeyPixels = KeyCornerPixels(fw, fh);
  for (int f = 0; f < frames; ++f) {
    const int x0 = r.Left + f * fw;
    m.Fill(x0, r.Top, x0 + fw, r.Top + fh, Argb(faces[size_t(f)]));
    m.Frame(x0, r.Top, x0 + fw, r.Top + fh, Argb(kInk));
    if (mark) m.Diamond(x0 + fw / 2, r.Top + fh / 2, std::min(fw, fh) / 5, Argb(kInk));
    for (int k = 1; k <= masks; ++k)
      m.Fill(x0, r.Top + k * fh, x0 + fw, r.Top + (k + 1) * fh, 0xFF000000);
    if (keyCorners) PunchKeyCorners(m, x0, r.Top, fw, fh);
    b.AddPixel("", x0 + face.X, r.Top + face.Y,
               section + "/" + key + " frame " + std::to_string(f) + " face");
    strip.Faces.push_back(Argb(faces[size_t(f)]));
  }
  b.Controls.Strips.push_back(strip);
  return r;
}

void CheckBoxImages(SkinBuilder& b) {
  // Frames: normal, hot, pressed; the checked strip carries a mark that
  // leaves the face point clear.
  const struct {
    const char* Key;
    std::vector<int32_t> Faces;
    bool Mark;
  } boxes[] = {{"BOXUNCHECKED", {kIvory, kAmber, kClay}, false},
               {"BOXCHECKED", {kTeal, kMoss, kDusk}, true}};
  for (const auto& box : boxes) {
    const MfRect r =
        FaceStrip(b, "GLOBALINFO", box.Key, 13, 13, 0, box.Faces, {3, 3}, false, box.Mark);
    b.MasterRect("GLOBALINFO", box.Key, r, 3, 0);
  }
  const MfRect grayed = b.Place(2 * 13, 13);
  DrawPlate(b, grayed, 2, 0, kSand, kTeal, false);
  b.MasterRect("GLOBALINFO", "BOXGRAYED", grayed, 2, 0);
  FramePixels(b, "", grayed, 2, 0, "GLOBALINFO/BOXGRAYED");
}

void ControlSections(SkinBuilder& b, const ButtonLook& look) {
  // Bit 4 paints the centre; bit 2 leaves the normal state to the section.
  const int paintMode = look.NormalFrame ? 4 : 4 | 2;

  // Four states: normal, hot, pressed and the default look, which only the
  // mask's fourth frame carries (a section has three colour states).
  SectionDef button{
      .Name = "BUTTON", .States = 4, .UseState2 = 1, .GlowMargin = 4, .GiveOwnFont = "TRUE"};
  button.State[0] = {
      .Color = kSlate,
      .FontColor = kIvory,
      .TcBottom = kInk,
      .GradientPercent = 60,
      .GradientText = GradientText({{kSlate, kTeal, 50, 0}, {kTeal, kSlate, 50, 0}})};
  button.State[1] = {
      .Color = kTeal, .FontColor = Tc(255, 255, 255), .GlowColor = kAmber, .GlowSize = 3};
  button.State[2] = {.Color = kClay, .FontColor = kIvory, .TcTop = kInk};
  b.AddSection(button);
  const MfRect face = FaceStrip(b, "BUTTON", "BORDERSMASK", 30, 24, 0,
                                {kSlate, kTeal, kClay, kAmber}, {15, 12}, true, false);
  b.Bordered("BUTTON", "BORDERSMASK", face, 4, 0, {5, 5, 5, 5}, 0, paintMode, 1);

  // Its borders mask is the one whose corners cut the button's window region.
  if (look.Glyph) {
    // Frames: normal, hot, pressed; a mask part below shows the glyph whole.
    const MfRect glyph = FaceStrip(b, "BUTTON", "GLYPHMASK", 12, 12, 1, {kIvory, kAmber, kMint},
                                   {2, 2}, false, true);
    b.MasterRect("BUTTON", "GLYPHMASK", glyph, 3, 1);
  }

  SectionDef huge{.Name = "BUTTON_HUGE", .Parent = "BUTTON"};
  huge.State[0].Color = kClay;
  b.AddSection(huge);
  const MfRect hugeFace = FaceStrip(b, "BUTTON_HUGE", "BORDERSMASK", 36, 28, 1,
                                    {kClay, kAmber, kMoss, kDusk}, {18, 14}, true, false);
  b.Bordered("BUTTON_HUGE", "BORDERSMASK", hugeFace, 4, 1, {8, 8, 8, 8}, 0, paintMode, 2);

  SectionDef tool{.Name = "TOOLBUTTON", .Parent = "BUTTON"};
  tool.State[0] = {.Color = -5, .FontColor = kAmber};  // negative: BUTTON's colour applies
  b.AddSection(tool);

  SectionDef group{.Name = "GROUPBOX", .OutOpacity = 120, .OuterMode = 1};
  group.State[0] = {.Color = kSand, .FontColor = kSlate, .TcLeft = kIvory};
  group.State[1] = {.Color = kSand, .FontColor = kClay};
  group.State[2] = {.Color = kClay};  // not read: no USESTATE2
  b.AddSection(group);
  Plate(b, "GROUPBOX", "BORDERSMASK", 24, 24, 1, 0, {6, 9, 6, 6}, 0, 0, kSand, kSlate);
  const MfRect mark = b.Place(2 * 10, 2 * 8);
  DrawPlate(b, mark, 2, 1, kSlate, kAmber, false);
  b.MasterRect("GROUPBOX", "LINEMARK", mark, 2, 1);
  FramePixels(b, "", mark, 2, 1, "GROUPBOX/LINEMARK");

  // The caption skin a group box may name: normal and hot (focused or the
  // mouse over its check box).
  SectionDef caption{.Name = "GROUPBOXCAPTION", .States = 2};
  caption.State[0] = {.Color = kOchre, .FontColor = kIvory};
  caption.State[1] = {.Color = kPlum, .FontColor = kAmber};
  b.AddSection(caption);
  const MfRect band = FaceStrip(b, "GROUPBOXCAPTION", "BORDERSMASK", 16, 12, 0, {kOchre, kPlum},
                                {8, 6}, false, false);
  b.Bordered("GROUPBOXCAPTION", "BORDERSMASK", band, 2, 0, {2, 2, 2, 2}, 0, 4, 0);
  b.Controls.CaptionSkin = caption.Name;

  // Behind a group box's caption and check box when it names no caption skin.
  SectionDef check{.Name = "CHECKBOX"};
  check.State[0] = {.Color = kMint, .FontColor = kInk};
  check.State[1] = {.Color = kSky, .FontColor = kPlum};
  b.AddSection(check);
}

void FieldSections(SkinBuilder& b, const FieldLook& look) {
  // Normal and focused differ in face and text, so a test tells by either
  // which state an edit paints; the mask's corners are keys, cut from the
  // edit's region.
  const int32_t focused = Tc(252, 250, 240);
  SectionDef edit{.Name = "EDIT"};
  if (look.EditOuterMask) edit.OuterMode = 1;
  edit.State[0] = {.Color = kIvory, .FontColor = kInk};
  edit.State[1] = {.Color = focused, .FontColor = kDusk};
  b.AddSection(edit);
  const MfRect field =
      FaceStrip(b, "EDIT", "BORDERSMASK", 16, 16, 0, {kIvory, focused}, {8, 8}, true, false);
  const int eb = look.EditBorder;
  if (eb == 2) {
    // The second border pixel differs from the rim and the face, so a test
    // tells a two-pixel frame from a one-pixel one; the key corners stay.
    for (int f = 0; f < 2; ++f) {
      const int x0 = field.Left + f * 16;
      b.Master.Frame(x0 + 1, field.Top + 1, x0 + 15, field.Top + 15, Argb(kTeal));
      b.AddPixel("", x0 + 8, field.Top + 1, "EDIT/BORDERSMASK frame " + std::to_string(f) + " rim");
    }
  }
  b.Bordered("EDIT", "BORDERSMASK", field, 2, 0, {eb, eb, eb, eb}, 0, 4, 1);
  if (look.EditOuterMask)
    Plate(b, "EDIT", "OUTERMASK", 18, 18, 1, 1, {6, 6, 6, 6}, 0, 1, kDusk, kInk);

  SectionDef combo{.Name = "COMBOBOX", .Glow = look.ComboGlow, .GlowMargin = 3};
  if (look.ComboOwnFont) combo.GiveOwnFont = "TRUE";
  combo.State[0] = {.Color = kIvory, .FontColor = kSlate};
  combo.State[1] = {.Color = kMint, .FontColor = kInk};
  b.AddSection(combo);
  Plate(b, "COMBOBOX", "BORDERSMASK", 16, 16, 2, 0, {2, 2, 2, 2}, 0, 4, kIvory, kSky);
  // The arrow's frames follow the button: normal, hot, pressed.
  const MfRect arrow =
      FaceStrip(b, "COMBOBOX", "GLYPHMASK", 10, 8, 1, {kSlate, kTeal, kOchre}, {2, 2}, false, true);
  b.MasterRect("COMBOBOX", "GLYPHMASK", arrow, 3, 1);
  Plate(b, "COMBOBOX", "GLOW0", 18, 18, 1, 0, {6, 6, 6, 6}, 0, 0, kSky, kSky);

  SectionDef button{.Name = "COMBOBTN", .States = 3, .UseState2 = 1};
  button.State[0] = {.Color = kSand, .FontColor = kSlate};
  button.State[1] = {.Color = kAmber, .FontColor = kInk};
  button.State[2] = {.Color = kClay, .FontColor = kIvory};
  b.AddSection(button);
  const MfRect face = FaceStrip(b, "COMBOBTN", "BORDERSMASK", 14, 16, 0, {kSand, kAmber, kClay},
                                {7, 8}, false, false);
  b.Bordered("COMBOBTN", "BORDERSMASK", face, 3, 0, {3, 3, 3, 3}, 0, 4, 0);

  if (look.Selection) {
    // Normal, focused and a third look no list asks for: a list that paints
    // the wrong state shows a face it should not. Each frame's two-pixel
    // border has a rim colour of its own, apart from every face and text
    // colour, so a test tells the border from the centre.
    SectionDef selection{.Name = "SELECTION", .States = 3, .UseState2 = 1};
    selection.State[0] = {.Color = kDusk, .FontColor = kMint};
    selection.State[1] = {.Color = kPlum, .FontColor = kAmber};
    selection.State[2] = {.Color = kMoss, .FontColor = kIvory};
    b.AddSection(selection);
    const MfRect strip = FaceStrip(b, "SELECTION", "BORDERSMASK", 16, 16, 0, {kDusk, kPlum, kMoss},
                                   {8, 8}, false, false);
    const int32_t rims[3] = {kSky, kOchre, kTeal};
    for (int f = 0; f < 3; ++f) {
      const int x0 = strip.Left + f * 16;
      b.Master.Frame(x0, strip.Top, x0 + 16, strip.Top + 16, Argb(rims[f]));
      b.Master.Frame(x0 + 1, strip.Top + 1, x0 + 15, strip.Top + 15, Argb(rims[f]));
      b.AddPixel("", x0 + 8, strip.Top,
                 "SELECTION/BORDERSMASK frame " + std::to_string(f) + " border");
    }
    b.Bordered("SELECTION", "BORDERSMASK", strip, 3, 0, {2, 2, 2, 2}, 0, 4, 0);
  }
}

void PageSections(SkinBuilder& b, const PagesLook& look) {
  // The frames: one colour for the page area, corner marks of their own so
  // that a test finds each corner where the display area's corner is. The
  // image paints its centre over the section's own colour, which differs:
  // a page area of that colour shows the centre left unpainted.
  const struct {
    const char* Name;
    int32_t Face, Corner;
  } frames[] = {{"PAGECONTROL", kMint, kOchre},
                {"PAGECONTROLBOTTOM", kMint, kPlum},
                {"PAGECONTROLLEFT", kMint, kDusk}};
  for (const auto& f : frames) {
    SectionDef d{.Name = f.Name};
    d.State[0] = {.Color = kSand, .FontColor = kInk};
    b.AddSection(d);
    const MfRect face =
        FaceStrip(b, f.Name, "BORDERSMASK", 16, 16, 0, {f.Face}, {8, 8}, false, false);
    b.Bordered(f.Name, "BORDERSMASK", face, 1, 0, {3, 3, 3, 3}, 0, 4, 0);
    for (const char* corner : {"IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT", "IMGBTMRIGHT"}) {
      const MfRect mark = FaceStrip(b, f.Name, corner, 6, 6, 0, {f.Corner}, {3, 3}, false, false);
      b.MasterRect(f.Name, corner, mark, 1, 0);
    }
  }
  // The sheet's caption colour differs from the group box's: a label on a
  // sheet shows which one it took.
  SectionDef sheet{.Name = "TABSHEET"};
  sheet.State[0] = {.Color = kMint, .FontColor = kPlum};
  b.AddSection(sheet);

  struct Tab {
    const char* Name;
    std::vector<int32_t> Faces;
  };
  std::vector<Tab> tabs = {{"TABBOTTOM", {kSky, kAmber, kIvory}},
                           {"TABLEFT", {kSky, kAmber, kIvory}}};
  if (look.TabTop) tabs.push_back({"TABTOP", {kSky, kAmber, kIvory}});
  if (look.PlaceTabs) {
    tabs.push_back({"TABTOPFIRST", {kMoss, kOchre, kPlum}});
    tabs.push_back({"TABTOPLAST", {kDusk, kTeal, kClay}});
    tabs.push_back({"TABTOPMIDDLE", {kSand, kMint, kSlate}});
  }
  for (const Tab& t : tabs) {
    SectionDef d{.Name = t.Name, .States = 3, .UseState2 = 1};
    d.State[0] = {.Color = t.Faces[0], .FontColor = kInk};
    d.State[1] = {.Color = t.Faces[1], .FontColor = kSlate};
    d.State[2] = {.Color = t.Faces[2], .FontColor = kClay};
    b.AddSection(d);
    const MfRect face =
        FaceStrip(b, t.Name, "BORDERSMASK", 14, 14, 0, t.Faces, {7, 7}, false, false);
    b.Bordered(t.Name, "BORDERSMASK", face, 3, 0, {3, 3, 3, 3}, 0, 4, 0);
  }
  if (look.TabTop && look.Covering > 0)
    b.AddKey("TABTOP", "TABSCOVERING", std::to_string(look.Covering));

  // The small close button: normal, hot, pressed.
  const MfRect close = FaceStrip(b, "GLOBALINFO", "SICONCLOSE", 12, 12, 0, {kClay, kAmber, kPlum},
                                 {6, 6}, false, false);
  b.MasterRect("GLOBALINFO", "SICONCLOSE", close, 3, 0);

  const struct {
    const char* Name;
    std::vector<int32_t> Faces;
  } buttons[] = {{"MENUBTN", {kIvory, kTeal, kDusk}},
                 {"SPEEDBUTTON", {kSand, kSky, kMoss}},
                 {"UPDOWNBTN", {kSlate, kTeal, kClay}}};
  for (const auto& btn : buttons) {
    SectionDef d{.Name = btn.Name, .States = 3, .UseState2 = 1};
    d.State[0] = {.Color = btn.Faces[0], .FontColor = kInk};
    d.State[1] = {.Color = btn.Faces[1], .FontColor = kIvory};
    d.State[2] = {.Color = btn.Faces[2], .FontColor = kAmber};
    b.AddSection(d);
    const MfRect face =
        FaceStrip(b, btn.Name, "BORDERSMASK", 12, 12, 0, btn.Faces, {6, 6}, false, false);
    b.Bordered(btn.Name, "BORDERSMASK", face, 3, 0, {2, 2, 2, 2}, 0, 4, 0);
  }
}

}  // namespace test_skin
