// The answering and asking side of the background protocol in the
// per-control skin state: the transparency decision, the answer to a
// background request, the background colour of a state, the colours a
// control takes from its section and the corners restored from the parent.
#include <algorithm>

#include "skin/engine/common_data.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/texture_place.h"
#include "widgets/controls/comctrls.h"
#include "widgets/controls/controls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"

namespace {

const TsGeneralData* SectionOf(const TsSkinManager* Manager, int Index) {
  if (!SectionIndexValid(Manager, Index)) return nullptr;
  return &Manager->Sections[static_cast<size_t>(Index)];
}

const TsMaskData* MaskOf(const TsSkinManager* Manager, int Index) {
  if (!Manager || Index < 0 || Index >= static_cast<int>(Manager->Masks.size())) return nullptr;
  return &Manager->Masks[static_cast<size_t>(Index)];
}

const TsGenState& StateOf(const TsGeneralData& Section, int State) {
  return Section.Props[static_cast<size_t>(ClipSectionState(Section, State))];
}

// The placement of the state-0 texture, -1 without one.
int TexturePlacementOfState0(const TsSkinManager* Manager, const TsGeneralData& Section) {
  const TsGenState& s = Section.Props[0];
  if (s.ImagePercent <= 0) return -1;
  const TsMaskData* m = MaskOf(Manager, s.PatternIndex);
  return m ? TexturePlacementOf(m->PaintMode) : -1;
}

bool PlacementIn(int Placement, std::initializer_list<int> Set) {
  return std::find(Set.begin(), Set.end(), Placement) != Set.end();
}

TsSkinProvider* ProviderOwner(const TsCommonData* SkinData) {
  return dynamic_cast<TsSkinProvider*>(SkinData->OwnerObject);
}

// The control whose parent answers for this skin state: the control, or
// the form of a provider owner.
TControl* AnsweringControl(const TsCommonData* SkinData) {
  if (SkinData->Control) return SkinData->Control;
  TsSkinProvider* p = ProviderOwner(SkinData);
  return p ? p->Form : nullptr;
}

// The widget layer has no form styles: an MDI main form is known by the
// MDI client window among its children.
bool IsMdiMainForm(TCustomForm* Form) {
  return Form && Form->HandleAllocated() &&
         FindWindowExA(Form->Handle(), nullptr, "MDICLIENT", nullptr) != nullptr;
}

void FillRectWithColor(HDC DC, const TRect& Rect, TColor Color) {
  if (!DC) return;
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  const RECT r = Rect;
  FillRect(DC, &r, brush.Get());
}

// Asks what lies behind a control: its parent control, or the parent
// window of a windowed control without one. False when it has neither.
bool AskParentBackground(TControl* Control, BackgroundRequest& Request) {
  if (Control->Parent()) {
    QueryControlBackground(Request, Control->Parent(), false);
    return true;
  }
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!win || !win->HandleAllocated() || !GetParent(win->Handle())) return false;
  QueryWindowBackground(Request, GetParent(win->Handle()), false);
  return true;
}

}  // namespace

// ---- Size rules -------------------------------------------------------------------

void TsCommonData::UpdateBgSizeFlags() {
  BgSizeFlags = 0;
  TsSkinManager* manager = SkinManager();
  const TsGeneralData* section = SectionOf(manager, SkinIndex);
  if (!section) return;
  const TsGenState& s = section->Props[0];
  if (s.GradientPercent >= 1 && !s.Gradient.empty()) {
    const int mode = s.Gradient.front().Mode;
    if (mode == 1 || mode == 2) BgSizeFlags |= 0x0001;
    if (mode == 0 || mode == 2) BgSizeFlags |= 0x0002;
  }
  const int p = TexturePlacementOfState0(manager, *section);
  if (p < 0) return;
  if (PlacementIn(p, {1, 4, 5, 8, 9, 11, 12})) BgSizeFlags |= 0x0004;
  if (PlacementIn(p, {0, 1, 3, 5, 10, 12})) BgSizeFlags |= 0x0010;
  if (PlacementIn(p, {0, 1, 2, 4, 10, 11})) BgSizeFlags |= 0x0020;
  if (PlacementIn(p, {0, 1, 7, 9, 10, 12})) BgSizeFlags |= 0x0040;
  if (PlacementIn(p, {0, 1, 6, 8, 10, 11})) BgSizeFlags |= 0x0080;
}

