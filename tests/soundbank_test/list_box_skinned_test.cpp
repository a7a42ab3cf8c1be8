// TsListBox under the generated test skin, in this process: the items as
// the skinned road draws them, the strips its own painting fills from the
// cache, the skin commands, and a list box scrolled sideways. Expected
// colours come from the skin's manifest, never from the code under test.
#include <map>
#include <vector>

#include "list_box_skin_scene.h"
#include "skin/foundation/skin_commands.h"

namespace {

using namespace list_box_scene;

using SkinnedListBox = Scene;

// Whether c lies clearly between a and b in every channel where those two
// differ clearly: a blend of both, neither one alone.
bool Between(COLORREF c, COLORREF a, COLORREF b) {
  bool any = false;
  for (int n = 0; n < 24; n += 8) {
    const int ca = (a >> n) & 0xFF, cb = (b >> n) & 0xFF, cc = (c >> n) & 0xFF;
    if (std::abs(ca - cb) < 24) continue;
    any = true;
    if (cc < std::min(ca, cb) + 4 || cc > std::max(ca, cb) - 4) return false;
  }
  return any;
}

// Every cache pixel gets a value of its own, so that a pixel taken from the
// cache tells where it was taken (compared exactly: neighbours differ by 1).
COLORREF Pattern(int x, int y) {
  return RGB(x & 0xFF, y & 0xFF, 0x5A);
}
void PaintCachePattern(TsCustomListBox* box) {
  TBitmap* cache = box->SkinData()->CacheBitmap;
  ASSERT_NE(cache, nullptr);
  HDC dc = cache->Canvas()->Handle();
  for (int y = 0; y < cache->Height(); ++y)
    for (int x = 0; x < cache->Width(); ++x) SetPixelV(dc, x, y, Pattern(x, y));
  GdiFlush();
}
// The client painted again from the cache as it stands; the frame, which
// would paint the cache anew, is left alone.
void RepaintClient(TWinControl* box) {
  InvalidateRect(box->Handle(), nullptr, FALSE);
  UpdateWindow(box->Handle());
  Pump();
}

TEST_F(SkinnedListBox, ItemsTakeTheSelectionSectionOrThePaletteAndTheCacheBehindThem) {
  enum Row { SelectedFocused, SelectedUnfocused, NotSelected, Disabled, PastTheItems, OwnerDrawn };
  const struct {
    const char* Name;
    Row What;
  } rows[] = {{"selected, focused", SelectedFocused}, {"selected, unfocused", SelectedUnfocused},
              {"not selected, focused", NotSelected}, {"disabled", Disabled},
              {"index past the items", PastTheItems}, {"OnDrawItem", OwnerDrawn}};
  for (const char* variant : {test_skin::kSoundVariant, "selection"}) {
    Start(variant);
    const bool section = manifest_.SectionIndex("SELECTION") >= 0;
    ASSERT_EQ(section, std::string(variant) == "selection");
    // A selected item: the section's frame of the state (1 focused, 0 not)
    // with its own border, or the palette's highlight edge to edge.
    const auto frame = [&](bool focused) {
      return std::string("SELECTION/BORDERSMASK frame ") + (focused ? "1" : "0");
    };
    const auto selFace = [&](bool focused) {
      return section ? SkinPixel(frame(focused) + " face") : FromTColor(manifest_.Palette[8]);
    };
    const auto selRim = [&](bool focused) {
      return section ? SkinPixel(frame(focused) + " border") : selFace(focused);
    };
    const auto selInk = [&](bool focused) {
      return section ? FromTColor(SectionState("SELECTION", focused ? 1 : 0).FontColor)
                     : FromTColor(manifest_.Palette[focused ? 9 : 7]);
    };
    if (section) {
      // The state a list never asks for looks like neither of the two.
      const COLORREF third = SkinPixel("SELECTION/BORDERSMASK frame 2 face");
      ASSERT_FALSE(Near(third, selFace(true), 24) || Near(third, selFace(false), 24));
    }
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(variant) + ": " + row.Name);
      auto* box = AddBox(3);
      // Bold and large: some text pixels reach the full colour even where
      // text is smoothed.
      box->Font()->SetSize(12);
      box->Font()->SetStyle(fsBold);
      auto* other = New<TButton>(form_);
      other->SetParent(form_);
      other->SetBounds(200, 10, 80, 25);
      ASSERT_TRUE(box->SkinData()->Skinned(false));
      ASSERT_NE(box->Adapter(), nullptr);
      struct TRecorder {
        struct Colours {
          TColor Brush, Font;
        };
        std::map<int, Colours> Drawn;
        void Draw(TWinControl* c, int Index, const TRect&, TOwnerDrawState) {
          TCanvas* canvas = static_cast<TsListBox*>(c)->Canvas();
          Drawn[Index] = {canvas->Brush()->Color(), canvas->Font()->Color()};
        }
      } recorder;
      if (row.What == OwnerDrawn) box->OnDrawItem = TDrawItemEvent::Of<&TRecorder::Draw>(&recorder);
      box->SetItemIndex(row.What == NotSelected ? -1 : 1);
      const bool focused = row.What != SelectedUnfocused && row.What != Disabled;
      Focus(focused ? static_cast<TWinControl*>(box) : other);
      if (row.What == Disabled) box->SetEnabled(false);
      Pump();
      Repaint(box);
      TRect item = ItemRect(box, 1);
      if (row.What == PastTheItems) {
        // A request for an item the list lacks, drawn where a fourth item would be.
        const TRect last = ItemRect(box, 2);
        item = TRect(last.Left, last.Bottom, last.Right, last.Bottom + last.Height());
        TWindowDC dc(box->Handle());
        DRAWITEMSTRUCT d{};
        d.CtlType = ODT_LISTBOX;
        d.itemID = 3;
        d.itemAction = ODA_DRAWENTIRE;
        d.itemState = ODS_SELECTED | ODS_FOCUS;
        d.hwndItem = box->Handle();
        d.hDC = dc.Get();
        d.rcItem = item;
        TMessage draw{CN_DRAWITEM, reinterpret_cast<WPARAM>(box->Handle()),
                      reinterpret_cast<LPARAM>(&d), 1};
        box->Dispatch(draw);
        GdiFlush();
      }
      const TCapture shot = CaptureClient(box->Handle());
      const POINT origin = ClientOrigin(box->Handle());
      const TRect item0 = ItemRect(box, 0);
      const int my = item.Top + item.Height() / 2;
      const COLORREF centre = shot.At(item.Left + item.Width() / 2, my);
      const auto cacheAt = [&](int x, int y) {
        return CachePixel(box, x + origin.x, y + origin.y);
      };
      const auto textRect = [](const TRect& r) {
        return TRect(r.Left + 1, r.Top + 2, r.Left + 60, r.Bottom - 2);
      };
      const auto rowOf = [](const TRect& r, int y) { return TRect(r.Left, y, r.Right, y + 1); };
      switch (row.What) {
        case SelectedFocused:
        case SelectedUnfocused:
        case PastTheItems: {
          EXPECT_TRUE(Near(centre, selFace(focused), 2))
              << std::hex << centre << " " << selFace(focused);
          EXPECT_TRUE(Near(shot.At(item.Right - 20, my), selFace(focused), 2));
          // The section's border on the item's top and bottom rows; the
          // focus frame only where no section shows the state.
          const bool framed = focused && !section && row.What != PastTheItems;
          for (int y : {item.Top, item.Bottom - 1}) {
            const TRect line = rowOf(item, y);
            const int plain = CountNear(shot, line, selRim(focused), 2);
            if (framed) {
              EXPECT_LE(plain, line.Width() * 2 / 3) << y;
            } else {
              EXPECT_EQ(plain, line.Width()) << y;
            }
          }
          if (section) {
            EXPECT_TRUE(Near(shot.At(item.Left + 30, item.Top + 1), selRim(focused), 2));
          }
          const int ink =
              CountNear(shot, row.What == PastTheItems ? item : textRect(item), selInk(focused), 8);
          if (row.What == PastTheItems) {
            EXPECT_EQ(ink, 0) << "no text for an index the items lack";
          } else {
            EXPECT_GT(ink, 3);
          }
          break;
        }
        case NotSelected: {
          // The focused edit's face behind every item, its text in the
          // focused state's colour, no selection and no frame anywhere.
          const COLORREF face = SkinPixel("EDIT/BORDERSMASK frame 1 face");
          for (int i = 0; i < 3; ++i) {
            const TRect r = ItemRect(box, i);
            const TRect clear(r.Left + 70, r.Top, r.Right, r.Bottom);
            EXPECT_EQ(CountNear(shot, clear, face, 2), clear.Width() * clear.Height()) << i;
            EXPECT_EQ(CountNear(shot, rowOf(r, r.Top), face, 2), r.Width()) << i;
          }
          EXPECT_GT(
              CountNear(shot, textRect(item0), FromTColor(SectionState("EDIT", 1).FontColor), 8),
              3);
          break;
        }
        case Disabled: {
          const int x = item0.Right - 20, y = item0.Top + item0.Height() / 2;
          EXPECT_TRUE(Near(shot.At(x, y), cacheAt(x, y), 2));
          // The selected item is blended with what lies behind it.
          const int cx = item.Left + item.Width() / 2;
          EXPECT_TRUE(Between(centre, selFace(false), cacheAt(cx, my)))
              << std::hex << centre << " " << selFace(false) << " " << cacheAt(cx, my);
          // No item shows a text colour as it is when enabled.
          EXPECT_EQ(
              CountNear(shot, textRect(item0), FromTColor(SectionState("EDIT", 0).FontColor), 0),
              0);
          EXPECT_EQ(CountNear(shot, textRect(item), selInk(false), 0), 0);
          break;
        }
        case OwnerDrawn: {
          ASSERT_EQ(recorder.Drawn.size(), 3u) << "the handler draws every item";
          EXPECT_EQ(ColorToRGB(recorder.Drawn[1].Brush), FromTColor(manifest_.Palette[8]));
          EXPECT_EQ(ColorToRGB(recorder.Drawn[1].Font), FromTColor(manifest_.Palette[9]));
          EXPECT_EQ(ColorToRGB(recorder.Drawn[0].Brush), ColorToRGB(box->Color()));
          EXPECT_EQ(ColorToRGB(recorder.Drawn[0].Font), ColorToRGB(box->Font()->Color()));
          // The handler painted nothing: the selected item shows the cache,
          // with neither the selection's look nor a frame.
          const int cx = item.Left + item.Width() / 2;
          EXPECT_TRUE(Near(centre, cacheAt(cx, my), 2));
          EXPECT_EQ(CountNear(shot, rowOf(item, item.Top), cacheAt(cx, item.Top), 2), item.Width());
          break;
        }
      }
      TObject::Free(other);
      TObject::Free(box);
    }
  }
}

