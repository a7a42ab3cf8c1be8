// Where the combo box's drop-down button stands, how tall its glyph is and
// how item text is placed.
#include "skin/controls/combo_box.h"
#include "skin/engine/skin_manager.h"

TRect ComboButtonRect(const TComboButtonInput& In) {
  const int w = In.HasButton ? In.ButtonWidth - 1 : 0;
  const int m = In.Margin;
  const int left = In.RightToLeft ? m : In.Width - w - m;
  return TRect(left, m, left + w, In.Height - m);
}

UINT ComboItemFormat(TAlignment Alignment, TVerticalAlignment Vertical, bool RightToLeftAlign,
                     bool RightToLeftReading) {
  UINT f = DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX;
  if (RightToLeftAlign) f |= DT_RIGHT;
  if (RightToLeftReading) f |= DT_RTLREADING;
  if (Vertical == taAlignBottom) f |= DT_BOTTOM;
  if (Vertical == taVerticalCenter) f |= DT_VCENTER;
  if (Alignment == taRightJustify) f |= DT_RIGHT;
  if (Alignment == taCenter) f |= DT_CENTER;
  return f;
}

TRect TsCustomComboBox::ButtonRect() {
  TComboButtonInput in;
  in.Width = Width();
  in.Height = Height();
  in.ButtonWidth = GetComboBtnWidth();
  TsSkinManager* m = skinData_->SkinManager();
  if (m && m->CommonSkinData) in.Margin = m->CommonSkinData->ComboMargin;
  in.RightToLeft = UseRightToLeftAlignment();
  in.HasButton = Style() != csSimple && showButton_;
  return ComboButtonRect(in);
}

int TsCustomComboBox::GlyphHeight() {
  TsSkinManager* m = skinData_->SkinManager();
  if (Skinned() && glyphIndex_ >= 0 && m && glyphIndex_ < static_cast<int>(m->Masks.size()))
    return m->Masks[static_cast<size_t>(glyphIndex_)].FrameHeight;
  return 16;
}
