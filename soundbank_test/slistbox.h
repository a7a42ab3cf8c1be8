// TsCustomListBox / TsListBox: the list box of the skin library. Every item
// is drawn by the list box itself, owner-draw even for the standard style:
// with plain system colours while no skin is active, from the skin's
// selection section once one is.
//
// The skinned road needs the scroll-window skin data, the edit border
// adapter, the bound label and the library's control message handling,
// which the skin library does not provide yet. Until it does, Skinned()
// answers False and the skinned branches below are the seams where those
// pieces plug in; everything a list box without an active skin does is here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "widgets/controls/stdctrls.h"

class TsCustomListBox : public TListBox {
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

  // After every WM_VSCROLL, skinned or not.
  TNotifyEvent OnVScroll;

  // The item's text as the window holds it; empty for an index it lacks.
  std::string GetItemText(int Index);

  void ChangeScale(int M, int D) override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;

  // ---- Seams of the skinned road
  // Whether a skin paints the list box (its skin data has a section).
  virtual bool Skinned() const { return false; }
  // The skinned item look; False leaves the item to the plain drawing.
  virtual bool DrawSkinnedItem(int Index, const TRect& Rect, TOwnerDrawState State);
  // The list box's own painting from the skin cache; False: the window paints.
  virtual bool PaintSkinned(TMessage& Message);
  // The skin data's updating flag, raised while a scroll is being handled.
  bool SkinUpdating() const { return skinUpdating_; }
  // The skin data's hot flag: 1 while the mouse is over the control.
  bool SkinHot() const { return skinHot_; }

 private:
  void PlainDrawItem(int Index, TRect Rect, TOwnerDrawState State);
  void CNDrawItem(TMessage& Message);
  void SkinCommand(TMessage& Message);
  void MouseHover(TMessage& Message);
  void SkinnedWndProc(TMessage& Message);
  void AfterMessage(TMessage& Message);
  bool ReadyForSkin();

  uint16_t autoCompleteDelay_ = 500;
  bool autoHideScroll_ = true;
  uint8_t disabledKind_;
  bool skinUpdating_ = false;
  bool skinHot_ = false;
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
