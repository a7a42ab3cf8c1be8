// Loads the generated test skin through the whole SkinName road of an
// active skin manager, and in the same run reads the same files raw (open,
// read, close each). Prints both times, their ratio (the goal is at most
// 3) and the share of each loading phase, for the normal skin and for the
// large one (a 1024 x 1024 master with about 120 sections). Then the same
// skins loaded from their folder, their archive and as a stored skin, and
// the decompression stream against zlib's uncompress on the archive's
// entries and on one entry of several MiB (archive_load.cpp).
//
//   skin_load_benchmark.exe [--quick] [--packed]   (--packed: the second part only)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "archive_load.h"
#include "bench_timing.h"
#include "skin/engine/description_index.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_bmp.h"
#include "skin/engine/skin_cache.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_description.h"
#include "skin/engine/skin_images.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_units.h"
#include "skin/engine/skinned_forms.h"
#include "test_skin.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/inifiles.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/sysutils.h"
#include "widgets/rtl/units.h"

namespace {

using skin_load_bench::Best;
using skin_load_bench::Clock;
using skin_load_bench::Seconds;

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

// The description as the loader reads it: the file's lines, then the
// case-sensitive ini the load keeps as the global description.
std::unique_ptr<TMemIniFile> ReadDescription(const std::string& Dir) {
  TStringList lines;
  lines.LoadFromFile(Dir + "Options.dat");
  auto ini = std::make_unique<TMemIniFile>(std::string());
  ini->SetCaseSensitive(true);
  ini->SetStrings(lines);
  return ini;
}

// The steps of LoadSkinFromFolder and of the SkinName setter one by one, in
// the same order, to see where the time goes.
struct Phases {
  double Description = 0, Index = 0, Master = 0, Files = 0, Keys = 0, Sections = 0, Cache = 0,
         Take = 0, Free = 0, Broadcast = 0;
};

// Every image file of the folder but the master and the description.
std::vector<std::string> ImageFilesOf(const std::vector<std::string>& Files) {
  std::vector<std::string> out;
  for (const std::string& f : Files) {
    const std::string name = UpperCase(std::filesystem::path(f).filename().string());
    if (name != "OPTIONS.DAT" && name != "MASTER.BMP") out.push_back(name);
  }
  return out;
}

Phases MeasurePhases(TsSkinManager* Manager, const std::string& Folder,
                     const std::vector<std::string>& Files, int Runs) {
  const std::string dir = Folder + "\\";
  const double master = Best(Runs, [&] {
    TBitmap master;
    LoadBmpFileArgb(dir + "MASTER.BMP", &master);
    KeepSpareArgbPixels(&master);
  });
  const std::vector<std::string> imageFiles = ImageFilesOf(Files);
  Phases best;
  for (double* d : {&best.Description, &best.Index, &best.Files, &best.Keys, &best.Sections,
                    &best.Cache, &best.Take, &best.Free, &best.Broadcast})
    *d = 1e30;
  const auto keep = [](double& Best, Clock::time_point From, Clock::time_point To) {
    Best = std::min(Best, Seconds(To - From));
  };
  for (int i = 0; i < Runs; ++i) {
    {
      // The image files alone, on a scratch skin.
      const std::unique_ptr<TMemIniFile> ini = ReadDescription(dir);
      const TvlSkinDescription index(*ini);
      TvlSkinContent scratch;
      TsSkinGlobals globals;
      globals.Version = ReadSkinVersion(&index);
      TvlSkinLoad load{Manager, scratch, globals, &index, dir, EffectiveDpiLevel(Manager)};
      const auto f0 = Clock::now();
      for (const std::string& name : imageFiles) LoadExternalImage(load, name, 0);
      keep(best.Files, f0, Clock::now());
    }
    const auto t0 = Clock::now();
    std::unique_ptr<TMemIniFile> ini = ReadDescription(dir);
    const auto t1 = Clock::now();
    auto index = std::make_unique<TvlSkinDescription>(*ini);
    const auto t2 = Clock::now();
    auto fresh = std::make_unique<TvlSkinContent>();
    TsSkinGlobals globals;
    globals.Version = ReadSkinVersion(index.get());
    TvlSkinLoad load{Manager, *fresh, globals, index.get(), dir, EffectiveDpiLevel(Manager)};
    LoadSkinImages(load);
    const auto t3 = Clock::now();
    ReadSkinSections(load);
    const auto t4 = Clock::now();
    CacheCommonSkinData(Manager, *fresh);
    const auto t5 = Clock::now();
    Manager->TakeSkin(*fresh, globals);
    const auto t6 = Clock::now();
    // The previous skin, now in the fresh record, and the description go.
    KeepSpareArgbPixels(fresh->MasterBitmap);
    fresh.reset();
    index.reset();
    ini.reset();
    const auto t7 = Clock::now();
    BroadcastNewSkin(Manager, true);
    const auto t8 = Clock::now();
    keep(best.Description, t0, t1);
    keep(best.Index, t1, t2);
    keep(best.Keys, t2, t3);
    keep(best.Sections, t3, t4);
    keep(best.Cache, t4, t5);
    keep(best.Take, t5, t6);
    keep(best.Free, t6, t7);
    keep(best.Broadcast, t7, t8);
  }
  best.Master = master;
  // The master and the files are read inside the image step; timing noise
  // must not make the rest negative.
  best.Keys = std::max(0.0, best.Keys - best.Master - best.Files);
  return best;
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
  const Phases p = MeasurePhases(manager, folder.string(), files, Runs);
  const double parts = p.Description + p.Index + p.Master + p.Files + p.Keys + p.Sections +
                       p.Cache + p.Take + p.Free + p.Broadcast;
  const double rest = std::max(0.0, load - parts);

  std::printf("%s: %zu files, %.1f KB, master %dx%d, %zu sections, %zu images\n", name.c_str(),
              files.size(), static_cast<double>(bytes) / 1024, m.MasterWidth, m.MasterHeight,
              manager->Sections.size(), manager->Masks.size());
  std::printf("  raw read        %9.3f ms\n", raw * 1e3);
  std::printf("  load (SkinName) %9.3f ms   ratio %.2f (goal <= 3)\n", load * 1e3, load / raw);
  const struct {
    const char* what;
    double seconds;
  } shares[] = {{"description file, ini", p.Description},
                {"description index", p.Index},
                {"master bitmap", p.Master},
                {"image files", p.Files},
                {"image keys", p.Keys},
                {"sections, palette", p.Sections},
                {"cached indices", p.Cache},
                {"take the skin", p.Take},
                {"free the old skin", p.Free},
                {"broadcast", p.Broadcast},
                {"rest of the road", rest}};
  for (const auto& s : shares)
    std::printf("    %-24s %9.3f ms  %5.1f %%\n", s.what, s.seconds * 1e3,
                100.0 * s.seconds / std::max(load, 1e-12));
  TObject::Free(manager);
}

}  // namespace

int main(int argc, char** argv) {
  bool quick = false, packedOnly = false;
  for (int i = 1; i < argc; ++i) {
    quick = quick || std::strcmp(argv[i], "--quick") == 0;
    packedOnly = packedOnly || std::strcmp(argv[i], "--packed") == 0;
  }
  const int runs = quick ? 3 : 25;
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::filesystem::path root =
      std::filesystem::path(temp) / ("skin_load_bench_" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(root);
  if (!packedOnly) {
    Run(root, false, runs);
    Run(root, true, runs);
  }
  skin_load_bench::RunArchiveLoad(root, false, runs);
  skin_load_bench::RunArchiveLoad(root, true, runs);
  skin_load_bench::RunBigEntry(quick ? 3 : 15);
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return 0;
}
