// What the skinned page control paints for its owner and its close buttons,
// and how it and its sheets answer the skin commands their children send:
// the section behind a sheet, whether its background varies, and who is
// asked again about transparency; frame paints that bring the cached look
// back.
#include <windows.h>

#include <string>
#include <vector>

#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/foundation/skin_commands.h"
#include "skinned_pages.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

uint32_t RgbAt(HDC DC, int X, int Y) {
  const COLORREF c = GetPixel(DC, X, Y);
  return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// A windowed control that logs the skin commands it is given and, when told
// to, answers the background-section question with a section of its own.
class TCommandProbe : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  void WndProc(TMessage& m) override {
    if (m.Msg == SkinCommandMessage) {
      const uint16_t code = SkinCmdCode(m.WParam);
      Seen.push_back({code, SkinCmdArg(m.WParam), m.LParam});
      if (code == SkinCmdGetBgSection && SectionAnswer >= 0) {
        auto* q = reinterpret_cast<BgSectionQuery*>(m.LParam);
        AskedRect = q->Rect;
        q->Index = SectionAnswer;
        m.Result = 1;
        return;
      }
    }
    TCustomControl::WndProc(m);
  }
  int Count(uint16_t Code, LPARAM L) const {
    int n = 0;
    for (const auto& s : Seen) n += s.Code == Code && s.LParam == L ? 1 : 0;
    return n;
  }
  struct Command {
    uint16_t Code, Arg;
    LPARAM LParam;
  };
  std::vector<Command> Seen;
  int SectionAnswer = -1;
  RECT AskedRect{};
};

class SkinAnswers : public SkinnedPages {
 protected:
  TsGeneralData& PageSection() {
    return Manager->Sections.at(size_t(Pages->SkinData()->SkinIndex));
  }
  LRESULT SheetCommand(uint16_t Code, uint16_t Arg, void* L) {
    return Sheets[0]->Perform(SkinCommandMessage, SkinCmdParam(Code, Arg),
                              reinterpret_cast<LPARAM>(L));
  }
  TCommandProbe* ProbeOn(TWinControl* Parent) {
    auto* p = New<TCommandProbe>(Form);
    p->SetBounds(10, 10, 40, 20);
    p->SetParent(Parent);
    return p;
  }
};

// What the owner of a tab is handed, and what it finds under it.
struct DrawLog {
  struct Call {
    int Tab;
    TRect Rect;
    bool Active;
    uint32_t Under;  // the target's pixel inside the tab's corner piece
  };
  std::vector<Call> Calls;
  void Draw(TCustomTabControl* Control, int Tab, const TRect& R, bool Active) {
    HDC dc = Control->Canvas()->Handle();
    Calls.push_back({Tab, R, Active, RgbAt(dc, R.Left + 2, R.Top + 2)});
    const RECT mark{R.Left + 6, R.Top + 6, R.Left + 10, R.Top + 10};
    TOwnedBrush brush(CreateSolidBrush(RGB(0x12, 0x34, 0x56)));
    FillRect(dc, &mark, brush.Get());
  }
};

TEST_F(SkinAnswers, OwnerDrawnTabsPaintOverTheirSectionsFaceInTheControlsPlace) {
  Pages->SetOwnerDraw(true);
  DrawLog log;
  Pages->OnDrawTab = TDrawTabEvent::Of<&DrawLog::Draw>(&log);
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta", "Gamma"});
  // A disabled page's owner-drawn tab is not blended: its owner decides.
  Sheets[1]->SetEnabled(false);
  Pages->HotTab = 2;
  log.Calls.clear();
  Rebuild();
  const struct {
    int Tab, State;
  } expected[] = {{2, 1}, {1, 0}, {0, 2}};  // the row's order: the active tab last
  ASSERT_EQ(log.Calls.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const auto& e = expected[i];
    const auto& c = log.Calls[i];
    SCOPED_TRACE(e.Tab);
    EXPECT_EQ(c.Tab, e.Tab);
    const TRect r = Pages->SkinTabRect(e.Tab, e.State == 2);
    EXPECT_EQ(c.Rect, r);
    EXPECT_EQ(c.Active, e.State != 0);
    EXPECT_EQ(c.Under, Face("TABTOP", e.State));
    EXPECT_EQ(CachePixel(r.Left + 7, r.Top + 7), 0x123456u);
  }
  EXPECT_FALSE(Pages->Canvas()->HandleAllocated());
}

