// The carrier form of glows, shadows, border windows, snapshots and show or
// hide animations: never activated, transparent to the mouse, left alone by
// the skinning (NoSkinTag) and without a frame.
#pragma once

#include "widgets/forms/forms.h"

class TvlGlowForm : public TCustomForm {
  DECLARE_CLASS(TvlGlowForm, TCustomForm)
 public:
  explicit TvlGlowForm(TComponent* AOwner) : TCustomForm(AOwner, TCreateNew{}) {}
  void AfterConstruction() override;
  void WndProc(TMessage& Message) override;

 protected:
  void CreateWnd() override;
};
