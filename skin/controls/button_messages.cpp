// The push button's message handling: the library's commands, the plain
// owner-draw request, and the skinned paint, focus and hover.
#include <algorithm>

#include "skin/controls/button.h"
#include "skin/controls/button_shared.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/actions.h"
#include "widgets/rtl/flag_scope.h"

namespace {

// Where "BUTTON" stands among the skin's standard sections.
int StandardButtonSlot() {
  static const int slot = [] {
    for (size_t i = 0; i < StdSectionNames.size(); ++i)
      if (std::string(StdSectionNames[i]) == "BUTTON") return static_cast<int>(i);
    return -1;
  }();
  return slot;
}

// Drawing off for the length of a focus message, back on however it ends.
class TRedrawOff {
 public:
  explicit TRedrawOff(HWND wnd) : wnd_(wnd) { SendMessageA(wnd_, WM_SETREDRAW, FALSE, 0); }
  ~TRedrawOff() { SendMessageA(wnd_, WM_SETREDRAW, TRUE, 0); }
  TRedrawOff(const TRedrawOff&) = delete;
  TRedrawOff& operator=(const TRedrawOff&) = delete;

 private:
  HWND wnd_;
};

}  // namespace

void TsButton::WithRedrawOff(TMessage& m) {
  // Under some platforms switching drawing off hides the window until it is
  // switched on again: Visible() is the object's own state and stays true.
  TFlagScope changing(ButtonFocusChanging);
  TRedrawOff off(Handle());
  TButton::WndProc(m);
}

bool TsButton::HandleSkinMessage(TMessage& m) {
  TsSkinManager* manager = skinData_->SkinManager();
  const bool own = manager && m.LParam == reinterpret_cast<LPARAM>(manager);
  switch (SkinCmdCode(m.WParam)) {
    case SkinCmdNewSkin:
      if (!own) break;
      stateChanged_ = true;
      ::HandleSkinCommand(m, skinData_);
      return true;
    case SkinCmdRemoveSkin:
      if (!own || Destroying()) break;
      ::HandleSkinCommand(m, skinData_);
      DropRegion();
      Repaint();
      return true;
    case SkinCmdRefresh:
      if (!own) break;
      DropRegion();
      ::HandleSkinCommand(m, skinData_);
      stateChanged_ = true;
      if (!(skinData_->StateFlags & sfPrintDC)) Repaint();
      return true;
    case SkinCmdIsSkinned:
      m.Result = 1;
      return true;
    case SkinCmdGetDefaultSection:
      m.Result = manager && StandardButtonSlot() >= 0
                     ? manager->ConstData.Sections[static_cast<size_t>(StandardButtonSlot())] + 1
                     : 0;
      return true;
    case SkinCmdPrepareCache:
      if (Skinned()) PaintSkinnedCache();
      return true;
    case SkinCmdRefreshFace:
      region_.Reset();
      break;
    case SkinCmdGetSkinData:
      m.Result = reinterpret_cast<LRESULT>(skinData_);
      return true;
    case SkinCmdResumePaint:
      if (!Skinned() || !skinData_->Updating) break;
      if (!skinData_->CheckUpdating(true)) Repaint();
      return true;
    default:
      break;
  }
  return ::HandleSkinCommand(m, skinData_);
}

