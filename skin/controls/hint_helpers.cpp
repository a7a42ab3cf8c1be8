// The few measures every hint window shares, decided in one place: the
// padding and font scale follow the skin's DPI level, and the content
// margins are the shadow a template picture carries (a skinned frame has
// none: its border is part of the bubble).
#include <algorithm>

#include "skin/controls/alpha_hints.h"
#include "skin/controls/hint_templates.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_const.h"

int HintScalePercent() {
  const int level = std::clamp(EffectiveDpiLevel(DefaultManager), 0, 3);
  return DpiPercentTable[static_cast<size_t>(level)];
}

int ScaledHintPadding() {
  return 4 * HintScalePercent() / 100;
}

void ScaleHintFont(TFont* Font) {
  if (Font) Font->SetHeight(Font->Height() * HintScalePercent() / 100);
}

TRect HintContentMargins(const TvlHintImage* Image, bool Skinned) {
  if (Skinned || !Image) return {};
  const TvlBordersSizes& s = Image->ShadowSizes();
  return {s.Left(), s.Top(), s.Right(), s.Bottom()};
}

bool UsesHintSkin() {
  TvlHintManager* m = ActiveHintManager;
  return m && DefaultManager && DefaultManager->Active() && m->Settings().Skinned &&
         FindSectionIndex(DefaultManager, m->Settings().SkinSection) >= 0;
}

TvlHintTemplate* CurrentHintTemplate() {
  TvlHintManager* m = ActiveHintManager;
  if (m) {
    const int i = m->Settings().TemplateIndex;
    if (i >= 0 && i < m->TemplateCount() && m->Templates(i)) return m->Templates(i);
  }
  return DefaultHintTemplate;
}

TvlHintImage* CornerImage(TvlHintTemplate* Template, THintCorner Corner) {
  if (!Template) return nullptr;
  static constexpr int kImageOfCorner[4] = {0, 1, 3, 2};
  TvlHintImage* image = Template->Images(kImageOfCorner[std::clamp(Corner, 0, 3)]);
  image->LoadHintImageFromData();
  return image->Empty() ? Template->ImageDefault() : image;
}
