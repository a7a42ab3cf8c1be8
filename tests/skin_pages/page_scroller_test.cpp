// A twelve-page control too narrow for its tabs, under the test skin: its
// up-down scroller gets an adapter while skinned (and loses it unskinned,
// or the window itself without ShowUpDown), a print leaves the DC's origin
// where it was; and controls docked into the page control get sheets.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <optional>

#include "page_fixture.h"
#include "png_writer.h"
#include "skin/controls/alpha_image_list.h"
#include "skin/adapters/stand_in_adapters.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "started_skin_manager.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/menus/menus.h"
#include "widgets/rtl/streams.h"

namespace {

class TwelvePages : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    Pages->SetWidth(260);
    Images = New<TsAlphaImageList>(Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    Images->Handle();
    for (uint64_t seed : {3u, 5u}) {
      PngDesc d;
      d.Width = d.Height = 16;
      FillSamples(d, seed, true);
      const std::vector<uint8_t> png = EncodePng(d);
      TMemoryStream s;
      s.WriteBuffer(png.data(), static_cast<int32_t>(png.size()));
      s.SetPosition(0);
      ASSERT_TRUE(AddImageFromStream(Images, s));
    }
    Menu = New<TPopupMenu>(Form);
    std::vector<std::string> captions;
    for (int i = 0; i < 12; ++i) captions.push_back("Page " + std::to_string(i + 1));
    MakeSheets(captions);
    Sheets[3]->SetTabVisible(false);
    Sheets[4]->SetEnabled(false);
    Sheets[5]->SetTabType(ttButton);
    Sheets[6]->SetTabType(ttMenu);
    Sheets[6]->SetTabMenu(Menu);
    for (int i = 0; i < 12; i += 2) Sheets[size_t(i)]->SetImageIndex(i / 2 % 2);
    Pages->SetImages(Images);
    PumpMessages();
  }
  void TearDown() override {
    PageFixture::TearDown();
    skin_.reset();
  }
  void Skin() {
    skin_.emplace("twelve");
    Manager = test_skin::StartSkinManager(Form, *skin_);
    PumpMessages();
  }
  HWND UpDown() const {
    return FindWindowExA(Pages->Handle(), nullptr, "msctls_updown32", nullptr);
  }
  TsAlphaImageList* Images = nullptr;
  TPopupMenu* Menu = nullptr;
  TsSkinManager* Manager = nullptr;

 private:
  std::optional<test_skin::TempTestSkin> skin_;
};

TEST_F(TwelvePages, TheScrollerIsAdaptedOnlyWhileSkinned) {
  ASSERT_NE(UpDown(), nullptr) << "the tabs do not fit";
  EXPECT_EQ(Pages->TabScroller(), nullptr) << "unskinned";
  Skin();
  ASSERT_NE(Pages->TabScroller(), nullptr);
  const HWND updown = UpDown();
  EXPECT_EQ(Pages->TabScroller()->WindowHandle, updown);
  EXPECT_EQ(GetWindowAdapter(updown), static_cast<TvlMainWnd*>(Pages->TabScroller()));
  EXPECT_EQ(Pages->TabScroller()->SkinData->SkinSection, "UPDOWNBTN");
  RECT r;
  GetWindowRect(updown, &r);
  POINT p{r.left, r.top};
  ScreenToClient(Pages->Handle(), &p);
  EXPECT_EQ(Pages->TabScroller()->WindowPos, TPoint(p.x, p.y));
  EXPECT_EQ(Pages->TabScroller()->ParentHandle, Pages->Handle());

  // A print puts the scroller at its place and gives the origin back.
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, Pages->Width(), Pages->Height());
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageA(Pages->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  POINT origin{-1, -1};
  GetViewportOrgEx(mem, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);

  Manager->SetActive(false);
  PumpMessages();
  EXPECT_EQ(Pages->TabScroller(), nullptr);
  EXPECT_EQ(GetWindowAdapter(updown), nullptr) << "the window is let go";

  Manager->SetActive(true);
  PumpMessages();
  ASSERT_NE(Pages->TabScroller(), nullptr);
  Pages->SetShowUpDown(false);
  EXPECT_EQ(Pages->TabScroller(), nullptr);
  EXPECT_FALSE(IsWindow(updown)) << "without ShowUpDown the scroller goes";
}

TEST_F(TwelvePages, KeysStepOverTheHiddenAndButtonPagesOfTheRow) {
  Pages->SetActivePage(Sheets[2]);
  PumpMessages();
  // Page 4 is hidden: the right arrow lands on the disabled page 5, which is
  // accessible; from there the button page 6 stops it.
  SendMessageA(Pages->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  PumpMessages();
  EXPECT_EQ(ActiveCaption(), "Page 5");
  SendMessageA(Pages->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  PumpMessages();
  EXPECT_EQ(ActiveCaption(), "Page 5");
}

class Docking : public PageFixture {};

TEST_F(Docking, DockedControlsGetSheetsOfTheirOwn) {
  MakeSheets({"Main"});
  Pages->SetDockSite(true);
  struct Case {
    const char* Name;
    bool Visible;
    int Pages;
    const char* Active;
    bool TabVisible;
  };
  const Case cases[] = {{"a visible box", true, 2, "", true},
                        {"a hidden box", false, 3, "", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* panel = New<TGroupBox>(Form);
    panel->SetVisible(c.Visible);
    panel->SetParent(Form);
    Pages->SetActivePage(Sheets[0]);
    ASSERT_TRUE(panel->ManualDock(Pages, TRect(0, 0, 50, 40)));
    ASSERT_EQ(Pages->PageCount(), c.Pages);
    TTabSheet* sheet = Pages->Pages(c.Pages - 1);
    EXPECT_NE(dynamic_cast<TsTabSheet*>(sheet), nullptr);
    EXPECT_EQ(panel->Parent(), sheet);
    EXPECT_EQ(panel->Align(), alClient);
    EXPECT_EQ(sheet->TabVisible(), c.TabVisible);
    EXPECT_EQ(Pages->ActivePage(), c.Visible ? sheet : Sheets[0]);
    EXPECT_EQ(Pages->DockSheet, nullptr);
  }
  // Docked again, a control's sheet moves to the end and no sheet is added.
  TControl* first = Pages->Pages(1)->Controls(0);
  first->ManualDock(Pages, TRect());
  EXPECT_EQ(Pages->PageCount(), 3);
  EXPECT_EQ(first->Parent(), Pages->Pages(2));
  EXPECT_FALSE(first->ManualDock(Form, TRect())) << "a form is no dock site";
  EXPECT_EQ(first->Parent(), Pages->Pages(2));
}

}  // namespace