// ---- Transparency -------------------------------------------------------------------

bool TsCommonData::OuterEffectsAllowed() const {
  TsSkinManager* manager = SkinManager();
  if (!manager || !manager->Effects()->AllowOuterEffects()) return false;
  return dynamic_cast<TWinControl*>(Control) || ProviderOwner(this);
}

bool TsCommonData::HasOwnBackground() const {
  if (!(StateFlags & sfTransparent) || OuterEffectsAllowed()) return true;
  return CurrentState() != 0 && !ContainerKinds.Contains(ControlKind);
}

int TsCommonData::ComputeTransparency() {
  TsSkinManager* manager = SkinManager();
  const TsGeneralData* section = SectionOf(manager, SkinIndex);
  if (!section) return 1;
  if (OuterEffectsAllowed()) return 0;
  if (const TsMaskData* m = MaskOf(manager, section->BordersMask))
    if ((m->PaintMode & kMaskPaintCentre) || m->MaskCount == 1) return 0;
  const TsGenState& s = section->Props[0];
  if (s.Transparency == 100) {
    if (TexturePlacementOfState0(manager, *section) == plTileWhole) return 0;
    if (!Control || !Control->Parent()) return 0;
    TWinControl* parent = Control->Parent();
    if (!parent->HandleAllocated()) return 2;
    if (!IsSkinnedWindow(parent->Handle())) return 1;
    const LRESULT flags = SendSkinCommand(parent->Handle(), SkinCmdTransparency, 0);
    return flags == sfTransparencyUnknown ? 2 : static_cast<int>(flags & sfTransparent);
  }
  if (s.Transparency > 0) return 0;
  if (s.ImagePercent != 0 || s.GradientPercent != 0) return 0;
  if (TsSkinProvider* p = ProviderOwner(this))
    if (auto* form = dynamic_cast<TForm*>(p->Form); form && form->OnPaint) return 0;
  const auto& corners = section->CornerImages;
  return std::all_of(corners.begin(), corners.end(), [](int32_t c) { return c == -1; }) ? 1 : 0;
}

void TsCommonData::UpdateTransparency(bool Recurse) {
  StateFlags &= static_cast<uint16_t>(~sfTransparent);
  // Scrolling containers (forms among them) and page controls show their
  // parent's background themselves, unless other controls dock on them.
  auto* scrolling = dynamic_cast<TScrollingWinControl*>(Control);
  if ((scrolling && !scrolling->DockSite()) || dynamic_cast<TPageControl*>(Control)) {
    const int r = ComputeTransparency();
    if (r == 2) return;
    StateFlags = static_cast<uint16_t>((StateFlags & ~(sfTransparent | sfTransparencyUnknown)) |
                                       (r & sfTransparent));
  }
  if (Recurse)
    if (auto* win = dynamic_cast<TWinControl*>(Control))
      for (int i = 0; i < win->ControlCount(); ++i)
        win->Controls(i)->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdTransparency), 1);
  if (Control) return;
  TsSkinProvider* provider = ProviderOwner(this);
  if (!provider) return;
  const int r = ComputeTransparency();
  if (r == 2) return;
  if (r & 1) {
    if (!IsMdiMainForm(provider->Form)) StateFlags |= sfTransparent;
    StateFlags &= static_cast<uint16_t>(~sfTransparencyUnknown);
  } else {
    StateFlags = 0;
  }
}

bool TsCommonData::IsFaceTransparent(int State) const {
  return IsSectionFaceTransparent(SkinManager(), SkinIndex, State, Control);
}

