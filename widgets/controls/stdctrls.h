// Standard controls: label, group box, button, edit, combo box, list box.
// The windowed ones are superclasses of the system classes, registered
// under their own class names ("TButton", "TEdit", ...).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "widgets/controls/control_items.h"
#include "widgets/controls/controls.h"
#include "widgets/controls/window_procs.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TEllipsisPosition { epNone, epPathEllipsis, epEndEllipsis, epWordEllipsis };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };

using TDrawItemEvent =
    TEvent<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int Index, int& Height)>;
// The text of one item of a virtual list box, asked for when it is needed.
using TLBGetDataEvent = TEvent<void(TWinControl* Control, int Index, std::string& Data)>;

// ---- Labels ------------------------------------------------------------------------------

class TCustomLabel : public TGraphicControl {
  DECLARE_CLASS(TCustomLabel, TGraphicControl)
 public:
  static const TEnumInfo& AlignmentInfo();
  static const TEnumInfo& LayoutInfo();
  static const TEnumInfo& EllipsisInfo();

  explicit TCustomLabel(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  // A transparent label paints no background (and is not csOpaque).
  bool Transparent() const { return (ControlStyle() & csOpaque) == 0; }
  void SetTransparent(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  // Where a caption too long for a label that is not AutoSize shows "...".
  TEllipsisPosition EllipsisPosition() const { return ellipsis_; }
  void SetEllipsisPosition(TEllipsisPosition v);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* v);

  void Dispatch(TMessage& Message) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  virtual std::string GetLabelText();
  // Draws (or with DT_CALCRECT measures) the caption on Canvas.
  virtual void DoDrawText(TRect& Rect, UINT Flags);
  virtual void AdjustBounds();
  void Paint() override;

 private:
  // Cuts Text at word ends, adding "...", until it fits the label's height
  // when wrapped in Rect; false when no word is left to draw.
  bool ShortenToHeight(std::string& Text, const TRect& Rect, UINT Flags);

  TWinControl* focusControl_ = nullptr;
  TEllipsisPosition ellipsis_ = epNone;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool autoSize_ = true;
  bool showAccelChar_ = true;
  bool wordWrap_ = false;
};

class TLabel : public TCustomLabel {
  DECLARE_CLASS(TLabel, TCustomLabel)
 public:
  using TCustomLabel::TCustomLabel;
};

// ---- Group box -----------------------------------------------------------------------------

class TCustomGroupBox : public TCustomControl {
  DECLARE_CLASS(TCustomGroupBox, TCustomControl)
 public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // The themed BP_GROUPBOX frame, or the classic etched one, then the caption.
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
  DECLARE_CLASS(TGroupBox, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

// ---- Buttons ---------------------------------------------------------------------------------

class TButtonControl : public TWinControl {
  DECLARE_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* AOwner);
};

// The kinds of push button of the version 6 common controls the
// application manifest selects.
enum TButtonStyle { bsPushButton, bsCommandLink, bsSplitButton };

class TButton : public TButtonControl {
  DECLARE_CLASS(TButton, TButtonControl)
 public:
  static const TEnumInfo& StyleInfo();

  explicit TButton(TComponent* AOwner);

  // Both are window styles: a change makes the window again.
  TButtonStyle Style() const { return style_; }
  void SetStyle(TButtonStyle v);
  // BS_MULTILINE: the caption breaks between words.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  // BM_GETSTATE of the window (BST_PUSHED while the user holds the button
  // down, BST_FOCUS, ...); 0 while there is no window.
  UINT ButtonState();

  // BN_CLICKED runs Click, which raises OnClick.
  void Click() override;
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Called on every CM_FOCUSCHANGED: whether the button shows as the
  // default one. This one switches the window's type with BM_SETSTYLE; an
  // owner-drawn descendant overrides it to keep its own type.
  virtual void SetButtonStyle(bool ADefault);
  // The BS_ type of Style, in its default variant or not.
  DWORD ButtonTypeStyle(bool ADefault) const;
  bool IsFocusedDefault() const { return isFocused_; }
  void SetFocusedDefault(bool v) { isFocused_ = v; }

