// Decodes the same generated PNG files four ways in one run and prints the
// time of each and the ratios:
//   library  the road the library's callers take: a memory stream into a
//            32-bit TBitmap through LoadPngStreamToBitmap (the loading helper: a
//            TPNGGraphic, then ConvertPngToArgb);
//   graphic  that road spelt out: TPNGGraphic::LoadFromStream, then
//            ConvertPngToArgb into a 32-bit TBitmap;
//   bare     the reader alone, decoding into a 32-bit pixel block;
//   WIC      the platform's codec (the Windows Imaging Component), decoding
//            into 32-bit BGRA memory.
// The four are timed in alternating rounds, so that a change in the
// machine's load touches all of them alike; each figure is the median round.
// The pixels of the library road are compared with the platform's: the
// largest difference of one channel is printed (0 = identical).
//
// The two library roads make a new bitmap every decode, as a caller that
// keeps the image needs; bare and WIC write into one block kept between
// decodes. The first write to each page of new memory costs a page fault,
// and on machines where those are dear (a virtual machine with shadow page
// tables: about 10 us per 4 KB page, 40 ms for a 2000 x 2000 image, twice
// the decode itself) that alone can decide the ratios. --fresh gives bare
// and WIC a new block every decode too, so that all four pay alike.
//
//   png_benchmark.exe [--quick] [--fresh] [class name part, e.g. "RGBA 16"]
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "png_writer.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/png_graphic.h"
#include "skin/foundation/png_reader.h"
#include "widgets/rtl/streams.h"

namespace {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** Out() {
    Reset();
    return &p_;
  }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
  ~ComApartment() {
    if (ok_) CoUninitialize();
  }
  bool Ok() const { return ok_; }

 private:
  bool ok_;
};

struct Class {
  const char* Name;
  uint8_t ColorType, Depth;
  bool Interlaced, Trns, Gamma;
};

std::vector<uint8_t> MakeFile(const Class& c, uint32_t size) {
  PngDesc s;
  s.Width = s.Height = size;
  s.ColorType = c.ColorType;
  s.BitDepth = c.Depth;
  s.Interlaced = c.Interlaced;
  s.Filters = FilterChoice::Adaptive;
  FillSamples(s, size * 31 + c.ColorType * 7 + c.Depth, /*smooth=*/true);
  if (c.Trns) {
    // Half the palette with graded transparency, the rest opaque.
    std::vector<uint8_t> alpha(s.Palette.size() / 6);
    for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = uint8_t(i * 255 / alpha.size());
    s.Transparency = alpha;
  }
  // The usual value of files that carry one: with the display gamma of 2.2
  // the correction is the identity, so the pixels stay comparable.
  if (c.Gamma) s.Gamma = 45455;
  return EncodePng(s);
}

// Top-down BGRA words, as the other two deliver them.
std::vector<uint32_t> PixelsOf(TBitmap& bitmap) {
  const PixelView v = ArgbView(&bitmap);
  std::vector<uint32_t> out;
  for (int y = 0; y < v.Height; ++y) out.insert(out.end(), v.Row(y), v.Row(y) + v.Width);
  return out;
}

bool DecodeHelper(TMemoryStream& stream, std::vector<uint32_t>* pixels) {
  stream.SetPosition(0);
  TBitmap bitmap;
  LoadPngStreamToBitmap(&bitmap, stream);
  if (pixels != nullptr) *pixels = PixelsOf(bitmap);
  return bitmap.Width() > 0;
}

bool DecodeGraphic(TMemoryStream& stream, std::vector<uint32_t>* pixels) {
  stream.SetPosition(0);
  TPNGGraphic png;
  png.LoadFromStream(stream);
  TBitmap bitmap;
  ConvertPngToArgb(&bitmap, &png);
  if (pixels != nullptr) *pixels = PixelsOf(bitmap);
  return bitmap.Width() > 0;
}

bool DecodeBare(const std::vector<uint8_t>& file, std::vector<uint32_t>& out) {
  TColorManager cm;
  PngReader reader(cm);
  if (!reader.ReadImageHeader(file.data(), file.size())) return false;
  const uint32_t w = reader.Properties().ImageWidth, h = reader.Properties().ImageHeight;
  out.resize(size_t{w} * h);
  reader.LoadFromMemory(
      file.data(), file.size(),
      {reinterpret_cast<uint8_t*>(out.data()), static_cast<ptrdiff_t>(w) * 4, w, h});
  return true;
}

bool DecodeWic(IWICImagingFactory* factory, const std::vector<uint8_t>& file,
               std::vector<uint32_t>& out) {
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Out()))) return false;
  if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), DWORD(file.size()))))
    return false;
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Out()))) return false;
  if (FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand))) return false;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Out()))) return false;
  ComPtr<IWICBitmapSource> bgra;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), bgra.Out())))
    return false;
  UINT w = 0, h = 0;
  bgra->GetSize(&w, &h);
  out.resize(size_t{w} * h);
  return SUCCEEDED(
      bgra->CopyPixels(nullptr, w * 4, UINT(out.size() * 4), reinterpret_cast<BYTE*>(out.data())));
}

