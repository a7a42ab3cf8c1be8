#include "test_support.h"

#include "widgets/graphics/gdi_handles.h"

TCapture CaptureClient(HWND Wnd) {
  TCapture c;
  RECT rc;
  GetClientRect(Wnd, &rc);
  c.Width = rc.right;
  c.Height = rc.bottom;
  if (c.Width <= 0 || c.Height <= 0) return c;
  TWindowDC screen(Wnd);
  TMemoryDC mem(CreateCompatibleDC(screen.Get()));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = c.Width;
  bi.bmiHeader.biHeight = -c.Height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TOwnedBitmap dib(CreateDIBSection(mem.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return c;
  {
    TSelectedObject select(mem.Get(), dib.Get());
    BitBlt(mem.Get(), 0, 0, c.Width, c.Height, screen.Get(), 0, 0, SRCCOPY);
    GdiFlush();
  }
  const auto* p = static_cast<const uint32_t*>(bits);
  c.Pixels.resize(static_cast<size_t>(c.Width) * c.Height);
  for (size_t i = 0; i < c.Pixels.size(); ++i) {
    const uint32_t v = p[i];  // blue, green, red, unused
    c.Pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  return c;
}