 private:
  int modalResult_ = 0;
  TButtonStyle style_ = bsPushButton;
  bool wordWrap_ = false;
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  bool isFocused_ = false;
};

// ---- Edit ------------------------------------------------------------------------------------

enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
  DECLARE_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  // #0: the text shows as it is; else one such character per character.
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char v);
  // A bevel of one pixel per cut that is not bvNone, drawn in the
  // non-client area inside the border; none while BevelKind is bkNone.
  TBevelKind BevelKind() const { return bevelKind_; }
  void SetBevelKind(TBevelKind v);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  // The bevel's width on each side.
  int BevelSize() const;
  TNotifyEvent OnChange;
  void Dispatch(TMessage& Message) override;

  static const TEnumInfo& BevelKindInfo();
  static const TEnumInfo& BevelCutInfo();
  static const TEnumInfo& CharCaseInfo();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void Change();

 private:
  void BevelChanged();
  void PaintBevel();

  char passwordChar_ = 0;
  TBevelKind bevelKind_ = bkNone;
  TBevelCut bevelInner_ = bvRaised;
  TBevelCut bevelOuter_ = bvLowered;
  int maxLength_ = 0;
  TBorderStyle borderStyle_ = bsSingle;
  bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
  DECLARE_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

// ---- Memo ------------------------------------------------------------------------------------

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit. Its lines are its text cut at the line breaks, so they
// live wherever the text lives and survive a new window as the text does.
class TCustomMemo : public TCustomEdit {
  DECLARE_CLASS(TCustomMemo, TCustomEdit)
 public:
  static const TEnumInfo& ScrollStyleInfo();

  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* v) { lines_->Assign(v); }
  // The platform's bars; a window style, so a change makes the window again.
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  // Long lines break at the right edge; without it (or with a horizontal
  // bar) they scroll sideways.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  // Enter starts a new line instead of reaching the form's default button.
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool v);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  std::unique_ptr<TStrings> lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
};

class TMemo : public TCustomMemo {
  DECLARE_CLASS(TMemo, TCustomMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

// ---- Combo box ------------------------------------------------------------------------------

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Paints one owner-drawn item of a combo or list box: the canvas on the
// item's DC with the control's font and brush, highlight colours for a
// selected item, Draw for a real item (a plain fill for none) and the focus
// rectangle. Returns the message result 1.
LRESULT PaintOwnerDrawItem(TControlCanvas& Canvas, TWinControl& Control, const DRAWITEMSTRUCT& Item,
                           TOwnerDrawState State,
                           void (*Draw)(TWinControl&, int, const RECT&, TOwnerDrawState));

class TCustomComboBox : public TWinControl {
  DECLARE_CLASS(TCustomComboBox, TWinControl)
 public:
  static const TEnumInfo& StyleInfo();

  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* v) { items_->Assign(v); }
  // CB_SETCURSEL: never raises OnChange.
  int ItemIndex() const;
  void SetItemIndex(int v);
  virtual int GetItemHeight();
  void SetItemHeight(int v);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v);
  int DropDownCount() const { return dropDownCount_; }
  // Also the open list's least number of visible rows (CB_SETMINVISIBLE).
  virtual void SetDropDownCount(int v);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool DroppedDown() const;
  TCanvas* Canvas() const { return canvas_.get(); }
  // Typed characters pick the first item they begin: in the edit they
  // complete its text; in a drop-down list they gather into a search for
  // AutoCompleteDelay milliseconds after the last one.
  bool AutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool v) { autoComplete_ = v; }
  unsigned AutoCompleteDelay() const { return autoCompleteDelay_; }
  void SetAutoCompleteDelay(unsigned v) { autoCompleteDelay_ = v; }
  // A typed character opens the list first.
  bool AutoDropDown() const { return autoDropDown_; }
  void SetAutoDropDown(bool v) { autoDropDown_ = v; }
  // The edit child's case (a window style: a change makes the window again).
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase v);
  // The child windows ComboWndProc sees; null while not subclassed.
  HWND EditHandle() const;
  HWND ListHandle() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // CBN_SELCHANGE, CBN_EDITCHANGE: CM_CHANGED, then OnChange.
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  // Every message of the subclassed children (the edit of csDropDown and
  // csSimple, the list of csSimple). The base passes it to ComboProc,
  // the child's own procedure, completing typed text on the way.
  virtual void ComboWndProc(TMessage& Message, HWND ComboWnd, TObjectInstance& ComboProc);
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  // The reflected owner-draw messages: the state is the low word of ODS_*,
  // with odComboBoxEdit for the selection field.
  virtual void CNDrawItem(TMessage& Message);
  virtual void CNMeasureItem(TMessage& Message);

 private:
  void AdjustDropDown();
  void AttachChildren();
  void DetachChildren();
  void EditWndProc(TMessage& Message);
  void ListWndProc(TMessage& Message);
  void OpenOnKey(char Key);
  // A drop-down list's incremental search; true when the key was used.
  bool SearchListKey(char Key);
  void CompleteEdit(HWND Edit);

  std::unique_ptr<TControlItems> items_;
  std::unique_ptr<TControlCanvas> canvas_;
  TComboBoxStyle style_ = csDropDown;
  int itemIndex_ = -1;  // while there is no window
  int itemHeight_ = 16;
  int dropDownCount_ = 8;
  int maxLength_ = 0;
  std::unique_ptr<TObjectInstance> editInstance_;
  std::unique_ptr<TObjectInstance> listInstance_;
  std::string search_;
  DWORD lastSearchKey_ = 0;
  unsigned autoCompleteDelay_ = 500;
  TEditCharCase charCase_ = ecNormal;
  bool autoComplete_ = true;
  bool autoDropDown_ = false;
};

