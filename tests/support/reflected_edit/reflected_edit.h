// Edits of a make the skin library does not know, publishing the colour and
// look properties that adapters reach only by name.
#pragma once

#include "widgets/controls/stdctrls.h"

// Publishes "FocusColor" (the colour while focused; the control paints with
// it itself), "UseXPThemes" and the set "DisabledKind" (members "dkBlended"
// and "dkGrayed", bits 1 and 2).
class TReflectedEdit : public TEdit {
  DECLARE_CLASS(TReflectedEdit, TEdit)
 public:
  using TEdit::TEdit;

  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor v) { focusColor_ = v; }
  bool UseXPThemes() const { return useXPThemes_; }
  void SetUseXPThemes(bool v) { useXPThemes_ = v; }
  int DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(int v) { disabledKind_ = v; }

 private:
  TColor focusColor_ = clWindow;
  bool useXPThemes_ = true;
  int disabledKind_ = 1;
};

// Also publishes "PanelBorder", the property of edits that sit in a panel's
// frame and show no border of their own.
class TPanelBorderEdit : public TReflectedEdit {
  DECLARE_CLASS(TPanelBorderEdit, TReflectedEdit)
 public:
  using TReflectedEdit::TReflectedEdit;

  bool PanelBorder() const { return panelBorder_; }
  void SetPanelBorder(bool v) { panelBorder_ = v; }

 private:
  bool panelBorder_ = true;
};
