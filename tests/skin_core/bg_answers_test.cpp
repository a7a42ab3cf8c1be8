// What a skinned control answers about its background: the transparency
// decision, the background request as a state machine, the colour of a
// state, the see-through face and the size rules.
#include <gtest/gtest.h>

#include "probe.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/bitmap_painters.h"
#include "widgets/controls/comctrls.h"

namespace {

enum Sec { sOpaque, sHalf, sClear, sTiled, sGradient, sCentre, sFramed, sQuarter, sCount };

// How the parent answers SkinCmdGetBackground and SkinCmdTransparency.
uint8_t gParentKind = 0;  // 0: not at all
TBitmap* gParentBitmap = nullptr;
LRESULT gParentFlags = 0;
// Whether the child can paint its cache when asked to.
bool gCanPaint = true;

bool ParentAnswer(TControl*, TMessage& m) {
  const uint16_t code = SkinCmdCode(m.WParam);
  if (code == SkinCmdTransparency) {
    m.Result = gParentFlags;
    return true;
  }
  if (code != SkinCmdGetBackground || gParentKind == 0) return false;
  auto* r = reinterpret_cast<BackgroundRequest*>(m.LParam);
  r->Kind = gParentKind;
  r->Color = 0x00FF00;
  r->Bitmap = gParentKind == bgBitmap ? gParentBitmap : nullptr;
  r->OffsetX = r->OffsetY = 0;
  return true;
}

bool ChildAnswer(TControl* self, TMessage& m) {
  if (SkinCmdCode(m.WParam) != SkinCmdPrepareCache) return false;
  TsCommonData* d = static_cast<TProbeControl*>(self)->SkinData;
  if (gCanPaint && d->CacheBitmap) {
    d->CacheBitmap->SetSize(self->Width(), self->Height());
    d->BgChanged = false;
  }
  return true;
}

class BgAnswersTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    manager = New<TsSkinManager>(Form);
    manager->Sections.resize(sCount);
    auto props = [&](Sec s) -> TsGenState& { return manager->Sections[s].Props[0]; };
    for (TsGeneralData& d : manager->Sections)
      for (TsGenState& st : d.Props) st.Color = 0x000000;
    auto allStates = [&](Sec s, int t) {
      for (TsGenState& st : manager->Sections[s].Props) st.Transparency = t;
    };
    allStates(sHalf, 50);
    allStates(sClear, 100);
    allStates(sTiled, 100);
    allStates(sQuarter, 25);
    props(sTiled).ImagePercent = 100;
    props(sTiled).PatternIndex = 0;
    props(sGradient).GradientPercent = 100;
    props(sGradient).Gradient = {GradientStop{0, 0xFFFFFF, 100, 1}};
    manager->Sections[sCentre].BordersMask = 1;
    manager->Sections[sFramed].BordersMask = 2;
    TsMaskData tile;
    tile.PaintMode = 10;  // tiled over the whole control
    TsMaskData centre;
    centre.PaintMode = 4;
    TsMaskData frame;
    frame.BorderLeft = frame.BorderTop = frame.BorderRight = frame.BorderBottom = 3;
    manager->Masks = {tile, centre, frame};
    parent = AddProbe(Form, "Parent");
    parent->SetBounds(0, 0, 200, 150);
    parent->SetColor(clWhite);
    parent->Answer = ParentAnswer;
    child = AddProbe(parent, "Child");
    child->SetBounds(7, 5, 40, 30);
    child->Answer = ChildAnswer;
    child->SkinData = New<TsCommonData>(child, true);
    child->SkinData->SetSkinManager(manager);
    gParentKind = 0;
    gParentFlags = 0;
    gCanPaint = true;
    gParentBitmap = NewArgbBitmap(200, 150);
  }
  void TearDown() override {
    FormFixture::TearDown();
    TObject::Free(gParentBitmap);
    gParentBitmap = nullptr;
  }
  TsCommonData* With(Sec s) {
    TsCommonData* d = child->SkinData;
    d->SkinIndex = s;
    d->BorderIndex = manager->Sections[s].BordersMask;
    d->StateFlags = 0;
    d->BgChanged = true;
    d->Updating = false;
    d->CacheBitmap->SetSize(0, 0);
    return d;
  }
  // The parent skinned (its skin state on its window) or not.
  void SkinParent(bool On) {
    if (On == (parent->SkinData != nullptr)) return;
    if (On) {
      parent->SkinData = New<TsCommonData>(parent, false);
    } else {
      TObject::Free(parent->SkinData);
      parent->SkinData = nullptr;
    }
  }
  TsSkinManager* manager = nullptr;
  TProbeControl* parent = nullptr;
  TProbeControl* child = nullptr;
};

