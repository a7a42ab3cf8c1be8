// The outer-effect switch and the painting of a control's shadow into its
// parent's cache.
#include "skin/engine/outer_effects.h"

#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/nine_slice_alpha.h"
#include "widgets/controls/controls.h"
#include "widgets/graphics/graphics.h"

const TClassInfo& TvlOuterEffects::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlOuterEffects> b("TvlOuterEffects", &TPersistent::StaticClass());
    b.Enum(
        "Visibility", OuterVisibilityInfo(),
        [](const TvlOuterEffects& o) { return o.Visibility(); },
        [](TvlOuterEffects& o, int v) { o.SetVisibility(static_cast<TvlOuterVisibility>(v)); },
        ovNone);
    return b.Done();
  }();
  return info;
}

void TvlOuterEffects::SetVisibility(TvlOuterVisibility Value) {
  if (visibility_ == Value) return;
  visibility_ = Value;
  TControl* c = owner_ ? owner_->Control : nullptr;
  if (c && c->HasState(csLoading)) return;
  Changed();
}

void TvlOuterEffects::Changed() {
  TControl* c = owner_ ? owner_->Control : nullptr;
  TWinControl* parent = c ? c->Parent() : nullptr;
  if (!parent || !parent->HandleAllocated() || parent->HasState(csLoading | csDestroying)) return;
  SendSkinCommand(parent->Handle(), SkinCmdInvalidate, 0);
  owner_->Invalidate(false);
}

namespace {

struct TEffectChoice {
  int Mask = -1;
  int Opacity = 0;
  TRect Margins;  // left, top, right, bottom offsets
};

// The section's own mask, else the entry of the manager's effect list that
// OUTERMODE names. OUTERMODE comes from the skin unchecked: a value past the
// list's entries chooses nothing.
bool ChooseEffect(const TsSkinManager& M, const TsGeneralData& S, TEffectChoice& Out) {
  if (S.OuterMode < 1 || static_cast<size_t>(S.OuterMode) > M.FormOuterEffects.size()) return false;
  if (M.ValidImage(S.OuterMask)) {
    Out.Mask = S.OuterMask;
    Out.Opacity = S.OuterOpacity;
    Out.Margins = TRect(S.OuterOffsets[0], S.OuterOffsets[1], S.OuterOffsets[2], S.OuterOffsets[3]);
    return true;
  }
  const OuterEffect& e = M.FormOuterEffects[static_cast<size_t>(S.OuterMode - 1)];
  if (e.Source == 0 || e.MaskIndex < 0 || !M.ValidImage(e.MaskIndex)) return false;
  Out.Mask = e.MaskIndex;
  Out.Opacity = e.Opacity;
  Out.Margins = TRect(e.Offsets[0], e.Offsets[1], e.Offsets[2], e.Offsets[3]);
  return true;
}

uint8_t OpacityByte(int Opacity) {
  return static_cast<uint8_t>(Opacity < 0 ? 0 : Opacity > 255 ? 255 : Opacity);
}

}  // namespace

void TsCommonData::PaintOuterMask(TBitmap* Bitmap, const TRect& Rect, int Opacity, int MaskIndex,
                                  const TRect& Margins) {
  TsSkinManager* m = SkinManager();
  if (!m || !Bitmap || !m->ValidImage(MaskIndex)) return;
  PaintMaskNineSliceAlpha(ArgbView(Bitmap), Rect, BackgroundView{}, m->ImageData(MaskIndex), 0,
                          Margins, OpacityByte(Opacity));
}

void TsCommonData::PaintOuterEffects(const BackgroundRequest& Request, unsigned Flags) {
  TsSkinManager* m = SkinManager();
  if (!m || !Skinned() || !OuterEffects || OuterEffects->Visibility() == ovNone) return;
  TEffectChoice effect;
  if (!ChooseEffect(*m, m->Section(SkinIndex), effect)) return;
  TBitmap* target = Request.Bitmap;
  if (!target || !Control) return;
  TRect r = Control->BoundsRect();
  Control->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetBounds),
                   reinterpret_cast<LPARAM>(&r));
  OffsetRect(r.AsRECT(), Request.OffsetX, Request.OffsetY);
  const TRect s(r.Left - effect.Margins.Left, r.Top - effect.Margins.Top,
                r.Right + effect.Margins.Right, r.Bottom + effect.Margins.Bottom);
  if (s.Width() <= 0 || s.Height() <= 0) return;
  const PixelView dst = ArgbView(target);

  if ((Flags & OuterEffectOverSaved) && ShadowBitmap && OuterEffects->ShadowRect == s) {
    // The bitmap still shows the last shadow over the saved background:
    // the shadow goes over a copy of that background, which stays saved as
    // it is, so however often this repeats the shadows never stack.
    TOwnedObject<TBitmap> work = OwnObject(NewArgbBitmap(s.Width(), s.Height()));
    CopyPixels(ArgbView(work.get()), 0, 0, ArgbView(ShadowBitmap), 0, 0, s.Width(), s.Height());
    PaintOuterMask(work.get(), TRect(0, 0, s.Width(), s.Height()), effect.Opacity, effect.Mask,
                   effect.Margins);
    CopyPixels(dst, s.Left, s.Top, ArgbView(work.get()), 0, 0, s.Width(), s.Height());
    return;
  }
  // A freshly painted background: kept for the repaints that come without
  // one, then the shadow goes straight onto it.
  TObject::Free(ShadowBitmap);
  ShadowBitmap = NewArgbBitmap(s.Width(), s.Height());
  CopyPixels(ArgbView(ShadowBitmap), 0, 0, dst, s.Left, s.Top, s.Width(), s.Height());
  OuterEffects->ShadowRect = s;
  PaintOuterMask(target, s, effect.Opacity, effect.Mask, effect.Margins);
}