class TComboBox : public TCustomComboBox {
  DECLARE_CLASS(TComboBox, TCustomComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

// ---- List box ----------------------------------------------------------------------------------

enum TListBoxStyle {
  lbStandard,
  lbOwnerDrawFixed,
  lbOwnerDrawVariable,
  lbVirtual,
  lbVirtualOwnerDraw
};

class TCustomListBox : public TWinControl {
  DECLARE_CLASS(TCustomListBox, TWinControl)
 public:
  static const TEnumInfo& StyleInfo();

  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  // A change between a stored and a virtual style (LBS_NODATA) keeps the
  // stored items aside; the virtual list keeps only its Count.
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle v);
  // The stored items; a virtual list box answers their count and texts
  // from Count and OnData.
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* v) { items_->Assign(v); }
  // The number of items. Settable for the virtual styles only (LB_SETCOUNT).
  int Count() const;
  void SetCount(int v);
  // In multiple selection the item with the caret.
  int ItemIndex() const;
  void SetItemIndex(int v);
  int ItemHeight();
  void SetItemHeight(int v);
  int TopIndex() const;
  void SetTopIndex(int v);
  TRect ItemRect(int Index);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  // Above 0 the items flow in columns of an equal share of the client
  // width (LBS_MULTICOLUMN); the share follows the width.
  int Columns() const { return columns_; }
  void SetColumns(int v);
  // More than one item can be selected: with ExtendedSelect by Shift and
  // Ctrl (LBS_EXTENDEDSEL), without it by each click (LBS_MULTIPLESEL).
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool v);
  // Whether item Index is selected; in single selection the item index.
  // Setting it in single selection moves (or clears) the item index.
  bool Selected(int Index);
  void SetSelected(int Index, bool v);
  // The number of selected items; -1 in single selection.
  int SelCount();
  TCanvas* Canvas() const { return canvas_.get(); }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  // The text of an item of a virtual list box.
  TLBGetDataEvent OnData;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // The base fills the item and draws its text (or calls OnDrawItem).
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  // CN_DRAWITEM: the canvas on the item's DC, highlight colours when
  // selected, DrawItem, then the focus rectangle. Descendants call it.
  void CNDrawItem(TMessage& Message);
  // The data request of a virtual list box: OnData's text for Index.
  virtual std::string DoGetData(int Index);
  // Whether the items come from Count and OnData: the window's kind while
  // there is one, else the style's.
  bool VirtualData() const;

 private:
  friend class TListBoxItems;
  void SetColumnWidth();
  void CheckIndex(int Index) const;
  void SaveSelection();
  void RestoreSelection();

  std::unique_ptr<TControlItems> items_;
  std::unique_ptr<TControlCanvas> canvas_;
  std::vector<int> savedSelection_;  // multiple selection while there is no window
  TListBoxStyle style_ = lbStandard;
  TBorderStyle borderStyle_ = bsSingle;
  int itemIndex_ = -1;  // while there is no window
  int topIndex_ = 0;
  int itemHeight_ = 16;
  int count_ = 0;  // a virtual list box's, while there is no window
  int columns_ = 0;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  // What the current window was made as.
  bool windowVirtual_ = false;
  bool windowMultiSelect_ = false;
};

class TListBox : public TCustomListBox {
  DECLARE_CLASS(TListBox, TCustomListBox)
 public:
  using TCustomListBox::TCustomListBox;
};
