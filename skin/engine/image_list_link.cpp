#include "skin/engine/image_list_link.h"

TvlImageListLink ImageListLink;