bool IsSectionFaceTransparent(TsSkinManager* Manager, int Index, int State, TControl* Control) {
  if (Control && !Control->Parent()) return false;
  const TsGeneralData* section = SectionOf(Manager, Index);
  if (!section) return false;
  State = ClipSectionState(*section, State);
  const int t = section->Props[static_cast<size_t>(State)].Transparency;
  const TsMaskData* m = MaskOf(Manager, section->BordersMask);
  if (!m || t <= 50) return t > 50;
  if (State == 0) return !(m->PaintMode & kMaskPaintCentre) || (m->PaintMode & kMaskNoNormalState);
  if (!(m->PaintMode & kMaskPaintCentre)) return true;
  if (m->MaskCount == 0) return false;
  // The middle of the frame's mask part decides; a frame that has no such
  // pixel inside its image counts as opaque.
  const int x = MaskFrameLeft(*m, ClipFrameIndex(*m, State)) + m->FrameWidth / 2;
  const int y = m->SourceRect.bottom - m->FrameHeight / 2;
  if (x < m->SourceRect.left || x >= m->SourceRect.right || y < m->SourceRect.top ||
      y >= m->SourceRect.bottom)
    return false;
  const PixelView pixels = ArgbView(m->Image ? m->Image : Manager->MasterBitmap);
  if (!pixels.Valid() || !pixels.Contains(x, y)) return false;
  return (pixels.At(x, y) & 0x80u) != 0;
}

// ---- Background requests ----------------------------------------------------------

bool TsCommonData::CacheEmpty() const {
  return !CacheBitmap || CacheBitmap->Width() == 0 || CacheBitmap->Height() == 0;
}

void TsCommonData::HandOutCache(BackgroundRequest& Request) {
  if (CacheEmpty()) {
    Request.Kind = bgNotReady;
    return;
  }
  Request.Kind = bgBitmap;
  if (Request.PaintFallback) {
    const TRect& r = Request.ClipRect;
    BitBlt(Request.DC, r.Left, r.Top, r.Width(), r.Height(), CacheBitmap->Canvas()->Handle(),
           Request.OffsetX, Request.OffsetY, SRCCOPY);
    // The asker's origin in the cache is where its area came from.
    Request.Bitmap = CacheBitmap;
    return;
  }
  Request.Bitmap = CacheBitmap;
  Request.OffsetX = Request.OffsetY = 0;
}

