#include "skin/engine/control_text.h"

#include <algorithm>
#include <cstring>

#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/controls.h"

namespace {

int StdSectionSlot(const char* name) {
  for (size_t i = 0; i < StdSectionNames.size(); ++i)
    if (std::strcmp(StdSectionNames[i], name) == 0) return static_cast<int>(i);
  return 0;
}

}  // namespace

// ---- Sections -------------------------------------------------------------------------

int EffectiveSectionIndex(TControl* control, int index, TsSkinManager* manager, int state) {
  if (control == nullptr) return index;
  bool ask = state == 0 || index < 0 || !SectionIndexValid(manager, index);
  if (!ask) {
    const TsGeneralData& section = manager->Sections[static_cast<size_t>(index)];
    ask = state >= section.StateCount || section.Props[std::min(state, 2)].Transparency >= 40;
  }
  if (!ask) return index;
  BgSectionQuery query;
  query.State = state;
  query.Rect = control->BoundsRect();
  const LRESULT answer = control->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetBgSection),
                                          reinterpret_cast<LPARAM>(&query));
  return answer != 0 && query.Index >= 0 ? query.Index : index;
}

// ---- Text -------------------------------------------------------------------------------

void DrawSectionText(TCanvas* canvas, const char* text, bool enabled, RECT rect, UINT format,
                     int sectionIndex, int state, TsSkinManager* manager) {
  if (manager == nullptr) manager = DefaultManager;
  // Without any manager there are no sections: the canvas's colours draw.
  DrawSectionText(canvas, text, enabled, rect, format, sectionIndex, state,
                  static_cast<const SkinSource*>(manager));
}

void DrawControlText(TCanvas* canvas, const char* text, bool enabled, RECT rect, UINT format,
                     TsCommonData* skinData, int state) {
  if (skinData == nullptr) return;
  TsSkinManager* manager = skinData->SkinManager();
  ControlTextParams params;
  params.Source = manager;
  params.Skinned = skinData->Skinned();
  params.CustomFont = skinData->CustomFont;
  params.SkinIndex = skinData->SkinIndex;
  params.TextSection = skinData->SkinIndex;
  params.CacheBitmap = skinData->CacheBitmap;
  params.ColorTone = static_cast<uint32_t>(skinData->ColorTone);
  params.HueOffset = skinData->HUEOffset;
  params.Saturation = skinData->Saturation;
  if (manager != nullptr) {
    // Hovered link buttons are underlined; the first standard sections may
    // be see-through and take their text colours from what lies behind.
    const auto& standard = manager->ConstData.Sections;
    static const int webButtonSlot = StdSectionSlot("WEBBUTTON");
    constexpr int kSeeThroughStandard = 9;
    params.WebButtonIndex = standard[webButtonSlot];
    const auto first = standard.begin(), last = first + kSeeThroughStandard;
    TControl* control = skinData->Control;
    if (params.Skinned && !params.CustomFont && params.SkinIndex >= 0 && control &&
        control->Parent() && std::find(first, last, params.SkinIndex) != last)
      params.TextSection = EffectiveSectionIndex(control, params.SkinIndex, manager, state);
  }
  DrawControlText(canvas, text, enabled, rect, format, params, state);
}

// ---- Clipping ---------------------------------------------------------------------------

void ExcludeGraphicChildren(HDC dc, TWinControl* parent, int x, int y) {
  if (DefaultManager == nullptr || DefaultManager->Options()->StdImgTransparency()) return;
  ExcludeGraphicChildRects(dc, parent, x, y);
}
