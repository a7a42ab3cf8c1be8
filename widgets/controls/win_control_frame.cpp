// TWinControl: the border band between the window's frame and its client
// area (BorderWidth), and the frame settings Ctl3D and BevelWidth.
#include <algorithm>

#include "widgets/controls/controls.h"
#include "widgets/graphics/gdi_handles.h"

void TWinControl::SetBorderWidth(int v) {
  v = std::max(0, v);
  if (v == borderWidth_) return;
  borderWidth_ = v;
  // The frame is asked again for its size (WM_NCCALCSIZE): the client
  // area follows at once, without a new window.
  if (handle_)
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Realign();
}

void TWinControl::SetCtl3D(bool v) {
  if (v == ctl3D_) return;
  ctl3D_ = v;
  Perform(CM_CTL3DCHANGED);
  Invalidate();
}

void TWinControl::SetBevelWidth(int v) {
  v = std::max(1, v);
  if (v == bevelWidth_) return;
  bevelWidth_ = v;
  Invalidate();
}

// The platform sizes its own frame first; the band comes off what it left
// for the client, never past an empty rectangle.
void TWinControl::NonClientSize(TMessage& m) {
  DefaultHandler(m);
  if (borderWidth_ <= 0 || !m.LParam) return;
  RECT& r = m.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                     : *reinterpret_cast<RECT*>(m.LParam);
  r.left += borderWidth_;
  r.top += borderWidth_;
  r.right = std::max(r.left, r.right - borderWidth_);
  r.bottom = std::max(r.top, r.bottom - borderWidth_);
}

// The platform paints only its own frame: the band takes the control's
// brush, as the client background does.
void TWinControl::PaintBorderBand() {
  if (borderWidth_ <= 0 || !handle_) return;
  RECT window{}, client{};
  GetWindowRect(handle_, &window);
  ::GetClientRect(handle_, &client);
  MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  RECT band = client;
  InflateRect(&band, borderWidth_, borderWidth_);
  TWindowDC dc(handle_, GetWindowDC(handle_));
  if (!dc.Get()) return;
  ExcludeClipRect(dc.Get(), client.left, client.top, client.right, client.bottom);
  FillRect(dc.Get(), &band, brush_->Handle());
}
