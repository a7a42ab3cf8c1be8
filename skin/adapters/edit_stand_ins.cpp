#include "skin/adapters/edit_stand_ins.h"

#include "skin/engine/common_data.h"
#include "skin/engine/control_kinds.h"

namespace {

// Keeps place, z-order and activation; the new frame is measured again.
constexpr UINT kListResizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                                  SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

TvlMainWnd* MakeComboListWnd() {
  return new TvlComboListWnd;
}

TvlMainWnd* MakeListViewWnd() {
  return new TvlListViewWnd;
}

}  // namespace

const TvlAdapterClass& TvlComboListWnd::AdapterClass() {
  static const TvlAdapterClass c = [] {
    TvlAdapterClass k{"TvlComboListWnd", &MakeComboListWnd};
    RegisterAdapterClass(k);
    return k;
  }();
  return c;
}

TvlComboListWnd* TvlComboListWnd::Create(HWND Wnd, bool KeepSize, bool Repaint,
                                         const std::string& Section, TsSkinManager* Manager) {
  TvlSkinParams params;
  params.SectionName = Section;
  auto* adapter = CreateAdapter<TvlComboListWnd>(Wnd, nullptr, Manager, params, Repaint);
  if (!Wnd || adapter->Released) return adapter;
  RECT r{};
  GetWindowRect(Wnd, &r);
  adapter->RecordedWidth = r.right - r.left;
  adapter->RecordedHeight = r.bottom - r.top;
  if (!KeepSize)
    SetWindowPos(Wnd, nullptr, 0, 0, adapter->RecordedWidth + 1, adapter->RecordedHeight,
                 kListResizeFlags);
  return adapter;
}

const TvlAdapterClass& TvlListViewWnd::AdapterClass() {
  static const TvlAdapterClass c = [] {
    TvlAdapterClass k{"TvlListViewWnd", &MakeListViewWnd};
    RegisterAdapterClass(k);
    return k;
  }();
  return c;
}

void TvlListViewWnd::Construct(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                               TvlSkinParams& Params, bool Repaint) {
  TvlEditWnd::Construct(Wnd, ASkinData, ASkinManager, Params, Repaint);
  if (OwnsSkinData && SkinData) SkinData->ControlKind = ckListView;
}
