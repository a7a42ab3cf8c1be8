// The per-window sizes of the skinned scroll bars and the skin state that
// carries them.
#include "skin/engine/common_data.h"
#include "skin/engine/skin_message.h"
#include "widgets/controls/controls.h"

namespace {

// SWP_NOSIZE | NOMOVE | NOZORDER | FRAMECHANGED | NOCOPYBITS |
// NOOWNERZORDER | NOSENDCHANGING: the frame is measured again, nothing moves.
constexpr UINT kFrameChangedFlags = 0x727;

// The owner's window when its control is windowed, settled and has one.
HWND OwnerWindow(TsScrollWndData* Owner) {
  if (!Owner) return nullptr;
  auto* win = dynamic_cast<TWinControl*>(Owner->Control);
  if (!win || win->HasState(csLoading) || !win->HandleAllocated()) return nullptr;
  return win->Handle();
}

}  // namespace

const TClassInfo& TvlScrollData::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlScrollData> b("TvlScrollData", &TPersistent::StaticClass());
    b.Int(
        "ScrollWidth", [](const TvlScrollData& o) { return o.ScrollWidth(); },
        [](TvlScrollData& o, int v) { o.SetScrollWidth(v); }, -1);
    b.Int(
        "ButtonsSize", [](const TvlScrollData& o) { return o.ButtonsSize(); },
        [](TvlScrollData& o, int v) { o.SetButtonsSize(v); }, -1);
    return b.Done();
  }();
  return info;
}

const TClassInfo& TsScrollWndData::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsScrollWndData> b("TsScrollWndData", &TsCommonData::StaticClass());
    b.SubObject<&TsScrollWndData::Horz>("HorzScrollData");
    b.SubObject<&TsScrollWndData::Vert>("VertScrollData");
    return b.Done();
  }();
  return info;
}

void TvlScrollData::SetScrollWidth(int Value) {
  if (scrollWidth_ == Value) return;
  scrollWidth_ = Value;
  if (HWND h = OwnerWindow(owner_)) SetWindowPos(h, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
}

void TvlScrollData::SetButtonsSize(int Value) {
  if (buttonsSize_ == Value) return;
  buttonsSize_ = Value;
  if (HWND h = OwnerWindow(owner_)) DeliverMessage(h, WM_NCPAINT, 0, 0);
}

TsScrollWndData::TsScrollWndData(TPersistent* AOwner, bool CreateCacheBmp)
    : TsCommonData(AOwner, CreateCacheBmp) {
  VertScrollData = new TvlScrollData(this);
  HorzScrollData = new TvlScrollData(this);
}

TsScrollWndData::~TsScrollWndData() {
  TObject::Free(VertScrollData);
  VertScrollData = nullptr;
  TObject::Free(HorzScrollData);
  HorzScrollData = nullptr;
}
