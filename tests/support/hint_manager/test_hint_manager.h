// A hint manager for tests: settings they set directly, two templates drawn
// with the tests' PNG writer, and counters of the events the hint windows
// raise. Making it active points ActiveHintManager at it for a scope.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "skin/controls/alpha_hints.h"
#include "skin/controls/hint_templates.h"

namespace test_hints {

// The pictures' geometry: a square of kPictureSize with a transparent
// shadow of kShadow pixels on every side, a one-pixel rim inside it and a
// flat face; the nine-slice borders keep the rim and the shadow whole.
constexpr int kPictureSize = 24;
constexpr int kShadow = 3;
constexpr int kBorder = 6;
constexpr int kMargin = 8;
// Colours as 0xAARRGGBB, not premultiplied.
constexpr uint32_t kRim = 0xFF1D2327;
constexpr uint32_t kShadowColour = 0x40000000;
// The face of template 0's picture, then the faces of template 1's corner
// pictures in corner order (0 top-left .. 3 bottom-right).
constexpr uint32_t kPlainFace = 0xFFF4F1DE;
constexpr uint32_t kCornerFaces[4] = {0xFF8ECAE6, 0xFFB7E4C7, 0xFFE9C46A, 0xFFE76F51};

// The PNG file of one picture with the given face.
std::vector<uint8_t> HintPicturePng(uint32_t Face);

class TTestHintManager : public TvlHintManagerBase {
 public:
  TTestHintManager();
  ~TTestHintManager() override;

  TvlHintSettings Set;
  // Template 0 "plain": only its default picture. Template 1 "corners": a
  // picture per corner.
  std::unique_ptr<TvlHintTemplates> Items;
  int Changes = 0;
  int Hides = 0;
  bool LoadingFlag = false;
  std::function<bool(std::string&, bool&, TWinControl*&, THintInfo&)> OnShowHint;

  const TvlHintSettings& Settings() const override { return Set; }
  int TemplateCount() const override;
  TvlHintTemplate* Templates(int Index) const override;
  bool Loading() const override { return LoadingFlag; }
  bool ShowHintEvent(std::string& Text, bool& CanShow, TWinControl*& Custom,
                     THintInfo& Info) override;
  void ChangeEvent() override { ++Changes; }
  void HideEvent() override { ++Hides; }
};

// Points ActiveHintManager at a manager for a scope.
class TActiveHintScope {
 public:
  explicit TActiveHintScope(TvlHintManager* Manager) { ActiveHintManager = Manager; }
  ~TActiveHintScope() { ActiveHintManager = nullptr; }
  TActiveHintScope(const TActiveHintScope&) = delete;
  TActiveHintScope& operator=(const TActiveHintScope&) = delete;
};

}  // namespace test_hints
