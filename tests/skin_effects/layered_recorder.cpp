#include "layered_recorder.h"

#include "skin/engine/window_animations.h"
#include "skin/foundation/argb_factories.h"

namespace {

std::vector<LayeredPush> pushes;
TUpdateLayeredWindow saved = nullptr;
int failAfter = -1;

BOOL WINAPI RecordPush(HWND Wnd, HDC, POINT* Pos, SIZE* Size, HDC Src, POINT* SrcPos, COLORREF,
                       BLENDFUNCTION* Blend, DWORD Flags) {
  if (failAfter == 0) {
    failAfter = -1;
    throw LayeredPushFailed();
  }
  if (failAfter > 0) --failAfter;
  LayeredPush p{Wnd,
                Blend ? Blend->SourceConstantAlpha : uint8_t{255},
                Blend ? Blend->AlphaFormat : uint8_t{0},
                Flags,
                Pos != nullptr,
                Pos ? *Pos : POINT{},
                Size ? Size->cx : 0,
                Size ? Size->cy : 0,
                {}};
  DIBSECTION ds{};
  HGDIOBJ bmp = Src ? GetCurrentObject(Src, OBJ_BITMAP) : nullptr;
  if (bmp && GetObjectA(bmp, sizeof ds, &ds) == sizeof ds && ds.dsBm.bmBits &&
      ds.dsBm.bmBitsPixel == 32) {
    const int sx = SrcPos ? SrcPos->x : 0, sy = SrcPos ? SrcPos->y : 0;
    const int h = ds.dsBm.bmHeight;
    const bool bottomUp = ds.dsBmih.biHeight > 0;
    auto* base = static_cast<const uint8_t*>(ds.dsBm.bmBits);
    for (int y = 0; y < p.Height; ++y) {
      const int row = bottomUp ? h - 1 - (y + sy) : y + sy;
      const auto* line = reinterpret_cast<const uint32_t*>(base + row * ds.dsBm.bmWidthBytes);
      for (int x = 0; x < p.Width; ++x) p.Pixels.push_back(line[x + sx]);
    }
  }
  pushes.push_back(std::move(p));
  return TRUE;
}

}  // namespace

LayeredRecorder::LayeredRecorder() {
  pushes.clear();
  failAfter = -1;
  saved = UpdateLayeredWindowProc;
  UpdateLayeredWindowProc = RecordPush;
}

void LayeredRecorder::FailAfter(int N) {
  failAfter = N;
}

LayeredRecorder::~LayeredRecorder() {
  failAfter = -1;
  UpdateLayeredWindowProc = saved;
  pushes.clear();
}

std::vector<LayeredPush>& LayeredRecorder::Pushes() {
  return pushes;
}

std::vector<LayeredPush> LayeredRecorder::PushesTo(HWND Wnd) const {
  std::vector<LayeredPush> r;
  for (const LayeredPush& p : pushes)
    if (p.Wnd == Wnd) r.push_back(p);
  return r;
}

int RunHide() {
  int ticks = 0;
  while (HideTimer() && HideTimer()->Carrier && ticks < 200) {
    HideTimer()->Step();
    ++ticks;
  }
  return ticks;
}
