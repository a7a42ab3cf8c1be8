// Loads the generated test skin through the whole SkinName road of an
// active skin manager, and in the same run reads the same files raw (open,
// read, close each). Prints both times, their ratio (the goal is at most
// 3) and the share of each loading phase, for the normal skin and for the
// large one (a 1024 x 1024 master with about 120 sections).
//
//   skin_load_benchmark.exe [--quick]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "skin/engine/description_index.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_bmp.h"
#include "skin/engine/skin_cache.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_description.h"
#include "skin/engine/skin_images.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_units.h"
#include "test_skin.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/inifiles.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/units.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// The best of Runs timings of Work: the run least disturbed by the machine.
template <typename F>
double Best(int Runs, F&& Work) {
  double best = 1e30;
  for (int i = 0; i < Runs; ++i) {
    const auto start = Clock::now();
    Work();
    best = std::min(best, Seconds(Clock::now() - start));
  }
  return best;
}

std::vector<std::string> FilesOf(const std::filesystem::path& Folder) {
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(Folder))
    if (e.is_regular_file()) files.push_back(e.path().string());
  return files;
}

uint64_t ReadRaw(const std::vector<std::string>& Files, std::vector<uint8_t>& Buffer) {
  uint64_t total = 0;
  for (const std::string& f : Files) {
    HANDLE h = CreateFileA(f.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    Buffer.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ReadFile(h, Buffer.data(), static_cast<DWORD>(Buffer.size()), &read, nullptr);
    CloseHandle(h);
    total += read;
  }
  return total;
}

// The description as the loader reads it, indexed once.
std::unique_ptr<TMemIniFile> ReadDescription(const std::string& Dir) {
  TStringList lines;
  lines.LoadFromFile(Dir + "Options.dat");
  auto ini = std::make_unique<TMemIniFile>(std::string());
  ini->SetCaseSensitive(true);
  ini->SetStrings(lines);
  const TvlSkinDescription index(*ini);
  return ini;
}

// The loader's steps one by one, on a fresh skin, to see where the time goes.
struct Phases {
  double Description = 0, Master = 0, Images = 0, Sections = 0, Cache = 0;
};

Phases MeasurePhases(TsSkinManager* Manager, const std::string& Folder, int Runs) {
  Phases p;
  const std::string dir = Folder + "\\";
  p.Description = Best(Runs, [&] { ReadDescription(dir); });
  p.Master = Best(Runs, [&] {
    TBitmap master;
    LoadBmpFileArgb(dir + "MASTER.BMP", &master);
  });
  const std::unique_ptr<TMemIniFile> ini = ReadDescription(dir);
  const TvlSkinDescription index(*ini);
  double images = 1e30, sections = 1e30, cache = 1e30;
  for (int i = 0; i < Runs; ++i) {
    TvlSkinContent skin;
    TsSkinGlobals globals;
    globals.Version = ReadSkinVersion(&index);
    TvlSkinLoad load{Manager, skin, globals, &index, dir, EffectiveDpiLevel(Manager)};
    auto t0 = Clock::now();
    LoadSkinImages(load);
    auto t1 = Clock::now();
    ReadSkinSections(load);
    auto t2 = Clock::now();
    CacheCommonSkinData(Manager, skin);
    auto t3 = Clock::now();
    images = std::min(images, Seconds(t1 - t0));
    sections = std::min(sections, Seconds(t2 - t1));
    cache = std::min(cache, Seconds(t3 - t2));
  }
  // The master's decode is inside the images step; timing noise must not
  // make the rest negative.
  p.Images = std::max(0.0, images - p.Master);
  p.Sections = sections;
  p.Cache = cache;
  return p;
}

void Run(const std::filesystem::path& Root, bool Large, int Runs) {
  const std::string name = Large ? "TesseraLarge" : "Tessera";
  const std::filesystem::path folder = Root / name;
  const test_skin::TestSkinManifest m =
      test_skin::WriteTestSkin(folder, test_skin::kSoundVariant, Large);
  const std::vector<std::string> files = FilesOf(folder);

  TsSkinManager* manager = New<TsSkinManager>(nullptr);
  manager->SetActive(false);
  manager->SetSkinDirectory(Root.string());
  manager->SetSkinName(name);
  manager->SetActive(true);
  if (!manager->Active() || manager->Masks.empty()) {
    std::printf("%s: the skin did not load\n", name.c_str());
    TObject::Free(manager);
    return;
  }

  std::vector<uint8_t> buffer;
  uint64_t bytes = 0;
  const double raw = Best(Runs, [&] { bytes = ReadRaw(files, buffer); });
  const double load = Best(Runs, [&] { manager->SetSkinName(name); });
  const Phases p = MeasurePhases(manager, folder.string(), Runs);
  const double parts = p.Description + p.Master + p.Images + p.Sections + p.Cache;
  const double rest = std::max(0.0, load - parts);

  std::printf("%s: %zu files, %.1f KB, master %dx%d, %zu sections, %zu images\n", name.c_str(),
              files.size(), static_cast<double>(bytes) / 1024, m.MasterWidth, m.MasterHeight,
              manager->Sections.size(), manager->Masks.size());
  std::printf("  raw read        %9.3f ms\n", raw * 1e3);
  std::printf("  load (SkinName) %9.3f ms   ratio %.2f (goal <= 3)\n", load * 1e3, load / raw);
  const struct {
    const char* what;
    double seconds;
  } shares[] = {{"description", p.Description},        {"master bitmap", p.Master},
                {"image files, image keys", p.Images}, {"sections, palette", p.Sections},
                {"cached indices", p.Cache},           {"rest of the road", rest}};
  for (const auto& s : shares)
    std::printf("    %-24s %9.3f ms  %5.1f %%\n", s.what, s.seconds * 1e3,
                100.0 * s.seconds / std::max(load, 1e-12));
  TObject::Free(manager);
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const int runs = quick ? 3 : 25;
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::filesystem::path root =
      std::filesystem::path(temp) / ("skin_load_bench_" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(root);
  Run(root, false, runs);
  Run(root, true, runs);
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return 0;
}
