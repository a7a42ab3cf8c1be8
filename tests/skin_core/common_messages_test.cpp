// The skin commands every skinned control answers alike, the messages that
// change its skin state, and the painting helpers around controls.
#include <gtest/gtest.h>

#include <string>

#include "probe.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/adapters/scroll_wnd.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/bitmap_painters.h"

namespace {

class CommonMessagesTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    manager = New<TsSkinManager>(Form);
    for (const char* name : {"EDIT", "PANEL"}) {
      TsGeneralData d;
      d.SectionName = name;
      manager->Sections.push_back(d);
    }
    probe = AddProbe(Form, "P", false);
    probe->SkinData = New<TsCommonData>(probe, true);
    probe->CommonHandling = true;
    probe->HandleNeeded();
    d = probe->SkinData;
    d->SetSkinSection("EDIT");
    d->SkinIndex = 0;
  }
  LRESULT* result = nullptr;
  bool Send(uint16_t Code, LPARAM LParam, LRESULT& Result, uint16_t Arg = 0) {
    TMessage m{SkinCommandMessage, SkinCmdParam(Code, Arg), LParam, 0};
    const bool consumed = HandleSkinCommand(m, d);
    Result = m.Result;
    return consumed;
  }
  TsSkinManager* manager = nullptr;
  TProbeControl* probe = nullptr;
  TsCommonData* d = nullptr;
};

TEST_F(CommonMessagesTest, EveryCodeWithItsResult) {
  TsSkinManager* foreign = New<TsSkinManager>(Form);
  const std::string panel = "PANEL";
  BgSectionQuery query;
  TRect bounds;
  const LPARAM own = reinterpret_cast<LPARAM>(manager);
  const LPARAM other = reinterpret_cast<LPARAM>(foreign);
  struct Case {
    uint16_t code;
    LPARAM lparam;
    bool consumed;
    LRESULT result;
  };
  const Case cases[] = {
      {SkinCmdNewSkin, other, true, 0},
      {SkinCmdRefresh, other, true, 0},
      {SkinCmdRemoveSkin, other, true, 0},
      {SkinCmdIsSkinned, 0, true, 1},
      {SkinCmdSetUpdating, 0, true, 0},
      {SkinCmdIsCacheIncomplete, 0, true, 1},
      {SkinCmdSetSection, 0, true, 0},
      {SkinCmdStopAnimation, 0, true, 0},
      {SkinCmdBgChanged, 0, true, 0},
      {SkinCmdBackgroundVaries, 0, true, 1},
      {SkinCmdSetCacheIncomplete, 0, true, 0},
      {SkinCmdPrepareCache, 0, true, 0},
      {SkinCmdGetSkinIndex, reinterpret_cast<LPARAM>(&query), true, 0},
      {SkinCmdGetSkinData, 0, true, reinterpret_cast<LRESULT>(d)},
      {SkinCmdGetApplication, 0, true, reinterpret_cast<LRESULT>(Application)},
      {SkinCmdSetScale, 150, false, 0},
      {SkinCmdGetScale, 0, true, 150},
      {SkinCmdGetBounds, reinterpret_cast<LPARAM>(&bounds), true, 0},
      {SkinCmdGetBgSection, reinterpret_cast<LPARAM>(&query), true, 1},
      {SkinCmdSetSection, reinterpret_cast<LPARAM>(&panel), true, 1},
      {SkinCmdGetProvider, 0, false, 0},  // not a common code
      {SkinCmdRefresh, own, true, 0},
      {SkinCmdRemoveSkin, own, false, 0},
      {SkinCmdRemoveSkin, own, true, 0},  // nothing left to remove
  };
  for (const Case& c : cases) {
    LRESULT r = -1;
    EXPECT_EQ(Send(c.code, c.lparam, r), c.consumed) << c.code;
    EXPECT_EQ(r, c.result) << c.code;
    if (c.lparam == other) {
      EXPECT_EQ(d->SkinIndex, 0) << "a foreign manager changes nothing";
    }
  }
  EXPECT_EQ(query.Index, 0);
  EXPECT_EQ(bounds, probe->BoundsRect());
  EXPECT_EQ(d->ScalePercent, 150);
  EXPECT_EQ(d->SkinSection, "PANEL");
  EXPECT_EQ(d->SkinIndex, -1);
  EXPECT_TRUE(d->Updating);
  TMessage other2{WM_SIZE, 0, 0, 0};
  EXPECT_TRUE(HandleSkinCommand(other2, d));  // not a skin command: nothing to do
  EXPECT_TRUE(HandleSkinCommand(other2, nullptr));
}

TEST_F(CommonMessagesTest, TransparencyQueryAndPrintDC) {
  d->StateFlags = sfTransparencyUnknown;
  LRESULT r;
  EXPECT_TRUE(Send(SkinCmdTransparency, 0, r));
  EXPECT_EQ(r, sfTransparencyUnknown);  // not a form: stays undecided
  HDC dc = CreateCompatibleDC(nullptr);
  Send(SkinCmdSetPrintDC, reinterpret_cast<LPARAM>(dc), r);
  EXPECT_EQ(d->PrintDC, dc);
  EXPECT_TRUE(d->StateFlags & sfPrintDC);
  Send(SkinCmdSetPrintDC, 0, r);
  EXPECT_FALSE(d->StateFlags & sfPrintDC);
  DeleteDC(dc);
}

TEST_F(CommonMessagesTest, SkinStateIsRegisteredWhenTheWindowIsMade) {
  TProbeControl* late = AddProbe(Form, "Late", false);
  late->SkinData = New<TsCommonData>(late, false);
  late->CommonHandling = true;
  late->HandleNeeded();
  EXPECT_TRUE(late->PropAtNcCreate);
  EXPECT_EQ(GetSkinDataProp(late->Handle()), late->SkinData);
}

