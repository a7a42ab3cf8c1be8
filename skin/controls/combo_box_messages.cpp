// The combo box's message handling: the read-only filter of the combo and
// its child windows, the library's commands, and the skinned paint, focus,
// hover and list handling.
#include <algorithm>

#include "skin/controls/combo_box.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/bound_label.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/manager_options.h"
#include "skin/adapters/edit_stand_ins.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/flag_scope.h"

namespace {

// The keys that move the selection, open the list or pick an item by its
// first letter.
bool SelectionKey(WPARAM Key) {
  return (Key >= VK_SPACE && Key <= VK_DOWN) || Key == 0x39 || (Key >= 'A' && Key <= 'Z') ||
         Key == VK_F4;
}

bool IsDropDownCommand(WPARAM WParam) {
  return HIWORD(WParam) == CBN_DROPDOWN;
}

POINT CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

}  // namespace

bool ComboReadOnlySwallows(TComboMessageSite Site, UINT Msg, WPARAM WParam) {
  if (Site == TComboMessageSite::Child) {
    switch (Msg) {
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_CHAR:
      case WM_SYSKEYUP:
      case WM_CUT:
      case WM_PASTE:
      case WM_CLEAR:
      case WM_UNDO:
      case CN_KEYDOWN:
      case CN_CHAR:
      case CN_SYSKEYDOWN:
      case CN_SYSCHAR:
        return true;
      default:
        return false;
    }
  }
  switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
    case CN_SYSCHAR:
      return SelectionKey(WParam);
    case WM_CHAR:
      return true;
    case WM_COMMAND:
    case CN_COMMAND:
      return IsDropDownCommand(WParam);
    default:
      return false;
  }
}

bool TsCustomComboBox::EditPartLive() {
  return (Focused() || skinData_->Focused) && Enabled() && !readOnly_ && stdDropDown_;
}

void TsCustomComboBox::ComboWndProc(TMessage& m, HWND ComboWnd, TObjectInstance& ComboProc) {
  if ((readOnly_ || !stdDropDown_) &&
      ComboReadOnlySwallows(TComboMessageSite::Child, m.Msg, m.WParam))
    return;
  if (!Destroying() && Skinned()) {
    switch (m.Msg) {
      case WM_PAINT:
        // The combo shows this area from its cache while the edit is idle.
        if (Style() == csSimple || EditPartLive()) break;
        {
          PAINTSTRUCT ps;
          BeginPaint(ComboWnd, &ps);
          EndPaint(ComboWnd, &ps);
        }
        return;
      case WM_ERASEBKGND:
      case WM_NCPAINT:
        if (Style() == csSimple || EditPartLive()) break;
        m.Result = 1;
        return;
      case WM_MOUSEMOVE:
        if (Designing()) break;
        if (TsSkinManager* mg = skinData_->SkinManager(); mg && mg->HotWindow != Handle())
          mg->SetHotWindow(Handle());
        break;
      default:
        break;
    }
  }
  TCustomComboBox::ComboWndProc(m, ComboWnd, ComboProc);
}

bool TsCustomComboBox::HandleSkinCommand(TMessage& m) {
  TsSkinManager* manager = skinData_->SkinManager();
  const bool own = manager && m.LParam == reinterpret_cast<LPARAM>(manager);
  switch (SkinCmdCode(m.WParam)) {
    case SkinCmdNewSkin: {
      if (!own) return true;
      const bool wasSkinned = Skinned();
      HideGlow(skinData_->GlowIndex, false);
      HandleControlMessage(m, skinData_);
      UpdateGlyphIndex();
      // Skinned, the edit part is owner-drawn: the window style changes.
      if (!wasSkinned) RecreateWnd();
      if (listAdapter_) listAdapter_->Perform(m.Msg, m.WParam, m.LParam);
      return true;
    }
    case SkinCmdRemoveSkin:
      if (!own) return true;
      HideGlow(skinData_->GlowIndex, false);
      HandleControlMessage(m, skinData_);
      ReleaseListAdapter();
      if (!skinData_->CustomColor) SetColor(clWindow);
      if (!skinData_->CustomFont) {
        TFontChangeOff quiet(Font());
        Font()->SetColor(clWindowText);
      }
      RecreateWnd();
      return true;
    case SkinCmdRefresh: {
      if (!own) return true;
      HideGlow(skinData_->GlowIndex, false);
      const int index = ItemIndex();
      if (HandleAllocated()) SendMessageA(Handle(), CB_SHOWDROPDOWN, FALSE, 0);
      if (ItemIndex() != index) SetItemIndex(index);
      HandleControlMessage(m, skinData_);
      Repaint();
      return true;
    }
    case SkinCmdResumePaint:
      if (skinData_->IsUpdating()) {
        skinData_->Updating = false;
        Repaint();
      }
      return true;
    case SkinCmdGetDefaultSection:
      if (manager)
        m.Result = FindSectionIndex(manager, IsButtonStyle() ? "BUTTON" : "COMBOBOX") + 1;
      return true;
    case SkinCmdPrepareCache:
      PrepareCache();
      return true;
    case SkinCmdMouseLeave:
      if (HandleAllocated()) SendMessageA(Handle(), CM_MOUSELEAVE, 0, 0);
      return true;
    case SkinCmdSetScale:
      ReleaseListAdapter();
      if (boundLabel_) boundLabel_->ChangeScale(static_cast<int>(m.LParam));
      return true;
    default:
      ::HandleSkinCommand(m, skinData_);
      return true;
  }
}

