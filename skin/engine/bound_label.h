// The caption label an edit, combo box or list box can carry beside itself:
// made on demand, named after its control, and kept in place, visible,
// enabled and reading in the control's direction as the control changes.
//
// The engine cannot see the skinned label class, so the label is made
// through the class registry: the controls unit registers "TsEditLabel" at
// start-up, and that class speaks to its bound label through
// TvlBoundLabelPeer. Without the registration Active stays set and no label
// exists.
#pragma once

#include <windows.h>

#include <string>

#include "skin/foundation/skin_const.h"
#include "widgets/controls/messages.h"
#include "widgets/rtl/components.h"

class TControl;
class TCustomLabel;
class TFont;
class TWinControl;
class TsBoundLabel;
class TsCommonData;

// What a bound label asks of its label beyond a platform label. The label
// class implements it; its destructor must call TsBoundLabel::LabelGone.
class TvlBoundLabelPeer {
 public:
  virtual TCustomLabel* AsLabel() = 0;
  virtual void SetBoundLabel(TsBoundLabel* Link) = 0;
  virtual bool PeerUseHTML() const = 0;
  virtual void SetPeerUseHTML(bool Value) = 0;
  virtual bool PeerUseSkinColor() const = 0;
  virtual void SetPeerUseSkinColor(bool Value) = 0;
  // Sizes the label to its caption now (AutoSize).
  virtual void MeasureCaption() = 0;

 protected:
  ~TvlBoundLabelPeer() = default;
};

// The registered class name the bound label creates its label from.
inline constexpr const char* BoundLabelClassName = "TsEditLabel";

class TsBoundLabel : public TPersistent {
  DECLARE_CLASS(TsBoundLabel, TPersistent)
 public:
  // SkinData's Control is the bound control.
  explicit TsBoundLabel(TsCommonData* SkinData);
  ~TsBoundLabel() override;

  bool UseHTML() const { return useHTML_; }
  void SetUseHTML(bool Value) { SetBoolProp(0, Value); }
  bool Active() const { return active_; }
  void SetActive(bool Value) { SetBoolProp(1, Value); }
  bool AllowClick() const { return allowClick_; }
  void SetAllowClick(bool Value) { SetBoolProp(2, Value); }
  bool EnabledAlways() const { return enabledAlways_; }
  void SetEnabledAlways(bool Value) { SetBoolProp(3, Value); }
  // The label's; True without a label.
  bool UseSkinColor() const;
  void SetUseSkinColor(bool Value);
  int Indent() const { return indent_; }
  void SetIndent(int Value) { SetIntProp(0, Value); }
  // 0 or less: no limit (9999).
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int Value) { SetIntProp(1, Value); }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& Value);
  // The label's font while it exists, else the one kept for it.
  TFont* Font() const;
  void SetFont(TFont* Value);
  bool IsFontStored() const;
  TsCaptionLayout Layout() const { return layout_; }
  void SetLayout(TsCaptionLayout Value);
  int ScalePercent() const { return scalePercent_; }

  // Nil while not Active (or no label class is registered).
  TCustomLabel* Label() const;
  TvlBoundLabelPeer* Peer() const { return label_; }
  TsCommonData* SkinData() const { return skinData_; }
  // The bound control.
  TControl* Control() const;

  // Called by the bound control's window procedure with every message it
  // passed on; Owner is the bound control.
  void HandleOwnerMessage(TMessage& Message, TWinControl* Owner);
  void ChangeScale(int NewPercent);
  // Places the label beside the control by Layout and sizes it.
  void AlignLabel();
  // The label tells its bound label that it is being destroyed: neither
  // Active nor the reference outlive it, so nobody frees it again.
  void LabelGone(TvlBoundLabelPeer* Peer);

  // The label's alignment for each layout (0 left, 1 right, 2 centre).
  static int LayoutAlignment(TsCaptionLayout Layout);

 private:
  void SetBoolProp(int Index, bool Value);
  void SetIntProp(int Index, int Value);
  void ApplyActive();
  void ApplyAllowClick();
  void UpdateAlignment();
  void LabelClick(TObject* Sender);

  int indent_ = 0;
  int maxWidth_ = 0;
  int scalePercent_ = 100;
  bool useHTML_ = false;
  bool enabledAlways_ = false;
  TFont* font_ = nullptr;  // owned
  std::string caption_;
  TsCaptionLayout layout_ = sclLeft;
  bool allowClick_ = false;
  bool active_ = false;
  TvlBoundLabelPeer* label_ = nullptr;  // owned
  TsCommonData* skinData_ = nullptr;
};
