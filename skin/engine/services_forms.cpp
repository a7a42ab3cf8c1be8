#include "skin/engine/services_forms.h"

#include "skin/engine/common_data.h"
#include "skin/engine/layered_windows.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/glow_form.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"

namespace {

// dwmapi.dll, loaded on first use and kept for the life of the process;
// nil where the system has none.
HMODULE DwmModule() {
  static TOwnedModule dwm(LoadLibraryA("dwmapi.dll"));
  return dwm.Get();
}

template <typename Fn>
Fn BoundDwmCall(const char* Name) {
  HMODULE dwm = DwmModule();
  return dwm ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dwm, Name))) : nullptr;
}

// What the stand-ins compose as a non-client image: the window's size, its
// colour inside a raised edge, opaque.
bool ComposePlainFrame(HWND Wnd, TColor Color, TBitmap*& Cache) {
  if (!Wnd || !IsWindow(Wnd)) return false;
  RECT r{};
  GetWindowRect(Wnd, &r);
  if (!Cache) Cache = NewArgbBitmap(0, 0);
  Cache->SetWidth(r.right - r.left);
  Cache->SetHeight(r.bottom - r.top);
  HDC dc = Cache->Canvas()->Handle();
  RECT all{0, 0, r.right - r.left, r.bottom - r.top};
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  FillRect(dc, &all, brush.Get());
  DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
  SetOpaque(Cache);
  return true;
}

void PrintWindowAt(HWND Child, HDC DC, const POINT& At) {
  TSavedDC saved(DC);
  RECT r{};
  GetWindowRect(Child, &r);
  OffsetViewportOrgEx(DC, At.x, At.y, nullptr);
  IntersectClipRect(DC, 0, 0, r.right - r.left, r.bottom - r.top);
  SendSkinCommand(Child, SkinCmdSetPrintDC, reinterpret_cast<LPARAM>(DC));
  SendMessageA(Child, WM_PRINT, reinterpret_cast<WPARAM>(DC),
               PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
  SendSkinCommand(Child, SkinCmdSetPrintDC, 0);
}

bool (*dwmCompositionQuery)() = nullptr;

TDwmIconicCalls& IconicCalls() {
  static TDwmIconicCalls calls;
  return calls;
}

bool PlatformDwmCompositionEnabled() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&vi) || vi.dwMajorVersion < 6) return false;
#pragma GCC diagnostic pop
  using TFn = HRESULT(WINAPI*)(BOOL*);
  static const TFn fn = BoundDwmCall<TFn>("DwmIsCompositionEnabled");
  BOOL on = FALSE;
  return fn && SUCCEEDED(fn(&on)) && on;
}

}  // namespace

bool DwmCompositionEnabled() {
  return dwmCompositionQuery ? dwmCompositionQuery() : PlatformDwmCompositionEnabled();
}

void SetDwmCompositionQuery(bool (*Query)()) {
  dwmCompositionQuery = Query;
}

void SetDwmIconicCalls(const TDwmIconicCalls& Calls) {
  IconicCalls() = Calls;
}

HRESULT CallDwmSetWindowAttribute(HWND Wnd, DWORD Attribute, LPCVOID Value, DWORD Size) {
  using TFn = decltype(TDwmIconicCalls::SetWindowAttribute);
  static const TFn platform = BoundDwmCall<TFn>("DwmSetWindowAttribute");
  const TFn fn = IconicCalls().SetWindowAttribute ? IconicCalls().SetWindowAttribute : platform;
  return fn ? fn(Wnd, Attribute, Value, Size) : E_NOTIMPL;
}

void InvalidateIconicBitmaps(HWND Wnd) {
  using TFn = decltype(TDwmIconicCalls::InvalidateIconicBitmaps);
  static const TFn platform = BoundDwmCall<TFn>("DwmInvalidateIconicBitmaps");
  const TFn fn =
      IconicCalls().InvalidateIconicBitmaps ? IconicCalls().InvalidateIconicBitmaps : platform;
  if (fn) fn(Wnd);
}

bool UseIconicPreviews = false;

bool SetFormIconicThumbnail(HWND, TsSkinProvider*, int, int) {
  return false;
}

bool SetFormLivePreview(HWND, TsSkinProvider*) {
  return false;
}

const TClassInfo& TsSkinProvider::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TsSkinProvider>("TsSkinProvider", &TComponent::StaticClass()).Done();
  return info;
}

TsSkinProvider::TsSkinProvider(TComponent* AOwner) : TComponent(AOwner) {
  SkinData = new TsScrollWndData(this, false);
  Form = dynamic_cast<TCustomForm*>(AOwner);
  if (!Form) return;
  formWndProc_ = Form->WindowProc;
  Form->WindowProc = TWndMethod::Of<&TsSkinProvider::FormWndProc>(this);
  RegisterSkinnedForm(Form);
  AttachSkinData();
}

