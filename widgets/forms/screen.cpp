// TScreen: the display monitors and the cursor table.
#include <algorithm>

#include "widgets/forms/forms.h"

MONITORINFO TMonitor::Info() const {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoA(handle_, &mi)) mi = MONITORINFO{};
  return mi;
}

bool TMonitor::Primary() const {
  return (Info().dwFlags & MONITORINFOF_PRIMARY) != 0;
}

TRect TMonitor::BoundsRect() const {
  return Info().rcMonitor;
}

TRect TMonitor::WorkareaRect() const {
  return Info().rcWork;
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
  return TRUE;
}

}  // namespace

// The list keeps its objects while the set of monitors stays the same, so
// pointers handed out stay valid until a monitor comes or goes.
void TScreen::UpdateMonitors() {
  std::vector<HMONITOR> now;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&now));
  bool same = now.size() == monitors_.size() &&
              std::equal(now.begin(), now.end(), monitors_.begin(),
                         [](HMONITOR h, const auto& m) { return m->Handle() == h; });
  if (same) return;
  monitors_.clear();
  for (size_t i = 0; i < now.size(); ++i)
    monitors_.push_back(std::make_unique<TMonitor>(now[i], static_cast<int>(i)));
}

int TScreen::MonitorCount() {
  UpdateMonitors();
  return static_cast<int>(monitors_.size());
}

TMonitor* TScreen::Monitors(int Index) {
  if (monitors_.empty()) UpdateMonitors();
  return monitors_.at(static_cast<size_t>(Index)).get();
}

TMonitor* TScreen::FindMonitor(HMONITOR Handle) {
  if (!Handle) return nullptr;
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& m : monitors_)
      if (m->Handle() == Handle) return m.get();
    UpdateMonitors();
  }
  return nullptr;
}

namespace {

DWORD MonitorFlags(TMonitorDefaultTo Default) {
  switch (Default) {
    case mdNull:
      return MONITOR_DEFAULTTONULL;
    case mdPrimary:
      return MONITOR_DEFAULTTOPRIMARY;
    default:
      return MONITOR_DEFAULTTONEAREST;
  }
}

}  // namespace

TMonitor* TScreen::MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default) {
  return FindMonitor(::MonitorFromPoint(Point, MonitorFlags(Default)));
}

TMonitor* TScreen::MonitorFromWindow(HWND Wnd, TMonitorDefaultTo Default) {
  return FindMonitor(::MonitorFromWindow(Wnd, MonitorFlags(Default)));
}

HCURSOR TScreen::Cursors(TCursor Index) const {
  for (const auto& [index, cursor] : cursors_)
    if (index == Index) return cursor;
  // An unknown number gets the arrow.
  return StandardCursor(Index);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Cursor) {
  std::erase_if(cursors_, [&](const auto& c) { return c.first == Index; });
  if (Cursor) cursors_.emplace_back(Index, Cursor);
}
