// The option objects a skin manager publishes: effects, window animations,
// the foreign-control class lists, general options and the scroll-bar,
// button and label options. Each streams through its published table; the
// ones that hold their manager tell it (or every form) when a change needs
// a repaint or a reload.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "skin/engine/skin_manager.h"
#include "skin/foundation/section_names.h"
#include "skin/foundation/skin_const.h"
#include "widgets/rtl/components.h"

// The system-colour interception is its own unit; it plugs itself in here.
// Both are null until then and are only called when set.
extern void (*InstallSysColorPatches)();
extern void (*RemoveSysColorPatches)();

// 0 at design time or with smOldMode, the desktop's level with smAuto, else
// the scale mode's own level (sm100..sm200 = 0..3). 0 without a manager.
int EffectiveDpiLevel(const TsSkinManager* Manager);
// Level 0: Value scaled to the effective level. Level 1..3: Value scaled to
// that level when it is below the effective level. Unchanged with smOldMode
// or without a manager.
int ScaleToDpiLevel(const TsSkinManager* Manager, int Value, int Level);

class TvlSkinEffects : public TPersistent {
  DECLARE_CLASS(TvlSkinEffects, TPersistent)
 public:
  explicit TvlSkinEffects(TsSkinManager* Manager) : manager_(Manager) {}

  bool AllowGlowing() const { return allowGlowing_; }
  void SetAllowGlowing(bool Value) { allowGlowing_ = Value; }
  bool AllowAnimation() const { return allowAnimation_; }
  void SetAllowAnimation(bool Value) { allowAnimation_ = Value; }
  bool AllowAeroBluring() const { return allowAeroBluring_; }
  void SetAllowAeroBluring(bool Value) { allowAeroBluring_ = Value; }
  bool DiscoloredGlyphs() const { return discoloredGlyphs_; }
  void SetDiscoloredGlyphs(bool Value);
  bool AllowOuterEffects() const { return allowOuterEffects_; }
  void SetAllowOuterEffects(bool Value);
  TsSkinManager* Manager() const { return manager_; }

 private:
  void Repaint(bool Animate);

  bool allowGlowing_ = true;
  bool allowAnimation_ = true;
  bool allowAeroBluring_ = true;
  bool discoloredGlyphs_ = false;
  bool allowOuterEffects_ = false;
  TsSkinManager* manager_;
};

// One window animation: whether it runs, its length in milliseconds (0 =
// none) and its kind. The base publishes Active and Time; each descendant
// publishes what it uses and sets its own defaults after the base's.
class TvlFormAnimation : public TPersistent {
  DECLARE_CLASS(TvlFormAnimation, TPersistent)
 public:
  TvlFormAnimation() = default;

  uint16_t Time() const { return time_; }
  void SetTime(uint16_t Value) { time_ = Value; }
  bool Active() const { return active_; }
  void SetActive(bool Value) { active_ = Value; }
  TvlAnimType Mode() const { return mode_; }
  void SetMode(TvlAnimType Value) { mode_ = Value; }

 private:
  uint16_t time_ = 0;
  bool active_ = true;
  TvlAnimType mode_ = atAero;
};

class TvlBlendOnMoving : public TvlFormAnimation {
  DECLARE_CLASS(TvlBlendOnMoving, TvlFormAnimation)
 public:
  TvlBlendOnMoving();
  uint8_t BlendValue() const { return blendValue_; }
  void SetBlendValue(uint8_t Value) { blendValue_ = Value; }

 private:
  uint8_t blendValue_ = 170;
};

class TvlMinimizing : public TvlFormAnimation {
  DECLARE_CLASS(TvlMinimizing, TvlFormAnimation)
 public:
  TvlMinimizing();
};

class TvlFormShow : public TvlFormAnimation {
  DECLARE_CLASS(TvlFormShow, TvlFormAnimation)
};

class TvlFormHide : public TvlFormAnimation {
  DECLARE_CLASS(TvlFormHide, TvlFormAnimation)
};

class TvlPageChange : public TvlFormAnimation {
  DECLARE_CLASS(TvlPageChange, TvlFormAnimation)
};

class TvlDialogShow : public TvlFormAnimation {
  DECLARE_CLASS(TvlDialogShow, TvlFormAnimation)
};

class TvlSkinChanging : public TvlFormAnimation {
  DECLARE_CLASS(TvlSkinChanging, TvlFormAnimation)
 public:
  TvlSkinChanging();
};

// Which mouse events of a button animate.
class TvlBtnEffects : public TPersistent {
  DECLARE_CLASS(TvlBtnEffects, TPersistent)
 public:
  static constexpr TvlBtnEvents AllEvents = 0x0F;
  TvlBtnEvents Events() const { return events_; }
  void SetEvents(TvlBtnEvents Value) { events_ = Value & AllEvents; }

 private:
  TvlBtnEvents events_ = AllEvents;
};

class TvlAnimEffects : public TPersistent {
  DECLARE_CLASS(TvlAnimEffects, TPersistent)
 public:
  explicit TvlAnimEffects(TsSkinManager* Manager);
  ~TvlAnimEffects() override;

