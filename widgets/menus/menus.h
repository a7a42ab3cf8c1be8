// Menus: a tree of TMenuItem components under a TMenu, from which the menu
// handles are built (and rebuilt after every change). A form shows its
// TMainMenu as its menu bar and dispatches the menu messages to it; popup
// menus are tracked modally with a hidden window of their own as owner.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "widgets/rtl/components.h"
#include "widgets/controls/controls.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/sysutils.h"

class TBitmap;
class TCanvas;
class TCustomImageList;
class TMenu;

// The text without its hotkey markers ("&&" stays one '&').
std::string StripHotkey(const std::string& Text);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

using TMenuDrawItemEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

class TMenuItem : public TComponent {
  DECLARE_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  // Radio items show a bullet when checked; checking one unchecks the
  // others of its group among its siblings.
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  // Made on first use; an empty bitmap means none.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* v);
  bool HasBitmap() const;
  TCustomImageList* SubMenuImages() const { return subMenuImages_; }
  void SetSubMenuImages(TCustomImageList* v);
  // "-" is a separator line.
  bool IsLine() const { return caption_ == "-"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int Index) const { return items_.at(Index); }
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  int IndexOf(TMenuItem* Item) const;
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Remove(TMenuItem* Item);
  // Frees the sub-items.
  void Clear();
  // The sub-item whose caption equals Caption, '&' ignored, case-insensitively.
  TMenuItem* Find(const std::string& Caption) const;
  // The identifier of WM_COMMAND; unique in the process while the item lives.
  UINT Command() const { return command_; }
  // The handle of the submenu (made on first use), null without sub-items
  // unless this is a menu's root.
  HMENU Handle();
  TMenu* GetParentMenu() const;

  // AutoCheck, then OnClick.
  virtual void Click();
  TNotifyEvent OnClick;
  // Owner-drawn items: OnAdvancedDrawItem, else OnDrawItem, else the default
  // look; OnMeasureItem may change the default size.
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The default look and size of an owner-drawn item.
  void DefaultDraw(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State);
  void DefaultMeasure(TCanvas* ACanvas, int& Width, int& Height);

 private:
  friend class TMenu;
  // Something shown changed: the handle of the menu holding this item is
  // built again.
  void Changed();
  void RebuildTree();
  void FillMenu(HMENU Menu);
  void DetachEntries();
  void TurnSiblingsOff();
  TCustomImageList* ImagesForGlyph() const;

  std::string caption_, hint_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
  std::unique_ptr<TBitmap> bitmap_;
  TCustomImageList* subMenuImages_ = nullptr;
  TOwnedMenu handle_;
  UINT command_ = 0;
  TShortCut shortCut_ = scNone;
  TMenuBreak break_ = mbNone;
  int groupIndex_ = 0;
  int imageIndex_ = -1;
  bool checked_ = false, enabled_ = true, visible_ = true, default_ = false;
  bool radioItem_ = false, autoCheck_ = false;
};

class TMenu : public TComponent {
  DECLARE_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  TMenuItem* Items() const { return items_; }
  // Null once the menu is being destroyed.
  HMENU Handle() { return items_ ? items_->Handle() : nullptr; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  // The window that shows the menu (a form's, for a main menu).
  HWND WindowHandle() const { return windowHandle_; }
  void SetWindowHandle(HWND v) { windowHandle_ = v; }

  // By command identifier, by submenu handle, or by shortcut; searched at any
  // depth, null when absent.
  TMenuItem* FindItem(uintptr_t Value, TFindItemKind Kind) const;
  // Clicks the item of the command; False when it is not in this menu.
  bool DispatchCommand(UINT Command);
  // The item whose submenu opens gets OnClick (to update its sub-items).
  bool DispatchPopup(HMENU Menu);
  // The item the user is on in the open menu (what a hint would describe),
  // null when the menu is closed.
  TMenuItem* HighlightedItem() const { return highlighted_; }

  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  // A main menu makes a menu bar, a popup menu a popup.
  virtual bool IsBar() const { return false; }
  // The menu's handle was built again.
  virtual void MenuChanged() {}

 private:
  friend class TMenuItem;
  friend bool DispatchMenuMessage(TMenu*, TMessage&);
  TMenuItem* items_;
  TMenuItem* highlighted_ = nullptr;
  TCustomImageList* images_ = nullptr;
  HWND windowHandle_ = nullptr;
  bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
  DECLARE_CLASS(TMainMenu, TMenu)
 public:
  using TMenu::TMenu;

 protected:
  bool IsBar() const override { return true; }
  void MenuChanged() override;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
  DECLARE_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu at a screen point and returns when it closes; the chosen
  // item is clicked before Popup returns.
  virtual void Popup(int X, int Y);
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* v) { popupComponent_ = v; }
  TPoint PopupPoint() const { return popupPoint_; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment v) { alignment_ = v; }
  // Runs before the menu shows.
  TNotifyEvent OnPopup;

 private:
  TComponent* popupComponent_ = nullptr;
  TPoint popupPoint_;
  TPopupAlignment alignment_ = paLeft;
  bool autoPopup_ = true;
};

// The menu messages of a window that shows Menu (WM_COMMAND from a menu,
// WM_INITMENUPOPUP, WM_MENUSELECT, ODT_MENU draw and measure); also tries
// every popup menu being tracked. True when answered.
bool DispatchMenuMessage(TMenu* Menu, TMessage& Message);
// The hidden window that owns every popup menu the layer tracks.
HWND PopupListWindow();
// WM_CONTEXTMENU on a control: the popup menu of the control under the point
// (or of the control itself), else nothing. True when a menu was shown.
bool ContextPopup(TWinControl* Control, TMessage& Message);

void RegisterMenuClasses();