void TsCommonData::FillBackgroundRequest(BackgroundRequest& Request, int State, HWND Wnd) {
  if (Request.PaintFallback) {
    UpdateTransparency(false);
    if (!HasOwnBackground()) {
      FillRectWithColor(Request.DC, Request.ClipRect, BgColor(State, nullptr));
      Request.Kind = bgColor;
      return;
    }
    if (BgChanged && Control) PerformSkinQuery(Control, SkinCmdPrepareCache);
    // Nothing painted while the cache is stale: the asker repaints later.
    if (BgChanged)
      Request.Kind = bgNotReady;
    else
      HandOutCache(Request);
    return;
  }
  Request.Bitmap = nullptr;
  TsSkinManager* manager = SkinManager();
  if (!Skinned() || CustomColor) {
    Request.Kind = bgColor;
    if (Control)
      Request.Color = ColorToRGB(Control->Color());
    else if (TsSkinProvider* p = ProviderOwner(this); p && p->Form)
      Request.Color = ColorToRGB(p->Form->Color());
    return;
  }
  const TsGeneralData& section = manager->Sections[static_cast<size_t>(SkinIndex)];
  const TsGenState& s = StateOf(section, State);
  const int t = s.Transparency;
  if (t > 0 && t < 100) {
    if (!CacheBitmap) {
      Request.Color = clFuchsia;
      Request.Kind = bgColor;
      return;
    }
    if (CacheEmpty() && BgChanged && Control) PerformSkinQuery(Control, SkinCmdPrepareCache);
    if (CacheEmpty()) {
      Updating = true;
      Request.Kind = bgNotReady;
      return;
    }
    HandOutCache(Request);
    return;
  }
  if (t == 100 && ((StateFlags & sfTransparent) || !CacheBitmap)) {
    TControl* self = AnsweringControl(this);
    if (self && self->Parent()) {
      QueryControlBackground(Request, self->Parent(), false);
      if (Request.Bitmap) {
        Request.OffsetX += self->Left();
        Request.OffsetY += self->Top();
        Request.Borders.Left -= self->Left();
        Request.Borders.Top -= self->Top();
      }
    } else if (Wnd) {
      HWND parent = GetParent(Wnd);
      QueryWindowBackground(Request, parent, false);
      if (Request.Kind == bgBitmap) {
        RECT r;
        GetWindowRect(Wnd, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 1);
        Request.OffsetX += r.left;
        Request.OffsetY += r.top;
      }
    } else {
      Request.Kind = bgColor;
      Request.Color = DefaultManager ? DefaultManager->GetGlobalColor() : clBtnFace;
    }
    // A parent that says "bitmap" without one has nothing painted yet.
    if (Request.Kind == bgBitmap && !Request.Bitmap) Request.Kind = bgNotReady;
    return;
  }
  if (t == 100) {
    if (BgChanged && Control) PerformSkinQuery(Control, SkinCmdPrepareCache);
    if (BgChanged) {
      Request.Kind = bgColor;
      Request.Bitmap = nullptr;
      Request.OffsetX = Request.OffsetY = 0;
      Request.Color = BgColor(0, nullptr);
    } else {
      HandOutCache(Request);
    }
    return;
  }
  const bool noCorners = std::all_of(section.CornerImages.begin(), section.CornerImages.end(),
                                     [](int32_t c) { return c < 0; });
  if (t == 0 && s.ImagePercent < 1 && s.GradientPercent < 1 && noCorners &&
      !OuterEffectsAllowed()) {
    Request.Kind = bgColor;
    Request.Color = BgColor(State, nullptr);
    const TsMaskData* m = MaskOf(manager, section.BordersMask);
    // The frame strips come from the cache only while it has pixels.
    if (m && !(m->PaintMode & kMaskNoNormalState) && !CacheEmpty()) {
      Request.Borders = TRect(m->BorderLeft, m->BorderTop, m->BorderRight, m->BorderBottom);
      Request.Bitmap = CacheBitmap;
      Request.OffsetX = Request.OffsetY = 0;
    }
    return;
  }
  Request.Color = manager->GetGlobalColor();
  const bool sizeDiffers =
      Control && CacheBitmap &&
      (CacheBitmap->Width() != Control->Width() || CacheBitmap->Height() != Control->Height());
  if (BgChanged || CacheEmpty() || sizeDiffers) {
    BgChanged = true;
    if (Control) {
      if (CacheBitmap) CacheBitmap->SetWidth(0);
      PerformSkinQuery(Control, SkinCmdPrepareCache);
    } else if (TsSkinProvider* p = ProviderOwner(this)) {
      if (p->StateFlags() & 0x80) {
        HandOutCache(Request);
        return;
      }
      if (CacheBitmap) CacheBitmap->SetWidth(0);
      if (p->Form) PerformSkinQuery(p->Form, SkinCmdPrepareCache);
    }
    if (CacheEmpty()) {
      Request.Kind = bgNotReady;
      return;
    }
  }
  HandOutCache(Request);
}

// ---- Colours ---------------------------------------------------------------------------

TColor TsCommonData::DefaultBgColor() const {
  if (Control) return Control->Color();
  if (TsSkinProvider* p = ProviderOwner(this); p && p->Form) return p->Form->Color();
  return clBtnFace;
}

TColor TsCommonData::ParentBgColor(HWND Wnd, TColor Fallback) {
  if (Control) return GetControlBgColor(Control->Parent());
  if (Wnd) return GetWindowBgColor(GetParent(Wnd));
  return Fallback;
}

TColor TsCommonData::BgColor(int State, HWND Wnd) {
  if (!Skinned()) return DefaultBgColor();
  const TsGeneralData& section = SkinManager()->Sections[static_cast<size_t>(SkinIndex)];
  const int st = (State > 0 && section.StateCount > 1) ? 1 : 0;
  const TsGenState& s = section.Props[static_cast<size_t>(st)];
  if (s.Transparency == 0) return CustomColor ? DefaultBgColor() : s.Color;
  if (s.Transparency >= 100) return ParentBgColor(Wnd, s.Color);
  const TColor p = ParentBgColor(Wnd, ColorToRGB(clBtnFace));
  return static_cast<TColor>(MixTwoColors(static_cast<uint32_t>(p), static_cast<uint32_t>(s.Color),
                                          static_cast<uint8_t>(s.Transparency * 255 / 100)));
}

