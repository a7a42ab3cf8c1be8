// TScrollingWinControl, and the parts of TCustomForm that change how its
// window composes (alpha and colour key) and how its children are ordered.
#include <algorithm>

#include "widgets/forms/forms.h"

const TClassInfo& TScrollingWinControl::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TScrollingWinControl> b("TScrollingWinControl", &TWinControl::StaticClass());
    b.Bool(
        "DockSite", [](const TScrollingWinControl& c) { return c.DockSite(); },
        [](TScrollingWinControl& c, int v) { c.SetDockSite(v != 0); }, false);
    return b.Done();
  }();
  return info;
}

void TCustomForm::SetAlphaBlend(bool v) {
  if (alphaBlend_ == v) return;
  alphaBlend_ = v;
  UpdateLayeredAttributes();
}

void TCustomForm::SetAlphaBlendValue(uint8_t v) {
  if (alphaBlendValue_ == v) return;
  alphaBlendValue_ = v;
  if (alphaBlend_) UpdateLayeredAttributes();
}

void TCustomForm::SetTransparentColor(bool v) {
  if (transparentColor_ == v) return;
  transparentColor_ = v;
  UpdateLayeredAttributes();
}

void TCustomForm::SetTransparentColorValue(TColor v) {
  if (transparentColorValue_ == v) return;
  transparentColorValue_ = v;
  if (transparentColor_) UpdateLayeredAttributes();
}

// Only top-level windows can be layered. Switching layering off also
// drops whatever alpha others put on the window: it is a plain window
// again. The platform may leave a last error behind when the style is
// added, so success is never judged by it.
void TCustomForm::UpdateLayeredAttributes() {
  if (!handle_ || (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD)) return;
  const LONG_PTR ex = GetWindowLongPtrA(handle_, GWL_EXSTYLE);
  if (alphaBlend_ || transparentColor_) {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrA(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    const DWORD flags = (alphaBlend_ ? LWA_ALPHA : 0) | (transparentColor_ ? LWA_COLORKEY : 0);
    SetLayeredWindowAttributes(handle_, ColorToRGB(transparentColorValue_), alphaBlendValue_,
                               flags);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrA(handle_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    RedrawWindow(handle_, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TCustomForm::SetChildOrder(TComponent* Child, int Order) {
  if (dynamic_cast<TControl*>(Child)) return TWinControl::SetChildOrder(Child, Order);
  if (!Child || Child->Owner() != this) return;
  // Order counts in the written list: the form's own controls come first.
  std::vector<TComponent*> written;
  GetChildren(written, this);
  std::vector<TComponent*> others;
  for (TComponent* c : written)
    if (!dynamic_cast<TControl*>(c)) others.push_back(c);
  if (std::find(others.begin(), others.end(), Child) == others.end()) return;
  const int controls = static_cast<int>(written.size() - others.size());
  const int at = std::clamp(Order - controls, 0, static_cast<int>(others.size()) - 1);
  Child->SetComponentIndex(others[at]->ComponentIndex());
}
