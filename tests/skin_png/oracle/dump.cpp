// Writes generated PNG files and the true 16-bit RGBA of each pixel, so that
// an independent decoder can confirm what the generator writes.
#include <cstdio>
#include <fstream>
#include "png_writer.h"
int main(int argc, char** argv) {
  const char* dir = argc > 1 ? argv[1] : ".";
  struct F {
    uint8_t t, d;
    bool trns;
  } fs[] = {{0, 1}, {0, 2}, {0, 4},       {0, 8},       {0, 16}, {2, 8},  {2, 16}, {3, 1}, {3, 2},
            {3, 4}, {3, 8}, {3, 2, true}, {3, 8, true}, {4, 8},  {4, 16}, {6, 8},  {6, 16}};
  int n = 0;
  uint64_t seed = 5;
  for (auto f : fs)
    for (int il = 0; il < 2; ++il)
      for (uint32_t w : {1u, 3u, 7u, 13u}) {
        PngDesc s;
        s.Width = w;
        s.Height = w == 1 ? 1 : 5;
        s.ColorType = f.t;
        s.BitDepth = f.d;
        s.Interlaced = il;
        s.FilterBase = int(seed % 5);
        FillSamples(s, ++seed);
        if (f.trns) s.Transparency = std::vector<uint8_t>(s.Palette.size() / 6, 0x40);
        auto file = EncodePng(s);
        char name[512];
        std::snprintf(name, sizeof name, "%s/c%03d.png", dir, n);
        std::ofstream(name, std::ios::binary).write((const char*)file.data(), file.size());
        std::snprintf(name, sizeof name, "%s/c%03d.rgba16", dir, n++);
        std::ofstream out(name, std::ios::binary);
        int ch = ChannelsOf(s.ColorType);
        uint32_t mx = s.BitDepth == 16 ? 65535 : (1u << s.BitDepth) - 1;
        for (size_t i = 0; i < size_t(s.Width) * s.Height; ++i) {
          const uint16_t* p = &s.Samples[i * ch];
          uint32_t v[4];
          auto sc = [&](uint32_t x) { return x * 65535 / mx; };
          switch (s.ColorType) {
            case 0:
              v[0] = v[1] = v[2] = sc(p[0]);
              v[3] = 65535;
              break;
            case 4:
              v[0] = v[1] = v[2] = sc(p[0]);
              v[3] = sc(p[1]);
              break;
            case 2:
              v[0] = sc(p[0]);
              v[1] = sc(p[1]);
              v[2] = sc(p[2]);
              v[3] = 65535;
              break;
            case 6:
              for (int c = 0; c < 4; ++c) v[c] = sc(p[c]);
              break;
            default:
              for (int c = 0; c < 3; ++c) v[c] = s.Palette[p[0] * 3 + c] * 257u;
              v[3] = s.Transparency && p[0] < s.Transparency->size()
                         ? (*s.Transparency)[p[0]] * 257u
                         : 65535;
          }
          for (int c = 0; c < 4; ++c) {
            out.put(char(v[c] >> 8));
            out.put(char(v[c]));
          }
        }
      }
  std::printf("%d files\n", n);
}
