// The graphics unit of the widget layer: colours, fonts, brushes, pens,
// canvases and the picture classes.
#pragma once

#include "widgets/exceptions.h"
#include "widgets/gdi_handles.h"
#include "widgets/graphics_colors.h"
#include "widgets/graphics_tools.h"
#include "widgets/graphics_canvas.h"
#include "widgets/graphics_image.h"
#include "widgets/graphics_bitmap.h"
#include "widgets/graphics_icon.h"
#include "widgets/graphics_jpeg.h"

// The unit's start-up step: makes colour names ("clBtnFace") and character
// set names ("DEFAULT_CHARSET") usable as integer values in form
// descriptions. Runs first in the layer's start-up list; repeating it is
// harmless.
void InitGraphicsUnit();