TColor TsCommonData::BgColorAnswer() {
  if (!Control) return 0;
  const TColor own = ColorToRGB(Control->Color());
  if (!Skinned()) return own;
  const TsGenState& s = SkinManager()->Sections[static_cast<size_t>(SkinIndex)].Props[0];
  if (s.Transparency == 0) return s.Color;
  const TColor p = Control->Parent() ? GetControlBgColor(Control->Parent()) : own;
  if (s.Transparency >= 100) return p;
  return static_cast<TColor>(MixTwoColors(static_cast<uint32_t>(p), static_cast<uint32_t>(s.Color),
                                          static_cast<uint8_t>(s.Transparency * 255 / 100)));
}

void TsCommonData::GetParentBgInfo(BackgroundInfo& Info) {
  auto plain = [&] {
    Info.OffsetX = Info.OffsetY = 0;
    Info.Color = BgColor(0, nullptr);
    Info.HasBitmap = false;
  };
  if (!Skinned() || !Control) {
    plain();
    return;
  }
  BackgroundRequest r;
  if (!AskParentBackground(Control, r)) {
    plain();
    return;
  }
  if (r.Kind == bgNotReady) {
    Info.Color = clFuchsia;
    Info.HasBitmap = false;
    return;
  }
  BackgroundInfoFromRequest(r, Info);
}

bool TsCommonData::NeedsRepaintOnMove() {
  if (!Skinned() || !Control || !Control->Enabled()) return true;
  if (dynamic_cast<TTabSheet*>(Control)) return true;
  const TsGeneralData& section = SkinManager()->Sections[static_cast<size_t>(SkinIndex)];
  TWinControl* parent = Control->Parent();
  if (section.Props[0].Transparency > 0 && parent && parent->HandleAllocated())
    return PerformSkinQuery(parent, SkinCmdBackgroundVaries) != 0;
  return false;
}

void TsCommonData::RefreshParentCache() {
  if (CheckUpdating(false) || !Control) return;
  TWinControl* parent = Control->Parent();
  if (!parent || !parent->HandleAllocated()) return;
  DeliverMessage(parent->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdBgChanged), 0);
  SendSkinCommand(parent->Handle(), SkinCmdPrepareCache, 0);
}

void TsCommonData::ApplySectionColors(bool Repaint) {
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!Control || (win && !win->HandleAllocated())) return;
  TsSkinManager* manager = SkinManager();
  if (Skinned() && SkinColorKinds.Contains(ControlKind)) {
    const TsGeneralData& section = manager->Sections[static_cast<size_t>(SkinIndex)];
    if (!(section.Props[0].Transparency == 100 && StateOf(section, 1).Transparency == 100)) {
      auto shifted = [this](SkinColor c) {
        return static_cast<TColor>(
            ChangeColorSaturation(ChangeColorHue(HUEOffset, static_cast<uint32_t>(c)), Saturation));
      };
      const TColor color = shifted(section.Props[0].Color);
      if (!CustomColor && Control->Color() != color) Control->SetColor(color);
      const TColor font = shifted(section.Props[0].FontColor);
      if (!CustomFont && Control->Font()->Color() != font &&
          (ControlKind != ckListView || EditHoverOption))
        Control->Font()->SetColor(font);
    }
  }
  if (Repaint) Invalidate(true);
}

