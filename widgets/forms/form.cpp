// TCustomForm: loading from its description, showing, closing, focus.
#include <algorithm>

#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/flag_scope.h"
#include "widgets/rtl/form_reader.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/canvas_on_dc.h"
#include "widgets/menus/menus.h"

const TEnumInfo& TCustomForm::BorderStyleInfo() {
  static const TEnumInfo info{
      {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
  return info;
}

const TEnumInfo& TCustomForm::PositionInfo() {
  static const TEnumInfo info{{"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                               "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                               "poOwnerFormCenter"}};
  return info;
}

const TClassInfo& TCustomForm::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomForm> b("TCustomForm", &TScrollingWinControl::StaticClass());
    b.Bool(
        "AlphaBlend", [](const TCustomForm& f) { return f.AlphaBlend(); },
        [](TCustomForm& f, int v) { f.SetAlphaBlend(v != 0); }, false);
    b.Int(
        "AlphaBlendValue", [](const TCustomForm& f) { return f.AlphaBlendValue(); },
        [](TCustomForm& f, int v) { f.SetAlphaBlendValue(static_cast<uint8_t>(v)); }, 255);
    b.Enum(
        "BorderStyle", BorderStyleInfo(), [](const TCustomForm& f) { return f.BorderStyle(); },
        [](TCustomForm& f, int v) { f.SetBorderStyle(static_cast<TFormBorderStyle>(v)); },
        bsSizeable);
    b.Str(
        "Caption", [](const TCustomForm& f) { return const_cast<TCustomForm&>(f).Caption(); },
        [](TCustomForm& f, const std::string& v) { f.SetCaption(v); });
    b.Int(
        "ClientWidth",
        [](const TCustomForm& f) { return const_cast<TCustomForm&>(f).ClientWidth(); },
        [](TCustomForm& f, int v) { f.SetFormClientWidth(v); });
    b.Int(
        "ClientHeight",
        [](const TCustomForm& f) { return const_cast<TCustomForm&>(f).ClientHeight(); },
        [](TCustomForm& f, int v) { f.SetFormClientHeight(v); });
    b.Bool(
        "KeyPreview", [](const TCustomForm& f) { return f.KeyPreview(); },
        [](TCustomForm& f, int v) { f.SetKeyPreview(v != 0); }, false);
    b.Bool(
        "OldCreateOrder", [](const TCustomForm& f) { return f.OldCreateOrder(); },
        [](TCustomForm& f, int v) { f.SetOldCreateOrder(v != 0); }, false);
    b.Int(
        "PixelsPerInch", [](const TCustomForm& f) { return f.PixelsPerInch(); },
        [](TCustomForm& f, int v) { f.SetPixelsPerInch(v); });
    b.Obj(
        "Menu", TPropKind::Component, TMainMenu::StaticClass(),
        [](const TCustomForm& f) -> TObject* { return f.Menu(); },
        [](TCustomForm& f, TObject* v) { f.SetMenu(dynamic_cast<TMainMenu*>(v)); });
    b.Bool(
        "TransparentColor", [](const TCustomForm& f) { return f.TransparentColor(); },
        [](TCustomForm& f, int v) { f.SetTransparentColor(v != 0); }, false);
    b.Color(
        "TransparentColorValue", [](const TCustomForm& f) { return f.TransparentColorValue(); },
        [](TCustomForm& f, int v) { f.SetTransparentColorValue(v); }, clBlack);
    b.Enum(
        "Position", PositionInfo(), [](const TCustomForm& f) { return f.Position(); },
        [](TCustomForm& f, int v) { f.SetPosition(static_cast<TPosition>(v)); }, poDesigned);
    b.Event<&TCustomForm::OnCreate>("OnCreate");
    b.Event<&TCustomForm::OnShow>("OnShow");
    b.Event<&TCustomForm::OnHide>("OnHide");
    b.Event<&TCustomForm::OnDestroy>("OnDestroy");
    b.Event<&TCustomForm::OnActivate>("OnActivate");
    b.Event<&TCustomForm::OnDeactivate>("OnDeactivate");
    b.Event<&TCustomForm::OnPaint>("OnPaint");
    b.Event<&TCustomForm::OnClose>("OnClose");
    b.Event<&TCustomForm::OnCloseQuery>("OnCloseQuery");
    return b.Done();
  }();
  return info;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TForm> b("TForm", &TCustomForm::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  InitForm();
}

TCustomForm::TCustomForm(TComponent* AOwner, TCreateNew) : TScrollingWinControl(AOwner) {
  createNew_ = true;
  InitForm();
}

void TCustomForm::InitForm() {
  controlStyle_ =
      csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  InitVisible(false);
  InitColor(clBtnFace);
  InitParentFont(false);
  InitBounds(0, 0, 320, 240);
  pixelsPerInch_ = ScreenPixelsPerInch();
  // A form has no parent control: its ParentBiDiMode follows the application.
  if (Application) InitBiDiMode(Application->BiDiMode());
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (handle_) DestroyHandle();
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->mainForm_ == this) Application->mainForm_ = nullptr;
}

void TCustomForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  const TClassInfo& cls = ClassType();
  if (!createNew_ && &cls != &TForm::StaticClass() && &cls != &TCustomForm::StaticClass()) {
    TFlagScope creating(formState_, fsCreating);
    ReadFormResource(this);
  }
  if (!oldCreateOrder_ || createNew_) DoCreate();
  created_ = true;
}

void TCustomForm::BeforeDestruction() {
  SetState(csDestroying);
  if (Visible()) Hide();
  DoDestroy();
  TWinControl::BeforeDestruction();
  // Owned components go while the form is whole; they may touch it.
  DestroyComponents();
}

void TCustomForm::DoCreate() {
  RaiseGuarded(OnCreate, this);
}

void TCustomForm::DoDestroy() {
  RaiseGuarded(OnDestroy, this);
}

void TCustomForm::DoShow() {
  RaiseGuarded(OnShow, this);
}

void TCustomForm::DoHide() {
  RaiseGuarded(OnHide, this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC) {
  canvas_->FreeHandle();
  TCanvasOnDC on(*canvas_, DC);
  Paint();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (formState_ & fsModal) {
    modalResult_ = mrCancel;  // the modal loop closes it
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this)
    Application->Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release() {
  PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomForm::FrameStyles(DWORD& Style, DWORD& ExStyle) const {
  Style = 0;
  ExStyle = 0;
  switch (borderStyle_) {
    case bsNone:
      Style = WS_POPUP;
      break;
    case bsSingle:
      Style = WS_CAPTION | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case bsSizeable:
      Style = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case bsDialog:
      Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
      ExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      Style = WS_CAPTION | WS_BORDER | WS_SYSMENU;
      ExStyle = WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      Style = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
      ExStyle = WS_EX_TOOLWINDOW;
      break;
  }
}

void TCustomForm::CreateParams(TCreateParams& p) {
  bool topLevel = !parent_ && !ParentWindow();
  if (topLevel) {
    // A form has no parent control: the application window owns it.
    TWinControl::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_CHILD | WS_GROUP | WS_TABSTOP);
    p.WndParent = Application ? Application->Handle() : nullptr;
  } else {
    TWinControl::CreateParams(p);
  }
  p.WindowClass.style = CS_DBLCLKS;
  DWORD style, ex;
  FrameStyles(style, ex);
  if (topLevel) {
    p.Style |= style;
    p.ExStyle |= ex;
  }
  if (position_ == poDefault || position_ == poDefaultPosOnly) p.X = p.Y = CW_USEDEFAULT;
}

void TCustomForm::DestroyWnd() {
  DetachMenu();
  canvas_->FreeHandle();
  TWinControl::DestroyWnd();
}

// Without a window the client area is the frame's inside, as the window
// will have it.
TRect TCustomForm::GetClientRect() {
  if (handle_ || parent_) return TWinControl::GetClientRect();
  DWORD style, ex;
  FrameStyles(style, ex);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FALSE, ex);
  InflateRect(&r, BorderWidth(), BorderWidth());
  int frameW = static_cast<int>(r.right - r.left), frameH = static_cast<int>(r.bottom - r.top);
  return Rect(0, 0, std::max(0, width_ - frameW), std::max(0, height_ - frameH));
}

void TCustomForm::SetFormClientWidth(int v) {
  if (controlState_ & csReadingState)
    clientWidth_ = v;
  else
    SetClientWidth(v);
}

void TCustomForm::SetFormClientHeight(int v) {
  if (controlState_ & csReadingState)
    clientHeight_ = v;
  else
    SetClientHeight(v);
}

void TCustomForm::BeginReadState() {
  TWinControl::BeginReadState();
  controlState_ |= csReadingState;
}

void TCustomForm::EndReadState() {
  controlState_ &= ~csReadingState;
  TWinControl::EndReadState();
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  // The client size waits until the border style is known.
  if (clientWidth_ > 0 || clientHeight_ > 0) {
    int w = clientWidth_ > 0 ? clientWidth_ : ClientWidth();
    int h = clientHeight_ > 0 ? clientHeight_ : ClientHeight();
    clientWidth_ = clientHeight_ = 0;
    SetClientSize(w, h);
  }
  int screenPpi = ScreenPixelsPerInch();
  if (pixelsPerInch_ > 0 && pixelsPerInch_ != screenPpi) {
    ChangeScale(screenPpi, pixelsPerInch_);
    pixelsPerInch_ = screenPpi;
  }
}

TWindowState TCustomForm::WindowState() {
  if (handle_) {
    if (IsIconic(handle_)) return wsMinimized;
    if (IsZoomed(handle_)) return wsMaximized;
    return wsNormal;
  }
  return windowState_;
}

void TCustomForm::SetWindowState(TWindowState v) {
  windowState_ = v;
  if (handle_ && Showing())
    ShowWindow(handle_, v == wsMinimized   ? SW_MINIMIZE
                        : v == wsMaximized ? SW_SHOWMAXIMIZED
                                           : SW_RESTORE);
}

void TCustomForm::ShowingChanged() {
  if (!handle_) return;
  if (Showing()) {
    formState_ |= fsShowing;
    DoShow();
    formState_ &= ~fsShowing;
    if (position_ == poScreenCenter || position_ == poDesktopCenter ||
        position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
      int x = (GetSystemMetrics(SM_CXSCREEN) - width_) / 2;
      int y = (GetSystemMetrics(SM_CYSCREEN) - height_) / 2;
      SetBounds(std::max(0, x), std::max(0, y), width_, height_);
    }
    int cmd = windowState_ == wsMinimized   ? SW_SHOWMINIMIZED
              : windowState_ == wsMaximized ? SW_SHOWMAXIMIZED
                                            : SW_SHOWNORMAL;
    ShowWindow(handle_, cmd);
  } else {
    DoHide();
    ShowWindow(handle_, SW_HIDE);
  }
  if (Application) Application->FormVisibilityChanged();
}

void TCustomForm::Dispatch(TMessage& m) {
  if (menu_ && DispatchMenuMessage(menu_, m)) return;
  switch (m.Msg) {
    case CM_SHOWINGCHANGED:
      ShowingChanged();
      return;
    case CM_PARENTBIDIMODECHANGED:
      if (!Parent()) {
        if (ParentBiDiMode() && Application) {
          SetBiDiMode(Application->BiDiMode());
          SetParentBiDiMode(true);
        }
        return;
      }
      break;
    case CM_RELEASE:
      TObject::Free(this);
      return;
    case WM_SETTINGCHANGE:
      // The system tells top-level windows; code hooked on the form hears it as a CM_.
      DefaultHandler(m);
      Perform(CM_WININICHANGE, m.WParam, m.LParam);
      return;
    case WM_CLOSE:
      Close();
      return;
    case WM_SYSCOMMAND:
      if (Application && Application->RelaySysCommand(this, m)) return;
      break;
    case WM_ACTIVATE:
      SetActive(LOWORD(m.WParam) != WA_INACTIVE);
      return;
    case CM_ACTIVATE:
      Activate();
      return;
    case CM_DEACTIVATE:
      Deactivate();
      return;
    case WM_PAINT: {
      TFlagScope painting(controlState_, csCustomPaint);
      TWinControl::Dispatch(m);
      return;
    }
    case CM_DIALOGKEY:
      // Children first: Ctrl+Tab reaches a page control, Enter and Esc the
      // default and cancel buttons; then Tab and the arrows move the focus.
      Broadcast(m);
      if (m.Result != 0 || GetKeyState(VK_MENU) < 0) return;
      switch (m.WParam) {
        case VK_TAB:
          if (GetKeyState(VK_CONTROL) < 0) return;
          SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
          if (activeControl_ && activeControl_->Parent()) {
            activeControl_->Parent()->SelectNext(
                activeControl_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
            m.Result = 1;
          }
          return;
        default:
          return;
      }
    default:
      break;
  }
  TWinControl::Dispatch(m);
}
