// Common controls: track bar, tab control, page control and tab sheets, tool
// bar and tool buttons.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "widgets/controls/controls.h"
#include "widgets/graphics/gdi_handles.h"

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TWinControl {
  DECLARE_CLASS(TTrackBar, TWinControl)
 public:
  static const TEnumInfo& OrientationInfo();
  static const TEnumInfo& TickStyleInfo();
  static const TEnumInfo& TickMarksInfo();

  explicit TTrackBar(TComponent* AOwner);

  int Min() const { return min_; }
  void SetMin(int v) { SetParams(position_, v, max_); }
  int Max() const { return max_; }
  void SetMax(int v) { SetParams(position_, min_, v); }
  int Position() const { return position_; }
  // Clamped to [Min, Max]; raises OnChange only when the value changes.
  void SetPosition(int v) { SetParams(v, min_, max_); }
  int Frequency() const { return frequency_; }
  void SetFrequency(int v);
  int LineSize() const { return lineSize_; }
  void SetLineSize(int v);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int v);
  int ThumbLength() const { return thumbLength_; }
  void SetThumbLength(int v);
  int SelStart() const { return selStart_; }
  void SetSelStart(int v);
  int SelEnd() const { return selEnd_; }
  void SetSelEnd(int v);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation v);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle v);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark v);

  TNotifyEvent OnChange;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // Pushes range, position, frequency, sizes and selection into the window.
  void CreateWnd() override;
  void DestroyWnd() override;
  // CM_CHANGED, then OnChange.
  void Changed() override;

 private:
  void SetParams(int APosition, int AMin, int AMax);
  void UpdateSelection();
  // Themed: a brush of what lies behind the control, so its background
  // matches a themed parent (the tab body, a group box).
  HBRUSH ParentBackgroundBrush();

  TOwnedBrush backgroundBrush_;

  int min_ = 0, max_ = 10, position_ = 0;
  int frequency_ = 1, lineSize_ = 1, pageSize_ = 2, thumbLength_ = 20;
  int selStart_ = 0, selEnd_ = 0;
  TTrackBarOrientation orientation_ = trHorizontal;
  TTickStyle tickStyle_ = tsAuto;
  TTickMark tickMarks_ = tmBottomRight;
};

class TTabSheet;
class TCustomImageList;
class TCustomTabControl;
using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TDrawTabEvent =
    TEvent<void(TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active)>;

class TCustomTabControl : public TWinControl {
  DECLARE_CLASS(TCustomTabControl, TWinControl)
 public:
  explicit TCustomTabControl(TComponent* AOwner);

  int TabIndex() const;
  virtual void SetTabIndex(int v);
  // The area inside the tabs and frame (TCM_ADJUSTRECT).
  TRect DisplayRect();
  TRect TabRect(int Index);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  void AdjustClientRect(TRect& Rect) override;
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition v);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle v);
  // 0: the platform's size for the text.
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int v);
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int v);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  // Tabs drawn by OnDrawTab (TCS_OWNERDRAWFIXED) on Canvas.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  TCanvas* Canvas() const { return canvas_.get(); }
  // The image of a tab; the page control's come from its sheets.
  virtual int GetImageIndex(int TabIndex) { return TabIndex; }
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TDrawTabEvent OnDrawTab;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void DrawTab(int TabIndex, const TRect& Rect, bool Active);
  void ApplyTabSize();
  void ApplyImages();
  // TCN_SELCHANGING asks CanChange; TCN_SELCHANGE runs Change.
  virtual bool CanChange();
  virtual void Change();
  // The tab texts, in order; the page control's come from its visible sheets.
  virtual std::vector<std::string> TabTexts() const = 0;
  // Rebuilds the window's tabs from TabTexts and selects the current one.
  void UpdateTabs();
  virtual int CurrentTab() const { return tabIndex_; }

  int tabIndex_ = -1;  // while there is no window

 private:
  bool multiLine_ = false;
  TTabPosition tabPosition_ = tpTop;
  TTabStyle style_ = tsTabs;
  int tabHeight_ = 0, tabWidth_ = 0;
  bool hotTrack_ = false;
  bool ownerDraw_ = false;
  TCustomImageList* images_ = nullptr;
  std::unique_ptr<TControlCanvas> canvas_;
};

class TPageControl : public TCustomTabControl {
  DECLARE_CLASS(TPageControl, TCustomTabControl)
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int Index) const { return pages_.at(static_cast<size_t>(Index)); }
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int v);
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible);
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  int GetImageIndex(int TabIndex) override;
  // The page of a visible tab, null for none.
  TTabSheet* PageOfTab(int TabIndex) const;

 protected:
  void Change() override;
  // Shows the sheet of the selected tab and hides the one before.
  virtual void UpdateActivePage();
  std::vector<std::string> TabTexts() const override;
  int CurrentTab() const override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void ChangeActivePage(TTabSheet* Page);

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

class TTabSheet : public TCustomControl {
  DECLARE_CLASS(TTabSheet, TCustomControl)
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  // Setting it (or Parent to a page control) inserts the tab.
  void SetPageControl(TPageControl* v);
  int PageIndex() const;
  void SetPageIndex(int v);
  // The index among the visible tabs, -1 without a tab.
  int TabIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  void SetParent(TWinControl* AParent) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  int imageIndex_ = -1;
  bool tabVisible_ = true;
};

// ---- Tool bar ------------------------------------------------------------------------------

class TCustomImageList;
class TToolButton;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider, tbsTextButton };

// A row of tool buttons on a window of the layer's own: it holds what its
// buttons are drawn from (image lists, button size, list or caption mode);
// drawing the buttons is left to whoever paints them.
class TToolBar : public TWinControl {
  DECLARE_CLASS(TToolBar, TWinControl)
 public:
  explicit TToolBar(TComponent* AOwner);

  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v) { SetImageList(images_, v); }
  // Images for the button under the mouse and for disabled buttons; null:
  // Images serves.
  TCustomImageList* HotImages() const { return hotImages_; }
  void SetHotImages(TCustomImageList* v) { SetImageList(hotImages_, v); }
  TCustomImageList* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(TCustomImageList* v) { SetImageList(disabledImages_, v); }
  // Every button on the bar takes this size.
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int v);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int v);
  // List: the image beside the caption rather than above it.
  bool List() const { return list_; }
  void SetList(bool v);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v);

  // The tool buttons among the children, in Controls() order.
  int ButtonCount() const;
  TToolButton* Buttons(int Index) const;

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void SetImageList(TCustomImageList*& Field, TCustomImageList* v);
  void ResizeButtons();

  TCustomImageList* images_ = nullptr;
  TCustomImageList* hotImages_ = nullptr;
  TCustomImageList* disabledImages_ = nullptr;
  int buttonWidth_ = 23;
  int buttonHeight_ = 22;
  bool list_ = false;
  bool showCaptions_ = false;
};

class TToolButton : public TGraphicControl {
  DECLARE_CLASS(TToolButton, TGraphicControl)
 public:
  static const TEnumInfo& StyleInfo();

  explicit TToolButton(TComponent* AOwner);

  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle v);
  // The bar the button lies on, null elsewhere.
  TToolBar* ToolBar() const;
  // On a tool bar the button takes the bar's button size.
  void SetParent(TWinControl* AParent) override;

 private:
  int imageIndex_ = -1;
  TToolButtonStyle style_ = tbsButton;
};
