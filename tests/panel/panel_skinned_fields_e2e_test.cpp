// VarnelSkinned.exe with the generated test skin: the value boxes, the
// drop-down lists and the labels as the screen shows them, against what the
// skin's manifest says they paint, and against the plain panel. Colours are
// judged by which one dominates a place, with a tolerance, never by single
// glyph pixels.
#include <algorithm>
#include <map>

#include "tests/panel/skinned_panel_fixture.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

using namespace panel_e2e;

constexpr int kTolerance = 2;

struct TPlace {
  const char* Group;
  int Left, Top;
};

// The panel's eleven value boxes; the four equalizer ones first, the two of
// "3D" (disabled at start) last.
constexpr TPlace kBoxes[] = {{"EQ", 182, 28},     {"EQ", 182, 65},     {"EQ", 182, 100},
                             {"EQ", 182, 136},    {"Reverb", 186, 54}, {"Reverb", 186, 91},
                             {"Effect", 186, 47}, {"Effect", 186, 82}, {"Effect", 186, 120},
                             {"3D", 182, 28},     {"3D", 182, 69}};
constexpr size_t kEqBoxes = 4, kThreeDFirst = 9;

// The three drop-down lists: reverb type, effect type, output port.
constexpr TPlace kLists[] = {{"Reverb", 56, 24}, {"Effect", 56, 16}, {nullptr, 272, 354}};

std::string Where(const TPlace& p) {
  return std::string(p.Group ? p.Group : "sheet") + " " + std::to_string(p.Left) + "," +
         std::to_string(p.Top);
}

// The colour most pixels of R (image coordinates) have.
uint32_t Dominant(const e2e::TScreenImage& Image, const RECT& R) {
  std::map<uint32_t, int> count;
  for (int y = std::max<int>(R.top, 0); y < std::min<int>(R.bottom, Image.Height); ++y)
    for (int x = std::max<int>(R.left, 0); x < std::min<int>(R.right, Image.Width); ++x)
      ++count[Image.At(x, y)];
  uint32_t best = 0;
  int most = -1;
  for (const auto& [colour, n] : count)
    if (n > most) best = colour, most = n;
  return best;
}

RECT Inside(const e2e::TScreenImage& Image, int Inset) {
  return {Inset, Inset, Image.Width - Inset, Image.Height - Inset};
}

// True when C lies between A and B in every channel (within the tolerance).
bool Between(uint32_t C, uint32_t A, uint32_t B) {
  for (int shift : {0, 8, 16}) {
    const int c = int(C >> shift & 0xFF), a = int(A >> shift & 0xFF), b = int(B >> shift & 0xFF);
    if (c < std::min(a, b) - kTolerance || c > std::max(a, b) + kTolerance) return false;
  }
  return true;
}

// The panel's labels: where each stands in its group (null: on the sheet)
// and its caption. The "3D" ones are disabled at start.
struct TLabelPlace {
  TPlace At;
  const char* Caption;
};
constexpr TLabelPlace kLabels[] = {
    {{"EQ", 30, 32}, "High"},      {{"EQ", 30, 68}, "Mid2"},
    {{"EQ", 30, 103}, "Mid1"},     {{"EQ", 30, 136}, "Low"},
    {{"EQ", 227, 31}, "dB"},       {{"EQ", 227, 68}, "dB"},
    {{"EQ", 227, 103}, "dB"},      {{"EQ", 227, 139}, "dB"},
    {{"Reverb", 17, 27}, "Type"},  {{"Reverb", 18, 57}, "Level"},
    {{"Reverb", 21, 94}, "Time"},  {{"Effect", 17, 19}, "Type"},
    {{"Effect", 25, 51}, "Mix"},   {{"Effect", 12, 86}, "Depth"},
    {{"Effect", 18, 125}, "Rate"}, {{"3D", 38, 34}, "Vol"},
    {{"3D", 12, 74}, "Del Time"},  {{nullptr, 272, 335}, "Output MIDI Device"}};
constexpr size_t kEqLabels = 8, kThreeDLabelsFirst = 15;

