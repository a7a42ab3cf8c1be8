// The graphics unit of the widget layer: colours, fonts, brushes, pens,
// canvases and the picture classes.
#pragma once

#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/colors.h"
#include "widgets/graphics/tools.h"
#include "widgets/graphics/canvas.h"
#include "widgets/graphics/image.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/icon.h"
#include "widgets/graphics/jpeg.h"

// The unit's start-up step: makes colour names ("clBtnFace") and character
// set names ("DEFAULT_CHARSET") usable as integer values in form
// descriptions. Runs first in the layer's start-up list; repeating it is
// harmless.
void InitGraphicsUnit();
