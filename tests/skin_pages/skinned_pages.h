// The page control's fixture under the generated test skin: the sheets are
// made first, then the skin is written to a folder of the test's own and
// loaded, so the manager reaches a complete form.
#pragma once

#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "page_fixture.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "started_skin_manager.h"

class SkinnedPages : public PageFixture {
 protected:
  void TearDown() override {
    PageFixture::TearDown();
    skin_.reset();
  }
  // The sheets, then the skin: the manager reaches a form that is complete.
  void Skin(const std::string& Variant, const std::vector<std::string>& Captions) {
    MakeSheets(Captions);
    skin_.emplace("pages", Variant);
    Manifest = skin_->Manifest();
    Manager = test_skin::StartSkinManager(Form, *skin_);
    PumpMessages();
    ASSERT_TRUE(Pages->SkinData()->Skinned());
  }
  // The loaded face colour of a strip's frame (0xRRGGBB).
  uint32_t Face(const std::string& Section, int Frame) const {
    const test_skin::MfStrip* s = Manifest.Strip(Section, "BORDERSMASK");
    if (!s) throw std::logic_error("no strip " + Section);
    return s->Faces.at(size_t(Frame)) & 0xFFFFFF;
  }
  uint32_t Corner(const std::string& Section, const std::string& Key) const {
    return Manifest.Strip(Section, Key)->Faces.at(0) & 0xFFFFFF;
  }
  uint32_t CachePixel(int X, int Y) const {
    const PixelView v = ArgbView(Pages->SkinData()->CacheBitmap);
    return v.Contains(X, Y) ? v.At(X, Y) & 0xFFFFFF : 0xFFFFFFFFu;
  }
  // Inside the tab's corner piece, clear of its rim and its caption.
  uint32_t TabPixel(int Index) const {
    const TRect r = Pages->SkinTabRect(Index, Index == Pages->ActivePageIndex());
    return CachePixel(r.Left + 2, r.Top + 2);
  }
  void Rebuild() {
    Pages->SkinData()->BgChanged = true;
    ASSERT_TRUE(Pages->PrepareCache());
  }
  test_skin::TestSkinManifest Manifest;
  TsSkinManager* Manager = nullptr;

 private:
  std::optional<test_skin::TempTestSkin> skin_;
};
