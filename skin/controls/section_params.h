// What the section painters read of a control's skin state.
#pragma once

#include "skin/foundation/section_paint.h"

class TsCommonData;

ControlSectionParams SectionParams(TsCommonData* SkinData);
