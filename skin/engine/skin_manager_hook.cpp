// The default manager's hook of the application window, the live-preview
// link of the skin editor, and the hover tracking of skinned windows.
#include <cstring>

#include "skin/engine/common_data.h"
#include "skin/engine/main_form_hook.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_loading.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/string_lists.h"

bool LivePreviewCopyBusy = false;

namespace {

constexpr WPARAM LivePreviewCopyKind = 7;
constexpr UINT PopupMenuPaintedMessage = 0xBCB3;
constexpr UINT PopupMenuWindowMessage = 0xBCB4;
// The task bar asks the application window for its system menu.
constexpr UINT TaskbarSysMenuMessage = 0x313;

bool IsPopupMenuWindow(HWND Wnd) {
  char name[16] = {};
  return Wnd && GetClassNameA(Wnd, name, sizeof name) > 0 && std::strcmp(name, "#32768") == 0;
}

}  // namespace

std::string LivePreviewField(const char* Field, size_t Size) {
  return std::string(Field, strnlen(Field, Size));
}

bool TsSkinManager::HookCopyData(TMessage& Message) {
  if (Message.Result != 0 || LivePreviewCopyBusy) return false;
  LivePreviewCopyBusy = true;
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
  if (cds && Message.WParam == LivePreviewCopyKind && cds->lpData &&
      cds->cbData >= sizeof(LivePreviewRecord) &&
      *static_cast<const int32_t*>(cds->lpData) == LivePreviewMarker) {
    std::memcpy(&LivePreview, cds->lpData, sizeof(LivePreviewRecord));
    PostMessageA(Application->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdApplyLivePreview),
                 0);
  }
  LivePreviewCopyBusy = false;
  return true;
}

bool TsSkinManager::MainWindowHook(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COPYDATA:
      return HookCopyData(Message);
    case SkinCommandMessage:
      if (SkinCmdCode(Message.WParam) == SkinCmdApplyLivePreview) ApplyLivePreview();
      return false;
    case WM_WINDOWPOSCHANGED:
      return HookExitAnimation(this, Message);
    case WM_SYSCOMMAND:
      if (!active_ || !CommonSkinData->Loaded) return false;
      switch (Message.WParam & 0xFFF0) {
        case SC_MINIMIZE:
          LastSysCommand = 2;
          return HookMinimize(this);
        case SC_RESTORE:
          LastSysCommand = 1;
          return HookRestore(this);
        default:
          LastSysCommand = 0;
          return false;
      }
    case TaskbarSysMenuMessage:
      return HookTaskbarSysMenu();
    case WM_THEMECHANGED:
      return true;
    case WM_DWMSENDICONICTHUMBNAIL:
    case WM_DWMSENDICONICLIVEPREVIEWBITMAP:
      return HookIconicRequest(Message);
    case CM_ACTIVATE:
      for (int i = Screen->FormCount() - 1; i >= 0; --i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->HandleAllocated()) SendSkinCommand(form->Handle(), SkinCmdInvalidate, 0);
      }
      return false;
    case PopupMenuPaintedMessage:
      if (!skinnedPopups_) return false;
      if (auto* item = reinterpret_cast<TMenuItem*>(Message.LParam))
        if (HWND wnd = TsSkinableMenus::PopupWindowOfItem(item))
          if (TBitmap* bg = Menus->GetMenuBg(item, wnd)) Menus->SetPopupShape(wnd, bg);
      return true;
    case PopupMenuWindowMessage:
      if (!skinnedPopups_) return false;
      if (HWND wnd = reinterpret_cast<HWND>(Message.LParam); IsPopupMenuWindow(wnd))
        if (TBitmap* bg = Menus->GetMenuBg(nullptr, wnd)) Menus->SetPopupShape(wnd, bg);
      return true;
    default:
      return false;
  }
}

void TsSkinManager::ApplyLivePreview() {
  if (LivePreview.Marker != LivePreviewMarker) return;
  LivePreviewMode = true;
  BeginUpdate();
  TStringList lines;
  lines.SetText(LivePreviewField(LivePreview.Description, sizeof LivePreview.Description));
  LivePreviewDescription = &lines;
  try {
    SetSkinDirectory(LivePreviewField(LivePreview.SkinDirectory, sizeof LivePreview.SkinDirectory));
    SetSkinName(LivePreviewField(LivePreview.SkinName, sizeof LivePreview.SkinName));
    EndUpdate(true, false);
  } catch (...) {
    LivePreviewDescription = nullptr;
    UpdateLock = false;
    throw;
  }
  LivePreviewDescription = nullptr;
}

// ---- Hover tracking ----------------------------------------------------------------

void TsSkinManager::SetHotWindow(HWND Wnd) {
  if (Wnd == HotWindow) return;
  if (HotWindow && HotControl) {
    SetHotControl(nullptr);
    if (HotControl) return;
  }
  const LPARAM self = reinterpret_cast<LPARAM>(this);
  if (HotWindow) SendSkinCommand(HotWindow, SkinCmdMouseLeave, self);
  HotWindow = Wnd;
  if (Wnd) SendSkinCommand(Wnd, SkinCmdMouseEnter, self);
}

void TsSkinManager::SetHotControl(TWinControl* Control) {
  if (Control == HotControl) return;
  if (!Control && HotControl) {
    auto* data =
        reinterpret_cast<TsCommonData*>(PerformSkinCommand(HotControl, SkinCmdGetSkinData, 0));
    if (data && data->Hot) return;
  }
  if (HotControl) PerformSkinCommand(HotControl, SkinCmdMouseLeave, reinterpret_cast<LPARAM>(this));
  HotControl = Control;
}

void TsSkinManager::HotTrackTimer(TObject*) {
  if (!HotWindow) return;
  RECT r{};
  POINT p{};
  if (GetWindowRect(HotWindow, &r) && GetCursorPos(&p) && PtInRect(&r, p)) return;
  SetHotWindow(nullptr);
  // The manager goes with the command, as with every other mouse-leave, so
  // receivers that check whose command it is act on it.
  if (HotControl) PerformSkinCommand(HotControl, SkinCmdMouseLeave, reinterpret_cast<LPARAM>(this));
}
