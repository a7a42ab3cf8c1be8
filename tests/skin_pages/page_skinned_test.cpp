// The page control under the generated test skin: tab faces per state and
// place, the missing TABTOP, corner images of left tabs, the sheet's
// background answer, hover fades that end on the new look, the padding the
// platform's tabs get, and GDI objects steady over many rotated repaints.
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "skinned_pages.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "test_skin.h"
#include "widgets/graphics/bitmap.h"

namespace {

TEST_F(SkinnedPages, TabsShowTheirStateFrames) {
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta", "Gamma"});
  Pages->HotTab = 2;
  Rebuild();
  EXPECT_EQ(TabPixel(0), Face("TABTOP", 2)) << "active";
  EXPECT_EQ(TabPixel(1), Face("TABTOP", 0)) << "normal";
  EXPECT_EQ(TabPixel(2), Face("TABTOP", 1)) << "hot";
  // The frame's own section below the tabs.
  const TRect d = Pages->DisplayRect();
  EXPECT_EQ(CachePixel(d.Left + 20, d.Bottom - 20), Face("PAGECONTROL", 0));
}

TEST_F(SkinnedPages, TabsTakeTheSectionOfTheirPlaceWhenTheSkinHasOne) {
  const struct {
    const char* Variant;
    int Pages;
    std::vector<const char*> Sections;  // by tab, the active one first
  } cases[] = {
      {"tabs-by-place", 1, {"TABTOPFIRST"}},
      {"tabs-by-place", 3, {"TABTOPFIRST", "TABTOPMIDDLE", "TABTOPLAST"}},
      {"tessera", 3, {"TABTOP", "TABTOP", "TABTOP"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Variant) + " x" + std::to_string(c.Pages));
    TearDown();
    PageFixture::SetUp();
    Sheets.clear();
    std::vector<std::string> captions = {"A", "B", "C"};
    captions.resize(size_t(c.Pages));
    Skin(c.Variant, captions);
    Rebuild();
    for (int i = 0; i < c.Pages; ++i)
      EXPECT_EQ(TabPixel(i), Face(c.Sections[size_t(i)], i == 0 ? 2 : 0)) << i;
  }
}

TEST_F(SkinnedPages, WithoutTabTopNoTabIsPainted) {
  Skin("no-tabtop", {"Alpha", "Beta"});
  Rebuild();
  for (int i = 0; i < 2; ++i) {
    const uint32_t p = TabPixel(i);
    for (int f = 0; f < 3; ++f) EXPECT_NE(p, Face("TABBOTTOM", f)) << i;
  }
  // The row shows the form behind it.
  EXPECT_EQ(TabPixel(1), CachePixel(Pages->TabsRect().Right - 2, 1));
}

TEST_F(SkinnedPages, CornerImagesSitAtTheFramesCornersForEachSide) {
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta"});
  // Each side's frame section, and two corners the tabs leave free.
  const struct {
    TTabPosition Position;
    const char* Section;
    bool Top;  // the top corners, else the bottom ones
  } cases[] = {{tpTop, "PAGECONTROL", false},
               {tpLeft, "PAGECONTROLLEFT", false},
               {tpBottom, "PAGECONTROLBOTTOM", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Section);
    Pages->SetTabPosition(c.Position);
    PumpMessages();
    Rebuild();
    const TRect d = Pages->DisplayRect();
    const int y = c.Top ? d.Top + 1 : d.Bottom - 2;
    const std::string side = c.Top ? "IMGTOP" : "IMGBTM";
    // Left tabs: the bottom-left corner lies at the display area's left edge.
    EXPECT_EQ(CachePixel(d.Left + 1, y), Corner(c.Section, side + "LEFT"));
    EXPECT_EQ(CachePixel(d.Right - 2, y), Corner(c.Section, side + "RIGHT"));
  }
}

TEST_F(SkinnedPages, TheSheetHandsOutThePageControlsCacheAtItsPlace) {
  Skin(test_skin::kSoundVariant, {"Alpha"});
  Rebuild();
  Sheets[0]->SetBorderWidth(3);
  PumpMessages();
  Rebuild();
  BackgroundRequest r;
  Sheets[0]->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetBackground),
                     reinterpret_cast<LPARAM>(&r));
  ASSERT_EQ(r.Kind, bgBitmap);
  EXPECT_EQ(r.Bitmap, Pages->SkinData()->CacheBitmap);
  EXPECT_EQ(r.OffsetX, Sheets[0]->Left() + 3);
  EXPECT_EQ(r.OffsetY, Sheets[0]->Top() + 3);
  EXPECT_EQ(Sheets[0]->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetDefaultSection), 0),
            Manifest.SectionIndex("TABSHEET") + 1);
}

