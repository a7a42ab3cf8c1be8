// The system-colour interception: what callers through the patched entries
// see, the brushes it owns, and that the entries come back byte for byte.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "skin/engine/manager_options.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/sys_color_patches.h"
#include "skin/foundation/colour_math.h"
#include "widgets/graphics/colors.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"

namespace {

using TGetSysColor = COLORREF(WINAPI*)(int);
using TGetSysColorBrush = HBRUSH(WINAPI*)(int);
using TCreatePen = HPEN(WINAPI*)(int, int, COLORREF);

template <typename F>
F Export(const char* Module, const char* Name) {
  return reinterpret_cast<F>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(Module), Name)));
}

// The code each entry leads to, found while nothing is patched: a patched
// entry reads as a jump through a pointer itself.
using TEntries = std::array<const void*, 3>;
TEntries Entries() {
  static const TEntries entries = [] {
    const char* names[][2] = {{"user32.dll", "GetSysColor"},
                              {"user32.dll", "GetSysColorBrush"},
                              {"gdi32.dll", "CreatePen"}};
    TEntries e{};
    for (size_t i = 0; i < e.size(); ++i)
      e[i] = ResolveApiEntry(Export<void*>(names[i][0], names[i][1]));
    return e;
  }();
  return entries;
}

using TEntryBytes = std::array<std::array<uint8_t, ApiPatchSize>, 3>;
TEntryBytes EntryBytes() {
  TEntryBytes bytes{};
  for (size_t i = 0; i < bytes.size(); ++i)
    std::memcpy(bytes[i].data(), Entries()[i], ApiPatchSize);
  return bytes;
}

COLORREF PenColor(HPEN Pen) {
  LOGPEN lp{};
  EXPECT_EQ(GetObjectA(Pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
  return lp.lopnColor;
}

COLORREF BrushColor(HBRUSH Brush) {
  LOGBRUSH lb{};
  EXPECT_EQ(GetObjectA(Brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
  return lb.lbColor;
}

class SysColorsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DefaultManager, nullptr);
    original_ = EntryBytes();
    Manager = New<TsSkinManager>(nullptr);
    Manager->SetActive(false);
    // Colours no system palette uses, so a mapped index cannot pass by luck.
    for (size_t i = 0; i < Manager->SkinPalette.size(); ++i)
      Manager->SkinPalette[i] = static_cast<TColor>(0x010203 * (i + 1) + 0x400000);
    Manager->UpdateEditBrush();
    Manager->CommonSkinData->InactiveBorderColor = 0x0A0B0C;
  }
  void TearDown() override {
    RemoveSysColorInterception();
    TObject::Free(Manager);
    EXPECT_EQ(EntryBytes(), original_);
  }
  COLORREF P(size_t i) const { return static_cast<COLORREF>(Manager->SkinPalette[i]); }

  TsSkinManager* Manager = nullptr;
  TEntryBytes original_{};
};

TEST_F(SysColorsTest, ColoursFollowTheSkinThroughEveryRouteToTheEntry) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE), info = GetSysColor(COLOR_INFOBK);
  const COLORREF shadow = MixTwoColors(P(0), 0, 205), light = MixTwoColors(P(0), 0xFFFFFF, 205);
  InstallSysColorInterception();
  const auto byName = Export<TGetSysColor>("user32.dll", "GetSysColor");
  struct Case {
    int Index;
    COLORREF Expected;
  };
  const Case cases[] = {
      {COLOR_WINDOW, P(5)},      {COLOR_WINDOWFRAME, P(27)},
      {COLOR_WINDOWTEXT, P(4)},  {COLOR_INACTIVEBORDER, 0x0A0B0C},
      {COLOR_HIGHLIGHT, P(8)},   {COLOR_HIGHLIGHTTEXT, P(9)},
      {COLOR_BTNSHADOW, shadow}, {COLOR_3DDKSHADOW, shadow},
      {COLOR_3DLIGHT, light},    {COLOR_BTNFACE, face},
      {COLOR_INFOBK, info},  // not mapped: the system's own
  };
  for (const Case& c : cases) {
    EXPECT_EQ(byName(c.Index), c.Expected) << c.Index;
    EXPECT_EQ(GetSysColor(c.Index), c.Expected) << c.Index;
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF000000u | c.Index)), c.Expected) << c.Index;
  }
  // Asking for an unmapped colour lifts the patch only for the call.
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), P(5));

  RemoveSysColorInterception();
  EXPECT_NE(GetSysColor(COLOR_WINDOW), P(5));
  EXPECT_NE(ColorToRGB(clHighlight), P(8));
}

