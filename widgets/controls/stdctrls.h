// Standard controls: label, group box, button, edit, combo box, list box.
// The windowed ones are superclasses of the system classes, registered
// under their own class names ("TButton", "TEdit", ...).
#pragma once

#include <windows.h>

#include <memory>

#include "widgets/controls/control_items.h"
#include "widgets/controls/controls.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

using TDrawItemEvent =
    TEvent<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int Index, int& Height)>;

// ---- Labels ------------------------------------------------------------------------------

class TCustomLabel : public TGraphicControl {
  DECLARE_CLASS(TCustomLabel, TGraphicControl)
 public:
  static const TEnumInfo& AlignmentInfo();
  static const TEnumInfo& LayoutInfo();

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
  TWinControl* focusControl_ = nullptr;
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
  TNotifyEvent OnChange;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void Change();

 private:
  int maxLength_ = 0;
  TBorderStyle borderStyle_ = bsSingle;
  bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
  DECLARE_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
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
  virtual void SetDropDownCount(int v) { dropDownCount_ = v; }
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool DroppedDown() const;
  TCanvas* Canvas() const { return canvas_.get(); }

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

 private:
  void AdjustDropDown();

  std::unique_ptr<TControlItems> items_;
  std::unique_ptr<TControlCanvas> canvas_;
  TComboBoxStyle style_ = csDropDown;
  int itemIndex_ = -1;  // while there is no window
  int itemHeight_ = 16;
  int dropDownCount_ = 8;
  int maxLength_ = 0;
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

  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle v);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* v) { items_->Assign(v); }
  int Count() const { return items_->Count(); }
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
  TCanvas* Canvas() const { return canvas_.get(); }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

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

 private:
  std::unique_ptr<TControlItems> items_;
  std::unique_ptr<TControlCanvas> canvas_;
  TListBoxStyle style_ = lbStandard;
  TBorderStyle borderStyle_ = bsSingle;
  int itemIndex_ = -1;  // while there is no window
  int topIndex_ = 0;
  int itemHeight_ = 16;
};

class TListBox : public TCustomListBox {
  DECLARE_CLASS(TListBox, TCustomListBox)
 public:
  using TCustomListBox::TCustomListBox;
};
