// What a control of the skin library shows when painted from the generated
// test skin, worked out from the skin's manifest and master picture alone:
// the ring of its section's bordered image around the control's frame
// (corners as they stand, edges repeating the image's middle) and the
// section's own colour inside it. Captions, children and anything else
// the caller masks are left unchecked.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "image_files.h"
#include "test_skin.h"
#include "tests/support/e2e/screen.h"

namespace e2e {

// Where a part's look comes from when it belongs to a page control.
enum class TPageRole {
  None,
  // The page control: its display area below the tab row.
  Control,
  // Its sheet, which shows the page control's look at the sheet's place.
  Sheet,
};

// One kind of skinned control in a program: its window class, the section
// and image it paints from, and where its frame starts.
struct TSkinnedPart {
  const char* ClassName;
  const char* Section;
  // The bordered image of its frame; null when the section's face alone
  // fills the window.
  const char* Key;
  // The frame's top row crosses a caption band (a group box's); else the
  // frame fills the window.
  bool FrameBelowCaption;
  TPageRole Page = TPageRole::None;
};

// The font a program's controls write their captions in, to measure them
// (the same font measures the same in every process of the machine).
struct TCaptionFont {
  const char* Name;
  int Height;
};

// The size of one frame of an image (its state strip cut in FrameCount
// columns and MaskCount + 1 rows when the manifest states no size).
int FrameWidthOf(const test_skin::MfImage& Image);
int FrameHeightOf(const test_skin::MfImage& Image);

// Counts the capture's pixels, where not Masked and where Want has a value,
// that differ from it by more than the tolerance Want sets (0 unless it
// changes it): empty when none does, else the count and the first few.
std::string CountMismatches(
    const TScreenImage& Capture, const std::string& What, int Top, const std::vector<RECT>& Masked,
    const std::function<bool(int X, int Y, uint32_t& Want, int& Tolerance)>& Want);

class TSkinnedLook {
 public:
  explicit TSkinnedLook(const std::string& Variant = test_skin::kSoundVariant,
                        TCaptionFont Font = {"Tahoma", -11});

  const test_skin::TestSkinManifest& Manifest() const { return files_.Manifest; }
  const test_skin::Raster& Master() const { return master_; }
  // The section's image of that key; throws std::logic_error when the skin
  // has none.
  const test_skin::MfImage& Image(const std::string& Section, const std::string& Key) const;

  // The master's pixel for (X, Y) of a ring W x H painted from the bordered
  // Image in State, as 0x00RRGGBB; false inside the ring's centre when the
  // image leaves the centre unpainted.
  bool RingPixel(const test_skin::MfImage& Image, int State, int W, int H, int X, int Y,
                 uint32_t& Rgb) const;

  // The first row at which the capture shows the image's top-right corner
  // at the window's right edge, exactly, where not Masked; -1 when none
  // does, 0 for a part without an image.
  int FrameTop(const TScreenImage& Capture, const TSkinnedPart& Part,
               const std::vector<RECT>& Masked) const;

  // Compares the ring and the face inside it (state State) with the
  // capture of the control's window, whose frame starts at row Top, apart
  // from the Masked rectangles (window coordinates). Empty when all match,
  // else the count of mismatches and the first few.
  std::string Mismatches(const TScreenImage& Capture, const TSkinnedPart& Part, int Top,
                         const std::vector<RECT>& Masked, int State = 0) const;

  // Mismatches of a control's window (another process's) as captured,
  // leaving out its child windows, the Masked rectangles (window
  // coordinates: what the control writes itself, as its labels) and, for a
  // frame below a caption, the caption with a margin on either side.
  std::string ControlMismatches(HWND Control, const TSkinnedPart& Part, const TScreenImage& Capture,
                                int State = 0, const std::vector<RECT>& Masked = {}) const;

  // Where a caption written at (Left, Top) in the program's font lies, with
  // a margin of 2 on every side for the glyphs' overhang.
  RECT CaptionRect(int Left, int Top, const std::string& Text) const;

  // The first row of a page control's capture at which the section's
  // top-right corner image shows at the right edge, exactly, where not
  // Masked; -1 when none does.
  int DisplayTop(const TScreenImage& Capture, const TSkinnedPart& Part,
                 const std::vector<RECT>& Masked) const;

 private:
  const test_skin::MfImage& Image(const TSkinnedPart& Part) const;

  SIZE CaptionSize(const std::string& Text) const;

  // The page control's look: the section's display area of W x H from row
  // Top of its window, with its corner images; false above it.
  bool PagePixel(const TSkinnedPart& Part, int W, int H, int Top, int X, int Y,
                 uint32_t& Rgb) const;
  // A page control or its sheet, another process's window as captured.
  std::string PageMismatches(HWND Control, const TSkinnedPart& Part, const TScreenImage& Capture,
                             const std::vector<RECT>& Masked) const;

  test_skin::TestSkinFiles files_;
  test_skin::Raster master_;
  TCaptionFont font_;
};

}  // namespace e2e
