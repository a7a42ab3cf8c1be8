// The cache of a bordered adapter: its skin section over the parent's
// background, the see-through corners of its border image, the text of a
// disabled edit and the disabled look.
#include <string>

#include "skin/adapters/adapter_base.h"
#include "skin/adapters/adapter_routines.h"
#include "skin/controls/section_params.h"
#include "skin/engine/common_data.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/control_text.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/prop_access.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/background_view.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/section_paint.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/canvas.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

constexpr size_t kBorderColorEntry = 27;

// Where a child's top-left lies on its parent's background picture: in a
// right-to-left application, a parent laid out right to left has its
// picture mirrored.
bool MirroredOffset(HWND Parent, const BackgroundInfo& Bg, TsSkinManager* Manager, POINT& At) {
  if (!Application || Application->BiDiMode() != bdRightToLeft) return false;
  if (!Bg.HasBitmap || !Bg.Bitmap) return false;
  HDC dc = GetDC(Parent);
  const bool rtl = (CallGetLayout(dc) & LAYOUT_RTL) != 0;
  ReleaseDC(Parent, dc);
  if (!rtl) return false;
  At.x = Bg.Bitmap->Width() - At.x;
  if (Manager && Manager->ExtendedBorders()) At.x -= 2 * Bg.OffsetX;
  return true;
}

// The text of a disabled edit, inset by its frame, as the platform would
// show it; a password shows only its character.
void PaintDisabledEditText(TsCommonData* SkinData, TCustomEdit* Edit, int Width, int Height) {
  const int bevel = Edit->BevelSize() * Edit->BevelWidth();
  const bool border = Edit->BorderStyle() == bsSingle;
  const int inset = Edit->BorderWidth() + bevel + (border ? 1 : 0);
  RECT r{inset, inset, Width - inset, Height - inset};
  if (border) {
    // A single-line border leaves one more pixel but at the bottom.
    ++r.left;
    ++r.top;
    --r.right;
  }
  std::string text = Edit->Text();
  if (Edit->PasswordChar() != 0) text.assign(text.size(), Edit->PasswordChar());
  if (text.empty()) return;
  UINT format = DT_SINGLELINE | DT_NOPREFIX;
  if (Edit->UseRightToLeftReading()) {
    format |= DT_RIGHT | DT_RTLREADING;
    --r.right;
  }
  TCanvas* canvas = SkinData->CacheBitmap->Canvas();
  canvas->Font()->Assign(Edit->Font());
  canvas->Brush()->SetStyle(bsClear);
  DrawControlText(canvas, text.c_str(), false, r, format, SkinData, SkinData->CurrentState());
}

TsDisabledKind DisabledKindOf(TControl* Control) {
  if (!Control || GetOrdPropByName(Control, "DisabledKind") < 0) return dkBlended;
  TsDisabledKind kind = 0;
  if (SetPropHasMember(Control, "DisabledKind", "dkBlended")) kind |= dkBlended;
  if (SetPropHasMember(Control, "DisabledKind", "dkGrayed")) kind |= dkGrayed;
  return kind;
}

}  // namespace

bool HotBorderAllowed(TsCommonData* SkinData, bool CheckKind) {
  if (!SkinData) return false;
  TsSkinManager* manager = SkinData->SkinManager();
  if (!manager || SkinData->SkinIndex < 0 || SkinData->BorderIndex < 0) return false;
  if (CheckKind && EditKinds.Contains(SkinData->ControlKind) && !EditHoverOption) return false;
  if (CheckKind && manager->Options() && manager->Options()->NoMouseHover()) return false;
  if (!SectionIndexValid(manager, SkinData->SkinIndex)) return false;
  const TsGeneralData& section = manager->Sections[static_cast<size_t>(SkinData->SkinIndex)];
  int frames = 0;
  if (MaskIndexValid(*manager, SkinData->BorderIndex))
    frames = manager->Masks[static_cast<size_t>(SkinData->BorderIndex)].FrameCount;
  return frames > 1 || section.StateCount > 1;
}

