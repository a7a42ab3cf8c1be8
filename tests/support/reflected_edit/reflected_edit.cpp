#include "reflected_edit.h"

namespace {

const TEnumInfo& DisabledKinds() {
  static const TEnumInfo info{{"dkBlended", "dkGrayed"}};
  return info;
}

}  // namespace

const TClassInfo& TReflectedEdit::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TReflectedEdit> b("TReflectedEdit", &TEdit::StaticClass());
    b.Creatable();
    b.Color(
        "FocusColor", [](const TReflectedEdit& c) { return c.FocusColor(); },
        [](TReflectedEdit& c, int v) { c.SetFocusColor(static_cast<TColor>(v)); }, clWindow);
    b.Bool(
        "UseXPThemes", [](const TReflectedEdit& c) { return c.UseXPThemes(); },
        [](TReflectedEdit& c, int v) { c.SetUseXPThemes(v != 0); }, true);
    b.Set(
        "DisabledKind", DisabledKinds(), [](const TReflectedEdit& c) { return c.DisabledKind(); },
        [](TReflectedEdit& c, int v) { c.SetDisabledKind(v); }, 1);
    return b.Done();
  }();
  return info;
}

const TClassInfo& TPanelBorderEdit::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TPanelBorderEdit> b("TPanelBorderEdit", &TReflectedEdit::StaticClass());
    b.Creatable();
    b.Bool(
        "PanelBorder", [](const TPanelBorderEdit& c) { return c.PanelBorder(); },
        [](TPanelBorderEdit& c, int v) { c.SetPanelBorder(v != 0); }, true);
    return b.Done();
  }();
  return info;
}
