#include "tests/support/e2e/skinned_look.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "skin/foundation/argb_factories.h"
#include "tests/support/e2e/program_under_test.h"
#include "widgets/graphics/gdi_handles.h"

namespace e2e {

namespace {

const std::vector<uint8_t>& FileBytes(const test_skin::TestSkinFiles& F, const char* Name) {
  for (const test_skin::SkinFile& file : F.Files)
    if (file.Name == Name) return file.Bytes;
  throw std::logic_error(std::string("the test skin has no ") + Name);
}

// Where a place along an edge of Length comes from in a frame of Frame
// pixels whose First and Last ones are the corners: the corners as they
// stand, the middle repeated.
int Source(int At, int Length, int First, int Last, int Frame) {
  if (At < First) return At;
  if (At >= Length - Last) return Frame - (Length - At);
  return First + (At - First) % (Frame - First - Last);
}

bool IsMasked(const std::vector<RECT>& Masked, int X, int Y) {
  const POINT at{X, Y};
  return std::any_of(Masked.begin(), Masked.end(),
                     [&](const RECT& r) { return PtInRect(&r, at) != 0; });
}

// The child windows of a control, in the coordinates of its window.
std::vector<RECT> Children(HWND Control) {
  RECT own{};
  GetWindowRect(Control, &own);
  std::vector<RECT> out;
  for (HWND c = GetWindow(Control, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(c, &r);
    OffsetRect(&r, -own.left, -own.top);
    out.push_back(r);
  }
  return out;
}

// The corner images of a page control's display area, in the order they
// are laid on it: top left, top right, bottom left, bottom right.
constexpr const char* kCornerKeys[] = {"IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT", "IMGBTMRIGHT"};

}  // namespace

int FrameWidthOf(const test_skin::MfImage& I) {
  return I.FrameWidth > 0 ? I.FrameWidth : I.SourceRect.Width() / std::max(1, I.FrameCount);
}

int FrameHeightOf(const test_skin::MfImage& I) {
  return I.FrameHeight > 0 ? I.FrameHeight : I.SourceRect.Height() / (I.MaskCount + 1);
}

std::string CountMismatches(
    const TScreenImage& Capture, const std::string& What, int Top, const std::vector<RECT>& Masked,
    const std::function<bool(int X, int Y, uint32_t& Want, int& Tolerance)>& Want) {
  std::string first;
  int bad = 0, all = 0;
  for (int y = Top; y < Capture.Height; ++y)
    for (int x = 0; x < Capture.Width; ++x) {
      uint32_t want = 0;
      int tolerance = 0;
      if (IsMasked(Masked, x, y) || !Want(x, y, want, tolerance)) continue;
      ++all;
      const uint32_t shown = Capture.At(x, y);
      if (ChannelDistance(shown, want) <= tolerance || ++bad > 6) continue;
      char line[96];
      snprintf(line, sizeof line, " (%d,%d) shows %06X, expected %06X;", x, y, unsigned(shown),
               unsigned(want));
      first += line;
    }
  if (all == 0) return What + ": every place is masked";
  if (bad == 0) return "";
  return What + ": " + std::to_string(bad) + " of " + std::to_string(all) +
         " pixels differ:" + first;
}

TSkinnedLook::TSkinnedLook(const std::string& Variant, TCaptionFont Font)
    : files_(test_skin::BuildTestSkin(Variant)),
      master_(test_skin::DecodeBmp(FileBytes(files_, "MASTER.BMP"))),
      font_(Font) {}

SIZE TSkinnedLook::CaptionSize(const std::string& Text) const {
  const TOwnedFont font(CreateFontA(font_.Height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0,
                                    0, NONANTIALIASED_QUALITY, 0, font_.Name));
  const TMemoryDC dc(CreateCompatibleDC(nullptr));
  const TSelectedObject selected(dc.Get(), font.Get());
  SIZE size{};
  GetTextExtentPoint32A(dc.Get(), Text.data(), int(Text.size()), &size);
  return size;
}

RECT TSkinnedLook::CaptionRect(int Left, int Top, const std::string& Text) const {
  constexpr int kOverhang = 2;
  const SIZE size = CaptionSize(Text);
  return {Left - kOverhang, Top - kOverhang, Left + size.cx + kOverhang, Top + size.cy + kOverhang};
}

std::string TSkinnedLook::ControlMismatches(HWND Control, const TSkinnedPart& Part,
                                            const TScreenImage& Capture, int State,
                                            const std::vector<RECT>& Masked) const {
  if (Part.Page != TPageRole::None) return PageMismatches(Control, Part, Capture, Masked);
  std::vector<RECT> masked = Children(Control);
  masked.insert(masked.end(), Masked.begin(), Masked.end());
  const int top = Part.FrameBelowCaption ? FrameTop(Capture, Part, masked) : 0;
  if (top < 0) return std::string(Part.Section) + ": no frame top";
  if (Part.FrameBelowCaption) {
    constexpr int kMargin = 12;
    masked.push_back({0, 0, CaptionSize(WindowText(Control)).cx + 2 * kMargin, 2 * top + 2});
  }
  return Mismatches(Capture, Part, top, masked, State);
}

const test_skin::MfImage& TSkinnedLook::Image(const std::string& Section,
                                              const std::string& Key) const {
  const int i = files_.Manifest.ImageIndex(Section, Key);
  if (i < 0) throw std::logic_error("the test skin has no " + Section + "/" + Key);
  return files_.Manifest.Images[size_t(i)];
}

const test_skin::MfImage& TSkinnedLook::Image(const TSkinnedPart& Part) const {
  return Image(Part.Section, Part.Key);
}

bool TSkinnedLook::RingPixel(const test_skin::MfImage& Image, int State, int W, int H, int X, int Y,
                             uint32_t& Rgb) const {
  const int left = Image.BorderLeft, right = Image.BorderRight;
  const int top = Image.BorderTop, bottom = Image.BorderBottom;
  // A painted centre repeats the image's middle as the edges do.
  const bool centre = X >= left && X < W - right && Y >= top && Y < H - bottom;
  if (centre && !(Image.PaintMode & 4)) return false;
  const int fw = Image.FrameWidth, fh = Image.FrameHeight;
  const int frame = std::min(State, Image.FrameCount - 1);
  Rgb = master_.At(Image.SourceRect.Left + frame * fw + Source(X, W, left, right, fw),
                   Image.SourceRect.Top + Source(Y, H, top, bottom, fh)) &
        0xFFFFFF;
  return true;
}

int TSkinnedLook::FrameTop(const TScreenImage& Capture, const TSkinnedPart& Part,
                           const std::vector<RECT>& Masked) const {
  if (!Part.Key) return 0;
  const test_skin::MfImage& image = Image(Part);
  const int right = image.BorderRight, top = image.BorderTop, w = Capture.Width;
  for (int y = 0; y + top <= Capture.Height; ++y) {
    bool all = true;
    int seen = 0;
    for (int dy = 0; dy < top && all; ++dy)
      for (int dx = 1; dx <= right && all; ++dx) {
        if (IsMasked(Masked, w - dx, y + dy)) continue;
        uint32_t want = 0;
        RingPixel(image, 0, w, image.FrameHeight, w - dx, dy, want);
        all = Capture.At(w - dx, y + dy) == want;
        ++seen;
      }
    // A row or two of the corner are enough to tell where it lies.
    if (all && seen >= 2 * top) return y;
  }
  return -1;
}

std::string TSkinnedLook::Mismatches(const TScreenImage& Capture, const TSkinnedPart& Part, int Top,
                                     const std::vector<RECT>& Masked, int State) const {
  const test_skin::MfImage* image = Part.Key ? &Image(Part) : nullptr;
  if (image && (image->PaintMode & 1))
    return std::string(Part.Section) + ": a stretched image is not modelled";
  const int sectionIndex = files_.Manifest.SectionIndex(Part.Section);
  if (sectionIndex < 0) return std::string("the test skin has no section ") + Part.Section;
  const test_skin::MfSection& section = files_.Manifest.Sections.at(size_t(sectionIndex));
  const uint32_t face = SwapRedBlue(section.States[size_t(std::min(State, 2))].Color);
  const int w = Capture.Width, h = Capture.Height - Top;
  return CountMismatches(Capture, Part.Section, Top, Masked,
                         [&](int X, int Y, uint32_t& Want, int&) {
                           Want = face;
                           if (image) RingPixel(*image, State, w, h, X, Y - Top, Want);
                           return true;
                         });
}

int TSkinnedLook::DisplayTop(const TScreenImage& Capture, const TSkinnedPart& Part,
                             const std::vector<RECT>& Masked) const {
  const int i = files_.Manifest.ImageIndex(Part.Section, kCornerKeys[1]);
  if (i < 0) return -1;
  const test_skin::MfImage& corner = files_.Manifest.Images[size_t(i)];
  const int fw = FrameWidthOf(corner), fh = FrameHeightOf(corner), x0 = Capture.Width - fw;
  for (int y = 0; y + fh <= Capture.Height; ++y) {
    bool all = true;
    int seen = 0;
    for (int dy = 0; dy < fh && all; ++dy)
      for (int dx = 0; dx < fw && all; ++dx) {
        if (IsMasked(Masked, x0 + dx, y + dy)) continue;
        const uint32_t want =
            master_.At(corner.SourceRect.Left + dx, corner.SourceRect.Top + dy) & 0xFFFFFF;
        all = Capture.At(x0 + dx, y + dy) == want;
        ++seen;
      }
    if (all && seen >= fw) return y;
  }
  return -1;
}

bool TSkinnedLook::PagePixel(const TSkinnedPart& Part, int W, int H, int Top, int X, int Y,
                             uint32_t& Want) const {
  if (Y < Top || X < 0 || X >= W || Y >= H) return false;
  const int y = Y - Top, h = H - Top;
  // Laid last, shown on top.
  for (int c = 3; c >= 0; --c) {
    const int i = files_.Manifest.ImageIndex(Part.Section, kCornerKeys[c]);
    if (i < 0) continue;
    const test_skin::MfImage& corner = files_.Manifest.Images[size_t(i)];
    const int fw = FrameWidthOf(corner), fh = FrameHeightOf(corner);
    const int left = (c == 1 || c == 3) ? W - fw : 0, top = c >= 2 ? h - fh : 0;
    if (X < left || X >= left + fw || y < top || y >= top + fh) continue;
    Want =
        master_.At(corner.SourceRect.Left + X - left, corner.SourceRect.Top + y - top) & 0xFFFFFF;
    return true;
  }
  const int sectionIndex = files_.Manifest.SectionIndex(Part.Section);
  Want = SwapRedBlue(files_.Manifest.Sections.at(size_t(sectionIndex)).States[0].Color);
  if (Part.Key) RingPixel(Image(Part), 0, W, h, X, y, Want);
  return true;
}

std::string TSkinnedLook::PageMismatches(HWND Control, const TSkinnedPart& Part,
                                         const TScreenImage& Capture,
                                         const std::vector<RECT>& Masked) const {
  const std::string what = std::string(Part.ClassName) + " " + Part.Section;
  if (files_.Manifest.SectionIndex(Part.Section) < 0) return "the test skin has no " + what;
  if (Part.Key && (Image(Part).PaintMode & 1)) return what + ": a stretched image is not modelled";
  // The corner images are laid as they stand; a mask would blend them.
  for (const char* key : kCornerKeys) {
    const int i = files_.Manifest.ImageIndex(Part.Section, key);
    if (i >= 0 && files_.Manifest.Images[size_t(i)].MaskCount > 0)
      return what + ": a masked corner image is not modelled";
  }
  const HWND pages = Part.Page == TPageRole::Sheet ? GetParent(Control) : Control;
  if (!pages) return what + ": no page control";
  RECT pr{}, cr{};
  GetWindowRect(pages, &pr);
  GetWindowRect(Control, &cr);
  const int ox = cr.left - pr.left, oy = cr.top - pr.top;
  const int pw = pr.right - pr.left, ph = pr.bottom - pr.top;

  // The active tab is painted pressed and 2 px larger on every side, over
  // the display area's edge; the tab row above the area shows the parent.
  std::vector<RECT> tabs;
  const LRESULT active = SendMessageA(pages, TCM_GETCURSEL, 0, 0);
  if (active >= 0) {
    RECT tab = AskRect(pages, TCM_GETITEMRECT, WPARAM(active));
    const POINT client = ClientOffset(pages);
    OffsetRect(&tab, client.x, client.y);
    InflateRect(&tab, 2, 2);
    tabs.push_back(tab);
  }
  std::vector<RECT> pageMasked = Children(pages);
  pageMasked.insert(pageMasked.end(), tabs.begin(), tabs.end());
  const int top = DisplayTop(pages == Control ? Capture : CaptureWindow(pages), Part, pageMasked);
  if (top < 0) return what + ": no display area";

  std::vector<RECT> masked = Children(Control);
  masked.insert(masked.end(), Masked.begin(), Masked.end());
  for (RECT r : tabs) {
    OffsetRect(&r, -ox, -oy);
    masked.push_back(r);
  }
  return CountMismatches(Capture, what, 0, masked, [&](int X, int Y, uint32_t& Want, int&) {
    return PagePixel(Part, pw, ph, top, X + ox, Y + oy, Want);
  });
}

}  // namespace e2e