TEST_F(SkinnedPages, HoverFadesEndOnTheNewLook) {
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta", "Gamma"});
  ASSERT_TRUE(Manager->Effects()->AllowAnimation());
  const struct {
    const char* Name;
    int Tab;  // -1: the mouse leaves
  } moves[] = {{"fade in", 1}, {"cross to another tab", 2}, {"fade out", -1}};
  for (const auto& m : moves) {
    SCOPED_TRACE(m.Name);
    const TPoint p = m.Tab >= 0 ? Centre(Pages->PageTabRect(m.Tab)) : TPoint(2, 200);
    // The real cursor goes along: a tracked leave must not end the hover.
    POINT screen{p.X, p.Y};
    ClientToScreen(Pages->Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(Pages->Handle(), WM_MOUSEMOVE, 0, At(p));
    for (int tab : {1, 2}) {
      TvlThreadedTimer* t = Sheets[size_t(tab)]->FadeTimer;
      if (!t) continue;
      const DWORD end = GetTickCount() + 3000;
      while (t->Enabled() && static_cast<int>(end - GetTickCount()) > 0) {
        PumpMessages();
        Sleep(5);
      }
      ASSERT_FALSE(t->Enabled()) << tab;
      ASSERT_NE(t->WorkImage, nullptr);
      const PixelView w = ArgbView(t->WorkImage), n = ArgbView(t->NewImage);
      EXPECT_EQ(w.At(2, 2) & 0xFFFFFF, n.At(2, 2) & 0xFFFFFF) << tab;
      EXPECT_EQ(w.At(2, 2) & 0xFFFFFF, Face("TABTOP", tab == m.Tab ? 1 : 0)) << tab;
    }
  }
}

TEST_F(SkinnedPages, PaddingWidensThePlatformsTabs) {
  MakeSheets({"Alpha", "Beta"});
  const int plain = Pages->PageTabRect(0).Width();
  const struct {
    int Padding;
    bool Close;
    int Grows;  // both sides
  } cases[] = {{5, false, 10}, {0, true, 2 * (15 / 2)}, {2, true, 2 * (2 + 15 / 2)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Padding << c.Close);
    Pages->SetIntProp(TsPageControl::ipTabPadding, c.Padding);
    Pages->SetBoolProp(TsPageControl::bpShowCloseBtns, c.Close);
    PumpMessages();
    EXPECT_EQ(Pages->PageTabRect(0).Width(), plain + c.Grows);
    Pages->SetIntProp(TsPageControl::ipTabPadding, 0);
    Pages->SetBoolProp(TsPageControl::bpShowCloseBtns, false);
  }
  PumpMessages();
  EXPECT_EQ(Pages->PageTabRect(0).Width(), plain);
}

TEST_F(SkinnedPages, RotatedRepaintsKeepGdiObjectsSteady) {
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta"});
  Pages->SetBoolProp(TsPageControl::bpRotateCaptions, true);
  PumpMessages();
  const auto count = [] { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); };
  for (bool skinned : {true, false}) {
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    Manager->SetActive(skinned);
    PumpMessages();
    RedrawWindow(Pages->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const DWORD before = count();
    for (int i = 0; i < 1000; ++i) {
      Pages->SkinData()->BgChanged = true;
      RedrawWindow(Pages->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    EXPECT_LE(count(), before + 4);
  }
}

}  // namespace
