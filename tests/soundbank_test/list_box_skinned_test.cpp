// TsListBox under the generated test skin, in this process: the items as
// the skinned road draws them, the strips its own painting fills from the
// cache, the skin commands, the border adapter's life cycle (with freed
// adapters poisoned), and a list box scrolled sideways.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "skin/adapters/adapter_base.h"
#include "skin/adapters/edit_wnd.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_commands.h"
#include "soundbank_test/slistbox.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "test_skin.h"
#include "test_support.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"

namespace {

const bool poisoned = (PoisonFreedAdapters = true);

bool Near(COLORREF a, COLORREF b, int tolerance) {
  for (int n = 0; n < 24; n += 8)
    if (std::abs(static_cast<int>((a >> n) & 0xFF) - static_cast<int>((b >> n) & 0xFF)) > tolerance)
      return false;
  return true;
}

int CountNear(const TCapture& c, const TRect& r, COLORREF colour, int tolerance = 0) {
  int n = 0;
  for (int y = std::max(0, r.Top); y < std::min(c.Height, r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(c.Width, r.Right); ++x)
      if (Near(c.At(x, y), colour, tolerance)) ++n;
  return n;
}

// A window's pixel as the screen shows it (window coordinates).
COLORREF WindowPixel(HWND wnd, int x, int y) {
  HDC dc = GetWindowDC(wnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(wnd, dc);
  return c;
}

// The cache's pixel at a window position, as COLORREF.
COLORREF CachePixel(TsCustomListBox* box, int x, int y) {
  TBitmap* cache = box->SkinData()->CacheBitmap;
  return GetPixel(cache->Canvas()->Handle(), x, y) & 0xFFFFFF;
}

// A list box made with a horizontal bar, which the window reads only when
// it is created.
class THorzListBox : public TsListBox {
 public:
  using TsListBox::TsListBox;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TsListBox::CreateParams(Params);
    Params.Style |= WS_HSCROLL;
  }
};

class SkinnedListBox : public testing::Test {
 protected:
  void TearDown() override {
    TObject::Free(form_);
    form_ = nullptr;
    Pump();
    skin_.reset();
  }

  void Start(const char* variant) {
    TObject::Free(form_);
    form_ = New<TForm>(Application, TCustomForm::TCreateNew{});
    form_->SetBounds(40, 40, 420, 300);
    form_->Show();
    SetWindowPos(form_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    skin_ = std::make_unique<test_skin::TempTestSkin>("lbskin", variant);
    manifest_ = skin_->Manifest();
    manager_ = test_skin::StartSkinManager(form_, *skin_);
    Pump();
  }

  template <typename T = TsListBox>
  T* AddBox(int items, int left = 10, int top = 10) {
    auto* box = New<T>(form_);
    box->SetParent(form_);
    box->SetBounds(left, top, 166, 141);
    for (int i = 0; i < items; ++i) box->Items()->Add("Port " + std::to_string(i));
    box->HandleNeeded();
    Pump();
    return box;
  }

  static void Repaint(TWinControl* c) {
    RedrawWindow(c->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    Pump();
  }
  static TRect ItemRect(TWinControl* box, int index) {
    RECT r{};
    SendMessageA(box->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // The client origin in window coordinates.
  static POINT ClientOrigin(HWND wnd) {
    RECT w;
    GetWindowRect(wnd, &w);
    POINT p{0, 0};
    ClientToScreen(wnd, &p);
    return {p.x - w.left, p.y - w.top};
  }

  TForm* form_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  test_skin::TestSkinManifest manifest_;
  std::unique_ptr<test_skin::TempTestSkin> skin_;

  // The manifest's pixel of that description as COLORREF.
  COLORREF SkinPixel(const std::string& what) const {
    const uint32_t v = test_skin::SkinPixel(manifest_, what);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
};

TEST_F(SkinnedListBox, ItemsTakeTheSelectionLookAndTheCacheBehindThem) {
  enum Row { SelectedFocused, SelectedUnfocused, NotSelected, Disabled, OwnerDrawn };
  struct Case {
    const char* Name;
    Row What;
  } rows[] = {{"selected, focused", SelectedFocused},
              {"selected, unfocused", SelectedUnfocused},
              {"not selected", NotSelected},
              {"disabled", Disabled},
              {"OnDrawItem", OwnerDrawn}};
  for (const char* variant : {test_skin::kSoundVariant, "selection"}) {
    Start(variant);
    const int sel = FindSectionIndex(manager_, "SELECTION");
    ASSERT_EQ(sel >= 0, std::string(variant) == "selection");
    for (const Case& c : rows) {
      SCOPED_TRACE(std::string(variant) + ": " + c.Name);
      auto* box = AddBox(3);
      auto* other = New<TButton>(form_);
      other->SetParent(form_);
      other->SetBounds(200, 10, 80, 25);
      ASSERT_TRUE(box->SkinData()->Skinned(false));
      ASSERT_NE(box->Adapter(), nullptr);
      int drawn = -1;
      struct TRecorder {
        int* Last;
        void Draw(TWinControl*, int Index, const TRect&, TOwnerDrawState) { *Last = Index; }
      } recorder{&drawn};
      if (c.What == OwnerDrawn) box->OnDrawItem = TDrawItemEvent::Of<&TRecorder::Draw>(&recorder);
      box->SetItemIndex(1);
      if (c.What == SelectedFocused || c.What == OwnerDrawn)
        box->SetFocus();
      else
        other->SetFocus();
      if (c.What == Disabled) box->SetEnabled(false);
      Pump();
      Repaint(box);
      const TCapture shot = CaptureClient(box->Handle());
      const POINT origin = ClientOrigin(box->Handle());
      const TRect item1 = ItemRect(box, 1), item0 = ItemRect(box, 0);
      // Right of the text, clear of a frame: the item's face.
      const int fx = item1.Right - 20, fy = item1.Top + item1.Height() / 2;
      const COLORREF face = shot.At(fx, fy);
      const TRect text{item0.Left + 1, item0.Top + 1, item0.Left + 60, item0.Bottom - 1};
      const TsGeneralData& edit =
          manager_->Sections[static_cast<size_t>(box->SkinData()->SkinIndex)];
      switch (c.What) {
        case SelectedFocused:
        case SelectedUnfocused: {
          const bool focused = c.What == SelectedFocused;
          // The selection image's centre lands on the item's centre.
          const COLORREF centre = shot.At(item1.Left + item1.Width() / 2, fy);
          const COLORREF expected = sel >= 0
                                        ? SkinPixel("SELECTION/BORDERSMASK frame " +
                                                    std::to_string(focused ? 1 : 0) + " centre")
                                        : ColorToRGB(manager_->GetHighlightColor(true));
          EXPECT_TRUE(Near(sel >= 0 ? centre : face, expected, 2))
              << std::hex << centre << " " << face << " " << expected;
          // The focus frame only where no selection section draws the state.
          const TRect top{item1.Left + 1, item1.Top, item1.Right - 1, item1.Top + 1};
          const int framed = top.Width() - CountNear(shot, top, face, 2);
          if (focused && sel < 0) {
            EXPECT_GE(framed, top.Width() / 3);
          } else if (sel < 0) {
            EXPECT_EQ(framed, 0);
          }
          const TRect selText{item1.Left + 1, item1.Top + 1, item1.Left + 60, item1.Bottom - 1};
          const COLORREF ink = sel >= 0 ? ColorToRGB(manager_->Sections[static_cast<size_t>(sel)]
                                                         .Props[focused ? 1 : 0]
                                                         .FontColor)
                                        : ColorToRGB(manager_->GetHighlightFontColor(focused));
          EXPECT_GT(CountNear(shot, selText, ink, 8), 3);
          break;
        }
        case NotSelected:
          EXPECT_TRUE(Near(shot.At(item0.Right - 20, item0.Top + 4),
                           CachePixel(box, item0.Right - 20 + origin.x, item0.Top + 4 + origin.y),
                           2));
          EXPECT_GT(CountNear(shot, text, ColorToRGB(edit.Props[0].FontColor), 8), 3);
          break;
        case Disabled:
          // The disabled look changes the face; no item shows the plain text colour.
          EXPECT_EQ(CountNear(shot, text, ColorToRGB(edit.Props[0].FontColor), 0), 0);
          break;
        case OwnerDrawn:
          EXPECT_GE(drawn, 0) << "the handler draws the items";
          // The handler drew nothing: an unselected item shows the cache.
          EXPECT_TRUE(Near(shot.At(item0.Right - 20, item0.Top + 4),
                           CachePixel(box, item0.Right - 20 + origin.x, item0.Top + 4 + origin.y),
                           2));
          break;
      }
      TObject::Free(other);
      TObject::Free(box);
    }
  }
}

TEST_F(SkinnedListBox, OwnPaintingFillsTheUncoveredStripsFromTheCache) {
  struct Case {
    const char* Name;
    int Items;
    TBorderStyle Border;
    bool Ctl3D;
  } cases[] = {{"no items", 0, bsSingle, true},
               {"partial last item", 24, bsSingle, true},
               {"no border", 3, bsNone, true},
               {"single, flat", 3, bsSingle, false}};
  Start(test_skin::kSoundVariant);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* box = AddBox(c.Items);
    box->SetBorderStyle(c.Border);
    box->SetCtl3D(c.Ctl3D);
    box->HandleNeeded();
    Pump();
    ASSERT_NE(box->Adapter(), nullptr);
    Repaint(box);
    const int b = box->CacheBorder();
    EXPECT_EQ(b, c.Border == bsNone ? 0 : (c.Ctl3D ? box->Adapter()->LeftEdge : 1));
    const TCapture shot = CaptureClient(box->Handle());
    // Below the last item that shows (or anywhere without items).
    int y = 4;
    if (c.Items > 0) {
      const TRect last = ItemRect(box, c.Items - 1);
      y = last.Bottom + 2;
      if (y >= shot.Height) y = -1;  // the partial item reaches the bottom
    }
    if (y >= 0) {
      for (int x : {2, shot.Width / 2, shot.Width - 3})
        EXPECT_TRUE(Near(shot.At(x, y), CachePixel(box, x + b, y + b), 2)) << x << "," << y;
    }
    TObject::Free(box);
  }
}

TEST_F(SkinnedListBox, SkinCommandsAreAnsweredByTheListBox) {
  struct Case {
    const char* Variant;
    uint16_t Code;
    bool Skinned;
  } cases[] = {{test_skin::kSoundVariant, SkinCmdIsSkinned, true},
               {test_skin::kSoundVariant, SkinCmdGetDefaultSection, true},
               {"no-edit", SkinCmdGetDefaultSection, false},
               {test_skin::kSoundVariant, SkinCmdGetBgColor, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Variant) + " " + std::to_string(c.Code));
    Start(c.Variant);
    auto* box = AddBox(3);
    box->SetColor(clBtnFace);
    if (c.Code == SkinCmdGetBgColor) {
      manager_->SetActive(false);
      Pump();
    }
    EXPECT_EQ(box->SkinData()->Skinned(false), c.Skinned);
    EXPECT_EQ(box->Adapter() != nullptr, c.Skinned);
    const LRESULT answer = SendMessageA(box->Handle(), SkinCommandMessage, SkinCmdParam(c.Code), 0);
    switch (c.Code) {
      case SkinCmdIsSkinned:
        EXPECT_EQ(answer, 1);
        break;
      case SkinCmdGetDefaultSection:
        EXPECT_EQ(answer, FindSectionIndex(manager_, "EDIT") + 1);
        break;
      case SkinCmdGetBgColor:
        EXPECT_EQ(answer, static_cast<LRESULT>(ColorToRGB(box->Color())));
        break;
    }
  }
  // The end of an update repaints the items.
  Start(test_skin::kSoundVariant);
  auto* box = AddBox(3);
  Pump();
  RECT pending{};
  ValidateRect(box->Handle(), nullptr);
  SendMessageA(box->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdEndUpdate), 0);
  EXPECT_TRUE(GetUpdateRect(box->Handle(), &pending, FALSE));
}

TEST_F(SkinnedListBox, AdapterFollowsTheSkinTheWindowAndTheForm) {
  Start(test_skin::kSoundVariant);
  auto* box = AddBox(24);
  const auto adapted = [&] { return GetPropA(box->Handle(), "VLSBSC") != nullptr; };
  ASSERT_TRUE(adapted());
  const TRect item = ItemRect(box, 1);
  const COLORREF highlight = ColorToRGB(clHighlight);
  box->SetItemIndex(1);
  // Off: no adapter, the plain look; on again: both come back.
  for (int round = 0; round < 2; ++round) {
    manager_->SetActive(false);
    Pump();
    EXPECT_FALSE(adapted());
    EXPECT_EQ(box->Adapter(), nullptr);
    Repaint(box);
    EXPECT_EQ(CaptureClient(box->Handle()).At(item.Right - 10, item.Top + 4), highlight);
    // The frame is the system's again, in the window's visual style.
    auto* plain = AddBox(24, 200, 10);
    Repaint(plain);
    for (const POINT p : {POINT{5, 0}, POINT{1, 5}, POINT{5, 1}})
      EXPECT_EQ(WindowPixel(box->Handle(), p.x, p.y), WindowPixel(plain->Handle(), p.x, p.y))
          << p.x << "," << p.y;
    TObject::Free(plain);
    manager_->SetActive(true);
    Pump();
    EXPECT_TRUE(adapted());
    ASSERT_NE(box->Adapter(), nullptr);
    Repaint(box);
    EXPECT_NE(CaptureClient(box->Handle()).At(item.Right - 10, item.Top + 4), highlight);
  }
  // A window made again gets a new adapter; the old one was given back.
  const HWND old = box->Handle();
  box->SetAutoHideScroll(false);
  box->HandleNeeded();
  Pump();
  EXPECT_NE(box->Handle(), old);
  EXPECT_TRUE(adapted());
  ASSERT_NE(box->Adapter(), nullptr);
  EXPECT_EQ(box->Adapter()->WindowHandle, box->Handle());
  EXPECT_EQ(box->Items()->Count(), 24);
  // A refresh replaces or keeps the adapter from inside its own procedure.
  SendMessageA(box->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdRefresh),
               reinterpret_cast<LPARAM>(manager_));
  Pump();
  EXPECT_TRUE(adapted());
  // The window destroyed with the adapter on it, then the list box freed.
  box->DestroyHandle();
  Pump();
  TObject::Free(box);
  // The form freed while a skinned list box is on it.
  AddBox(3);
  TObject::Free(form_);
  form_ = nullptr;
  Pump();
}

TEST_F(SkinnedListBox, ItemsScrolledSidewaysTakeTheCacheAtTheirWindowPosition) {
  Start(test_skin::kSoundVariant);
  auto* box = AddBox<THorzListBox>(0);
  for (int i = 0; i < 5; ++i) box->Items()->Add("Wide item " + std::to_string(i));
  SendMessageA(box->Handle(), LB_SETHORIZONTALEXTENT, 400, 0);
  for (int i = 0; i < 12; ++i) SendMessageA(box->Handle(), WM_HSCROLL, SB_LINEDOWN, 0);
  Pump();
  Repaint(box);
  const TRect item = ItemRect(box, 2);
  ASSERT_GT(GetScrollPos(box->Handle(), SB_HORZ), 0) << "scrolled sideways";
  // The rectangle as the window reports it: where the item is drawn.
  ASSERT_LE(item.Left, 0);
  ASSERT_GT(item.Right, box->ClientWidth());
  const TCapture shot = CaptureClient(box->Handle());
  const POINT origin = ClientOrigin(box->Handle());
  for (int x : {0, 2, 60, shot.Width - 12, shot.Width - 1}) {
    const int y = item.Top + 1;
    EXPECT_TRUE(Near(shot.At(x, y), CachePixel(box, x + origin.x, y + origin.y), 2)) << x;
  }
}

}  // namespace