// Median time per decode, in microseconds, of each of the decoders, run in
// alternating rounds within the budget.
std::vector<double> TimeAlternating(const std::vector<std::function<bool()>>& decoders,
                                    double budgetSeconds) {
  using Clock = std::chrono::steady_clock;
  const size_t n = decoders.size();
  std::vector<long> reps(n);
  for (size_t k = 0; k < n; ++k) {
    const auto t0 = Clock::now();
    if (!decoders[k]()) return std::vector<double>(n, -1);
    const double once = std::max(1e-7, std::chrono::duration<double>(Clock::now() - t0).count());
    reps[k] = std::max(1L, long(budgetSeconds / 7 / n / once));
  }
  std::vector<std::vector<double>> times(n);
  for (int round = 0; round < 7; ++round) {
    for (size_t k = 0; k < n; ++k) {
      const auto start = Clock::now();
      for (long i = 0; i < reps[k]; ++i) decoders[k]();
      times[k].push_back(std::chrono::duration<double>(Clock::now() - start).count() / reps[k]);
    }
  }
  std::vector<double> out;
  for (auto& t : times) {
    std::sort(t.begin(), t.end());
    out.push_back(t[t.size() / 2] * 1e6);
  }
  return out;
}

int LargestChannelDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return 256;
  int largest = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    for (int shift = 0; shift < 32; shift += 8) {
      const int d = std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
      largest = std::max(largest, d);
    }
  }
  return largest;
}

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;
  bool fresh = false;
  std::string only;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0)
      quick = true;
    else if (std::strcmp(argv[i], "--fresh") == 0)
      fresh = true;
    else
      only = argv[i];
  }
  ComApartment com;
  ComPtr<IWICImagingFactory> factory;
  if (!com.Ok() ||
      FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())))) {
    std::printf("The Windows Imaging Component is not available.\n");
    return 1;
  }
  const Class classes[] = {
      {"RGB 8", 2, 8, false, false, false},         {"RGBA 8", 6, 8, false, false, false},
      {"palette 8 tRNS", 3, 8, false, true, false}, {"grey 8", 0, 8, false, false, false},
      {"RGBA 16", 6, 16, false, false, false},      {"RGBA 8 Adam7", 6, 8, true, false, false},
      {"RGB 8 gAMA", 2, 8, false, false, true},
  };
  // Skin sizes first (glyphs, buttons, frames), then large images.
  const uint32_t sizes[] = {32, 64, 128, 256, 512, 2000};
  const double budget = quick ? 0.3 : 2.0;
  std::printf("%-15s %5s %9s %11s %11s %11s %11s %8s %8s %8s  %s\n", "class", "size", "bytes",
              "library us", "graphic us", "bare us", "WIC us", "WIC/lib", "WIC/gr", "WIC/bare",
              "largest difference");
  for (const Class& c : classes) {
    if (!only.empty() && std::string(c.Name).find(only) == std::string::npos) continue;
    for (uint32_t size : sizes) {
      const std::vector<uint8_t> file = MakeFile(c, size);
      TMemoryStream stream;
      stream.Write(file.data(), static_cast<int32_t>(file.size()));
      std::vector<uint32_t> library, graphic, bare, wic;
      // A new block per decode when asked, else the one kept in bare / wic.
      auto block = [fresh](std::vector<uint32_t>& kept) -> std::vector<uint32_t>& {
        if (fresh) kept = std::vector<uint32_t>();
        return kept;
      };
      const std::vector<double> t =
          TimeAlternating({[&] { return DecodeHelper(stream, nullptr); },
                           [&] { return DecodeGraphic(stream, nullptr); },
                           [&] { return DecodeBare(file, block(bare)); },
                           [&] { return DecodeWic(factory.Get(), file, block(wic)); }},
                          budget);
      DecodeHelper(stream, &library);
      DecodeGraphic(stream, &graphic);
      std::string same = "WIC failed";
      if (t[3] >= 0) {
        const int d = LargestChannelDifference(library, wic);
        same = d == 0 ? "0 (identical)" : std::to_string(d);
        if (library != bare || library != graphic) same += ", the library's roads differ";
      }
      std::printf("%-15s %5u %9zu %11.1f %11.1f %11.1f %11.1f %8.2f %8.2f %8.2f  %s\n", c.Name,
                  size, file.size(), t[0], t[1], t[2], t[3], t[3] / t[0], t[3] / t[1], t[3] / t[2],
                  same.c_str());
      std::fflush(stdout);
    }
  }
  return 0;
}
