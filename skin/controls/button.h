// The library's push button: the widget layer's button made owner-drawn,
// with an image from an image list, a Down state the application sets, and
// push, command-link and split styles. Skinned, it paints itself from the
// skin's "BUTTON" section into its cache and may clip its window to the
// skin's rounded corners; otherwise it paints its own plain look, themed or
// classic, when its parent asks it to draw.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "skin/controls/button_glyphs.h"
#include "skin/controls/button_layout.h"
#include "skin/controls/hint_hold.h"
#include "skin/engine/common_data.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/img_list.h"

class TPopupMenu;
class TsButton;

// The space around a button's image; a change tells the button.
class TImageMargins : public TPersistent {
  DECLARE_CLASS(TImageMargins, TPersistent)
 public:
  TImageMargins() = default;
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Right() const { return right_; }
  int Bottom() const { return bottom_; }
  void SetLeft(int v) { Set(left_, v); }
  void SetTop(int v) { Set(top_, v); }
  void SetRight(int v) { Set(right_, v); }
  void SetBottom(int v) { Set(bottom_, v); }
  void Assign(TPersistent* Source) override;
  TRect AsRect() const { return TRect(left_, top_, right_, bottom_); }
  TNotifyEvent OnChange;

 private:
  void Set(int& field, int v);
  void Changed();
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

class TsButton : public TButton, public TGlyphButton {
  DECLARE_CLASS(TsButton, TButton)
 public:
  explicit TsButton(TComponent* AOwner);
  ~TsButton() override;
  void AfterConstruction() override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TsCommonData* SkinData() const { return skinData_; }

  // Shows pressed while set; the button never changes it itself.
  bool Down() const { return down_; }
  void SetDown(bool v);
  TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(TPopupMenu* v);
  const std::string& CommandLinkHint() const { return commandLinkHint_; }
  void SetCommandLinkHint(const std::string& v);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  int ImageIndex() const { return indexes_.ImageIndex; }
  void SetImageIndex(int v) { SetIndex(indexes_.ImageIndex, v); }
  int HotImageIndex() const { return indexes_.HotImageIndex; }
  void SetHotImageIndex(int v) { SetIndex(indexes_.HotImageIndex, v); }
  int PressedImageIndex() const { return indexes_.PressedImageIndex; }
  void SetPressedImageIndex(int v) { SetIndex(indexes_.PressedImageIndex, v); }
  int SelectedImageIndex() const { return indexes_.SelectedImageIndex; }
  void SetSelectedImageIndex(int v) { SetIndex(indexes_.SelectedImageIndex, v); }
  int DisabledImageIndex() const { return indexes_.DisabledImageIndex; }
  void SetDisabledImageIndex(int v) { SetIndex(indexes_.DisabledImageIndex, v); }
  TImageAlignment ImageAlignment() const { return imageAlignment_; }
  void SetImageAlignment(TImageAlignment v);
  TImageMargins* ImageMargins() const { return imageMargins_.get(); }
  int ContentMargin() const { return contentMargin_; }
  void SetContentMargin(int v);
  int FocusMargin() const { return focusMargin_; }
  void SetFocusMargin(int v) { focusMargin_ = v; }
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool v);
  bool Reflected() const { return reflected_; }
  void SetReflected(bool v);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind v);
  TvlAnimatEvents AnimatEvents() const { return animatEvents_; }
  void SetAnimatEvents(TvlAnimatEvents v) { animatEvents_ = v; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // 0 normal, 1 hot, 2 pressed, 3 default.
  int ContentState();
  bool HasImage() const;
  int CurrentImageIndex();
  // The caption measured in the cache canvas with the button's font.
  TSize TextSize();
  TRect ContentRect();
  TRect ImageRect();
  int SplitArrowWidth() const;
  // The default look the widget layer gives the focused or default button.
  bool ActiveDefault() const { return activeDefault_; }
  bool MenuOpen() const { return menuOpen_; }
  bool Skinned() const { return skinData_->Skinned(); }
  // Builds the skinned cache; False while the parent's is not ready.
  bool PaintSkinnedCache();

  Picture GlyphPicture() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void SetIndex(int& field, int v);
  void ImagesChanged(TObject* Sender);
  void MarginsChanged(TObject* Sender);
  ButtonLayoutInput LayoutInput();
  bool ShiftsContent();
  bool Designing() const { return HasState(csDesigning); }
  bool Destroying() const { return HasState(csDestroying); }
  void OpenDropDown();
  void RepaintNow();
  void DropRegion();
  void RestoreHints() { hints_.Restore(); }

  // Painting.
  void PaintContent(TCanvas* Canvas);
  void PaintStdButton(const DRAWITEMSTRUCT& Item);
  void PaintSkinned(HDC DC, bool Printing);
  void PaintSplitPart(TCanvas* Canvas, TColor Colour);
  void InstallRegion(bool Printing);

  // Messages.
  bool HandleSkinMessage(TMessage& Message);
  bool HandleSkinnedMessage(TMessage& Message);
  void AfterInherited(const TMessage& Message);
  void WithRedrawOff(TMessage& Message);

  TsCommonData* skinData_ = nullptr;  // owned
  std::unique_ptr<TChangeLink> imageLink_;
  std::unique_ptr<TImageMargins> imageMargins_;
  TCustomImageList* images_ = nullptr;
  TPopupMenu* dropDownMenu_ = nullptr;
  ButtonImageIndexes indexes_;
  std::string commandLinkHint_;
  TImageAlignment imageAlignment_ = iaLeft;
  int contentMargin_ = 6;
  int focusMargin_ = 1;
  bool showFocus_ = true;
  bool reflected_ = false;
  bool down_ = false;
  TsDisabledKind disabledKind_ = dkBlended;
  TvlAnimatEvents animatEvents_ = 1u << aeGlobalDef;

  bool activeDefault_ = false;
  bool menuOpen_ = false;
  bool pressedByMouse_ = false;
  bool stateChanged_ = true;
  // No region was made for the window yet: the first one is set with a
  // redraw.
  bool regionPending_ = true;
  // A region built by the cache paint and not yet handed to the window.
  TOwnedRegion region_;
  TRect regionBounds_;
  bool lastPaintClipped_ = false;
  THintHold hints_;
  // Cleared by the destructor: code that ran a modal loop on this button
  // checks it before touching the button again.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
