// Section choice, state queries, the update protocol, invalidation and the
// end of animations of the per-control skin state.
#include "skin/engine/anim_timer.h"
#include "skin/engine/common_data.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/vl_geometry.h"
#include "widgets/controls/controls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/graphics.h"

bool EditHoverOption = false;

namespace {

bool Destroying(const TPersistent* Object) {
  auto* c = dynamic_cast<const TComponent*>(Object);
  return c && c->HasState(csDestroying);
}

}  // namespace

// ---- Section choice ---------------------------------------------------------------

void TsCommonData::Loaded(bool Repaint) {
  NotLoaded = false;
  ChooseDefaultSection();
  if (Skinned(false) && Control && Control->Parent() && !Control->HasState(csLoading)) {
    if (dynamic_cast<TWinControl*>(Control)) AddToParentFormAdapter(Control);
    if (Repaint) ApplySectionColors(false);
  }
}

void TsCommonData::ChooseDefaultSection() {
  if (!SkinSection.empty() || AskControlForSectionKinds.Contains(ControlKind)) {
    UpdateIndexes(true);
    return;
  }
  const char* name = nullptr;
  switch (ControlKind) {
    case 18:
      name = "COMBOBOX";
      break;
    case 19:
      name = "BAR";
      break;
    case 20:
      name = "BARTITLE";
      break;
    case 50:
    case 152:
      name = "CHECKBOX";
      break;
    case 56:
      name = "DRAGBAR";
      break;
    case 98:
      name = "TOOLBUTTON";
      break;
    case ckGraphicControl:
      name = "EDIT";
      break;
  }
  if (name)
    SetSkinSection(name);
  else if (OwnerObject)
    SetSkinSection(OwnerObject->ClassName());
}

void TsCommonData::UpdateIndexes(bool ResolveSection) {
  BgChanged = true;
  TsSkinManager* manager = SkinManager();
  if (ResolveSection) {
    if (!manager || !manager->Active()) {
      SkinIndex = -1;
    } else if (!SkinSection.empty()) {
      SkinIndex = FindSectionIndex(manager, SkinSection);
    } else if (Control) {
      auto* win = dynamic_cast<TWinControl*>(Control);
      LRESULT answer =
          (win && win->HandleAllocated())
              ? PerformSkinCommand(Control, SkinCmdGetDefaultSection, 0)
              : Control->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetDefaultSection), 0);
      SkinIndex = static_cast<int>(answer) - 1;
    } else {
      SkinIndex = -1;
    }
  }
  UpdateBgSizeFlags();
  StateFlags = sfTransparencyUnknown;
  if (SectionIndexValid(manager, SkinIndex)) {
    BorderIndex = manager->Sections[static_cast<size_t>(SkinIndex)].BordersMask;
    TextureIndex = FindTextureIndex(*manager, SkinIndex, "PATTERN");
    HotTextureIndex = FindTextureIndex(*manager, SkinIndex, "HOTPATTERN");
    UpdateTransparency(false);
  } else {
    BorderIndex = TextureIndex = HotTextureIndex = -1;
  }
}

void TsCommonData::UseFirstExistingSection(const std::string* Names, int High) {
  TsSkinManager* manager = SkinManager();
  if (!manager) {
    SkinIndex = -1;
    return;
  }
  for (int i = 0; i <= High; ++i) {
    if (Names[i].empty()) continue;
    SkinIndex = FindSectionIndex(manager, Names[i]);
    if (SkinIndex >= 0) {
      UpdateIndexes(false);
      return;
    }
  }
}

// ---- State queries ----------------------------------------------------------------

bool TsCommonData::Skinned(bool CheckActive) const {
  TsSkinManager* manager = SkinManager();
  if (!manager || manager->HasState(csDestroying)) return false;
  if (!SectionIndexValid(manager, SkinIndex) || Destroying(OwnerObject)) return false;
  return !CheckActive || manager->CommonSkinData->Loaded;
}

int TsCommonData::CurrentState() const {
  if (!Control || Control->HasState(csDesigning | csDestroying) || !Control->Enabled()) return 0;
  if (Focused) return 1;
  if (auto* win = dynamic_cast<TWinControl*>(Control))
    if (win->HandleAllocated() && win->Handle() == GetFocus()) return 1;
  if (!Hot) return 0;
  TsSkinManager* manager = SkinManager();
  if (manager && manager->Options()->NoMouseHover()) return 0;
  if (NoHoverKinds.Contains(ControlKind)) return 0;
  if (EditKinds.Contains(ControlKind)) return EditHoverOption ? 1 : 0;
  return 1;
}

bool TsCommonData::AnimationRunning() const {
  return AnimTimer && AnimTimer->Enabled();
}

int TsCommonData::BorderWidth() const {
  TsSkinManager* manager = SkinManager();
  if (!manager || BorderIndex < 0 || BorderIndex >= static_cast<int>(manager->Masks.size()))
    return 0;
  const TsMaskData& m = manager->Masks[static_cast<size_t>(BorderIndex)];
  if (m.PaintMode & 2) return 0;  // nothing painted in state 0
  int w = m.BorderLeft;
  for (int b : {m.BorderTop, m.BorderRight, m.BorderBottom})
    if (b > w) w = b;
  return w;
}

// ---- Updates ----------------------------------------------------------------------