void TsCustomComboBox::FocusChange(TMessage& m, bool Entering) {
  if (skinData_->StateFlags & sfComboBox) {
    TCustomComboBox::WndProc(m);
    return;
  }
  {
    TFlagScope<uint16_t> guard(skinData_->StateFlags, sfComboBox);
    if (Entering) {
      FinishAnimation(skinData_->AnimTimer);
    } else {
      StopAnimation(skinData_);
      if (!skinData_->Hot) HideGlow(skinData_->GlowIndex, false);
    }
    skinData_->Focused = Entering;
    skinData_->BgChanged = true;
    skinData_->ApplyStateColors(true);
    TCustomComboBox::WndProc(m);
  }
  if (Destroying() || !HandleAllocated()) return;
  if (Entering) SendMessageA(Handle(), WM_NCPAINT, 0, 0);
  Repaint();
}

void TsCustomComboBox::MouseMoveSkinned(TMessage& m) {
  if (!Designing() && !listShown_ && !IsButtonStyle()) {
    const TRect r = ButtonRect();
    const POINT p = CursorPos();
    const TPoint o = ClientToScreen(TPoint(r.Left, r.Top));
    const RECT screen{o.X, o.Y, o.X + r.Width(), o.Y + r.Height()};
    const int b = PtInRect(&screen, p) ? 1 : 0;
    if (!EditHoverOption && b != buttonState_) {
      buttonState_ = b;
      StartHoverFade(2 * b + 1);
    }
  }
  TCustomComboBox::WndProc(m);
}

void TsCustomComboBox::CloseUpSkinned(TMessage& m) {
  listShown_ = false;
  skinData_->BgChanged = true;
  if (skinData_->AnimTimer) skinData_->AnimTimer->Value = 0;
  PaintControl(nullptr);
  if (!IsMouseOverControl(skinData_)) {
    skinData_->Hot = false;
    buttonState_ = 0;
  }
  if (TvlThreadedTimer* t = skinData_->AnimTimer; t && skinData_->CacheBitmap)
    CopyBitmapRect(t, t->WorkImage, skinData_->CacheBitmap, GraphicRect(skinData_->CacheBitmap));
  if (IsButtonStyle()) StartHoverFade(skinData_->Hot ? 1 : 0);
  CommonHandling(m);
}

void TsCustomComboBox::CommonHandling(TMessage& m) {
  HandleControlMessage(m, skinData_);
  TCustomComboBox::WndProc(m);
  if (Destroying()) return;
  const bool fontColourBusy = (skinData_->StateFlags & sfSkinFontColor) != 0;
  switch (m.Msg) {
    case WM_SETFONT:
    case CM_ENABLEDCHANGED:
      Repaint();
      break;
    case CB_SETCURSEL:
      StopAnimation(skinData_);
      skinData_->BgChanged = true;
      Repaint();
      break;
    case CM_VISIBLECHANGED:
      if (!fontColourBusy) Repaint();
      break;
    case CM_FONTCHANGED:
      if (fontColourBusy) break;
      if (Visible()) SetItemHeight(GetItemHeight());
      Invalidate();
      break;
    case CM_TEXTCHANGED:
    case CM_CHANGED:
      skinData_->BgChanged = true;
      Repaint();
      break;
    default:
      break;
  }
}

