// The library's page control and its sheets. Tabs come in three kinds
// (ordinary tabs, button tabs and menu tabs), may carry close buttons, fade
// on hover, and skip hidden or vetoed pages from the keyboard. Skinned, the
// control paints its frame and tab row from the skin into its cache, which
// its sheets hand to their children as background; unskinned it paints a
// double-buffered platform look of its own, themed or classic.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/page_geometry.h"
#include "skin/engine/common_data.h"
#include "widgets/controls/comctrls.h"

struct BgSectionQuery;
class TBitmap;
class TPopupMenu;
class TsPageControl;
class TsTabSheet;
class TvlSpinWnd;
class TvlThreadedTimer;

using TvlCloseBtnClick =
    TEvent<void(TObject* Sender, int TabIndex, bool& CanClose, TvlCloseAction& Action)>;
using TvlTabChangingEvent = TEvent<void(TObject* Sender, TsTabSheet* NewPage, bool& AllowChange)>;
using TvlTabMouseEvent = TEvent<void(TObject* Sender, int TabIndex)>;

// A sheet's own skin settings.
class TsTabSkinData : public TPersistent {
  DECLARE_CLASS(TsTabSkinData, TPersistent)
 public:
  explicit TsTabSkinData(TsTabSheet* APage) : Page(APage) {}
  bool CustomColor = false;
  bool CustomFont() const { return customFont_; }
  void SetCustomFont(bool v);
  const std::string& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::string& v) { skinSection_ = v; }
  TsTabSheet* Page;

 private:
  bool customFont_ = false;
  std::string skinSection_;
};

class TsTabSheet : public TTabSheet {
  DECLARE_CLASS(TsTabSheet, TTabSheet)
 public:
  explicit TsTabSheet(TComponent* AOwner);
  ~TsTabSheet() override;
  void WndProc(TMessage& Message) override;

  TsPageControl* Pages() const;
  const std::string& TabSkin() const { return tabSkin_; }
  void SetTabSkin(const std::string& v);
  const std::string& ButtonSkin() const { return buttonSkin_; }
  void SetButtonSkin(const std::string& v);
  TPopupMenu* TabMenu() const { return tabMenu_; }
  void SetTabMenu(TPopupMenu* v);
  TvlTabType TabType() const { return tabType_; }
  void SetTabType(TvlTabType v);
  bool UseCloseBtn() const { return useCloseBtn_; }
  void SetUseCloseBtn(bool v);
  TsTabSkinData* SkinData() const { return skinData_; }
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnClickBtn;
  TvlThreadedTimer* FadeTimer = nullptr;  // owned: the tab's hover fade

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  bool HandleSkinMessage(TMessage& Message);
  void EraseSkinned(HDC DC);
  bool BackgroundVaries() const;
  void PaintBorderFromCache();
  void VisibleChangedSaving();
  LRESULT BgSectionAnswer(BgSectionQuery* Query) const;

  TsTabSkinData* skinData_ = nullptr;  // owned
  std::string tabSkin_, buttonSkin_;
  TPopupMenu* tabMenu_ = nullptr;
  TvlTabType tabType_ = ttTab;
  bool useCloseBtn_ = true;
};

class TsPageControl : public TPageControl {
  DECLARE_CLASS(TsPageControl, TPageControl)
 public:
  explicit TsPageControl(TComponent* AOwner);
  ~TsPageControl() override;
  void AfterConstruction() override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;

  TsCommonData* SkinData() const { return skinData_; }
  TsTabSheet* Page(int Index) const;
  TsTabSheet* ActiveSheet() const;
  void SetActivePage(TTabSheet* Value);

  // ---- Boolean switches (one setter, by index)
  enum BoolProp {
    bpActiveIsBold,
    bpReflectedGlyphs,
    bpRotateCaptions,
    bpShowCloseBtns,
    bpShowFocus,
    bpAllowAnimSwitching,
    bpActiveTabEnlarged
  };
  bool BoolPropValue(BoolProp Index) const { return bools_[Index]; }
  void SetBoolProp(BoolProp Index, bool Value);
  bool ActiveIsBold() const { return bools_[bpActiveIsBold]; }
  bool RotateCaptions() const { return bools_[bpRotateCaptions]; }
  bool ShowCloseBtns() const { return bools_[bpShowCloseBtns]; }
  bool ShowFocus() const { return bools_[bpShowFocus]; }
  bool AllowAnimSwitching() const { return bools_[bpAllowAnimSwitching]; }
  bool ActiveTabEnlarged() const { return bools_[bpActiveTabEnlarged]; }
  enum IntProp { ipTabMargin, ipTabPadding, ipTabSpacing };
  int IntPropValue(IntProp Index) const { return ints_[Index]; }
  void SetIntProp(IntProp Index, int Value);
  int TabMargin() const { return ints_[ipTabMargin]; }
  int TabPadding() const { return ints_[ipTabPadding]; }
  int TabSpacing() const { return ints_[ipTabSpacing]; }
  bool AccessibleDisabledPages = true;
  const std::string& CloseBtnSkin() const { return closeBtnSkin_; }
  void SetCloseBtnSkin(const std::string& v);
  const std::string& TabsLineSkin() const { return tabsLineSkin_; }
  void SetTabsLineSkin(const std::string& v);
  TAlignment TabAlignment() const { return tabAlignment_; }
  void SetTabAlignment(TAlignment v);

  TvlCloseBtnClick OnCloseBtnClick;
  TvlTabChangingEvent OnPageChanging;
  TvlTabMouseEvent OnTabMouseEnter;
  TvlTabMouseEvent OnTabMouseLeave;
  TNotifyEvent OnDblClick;

