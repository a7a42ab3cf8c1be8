// Owners of Win32 graphics and module handles. Each type is move-only and
// releases its handle exactly once, with the call that matches how the
// handle was obtained (DeleteObject, DeleteDC, ReleaseDC, DestroyIcon,
// FreeLibrary). Detach() gives up ownership without releasing.
#pragma once

#include <windows.h>

#include <utility>

template <typename H, typename Traits>
class TOwnedHandle {
 public:
  TOwnedHandle() = default;
  explicit TOwnedHandle(H h) : h_(h) {}
  TOwnedHandle(const TOwnedHandle&) = delete;
  TOwnedHandle& operator=(const TOwnedHandle&) = delete;
  TOwnedHandle(TOwnedHandle&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  TOwnedHandle& operator=(TOwnedHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, H{}));
    return *this;
  }
  ~TOwnedHandle() { Reset(); }

  H Get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }
  // Releases the held handle (if any) and takes ownership of h.
  void Reset(H h = H{}) {
    H old = std::exchange(h_, h);
    if (old != H{} && old != h) Traits::Free(old);
  }
  [[nodiscard]] H Detach() { return std::exchange(h_, H{}); }

 private:
  H h_{};
};

struct TGdiObjectTraits {
  static void Free(HGDIOBJ h) { DeleteObject(h); }
};
struct TMemoryDCTraits {
  static void Free(HDC dc) { DeleteDC(dc); }
};
struct TIconTraits {
  static void Free(HICON h) { DestroyIcon(h); }
};
struct TMenuTraits {
  static void Free(HMENU h) { DestroyMenu(h); }
};
struct TModuleTraits {
  static void Free(HMODULE h) { FreeLibrary(h); }
};

using TOwnedFont = TOwnedHandle<HFONT, TGdiObjectTraits>;
using TOwnedBrush = TOwnedHandle<HBRUSH, TGdiObjectTraits>;
using TOwnedPen = TOwnedHandle<HPEN, TGdiObjectTraits>;
using TOwnedBitmap = TOwnedHandle<HBITMAP, TGdiObjectTraits>;
using TOwnedPalette = TOwnedHandle<HPALETTE, TGdiObjectTraits>;
using TOwnedRegion = TOwnedHandle<HRGN, TGdiObjectTraits>;
// A DC from CreateCompatibleDC or CreateDC: released with DeleteDC.
using TMemoryDC = TOwnedHandle<HDC, TMemoryDCTraits>;
// An icon or cursor from CreateIconIndirect/CopyIcon/LoadImage (not shared).
using TOwnedIcon = TOwnedHandle<HICON, TIconTraits>;
// A menu from CreateMenu/CreatePopupMenu: DestroyMenu also destroys the
// submenus still attached, so owners detach theirs first.
using TOwnedMenu = TOwnedHandle<HMENU, TMenuTraits>;
// A module from LoadLibrary: released with FreeLibrary.
using TOwnedModule = TOwnedHandle<HMODULE, TModuleTraits>;

// A DC from GetDC/GetWindowDC: released with ReleaseDC on the same window.
class TWindowDC {
 public:
  TWindowDC() = default;
  // Takes GetDC(wnd); wnd may be null for the screen.
  explicit TWindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
  // Adopts a DC that was obtained from GetDC/GetWindowDC/GetDCEx on wnd.
  TWindowDC(HWND wnd, HDC dc) : wnd_(wnd), dc_(dc) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  TWindowDC(TWindowDC&& o) noexcept
      : wnd_(std::exchange(o.wnd_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
  TWindowDC& operator=(TWindowDC&& o) noexcept {
    if (this != &o) {
      Reset();
      wnd_ = std::exchange(o.wnd_, nullptr);
      dc_ = std::exchange(o.dc_, nullptr);
    }
    return *this;
  }
  ~TWindowDC() { Reset(); }

  HDC Get() const { return dc_; }
  HWND Window() const { return wnd_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void Reset() {
    if (dc_) ReleaseDC(wnd_, dc_);
    dc_ = nullptr;
    wnd_ = nullptr;
  }

 private:
  HWND wnd_ = nullptr;
  HDC dc_ = nullptr;
};

// Selects an object into a DC for a scope and selects the previous one back.
class TSelectedObject {
 public:
  TSelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  TSelectedObject(const TSelectedObject&) = delete;
  TSelectedObject& operator=(const TSelectedObject&) = delete;
  ~TSelectedObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC for a scope, RestoreDC at its end.
class TSavedDC {
 public:
  explicit TSavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;
  ~TSavedDC() {
    if (id_) RestoreDC(dc_, id_);
  }

 private:
  HDC dc_;
  int id_;
};
