// TJPEGImage: a JPEG picture decoded with libjpeg into a 24-bit bitmap.
// Registered with TPicture for "jpg" and "jpeg".
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/graphics/bitmap.h"

// Decodes a JPEG held in memory into top-down BGR rows of Width * 3 bytes
// each, unpadded: the pixels TJPEGImage shows. Raises EInvalidGraphic as
// TJPEGImage::LoadFromStream does.
void DecodeJpegBgr(const uint8_t* Data, size_t Size, int& Width, int& Height,
                   std::vector<uint8_t>& Bgr);

class TJPEGImage : public TGraphic {
  DECLARE_GRAPHIC(TJPEGImage, TGraphic)
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  bool Empty() const override { return bitmap_->Empty(); }
  int Width() const override { return bitmap_->Width(); }
  int Height() const override { return bitmap_->Height(); }
  // The size comes from the image data only.
  void SetWidth(int) override {}
  void SetHeight(int) override {}

  // Reads the rest of the stream as one JPEG image; raises EInvalidGraphic
  // ("JPEG error #n: ...") for data libjpeg rejects. Progress reports
  // psStarting and psEnding (the latter also after a failure).
  void LoadFromStream(TStream& Stream) override;
  // Writes the bytes that were loaded.
  void SaveToStream(TStream& Stream) override;
  void Assign(TPersistent* Source) override;
  // The decoded pixels (pf24bit).
  TBitmap* Bitmap() const { return bitmap_; }

 protected:
  void Draw(TCanvas& ACanvas, const TRect& Rect) override;
  // A bitmap receives the decoded pixels as a 24-bit image.
  void AssignTo(TPersistent* Dest) override;

 private:
  void Decode(const std::vector<uint8_t>& data);

  std::vector<uint8_t> data_;
  TBitmap* bitmap_;
};
