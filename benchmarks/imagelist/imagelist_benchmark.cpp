// 100 generated 16 x 16 alpha PNGs in one TsAlphaImageList, measured against
// the platform's own roads in the same run:
//  - rebuild: the list's platform list rebuilt from its files at DPI levels
//    1..3 (20, 24, 32 pixels) against a new platform list of the target size
//    filled from a 16 x 16 list with ImageList_GetIcon + ImageList_ReplaceIcon
//    (each icon stretched with DrawIconEx first when the platform does not
//    fit it to the list's size: checked once); goal at most 2.0;
//  - draw: DrawImageToBitmap with a warm cache into a 32-bit bitmap against
//    ImageList_DrawEx into a 32-bit DIB section; goal at most 1.0.
// Prints the median time per rebuild (all 100 images) and per image drawn,
// and each ratio ours / platform. The roads take turns over several rounds.
//
//   imagelist_benchmark.exe [--quick]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "benchmarks/support/median_sampler.h"
#include "png_writer.h"
#include "skin/controls/alpha_image_list.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_units.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/units.h"

namespace {

using bench::Plan;
using bench::Sample;
using bench::Samples;

constexpr int kImages = 100;

std::vector<uint8_t> GeneratedPng(uint64_t Seed) {
  PngDesc d;
  d.Width = 16;
  d.Height = 16;
  d.ColorType = 6;
  d.BitDepth = 8;
  FillSamples(d, Seed, true);
  return EncodePng(d);
}

// The platform's road: a new list of the target size filled icon by icon.
class PlatformCopy {
 public:
  PlatformCopy(HIMAGELIST Source, int Size, bool Stretch)
      : source_(Source), size_(Size), stretch_(Stretch) {}
  HIMAGELIST Fill() const {
    const HIMAGELIST list = ImageList_Create(size_, size_, ILC_COLOR32 | ILC_MASK, 0, 4);
    for (int i = 0; i < ImageList_GetImageCount(source_); ++i) {
      TOwnedIcon icon(ImageList_GetIcon(source_, i, ILD_NORMAL));
      if (stretch_) icon.Reset(Stretched(icon.Get()));
      ImageList_ReplaceIcon(list, -1, icon.Get());
    }
    return list;
  }

 private:
  HICON Stretched(HICON Icon) const {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size_;
    bi.bmiHeader.biHeight = size_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    TOwnedBitmap colour(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    TOwnedBitmap mask(CreateBitmap(size_, size_, 1, 1, nullptr));
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    {
      TSelectedObject sel(dc.Get(), colour.Get());
      DrawIconEx(dc.Get(), 0, 0, Icon, size_, size_, 0, nullptr, DI_IMAGE);
    }
    {
      TSelectedObject sel(dc.Get(), mask.Get());
      DrawIconEx(dc.Get(), 0, 0, Icon, size_, size_, 0, nullptr, DI_MASK);
    }
    ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
    return CreateIconIndirect(&info);
  }

  HIMAGELIST source_;
  int size_;
  bool stretch_;
};

// Whether ImageList_ReplaceIcon fits a 16 x 16 opaque icon into a 32 x 32
// list (its bottom-right corner then shows the icon's colour).
bool PlatformFitsIcons(HIMAGELIST Source) {
  const HIMAGELIST big = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 4);
  auto red = OwnObject(NewArgbBitmap(16, 16));
  const PixelView v = ArgbView(red.get());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) v.At(x, y) = 0xFFFF0000u;
  const HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
  ImageList_Add(small, red->Handle(), nullptr);
  TOwnedIcon icon(ImageList_GetIcon(small, 0, ILD_NORMAL));
  ImageList_ReplaceIcon(big, -1, icon.Get());
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  auto probe = OwnObject(NewArgbBitmap(32, 32));
  bool fits = false;
  {
    TSelectedObject sel(dc.Get(), probe->Handle());
    PatBlt(dc.Get(), 0, 0, 32, 32, WHITENESS);
    ImageList_Draw(big, 0, dc.Get(), 0, 0, ILD_NORMAL);
    fits = (GetPixel(dc.Get(), 30, 30) & 0xFFFFFF) == RGB(255, 0, 0);
  }
  ImageList_Destroy(small);
  ImageList_Destroy(big);
  (void)Source;
  return fits;
}