// Items without text over a cache whose every pixel differs: each client
// pixel tells which cache pixel it shows. Items and strips take it at the
// window position, offset by B (0 without a border, the adapter's edge with
// Ctl3D, 1 without).
TEST_F(SkinnedListBox, OwnPaintingFillsTheUncoveredStripsFromTheCache) {
  const struct {
    const char* Name;
    int Items;
    TBorderStyle Border;
    bool Ctl3D;
  } cases[] = {{"no items", 0, bsSingle, true},
               {"single, 3D", 3, bsSingle, true},
               {"single, flat", 3, bsSingle, false},
               {"no border", 3, bsNone, true},
               {"partial last item", 24, bsSingle, true}};
  Start(test_skin::kSoundVariant);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* box = AddBox(c.Items, 10, 10, "");
    box->SetBorderStyle(c.Border);
    box->SetCtl3D(c.Ctl3D);
    box->HandleNeeded();
    Pump();
    ASSERT_NE(box->Adapter(), nullptr);
    const int edge = box->Adapter()->LeftEdge;
    const int b = c.Border == bsNone ? 0 : (c.Ctl3D ? edge : 1);
    EXPECT_EQ(box->CacheBorder(), b);
    // The items' own offset: the adapter's edge whenever there is a border.
    const int itemOffset = c.Border == bsNone ? 0 : edge;
    int partial = -1;
    if (c.Items > 8) {
      // Half an item below the last whole one, that item selected while the
      // list stays at its top.
      const int h = ItemRect(box, 0).Height();
      box->SetHeight(box->Height() - box->ClientHeight() + 5 * h + h / 2);
      partial = 5;
      box->SetItemIndex(partial);
      box->SetTopIndex(0);
      Pump();
    }
    Repaint(box);
    PaintCachePattern(box);
    RepaintClient(box);
    const TCapture shot = CaptureClient(box->Handle());
    TRect selected;
    if (partial >= 0) {
      selected = ItemRect(box, partial);
      ASSERT_EQ(box->TopIndex(), 0);
      ASSERT_LT(selected.Top, shot.Height);
      ASSERT_GT(selected.Bottom, shot.Height) << "the last item shows only in part";
      const TRect seen(selected.Left, selected.Top, selected.Right, shot.Height);
      EXPECT_EQ(CountNear(shot, seen, FromTColor(manifest_.Palette[8]), 2),
                seen.Width() * seen.Height())
          << "the part that shows is painted";
    }
    std::vector<TRect> items;
    for (int i = box->TopIndex(); i < c.Items && ItemRect(box, i).Top < shot.Height; ++i)
      items.push_back(ItemRect(box, i));
    int wrong = 0;
    std::string first;
    for (int y = 0; y < shot.Height; ++y) {
      for (int x = 0; x < shot.Width; ++x) {
        if (partial >= 0 && y >= selected.Top) continue;
        const bool inItem = std::any_of(items.begin(), items.end(), [&](const TRect& r) {
          return y >= r.Top && y < r.Bottom && x >= r.Left && x < r.Right;
        });
        const int o = inItem ? itemOffset : b;
        if (shot.At(x, y) == Pattern(x + o, y + o)) continue;
        if (wrong++ == 0)
          first = std::to_string(x) + "," + std::to_string(y) + (inItem ? " in an item" : "");
      }
    }
    EXPECT_EQ(wrong, 0) << "first at " << first;
    TObject::Free(box);
  }
}