TEST_F(SysColorsTest, PensTakeSkinColoursForSystemIndicesAndGreys) {
  const COLORREF grey = MixTwoColors(P(4), P(5), 38);
  InstallSysColorInterception();
  const auto byName = Export<TCreatePen>("gdi32.dll", "CreatePen");
  struct Case {
    COLORREF Passed, Expected;
  };
  const Case cases[] = {
      {5, P(5)},
      {6, P(27)},
      {11, 0x0A0B0C},
      {13, P(8)},
      {14, P(9)},
      {15, P(0)},
      {16, MixTwoColors(P(0), 0, 205)},
      {21, MixTwoColors(P(0), 0, 205)},
      {22, MixTwoColors(P(0), 0xFFFFFF, 205)},
      {0xC0C0C0, grey},
      {0xF0F0F0, grey},
      {0x123456, 0x123456},
      {7, 7},  // an index that is not mapped stays a colour
  };
  for (const Case& c : cases) {
    TOwnedPen viaName(byName(PS_SOLID, 1, c.Passed)), viaImport(CreatePen(PS_SOLID, 1, c.Passed));
    EXPECT_EQ(PenColor(viaName.Get()), c.Expected) << c.Passed;
    EXPECT_EQ(PenColor(viaImport.Get()), c.Expected) << c.Passed;
  }
  // The widget layer's pens read system colours through the entry too.
  TPen pen;
  pen.SetColor(clHighlight);
  EXPECT_EQ(PenColor(pen.Handle()), P(8));
}

TEST_F(SysColorsTest, BrushesAreCachedPerColourAndFreedWithThePatches) {
  const HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  InstallSysColorInterception();
  const auto byName = Export<TGetSysColorBrush>("user32.dll", "GetSysColorBrush");
  EXPECT_EQ(byName(COLOR_WINDOW), Manager->EditBrush);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);

  const HBRUSH highlight = byName(COLOR_HIGHLIGHT);
  EXPECT_EQ(GetSysColorBrush(COLOR_HIGHLIGHT), highlight);
  EXPECT_EQ(BrushColor(highlight), P(8));
  const HBRUSH text = GetSysColorBrush(COLOR_WINDOWTEXT);
  EXPECT_EQ(BrushColor(text), P(4));
  EXPECT_EQ(BrushColor(GetSysColorBrush(COLOR_HIGHLIGHTTEXT)), P(9));

  // Another skin's colours: the old brushes go, new ones answer.
  Manager->SkinPalette[8] = 0x00AA55;
  const HBRUSH recoloured = GetSysColorBrush(COLOR_HIGHLIGHT);
  EXPECT_EQ(BrushColor(recoloured), 0x00AA55u);
  EXPECT_EQ(GetObjectType(text), 0u);

  RemoveSysColorInterception();
  EXPECT_EQ(GetObjectType(recoloured), 0u);
  EXPECT_NE(GetSysColorBrush(COLOR_HIGHLIGHT), recoloured);
}

TEST_F(SysColorsTest, InstallingTwicePatchesOnceAndRemovingRestoresExactly) {
  InstallSysColorInterception();
  const TEntryBytes patched = EntryBytes();
  for (size_t i = 0; i < patched.size(); ++i) EXPECT_NE(patched[i], original_[i]) << i;
#ifdef _WIN64
  uint64_t target = 0;
  std::memcpy(&target, &patched[0][6], sizeof target);
  EXPECT_EQ(patched[0][0], 0xFF);
  EXPECT_EQ(patched[0][1], 0x25);
  EXPECT_EQ(target, reinterpret_cast<uint64_t>(&SkinGetSysColor));
#endif
  InstallSysColorInterception();
  EXPECT_EQ(EntryBytes(), patched);
  RemoveSysColorInterception();
  EXPECT_EQ(EntryBytes(), original_);
  RemoveSysColorInterception();
  EXPECT_EQ(EntryBytes(), original_);
}

TEST_F(SysColorsTest, EntriesComeBackWhenTheDefaultManagerGoes) {
  // Through the option alone, and through the dialog hook, which reads the
  // option while the manager is being destroyed.
  for (bool viaHook : {false, true}) {
    if (viaHook) {
      Manager = New<TsSkinManager>(nullptr);
      Manager->SetActive(false);
    }
    Manager->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, true);
    if (viaHook) {
      RemoveSysColorInterception();
      Manager->InstallDialogHook();
      ASSERT_TRUE(Manager->DialogHookInstalled);
    }
    EXPECT_NE(EntryBytes(), original_) << viaHook;
    TObject::Free(std::exchange(Manager, nullptr));
    EXPECT_EQ(EntryBytes(), original_) << viaHook;
    EXPECT_EQ(DefaultManager, nullptr);
  }
}

}  // namespace
