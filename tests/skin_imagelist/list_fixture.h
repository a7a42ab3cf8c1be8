// A fixture that makes alpha image lists and frees them, and keeps the
// start-up values the tests change (the platform version) as they were.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/alpha_image_list.h"
#include "skin/foundation/skin_const.h"
#include "tests/skin_imagelist/image_files.h"

class ListTest : public testing::Test {
 protected:
  void TearDown() override {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it) TObject::Free(*it);
    WindowsVersion = savedVersion_;
  }
  TsAlphaImageList* NewList() {
    lists_.push_back(New<TsAlphaImageList>(nullptr));
    return lists_.back();
  }
  // A list of the given files, built.
  TsAlphaImageList* ListOf(const std::vector<Bytes>& Files, TsImageFormat Format = ifPNG) {
    TsAlphaImageList* list = NewList();
    for (const Bytes& f : Files) AddFile(list, f, Format);
    list->GenerateImages();
    return list;
  }

 private:
  std::vector<TsAlphaImageList*> lists_;
  int32_t savedVersion_ = WindowsVersion;
};

inline int IconWidth(TsAlphaImageList* List) {
  int w = 0, h = 0;
  ImageList_GetIconSize(List->Handle(), &w, &h);
  return w;
}