TEST_F(SkinnedListBox, SkinCommandsAreAnsweredByTheListBox) {
  enum Skin { On, Off };
  const struct {
    const char* Variant;
    uint16_t Code;
    Skin Manager;
    bool Skinned;
  } cases[] = {{test_skin::kSoundVariant, SkinCmdIsSkinned, On, true},
               {test_skin::kSoundVariant, SkinCmdIsSkinned, Off, false},
               {test_skin::kSoundVariant, SkinCmdGetDefaultSection, On, true},
               {"no-edit", SkinCmdGetDefaultSection, On, false},
               {test_skin::kSoundVariant, SkinCmdGetBgColor, Off, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Variant) + " " + std::to_string(c.Code) +
                 (c.Manager == On ? " on" : " off"));
    Start(c.Variant);
    auto* box = AddBox(3);
    box->SetColor(clBtnFace);
    if (c.Manager == Off) {
      manager_->SetActive(false);
      Pump();
    }
    EXPECT_EQ(box->SkinData()->Skinned(false), c.Skinned);
    EXPECT_EQ(box->Adapter() != nullptr, c.Skinned);
    EXPECT_EQ(GetPropA(box->Handle(), "VLSBSC") != nullptr, c.Skinned);
    const LRESULT answer = SendMessageA(box->Handle(), SkinCommandMessage, SkinCmdParam(c.Code), 0);
    switch (c.Code) {
      case SkinCmdIsSkinned:
        EXPECT_EQ(answer, 1);
        break;
      case SkinCmdGetDefaultSection:
        // EDIT's index + 1; a skin without EDIT gives 0.
        EXPECT_EQ(answer, manifest_.Broken.empty() ? manifest_.SectionIndex("EDIT") + 1 : 0);
        break;
      case SkinCmdGetBgColor:
        EXPECT_EQ(answer, static_cast<LRESULT>(ColorToRGB(box->Color())));
        break;
    }
    if (!c.Skinned) {
      // The plain look: the system's highlight behind the selected item.
      box->SetItemIndex(1);
      Repaint(box);
      const TRect item = ItemRect(box, 1);
      EXPECT_EQ(CaptureClient(box->Handle()).At(item.Right - 10, item.Top + item.Height() / 2),
                ColorToRGB(clHighlight));
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
  PaintCachePattern(box);
  RepaintClient(box);
  const TCapture shot = CaptureClient(box->Handle());
  const POINT origin = ClientOrigin(box->Handle());
  for (int x : {0, 2, 60, shot.Width - 12, shot.Width - 1}) {
    const int y = item.Top + 1;
    EXPECT_EQ(shot.At(x, y), Pattern(x + origin.x, y + origin.y)) << x;
  }
}

}  // namespace