bool TsCustomComboBox::HandleSkinnedMessage(TMessage& m) {
  const bool fontColourBusy = (skinData_->StateFlags & sfSkinFontColor) != 0;
  switch (m.Msg) {
    case WM_SETFOCUS:
    case CM_ENTER:
    case WM_KILLFOCUS:
    case CM_EXIT:
      if (!CanFocus()) break;
      FocusChange(m, m.Msg == WM_SETFOCUS || m.Msg == CM_ENTER);
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(Handle(), &ps);
      if (!GlobalAnimationActive) PaintControl(reinterpret_cast<HDC>(m.WParam));
      EndPaint(Handle(), &ps);
      return true;
    }
    case WM_NCPAINT:
      if (GlobalAnimationActive) PaintControl(nullptr);
      return true;
    case WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
      if (fontColourBusy) return true;
      skinData_->BgChanged = true;
      break;
    case CM_COLORCHANGED:
    case CM_MOUSEWHEEL:
      skinData_->BgChanged = true;
      break;
    case WM_COMMAND:
      if (readOnly_ || !stdDropDown_) return true;
      listShown_ = false;
      skinData_->BgChanged = true;
      FinishAnimation(skinData_->AnimTimer);
      PaintControl(nullptr);
      HandleControlMessage(m, skinData_);
      TCustomComboBox::WndProc(m);
      return true;
    case WM_CTLCOLORLISTBOX:
      // One adapter per list window: a list is adapted at its first colour
      // request and released with the combo's window or the skin.
      if (!HasState(csLoading) && !listWnd_ && m.LParam) {
        listWnd_ = reinterpret_cast<HWND>(m.LParam);
        listAdapter_ = TvlComboListWnd::Create(listWnd_, Style() == csSimple, true, "EDIT",
                                               skinData_->SkinManager());
      }
      break;
    case WM_MOUSEMOVE:
      MouseMoveSkinned(m);
      return true;
    case CM_MOUSEENTER:
      if (Designing()) break;
      if (listShown_) {
        TCustomComboBox::WndProc(m);
        return true;
      }
      if (skinData_->Hot) return true;
      skinData_->Hot = true;
      if (TsSkinManager* mg = skinData_->SkinManager()) mg->SetHotWindow(Handle());
      {
        TRect r = ButtonRect();
        const TPoint o = ClientToScreen(TPoint(r.Left - 1, r.Top - 1));
        const RECT screen{o.X, o.Y, o.X + r.Width() + 2, o.Y + r.Height() + 2};
        const POINT p = CursorPos();
        buttonState_ = PtInRect(&screen, p) ? 1 : 0;
      }
      StartHoverFade(2 * buttonState_ + 1);
      return true;
    case CM_MOUSELEAVE: {
      if (Designing()) break;
      if (!skinData_->Hot) return true;
      if (listShown_) {
        TCustomComboBox::WndProc(m);
        return true;
      }
      RECT w{};
      GetWindowRect(Handle(), &w);
      if (PtInRect(&w, CursorPos())) return true;
      skinData_->Hot = false;
      buttonState_ = 0;
      StartHoverFade(0);
      return true;
    }
    case CN_COMMAND:
      if (HIWORD(m.WParam) == CBN_DROPDOWN) {
        listShown_ = true;
        buttonState_ = 2;
        StartHoverFade(2);
        TCustomComboBox::WndProc(m);
        return true;
      }
      if (HIWORD(m.WParam) == CBN_CLOSEUP) {
        CloseUpSkinned(m);
        return false;
      }
      break;
    case WM_PRINT: {
      skinData_->Updating = false;
      const HDC dc = reinterpret_cast<HDC>(m.WParam);
      PaintControl(dc);
      if (Style() == csDropDown && skinData_->Focused && dc && skinData_->CacheBitmap)
        BitBlt(dc, 0, 0, Width(), Height(), skinData_->CacheBitmap->Canvas()->Handle(), 0, 0,
               SRCCOPY);
      return true;
    }
    default:
      break;
  }
  CommonHandling(m);
  return false;
}

void TsCustomComboBox::WndProc(TMessage& m) {
  if ((readOnly_ || !stdDropDown_) &&
      ComboReadOnlySwallows(TComboMessageSite::Control, m.Msg, m.WParam))
    return;
  if (m.Msg == WM_MOUSEWHEEL && !allowMouseWheel_) return;
  // The list window dies with the combo's: its adapter must not outlive it,
  // nor block the list a new window brings.
  if (m.Msg == WM_DESTROY) ReleaseListAdapter();
  if (m.Msg == SkinCommandMessage) {
    HandleSkinCommand(m);
    return;
  }
  if (ControlIsReady(this) && Skinned()) {
    if (HandleSkinnedMessage(m)) return;
  } else {
    if (m.Msg == WM_NCCREATE || m.Msg == WM_CREATE) RegisterSkinData(skinData_);
    TCustomComboBox::WndProc(m);
    if (Destroying()) return;
    if (m.Msg == CM_FONTCHANGED && !HasState(csLoading) && HandleAllocated() &&
        !(skinData_->StateFlags & sfSkinFontColor)) {
      if (Visible()) SetItemHeight(GetItemHeight());
      Invalidate();
    }
    // A skin that arrived while the combo had no window is taken when it
    // is shown.
    if (m.Msg == CM_SHOWINGCHANGED && Showing()) HandleControlMessage(m, skinData_);
  }
  // Only what went the whole way reaches the caption label.
  if (boundLabel_ && !Destroying()) boundLabel_->HandleOwnerMessage(m, this);
}

void TsCustomComboBox::StartHoverFade(int Kind) {
  if (!HandleAllocated()) return;
  skinData_->BgChanged = false;
  skinData_->Hot = Kind != 0;
  TsSkinManager* m = skinData_->SkinManager();
  const bool animate = m && m->Effects()->AllowAnimation();
  const bool buttonLike = IsButtonStyle();
  if ((Kind == 1 || Kind == 3) && buttonLike)
    skinData_->ShowGlowEffect(Kind > 1, Handle(), animate ? 0 : 255, animate,
                              FindSectionIndex(m, "BUTTON"));
  if (Kind == 1 && !buttonLike) {
    const RECT text{2, 2, ButtonRect().Left - 2, Height() - 2};
    RedrawWindow(Handle(), &text, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOFRAME);
  }
  RepaintWithFade(skinData_, Kind, FadeStep, animate, Kind == 2 || Kind == 4,
                  !buttonLike && skinData_->GlowIndex < 0);
}