void TsCommonData::ApplyStateColors(bool NoRedrawLock) {
  if (!Control) return;
  const bool lock = !NoRedrawLock && Control->Visible();
  if (lock) Control->Perform(WM_SETREDRAW, 0, 0);
  TsSkinManager* manager = SkinManager();
  if (SkinIndex >= 0 && SectionIndexValid(manager, SkinIndex)) {
    const TsGenState& s =
        StateOf(manager->Sections[static_cast<size_t>(SkinIndex)], CurrentState());
    if (!CustomColor) Control->SetColor(s.Color);
    if (!CustomFont && Control->Font()->Color() != s.FontColor) {
      StateFlags |= sfSkinFontColor;
      Control->Font()->SetColor(s.FontColor);
      StateFlags &= static_cast<uint16_t>(~sfSkinFontColor);
    }
  }
  if (lock) Control->Perform(WM_SETREDRAW, 1, 0);
}

// ---- Corners and the cache copy -------------------------------------------------------

void RestoreTransparentCorners(TsCommonData* SkinData, int State, int Corners) {
  if (!SkinData || !SkinData->Control || !SkinData->CacheBitmap) return;
  TsSkinManager* manager = SkinData->SkinManager();
  const TsMaskData* m = MaskOf(manager, SkinData->BorderIndex);
  if (!m || m->TransparentCorners == 0) return;
  TControl* c = SkinData->Control;
  BackgroundRequest r;
  if (!AskParentBackground(c, r)) return;
  BackgroundView answer;
  if (r.Kind == bgBitmap && r.Bitmap)
    answer = MakeBackgroundView(ArgbView(r.Bitmap), r.OffsetX + c->Left(), r.OffsetY + c->Top());
  else
    answer = ColorBackgroundView(r.Kind == bgNotReady ? kFuchsia
                                                      : static_cast<uint32_t>(ColorToRGB(r.Color)));
  RestoreTransparentCornerPixels(ArgbView(SkinData->CacheBitmap), *m, State, Corners, answer);
}

void CopyCacheExcludingChildren(TWinControl* Control, TsCommonData* SkinData, const TRect& SrcPoint,
                                const TRect& DstRect, HDC DC, bool RestoreCorners, int X, int Y) {
  if (!SkinData || !SkinData->CacheBitmap || SkinData->CacheBitmap->Width() == 0 ||
      SkinData->CacheBitmap->Height() == 0)
    return;
  if (RestoreCorners)
    RestoreTransparentCorners(
        SkinData, 0, kCornerTopLeft | kCornerBottomLeft | kCornerTopRight | kCornerBottomRight);
  TSavedDC saved(DC);
  IntersectClipRect(DC, DstRect.Left, DstRect.Top, DstRect.Right, DstRect.Bottom);
  TsSkinManager* manager = SkinData->SkinManager();
  const bool graphicsSeeThrough = manager && manager->Options()->StdImgTransparency();
  for (int i = 0; Control && i < Control->ControlCount(); ++i) {
    TControl* child = Control->Controls(i);
    if (!child->Visible()) continue;
    TRect b = child->BoundsRect();
    RECT hit;
    const RECT dst = DstRect, cb = b;
    if (!IntersectRect(&hit, &dst, &cb)) continue;
    const bool graphic = dynamic_cast<TWinControl*>(child) == nullptr;
    const bool cut = graphic ? !graphicsSeeThrough : (child->ControlStyle() & csOpaque) != 0;
    if (cut) ExcludeClipRect(DC, b.Left + X, b.Top + Y, b.Right + X, b.Bottom + Y);
  }
  BitBlt(DC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(),
         SkinData->CacheBitmap->Canvas()->Handle(), SrcPoint.Left, SrcPoint.Top, SRCCOPY);
}

void TsCommonData::PaintChildrenOuterEffects(TWinControl* Parent, const TPoint& Offset) {
  TsSkinManager* manager = SkinManager();
  if (!Parent || !CacheBitmap || !Skinned() || !manager || !manager->Effects()->AllowOuterEffects())
    return;
  BackgroundRequest request;
  request.Bitmap = CacheBitmap;
  request.Kind = bgBitmap;
  request.OffsetX = Offset.X;
  request.OffsetY = Offset.Y;
  // Index order: a later child's shadow lies over an earlier one's.
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* child = Parent->Controls(i);
    if (!ControlIsReady(child) || !child->Visible()) continue;
    PerformSkinCommand(child, SkinCmdPaintOuterEffect, reinterpret_cast<LPARAM>(&request));
  }
}
