// The library's track bar: the common control keeps doing the work (range,
// position, keyboard, mouse tracking), the library paints the whole face
// into the skin state's cache, from the skin's slider images when skinned,
// its own plain look otherwise.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/controls/hint_hold.h"
#include "skin/engine/common_data.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/comctrls.h"
#include "widgets/graphics/graphics.h"

class TBitmap;
class TCanvas;

using TPaintEvent = TEvent<void(TObject* Sender, TCanvas* Canvas)>;

class TsTrackBar : public TTrackBar {
  DECLARE_CLASS(TsTrackBar, TTrackBar)
 public:
  static constexpr int TickLength = 4;

  explicit TsTrackBar(TComponent* AOwner);
  ~TsTrackBar() override;
  void AfterConstruction() override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void ChangeScale(int M, int D) override;

  TsCommonData* SkinData() const { return skinData_; }
  bool Reversed() const { return reversed_; }
  void SetReversed(bool v);
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool v) { showFocus_ = v; }
  bool ShowProgress() const { return showProgress_; }
  void SetShowProgress(bool v);
  int ShowProgressFrom() const { return showProgressFrom_; }
  void SetShowProgressFrom(int v);
  TBitmap* ThumbGlyph() const { return thumbGlyph_; }
  void SetThumbGlyph(TBitmap* v);
  int BarOffsetH() const { return barOffsetH_; }
  void SetBarOffsetH(int v);
  int BarOffsetV() const { return barOffsetV_; }
  void SetBarOffsetV(int v);
  TvlAnimatEvents AnimatEvents() const { return animatEvents_; }
  void SetAnimatEvents(TvlAnimatEvents v) { animatEvents_ = v; }
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind v);

  TNotifyEvent OnUserChange;
  TNotifyEvent OnUserChanged;
  TPaintEvent OnSkinPaint;

  // Geometry as painted: the control's answers, mirrored when Reversed and
  // moved by the bar offsets.
  TRect ThumbRect();
  TRect ChannelRect();
  // 2 while the left button holds the thumb, else the skin state's state.
  int ThumbState();
  // Where each tick is painted along the bar (x for a horizontal bar).
  std::vector<int> TickPositions();
  // The mask indices in use, -1 = none: tick, progress, channel, thumb.
  int TickMask() const { return tickMask_; }
  int ProgressMask() const { return progressMask_; }
  int ChannelMask() const { return channelMask_; }
  int ThumbMask() const { return thumbMask_; }
  void UpdateSliderMasks(int SectionIndex);
  // Builds the cache: face, ticks, thumb and (skinned, disabled) the
  // disabled look.
  void PrepareCache();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void PaintWindow(HDC DC) override;
  virtual void DoUserChange(bool Final);

 private:
  bool Vertical() const { return Orientation() == trVertical; }
  bool Skinned() const { return skinData_->Skinned(); }
  void PaintCachedImage(HDC DC);
  void PaintBody();
  void PaintStdBackground();
  // The state indices are the face's and the thumb's, taken once per paint.
  int ThumbStateFrom(int State) const;
  void PaintStdChannel(int ThumbStateIndex);
  void PaintStdThumb(int ThumbStateIndex);
  void PaintSkinnedChannel(int State, int ThumbStateIndex);
  void PaintSkinnedThumb(int ThumbStateIndex);
  std::vector<int> TickPositionsAt(const TRect& C, const TRect& T);
  void PaintTicks(int ThumbStateIndex);
  // The value tick Index of Count stands for: the range's ends for the end
  // ticks, the control's own tick values between them.
  int TickValue(int Index, int Count);
  void PaintTick(int X, int Y, int ThumbStateIndex);
  void PaintSelectionMarks(const TRect& C, const TRect& T);
  void PaintThumbGlyph(const TRect& T);
  void PaintFocus(TColor FocusColor);
  // Span of the progress fill inside R along the bar: (start, end).
  std::pair<int, int> ProgressSpanIn(const TRect& R);
  void MirrorMouseMessage(TMessage& Message);
  bool HandleSkinMessage(TMessage& Message);
  void HandleSkinnedMessage(TMessage& Message);
  // Hints and the pressed thumb around a left-button press and release.
  void SkinnedButton(const TMessage& Message);
  void FadeThumb(TvlAnimatEvent Event, bool Pressed);

  TsCommonData* skinData_ = nullptr;  // owned
  TBitmap* thumbGlyph_ = nullptr;     // owned
  int tickMask_ = -1, progressMask_ = -1, channelMask_ = -1, thumbMask_ = -1;
  bool reversed_ = false;
  bool showFocus_ = false;
  bool showProgress_ = false;
  int showProgressFrom_ = 0;
  int barOffsetH_ = 0, barOffsetV_ = 0;
  TvlAnimatEvents animatEvents_ = 1u << aeGlobalDef;
  TsDisabledKind disabledKind_ = dkBlended;
  THintHold hints_;
  bool inUserChange_ = false;  // re-entry guard of the user-change events
};

// ---- The arithmetic of the paint, free of windows

struct TTickLayout {
  TTickStyle Style = tsAuto;
  int Count = 0;                         // TBM_GETNUMTICS
  int ChannelStart = 0, ChannelEnd = 0;  // along the bar, already shifted
  int ThumbLength = 0;                   // thumb size along the bar
  std::vector<int> Inner;                // TBM_GETTICPOS 0 .. Count - 3 (tsManual)
};
// No ticks for tsNone or fewer than two: the spacing needs two ends.
std::vector<int> LayOutTicks(const TTickLayout& Layout);

struct TProgressInput {
  int Start = 0, End = 0;  // of the rectangle along the bar
  int Position = 0, Min = 0, Max = 0, From = 0;
  bool Reversed = false;
};
std::pair<int, int> ProgressSpan(const TProgressInput& In);

// Rows reversed for a horizontal bar, columns for a vertical one.
void MirrorBitmap(TBitmap* Bitmap, bool Vertical);
