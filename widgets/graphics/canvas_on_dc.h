// A canvas lent a DC for the length of one paint.
#pragma once

#include "widgets/graphics/canvas.h"

// Locks a canvas on a DC for one paint and gives the DC up afterwards.
class TCanvasOnDC {
 public:
  TCanvasOnDC(TCanvas& canvas, HDC dc) : canvas_(canvas) {
    canvas_.Lock();
    canvas_.SetHandle(dc);
  }
  TCanvasOnDC(const TCanvasOnDC&) = delete;
  TCanvasOnDC& operator=(const TCanvasOnDC&) = delete;
  ~TCanvasOnDC() {
    canvas_.SetHandle(nullptr);
    canvas_.Unlock();
  }

 private:
  TCanvas& canvas_;
};