void TsSkinProvider::AttachSkinData() {
  // The form's skin state lives on the form's window, so the walks over the
  // application's forms see the form as skinned and leave it to the
  // registry's walk.
  if (!Form->HandleAllocated()) return;
  SkinData->WndHandle = Form->Handle();
  RegisterSkinData(SkinData);
}

TsSkinProvider::~TsSkinProvider() {
  if (Form) {
    UnregisterSkinnedForm(Form);
    // Given back only when nobody hooked the form after us; a later hook
    // keeps calling through ours, so it must outlive us anyway.
    if (Form->WindowProc == TWndMethod::Of<&TsSkinProvider::FormWndProc>(this))
      Form->WindowProc = formWndProc_;
  }
  TObject::Free(FormImage);
  FormImage = nullptr;
  TObject::Free(SnapshotForm);
  SnapshotForm = nullptr;
  TObject::Free(MinimizeSnapshot);
  MinimizeSnapshot = nullptr;
  TObject::Free(SkinData);
  SkinData = nullptr;
}

void TsSkinProvider::FormWndProc(TMessage& Message) {
  if (Message.Msg == SkinCommandMessage && SkinCmdCode(Message.WParam) == SkinCmdGetProvider) {
    Message.Result = reinterpret_cast<LRESULT>(this);
    return;
  }
  if (Message.Msg == WM_NCCREATE || Message.Msg == WM_CREATE) AttachSkinData();
  if (Message.Msg == WM_NCDESTROY) {
    UnregisterSkinData(SkinData);
    SkinData->WndHandle = nullptr;
  }
  if (formWndProc_) formWndProc_(Message);
}

void TsSkinProvider::SetStateFlags(uint32_t NewFlags) {
  const uint32_t old = stateFlags_;
  stateFlags_ = NewFlags;
  if (!Form) return;
  // One DisableAlign per bit that goes on, one EnableAlign per bit that goes
  // off, so the two always pair up.
  for (uint32_t bit : {psMinimizing, psRestoring}) {
    if (!(old & bit) && (NewFlags & bit))
      Form->DisableAlign();
    else if ((old & bit) && !(NewFlags & bit))
      Form->EnableAlign();
  }
}

LRESULT TsSkinProvider::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  if (ProviderWndProc) ProviderWndProc(m);
  return m.Result;
}

