// The edit adapter's frame: painted from the skin on a plain EDIT, a
// LISTBOX and a memo, printed, drawn for a disabled password edit, a window
// region that survives the frame painting, and a cache that waits for its
// parent.
#include <algorithm>

#include "edit_scene.h"
#include "skin/adapters/adapter_routines.h"
#include "skin/adapters/edit_frame.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "tessera_parts.h"
#include "tests/support/e2e/screen.h"
#include "widgets/graphics/bitmap.h"

namespace {

uint32_t Rim() {
  return RgbOf(static_cast<TColor>(test_skin::kInk));
}
uint32_t InnerRim() {
  return RgbOf(static_cast<TColor>(test_skin::kTeal));
}

void RepaintFrame(HWND Wnd) {
  RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpMessages();
}

TEST(EditAdapterFrame, SkinnedFrameOnPlainEditListBoxAndMemo) {
  for (const char* variant : {"tessera", "edit-border-2"}) {
    SCOPED_TRACE(variant);
    TEditScene s(variant);
    const int border = std::string(variant) == "tessera" ? 1 : 2;
    TTestWindow edit = CreatePlainEdit(s.Form->Handle());
    TTestWindow list = CreateListBox100(s.Form->Handle());
    SetWindowPos(list.Get(), nullptr, 190, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    auto* memo = s.AddControl<TMemo>(380, 8, 166, 141);
    memo->SetScrollBars(ssBoth);
    memo->Lines()->Add("the memo");
    struct Case {
      const char* Name;
      HWND Wnd;
      TvlEditWnd* Adapter;
    } cases[] = {
        {"plain EDIT", edit.Get(), s.AdaptWindow(edit.Get())},
        {"LISTBOX", list.Get(), s.AdaptWindow(list.Get())},
        {"TMemo", memo->Handle(), s.Adapt(memo)},
    };
    for (Case& c : cases) {
      SCOPED_TRACE(c.Name);
      RepaintFrame(c.Wnd);
      ASSERT_NE(c.Adapter, nullptr);
      // The skin's border takes the system's room exactly.
      EXPECT_EQ(c.Adapter->LeftEdge, border);
      RECT w{};
      GetWindowRect(c.Wnd, &w);
      const int midY = (w.bottom - w.top) / 3;
      EXPECT_TRUE(Near(WindowPixel(c.Wnd, 0, midY), Rim(), 2))
          << std::hex << WindowPixel(c.Wnd, 0, midY);
      if (border == 2) {
        EXPECT_TRUE(Near(WindowPixel(c.Wnd, 1, midY), InnerRim(), 2))
            << std::hex << WindowPixel(c.Wnd, 1, midY);
      }
      // Both bars take their room from the frame.
      ASSERT_TRUE(c.Adapter->HorzBar && c.Adapter->VertBar);
      EXPECT_TRUE(c.Adapter->HorzBar->Visible);
      EXPECT_TRUE(c.Adapter->VertBar->Visible);
    }
    // A picture of the form for people to look at.
    if (border == 1) e2e::SaveCapture(e2e::CaptureWindow(s.Form->Handle()), "adapters");
    for (Case& c : cases) ReleaseScrollWndAdapter(c.Wnd, true, false, c.Adapter);
  }
}

TEST(EditAdapterFrame, PrintPutsTheSkinnedFrameAroundTheControlsOwnPainting) {
  TEditScene s;
  auto* memo = s.AddControl<TMemo>(10, 10, 166, 120);
  TvlEditWnd* a = s.Adapt(memo);
  RepaintFrame(memo->Handle());
  const int w = memo->Width(), h = memo->Height();
  TWindowDC screen(nullptr);
  TMemoryDC dc(CreateCompatibleDC(screen.Get()));
  TOwnedBitmap bmp(CreateCompatibleBitmap(screen.Get(), w, h));
  TSelectedObject sel(dc.Get(), bmp.Get());
  RECT all{0, 0, w, h};
  TOwnedBrush fuchsia(CreateSolidBrush(RGB(255, 0, 255)));
  FillRect(dc.Get(), &all, fuchsia.Get());
  SendMessageA(memo->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()),
               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  const auto at = [&](int x, int y) {
    return RgbOf(static_cast<TColor>(GetPixel(dc.Get(), x, y)));
  };
  EXPECT_TRUE(Near(at(0, h / 2), Rim(), 2)) << std::hex << at(0, h / 2);
  EXPECT_TRUE(Near(at(w / 2, h - 1), Rim(), 2)) << std::hex << at(w / 2, h - 1);
  // An empty memo: its inside is the colour the adapter gave it.
  EXPECT_TRUE(Near(at(w / 2, h - 8), RgbOf(memo->Color()), 2)) << std::hex << at(w / 2, h - 8);
  EXPECT_EQ(memo->Color(), a->BackgroundColor);
  ReleaseScrollWndAdapter(memo->Handle(), true, false, a);
}

// Columns of the cache's inside whose pixels differ from the inside's face.
int InkWidth(TBitmap* Cache, int Inset) {
  const PixelView v = ArgbView(Cache);
  const uint32_t face = v.At(Inset, Inset) & 0xFFFFFF;
  int first = -1, last = -1;
  for (int x = Inset; x < Cache->Width() - Inset; ++x)
    for (int y = Inset; y < Cache->Height() - Inset; ++y)
      if (!Near(v.At(x, y) & 0xFFFFFF, face, 24)) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return first < 0 ? 0 : last - first + 1;
}

TEST(EditAdapterFrame, DisabledPasswordEditShowsItsMaskCharactersFromTheCache) {
  TEditScene s;
  struct Case {
    char Password;
    const char* Shown;
  } cases[] = {{'*', "****"}, {0, "WWWW"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Shown);
    auto* e = s.AddControl<TEdit>(10, 10, 160, 26);
    e->SetText("WWWW");
    e->SetPasswordChar(c.Password);
    e->SetEnabled(false);
    TvlEditWnd* a = s.Adapt(e);
    a->SkinData->BgChanged = true;
    RepaintFrame(e->Handle());
    TBitmap* cache = a->SkinData->CacheBitmap;
    ASSERT_TRUE(cache && !cache->Empty());
    TWindowDC screen(nullptr);
    TSelectedObject font(screen.Get(), e->Font()->Handle());
    SIZE text{};
    GetTextExtentPoint32A(screen.Get(), c.Shown, 4, &text);
    EXPECT_NEAR(InkWidth(cache, 3), text.cx, 3);
    // The window's inside is the cache's, not the control's own painting.
    const int y = e->Height() / 2;
    for (int x = 4; x < e->Width() - 4; x += 7)
      EXPECT_TRUE(Near(WindowPixel(e->Handle(), x, y), ArgbView(cache).At(x, y) & 0xFFFFFF, 2))
          << x;
    ReleaseScrollWndAdapter(e->Handle(), true, false, a);
    TObject::Free(e);
  }
}

TEST(EditAdapterFrame, WindowKeepsItsOwnRegionAfterTheFramePainting) {
  TTestWindow host = CreateHostWindow();
  for (bool own : {false, true}) {
    SCOPED_TRACE(own ? "own region" : "no region");
    TRecordingWindow w(host.Get());
    RECT ownBox{};
    if (own) {
      HRGN ellipse = CreateEllipticRgn(0, 0, 120, 100);
      GetRgnBox(ellipse, &ownBox);
      SetWindowRgn(w.Handle(), ellipse, FALSE);
    }
    RECT inside{};
    int insideType = ERROR;
    PaintInsideInsetRegion(w.Handle(), TSize(166, 141), 2, [&] {
      TOwnedRegion r(CreateRectRgn(0, 0, 0, 0));
      insideType = GetWindowRgn(w.Handle(), r.Get());
      GetRgnBox(r.Get(), &inside);
    });
    EXPECT_EQ(insideType, SIMPLEREGION);
    EXPECT_EQ(inside.left, 2);
    EXPECT_EQ(inside.top, 2);
    EXPECT_EQ(inside.right, 164);
    EXPECT_EQ(inside.bottom, 139);
    TOwnedRegion after(CreateRectRgn(0, 0, 0, 0));
    const int type = GetWindowRgn(w.Handle(), after.Get());
    if (!own) {
      EXPECT_EQ(type, ERROR);
      continue;
    }
    EXPECT_EQ(type, COMPLEXREGION);
    RECT box{};
    GetRgnBox(after.Get(), &box);
    EXPECT_EQ(box.right, ownBox.right);
    EXPECT_EQ(box.bottom, ownBox.bottom);
  }
}

// A parent whose own cache is not ready yet, then ready with a colour.
uint8_t ParentAnswer = bgNotReady;
LRESULT CALLBACK WaitingParentProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == SkinCommandMessage && SkinCmdCode(WParam) == SkinCmdGetBackground && LParam) {
    auto* r = reinterpret_cast<BackgroundRequest*>(LParam);
    r->Kind = ParentAnswer;
    r->Color = static_cast<TColor>(0x00208040);
    return 1;
  }
  return DefWindowProcA(Wnd, Msg, WParam, LParam);
}