bool Run(const Plan& P) {
  auto* manager = New<TsSkinManager>(nullptr);
  manager->SetActive(false);
  auto* list = New<TsAlphaImageList>(nullptr);
  for (int i = 0; i < kImages; ++i) {
    const std::vector<uint8_t> png = GeneratedPng(1000 + static_cast<uint64_t>(i));
    TsImgListItem* item = list->Items()->Add();
    item->ImgData()->WriteBuffer(png.data(), static_cast<int32_t>(png.size()));
  }
  list->GenerateImages();
  if (list->Count() != kImages) {
    std::printf("the list holds %d images, not %d\n", list->Count(), kImages);
    return false;
  }
  // The platform's source: a 16 x 16 copy of the list at level 0.
  const HIMAGELIST source = ImageList_Duplicate(list->Handle());
  const bool fits = PlatformFitsIcons(source);
  std::printf("the platform %s each icon to the list's size%s\n", fits ? "fits" : "does not fit",
              fits ? "" : ": icons are stretched with DrawIconEx first");

  bool ok = true;
  std::printf("\nrebuild of %d images      ours (ms)  platform (ms)  ratio  (goal <= 2.0)\n",
              kImages);
  for (int level = 1; level <= 3; ++level) {
    manager->Options()->SetScaleMode(static_cast<TvlScaleMode>(level));
    const int size = ScaleToDpiLevel(manager, 16, 0);
    const PlatformCopy copy(source, size, !fits);
    Samples ours, platform;
    for (int r = 0; r < P.Rounds; ++r) {
      Sample(P, ours, [&] {
        list->DestroyHandle();
        list->GenerateImages();
      });
      Sample(P, platform, [&] { ImageList_Destroy(copy.Fill()); });
    }
    int w = 0, h = 0;
    ImageList_GetIconSize(list->Handle(), &w, &h);
    if (w != size || list->Count() != kImages) {
      std::printf("level %d: the list is %d wide with %d images\n", level, w, list->Count());
      ok = false;
    }
    const double o = ours.Median(), p = platform.Median();
    std::printf("  level %d (%2d x %2d)        %8.3f   %8.3f       %5.2f\n", level, size, size,
                o * 1e3, p * 1e3, p > 0 ? o / p : 0);
  }

  // Drawing at level 3 (32 x 32): the cache is filled by the warm-up call.
  const int size = list->Width();
  auto target = OwnObject(NewArgbBitmap(size, size));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  TOwnedBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  TSelectedObject selected(dc.Get(), dib.Get());
  const HIMAGELIST platformList = list->Handle();
  Samples ours, platform;
  for (int r = 0; r < P.Rounds; ++r) {
    Sample(P, ours, [&] {
      for (int i = 0; i < kImages; ++i)
        DrawImageToBitmap(list, target.get(), 0, 0, i, 0, clNone, 0, 1, false);
    });
    Sample(P, platform, [&] {
      for (int i = 0; i < kImages; ++i)
        ImageList_DrawEx(platformList, i, dc.Get(), 0, 0, 0, 0, CLR_NONE, CLR_DEFAULT,
                         ILD_TRANSPARENT);
    });
  }
  const double o = ours.Median() / kImages, p = platform.Median() / kImages;
  std::printf("\ndraw one %d x %d image      ours (us)  platform (us)  ratio  (goal <= 1.0)\n",
              size, size);
  std::printf("  warm cache               %8.2f   %8.2f       %5.2f\n", o * 1e6, p * 1e6,
              p > 0 ? o / p : 0);

  manager->Options()->SetScaleMode(smOldMode);
  ImageList_Destroy(source);
  TObject::Free(list);
  TObject::Free(manager);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  // One warm-up call: a first call builds what the later ones reuse.
  const Plan plan = bench::PlanFromArgs(argc, argv, Plan{5, 3, 5, 1}, Plan{1, 2, 2, 1});
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  AlphaImageListUnit.Initialization();
  const bool ok = Run(plan);
  AlphaImageListUnit.Finalization();
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return ok ? 0 : 1;
}