TEST_F(BgAnswersTest, TransparencyBySectionAndParent) {
  enum Parent { pNoWindow, pPlain, pSkinned };
  struct Case {
    int section;
    Parent parentKind;
    LRESULT parentFlags;
    bool outerEffects;
    int expected;
  };
  const Case cases[] = {
      {sClear, pNoWindow, 0, false, 2}, {sClear, pPlain, 0, false, 1},
      {sClear, pSkinned, 1, false, 1},  {sClear, pSkinned, 0, false, 0},
      {sClear, pSkinned, 2, false, 2},  {sClear, pPlain, 0, true, 0},
      {sTiled, pPlain, 0, false, 0},    {sHalf, pPlain, 0, false, 0},
      {sOpaque, pPlain, 0, false, 1},  // nothing of its own to paint
      {sGradient, pPlain, 0, false, 0}, {sCentre, pPlain, 0, false, 0},
      {-1, pPlain, 0, false, 1},
  };
  TProbeControl* windowless = AddProbe(Form, "Windowless", false);
  for (const Case& c : cases) {
    SkinParent(c.parentKind == pSkinned);
    gParentFlags = c.parentFlags;
    child->SetParent(c.parentKind == pNoWindow ? windowless : parent);
    manager->Effects()->SetAllowOuterEffects(c.outerEffects);
    child->SkinData->SkinIndex = c.section;
    EXPECT_EQ(child->SkinData->ComputeTransparency(), c.expected)
        << c.section << " parent " << c.parentKind << " flags " << c.parentFlags;
  }
}

TEST_F(BgAnswersTest, UndecidedTransparencyIsAskedAgainOnTheNextQuery) {
  TProbeControl* host = AddProbe(Form, "Host", false);
  auto* pages = New<TPageControl>(Form);
  pages->SetParent(host);
  auto* d = New<TsCommonData>(pages, false);
  d->SetSkinManager(manager);
  d->SkinIndex = sClear;
  d->StateFlags = sfTransparencyUnknown;
  d->UpdateTransparency(false);
  EXPECT_EQ(d->StateFlags, sfTransparencyUnknown);  // the parent has no window yet
  host->HandleNeeded();
  TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdTransparency), 0, 0};
  EXPECT_TRUE(HandleSkinCommand(m, d));
  EXPECT_EQ(m.Result, sfTransparent);  // decided now: an unskinned parent shows through
  EXPECT_EQ(d->StateFlags, sfTransparent);
  TObject::Free(d);
}

