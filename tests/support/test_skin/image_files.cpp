#include "image_files.h"

#include <cstdio>
// libjpeg's header needs the standard I/O declarations first.
#include <jpeglib.h>

#include <algorithm>
#include <stdexcept>

#include "png_writer.h"

namespace test_skin {
namespace {

void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

uint32_t GetLE(const std::vector<uint8_t>& in, size_t at, int bytes) {
  if (at + size_t(bytes) > in.size()) throw std::invalid_argument("BMP too short");
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t(in[at + size_t(i)]) << (8 * i);
  return v;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Raster& image, int bitsPerPixel) {
  if (bitsPerPixel != 24 && bitsPerPixel != 32) throw std::invalid_argument("BMP depth");
  const int bytesPerPixel = bitsPerPixel / 8;
  const uint32_t stride = (uint32_t(image.Width) * bytesPerPixel + 3) & ~3u;
  const uint32_t dataSize = stride * uint32_t(image.Height);
  std::vector<uint8_t> out;
  out.reserve(54 + dataSize);
  out.push_back('B');
  out.push_back('M');
  PutLE(out, 54 + dataSize, 4);
  PutLE(out, 0, 4);
  PutLE(out, 54, 4);
  PutLE(out, 40, 4);
  PutLE(out, uint32_t(image.Width), 4);
  PutLE(out, uint32_t(image.Height), 4);
  PutLE(out, 1, 2);
  PutLE(out, uint32_t(bitsPerPixel), 2);
  PutLE(out, 0, 4);  // BI_RGB
  PutLE(out, dataSize, 4);
  PutLE(out, 2835, 4);  // 72 dpi
  PutLE(out, 2835, 4);
  PutLE(out, 0, 4);
  PutLE(out, 0, 4);
  for (int y = image.Height - 1; y >= 0; --y) {
    const size_t rowStart = out.size();
    for (int x = 0; x < image.Width; ++x) PutLE(out, image.At(x, y), bytesPerPixel);
    out.resize(rowStart + stride, 0);
  }
  return out;
}

Raster DecodeBmp(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
    throw std::invalid_argument("not a BMP");
  const uint32_t offset = GetLE(bytes, 10, 4);
  const int width = int(GetLE(bytes, 18, 4)), height = int(GetLE(bytes, 22, 4));
  const int bitsPerPixel = int(GetLE(bytes, 28, 2));
  if ((bitsPerPixel != 24 && bitsPerPixel != 32) || width <= 0 || height <= 0 ||
      GetLE(bytes, 30, 4) != 0)
    throw std::invalid_argument("BMP form not written by EncodeBmp");
  const int bytesPerPixel = bitsPerPixel / 8;
  const size_t stride = (size_t(width) * size_t(bytesPerPixel) + 3) & ~size_t(3);
  Raster image(width, height);
  for (int y = 0; y < height; ++y) {
    const size_t row = offset + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const uint32_t v = GetLE(bytes, row + size_t(x) * size_t(bytesPerPixel), bytesPerPixel);
      image.Set(x, y, bytesPerPixel == 3 ? v | 0xFF000000u : v);
    }
  }
  return image;
}

std::vector<uint8_t> EncodePngArgb(const Raster& image) {
  PngDesc desc;
  desc.Width = uint32_t(image.Width);
  desc.Height = uint32_t(image.Height);
  desc.ColorType = 6;
  desc.BitDepth = 8;
  desc.Filters = FilterChoice::Adaptive;
  desc.Samples.reserve(image.Pixels.size() * 4);
  for (uint32_t argb : image.Pixels) {
    desc.Samples.push_back(uint16_t((argb >> 16) & 0xFF));
    desc.Samples.push_back(uint16_t((argb >> 8) & 0xFF));
    desc.Samples.push_back(uint16_t(argb & 0xFF));
    desc.Samples.push_back(uint16_t(argb >> 24));
  }
  return EncodePng(desc);
}

std::vector<uint8_t> EncodeJpeg(const Raster& image) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = JDIMENSION(image.Width);
  c.image_height = JDIMENSION(image.Height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  for (int i = 0; i < c.num_components; ++i) {
    c.comp_info[i].h_samp_factor = 1;
    c.comp_info[i].v_samp_factor = 1;
  }
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t(image.Width) * 3);
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      const uint32_t p = image.At(x, y);
      row[x * 3] = uint8_t(p >> 16);
      row[x * 3 + 1] = uint8_t(p >> 8);
      row[x * 3 + 2] = uint8_t(p);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> out(buffer, buffer + size);
  free(buffer);
  return out;
}

uint32_t PremultipliedNoComposition(uint32_t argb) {
  if (argb == 0x00FFFFFF) return 0;
  const uint32_t a = argb >> 24;
  const uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  const bool bright = r >= 245 && g >= 245 && b >= 245;
  auto scale = [&](uint32_t c) {
    return bright ? std::min<uint32_t>(244, c * a >> 8) : c * a >> 8;
  };
  return (a << 24) | (scale(r) << 16) | (scale(g) << 8) | scale(b);
}

}  // namespace test_skin