  // ---- Pages and tabs
  // The page a re-activation at Index lands on (hidden tabs and button tabs
  // are passed over); nil for an Index outside the pages.
  TsTabSheet* NearestSelectablePage(int Index) const;
  // False for nil, a button or menu page, or a disabled one while those are
  // not accessible; else what OnPageChanging says.
  bool CanChangeTo(TsTabSheet* Page);
  bool IsButtonTab(int Index, bool MenuOnly) const;
  // The page index whose tab contains the client point, else -1.
  int TabAtPos(const TPoint& P);
  // The hint of the tab under a client point, shown half a cursor below
  // and right of the mouse; false when that tab's page has none.
  bool TabHintAt(const TPoint& P, std::string& Hint, TPoint& ScreenPos);
  int VisibleTabCount() const;
  void SetTabIndex(int Value) override;
  void ChangeScale(int M, int D) override;

  // ---- Geometry (client coordinates; Index is a page index)
  TRect DisplayRect();
  TRect TabsRect();
  TRect TabsLineRect();
  TRect PageTabRect(int Index);
  TRect SkinTabRect(int Index, bool Active);
  int TabsCovering(int Index) const;
  int TabPositionKind(int Index) const;
  int NeighbourTab(int Index, bool After) const;
  TabContentLayout LayoutTabContent(HDC DC, TsTabSheet* Page, bool IsButton, int State,
                                    const TRect& R);
  void UpdateCloseBtnMetrics();
  void UpdateTabPadding(bool ShowClose);
  void ApplyTabPaddingGuarded();
  int CloseBtnWidth() const { return closeBtnWidth_; }
  int CloseBtnHeight() const { return closeBtnHeight_; }

  // ---- Painting
  void PaintUnskinned(HDC DC);
  void PaintTabsUnskinned(HDC DC);
  void PaintTabUnskinned(int Index, int State, HDC DC);
  void PaintCloseButtonUnskinned(HDC DC, const TRect& R, int State);
  void PaintSkinned(HDC DC);
  bool PrepareCache();
  void PaintTabRow(TBitmap* Bitmap);
  void PaintTab(int Index, int State, TBitmap* Target);
  void PaintCloseButton(TBitmap* Target, const TRect& R, int State);
  void RefreshTab(int Index, bool Animate);
  void ClearTabTimers();
  // One step of a tab's hover fade; false after the last, which shows the
  // new look whole.
  static bool TabFadeStep(TsTabSheet* Sheet, int Step);
  void StartTabFade(TvlThreadedTimer* Timer, TsTabSheet* Sheet, int StartStep, bool Fast, int Kind);
  int TabFadeKind(int Index) const;

  // ---- State read by tests and the paint code
  int HotTab = -1, HotCloseIndex = -1, PressedCloseIndex = -1, PressedMenuTab = -1;
  int TabsLineIndex = -1;
  int CloseBtnIndex = -1;
  int LastVisibleTabCount = 0;
  TBitmap* TabsLineImage = nullptr;  // owned
  TsTabSheet* DockSheet = nullptr;
  // The tab under the cursor when the application last asked for our hint
  // (-1: none).
  int HintTab = -1;
  void SetHotTab(int Index);

  // ---- The tab scroller (the platform's up-down child)
  bool ShowUpDown() const { return showUpDown_; }
  void SetShowUpDown(bool v);
  // The adapter of the up-down window while skinned, nil otherwise.
  TvlSpinWnd* TabScroller() const { return tabScroller_; }
  void UpdateTabScroller();
  void FreeTabScroller();
  std::string TabScrollerSection() const;

  // ---- Docking: a control docked here gets a sheet of its own.
  void DoAddDockClient(TControl* Client, const TRect& ARect) override;

 protected:
  void UpdateActivePage() override;

 private:
  bool Skinned() const { return skinData_->Skinned(); }
  bool HandleSkinMessage(TMessage& Message);
  bool HandleSkinnedMessage(TMessage& Message);
  void HandleKey(TMessage& Message);
  void HandleMouseMove(TMessage& Message);
  bool HandleMouseButton(TMessage& Message);
  void HandleCloseClick(int Index, bool Down);
  void PopupTabMenu(int Index);
  bool HandleNotify(TMessage& Message);
  void HandleDockClient(TMessage& Message);
  void HandleHintShow(TMessage& Message);
  void FollowTabHint(int Tab);
  void PrintTabScroller(HDC DC);
  void PaintFromCache();
  bool PagesCounted();
  void PaintMessage(TMessage& Message);
  void Redraw(UINT Flags);
  TsTabSheet* PageAtTab(int Tab) const;
  std::vector<TabPageInfo> PageInfos() const;
  TabContentInput ContentInput(HDC DC, TsTabSheet* Page, bool IsButton, int State, const TRect& R);
  void DrawTabOwned(HDC DC, const TPoint& Origin, int TabIndex, const TRect& R, bool Active);
  // Section: the face's (for the glyphs' tint), TextSection: the one
  // whose text look the caption takes; -1 each without.
  void PaintTabContent(TBitmap* Bmp, TsTabSheet* Page, int Index, int State, const TRect& Local,
                       bool IsButton, int Section, int TextSection, TColor FontColor);

  TsCommonData* skinData_ = nullptr;  // owned
  bool bools_[7] = {false, false, false, false, true, true, true};
  int ints_[3] = {3, 0, 6};
  std::string closeBtnSkin_, tabsLineSkin_;
  TAlignment tabAlignment_ = taCenter;
  int closeBtnWidth_ = 15, closeBtnHeight_ = 15;
  bool showUpDown_ = true;
  TvlSpinWnd* tabScroller_ = nullptr;  // owned
  int countedPages_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Whether a close button was pressed and not yet released elsewhere.
extern bool CloseArmed;
// The page control whose tab menu is open, nil when none is.
extern TsPageControl* TabMenuOwner;
