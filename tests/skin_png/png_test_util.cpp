#include "png_test_util.h"

#include <cstring>

#include "skin/foundation/png_errors.h"

long g_pngMutationCount = 5000;

DecodeResult DecodeGuarded(const std::vector<uint8_t>& file, TColorManager* shared,
                           uint64_t maxPixels) {
  constexpr size_t kGuard = 64;
  constexpr uint8_t kGuardByte = 0xA5;
  DecodeResult result;
  TColorManager own;
  PngReader reader(shared ? *shared : own);
  std::vector<uint8_t> block;
  try {
    if (!reader.ReadImageHeader(file.data(), file.size())) {
      // The load must refuse such a file too.
      uint32_t unused = 0;
      const ArgbTarget any{reinterpret_cast<uint8_t*>(&unused), 4, 1, 1};
      reader.LoadFromMemory(file.data(), file.size(), any);
      result.Message = "header refused but the load succeeded";
      result.GuardsIntact = false;
      return result;
    }
    const uint32_t w = reader.Properties().ImageWidth, h = reader.Properties().ImageHeight;
    if (uint64_t{w} * h > maxPixels) return result;
    const size_t stride = size_t{w} * 4;
    block.assign(2 * kGuard + stride * h, kGuardByte);
    // A bottom-up target: row 0 is the last row in memory.
    const ArgbTarget target{block.data() + kGuard + stride * (h - 1),
                            -static_cast<ptrdiff_t>(stride), w, h};
    result.Consumed = reader.LoadFromMemory(file.data(), file.size(), target);
    result.Width = w;
    result.Height = h;
    result.Pixels.resize(size_t{w} * h);
    for (uint32_t y = 0; y < h; ++y)
      std::memcpy(&result.Pixels[size_t{y} * w], target.Base + target.Stride * ptrdiff_t(y),
                  stride);
  } catch (const EInvalidGraphic& e) {
    result.Outcome = DecodeOutcome::InvalidGraphic;
    result.Message = e.what();
  } catch (const EGraphicCompression& e) {
    result.Outcome = DecodeOutcome::Compression;
    result.Message = e.what();
  } catch (const EColorConversionError& e) {
    result.Outcome = DecodeOutcome::ColorConversion;
    result.Message = e.what();
  }
  for (size_t i = 0; i < kGuard && !block.empty(); ++i)
    if (block[i] != kGuardByte || block[block.size() - 1 - i] != kGuardByte)
      result.GuardsIntact = false;
  return result;
}
