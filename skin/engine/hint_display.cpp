// DisplayHintAt: a hint at a screen point through the application's hint
// window class.
#include "skin/engine/hint_display.h"

#include "skin/engine/hint_manager.h"
#include "skin/engine/layered_windows.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/forms/hint_window.h"

namespace {

constexpr int kMaxHintWidth = 800;
constexpr int kOffsetX = 8, kOffsetY = 16;
constexpr size_t kFadeTextLimit = 100;
constexpr DWORD kFadeTime = 200;

bool SystemFadesTooltips() {
  BOOL animation = FALSE, fade = FALSE;
  SystemParametersInfoA(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
  SystemParametersInfoA(SPI_GETTOOLTIPFADE, 0, &fade, 0);
  return animation && fade;
}

}  // namespace

TvlHintManager* ActiveHintManager = nullptr;

TControl* DisplayHintAt(const std::string& Text, const TPoint& Point) {
  if (ActiveHintManager)
    return ActiveHintManager->ShowHintAt(Point, Text,
                                         Application ? Application->HintHidePause() : 0);
  if (Text.empty() || !Application) return nullptr;
  const TClassInfo* cls = Application->HintWindowClass();
  auto hint = OwnObject(dynamic_cast<THintWindow*>(cls->Factory()(nullptr)));
  if (!hint) return nullptr;
  hint->SetVisible(false);
  hint->SetColor(clInfoBk);
  TRect r = hint->CalcHintRect(kMaxHintWidth, Text);
  OffsetRect(r.AsRECT(), Point.X + kOffsetX, Point.Y + kOffsetY);
  // A point on no monitor's work area leaves the hint where it is.
  const TRect work = WorkAreaAtPoint(Point);
  if (work.Right > work.Left && r.Right > work.Right)
    OffsetRect(r.AsRECT(), work.Right - r.Right, 0);
  if (work.Bottom > work.Top && r.Bottom > work.Bottom)
    OffsetRect(r.AsRECT(), 0, work.Bottom - r.Bottom);

  if (hint->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdIsSkinned), 0) == 1) {
    hint->ActivateHint(r, Text);
    return hint.release();
  }
  hint->SetCaption(Text);
  r.Bottom += 4;
  hint->SetParentWindow(Application->Handle());
  hint->SetBoundsRect(r);
  const HWND h = hint->Handle();
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  if (Text.size() < kFadeTextLimit && SystemFadesTooltips()) AnimateWindow(h, kFadeTime, AW_BLEND);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  hint->Invalidate();
  hint->Update();
  return hint.release();
}
