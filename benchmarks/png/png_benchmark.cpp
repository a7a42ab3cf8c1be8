// Decodes the same generated PNG files with our reader and with the platform's
// codec (the Windows Imaging Component), both into 32-bit BGRA memory, and
// prints the time of each and their ratio per file type and size.
//
//   png_benchmark.exe [--quick]
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
#include "skin/foundation/png_reader.h"

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

struct Sample {
  std::string Kind;
  uint32_t Size;
  std::vector<uint8_t> File;
};

Sample MakeSample(const char* kind, uint8_t type, uint8_t depth, bool interlaced, bool trns,
                  uint32_t size) {
  PngSpec s;
  s.Width = s.Height = size;
  s.ColorType = type;
  s.BitDepth = depth;
  s.Interlaced = interlaced;
  s.Filters = FilterChoice::Adaptive;
  FillSamples(s, size * 31 + type * 7 + depth, /*smooth=*/true);
  if (trns) s.Transparency = std::vector<uint8_t>(s.Palette.size() / 6, 0x80);
  return {kind, size, EncodePng(s)};
}

bool DecodeOurs(const std::vector<uint8_t>& file, std::vector<uint8_t>& out) {
  TColorManager cm;
  PngReader reader(cm);
  if (!reader.ReadImageHeader(file.data(), file.size())) return false;
  const uint32_t w = reader.Properties().ImageWidth, h = reader.Properties().ImageHeight;
  out.resize(size_t{w} * h * 4);
  reader.LoadFromMemory(file.data(), file.size(),
                        {out.data(), static_cast<ptrdiff_t>(w) * 4, w, h});
  return true;
}

bool DecodeWic(IWICImagingFactory* factory, const std::vector<uint8_t>& file,
               std::vector<uint8_t>& out) {
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
  out.resize(size_t{w} * h * 4);
  return SUCCEEDED(bgra->CopyPixels(nullptr, w * 4, UINT(out.size()), out.data()));
}

// Median over rounds of the time per decode, in microseconds.
double TimePerDecode(const std::function<bool()>& decode, double budgetSeconds) {
  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  if (!decode()) return -1;
  const double once = std::max(1e-7, std::chrono::duration<double>(Clock::now() - t0).count());
  const int rounds = 5;
  const long perRound = std::max(1L, long(budgetSeconds / rounds / once));
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) {
    const auto start = Clock::now();
    for (long i = 0; i < perRound; ++i) decode();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count() / perRound);
  }
  std::sort(times.begin(), times.end());
  return times[rounds / 2] * 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  ComApartment com;
  ComPtr<IWICImagingFactory> factory;
  if (!com.Ok() ||
      FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())))) {
    std::printf("The Windows Imaging Component is not available.\n");
    return 1;
  }
  struct Type {
    const char* Kind;
    uint8_t ColorType, Depth;
    bool Interlaced, Trns;
  };
  const Type types[] = {
      {"RGBA 8", 6, 8, false, false},      {"RGB 8", 2, 8, false, false},
      {"palette 8", 3, 8, false, false},   {"palette 4 tRNS", 3, 4, false, true},
      {"grey 8", 0, 8, false, false},      {"RGBA 16", 6, 16, false, false},
      {"RGBA 8 Adam7", 6, 8, true, false},
  };
  const uint32_t sizes[] = {64, 128, 256, 2000};
  const double budget = quick ? 0.1 : 1.0;
  std::printf("%-16s %6s %10s %12s %12s %8s  %s\n", "type", "size", "bytes", "ours us", "WIC us",
              "WIC/ours", "pixels");
  for (const Type& t : types) {
    for (uint32_t size : sizes) {
      const Sample s = MakeSample(t.Kind, t.ColorType, t.Depth, t.Interlaced, t.Trns, size);
      std::vector<uint8_t> ours, wic;
      const double oursUs = TimePerDecode([&] { return DecodeOurs(s.File, ours); }, budget);
      const double wicUs =
          TimePerDecode([&] { return DecodeWic(factory.Get(), s.File, wic); }, budget);
      const char* same = wicUs < 0 ? "WIC failed" : ours == wic ? "identical" : "differ";
      std::printf("%-16s %6u %10zu %12.1f %12.1f %8.2f  %s\n", t.Kind, size, s.File.size(), oursUs,
                  wicUs, wicUs / oursUs, same);
      std::fflush(stdout);
    }
  }
  return 0;
}