TEST_F(SkinAnswers, CloseButtonsShowTheSkinsCloseImageByState) {
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta"});
  Pages->SetBoolProp(TsPageControl::bpShowCloseBtns, true);
  PumpMessages();
  const test_skin::MfStrip* close = Manifest.Strip("GLOBALINFO", "SICONCLOSE");
  ASSERT_NE(close, nullptr);
  const struct { int Hot, Pressed, Frame; } cases[] = {{-1, -1, 0}, {1, -1, 1}, {1, 1, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Frame);
    Pages->HotCloseIndex = c.Hot;
    Pages->PressedCloseIndex = c.Pressed;
    Rebuild();
    const TRect r = Pages->SkinTabRect(1, false);
    TWindowDC dc(Pages->Handle(), GetDC(Pages->Handle()));
    TSelectedObject font(dc.Get(), Pages->Font()->Handle());
    const TabContentLayout L =
        Pages->LayoutTabContent(dc.Get(), Sheets[1], false, 0, TRect(0, 0, r.Width(), r.Height()));
    ASSERT_GT(L.CloseRect.Width(), 0);
    EXPECT_EQ(CachePixel(r.Left + L.CloseRect.Left + close->Face.X,
                         r.Top + L.CloseRect.Top + close->Face.Y),
              close->Faces.at(size_t(c.Frame)) & 0xFFFFFF);
  }
}

TEST_F(SkinAnswers, CaptionsKeepTheTabOpaque) {
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta"});
  Rebuild();
  for (int tab : {0, 1}) {
    SCOPED_TRACE(tab);
    const int state = tab == 0 ? 2 : 0;
    const TRect r = Pages->SkinTabRect(tab, state == 2);
    TWindowDC dc(Pages->Handle(), GetDC(Pages->Handle()));
    TSelectedObject font(dc.Get(), Pages->Font()->Handle());
    const TabContentLayout L = Pages->LayoutTabContent(dc.Get(), Sheets[size_t(tab)], false, state,
                                                       TRect(0, 0, r.Width(), r.Height()));
    const PixelView v = ArgbView(Pages->SkinData()->CacheBitmap);
    int ink = 0, clear = 0;
    for (int y = L.TextRect.Top; y < L.TextRect.Bottom; ++y)
      for (int x = L.TextRect.Left; x < L.TextRect.Right; ++x) {
        const uint32_t p = v.At(r.Left + x, r.Top + y);
        ink += (p & 0xFFFFFF) != Face("TABTOP", state) ? 1 : 0;
        clear += (p >> 24) != 0xFF ? 1 : 0;
      }
    EXPECT_GT(ink, 0) << "a caption is written";
    EXPECT_EQ(clear, 0);
  }
}