  TvlBlendOnMoving* BlendOnMoving() const { return blendOnMoving_; }
  TvlBtnEffects* Buttons() const { return buttons_; }
  TvlDialogShow* DialogShow() const { return dialogShow_; }
  TvlFormShow* FormShow() const { return formShow_; }
  TvlFormHide* FormHide() const { return formHide_; }
  TvlFormHide* DialogHide() const { return dialogHide_; }
  TvlMinimizing* Minimizing() const { return minimizing_; }
  TvlPageChange* PageChange() const { return pageChange_; }
  TvlSkinChanging* SkinChanging() const { return skinChanging_; }
  TsSkinManager* Manager() const { return manager_; }

 private:
  TvlFormHide* formHide_ = nullptr;
  TvlFormHide* dialogHide_ = nullptr;
  TvlFormShow* formShow_ = nullptr;
  TvlBtnEffects* buttons_ = nullptr;
  TvlPageChange* pageChange_ = nullptr;
  TvlMinimizing* minimizing_ = nullptr;
  TvlDialogShow* dialogShow_ = nullptr;
  TvlSkinChanging* skinChanging_ = nullptr;
  TvlBlendOnMoving* blendOnMoving_ = nullptr;
  TsSkinManager* manager_;
};

// The 23 class-name lists (one name per line) that pick the window adapter
// of a foreign control, by kind index 0..22 (ThirdPartyKindNames). A new
// object holds empty lists; the manager fills empty ones with the defaults.
class ThirdPartyList : public TPersistent {
  DECLARE_CLASS(ThirdPartyList, TPersistent)
 public:
  // "" outside 0..22.
  std::string Get(int Index) const;
  // Nothing outside 0..22.
  void Set(int Index, const std::string& Value);

 private:
  std::array<std::string, ThirdPartyKindCount> lists_;
};

class TvlOptions : public TPersistent {
  DECLARE_CLASS(TvlOptions, TPersistent)
 public:
  // Indexes of the Boolean options.
  enum : int {
    CheckEmptyAlphaIndex = 0,
    NoMouseHoverIndex = 1,
    NativeBordersMaximizedIndex = 2,
    StdGlyphsOrderIndex = 3,
    ChangeSysColorsIndex = 4,
    StdImgTransparencyIndex = 5,
  };

  explicit TvlOptions(TsSkinManager* Manager) : manager_(Manager) {}

  // Any other index answers ChangeSysColors.
  bool GetOption(int Index) const;
  // Any other index stores nothing.
  void SetOption(int Index, bool Value);

  bool CheckEmptyAlpha() const { return GetOption(CheckEmptyAlphaIndex); }
  bool NoMouseHover() const { return GetOption(NoMouseHoverIndex); }
  bool NativeBordersMaximized() const { return GetOption(NativeBordersMaximizedIndex); }
  bool StdGlyphsOrder() const { return GetOption(StdGlyphsOrderIndex); }
  bool ChangeSysColors() const { return GetOption(ChangeSysColorsIndex); }
  bool StdImgTransparency() const { return GetOption(StdImgTransparencyIndex); }

  TvlScaleMode ScaleMode() const { return scaleMode_; }
  void SetScaleMode(TvlScaleMode Value);
  TvlOptimizingPriority OptimizingPriority() const { return optimizingPriority_; }
  void SetOptimizingPriority(TvlOptimizingPriority Value) { optimizingPriority_ = Value; }
  TsSkinManager* Manager() const { return manager_; }

 private:
  bool noMouseHover_ = false;
  bool stdGlyphsOrder_ = false;
  bool checkEmptyAlpha_ = false;
  bool changeSysColors_ = false;
  bool stdImgTransparency_ = false;
  bool nativeBordersMaximized_ = false;
  TsSkinManager* manager_;
  TvlScaleMode scaleMode_ = smOldMode;
  TvlOptimizingPriority optimizingPriority_ = opSpeed;
};

// Sizes of the skinned scroll bars; -1 takes the system's.
class TvlScrollBarsSupport : public TPersistent {
  DECLARE_CLASS(TvlScrollBarsSupport, TPersistent)
 public:
  explicit TvlScrollBarsSupport(TsSkinManager* Manager) : manager_(Manager) {}

  int ScrollSize() const { return scrollSize_; }
  void SetScrollSize(int Value);
  int ButtonsSize() const { return buttonsSize_; }
  void SetButtonsSize(int Value);
  TsSkinManager* Manager() const { return manager_; }

 private:
  int scrollSize_ = -1;
  int buttonsSize_ = -1;
  TsSkinManager* manager_;
};

class TvlButtonsSupport : public TPersistent {
  DECLARE_CLASS(TvlButtonsSupport, TPersistent)
 public:
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool Value) { showFocusRect_ = Value; }
  bool ShiftContentOnClick() const { return shiftContentOnClick_; }
  void SetShiftContentOnClick(bool Value) { shiftContentOnClick_ = Value; }

 private:
  bool showFocusRect_ = true;
  bool shiftContentOnClick_ = true;
};

class TvlLabelsSupport : public TPersistent {
  DECLARE_CLASS(TvlLabelsSupport, TPersistent)
 public:
  bool TransparentAlways() const { return transparentAlways_; }
  void SetTransparentAlways(bool Value) { transparentAlways_ = Value; }

 private:
  bool transparentAlways_ = true;
};
