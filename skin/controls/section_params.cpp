#include "skin/controls/section_params.h"

#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "widgets/controls/controls.h"

ControlSectionParams SectionParams(TsCommonData* d) {
  ControlSectionParams p;
  p.Source = d->SkinManager();
  p.SkinIndex = d->SkinIndex;
  p.BorderIndex = d->BorderIndex;
  p.TextureIndex = d->TextureIndex;
  p.HotTextureIndex = d->HotTextureIndex;
  p.CustomColor = d->CustomColor;
  p.OwnColor = d->Control ? ColorToRGB(d->Control->Color()) : 0;
  p.ColorTone = d->ColorTone;
  p.HueOffset = d->HUEOffset;
  p.Saturation = d->Saturation;
  return p;
}