TEST_F(SkinAnswers, FramePaintsBringBackTheCachedLook) {
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta"});
  Sheets[0]->SetBorderWidth(3);
  PumpMessages();
  Rebuild();
  RedrawWindow(Form->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const TRect tab = Pages->PageTabRect(1);
  const struct {
    const char* Name;
    TWinControl* Window;
    TPoint At;     // in the window's own frame
    TPoint Cache;  // the same place in the page control's cache
  } cases[] = {
      {"the tab row", Pages, TPoint(tab.Left + 3, tab.Top + 3), TPoint(tab.Left + 3, tab.Top + 3)},
      {"the sheet's border band", Sheets[0], TPoint(1, 1),
       TPoint(Sheets[0]->Left() + 1, Sheets[0]->Top() + 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    HWND h = c.Window->Handle();
    {
      TWindowDC dc(h, GetWindowDC(h));
      const RECT spot{c.At.X - 1, c.At.Y - 1, c.At.X + 2, c.At.Y + 2};
      FillRect(dc.Get(), &spot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      ASSERT_EQ(RgbAt(dc.Get(), c.At.X, c.At.Y), 0u);
    }
    SendMessageA(h, WM_NCPAINT, 1, 0);
    TWindowDC dc(h, GetWindowDC(h));
    const uint32_t shown = RgbAt(dc.Get(), c.At.X, c.At.Y);
    const uint32_t cached = CachePixel(c.Cache.X, c.Cache.Y);
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(int((shown >> shift) & 0xFF), int((cached >> shift) & 0xFF), 2) << shift;
  }
}

TEST_F(SkinAnswers, ASheetsBackgroundSectionComesFromBehindASeeThroughPageControl) {
  Skin(test_skin::kSoundVariant, {"Alpha"});
  // The page control stands on a parent that names a section of its own.
  auto* parent = ProbeOn(Form);
  parent->SetBounds(4, 6, 440, 290);
  parent->SectionAnswer = 77;
  Pages->SetParent(parent);
  PumpMessages();
  const int own = Pages->SkinData()->SkinIndex;
  const struct {
    const char* Name;
    int Transparency;
    bool GivesFont;
    LRESULT Result;
    int Index;
  } cases[] = {
      {"opaque", 0, false, 0, -1},
      {"opaque, hands its font on", 0, true, 1, own},
      {"see-through", 100, false, 1, 77},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    PageSection().Props[0].Transparency = c.Transparency;
    PageSection().BordersMask = c.Transparency ? -1 : PageSection().BordersMask;
    PageSection().GiveOwnFont = c.GivesFont;
    BgSectionQuery q;
    q.Rect = RECT{1, 2, 11, 12};
    EXPECT_EQ(SheetCommand(SkinCmdGetBgSection, 0, &q), c.Result);
    EXPECT_EQ(q.Index, c.Index);
    if (c.Transparency) {
      EXPECT_EQ(TRect(parent->AskedRect),
                TRect(1 + Pages->Left(), 2 + Pages->Top(), 11 + Pages->Left(), 12 + Pages->Top()));
    }
  }
}

TEST_F(SkinAnswers, ASheetsChildrenRepaintOnMovesOnlyOverAVaryingBackground) {
  Skin(test_skin::kSoundVariant, {"Alpha"});
  TCommandProbe* child = ProbeOn(Sheets[0]);
  const struct {
    const char* Name;
    int ImagePercent;
    bool Varies;
  } cases[] = {{"plain colour", 0, false}, {"textured", 40, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    PageSection().Props[0].ImagePercent = c.ImagePercent;
    Pages->SkinData()->BgChanged = false;
    child->Seen.clear();
    EXPECT_EQ(SheetCommand(SkinCmdBackgroundVaries, 0, nullptr), c.Varies ? 1 : 0);
    SheetCommand(SkinCmdParentBgChanged, 1, nullptr);
    EXPECT_EQ(Pages->SkinData()->BgChanged, c.Varies);
    int passed = 0;
    for (const auto& s : child->Seen) passed += s.Code == SkinCmdParentBgChanged && s.Arg == 1;
    EXPECT_EQ(passed, c.Varies ? 1 : 0);
  }
  EXPECT_EQ(SheetCommand(SkinCmdGetApplication, 0, nullptr),
            reinterpret_cast<LRESULT>(Application));
}

TEST_F(SkinAnswers, TransparencyIsRecomputedForTheActivePagesChildrenOnly) {
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta"});
  TCommandProbe* shown = ProbeOn(Sheets[0]);
  shown->HandleNeeded();
  EXPECT_EQ(shown->Count(SkinCmdTransparency, 1), 1) << "a window made on a sheet is asked at once";
  TCommandProbe* hidden = ProbeOn(Sheets[1]);
  shown->Seen.clear();
  hidden->Seen.clear();
  Pages->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdTransparency), 1);
  EXPECT_EQ(shown->Count(SkinCmdTransparency, 1), 1);
  EXPECT_EQ(hidden->Count(SkinCmdTransparency, 1), 0);
  // Asked for its flags, the control answers what it holds.
  Pages->SkinData()->StateFlags = sfTransparencyUnknown;
  EXPECT_EQ(Pages->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdTransparency), 0),
            LRESULT(sfTransparencyUnknown));
  // A sheet recomputes them while they are still unknown.
  EXPECT_NE(SheetCommand(SkinCmdTransparency, 0, nullptr), LRESULT(sfTransparencyUnknown));
}

TEST_F(SkinAnswers, APutAwaySheetLetsItsChildrenDropTheirCachesWhenSavingMemory) {
  Skin(test_skin::kSoundVariant, {"Alpha", "Beta"});
  TCommandProbe* child = ProbeOn(Sheets[0]);
  child->HandleNeeded();
  const struct {
    TvlOptimizingPriority Priority;
    int Released;
  } cases[] = {{opSpeed, 0}, {opMemory, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Priority);
    Manager->Options()->SetOptimizingPriority(c.Priority);
    Pages->SetActivePage(Sheets[0]);
    PumpMessages();
    child->Seen.clear();
    Pages->SetActivePage(Sheets[1]);
    PumpMessages();
    EXPECT_EQ(child->Count(SkinCmdReleaseCache, 0), c.Released);
  }
}

}  // namespace
