// TBitBtn: an owner-drawn push button (themed or classic frame, then the
// caption).
#pragma once

#include "widgets/controls/stdctrls.h"

class TBitBtn : public TButton {
  DECLARE_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  virtual void DrawItem(const DRAWITEMSTRUCT& DrawItemStruct);

 private:
  bool hot_ = false;
};
