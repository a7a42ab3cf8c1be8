// The outer effect of a control: a shadow (or outline) from the skin that
// the control paints into its parent's cache around itself when the parent
// asks (SkinCmdPaintOuterEffect). The settings object switches it on and
// off; the painting is TsCommonData::PaintOuterEffects.
#pragma once

#include "skin/foundation/skin_const.h"
#include "widgets/rtl/components.h"
#include "widgets/rtl/sysutils.h"

class TsCommonData;

class TvlOuterEffects : public TPersistent {
  DECLARE_CLASS(TvlOuterEffects, TPersistent)
 public:
  explicit TvlOuterEffects(TsCommonData* AOwner) : owner_(AOwner) {}
  TsCommonData* Owner() const { return owner_; }
  TvlOuterVisibility Visibility() const { return visibility_; }
  // A change repaints the parent (not while the control loads).
  void SetVisibility(TvlOuterVisibility Value);
  // The parent's window repaints its background and the control itself.
  void Changed();

  // Where, in the parent's cache, the owner's ShadowBitmap was taken from.
  TRect ShadowRect;

 private:
  TsCommonData* owner_;
  TvlOuterVisibility visibility_ = ovNone;
};

// Flags bit of SkinCmdPaintOuterEffect: the parent's cache still holds the
// shadow painted last time, so it is drawn over the background saved then.
constexpr unsigned OuterEffectOverSaved = 1;
