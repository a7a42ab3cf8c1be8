// The pictures the controls embed: the committed files are what the
// generator draws today, they decode to what the start-up steps expect, and
// both programs carry them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "startup_images.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ResourceBytes(HMODULE Module, const char* Name, LPCSTR Type) {
  HRSRC found = FindResourceA(Module, Name, Type);
  if (!found) return {};
  HGLOBAL data = LoadResource(Module, found);
  const auto* p = static_cast<const uint8_t*>(LockResource(data));
  return p ? Bytes(p, p + SizeofResource(Module, found)) : Bytes();
}

struct TEmbedded {
  const char* Resource;
  const char* File;
};
const TEmbedded kPictures[] = {{"VLHINT", "vlhint.png"}, {"SF", "combo_sf.png"},
                               {"SR", "combo_sr.png"},   {"SD", "combo_sd.png"},
                               {"SE", "combo_se.png"},   {"SC", "combo_sc.png"}};

TEST(StartupImages, EmbeddedPicturesAreWhatTheGeneratorDraws) {
  const std::vector<startup_images::OutputFile> files = startup_images::AllFiles();
  for (const TEmbedded& e : kPictures) {
    const Bytes embedded = ResourceBytes(GetModuleHandleA(nullptr), e.Resource, RT_RCDATA);
    ASSERT_FALSE(embedded.empty()) << e.Resource;
    bool seen = false;
    for (const auto& f : files)
      if (f.Name == e.File) {
        seen = true;
        EXPECT_EQ(embedded, f.Bytes) << e.Resource << ": run make_startup_images again";
      }
    EXPECT_TRUE(seen) << e.File;
  }
}

TEST(StartupImages, PicturesHaveTheirSizesAndAlpha) {
  const startup_images::Picture hint = startup_images::HintBubble();
  EXPECT_EQ(hint.Width, 27);
  EXPECT_EQ(hint.Height, 27);
  // Opaque inside the body, clear at the outer corners, a partly
  // transparent shadow below the body.
  EXPECT_EQ(hint.At(13, 12) >> 24, 255u);
  EXPECT_EQ(hint.At(0, 0) >> 24, 0u);
  const uint32_t shadow = hint.At(13, 21) >> 24;
  EXPECT_GT(shadow, 0u);
  EXPECT_LT(shadow, 255u);
  for (int i = 0; i < 5; ++i) {
    const startup_images::Picture glyph = startup_images::ComboEditGlyph(i);
    EXPECT_EQ(glyph.Width, 48) << i;
    EXPECT_EQ(glyph.Height, 24) << i;
    // Both frames draw the same shape in their own ink.
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x)
        ASSERT_EQ(glyph.At(x, y) >> 24 != 0, glyph.At(x + 24, y) >> 24 != 0)
            << i << " at " << x << "," << y;
  }
  const startup_images::CursorPicture pipette = startup_images::Pipette();
  EXPECT_EQ(pipette.Image.Width, 32);
  EXPECT_NE(pipette.Image.At(pipette.HotX, pipette.HotY) >> 24, 0u) << "the tip is drawn";
}

TEST(StartupImages, BothProgramsCarryThePicturesAndTheCursor) {
  for (const char* program : {"Varnel.exe", "Tobrin.exe"}) {
    TOwnedModule module(LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module) << program;
    for (const TEmbedded& e : kPictures)
      EXPECT_FALSE(ResourceBytes(module.Get(), e.Resource, RT_RCDATA).empty())
          << program << " " << e.Resource;
    EXPECT_NE(FindResourceA(module.Get(), "CRQMPIPETTE", RT_GROUP_CURSOR), nullptr) << program;
  }
}

}  // namespace
