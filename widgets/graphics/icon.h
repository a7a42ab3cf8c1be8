// TIcon: an icon handle (adopted and owned) with .ico streaming.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "widgets/graphics/image.h"

class TIcon : public TGraphic {
  DECLARE_GRAPHIC(TIcon, TGraphic)
 public:
  bool Empty() const override { return !handle_ && data_.empty(); }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // Before an icon is loaded these choose the image LoadFromStream picks;
  // an icon that holds an image cannot change its size (raises).
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  HICON Handle();
  // Adopts the icon: it is destroyed by this object later.
  void SetHandle(HICON Value);
  bool HandleAllocated() const { return static_cast<bool>(handle_); }
  // Hands the icon to the caller and leaves this object empty.
  HICON ReleaseHandle();

  // An .ico file: the image of the system icon width (SM_CXICON, or the
  // width set before loading) when the file has one, else the first.
  void LoadFromStream(TStream& Stream) override;
  // The bytes that were loaded, else a one-image .ico of the handle.
  void SaveToStream(TStream& Stream) override;
  void Assign(TPersistent* Source) override;

 protected:
  void Draw(TCanvas& ACanvas, const TRect& Rect) override;

 private:
  void LoadIco(std::vector<uint8_t> data);
  std::vector<uint8_t> IcoFromHandle();

  TOwnedIcon handle_;
  std::vector<uint8_t> data_;  // the .ico bytes the icon came from
  int width_ = 0;
  int height_ = 0;
};
