// The graphics unit of the widget layer: colours, fonts, brushes, pens,
// canvases and the picture classes.
#pragma once

#include "widgets/gdi_handles.h"
#include "widgets/graphics_colors.h"
#include "widgets/graphics_tools.h"
#include "widgets/graphics_canvas.h"
#include "widgets/graphics_image.h"
