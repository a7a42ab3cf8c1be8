#include "png_test_util.h"

#include <cstring>

#include "skin/foundation/png_errors.h"

long g_pngMutationCount = 5000;

namespace {

constexpr size_t kGuard = 64;
constexpr uint8_t kGuardByte = 0xA5;

// The guarded block, made when the reader asks for rows.
class GuardedTarget : public PngTargetProvider {
 public:
  explicit GuardedTarget(std::vector<uint8_t>& block) : block_(block) {}
  PngRows ProvideRows(const PngReader& reader) override {
    const uint32_t w = reader.Properties().ImageWidth, h = reader.Properties().ImageHeight;
    stride_ = size_t{w} * 4;
    block_.assign(2 * kGuard + stride_ * h, kGuardByte);
    // A bottom-up target: row 0 is the last row in memory.
    base_ = block_.data() + kGuard + stride_ * (h - 1);
    return {base_, -static_cast<ptrdiff_t>(stride_)};
  }
  uint8_t* Base() const { return base_; }
  size_t Stride() const { return stride_; }

 private:
  std::vector<uint8_t>& block_;
  uint8_t* base_ = nullptr;
  size_t stride_ = 0;
};

}  // namespace

DecodeResult DecodeGuarded(const std::vector<uint8_t>& file, TColorManager* shared) {
  DecodeResult result;
  TColorManager own;
  PngReader reader(shared ? *shared : own);
  std::vector<uint8_t> block;
  GuardedTarget target(block);
  try {
    const bool header = reader.ReadImageHeader(file.data(), file.size());
    result.Consumed = reader.Load(file.data(), file.size(), PngOutput::Argb32, target);
    if (!header) {
      // The load must refuse such a file too.
      result.Message = "header refused but the load succeeded";
      result.GuardsIntact = false;
      return result;
    }
    const uint32_t w = reader.Properties().ImageWidth, h = reader.Properties().ImageHeight;
    result.Width = w;
    result.Height = h;
    result.Pixels.resize(size_t{w} * h);
    for (uint32_t y = 0; y < h; ++y) {
      std::memcpy(&result.Pixels[size_t{y} * w],
                  target.Base() - static_cast<ptrdiff_t>(target.Stride()) * ptrdiff_t(y),
                  target.Stride());
    }
  } catch (const EInvalidGraphic& e) {
    result.Outcome = DecodeOutcome::InvalidGraphic;
    result.Message = e.what();
  } catch (const EGraphicCompression& e) {
    result.Outcome = DecodeOutcome::Compression;
    result.Message = e.what();
  } catch (const EColorConversionError& e) {
    result.Outcome = DecodeOutcome::ColorConversion;
    result.Message = e.what();
  } catch (const EOutOfResources& e) {
    result.Outcome = DecodeOutcome::OutOfMemory;
    result.Message = e.what();
  }
  for (size_t i = 0; i < kGuard && !block.empty(); ++i)
    if (block[i] != kGuardByte || block[block.size() - 1 - i] != kGuardByte)
      result.GuardsIntact = false;
  return result;
}