uint32_t ScreenRgb(int32_t Color) {
  const auto c = uint32_t(Color);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// The colour of a section's state as the screen shows it (0x00RRGGBB).
uint32_t FontColour(const test_skin::TestSkinManifest& M, const char* Section, int State) {
  const int i = M.SectionIndex(Section);
  if (i < 0) {
    ADD_FAILURE() << "the manifest has no section " << Section;
    return 0;
  }
  return ScreenRgb(M.Sections.at(size_t(i)).States.at(size_t(State)).FontColor);
}

// The part of a label's caption a test compares: its first letters, clear of
// the controls beside it, with a margin for where the text lands.
constexpr int kTextWidth = 14, kTextHeight = 13, kMargin = 2;

// Caption drawn by the platform in the panel's font and Colour, over
// Background, from (X, Y) of a (kTextWidth + 2 kMargin) x (kTextHeight + 2
// kMargin) image: what a label shows when it draws in Colour. Drawn in this
// process, so fonts and smoothing are those the panel has.
std::vector<uint32_t> Drawn(const char* Caption, uint32_t Colour, uint32_t Background, int X,
                            int Y) {
  const int w = kTextWidth + 2 * kMargin, h = kTextHeight + 2 * kMargin;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  TOwnedBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  TOwnedFont font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                              DEFAULT_QUALITY, 0, "Tahoma"));
  if (!bitmap || !dc || !font || bits == nullptr) return {};
  auto* px = static_cast<uint32_t*>(bits);
  std::fill(px, px + w * h, Background);
  {
    TSelectedObject selectBitmap(dc.Get(), bitmap.Get());
    TSelectedObject selectFont(dc.Get(), font.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), RGB(Colour >> 16 & 0xFF, Colour >> 8 & 0xFF, Colour & 0xFF));
    RECT r{X, Y, w + 40, h};
    DrawTextA(dc.Get(), Caption, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    GdiFlush();
  }
  std::vector<uint32_t> out(px, px + w * h);
  for (uint32_t& p : out) p &= 0xFFFFFF;
  return out;
}

struct TLabelLook {
  std::vector<uint32_t> Pixels;  // the compared part, row by row
  uint32_t Background = 0;
  long long Ink = 0;  // summed channel distance from the background
};

// Which of Candidates a label's capture shows its caption in: the one whose
// drawing, at the best of a few positions, differs least from the capture.
size_t ClosestColour(const TLabelLook& Look, const char* Caption,
                     const std::vector<uint32_t>& Candidates) {
  size_t best = 0;
  long long bestDiff = -1;
  for (size_t k = 0; k < Candidates.size(); ++k)
    for (int dy = 0; dy <= 2 * kMargin; ++dy)
      for (int dx = 0; dx <= 2 * kMargin; ++dx) {
        const std::vector<uint32_t> ref = Drawn(Caption, Candidates[k], Look.Background, dx, dy);
        if (ref.size() != Look.Pixels.size()) continue;
        long long diff = 0;
        for (size_t i = 0; i < ref.size(); ++i)
          for (int shift : {0, 8, 16}) {
            const int d = int(ref[i] >> shift & 0xFF) - int(Look.Pixels[i] >> shift & 0xFF);
            diff += d * d;
          }
        if (bestDiff < 0 || diff < bestDiff) best = k, bestDiff = diff;
      }
  return best;
}

// How many pixels of R show Colour (within the tolerance).
int CountOf(const e2e::TScreenImage& Image, const RECT& R, uint32_t Colour) {
  int n = 0;
  for (int y = std::max<int>(R.top, 0); y < std::min<int>(R.bottom, Image.Height); ++y)
    for (int x = std::max<int>(R.left, 0); x < std::min<int>(R.right, Image.Width); ++x)
      n += e2e::ChannelDistance(Image.At(x, y), Colour) <= kTolerance;
  return n;
}

