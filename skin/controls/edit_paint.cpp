// The skinned edit's looks: the cache (face, frame, text, disabled look),
// the whole window copied from it, the frame alone around a focused edit,
// and printing into a caller's DC.
#include <windows.h>

#include <string>

#include "skin/controls/edit.h"
#include "skin/controls/section_params.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_text.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/vl_geometry.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

constexpr int kAllCorners =
    kCornerTopLeft | kCornerBottomLeft | kCornerTopRight | kCornerBottomRight;

// BeginPaint for a scope; nothing when not asked for.
class TPaintScope {
 public:
  TPaintScope(HWND Wnd, bool Validate) : wnd_(Validate ? Wnd : nullptr) {
    if (wnd_) BeginPaint(wnd_, &ps_);
  }
  ~TPaintScope() {
    if (wnd_) EndPaint(wnd_, &ps_);
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
};

HDC CacheDC(TsCommonData* d) {
  return d->CacheBitmap->Canvas()->Handle();
}

}  // namespace

bool TsEdit::PrepareCache() {
  BackgroundRequest request;
  if (Parent()) QueryControlBackground(request, Parent(), false);
  if (request.Kind == bgNotReady) return false;
  BackgroundInfo bg;
  if (Parent())
    BackgroundInfoFromRequest(request, bg);
  else
    skinData_->GetParentBgInfo(bg);
  skinData_->PrepareCacheBitmap();
  TBitmap* cache = skinData_->CacheBitmap;
  const int state = skinData_->CurrentState();
  const RECT whole{0, 0, Width(), Height()};
  const POINT at{Left(), Top()};
  if (BorderStyle() == bsSingle)
    PaintControlSection(SectionParams(skinData_), ToBackgroundView(bg), state, whole, at,
                        ArgbView(cache), true);
  else
    PaintControlBackground(SectionParams(skinData_), ToBackgroundView(bg), state, whole, at,
                           ArgbView(cache));
  PaintText();
  if (!Enabled())
    ApplyDisabledLook(cache, disabledKind_, GetControlBgColor(Parent()), bg, TPoint(Left(), Top()));
  skinData_->BgChanged = false;
  return true;
}

void TsEdit::PaintText() {
  TCanvas* canvas = skinData_->CacheBitmap->Canvas();
  canvas->Font()->Assign(Font());
  const bool rtl = UseRightToLeftReading();
  const TRect r = EditTextRect(Frame(), Width(), Height(), rtl);
  UINT format = DT_SINGLELINE | DT_NOPREFIX;
  if (rtl) format |= DT_RTLREADING | DT_RIGHT;
  std::string text = Text();
  if (text.empty()) return;
  // A password never reaches the cache.
  if (PasswordChar() != 0) text.assign(text.size(), PasswordChar());
  canvas->Brush()->SetStyle(bsClear);
  DrawControlText(canvas, text.c_str(), true, r, format, skinData_, skinData_->CurrentState());
}

void TsEdit::ExcludeChildControls(HDC DC) {
  const int d = EditChildOffset(Frame());
  for (int i = 0; i < ControlCount(); ++i) {
    const TRect b = Controls(i)->BoundsRect();
    ExcludeClipRect(DC, b.Left + d, b.Top + d, b.Right + d, b.Bottom + d);
  }
}

bool TsEdit::CacheReady() {
  TsCommonData* d = skinData_;
  if (Parent()) {
    d->BgChanged = d->BgChanged || d->CacheIncomplete ||
                   PerformSkinQuery(Parent(), SkinCmdIsCacheIncomplete) != 0;
    d->CacheIncomplete = !RectInRect(Parent()->ClientRect(), BoundsRect(), true);
  }
  if (!d->BgChanged || PrepareCache()) return true;
  // The parent's background comes later; its resume repaints.
  d->Updating = true;
  return false;
}

void TsEdit::PaintFromCache(HDC DC) {
  // Only a real paint may validate the window: a print leaves a pending
  // update where it is.
  TPaintScope paint(Handle(), !GlobalAnimationActive && DC == nullptr);
  if (skinData_->CheckUpdating(false)) return;
  TWindowDC own;
  if (!DC) {
    own = TWindowDC(Handle(), GetWindowDC(Handle()));
    DC = own.Get();
  }
  // The clip is the caller's: children are excluded on a saved state.
  TSavedDC saved(DC);
  if (!CacheReady()) return;
  RestoreTransparentCorners(skinData_, 0, kAllCorners);
  ExcludeChildControls(DC);
  BitBlt(DC, 0, 0, Width(), Height(), CacheDC(skinData_), 0, 0, SRCCOPY);
}

void TsEdit::PaintBorder() {
  if (skinData_->CheckUpdating(false)) return;
  TWindowDC dc(Handle(), GetWindowDC(Handle()));
  if (!dc) return;
  TSavedDC saved(dc.Get());
  if (skinData_->BgChanged && !PrepareCache()) {
    skinData_->Updating = true;
    return;
  }
  int w = EdgeWidth();
  if (w == 0) w = (BevelInner() != bvNone ? 1 : 0) + (BevelOuter() != bvNone ? 1 : 0);
  RestoreTransparentCorners(skinData_, 0, kAllCorners);
  BlitBorderFrame(dc.Get(), 0, 0, Width(), Height(), CacheDC(skinData_), 0, 0, w);
}

TsEdit::TRoute TsEdit::SkinnedPrint(TMessage& m) {
  auto* dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc) return TRoute::Done;
  skinData_->Updating = false;
  PrepareCache();
  RestoreTransparentCorners(skinData_, 0, kAllCorners);
  const int e = (BorderStyle() == bsSingle ? 1 : 0) * ((Ctl3D() ? 1 : 0) + 1);
  // The caller's origin and clip come back as they were.
  TSavedDC saved(dc);
  if (m.LParam & PRF_CLIENT) {
    POINT org{};
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.x + e, org.y + e, nullptr);
    IntersectClipRect(dc, 0, 0, skinData_->CacheBitmap->Width() - e,
                      skinData_->CacheBitmap->Height() - e);
  } else {
    BlitBorderFrame(dc, 0, 0, Width(), Height(), CacheDC(skinData_), 0, 0, e);
  }
  PaintFromCache(dc);
  return TRoute::Done;
}
