// TsCustomListBox / TsListBox: the list box of the skin library. Every item
// is drawn by the list box itself, owner-draw even for the standard style:
// with plain system colours while no skin is active, from the skin's
// selection section once one is. While skinned, an edit border adapter on
// its window paints the frame and the scroll bars; the window's procedure
// is then the adapter's, which passes every message on to WndProc below.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "widgets/controls/stdctrls.h"

class TsBoundLabel;
class TsScrollWndData;
class TvlEditWnd;

// The skin state is made before the platform list box: the messages of its
// window's creation already find it.
class TsListBoxSkinStore {
 protected:
  TsListBoxSkinStore();
  ~TsListBoxSkinStore();
  TsListBoxSkinStore(const TsListBoxSkinStore&) = delete;
  TsListBoxSkinStore& operator=(const TsListBoxSkinStore&) = delete;

  TsScrollWndData* skinData_;  // owned
};

class TsCustomListBox : private TsListBoxSkinStore, public TListBox {
  DECLARE_CLASS(TsCustomListBox, TListBox)
 public:
  static const TEnumInfo& DisabledKindInfo();

  explicit TsCustomListBox(TComponent* AOwner);
  ~TsCustomListBox() override;

  // Published and stored; nothing reads it.
  int AutoCompleteDelay() const { return autoCompleteDelay_; }
  void SetAutoCompleteDelay(int v) { autoCompleteDelay_ = static_cast<uint16_t>(v); }
  // False: the window keeps its scroll bars, disabled, when nothing scrolls.
  bool AutoHideScroll() const { return autoHideScroll_; }
  void SetAutoHideScroll(bool v);
  // A set of dkBlended / dkGrayed bits: how the skinned, disabled list box looks.
  uint8_t DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(uint8_t v);

  TsScrollWndData* SkinData() const { return skinData_; }
  // The caption label beside the list box (made while its Active is set).
  TsBoundLabel* BoundLabel() const { return boundLabel_; }
  // The border and scroll-bar adapter on the window; nil while unskinned.
  TvlEditWnd* Adapter() const { return adapter_; }
  // The frame width the cache is offset by: the adapter's edge with Ctl3D,
  // 1 without; 0 without a border or an adapter.
  int CacheBorder() const;

  // After every WM_VSCROLL, skinned or not.
  TNotifyEvent OnVScroll;

  // The item's text as the window holds it, or for the virtual styles as
  // the data request gives it; empty for an index the list lacks.
  std::string GetItemText(int Index);

  void ChangeScale(int M, int D) override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;

  // ---- The skinned road
  // Whether a skin paints the list box (its skin data has a section).
  virtual bool Skinned() const;
  // The skinned item look; False (no manager to paint from) leaves the
  // item to the plain drawing.
  virtual bool DrawSkinnedItem(int Index, const TRect& Rect, TOwnerDrawState State);
  // The list box's own painting of its items and the strips between them
  // from the skin cache; False: the window paints.
  virtual bool PaintSkinned(TMessage& Message);
  // The skin data's updating flag, raised while a scroll is being handled.
  bool SkinUpdating() const;
  // The skin data's hot flag: 1 while the mouse is over the control.
  bool SkinHot() const;
  // True while PaintSkinned dispatches its items.
  bool Painting() const { return painting_; }

 private:
  void PlainDrawItem(int Index, TRect Rect, TOwnerDrawState State);
  void SkinnedDrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  void CNDrawItem(TMessage& Message);
  void SkinCommand(TMessage& Message);
  void MouseHover(TMessage& Message);
  void SkinnedWndProc(TMessage& Message);
  void AfterMessage(TMessage& Message);
  bool OwnManager(const TMessage& Message) const;
  void UpdateAdapter();
  void FreeAdapter(bool RecalcFrame = false);
  // The selection state of item Index for the own painting.
  bool ItemSelected(int Index, int SingleIndex);

  uint16_t autoCompleteDelay_ = 500;
  bool autoHideScroll_ = true;
  uint8_t disabledKind_;
  bool painting_ = false;
  TsBoundLabel* boundLabel_ = nullptr;  // owned
  TvlEditWnd* adapter_ = nullptr;       // owned
};

class TsListBox : public TsCustomListBox {
  DECLARE_CLASS(TsListBox, TsCustomListBox)
 public:
  using TsCustomListBox::TsCustomListBox;
};

// The text format of every item, and its right-to-left form.
constexpr UINT kListItemTextFormat =
    DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX;
constexpr UINT kListItemTextFormatRtl = kListItemTextFormat | DT_RIGHT | DT_RTLREADING;
static_assert(kListItemTextFormat == 0x964 && kListItemTextFormatRtl == 0x20966);