void TsSkinProvider::ShowSysMenu(int X, int Y) {
  if (!Form || !Form->HandleAllocated() || !Screen || Screen->ActiveForm() != Form) return;
  HWND h = Form->Handle();
  const int command =
      TrackPopupMenu(GetSystemMenu(h, FALSE), TPM_RETURNCMD | TPM_RIGHTBUTTON, X, Y, 0, h, nullptr);
  if (command) PostMessageA(h, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
}

void TsSkinProvider::DropCache() {
  TObject::Free(SkinData->CacheBitmap);
  SkinData->CacheBitmap = nullptr;
  SkinData->BgChanged = true;
  NonClientImageFresh = false;
}

bool TsSkinProvider::PaintNonClientImage() {
  if (!Form || !Form->HandleAllocated()) return false;
  return ComposePlainFrame(Form->Handle(), Form->Color(), SkinData->CacheBitmap);
}

// ---- The dialog adapter ------------------------------------------------------------

TvlDialogWnd::TvlDialogWnd(HWND Wnd) : Handle(Wnd), SkinData(new TsCommonData(nullptr, true)) {}

TvlDialogWnd::~TvlDialogWnd() {
  TObject::Free(SnapshotForm);
  TObject::Free(SkinData);
}

bool TvlDialogWnd::PaintNonClientImage() {
  return ComposePlainFrame(Handle, clBtnFace, SkinData->CacheBitmap);
}

int TvlDialogWnd::CaptionHeight() const {
  const LONG_PTR style = GetWindowLongPtrA(Handle, GWL_STYLE);
  if ((style & WS_CAPTION) != WS_CAPTION && !IsIconic(Handle)) return 0;
  const bool tool = (GetWindowLongPtrA(Handle, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
  return GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int TvlDialogWnd::ClientOffsetX() const {
  RECT r{};
  GetWindowRect(Handle, &r);
  POINT p{0, 0};
  ClientToScreen(Handle, &p);
  return p.x - r.left;
}

int TvlDialogWnd::ClientOffsetY() const {
  RECT r{};
  GetWindowRect(Handle, &r);
  POINT p{0, 0};
  ClientToScreen(Handle, &p);
  return p.y - r.top;
}

LRESULT TvlDialogWnd::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  return SendMessageA(Handle, Msg, WParam, LParam);
}

// ---- Snapshots and printing --------------------------------------------------------

TvlGlowForm* MakeWindowSnapshot(HWND Wnd) {
  RECT r{};
  if (!Wnd || !GetWindowRect(Wnd, &r)) return nullptr;
  const int w = r.right - r.left, h = r.bottom - r.top;
  auto form = OwnObject(New<TvlGlowForm>(nullptr));
  form->SetBounds(r.left, r.top, w, h);
  auto image = OwnObject(NewArgbBitmap(w, h));
  PrintWindow(Wnd, image->Canvas()->Handle(), 0);
  SetOpaque(image.get());
  HWND s = form->Handle();
  SetWindowLongPtrA(s, GWL_EXSTYLE, GetWindowLongPtrA(s, GWL_EXSTYLE) | WS_EX_LAYERED);
  {
    TWindowDC screen(nullptr);
    UpdateLayered(s, screen.Get(), nullptr, image.get(), 255);
  }
  SetWindowPos(s, HWND_TOPMOST, r.left, r.top, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return form.release();
}

void PrintChildWindows(TsSkinProvider* Provider, HWND Wnd, HDC DC) {
  HWND top = Wnd ? GetTopWindow(Wnd) : nullptr;
  // Bottom first, so the windows above paint over it.
  for (HWND c = top ? GetWindow(top, GW_HWNDLAST) : nullptr; c; c = GetWindow(c, GW_HWNDPREV)) {
    // Its own flag: the dialog itself is still hidden while it is printed.
    if (!(GetWindowLongPtrA(c, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r{};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, Wnd, reinterpret_cast<POINT*>(&r), 2);
    PrintWindowAt(c, DC, POINT{r.left, r.top});
    POINT client{0, 0};
    MapWindowPoints(c, Wnd, &client, 1);
    TSavedDC saved(DC);
    OffsetViewportOrgEx(DC, client.x, client.y, nullptr);
    PrintChildWindows(Provider, c, DC);
  }
}

int ShowMessageBox(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int) {
  MSGBOXPARAMSA p{};
  p.cbSize = sizeof p;
  p.hwndOwner = GetActiveWindow();
  p.lpszText = Msg.c_str();
  const char* caption = "";
  switch (DlgType) {
    case mtWarning:
      caption = "Warning";
      p.dwStyle = MB_ICONWARNING;
      break;
    case mtError:
      caption = "Error";
      p.dwStyle = MB_ICONERROR;
      break;
    case mtInformation:
      caption = "Information";
      p.dwStyle = MB_ICONINFORMATION;
      break;
    case mtConfirmation:
      caption = "Confirm";
      p.dwStyle = MB_ICONQUESTION;
      break;
    case mtCustom:
      break;
  }
  const std::string title = DlgType == mtCustom ? MessageBoxTitle() : caption;
  p.lpszCaption = title.c_str();
  p.dwStyle |= (Buttons & MsgDlgButtons({mbCancel})) ? MB_OKCANCEL : MB_OK;
  TMessageBoxRequest r;
  r.Kind = TMessageBoxKind::MessageBoxIndirect;
  r.Owner = p.hwndOwner;
  r.Caption = title;
  r.Text = Msg;
  r.Style = p.dwStyle;
  r.Indirect = &p;
  return MessageBoxSink().Show(r);
}

std::unique_ptr<TvlProviderList> DialogAdapterList;

LRESULT CALLBACK DialogHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  // The next hook is called first; the handle argument is ignored on the NT
  // family, the only one this hook is installed on.
  // Skinning the created and activated windows comes with the form
  // skinning; until then nothing here can throw.
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

void ReleaseMenuWindows() {
  // The dialog hook makes no popup-menu adapters yet, so there is nothing
  // to free.
}

std::string GetWindowTextWide(HWND Wnd) {
  if (!Wnd || !IsWindow(Wnd)) return {};
  if (!IsWindowUnicode(Wnd)) {
    const int len = GetWindowTextLengthA(Wnd);
    std::string text(static_cast<size_t>(len) + 1, '\0');
    const int got = GetWindowTextA(Wnd, text.data(), len + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
  }
  const int len = GetWindowTextLengthW(Wnd);
  std::wstring wide(static_cast<size_t>(len) + 1, L'\0');
  const int got = GetWindowTextW(Wnd, wide.data(), len + 1);
  if (got <= 0) return {};
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), got, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), got, text.data(), bytes, nullptr, nullptr);
  return text;
}
