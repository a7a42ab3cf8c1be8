#include "skin/foundation/dib_surface.h"

DibSurface::DibSurface(int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || bits == nullptr) return;
  dc_.Reset(CreateCompatibleDC(nullptr));
  if (!dc_) return;
  selection_.emplace(dc_.Get(), bitmap_.Get());
  view_ = {static_cast<uint8_t*>(bits), static_cast<ptrdiff_t>(width) * 4, width, height};
}
