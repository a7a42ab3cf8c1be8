// The library's group box: a frame and a caption whose place, width and
// margins can be set, an optional check box in front of the caption that
// the user toggles with a click on box or caption, and a faded hover look of
// that caption area. Skinned, it paints from the skin into its cache, from
// which its children take their background; unskinned it paints the
// platform's group-box look itself, themed or classic.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "skin/engine/common_data.h"
#include "widgets/controls/stdctrls.h"

class TsGroupBox;

// The caption margins; a change repaints the owning group box.
class TsMargin : public TPersistent {
  DECLARE_CLASS(TsMargin, TPersistent)
 public:
  explicit TsMargin(TsGroupBox* AOwner) : owner_(AOwner) {}
  TPersistent* GetOwner() const override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Right() const { return right_; }
  int Bottom() const { return bottom_; }
  void SetLeft(int v) { Set(left_, v); }
  void SetTop(int v) { Set(top_, v); }
  void SetRight(int v) { Set(right_, v); }
  void SetBottom(int v) { Set(bottom_, v); }

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  void Set(int& Field, int v);
  void Changed();

  TsGroupBox* owner_;
  int left_ = 2, top_ = 0, right_ = 2, bottom_ = 0;
};

class TsGroupBox : public TGroupBox {
  DECLARE_CLASS(TsGroupBox, TGroupBox)
 public:
  // The group box's own caption places; the constants unit has a type of the
  // same name for bound labels, with other values.
  enum TsCaptionLayout : uint8_t { clTopLeft, clTopCenter, clTopRight };

  explicit TsGroupBox(TComponent* AOwner);
  ~TsGroupBox() override;
  void AfterConstruction() override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void AdjustClientRect(TRect& Rect) override;

  TsCommonData* SkinData() const { return skinData_; }
  TsMargin* CaptionMargin() const { return captionMargin_; }
  TsCaptionLayout CaptionLayout() const { return captionLayout_; }
  void SetCaptionLayout(TsCaptionLayout v);
  int CaptionYOffset() const { return captionYOffset_; }
  void SetCaptionYOffset(int v);
  int CaptionWidth() const { return captionWidth_; }
  void SetCaptionWidth(int v);
  const std::string& CaptionSkin() const { return captionSkin_; }
  void SetCaptionSkin(const std::string& v);
  bool CheckBoxVisible() const { return checkBoxVisible_; }
  void SetCheckBoxVisible(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);

  TNotifyEvent OnCheckBoxChanged;

  // ---- Caption geometry, in client coordinates
  int CaptionTextHeight();
  int CaptionHeight();
  int CheckBoxWidth();
  int CheckBoxHeight();
  TRect CaptionRect();
  // Empty while the check box is hidden.
  TRect CheckBoxRect();
  // Caption and check box together: what a hover fade repaints.
  TRect CheckArea();
  bool CheckHot() const { return checkHot_ != 0; }
  bool CheckPressed() const { return checkPressed_; }

  // Paints the whole control into DC: from the cache when skinned, the
  // platform's look otherwise.
  void PaintTo(HDC DC);
  // Builds the skinned cache; false when the parent's background is not
  // ready yet (the skin state is then updating).
  bool PrepareCache();
  // The step of the caption area's hover fade.
  static bool CaptionFadeStep(TsCommonData* SkinData, int Step);

 protected:
  void Paint() override;

 private:
  friend class TsMargin;
  // Indices in the manager's standard sections.
  static constexpr int kStdCheckBoxSection = 1;
  static constexpr int kStdTransparentSection = 5;
  static constexpr int kStdGroupBoxSection = 6;

  bool Skinned() const { return skinData_->Skinned(); }
  void Changed();
  TCanvas* MeasureCanvas();
  // The skin's check-box image for the current Checked value; -1 = none.
  int CheckBoxImage();
  bool InCheckArea(LPARAM Point);
  // The press, release and hover of the check area; never consumes.
  void FilterCheckBoxMessage(const TMessage& Message);
  void RepaintCheckArea(int State, bool Animated);
  bool HandleSkinMessage(TMessage& Message);
  void HandleSkinnedMessage(TMessage& Message);

  // ---- Painting (group_box_paint.cpp)
  void PaintUnskinned(HDC DC);
  void PaintThemedFrame(HDC DC);
  void PaintClassicFrame(HDC DC);
  void PaintStdCheckBox(HDC DC, int State);
  void PaintSkinned(HDC DC);
  void PaintCaptionArea(int State);
  void PaintCaption(int State);
  void PaintSkinnedCheckBox(int State);
  UINT CaptionFormat();

  TsCommonData* skinData_ = nullptr;   // owned
  TsMargin* captionMargin_ = nullptr;  // owned
  TsCaptionLayout captionLayout_ = clTopLeft;
  int captionYOffset_ = 0;
  int captionWidth_ = 0;
  std::string captionSkin_;
  bool checkBoxVisible_ = false;
  bool checked_ = false;
  int checkHot_ = 0;
  bool checkPressed_ = false;
  int fadeRepeats_ = 0;  // extra steps a fade-out took to reach its end
};
