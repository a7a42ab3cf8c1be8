// The outer-effect settings of a control's skin state. Only the object its
// owner creates and frees is here; the settings and the shadow painting
// come with the outer effects themselves.
#pragma once

#include "widgets/rtl/components.h"

class TsCommonData;

class TvlOuterEffects : public TPersistent {
  DECLARE_CLASS(TvlOuterEffects, TPersistent)
 public:
  explicit TvlOuterEffects(TsCommonData* AOwner) : owner_(AOwner) {}
  TsCommonData* Owner() const { return owner_; }

 private:
  TsCommonData* owner_;
};
