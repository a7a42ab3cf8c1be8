#include "widgets/graphics/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/pixels.h"
#include "widgets/rtl/streams.h"

extern "C" {
#include <jpeglib.h>
}

namespace {

struct TJpegError {
  jpeg_error_mgr Pub;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr c) {
  auto* e = reinterpret_cast<TJpegError*>(c->err);
  (*c->err->format_message)(c, e->Message);
  std::longjmp(e->Jump, 1);
}

void NoOutput(j_common_ptr) {}

// Decodes into top-down BGR rows. Only plain data lives across the setjmp
// point, so the long jump out of libjpeg skips no destructor. Returns the
// libjpeg message on failure, empty on success.
std::string DecodeRows(const uint8_t* data, size_t size, int& width, int& height,
                       std::vector<uint8_t>& bgr) {
  jpeg_decompress_struct cinfo;
  TJpegError err;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err.Pub);
  err.Pub.error_exit = ErrorExit;
  err.Pub.output_message = NoOutput;
  err.Message[0] = 0;
  if (setjmp(err.Jump)) {
    jpeg_destroy_decompress(&cinfo);
    return err.Message[0] ? err.Message : "JPEG data is not valid";
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  const int64_t w = cinfo.output_width, h = cinfo.output_height;
  const int comps = cinfo.output_components;
  if (w <= 0 || h <= 0 || w * h * 4 > gfx::kMaxImageBytes || (comps != 3 && comps != 4)) {
    jpeg_destroy_decompress(&cinfo);
    return "JPEG image size is not supported";
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  bgr.assign(static_cast<size_t>(w * h * 3), 0);
  // libjpeg owns the one-line sample buffer (freed with the decompressor).
  JSAMPARRAY line = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                               static_cast<JDIMENSION>(w * comps), 1);
  const bool inverted = cmyk && cinfo.saw_Adobe_marker;
  while (cinfo.output_scanline < cinfo.output_height) {
    size_t y = cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, line, 1);
    const JSAMPLE* s = line[0];
    uint8_t* d = bgr.data() + y * static_cast<size_t>(w) * 3;
    for (int64_t x = 0; x < w; ++x, d += 3) {
      if (comps == 3) {
        d[0] = s[x * 3 + 2];
        d[1] = s[x * 3 + 1];
        d[2] = s[x * 3];
      } else {
        int c = s[x * 4], m = s[x * 4 + 1], yy = s[x * 4 + 2], k = s[x * 4 + 3];
        if (!inverted) {
          c = 255 - c;
          m = 255 - m;
          yy = 255 - yy;
          k = 255 - k;
        }
        d[0] = static_cast<uint8_t>(yy * k / 255);
        d[1] = static_cast<uint8_t>(m * k / 255);
        d[2] = static_cast<uint8_t>(c * k / 255);
      }
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return {};
}

}  // namespace

const TClassInfo& TJPEGImage::StaticClass() {
  static const TClassInfo info("TJPEGImage", &TGraphic::StaticClass());
  return info;
}

TJPEGImage::TJPEGImage() : bitmap_(new TBitmap) {}

TJPEGImage::~TJPEGImage() {
  delete bitmap_;
}

void DecodeJpegBgr(const uint8_t* Data, size_t Size, int& Width, int& Height,
                   std::vector<uint8_t>& Bgr) {
  if (Size > static_cast<size_t>(gfx::kMaxImageBytes))
    throw EInvalidGraphic("JPEG error: data too large");
  const std::string error =
      Size == 0 ? "JPEG data is empty" : DecodeRows(Data, Size, Width, Height, Bgr);
  if (!error.empty()) throw EInvalidGraphic("JPEG error: " + error);
}

void TJPEGImage::Decode(const std::vector<uint8_t>& data) {
  int w = 0, h = 0;
  std::vector<uint8_t> bgr;
  DecodeJpegBgr(data.data(), data.size(), w, h, bgr);
  auto* bmp = new TBitmap;
  try {
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(w, h);
    for (int y = 0; y < h; ++y)
      std::memcpy(bmp->ScanLine(y), bgr.data() + static_cast<size_t>(y) * w * 3,
                  static_cast<size_t>(w) * 3);
  } catch (...) {
    delete bmp;
    throw;
  }
  delete bitmap_;
  bitmap_ = bmp;
}

void TJPEGImage::LoadFromStream(TStream& Stream) {
  const TRect none;
  Progress(this, psStarting, 0, false, none, "");
  try {
    int32_t size = Stream.Size() - Stream.Position();
    if (size < 0 || size > gfx::kMaxImageBytes) throw EInvalidGraphic("JPEG error: data too large");
    std::vector<uint8_t> data(static_cast<size_t>(size));
    if (size) Stream.ReadBuffer(data.data(), size);
    Changing(this);
    Decode(data);
    data_ = std::move(data);
  } catch (...) {
    Progress(this, psEnding, 100, false, none, "");
    throw;
  }
  Progress(this, psEnding, 100, false, none, "");
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream& Stream) {
  if (!data_.empty()) Stream.WriteBuffer(data_.data(), static_cast<int32_t>(data_.size()));
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    Changing(this);
    bitmap_->Assign(j->bitmap_);
    data_ = j->data_;
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    b->Assign(bitmap_);
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TJPEGImage::Draw(TCanvas& ACanvas, const TRect& Rect) {
  ACanvas.StretchDraw(Rect, bitmap_);
}
