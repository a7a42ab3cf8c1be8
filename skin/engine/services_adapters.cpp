#include "skin/engine/services_adapters.h"

#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"

namespace {

// Where every adapter keeps itself on its window.
constexpr char kAdapterProp[] = "VLSBSC";

}  // namespace

namespace {

// Keeps place, z-order and activation; the new frame is measured again.
constexpr UINT kListResizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                                  SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

}  // namespace

TvlComboListWnd::TvlComboListWnd(HWND Wnd, bool KeepSize, bool Repaint, const std::string& Section,
                                 TsSkinManager* AManager)
    : SectionName(Section), Manager(AManager) {
  (void)Repaint;
  WindowHandle = Wnd;
  if (!Wnd) return;
  RECT r{};
  GetWindowRect(Wnd, &r);
  RecordedWidth = r.right - r.left;
  RecordedHeight = r.bottom - r.top;
  SetPropA(Wnd, kAdapterProp, this);
  if (!KeepSize)
    SetWindowPos(Wnd, nullptr, 0, 0, RecordedWidth + 1, RecordedHeight, kListResizeFlags);
}

TvlComboListWnd::~TvlComboListWnd() {
  // A window that outlives its adapter must not lead anyone to freed memory.
  if (WindowHandle && IsWindow(WindowHandle) && GetWindowAdapter(WindowHandle) == this)
    RemovePropA(WindowHandle, kAdapterProp);
}

void TvlComboListWnd::WndProc(TMessage& Message) {
  (void)Message;
}
