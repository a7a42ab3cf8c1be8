// A generated caption of 64 KB (paragraphs with B, I, U, FONT COLOR/SIZE and
// a link every dozen words or so, plus entities) laid out 400 px wide on a
// 32-bit bitmap: one measuring and one drawing pass of TsHtml, against
// DrawTextA (DT_CALCRECT, then DT_WORDBREAK) of the same words without tags
// in the same font. Also: the untagged words through TsHtml, the tagged
// caption with the alpha text painter, and 256 KB against 64 KB.
//
// Prints the median time of each and the ratios (goals: tagged at most 4x
// DrawTextA, untagged at most 2.5x, 256 KB at most 4.5x the 64 KB time).
//
//   html_benchmark.exe [--quick]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "benchmarks/support/median_sampler.h"
#include "skin/controls/html_text.h"
#include "skin/engine/skin_units.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/canvas.h"
#include "widgets/rtl/units.h"

namespace {

struct Caption {
  std::string Tagged, Plain;
};

// Deterministic words, tags and entities up to Size bytes of markup.
Caption MakeCaption(size_t Size) {
  static const char* words[] = {"alpha", "bright", "cable",  "delta",  "echo",  "filter",
                                "gain",  "hold",   "input",  "jitter", "knob",  "level",
                                "mix",   "noise",  "output", "patch",  "quiet", "reverb"};
  Caption c;
  unsigned seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  int n = 0;
  while (c.Tagged.size() < Size) {
    const std::string w = words[next() % 18];
    switch (++n % 12) {
      case 1:
        c.Tagged += "<B>" + w + "</B>";
        break;
      case 3:
        c.Tagged += "<I>" + w + "</I>";
        break;
      case 5:
        c.Tagged += "<U>" + w + "</U>";
        break;
      case 7:
        c.Tagged += "<FONT COLOR=#336699 SIZE=+2>" + w + "</FONT>";
        break;
      case 9:
        c.Tagged += "<A HREF='http://example.invalid/" + w + "'>" + w + "</A>";
        break;
      case 11:
        c.Tagged += w + "&amp;&copy;";
        break;
      default:
        c.Tagged += w;
    }
    c.Plain += w;
    if (n % 11 == 0) c.Plain += "&\xA9";
    if (n % 97 == 0) {
      c.Tagged += "<P>";
      c.Plain += "\r\n";
    } else {
      c.Tagged += ' ';
      c.Plain += ' ';
    }
  }
  return c;
}

// The median of Rounds single calls, after one untimed call.
double Time(int Rounds, const std::function<void()>& Work) {
  bench::Samples s;
  bench::Sample(bench::Plan{1, Rounds, 1, 1}, s, Work);
  return s.Median();
}

void RenderBoth(TBitmap& Bitmap, const std::string& Text, bool Alpha) {
  TsHtml html;
  html.Init(&Bitmap, Text, TRect(0, 0, 400, 0), -1, -1);
  html.AlphaText = Alpha;
  TvlLinks links;
  TRect size;
  html.Render(links, true, size);
  html.PenX = html.PenY = 0;
  html.Render(links, false, size);
}

void DrawPlain(TBitmap& Bitmap, const std::string& Text) {
  HDC dc = Bitmap.Canvas()->Handle();
  RECT r{0, 0, 400, 0};
  DrawTextA(dc, Text.data(), static_cast<int>(Text.size()), &r, DT_WORDBREAK | DT_CALCRECT);
  r = RECT{0, 0, 400, r.bottom};
  DrawTextA(dc, Text.data(), static_cast<int>(Text.size()), &r, DT_WORDBREAK);
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const int rounds = quick ? 3 : 9;
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(400, 600);
    bitmap.Canvas()->Font()->SetName("Tahoma");
    bitmap.Canvas()->Font()->SetSize(8);
    bitmap.Canvas()->Brush()->SetStyle(bsClear);
    const Caption small = MakeCaption(64 * 1024);
    const Caption large = MakeCaption(256 * 1024);
    const double plain = Time(rounds, [&] { DrawPlain(bitmap, small.Plain); });
    const double tagged = Time(rounds, [&] { RenderBoth(bitmap, small.Tagged, false); });
    const double untagged = Time(rounds, [&] { RenderBoth(bitmap, small.Plain, false); });
    const double alpha = Time(rounds, [&] { RenderBoth(bitmap, small.Tagged, true); });
    const double big = Time(rounds, [&] { RenderBoth(bitmap, large.Tagged, false); });
    std::printf("DrawTextA, 64 KB words         %8.2f ms\n", plain * 1e3);
    std::printf("TsHtml, 64 KB tagged           %8.2f ms  %5.2fx DrawTextA (goal <= 4)\n",
                tagged * 1e3, tagged / plain);
    std::printf("TsHtml, 64 KB without tags     %8.2f ms  %5.2fx DrawTextA (goal <= 2.5)\n",
                untagged * 1e3, untagged / plain);
    std::printf("TsHtml, 64 KB tagged, alpha    %8.2f ms  %5.2fx DrawTextA\n", alpha * 1e3,
                alpha / plain);
    std::printf("TsHtml, 256 KB tagged          %8.2f ms  %5.2fx the 64 KB time (goal <= 4.5)\n",
                big * 1e3, big / tagged);
  }
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return 0;
}
