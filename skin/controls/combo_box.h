// The library's combo box: the widget layer's combo box with a read-only
// switch, a mouse-wheel switch and item drawing of its own. Skinned, it
// paints its face, the item in its edit part and its drop-down button from
// the skin into its cache, fades between its normal and hot looks, and
// hands its drop-down list to a list adapter. A drop-down list without a
// section of its own looks and glows like a push button.
#pragma once

#include <windows.h>

#include "skin/engine/common_data.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/stdctrls.h"

class TsBoundLabel;
class TvlComboListWnd;

// Where a message reaches the combo: its own window, or one of the child
// windows (the edit, the list of csSimple) it subclasses.
enum class TComboMessageSite { Control, Child };

// Whether a combo that is read-only (or has no platform drop-down) drops
// the message unhandled. WM_COPY always passes, so text can still be copied.
bool ComboReadOnlySwallows(TComboMessageSite Site, UINT Msg, WPARAM WParam);

// What the drop-down button's place depends on.
struct TComboButtonInput {
  int Width = 0, Height = 0;
  int ButtonWidth = 0;  // the skin's combo-button width
  int Margin = 2;       // the skin's COMBOMARGIN
  bool RightToLeft = false;
  bool HasButton = true;  // not csSimple, and ShowButton
};
// The button is one pixel narrower than ButtonWidth, inset by Margin on
// top, bottom and the side it stands on.
TRect ComboButtonRect(const TComboButtonInput& In);

// DrawText flags of an item: single line, tabs expanded, no clipping, no
// prefix; the alignments add theirs.
UINT ComboItemFormat(TAlignment Alignment, TVerticalAlignment Vertical, bool RightToLeftAlign,
                     bool RightToLeftReading);

class TsCustomComboBox : public TCustomComboBox {
  DECLARE_CLASS(TsCustomComboBox, TCustomComboBox)
 public:
  explicit TsCustomComboBox(TComponent* AOwner);
  ~TsCustomComboBox() override;
  void AfterConstruction() override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void Invalidate() override;
  bool Focused() override;
  void ChangeScale(int M, int D) override;
  int GetItemHeight() override;
  void SetDropDownCount(int v) override;

  TsCtrlSkinData* SkinData() const { return skinData_; }
  TsBoundLabel* BoundLabel() const { return boundLabel_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool ShowButton() const { return showButton_; }
  void SetShowButton(bool v);
  bool AllowMouseWheel() const { return allowMouseWheel_; }
  void SetAllowMouseWheel(bool v) { allowMouseWheel_ = v; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
  void SetVerticalAlignment(TVerticalAlignment v);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind v);
  // False: a press runs OnDropDown instead of the platform's list.
  bool StdDropDown() const { return stdDropDown_; }
  void SetStdDropDown(bool v) { stdDropDown_ = v; }

  // 0 normal, 1 cursor over the button, 2 pressed (list open).
  int ButtonState() const { return buttonState_; }
  int GlyphIndex() const { return glyphIndex_; }
  bool ListShown() const { return listShown_; }
  // The drop-down list window and its adapter, from the list's first
  // colour request until the adapter is released.
  HWND ListWindow() const { return listWnd_; }
  TvlComboListWnd* ListAdapter() const { return listAdapter_; }

  bool Skinned() const { return skinData_->Skinned(); }
  // Takes the look of the standard "BUTTON" section.
  bool IsButtonStyle() const;
  bool HasOwnerDrawEvent() const;

  // ---- Painting (combo_box_paint.cpp)
  TRect ButtonRect();
  int GlyphHeight();
  void PrepareCache();
  void PaintButton();
  // DC 0: the window's own DC.
  void PaintControl(HDC DC);
  // The step function of the hover fade.
  static bool FadeStep(TsCommonData* SkinData, int Step);
  // The item as the list or the edit part shows it, into the canvas.
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;

  void ReleaseListAdapter();
  void UpdateGlyphIndex();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void ComboWndProc(TMessage& Message, HWND ComboWnd, TObjectInstance& ComboProc) override;
  void WMLButtonDown(TMessage& Message) override;
  void WMLButtonDblClk(TMessage& Message) override;
  void CNDrawItem(TMessage& Message) override;
  void CNMeasureItem(TMessage& Message) override;

 private:
  bool Designing() const { return HasState(csDesigning); }
  bool Destroying() const { return HasState(csDestroying); }
  bool OwnerDrawStyle() const {
    return Style() == csOwnerDrawFixed || Style() == csOwnerDrawVariable;
  }
  void OwnDropDown();
  void StartHoverFade(int Kind);
  // The edit part shows live text (the platform's edit child paints it).
  bool EditPartLive();
  int SectionFontColorState(int State) const;

  // Messages (combo_box_messages.cpp).
  bool HandleSkinCommand(TMessage& Message);
  bool HandleSkinnedMessage(TMessage& Message);
  void CommonHandling(TMessage& Message);
  void FocusChange(TMessage& Message, bool Entering);
  void CloseUpSkinned(TMessage& Message);
  void MouseMoveSkinned(TMessage& Message);

  // Painting helpers (combo_box_paint.cpp).
  void DrawItemSkinned(int Index, const TRect& Rect, TOwnerDrawState State);
  void DrawItemPlain(int Index, TRect Rect, TOwnerDrawState State);
  TColor ItemFontColor(TOwnerDrawState State, bool IsEdit, bool ButtonLike, int K);
  void PaintArrow(TColor Color, const TRect& R);

  TsCtrlSkinData* skinData_ = nullptr;  // owned
  TsBoundLabel* boundLabel_ = nullptr;  // owned
  TvlComboListWnd* listAdapter_ = nullptr;
  HWND listWnd_ = nullptr;
  TAlignment alignment_ = taLeftJustify;
  TVerticalAlignment verticalAlignment_ = taAlignTop;
  TsDisabledKind disabledKind_ = dkBlended;
  int buttonState_ = 0;
  int glyphIndex_ = -1;
  bool readOnly_ = false;
  bool showButton_ = true;
  bool allowMouseWheel_ = true;
  bool listShown_ = false;
  bool stdDropDown_ = true;
};

class TsComboBox : public TsCustomComboBox {
  DECLARE_CLASS(TsComboBox, TsCustomComboBox)
 public:
  using TsCustomComboBox::TsCustomComboBox;
};