void PaintBorderCache(TsCommonData* SkinData, HWND Wnd, bool DialogMode) {
  if (!SkinData || !SkinData->BgChanged || !Wnd) return;
  RECT wr{};
  GetWindowRect(Wnd, &wr);
  const int width = wr.right - wr.left;
  const int height = wr.bottom - wr.top;

  // Asked before the cache is touched: a parent that is not ready yet
  // leaves the old cache as it was.
  HWND parent = GetParent(Wnd);
  BackgroundInfo bg{};
  if (parent) {
    BackgroundRequest request;
    QueryWindowBackground(request, parent, false);
    if (request.Kind == bgNotReady) {
      SkinData->Updating = true;
      return;
    }
    request.Borders = TRect();
    BackgroundInfoFromRequest(request, bg);
  }
  SkinData->PrepareCacheBitmap();
  TBitmap* cache = SkinData->CacheBitmap;
  cache->SetSize(width, height);

  TsSkinManager* manager = SkinData->SkinManager();
  const TColor borderColor =
      DefaultManager ? DefaultManager->SkinPalette[kBorderColorEntry] : clFuchsia;
  TControl* control = SkinData->Control;
  if (DialogMode && DefaultManager && borderColor != clFuchsia) {
    HDC dc = cache->Canvas()->Handle();
    const RECT whole{0, 0, width, height};
    TOwnedBrush face(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
    FillRect(dc, &whole, face.Get());
    TOwnedBrush frame(CreateSolidBrush(ColorToRGB(borderColor)));
    FrameRect(dc, &whole, frame.Get());
  } else if (parent) {
    POINT at{wr.left, wr.top};
    if (ScreenToClient(parent, &at)) {
      MirroredOffset(parent, bg, manager, at);
      if (manager && SectionIndexValid(manager, SkinData->SkinIndex)) {
        int state = 0;
        if (SkinData->Focused || (SkinData->Hot && HotBorderAllowed(SkinData, true))) state = 1;
        PaintControlSection(SectionParams(SkinData), ToBackgroundView(bg), state,
                            RECT{0, 0, width, height}, at, ArgbView(cache), true);
      }
    }
  }
  const bool disabled = !IsWindowEnabled(Wnd) || (control && !control->Enabled());
  if (auto* edit = dynamic_cast<TCustomEdit*>(control); edit && disabled)
    PaintDisabledEditText(SkinData, edit, width, height);
  if (control && !control->Enabled()) {
    TColor parentColor = clFuchsia;
    if (control->Parent()) parentColor = control->Parent()->Color();
    ApplyDisabledLook(cache, DisabledKindOf(control), parentColor, bg,
                      TPoint(control->Left(), control->Top()));
  }
  SkinData->BgChanged = false;
}

void FillBorderCorners(TsCommonData* SkinData, int State, TvlMainWnd* Adapter) {
  if (!SkinData || !Adapter || Adapter->DialogMode || !SkinData->CacheBitmap) return;
  TsSkinManager* manager = SkinData->SkinManager();
  if (!manager || !MaskIndexValid(*manager, SkinData->BorderIndex)) return;
  if (Adapter->WindowSize.cx <= 1 || Adapter->WindowSize.cy <= 1) return;
  const PixelView cache = ArgbView(SkinData->CacheBitmap);
  if (!cache.Valid()) return;
  BackgroundRequest request;
  if (HWND parent = GetParent(Adapter->WindowHandle))
    QueryWindowBackground(request, parent, false);
  else
    request.Kind = bgNotAnswered;
  BackgroundView behind = ColorBackgroundView(kFuchsia);
  if (request.Kind == bgBitmap && request.Bitmap)
    behind = MakeBackgroundView(ArgbView(request.Bitmap), request.OffsetX + Adapter->WindowPos.X,
                                request.OffsetY + Adapter->WindowPos.Y);
  else if (request.Kind == bgColor)
    behind = ColorBackgroundView(static_cast<uint32_t>(ColorToRGB(request.Color)));
  RestoreTransparentCornerPixels(
      cache, manager->Masks[static_cast<size_t>(SkinData->BorderIndex)], State,
      kCornerTopLeft | kCornerBottomLeft | kCornerTopRight | kCornerBottomRight, behind);
}
