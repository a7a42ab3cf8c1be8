// The alpha image list belongs to the controls, a layer above the engine,
// yet the manager keeps its skin previews in one and rescales every such
// list with its scale mode. The list's unit binds these entries at start-up
// and clears them at shutdown; while they are null the manager has no
// preview list and its rescale leaves image lists alone.
#pragma once

class TComponent;
class TCustomImageList;
class TStream;

struct TvlImageListLink {
  // A preview list of 140 x 100 owned by Owner.
  TCustomImageList* (*NewPreviewList)(TComponent* Owner) = nullptr;
  // Stored files and images emptied; the platform list allocated.
  void (*ClearAll)(TCustomImageList* List) = nullptr;
  // The index of the new image, or -1 when the bytes were not added.
  int (*AddPng)(TCustomImageList* List, TStream& Stream) = nullptr;
  // Every alpha image list to DPI level 0..3.
  void (*RescaleAll)(int Level) = nullptr;
};

extern TvlImageListLink ImageListLink;
