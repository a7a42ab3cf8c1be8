// Where the track bar's ticks and progress span lie, and the mirror of a
// thumb image: the arithmetic of the paint, free of windows.
#include <cmath>
#include <utility>

#include "skin/controls/track_bar.h"
#include "skin/foundation/argb_bitmap.h"

std::vector<int> LayOutTicks(const TTickLayout& L) {
  std::vector<int> ticks;
  const int n = L.Count;
  if (L.Style == tsNone || n < 2) return ticks;
  const int h = L.ThumbLength / 2;
  ticks.resize(static_cast<size_t>(n));
  if (L.Style == tsAuto) {
    const long double step =
        static_cast<long double>(L.ChannelEnd - L.ChannelStart - L.ThumbLength) / (n - 1);
    for (int i = 0; i < n; ++i)
      ticks[static_cast<size_t>(i)] = static_cast<int>(std::lround(i * step + L.ChannelStart + h));
    return ticks;
  }
  ticks.front() = L.ChannelStart + h;
  for (int i = 1; i < n - 1; ++i)
    ticks[static_cast<size_t>(i)] =
        static_cast<size_t>(i - 1) < L.Inner.size() ? L.Inner[static_cast<size_t>(i - 1)] : 0;
  ticks.back() = L.ChannelEnd - h;
  return ticks;
}

std::pair<int, int> ProgressSpan(const TProgressInput& In) {
  const int length = In.End - In.Start;
  const int from = std::max(0, In.From - In.Min);
  int p, f;
  if (In.Min == In.Max) {
    p = In.Position - In.Min;
    f = from;
  } else {
    const double range = In.Max - In.Min;
    p = static_cast<int>(std::lround(length * (In.Position - In.Min) / range));
    f = static_cast<int>(std::lround(length * from / range));
  }
  const int lo = std::min(p, f), hi = std::max(p, f);
  if (In.Reversed) return {In.End - hi, In.End - lo};
  return {In.Start + lo, In.Start + hi};
}

void MirrorBitmap(TBitmap* Bitmap, bool Vertical) {
  PixelView v = ArgbView(Bitmap);
  if (!v.Valid()) return;
  const int w = v.Width, h = v.Height;
  if (Vertical) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w / 2; ++x) std::swap(v.At(x, y), v.At(w - 1 - x, y));
  } else {
    for (int y = 0; y < h / 2; ++y)
      for (int x = 0; x < w; ++x) std::swap(v.At(x, y), v.At(x, h - 1 - y));
  }
}