bool TsButton::HandleSkinnedMessage(TMessage& m) {
  const bool visible = Visible() || Designing();
  switch (m.Msg) {
    case WM_MOVE: {
      TsSkinManager* mg = skinData_->SkinManager();
      const TsGeneralData& s = mg->Sections[static_cast<size_t>(skinData_->SkinIndex)];
      if (s.Props[0].Transparency > 0 ||
          (skinData_->CurrentState() != 0 && s.Props[1].Transparency > 0)) {
        skinData_->BgChanged = true;
        Repaint();
      }
      break;
    }
    case WM_SIZE:
      stateChanged_ = true;
      HideGlow(skinData_->GlowIndex, false);
      break;
    case WM_SETFOCUS:
    case CM_ENTER:
      if (!visible || Designing()) break;
      if (Enabled() && !Destroying() && !ButtonFocusChanging) {
        WithRedrawOff(m);
        if (skinData_->AnimationRunning())
          skinData_->BgChanged = true;
        else
          skinData_->Invalidate();
      } else {
        TButton::WndProc(m);
      }
      return true;
    case WM_KILLFOCUS:
    case CM_EXIT:
      if (!visible || Designing()) break;
      if (Enabled() && !Destroying()) {
        StopAnimation(skinData_);
        WithRedrawOff(m);
        if (Skinned()) {
          stateChanged_ = true;
          skinData_->Invalidate();
          HideGlow(skinData_->GlowIndex, false);
        }
      } else {
        TButton::WndProc(m);
      }
      return true;
    case WM_ENABLE:
      return true;
    case WM_PAINT:
      if (!visible || !Parent()) break;
      if (skinData_->CheckUpdating())
        ValidateRect(Handle(), nullptr);
      else
        PaintSkinned(reinterpret_cast<HDC>(m.WParam), false);
      return true;
    case WM_ERASEBKGND:
      if (!visible) break;
      if (m.WParam && skinData_->CacheBitmap && !skinData_->Updating) {
        bool complete = true;
        if (skinData_->BgChanged) complete = PaintSkinnedCache();
        if (complete && !skinData_->AnimationRunning())
          CopyCacheExcludingChildren(this, skinData_, TRect(0, 0, Width(), Height()),
                                     TRect(0, 0, Width(), Height()),
                                     reinterpret_cast<HDC>(m.WParam), false, 0, 0);
      }
      m.Result = 0;
      return true;
    case WM_WINDOWPOSCHANGING:
      stateChanged_ = true;
      break;
    case WM_WINDOWPOSCHANGED:
      stateChanged_ = true;
      skinData_->BgChanged = true;
      break;
    case WM_UPDATEUISTATE:
      if (!visible) break;
      m.Result = 1;
      return true;
    case WM_PRINT:
      stateChanged_ = true;
      skinData_->Updating = false;
      PaintSkinned(reinterpret_cast<HDC>(m.WParam), true);
      return true;
    case CM_DIALOGCHAR:
      if (m.WParam == VK_SPACE && Enabled() && Focused()) {
        StopAnimation(skinData_);
        stateChanged_ = true;
        skinData_->BgChanged = true;
        HideGlow(skinData_->GlowIndex, false);
        Repaint();
      }
      break;
    case CM_FOCUSCHANGED:
      if (!Visible()) break;
      if (ButtonFocusChanging)
        TButton::WndProc(m);
      else
        WithRedrawOff(m);
      return true;
    case CM_TEXTCHANGED:
      if (Destroying()) break;
      FinishAnimation(skinData_->AnimTimer);
      StopAnimation(skinData_);
      skinData_->Invalidate();
      return true;
    case CM_MOUSEENTER: {
      TsSkinManager* mg = skinData_->SkinManager();
      if (Enabled() && !Designing() && !skinData_->Hot && !(mg && mg->Options()->NoMouseHover())) {
        if (OnMouseEnter) OnMouseEnter(this);
        skinData_->BgChanged = false;
        skinData_->Hot = true;
        RepaintWithFade(skinData_, 2, FadeStep, IsAnimatedEvent(aeMouseEnter, animatEvents_, mg),
                        false, true);
      }
      break;
    }
    case CM_MOUSELEAVE:
      if (Enabled() && !Designing()) {
        if (OnMouseLeave) OnMouseLeave(this);
        skinData_->BgChanged = false;
        skinData_->Hot = false;
        RepaintWithFade(skinData_, 2, FadeStep,
                        IsAnimatedEvent(aeMouseLeave, animatEvents_, skinData_->SkinManager()),
                        false, true);
      }
      break;
    case CM_UIACTIVATE:
      skinData_->Updating = false;
      break;
    case CN_DRAWITEM:
      m.WParam = 0;
      m.LParam = 0;
      m.Result = 1;
      return true;
    default:
      break;
  }
  return HandleControlMessage(m, skinData_);
}

void TsButton::AfterInherited(const TMessage& m) {
  if (Destroying()) return;
  const bool visible = Visible() || Designing();
  switch (m.Msg) {
    case WM_SETREDRAW:
      // Some platforms hide the window while drawing is off and drop what
      // was invalidated meanwhile (a first paint among it): the face is
      // asked for again.
      if (m.WParam && HandleAllocated() && IsWindowVisible(Handle()))
        InvalidateRect(Handle(), nullptr, FALSE);
      break;
    case WM_SETFONT:
      if (!visible) break;
      skinData_->Updating = false;
      StopAnimation(skinData_);
      skinData_->Invalidate();
      break;
    case CM_CANCELMODE:
      HideGlow(skinData_->GlowIndex, false);
      break;
    case CM_VISIBLECHANGED:
      skinData_->BgChanged = true;
      skinData_->Updating = false;
      if (visible) Repaint();
      break;
    case CM_ENABLEDCHANGED:
      if (!visible) break;
      skinData_->Updating = false;
      StopAnimation(skinData_);
      skinData_->BgChanged = true;
      RepaintNow();
      break;
    default:
      break;
  }
}

void TsButton::WndProc(TMessage& m) {
  // A lost release must not leave the application's hints off.
  if (m.Msg == WM_CAPTURECHANGED || m.Msg == WM_CANCELMODE || m.Msg == WM_DESTROY) hints_.Restore();
  if (m.Msg == WM_KILLFOCUS && Destroying()) return;
  if (m.Msg == SkinCommandMessage && HandleSkinMessage(m)) return;
  // A press may open the drop-down menu, and a menu item may free the
  // button: after the inherited handling the button is touched only when it
  // still lives.
  const std::shared_ptr<bool> alive = alive_;
  if (ControlIsReady(this) && Skinned()) {
    if (HandleSkinnedMessage(m)) return;
    TButton::WndProc(m);
    if (*alive) AfterInherited(m);
    return;
  }
  switch (m.Msg) {
    case WM_NCCREATE:
    case WM_CREATE:
      RegisterSkinData(skinData_);
      break;
    case CN_DRAWITEM:
      PaintStdButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
      m.Result = 1;
      return;
    case CN_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      item->itemWidth = static_cast<UINT>(Width());
      item->itemHeight = static_cast<UINT>(Height());
      m.Result = 1;
      return;
    }
    default:
      break;
  }
  TButton::WndProc(m);
  if (!*alive || Destroying()) return;
  switch (m.Msg) {
    case CM_ENABLEDCHANGED:
      if (Visible() || Designing()) Repaint();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (Designing() || !Enabled()) break;
      skinData_->Hot = m.Msg == CM_MOUSEENTER;
      if (skinData_->Hot && OnMouseEnter) OnMouseEnter(this);
      if (!skinData_->Hot && OnMouseLeave) OnMouseLeave(this);
      RepaintNow();
      break;
    case CM_SHOWINGCHANGED:
      // A skin that came while the button had no window is taken now.
      if (Showing()) HandleControlMessage(m, skinData_);
      break;
    default:
      break;
  }
}
