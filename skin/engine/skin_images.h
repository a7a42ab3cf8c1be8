// The skin's pictures: the master bitmap, the image files, and one image
// record per image key of the description, with its rectangle, frames,
// borders and transparent-corner test.
#pragma once

#include <windows.h>

#include <string>

#include "skin/engine/skin_load_context.h"
#include "skin/foundation/skin_records.h"

class TBitmap;
class TvlSkinContent;

// Clears the load's images, reads the master bitmap and registers every
// image key of the description and of the manager's CommonSections.
// Raises for an image value or file that cannot be read.
void LoadSkinImages(TvlSkinLoad& Load);

// Appends an image (Owner the manager, no bitmap of its own); its index.
int AddMask(TvlSkinLoad& Load, int SectionIndex, const std::string& Key, int MaskCount,
            int PaintMode, int FrameCount, const RECT& Rect, int ImageKind,
            const std::string& Section);
// Reads an image file of the skin into a new file entry; nil (and no
// entry) when the file does not exist. Raises for a file that does not
// decode.
TBitmap* LoadExternalImage(TvlSkinLoad& Load, const std::string& FileName, int HasMaskHalf);

// 2 for the borders image of BUTTON_HUGE, 1 when a corner of any frame
// holds a transparent-key pixel, else 0.
int CheckCorners(const TvlSkinContent& Skin, const TsMaskData& Mask);
// FrameWidth and FrameHeight of every image; an image without frames gets
// default borders and one frame.
void UpdateFrameSizes(TvlSkinContent& Skin);
// Frame `Frame` of an image as a new 32-bit bitmap of the frame's size.
TBitmap* CopyMaskFrame(const TsMaskData& Mask, int Frame);
