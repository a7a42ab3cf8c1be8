// An image list given another platform list: the one it held goes unless it
// was shared, the new one is its own from then on, and its listeners hear
// of the change.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "widgets/graphics/img_list.h"
#include "widgets/rtl/object_model.h"

namespace {

bool Alive(HIMAGELIST List) {
  int w = 0, h = 0;
  return ImageList_GetIconSize(List, &w, &h) != 0;
}

TEST(ImageListHandle, TheHeldListGoesUnlessSharedAndTheNewOneIsKept) {
  struct Case {
    const char* Name;
    bool Shared;
    bool OldAlive;  // after the new list was given
    bool NewAlive;  // after the image list was freed
  };
  const Case cases[] = {{"own lists", false, false, false}, {"shared lists", true, true, true}};
  for (const Case& c : cases) {
    const HIMAGELIST lent = ImageList_Create(24, 12, ILC_COLOR32, 1, 1);
    int changes = 0;
    auto list = OwnObject(New<TImageList>(nullptr));
    list->OnChange =
        TNotifyEvent(&changes, [](void* count, TObject*) { ++*static_cast<int*>(count); });
    list->SetShareImages(c.Shared);
    const HIMAGELIST old = list->Handle();
    list->SetHandle(lent);
    EXPECT_EQ(Alive(old), c.OldAlive) << c.Name;
    EXPECT_EQ(list->Handle(), lent) << c.Name;
    EXPECT_EQ(list->Width(), 24) << c.Name;
    EXPECT_EQ(list->Height(), 12) << c.Name;
    EXPECT_EQ(changes, 1) << c.Name;
    // The same list again changes nothing.
    list->SetHandle(lent);
    EXPECT_EQ(changes, 1) << c.Name;
    list.reset();
    EXPECT_EQ(Alive(lent), c.NewAlive) << c.Name;
    if (c.Shared) {
      ImageList_Destroy(lent);
      ImageList_Destroy(old);
    }
  }
}

}  // namespace
