// The library's labels. TsCustomLabel is the platform label with an
// optional skin-section background and a caption coloured from the skin; TsLabel colours its
// caption like the section it stands on; TsHTMLLabel writes its caption in TsHtml's tag markup with
// links that open through the shell; TsEditLabel is the caption label a
// TsBoundLabel places beside its control. Labels have no skin state of
// their own: they follow their manager (or the default one) directly, and
// without a skin in force they paint as the platform label.
#pragma once

#include <windows.h>

#include <string>

#include "skin/controls/html_text.h"
#include "skin/engine/bound_label.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/stdctrls.h"

class TsSkinManager;

class TsCustomLabel : public TCustomLabel {
  DECLARE_CLASS(TsCustomLabel, TCustomLabel)
 public:
  explicit TsCustomLabel(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  const std::string& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::string& Value);
  // The own manager, else the default one.
  TsSkinManager* SkinManager() const;
  TsSkinManager* OwnSkinManager() const { return skinManager_; }
  void SetSkinManager(TsSkinManager* Value);
  // The section named by SkinSection, found once per paint; -1 when none.
  int SectionIndex();
  // True while the manager's loaded skin is in force.
  bool SkinInForce() const;

  virtual TFont* GetCurrentFont();
  // The caption colour while a skin is in force.
  virtual TColor GetCurrentFontColor();

 protected:
  void Paint() override;
  void DoDrawText(TRect& Rect, UINT Flags) override;
  // What the parent shows behind the label.
  void GetParentBgInfo(struct BackgroundInfo& Info);
  // The platform's DrawText with the label's font and colour, on Canvas.
  void DrawSkinnedText(std::string Text, TRect& Rect, UINT Flags);
  bool restoreParentFont_ = false;

 private:
  std::string skinSection_;
  int sectionIndex_ = -1;
  TsSkinManager* skinManager_ = nullptr;
};

class TsLabel : public TsCustomLabel {
  DECLARE_CLASS(TsLabel, TsCustomLabel)
 public:
  explicit TsLabel(TComponent* AOwner);
  bool UseSkinColor() const { return useSkinColor_; }
  void SetUseSkinColor(bool Value);
  TColor GetCurrentFontColor() override;

 private:
  bool useSkinColor_ = true;
};

using TLinkClickEvent = TEvent<void(TObject* Sender, std::string& ALink, bool& DefaultAction)>;

// Opens a link target; the default runs ShellExecute "open" with the
// application's window. Tests put their own in so no browser starts.
using TvlLinkOpener = void (*)(HWND Owner, const std::string& Target, int ShowCmd);
void SetLinkOpener(TvlLinkOpener Opener);  // nil: the shell's again
void OpenLinkWithShell(HWND Owner, const std::string& Target, int ShowCmd);

class TsHTMLLabel : public TsLabel {
  DECLARE_CLASS(TsHTMLLabel, TsLabel)
 public:
  explicit TsHTMLLabel(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  bool UseHTML() const { return useHTML_; }
  void SetUseHTML(bool Value);
  TsWindowShowMode ShowMode() const { return showMode_; }
  void SetShowMode(TsWindowShowMode Value) { showMode_ = Value; }
  // The caption without its tags.
  std::string PlainCaption();
  static std::string StripTags(const std::string& Text);

  int HotLinkIndex() const { return hotLinkIndex_; }
  int PressedLinkIndex() const { return pressedLinkIndex_; }
  const TvlLinks& Links() const { return links_; }
  // The first link whose rectangle holds the client point; -1 when none.
  int LinkAt(int X, int Y) const;
  void LinkClick(int Index);

  TLinkClickEvent OnLinkClick;

 protected:
  void DoDrawText(TRect& Rect, UINT Flags) override;

 private:
  int hotLinkIndex_ = -1;
  int pressedLinkIndex_ = -1;
  bool inClick_ = false;
  TvlLinks links_;
  bool useHTML_ = true;
  TsWindowShowMode showMode_ = soDefault;
};

// Made by a TsBoundLabel (which owns it); it has no owner component.
class TsEditLabel : public TsHTMLLabel, public TvlBoundLabelPeer {
  DECLARE_CLASS(TsEditLabel, TsHTMLLabel)
 public:
  explicit TsEditLabel(TComponent* AOwner);
  ~TsEditLabel() override;

  TsBoundLabel* BoundLabel() const { return boundLabel_; }

  TCustomLabel* AsLabel() override { return this; }
  void SetBoundLabel(TsBoundLabel* Link) override { boundLabel_ = Link; }
  bool PeerUseHTML() const override { return UseHTML(); }
  void SetPeerUseHTML(bool Value) override { SetUseHTML(Value); }
  bool PeerUseSkinColor() const override { return UseSkinColor(); }
  void SetPeerUseSkinColor(bool Value) override { SetUseSkinColor(Value); }
  void MeasureCaption() override { AdjustBounds(); }

 private:
  TsBoundLabel* boundLabel_ = nullptr;
};

// Where the ellipsis loop cuts a base that no longer fits: before its last
// space or tab, else before its last character (both bytes of a double-byte
// one in CodePage). Always shorter than Base, so the loop ends.
size_t EllipsisCut(const std::string& Base, UINT CodePage);