TEST(EditAdapterFrame, CacheWaitsForAParentThatIsNotReady) {
  TEditScene s;
  WNDCLASSA cls{};
  cls.lpfnWndProc = &WaitingParentProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "VarnelWaitingParent";
  RegisterClassA(&cls);
  TTestWindow parent(CreateWindowExA(0, "VarnelWaitingParent", "", WS_CHILD | WS_VISIBLE, 0, 0, 300,
                                     200, s.Form->Handle(), nullptr, nullptr, nullptr));
  TTestWindow edit = CreatePlainEdit(parent.Get());
  ParentAnswer = bgColor;
  TvlEditWnd* a = s.AdaptWindow(edit.Get());
  TsCommonData* d = a->SkinData;
  d->BgChanged = true;
  PaintBorderCache(d, edit.Get(), false);
  ASSERT_FALSE(d->BgChanged);
  ASSERT_TRUE(d->CacheBitmap && !d->CacheBitmap->Empty());
  // A marker in the cache shows whether the next call painted it.
  PixelView v = ArgbView(d->CacheBitmap);
  v.At(5, 5) = 0xFF123456;
  ParentAnswer = bgNotReady;
  d->BgChanged = true;
  d->Updating = false;
  PaintBorderCache(d, edit.Get(), false);
  EXPECT_TRUE(d->BgChanged);
  EXPECT_TRUE(d->Updating);
  EXPECT_EQ(ArgbView(d->CacheBitmap).At(5, 5), 0xFF123456u);
  ParentAnswer = bgColor;
  d->Updating = false;
  PaintBorderCache(d, edit.Get(), false);
  EXPECT_FALSE(d->BgChanged);
  EXPECT_NE(ArgbView(d->CacheBitmap).At(5, 5), 0xFF123456u);
  ReleaseScrollWndAdapter(edit.Get(), true, false, a);
}

}  // namespace
