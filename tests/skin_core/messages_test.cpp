// Delivery of the skin command message and its broadcasts over real windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "probe.h"
#include "skin/engine/skin_message.h"

namespace {

using MessagesTest = FormFixture;

// Receives what DeliverMessage hands to a registered skin state directly.
struct DirectReceiver {
  std::vector<TMessage> Got;
  void Handle(TMessage& m) {
    Got.push_back(m);
    m.Result = INTPTR_MAX;  // the full width of the target
  }
};

TEST(SkinCommandFormat, CodeInBitsSixteenToThirtyOne) {
  EXPECT_EQ(SkinCmdParam(SkinCmdApplyLivePreview), 0x470000u);
  EXPECT_EQ(SkinCmdParam(SkinCmdBgChanged, 1), 0x110001u);
  EXPECT_EQ(SkinCmdCode(0x220000), SkinCmdGetBackground);
  EXPECT_EQ(SkinCmdArg(0x200001), 1);
  EXPECT_EQ(sizeof(LPARAM), sizeof(void*));
  BgSectionQuery q;
  EXPECT_EQ(q.Index, -1);
}

TEST_F(MessagesTest, RegisteredControlIsCalledDirectlyWithFullWidthParameters) {
  TProbeControl* p = AddProbe(Form, "P");
  p->SkinData = new TsCommonData(p, false);
  DirectReceiver rec;
  p->SkinData->OwnerWndProc = TWndMethod::Of<&DirectReceiver::Handle>(&rec);
  const LPARAM wide = static_cast<LPARAM>(reinterpret_cast<intptr_t>(&rec));
  LRESULT r =
      DeliverMessage(p->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdGetSkinData), wide);
  ASSERT_EQ(rec.Got.size(), 1u);
  EXPECT_EQ(rec.Got[0].LParam, wide);
  EXPECT_EQ(r, INTPTR_MAX);
  EXPECT_TRUE(ReceivedLog().empty());  // not through the window
  // Without a known procedure the window gets it from the platform.
  p->SkinData->OwnerWndProc = nullptr;
  DeliverMessage(p->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdGetSkinData), wide);
  ASSERT_EQ(ReceivedLog().size(), 1u);
  EXPECT_EQ(ReceivedLog()[0].LParam, wide);
}

TEST_F(MessagesTest, ControlDeliveryNeverMakesAWindow) {
  TProbeControl* noHandle = AddProbe(Form, "N", false);
  EXPECT_EQ(PerformSkinCommand(noHandle, SkinCmdIsSkinned, 0), 0);
  EXPECT_FALSE(noHandle->HandleAllocated());
  EXPECT_TRUE(ReceivedLog().empty());

  auto* g = New<TProbeGraphic>(Form);
  g->SetName("G");
  g->SetParent(Form);
  g->Answer = [](TControl*, TMessage& m) {
    m.Result = 5;
    return true;
  };
  EXPECT_EQ(PerformSkinCommand(g, SkinCmdIsSkinned, 0), 5);  // by Perform

  TProbeControl* dying = AddProbe(Form, "D");
  dying->SetState(csDestroying);
  EXPECT_EQ(PerformSkinQuery(dying, SkinCmdIsUpdating), 0);
  dying->ClearState(csDestroying);
  EXPECT_EQ(ReceiversOf(SkinCmdIsUpdating).size(), 0u);
}

TEST_F(MessagesTest, SkinnedWindowsAndControls) {
  TProbeControl* plain = AddProbe(Form, "Plain");
  EXPECT_FALSE(IsSkinnedWindow(plain->Handle()));
  // Any answer but exactly 1 reads as unskinned.
  plain->Answer = [](TControl*, TMessage& m) {
    m.Result = SkinCmdCode(m.WParam) == SkinCmdIsSkinned ? 2 : 0;
    return true;
  };
  EXPECT_FALSE(IsSkinnedWindow(plain->Handle()));
  plain->Answer = [](TControl*, TMessage& m) {
    m.Result = SkinCmdCode(m.WParam) == SkinCmdIsSkinned ? 1 : 0;
    return true;
  };
  EXPECT_TRUE(IsSkinnedWindow(plain->Handle()));

  TProbeControl* adapted = AddProbe(Form, "Adapted");
  SetPropA(adapted->Handle(), "VLSBSC", adapted);
  EXPECT_TRUE(IsSkinnedWindow(adapted->Handle()));
  RemovePropA(adapted->Handle(), "VLSBSC");

  TProbeControl* registered = AddProbe(Form, "Registered");
  registered->SkinData = new TsCommonData(registered, false);
  EXPECT_TRUE(IsSkinnedWindow(registered->Handle()));
  EXPECT_TRUE(IsSkinnedControl(registered));

  auto* g = New<TProbeGraphic>(Form);
  g->SetParent(Form);
  EXPECT_FALSE(IsSkinnedControl(g));  // Perform answers 0
  TProbeControl* noHandle = AddProbe(Form, "NoHandle", false);
  noHandle->Answer = plain->Answer;
  EXPECT_TRUE(IsSkinnedControl(noHandle));  // asked by Perform
  EXPECT_FALSE(noHandle->HandleAllocated());
}

class BroadcastTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    panel = AddProbe(Form, "Panel");
    a = AddProbe(panel, "A");
    b = AddProbe(panel, "B");
    c = AddProbe(panel, "C");
    aChild = AddProbe(a, "AChild");
    ReceivedLog().clear();
  }
  void Broadcast() {
    TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdInvalidate), 0x1234, 0};
    BroadcastToChildControls(Form, m);
    EXPECT_EQ(m.Result, 0);  // the caller's record is left unchanged
    EXPECT_EQ(m.LParam, 0x1234);
  }
  TProbeControl *panel, *a, *b, *c, *aChild;
};

TEST_F(BroadcastTest, ReachesTheWholeTreeOfUnskinnedControls) {
  Broadcast();
  EXPECT_EQ(ReceiversOf(SkinCmdInvalidate),
            (std::vector<std::string>{"Panel", "A", "AChild", "B", "C"}));
}

TEST_F(BroadcastTest, StopsAtAChildBeingDestroyed) {
  b->SetState(csDestroying);
  Broadcast();
  b->ClearState(csDestroying);
  EXPECT_EQ(ReceiversOf(SkinCmdInvalidate), (std::vector<std::string>{"Panel", "A", "AChild"}));
}

TEST_F(BroadcastTest, ChildWithoutWindowGetsItByPerform) {
  TProbeControl* other = AddProbe(Form, "Other");
  AddProbe(other, "X", false);
  AddProbe(other, "Y");
  ReceivedLog().clear();
  Broadcast();
  EXPECT_EQ(ReceiversOf(SkinCmdInvalidate),
            (std::vector<std::string>{"Panel", "A", "AChild", "B", "C", "Other", "X", "Y"}));
  EXPECT_FALSE(dynamic_cast<TWinControl*>(Form->FindComponent("X"))->HandleAllocated());
}

TEST_F(BroadcastTest, SkinnedChildIsNotDescended) {
  a->SkinData = new TsCommonData(a, false);
  Broadcast();
  EXPECT_EQ(ReceiversOf(SkinCmdInvalidate), (std::vector<std::string>{"Panel", "A", "B", "C"}));
}

TEST_F(BroadcastTest, VetoKeepsOutOfAChild) {
  ChildBroadcastVeto = [](TControl* child) { return child->Name() == "A"; };
  Broadcast();
  ChildBroadcastVeto = nullptr;
  EXPECT_EQ(ReceiversOf(SkinCmdInvalidate), (std::vector<std::string>{"Panel", "A", "B", "C"}));
}

TEST_F(BroadcastTest, ChildDestroyedByTheMessageIsSkippedSafely) {
  static TProbeControl* victim;
  victim = b;
  a->Answer = [](TControl*, TMessage& m) {
    if (SkinCmdCode(m.WParam) == SkinCmdInvalidate && victim) {
      TObject::Free(victim);
      victim = nullptr;
    }
    return false;
  };
  Broadcast();
  EXPECT_EQ(ReceiversOf(SkinCmdInvalidate),
            (std::vector<std::string>{"Panel", "A", "AChild", "C"}));
}

TEST_F(BroadcastTest, ChildWindowsBroadcastReachesDirectChildrenOnly) {
  TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdFrameChanged), 0, 0};
  BroadcastToChildWindows(panel->Handle(), m);
  auto got = ReceiversOf(SkinCmdFrameChanged);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, (std::vector<std::string>{"A", "B", "C"}));
}

}  // namespace
