// Display monitors as Screen lists them.
#pragma once

#include <windows.h>

#include "widgets/rtl/sysutils.h"

// What a monitor lookup answers for a place on no monitor.
enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

// One display monitor. Its rectangles are read from the system on each call,
// so a moved task bar shows in WorkareaRect at once.
class TMonitor {
 public:
  TMonitor(HMONITOR Handle, int MonitorNum) : handle_(Handle), monitorNum_(MonitorNum) {}
  HMONITOR Handle() const { return handle_; }
  // Its index in Screen's list.
  int MonitorNum() const { return monitorNum_; }
  bool Primary() const;
  // In virtual-screen coordinates; empty once the monitor is gone.
  TRect BoundsRect() const;
  // The part not covered by task bars and docked tool bars.
  TRect WorkareaRect() const;
  int Left() const { return BoundsRect().Left; }
  int Top() const { return BoundsRect().Top; }
  int Width() const { return BoundsRect().Width(); }
  int Height() const { return BoundsRect().Height(); }

 private:
  MONITORINFO Info() const;

  HMONITOR handle_;
  int monitorNum_;
};