struct TListSearch {
  DWORD Pid = 0;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectListWindow(HWND Wnd, LPARAM Search) {
  auto* s = reinterpret_cast<TListSearch*>(Search);
  DWORD pid = 0;
  GetWindowThreadProcessId(Wnd, &pid);
  char cls[32] = {};
  GetClassNameA(Wnd, cls, sizeof cls);
  if (pid == s->Pid && std::string(cls) == "ComboLBox") s->Found.push_back(Wnd);
  return TRUE;
}

// The drop-down list windows of the process that owns Wnd, shown or not.
std::vector<HWND> ListWindows(HWND Wnd) {
  TListSearch search;
  GetWindowThreadProcessId(Wnd, &search.Pid);
  EnumWindows(CollectListWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::vector<HWND> OpenListWindows(HWND Wnd) {
  std::vector<HWND> open;
  for (HWND w : ListWindows(Wnd))
    if (IsWindowVisible(w)) open.push_back(w);
  return open;
}

// How many of them carry an adapter.
int AdaptedListWindows(HWND Wnd) {
  int n = 0;
  for (HWND w : ListWindows(Wnd)) n += GetPropA(w, "VLSBSC") != nullptr;
  return n;
}

POINT CentreOf(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

uint32_t Face(const test_skin::TestSkinManifest& M, const char* Section, size_t Frame) {
  const test_skin::MfStrip* strip = M.Strip(Section, "BORDERSMASK");
  if (strip == nullptr || Frame >= strip->Faces.size()) {
    ADD_FAILURE() << "the manifest has no face " << Frame << " of " << Section;
    return 0;
  }
  return strip->Faces[Frame] & 0xFFFFFF;
}

class SkinnedFieldsEndToEnd : public SkinnedPanelEndToEnd {
 protected:
  HWND GroupBox(const char* Caption) {
    for (HWND g : e2e::FindChildren(program_->MainWindow(), "TsGroupBox"))
      if (e2e::WindowText(g) == Caption) return g;
    ADD_FAILURE() << "no group box " << Caption;
    return nullptr;
  }
  // The group box's own face: what most of its capture shows.
  uint32_t GroupFace(const char* Caption) {
    const e2e::TScreenImage image = e2e::CaptureWindow(GroupBox(Caption));
    return Dominant(image, Inside(image, 0));
  }
  // A user's click; each step lands before the next, as an open list tracks
  // the mouse while the button is held.
  void ClickAt(POINT Screen) {
    program_->Settle();
    e2e::MouseMoveTo(Screen);
    program_->Settle();
    e2e::MouseButton(true);
    program_->Settle();
    e2e::MouseButton(false);
  }
  // The capture around a label's first letters, the background being what
  // most of it shows.
  TLabelLook LabelLook(const TPlace& P) {
    HWND parent = P.Group ? GroupBox(P.Group) : GetParent(List(nullptr, 272, 354));
    TLabelLook look;
    if (!parent) return look;
    const e2e::TScreenImage image = e2e::CaptureWindow(parent);
    const POINT origin = e2e::ClientOffset(parent);
    const int x0 = origin.x + P.Left - kMargin, y0 = origin.y + P.Top - kMargin;
    const RECT part{x0, y0, x0 + kTextWidth + 2 * kMargin, y0 + kTextHeight + 2 * kMargin};
    look.Background = Dominant(image, part);
    for (int y = part.top; y < part.bottom; ++y)
      for (int x = part.left; x < part.right; ++x) {
        const uint32_t p = image.Contains(x, y) ? image.At(x, y) : look.Background;
        look.Pixels.push_back(p);
        look.Ink += e2e::ChannelDistance(p, look.Background);
      }
    return look;
  }
  HWND ListAt(const TPlace& P) { return List(P.Group, P.Left, P.Top); }
  // Polls until the box's inside is dominated by a colour that Accepts;
  // that colour.
  uint32_t AwaitBoxFace(HWND Box, const std::function<bool(uint32_t)>& Accepts) {
    uint32_t face = 0;
    e2e::PollUntil(kShowTimeoutMs, [&] {
      const e2e::TScreenImage image = e2e::CaptureWindow(Box);
      face = Dominant(image, Inside(image, 2));
      return Accepts(face);
    });
    return face;
  }
};

TEST_F(SkinnedFieldsEndToEnd, ValueBoxesShowTheSkinsFrameAndFace) {
  const test_skin::TestSkinManifest manifest = test_skin::BuildTestSkin().Manifest;
  const uint32_t face = Face(manifest, "EDIT", 0);

  StartPanel();
  std::vector<uint32_t> plain;
  for (const TPlace& p : kBoxes) {
    const e2e::TScreenImage image = e2e::CaptureWindow(Box(p.Group, p.Left, p.Top));
    plain.push_back(Dominant(image, Inside(image, 2)));
  }
  program_->Close();

  StartSkinnedPanel();
  for (size_t i = 0; i < std::size(kBoxes); ++i) {
    const TPlace& p = kBoxes[i];
    HWND box = Box(p.Group, p.Left, p.Top);
    if (i >= kThreeDFirst) continue;  // disabled: the next test
    const uint32_t shown =
        AwaitBoxFace(box, [&](uint32_t c) { return e2e::ChannelDistance(c, face) <= kTolerance; });
    EXPECT_LE(e2e::ChannelDistance(shown, face), kTolerance)
        << Where(p) << ": " << std::hex << shown;
    EXPECT_GT(e2e::ChannelDistance(plain[i], face), 8) << Where(p) << ": the plain box is skinned";
    // The mask's rim: one colour on all four sides, not the face's.
    const e2e::TScreenImage image = e2e::CaptureWindow(box);
    const uint32_t top = image.At(image.Width / 2, 0);
    for (const POINT& q : {POINT{0, image.Height / 2}, POINT{image.Width - 1, image.Height / 2},
                           POINT{image.Width / 2, image.Height - 1}})
      EXPECT_LE(e2e::ChannelDistance(image.At(q.x, q.y), top), kTolerance)
          << Where(p) << " rim at " << q.x << "," << q.y;
    EXPECT_GT(e2e::ChannelDistance(top, face), 20) << Where(p) << ": no rim";
  }
  SaveMainWindow("varnel-skinned-fields");
}

// Disabled boxes blend the skin's face with the group's face behind them:
// the "3D" ones from the start, the equalizer ones once it is switched off.
TEST_F(SkinnedFieldsEndToEnd, DisabledBoxesBlendTheirFaceWithTheGroups) {
  const test_skin::TestSkinManifest manifest = test_skin::BuildTestSkin().Manifest;
  const uint32_t face = Face(manifest, "EDIT", 0);
  StartSkinnedPanel();
  auto blended = [&](const TPlace& p) {
    const uint32_t group = GroupFace(p.Group);
    return AwaitBoxFace(Box(p.Group, p.Left, p.Top), [&](uint32_t c) {
      return e2e::ChannelDistance(c, face) > 8 && Between(c, face, group);
    });
  };
  for (size_t i = kThreeDFirst; i < std::size(kBoxes); ++i) {
    const uint32_t c = blended(kBoxes[i]);
    EXPECT_GT(e2e::ChannelDistance(c, face), 8) << Where(kBoxes[i]) << ": not blended";
    EXPECT_TRUE(Between(c, face, GroupFace(kBoxes[i].Group)))
        << Where(kBoxes[i]) << ": " << std::hex << c;
  }
  for (size_t i = 0; i < kEqBoxes; ++i)
    EXPECT_LE(
        e2e::ChannelDistance(
            AwaitBoxFace(Box(kBoxes[i].Group, kBoxes[i].Left, kBoxes[i].Top),
                         [&](uint32_t c) { return e2e::ChannelDistance(c, face) <= kTolerance; }),
            face),
        kTolerance)
        << Where(kBoxes[i]);
  e2e::ClickButton(EqButton());
  program_->Settle();
  for (size_t i = 0; i < kEqBoxes; ++i) {
    const uint32_t c = blended(kBoxes[i]);
    EXPECT_GT(e2e::ChannelDistance(c, face), 8) << Where(kBoxes[i]) << ": not blended";
    EXPECT_TRUE(Between(c, face, GroupFace(kBoxes[i].Group)))
        << Where(kBoxes[i]) << ": " << std::hex << c;
  }
  SaveMainWindow("varnel-skinned-eq-off-boxes");
}

// Varnel's lists are drop-down lists without a section of their own: they
// take the push button's face and draw their arrow in its font colour.
TEST_F(SkinnedFieldsEndToEnd, ListsShowTheButtonsFaceAndArrow) {
  const test_skin::TestSkinManifest manifest = test_skin::BuildTestSkin().Manifest;
  const uint32_t face = Face(manifest, "BUTTON", size_t(manifest.Controls.ButtonFrames[0]));
  const uint32_t arrow = FontColour(manifest, "BUTTON", 0);
  auto arrowPart = [](const e2e::TScreenImage& Image) {
    return RECT{Image.Width - 20, 2, Image.Width - 2, Image.Height - 2};
  };

  StartPanel();
  std::vector<e2e::TScreenImage> plain;
  for (const TPlace& p : kLists) plain.push_back(e2e::CaptureWindow(ListAt(p)));
  program_->Close();

  StartSkinnedPanel();
  for (size_t i = 0; i < std::size(kLists); ++i) {
    const TPlace& p = kLists[i];
    HWND list = ListAt(p);
    const uint32_t shown =
        AwaitBoxFace(list, [&](uint32_t c) { return e2e::ChannelDistance(c, face) <= kTolerance; });
    EXPECT_LE(e2e::ChannelDistance(shown, face), kTolerance)
        << Where(p) << ": " << std::hex << shown;
    const e2e::TScreenImage image = e2e::CaptureWindow(list);
    EXPECT_GE(CountOf(image, arrowPart(image), arrow), 4) << Where(p) << ": no arrow";
    EXPECT_GT(e2e::ChannelDistance(Dominant(plain[i], Inside(plain[i], 2)), face), 8)
        << Where(p) << ": the plain list is skinned";
    EXPECT_LT(CountOf(plain[i], arrowPart(plain[i]), arrow), 4)
        << Where(p) << ": the plain list has the skin's arrow";
  }
}

// A real click opens the reverb list, which then carries the one adapter of
// the panel and shows the button's pressed face; a click on its first item
// sends what the same click sends in the plain panel.
TEST_F(SkinnedFieldsEndToEnd, AClickedListCarriesOneAdapterAndAPickSendsAsInThePlainPanel) {
  const test_skin::TestSkinManifest manifest = test_skin::BuildTestSkin().Manifest;
  const uint32_t pressed = Face(manifest, "BUTTON", size_t(manifest.Controls.ButtonFrames[2]));
  std::vector<std::string> sent[2];
  for (int skinned = 0; skinned < 2; ++skinned) {
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    if (skinned)
      StartSkinnedPanel();
    else
      StartPanel();
    HWND list = ListAt(kLists[0]);
    if (skinned) {
      EXPECT_EQ(AdaptedListWindows(list), 0);
    }
    program_->ClearLogs();
    ClickAt(CentreOf(list));
    std::vector<HWND> open;
    EXPECT_TRUE(e2e::PollUntil(kShowTimeoutMs, [&] {
      open = OpenListWindows(list);
      return open.size() == 1;
    })) << "the click opened no list";
    if (open.size() != 1) {
      program_->Close();
      continue;
    }
    if (skinned) {
      EXPECT_NE(GetPropA(open[0], "VLSBSC"), nullptr) << "the open list has no adapter";
      EXPECT_EQ(AdaptedListWindows(list), 1);
      const uint32_t shown = AwaitBoxFace(
          list, [&](uint32_t c) { return e2e::ChannelDistance(c, pressed) <= kTolerance; });
      EXPECT_LE(e2e::ChannelDistance(shown, pressed), kTolerance) << "open: " << std::hex << shown;
    }
    DWORD_PTR itemHeight = 0;
    SendMessageTimeoutA(open[0], LB_GETITEMHEIGHT, 0, 0, SMTO_NORMAL, 5000, &itemHeight);
    RECT client{};
    GetClientRect(open[0], &client);
    POINT item{client.right / 2, int(itemHeight) / 2};
    ClientToScreen(open[0], &item);
    ClickAt(item);
    EXPECT_TRUE(e2e::PollUntil(kShowTimeoutMs, [&] { return OpenListWindows(list).empty(); }));
    program_->Settle();
    sent[skinned] = SysexMessages(program_->PortCalls());
    if (skinned) {
      EXPECT_EQ(AdaptedListWindows(list), 1) << "the closed list keeps its one adapter";
    }
    ParkMouse();
    program_->Close();
  }
  EXPECT_EQ(sent[0],
            (std::vector<std::string>{Sysex({0x30, 0}), Sysex({0x33, 26}), Sysex({0x34, 64})}));
  EXPECT_EQ(sent[1], sent[0]);
}

// Without a glow the hovered list shows the button's hot face, and its
// normal face again once the mouse has left.
TEST_F(SkinnedFieldsEndToEnd, AHoveredListShowsTheButtonsHotFace) {
  const test_skin::TestSkinManifest manifest = test_skin::BuildTestSkin("combo-glow-off").Manifest;
  const uint32_t normal = Face(manifest, "BUTTON", size_t(manifest.Controls.ButtonFrames[0]));
  const uint32_t hot = Face(manifest, "BUTTON", size_t(manifest.Controls.ButtonFrames[1]));
  StartSkinnedPanel("combo-glow-off");
  HWND list = ListAt(kLists[1]);
  auto await = [&](uint32_t want) {
    return AwaitBoxFace(list,
                        [&](uint32_t c) { return e2e::ChannelDistance(c, want) <= kTolerance; });
  };
  EXPECT_LE(e2e::ChannelDistance(await(normal), normal), kTolerance) << "at start";
  e2e::MouseMoveTo(CentreOf(list));
  EXPECT_LE(e2e::ChannelDistance(await(hot), hot), kTolerance) << "hovered";
  ParkMouse();
  EXPECT_LE(e2e::ChannelDistance(await(normal), normal), kTolerance) << "left";
}

// Labels draw their caption in the font colour of the section they stand
// on: the group box's, or the skin's global one on the plain sheet; the
// plain panel's labels are the font's own colour.
TEST_F(SkinnedFieldsEndToEnd, LabelsTakeTheFontColourOfTheirParentsSection) {
  const test_skin::TestSkinManifest manifest = test_skin::BuildTestSkin().Manifest;
  const uint32_t group = FontColour(manifest, "GROUPBOX", 0);
  const uint32_t global = ScreenRgb(manifest.Palette[1]);
  const uint32_t plainText = ScreenRgb(int32_t(GetSysColor(COLOR_WINDOWTEXT)));
  ASSERT_NE(group, global);
  const std::vector<uint32_t> candidates = {group, global, plainText};

  StartPanel();
  for (size_t i = 0; i < kThreeDLabelsFirst; ++i)
    EXPECT_EQ(ClosestColour(LabelLook(kLabels[i].At), kLabels[i].Caption, candidates), 2u)
        << "plain: " << Where(kLabels[i].At) << " " << kLabels[i].Caption;
  program_->Close();

  StartSkinnedPanel();
  program_->Settle();
  for (size_t i = 0; i < kThreeDLabelsFirst; ++i) {
    const TLabelPlace& l = kLabels[i];
    const TLabelLook look = LabelLook(l.At);
    EXPECT_GT(look.Ink, 0) << Where(l.At) << ": no caption";
    EXPECT_EQ(ClosestColour(look, l.Caption, candidates), 0u) << Where(l.At) << " " << l.Caption;
  }
  const TLabelPlace& onSheet = kLabels[std::size(kLabels) - 1];
  EXPECT_EQ(ClosestColour(LabelLook(onSheet.At), onSheet.Caption, candidates), 1u)
      << onSheet.Caption;
}

// A disabled label fades its caption towards the group's face: the
// equalizer's eight once it is switched off, the "3D" ones until it is
// switched on.
TEST_F(SkinnedFieldsEndToEnd, DisabledLabelsFadeTowardsTheGroupsFace) {
  StartSkinnedPanel();
  program_->Settle();
  std::vector<long long> before;
  for (const TLabelPlace& l : kLabels) before.push_back(LabelLook(l.At).Ink);
  e2e::ClickButton(EqButton());
  e2e::ClickButton(ThreeDButton());
  program_->Settle();
  for (size_t i = 0; i < std::size(kLabels) - 1; ++i) {
    const TPlace& p = kLabels[i].At;
    const bool fades = i < kEqLabels;
    const bool shows = i >= kThreeDLabelsFirst;
    if (!fades && !shows) continue;
    long long after = 0;
    e2e::PollUntil(kShowTimeoutMs, [&] {
      after = LabelLook(p).Ink;
      return fades ? after * 4 < before[i] * 3 : before[i] * 4 < after * 3;
    });
    EXPECT_GT(after, 0) << Where(p) << ": the caption is gone";
    if (fades) {
      EXPECT_LT(after * 4, before[i] * 3) << Where(p) << ": not faded";
    } else {
      EXPECT_LT(before[i] * 4, after * 3) << Where(p) << ": still faded";
    }
  }
  SaveMainWindow("varnel-skinned-eq-off");
}

}  // namespace