TEST_F(BgAnswersTest, BackgroundRequestKinds) {
  struct Case {
    const char* name;
    int section;
    bool flagged;     // shows the parent's background
    bool noCache;     // has no cache bitmap at all
    bool cacheReady;  // the cache holds a picture that is up to date
    bool canPaint;    // the control can paint its cache when asked
    uint8_t parentKind;
    uint8_t kind;
    bool handsCache;  // Bitmap is the control's cache
    bool updating;
  };
  const Case cases[] = {
      {"unskinned", -1, false, false, false, true, 0, bgColor, false, false},
      {"half without cache", sHalf, false, true, false, true, 0, bgColor, false, false},
      {"half painted on demand", sHalf, false, false, false, true, 0, bgBitmap, true, false},
      {"half cannot paint", sHalf, false, false, false, false, 0, bgNotReady, false, true},
      {"clear asks the parent: none", sClear, true, false, false, true, 0, bgColor, false, false},
      {"clear asks the parent: colour", sClear, true, false, false, true, bgColor, bgColor, false,
       false},
      {"clear asks the parent: bitmap", sClear, true, false, false, true, bgBitmap, bgBitmap, false,
       false},
      {"clear asks the parent: not ready", sClear, true, false, false, true, bgNotReady, bgNotReady,
       false, false},
      {"clear with own cache", sClear, false, false, false, true, 0, bgBitmap, true, false},
      {"clear cache not paintable", sClear, false, false, false, false, 0, bgColor, false, false},
      {"plain colour", sOpaque, false, false, false, true, 0, bgColor, false, false},
      {"plain colour with frame", sFramed, false, false, true, true, 0, bgColor, true, false},
      {"gradient painted", sGradient, false, false, false, true, 0, bgBitmap, true, false},
      {"gradient cannot paint", sGradient, false, false, false, false, 0, bgNotReady, false, false},
      {"gradient up to date", sGradient, false, false, true, false, 0, bgBitmap, true, false},
  };
  for (const Case& c : cases) {
    TsCommonData* d = With(static_cast<Sec>(c.section < 0 ? 0 : c.section));
    d->SkinIndex = c.section;
    if (c.flagged) d->StateFlags = sfTransparent;
    TBitmap* cache = d->CacheBitmap;
    if (c.noCache) d->CacheBitmap = nullptr;
    if (c.cacheReady) {
      cache->SetSize(child->Width(), child->Height());
      d->BgChanged = false;
    }
    gCanPaint = c.canPaint;
    gParentKind = c.parentKind;
    BackgroundRequest r;
    r.Kind = bgNotAnswered;
    d->FillBackgroundRequest(r, 0, nullptr);
    d->CacheBitmap = cache;
    EXPECT_EQ(r.Kind, c.kind) << c.name;
    EXPECT_EQ(r.Bitmap == cache && cache != nullptr, c.handsCache) << c.name;
    EXPECT_EQ(d->Updating, c.updating) << c.name;
    if (r.Kind == bgBitmap) {
      ASSERT_NE(r.Bitmap, nullptr) << c.name;
      EXPECT_GT(r.Bitmap->Width(), 0) << c.name;
    }
    if (c.parentKind == bgBitmap) {
      EXPECT_EQ(r.Bitmap, gParentBitmap);
      EXPECT_EQ(r.OffsetX, child->Left());  // the child's origin in the parent's picture
      EXPECT_EQ(r.OffsetY, child->Top());
    }
  }
}

TEST_F(BgAnswersTest, NotReadyAnswersUntilTheCacheCanBePaintedThenTheCache) {
  TsCommonData* d = With(sHalf);
  gCanPaint = false;
  BackgroundRequest r;
  d->FillBackgroundRequest(r, 0, nullptr);
  EXPECT_EQ(r.Kind, bgNotReady);
  EXPECT_EQ(r.Bitmap, nullptr);
  EXPECT_TRUE(d->Updating);
  gCanPaint = true;
  d->FillBackgroundRequest(r, 0, nullptr);
  EXPECT_EQ(r.Kind, bgBitmap);
  EXPECT_EQ(r.Bitmap, d->CacheBitmap);
  // A parent that says "bitmap" without one is passed on as not ready.
  With(sClear)->StateFlags = sfTransparent;
  gParentKind = bgBitmap;
  TBitmap* saved = gParentBitmap;
  gParentBitmap = nullptr;
  d->FillBackgroundRequest(r, 0, nullptr);
  gParentBitmap = saved;
  EXPECT_EQ(r.Kind, bgNotReady);
  EXPECT_EQ(r.Bitmap, nullptr);
}

