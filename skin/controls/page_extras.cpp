// The page control's tab scroller adapter and its docking of controls as
// new sheets.
#include <windows.h>

#include "skin/controls/page_control.h"
#include "skin/adapters/stand_in_adapters.h"
#include "skin/engine/skin_manager.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

constexpr size_t kStdUpDownSection = 27;

HWND FindUpDown(HWND PageControl) {
  return FindWindowExA(PageControl, nullptr, "msctls_updown32", nullptr);
}

}  // namespace

std::string TsPageControl::TabScrollerSection() const {
  TsSkinManager* m = skinData_->SkinManager();
  return m && m->ConstData.Sections[kStdUpDownSection] >= 0 ? "UPDOWNBTN" : "BUTTON";
}

void TsPageControl::SetShowUpDown(bool v) {
  if (showUpDown_ == v) return;
  showUpDown_ = v;
  UpdateTabScroller();
}

void TsPageControl::UpdateTabScroller() {
  if (HasState(csLoading) || HasState(csReading) || !HandleAllocated()) return;
  if (!Skinned()) {
    FreeTabScroller();
    return;
  }
  HWND updown = FindUpDown(Handle());
  if (!updown) {
    FreeTabScroller();
    return;
  }
  if (!showUpDown_) {
    FreeTabScroller();
    DestroyWindow(updown);
    return;
  }
  if (!tabScroller_ || tabScroller_->WindowHandle != updown) {
    FreeTabScroller();
    TvlSkinParams params;
    params.SectionName = TabScrollerSection();
    tabScroller_ =
        CreateAdapter<TvlSpinWnd>(updown, nullptr, skinData_->SkinManager(), params, false);
  }
  tabScroller_->UpdateGeometry();
}

void TsPageControl::FreeTabScroller() {
  if (tabScroller_) ReleaseWndAdapter(tabScroller_->WindowHandle, true, false, tabScroller_);
}

// The scroller paints itself over a print of the control; the DC's origin
// comes back as it was.
void TsPageControl::PrintTabScroller(HDC DC) {
  if (!tabScroller_ || !DC || !IsWindowVisible(tabScroller_->WindowHandle)) return;
  TSavedDC saved(DC);
  const TPoint p = tabScroller_->WindowPos;
  OffsetViewportOrgEx(DC, p.X, p.Y, nullptr);
  SendMessageA(tabScroller_->WindowHandle, WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
}

void TsPageControl::DoAddDockClient(TControl* Client, const TRect& ARect) {
  if (!DockSheet) {
    TPageControl::DoAddDockClient(Client, ARect);
    return;
  }
  Client->SetParent(DockSheet);
}

void TsPageControl::HandleDockClient(TMessage& m) {
  m.Result = 0;
  auto* info = reinterpret_cast<TDockClientInfo*>(m.LParam);
  TControl* control = info ? info->Control : nullptr;
  if (!control) return;
  // Docked again: its sheet moves to the end.
  for (int i = 0; i < PageCount(); ++i)
    if (control->Parent() == Pages(i)) {
      Pages(i)->SetPageIndex(PageCount() - 1);
      return;
    }
  auto* sheet = New<TsTabSheet>(this);
  DockSheet = sheet;
  try {
    if (auto* form = dynamic_cast<TCustomForm*>(control)) sheet->SetCaption(form->Caption());
    sheet->SetPageControl(this);
    control->Dock(this, info->DockRect);
  } catch (...) {
    DockSheet = nullptr;
    TObject::Free(sheet);
    throw;
  }
  sheet->SetTabVisible(control->Visible());
  if (control->Visible()) SetActivePage(sheet);
  control->SetAlign(alClient);
  DockSheet = nullptr;
}
