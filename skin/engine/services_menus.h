// What the skin manager uses of the skinned menus: the menu options it
// publishes and the per-manager menus object it creates. These stand-ins
// carry only what the manager relies on today; the form-skinning subsystem
// replaces them with its full classes under the same names.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "widgets/rtl/components.h"

class TBitmap;
class TFont;
class TMenuItem;
class TPopupMenu;
class TsSkinManager;

// Glyph size of a menu item that has no picture and whose menu has no image
// list; rescaled with the default manager's scale mode.
extern int MenuGlyphSize;

// The options of the skinned popup menus (TsSkinManager::MenuSupport).
class TvlMenuSupport : public TPersistent {
  DECLARE_CLASS(TvlMenuSupport, TPersistent)
 public:
  TvlMenuSupport();
  ~TvlMenuSupport() override;

  uint8_t AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(uint8_t Value) { alphaBlend_ = Value; }
  TFont* ExtraLineFont() const { return extraLineFont_.get(); }
  void SetExtraLineFont(TFont* Value);
  int ExtraLineWidth() const { return extraLineWidth_; }
  void SetExtraLineWidth(int Value) { extraLineWidth_ = Value; }
  // Section of the icon strip; the manager sets "ICOLINE" when it is empty.
  const std::string& IcoLineSkin() const { return icoLineSkin_; }
  void SetIcoLineSkin(const std::string& Value) { icoLineSkin_ = Value; }
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* Value);
  bool CustomFont() const { return customFont_; }
  void SetCustomFont(bool Value) { customFont_ = Value; }
  bool UseExtraLine() const { return useExtraLine_; }
  void SetUseExtraLine(bool Value) { useExtraLine_ = Value; }

 private:
  std::string icoLineSkin_;
  int extraLineWidth_ = 32;
  bool customFont_ = false;
  bool useExtraLine_ = false;
  std::unique_ptr<TFont> extraLineFont_;
  uint8_t alphaBlend_ = 255;
  std::unique_ptr<TFont> font_;
};

// The skinned menus of one manager (TsSkinManager::Menus). Only its state
// is here: the owner-draw handlers, the popup backgrounds and the popup
// shaping come with the form skinning.
class TsSkinableMenus : public TPersistent {
  DECLARE_CLASS(TsSkinableMenus, TPersistent)
 public:
  explicit TsSkinableMenus(TsSkinManager* Manager);
  ~TsSkinableMenus() override;

  int Margin = 2;
  int Spacing = 8;
  int BevelWidth = 0;
  int BorderWidth = 3;
  // Width of the skin's menu border image; -1 until read from a new skin.
  int SkinBorderWidth = 0;
  TFont* CaptionFont() const { return captionFont_.get(); }

  bool Active() const { return active_; }
  void SetActive(bool Value);
  // Active exactly while the owning manager has a skin loaded.
  void UpdateActive();

  // The background of the popup menu that holds Item (or of PopupWnd);
  // nullptr while no background has been built.
  TBitmap* GetMenuBg(void* Item, HWND PopupWnd);
  // The open popup-menu window showing Item: the window at the centre of
  // the item's rectangle in its parent menu, when that is a popup-menu
  // window; null when the item is not on screen.
  static HWND PopupWindowOfItem(TMenuItem* Item);
  // Gives an open popup window its skinned shape from Bitmap; nothing while
  // the menus are not active or without a bitmap.
  void SetPopupShape(HWND Wnd, TBitmap* Bitmap);

  // Switches the skinned drawing of one popup menu on or off before it
  // shows. The owner-draw handlers come with the form skinning; until then
  // there is nothing to switch.
  void HookPopupMenu(TPopupMenu* Menu, bool Active);

  TsSkinManager* Manager() const { return manager_; }

 private:
  TsSkinManager* manager_;
  bool active_ = false;
  std::unique_ptr<TFont> captionFont_;
};
