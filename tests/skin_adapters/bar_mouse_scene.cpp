#include "bar_mouse_scene.h"

#include "widgets/rtl/object_model.h"

TBarWindow::TBarWindow(HWND Parent, TsSkinManager* Manager, int X, int Y,
                       const TvlAdapterClass* Class)
    : Recorder(Parent, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_BORDER, 166, 141) {
  SetWindowPos(Recorder.Handle(), nullptr, X, Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Recorder.OnMessage = [this](const TRecordedMessage& m) {
    if (m.Msg != WM_VSCROLL && m.Msg != WM_HSCROLL) return;
    const TScrollSeen s{m.Msg, LOWORD(m.WParam), HIWORD(m.WParam), m.LParam, GetTickCount()};
    seen_.push_back(s);
    if (OnScroll) OnScroll(s);
  };
  // A bare scroll-window adapter skins with a section: the edit's, as an
  // edit-like control gives it.
  TvlSkinParams params;
  params.SectionName = "EDIT";
  Adapter =
      static_cast<TvlScrollWnd*>(CreateAdapter(Class ? Class : &TvlScrollWnd::AdapterClass(),
                                               Recorder.Handle(), nullptr, Manager, params, true));
  for (int bar : {SB_HORZ, SB_VERT}) SetBar(bar, 0, 99, 10, 50);
  real_input::PumpPending();
}

TBarWindow::~TBarWindow() {
  ReleaseScrollWndAdapter(Recorder.Handle(), true, false, Adapter);
}

void TBarWindow::SetBar(int Bar, int Min, int Max, UINT Page, int Pos) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  si.nMin = Min;
  si.nMax = Max;
  si.nPage = Page;
  si.nPos = Pos;
  SetScrollInfo(Handle(), Bar, &si, FALSE);
  if (Adapter && !Adapter->Released) Adapter->UpdateScrollInfo(true);
}

int TBarWindow::Position(int Bar) const {
  return GetScrollPos(Handle(), Bar);
}

RECT TBarWindow::BarRect(int Bar) const {
  RECT r{};
  ::BarRect(Adapter, Bar, Handle(), r);
  return r;
}

int TBarWindow::ArrowLength(int Bar) const {
  return ScrollBarSize(Adapter->Bar(Bar), false);
}

POINT TBarWindow::ArrowPoint(int Bar, bool Second) const {
  const RECT r = BarRect(Bar);
  const int half = ArrowLength(Bar) / 2;
  if (Bar == SB_VERT) return {(r.left + r.right) / 2, Second ? r.bottom - 1 - half : r.top + half};
  return {Second ? r.right - 1 - half : r.left + half, (r.top + r.bottom) / 2};
}

void TBarWindow::Thumb(int Bar, int& Len, int& Pos) const {
  Adapter->UpdateScrollInfo(false);
  ThumbGeometry(Adapter->Bar(Bar), BarRect(Bar), Len, Pos);
}

POINT TBarWindow::ThumbPoint(int Bar) const {
  int len = 0, pos = 0;
  Thumb(Bar, len, pos);
  const RECT r = BarRect(Bar);
  if (Bar == SB_VERT) return {(r.left + r.right) / 2, pos + len / 2};
  return {pos + len / 2, (r.top + r.bottom) / 2};
}

POINT TBarWindow::AlongBar(int Bar, double Fraction) const {
  const RECT r = BarRect(Bar);
  if (Bar == SB_VERT) return {(r.left + r.right) / 2, r.top + int((r.bottom - r.top) * Fraction)};
  return {r.left + int((r.right - r.left) * Fraction), (r.top + r.bottom) / 2};
}

std::vector<TScrollSeen> TBarWindow::Scrolls(int Bar, int Code) const {
  const UINT msg = Bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  std::vector<TScrollSeen> out;
  for (const TScrollSeen& s : seen_)
    if (s.Msg == msg && (Code < 0 || s.Code == Code)) out.push_back(s);
  return out;
}

TBarMouseScene::TBarMouseScene() {
  real_input::ResetInput();
  Manager = test_skin::StartSkinManager(nullptr, Skin);
  Host = CreateHostWindow(420, 360);
  real_input::BringToFront(Host.Get());
  real_input::PumpPending();
}

TBarMouseScene::~TBarMouseScene() {
  real_input::ResetInput();
  Host.Reset();
  real_input::PumpPending();
  TObject::Free(Manager);
}

std::unique_ptr<TBarWindow> TBarMouseScene::AddWindow(int X, int Y, const TvlAdapterClass* Class) {
  auto w = std::make_unique<TBarWindow>(Host.Get(), Manager, X, Y, Class);
  real_input::PumpPending();
  UpdateWindow(w->Handle());
  return w;
}