TEST_F(BgAnswersTest, BgColorOfAState) {
  const uint32_t face = ColorToRGB(clBtnFace);
  auto halfOf = [](uint32_t c) {  // each byte (b * 127) shr 8
    uint32_t r = 0;
    for (int n = 0; n < 24; n += 8) r |= ((((c >> n) & 0xFF) * 127) >> 8) << n;
    return static_cast<TColor>(r);
  };
  struct Case {
    const char* name;
    int section;
    bool customColor;
    bool withControl;
    TColor expected;
  };
  const Case cases[] = {
      {"50 % black over white", sHalf, false, true, 0x7E7E7E},
      {"25 % black over white", sQuarter, false, true, 0x3E3E3E},
      {"opaque", sOpaque, false, true, 0x000000},
      {"opaque, own colour", sOpaque, true, true, 0x123456},
      {"clear", sClear, false, true, 0xFFFFFF},
      {"no control, no window", sHalf, false, false, halfOf(face)},
      {"unskinned", -1, false, true, 0x123456},
  };
  child->SetColor(0x123456);
  for (const Case& c : cases) {
    TsCommonData* d = c.withControl ? child->SkinData : New<TsCommonData>(nullptr, false);
    d->SetSkinManager(manager);
    d->SkinIndex = c.section;
    d->CustomColor = c.customColor;
    EXPECT_EQ(d->BgColor(0, nullptr), c.expected) << c.name;
    if (c.withControl && c.section >= 0 && !c.customColor) {
      TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdGetBgColor), 0, 0};
      EXPECT_TRUE(HandleSkinCommand(m, d));
      EXPECT_EQ(m.Result, c.expected) << c.name << " (code 21)";
    }
    d->CustomColor = false;
    if (!c.withControl) TObject::Free(d);
  }
}

TEST_F(BgAnswersTest, FaceTransparencyThresholdAndTheMaskPixel) {
  // A 2-frame image of 4 x 2 pixels per frame: image rows 0..1, mask rows
  // 2..3; the middle of frame 1's mask has the top bit of blue set.
  TBitmap* master = NewArgbBitmap(8, 4);
  SetArgbPixel(master, 4 + 2, 4 - 1, 0x00000080);
  manager->MasterBitmap = master;
  TsMaskData m;
  m.Owner = nullptr;
  m.PaintMode = 4;
  m.MaskCount = 1;
  m.FrameCount = 2;
  m.SourceRect = {0, 0, 8, 4};
  m.FrameWidth = 4;
  m.FrameHeight = 2;
  manager->Masks.push_back(m);  // index 3
  m.FrameHeight = 1;            // the middle of the mask lies below the image
  manager->Masks.push_back(m);  // index 4
  struct Case {
    int transparency, mask, state;
    bool expected;
  };
  const Case cases[] = {
      {50, -1, 0, false}, {51, -1, 0, true}, {80, 3, 0, false},
      {80, 3, 1, true},   {80, 3, 2, true},   // frame clipped to the last one
      {50, 3, 1, false},  {80, 4, 1, false},  // no pixel to read: opaque
  };
  TsGeneralData& s = manager->Sections[sOpaque];
  for (const Case& c : cases) {
    for (TsGenState& st : s.Props) st.Transparency = c.transparency;
    s.BordersMask = c.mask;
    EXPECT_EQ(IsSectionFaceTransparent(manager, sOpaque, c.state, child), c.expected)
        << c.transparency << " mask " << c.mask << " state " << c.state;
  }
  EXPECT_FALSE(IsSectionFaceTransparent(manager, sClear, 0, Form));  // no parent
}

TEST_F(BgAnswersTest, SizeFlagsFromGradientAndTexture) {
  struct Case {
    int gradientMode;  // -1: none
    int placement;     // -1: no texture
    uint16_t expected;
  };
  const Case cases[] = {
      {0, -1, 0x0002}, {1, -1, 0x0001}, {2, -1, 0x0003}, {-1, 1, 0x00F4}, {-1, 10, 0x00F0},
      {-1, 2, 0x0020}, {-1, 9, 0x0044}, {-1, 13, 0},     {-1, -1, 0},
  };
  TsCommonData* d = With(sOpaque);
  TsGenState& s = manager->Sections[sOpaque].Props[0];
  for (const Case& c : cases) {
    s.GradientPercent = c.gradientMode >= 0 ? 100 : 0;
    s.Gradient = {GradientStop{0, 0, 100, c.gradientMode}};
    s.ImagePercent = c.placement >= 0 ? 100 : 0;
    s.PatternIndex = 0;
    manager->Masks[0].PaintMode = static_cast<int16_t>(c.placement);
    d->UpdateBgSizeFlags();
    EXPECT_EQ(d->BgSizeFlags, c.expected) << c.gradientMode << " " << c.placement;
  }
}

}  // namespace