void TsCommonData::NotifyOwner(UINT Code) {
  if (Control)
    Control->Perform(SkinCommandMessage, SkinCmdParam(static_cast<uint16_t>(Code)), 0);
  else if (auto* provider = dynamic_cast<TsSkinProvider*>(OwnerObject))
    provider->Perform(SkinCommandMessage, SkinCmdParam(static_cast<uint16_t>(Code)), 0);
}

void TsCommonData::BeginUpdate() {
  ++UpdateCount;
  Updating = true;
  StateFlags |= sfInUpdate;
  NotifyOwner(SkinCmdBeginUpdate);
}

void TsCommonData::EndUpdate(bool Repaint) {
  --UpdateCount;
  // Cleared at every call of a nested update, not only at the outermost.
  Updating = false;
  StateFlags &= static_cast<uint16_t>(~sfInUpdate);
  if (UpdateCount <= 0) {
    NotifyOwner(SkinCmdEndUpdate);
    if (Repaint) Invalidate(true);
  }
}

bool TsCommonData::IsUpdating() const {
  TsSkinManager* manager = SkinManager();
  if (!manager || manager->HasState(csDesigning)) return false;
  if (Updating) return true;
  if (Control) {
    if (Control->HasState(csDestroying) || !Control->Parent()) return false;
    return PerformSkinQuery(Control->Parent(), SkinCmdIsUpdating) != 0;
  }
  if (auto* provider = dynamic_cast<TsSkinProvider*>(OwnerObject))
    if (provider->Form && provider->Form->Parent())
      return PerformSkinQuery(provider->Form->Parent(), SkinCmdIsUpdating) != 0;
  return false;
}

bool TsCommonData::CheckUpdating(bool Reset) {
  if (Reset) Updating = false;
  if (IsUpdating()) {
    Updating = true;
    return true;
  }
  return false;
}

// ---- Invalidation and the cache -----------------------------------------------------

void TsCommonData::Invalidate(bool UpdateNow) {
  if (NotLoaded) return;
  if (Control && Control->HasState(csLoading | csDestroying)) return;
  BgChanged = true;
  const UINT flags =
      RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | (UpdateNow ? RDW_UPDATENOW : 0u);
  if (Control) {
    if (!ControlIsReady(Control)) return;
    if (auto* win = dynamic_cast<TWinControl*>(Control)) {
      RedrawWindow(win->Handle(), nullptr, nullptr, flags);
    } else if (ControlKind == 92) {
      Control->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdInvalidate), 0);
    } else {
      Control->Repaint();
    }
  } else if (auto* provider = dynamic_cast<TsSkinProvider*>(OwnerObject)) {
    if (provider->Form && provider->Form->HandleAllocated())
      RedrawWindow(provider->Form->Handle(), nullptr, nullptr, flags);
  }
}

void TsCommonData::PrepareCacheBitmap() {
  if (!CacheBitmap) {
    CacheBitmap = New<TBitmap>();
    CacheBitmap->SetPixelFormat(pf32bit);
  }
  if (CacheBitmap->HandleType() != bmDIB) CacheBitmap->SetHandleType(bmDIB);
  if (!Control) return;
  const int w = Control->Width() > 0 ? Control->Width() : 0;
  const int h = Control->Height() > 0 ? Control->Height() : 0;
  if (CacheBitmap->Width() != w) CacheBitmap->SetWidth(w);
  if (CacheBitmap->Height() != h) CacheBitmap->SetHeight(h);
}

// ---- Animations ---------------------------------------------------------------------

namespace {

bool TimerGoing(const TvlThreadedTimer* t) {
  return t->Destroying || t->HasState(csDestroying);
}

}  // namespace

void StopAnimation(TsCommonData* SkinData) {
  if (!SkinData || !SkinData->AnimTimer || TimerGoing(SkinData->AnimTimer)) return;
  TvlThreadedTimer* t = SkinData->AnimTimer;
  t->SetEnabled(false);
  t->Kind = -1;
  TObject::Free(t->NewImage);
  TObject::Free(t->OldImage);
  TObject::Free(t->WorkImage);
  t->NewImage = t->OldImage = t->WorkImage = nullptr;
}

void FinishAnimation(TvlThreadedTimer* Timer) {
  if (!Timer || TimerGoing(Timer)) return;
  Timer->CurrentStep = Timer->StepCount - 1;
  Timer->Value = Timer->Kind <= 0 ? 0 : 255;
  Timer->SetEnabled(false);
  TObject::Free(Timer->WorkImage);
  Timer->WorkImage = nullptr;
}

// ---- Image filters ----------------------------------------------------------------

void ApplySkinDataFilters(TBitmap* Bitmap, TsCommonData* SkinData, int State) {
  if (!Bitmap || !SkinData) return;
  if (SkinData->ColorTone != clNone)
    ForEachPixelExceptKey(Bitmap, TonePixelProc,
                          static_cast<int32_t>(ColorToRGB(SkinData->ColorTone)), clFuchsia);
  if (SkinData->HUEOffset != 0)
    ForEachPixelExceptKey(Bitmap, HuePixelProc, SkinData->HUEOffset, clFuchsia);
  if (SkinData->Saturation != 0)
    ForEachPixelExceptKey(Bitmap, SaturationPixelProc,
                          ClampInt(SkinData->Saturation * 255 / 100, -255, 255), clFuchsia);
  RestoreTransparentCorners(
      SkinData, State, kCornerTopLeft | kCornerBottomLeft | kCornerTopRight | kCornerBottomRight);
}