TEST_F(CommonMessagesTest, MouseOverIncludesTheSkinnedScrollBars) {
  probe->SetBounds(20, 20, 60, 40);
  Form->Show();
  // The skinned bar stands where the window's own vertical bar would be.
  HWND h = probe->Handle();
  SetWindowLongPtrA(h, GWL_STYLE, GetWindowLongPtrA(h, GWL_STYLE) | WS_VSCROLL);
  SetWindowPos(h, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  Pump();
  RECT client;
  GetClientRect(h, &client);
  const int bar = 60 - client.right;
  ASSERT_GT(bar, 2);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  TsScrollWndData sizes(nullptr, false);
  sizes.VertScrollData->SetScrollWidth(bar);
  TvlScrollWnd adapter;
  adapter.SkinData = &sizes;
  adapter.VertBar = new TvlScrollBar(&adapter, SB_VERT);
  SetPropA(h, "VLSBSC", static_cast<TvlMainWnd*>(&adapter));
  struct Case {
    int x;
    bool barVisible;
    bool expected;
  };
  const Case cases[] = {
      {5, false, true},
      {client.right + 1, false, false},
      {client.right + 1, true, true},
      {client.right + bar + 3, true, false},
  };
  for (const Case& c : cases) {
    adapter.VertBar->Visible = c.barVisible;
    SetCursorPos(origin.x + c.x, origin.y + 10);
    EXPECT_EQ(IsMouseOverControl(d), c.expected) << c.x << " bar " << c.barVisible;
  }
  RemovePropA(h, "VLSBSC");
  adapter.SkinData = nullptr;
}

TEST(BlendBitmapByAlphaTest, WeightsBySourceAlphaAndLevel) {
  struct Case {
    uint32_t dst, src;
    uint8_t level;
    uint32_t expected;
  };
  const Case cases[] = {
      {0xFF000000, 0xFFFFFFFF, 255, 0xFFFDFDFD},  // w = 254: (255 * 254) shr 8
      {0x11223344, 0x00FFFFFF, 255, 0x11223344},  // no source alpha: kept
      {0x80000000, 0x80FF0000, 255, 0x807E0000},  // w = 127, destination alpha kept
      {0xFF0000FF, 0xFF00FF00, 0, 0xFF0000FE},
  };
  for (const Case& c : cases) {
    TBitmap* dst = NewArgbBitmap(2, 2);
    TBitmap* src = NewArgbBitmap(2, 2);
    SetArgbPixel(dst, 1, 1, c.dst);
    SetArgbPixel(src, 0, 0, c.src);
    // The destination starts left of and above the bitmap: the source moves.
    BlendBitmapByAlpha(dst, TRect(0, 0, 2, 2), src, TPoint(-1, -1), c.level);
    EXPECT_EQ(GetArgbPixel(dst, 1, 1), c.expected) << std::hex << c.src;
    TObject::Free(dst);
    TObject::Free(src);
  }
}

// A graphic child that paints only its top-left pixel red and counts
// nested calls of the graphic-children painter.
int gNestedReturns = 0;
class TDotGraphic : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_PAINT && m.WParam) {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetPixel(dc, 0, 0, RGB(255, 0, 0));
      PaintGraphicChildren(dc, Parent(), false, TPoint(0, 0));
      ++gNestedReturns;
      return;
    }
    TGraphicControl::WndProc(m);
  }
};

bool AnswerNotReady(TControl*, TMessage& m) {
  if (SkinCmdCode(m.WParam) != SkinCmdGetBackground) return false;
  auto* r = reinterpret_cast<BackgroundRequest*>(m.LParam);
  r->Kind = bgColor;
  r->Color = clFuchsia;
  return true;
}

TEST_F(CommonMessagesTest, GraphicChildrenAreCopiedByTheirOwnPlaceInTheWorkBitmap) {
  TProbeControl* host = AddProbe(Form, "Host");
  host->SetBounds(0, 0, 40, 40);
  host->Answer = AnswerNotReady;
  auto* dot = New<TDotGraphic>(Form);
  dot->SetBounds(10, 10, 6, 6);
  dot->SetParent(host);
  TBitmap* target = NewArgbBitmap(50, 50);
  HDC dc = target->Canvas()->Handle();
  FillRectArgb(target, TRect(0, 0, 50, 50), clBlue, 255);
  gNestedReturns = 0;
  PaintGraphicChildren(dc, host, false, TPoint(2, 2));
  EXPECT_EQ(gNestedReturns, 1);  // the nested call returned at once
  EXPECT_EQ(GetPixel(dc, 12, 12), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 13, 13), RGB(255, 0, 255));  // the background as answered
  EXPECT_EQ(GetPixel(dc, 11, 11), RGB(0, 0, 255));    // outside the child: untouched
  TObject::Free(target);
}

TEST_F(CommonMessagesTest, BackgroundColourQueries) {
  EXPECT_EQ(GetControlBgColor(nullptr), clFuchsia);
  EXPECT_EQ(GetWindowBgColor(nullptr), clFuchsia);
  TProbeControl* plain = AddProbe(Form, "Plain");
  plain->SetColor(0x123456);
  EXPECT_EQ(GetControlBgColor(plain), 0x123456);
  EXPECT_EQ(GetWindowBgColor(plain->Handle()), 0);  // unskinned windows answer black
  manager->Sections[0].Props[0].Color = 0x0000FF;
  EXPECT_EQ(GetControlBgColor(probe), 0x0000FF);
}

}  // namespace
