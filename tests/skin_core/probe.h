// Controls that record the skin commands they receive and answer them as a
// test tells them to, and a form to put them on.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/engine/common_data.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/controls.h"
#include "widgets/forms/forms.h"

struct Received {
  std::string Name;
  uint16_t Code;
  uint16_t Arg;
  LPARAM LParam;
};

// Every skin command any probe receives, in order.
std::vector<Received>& ReceivedLog();
std::vector<std::string> ReceiversOf(uint16_t Code);

// Answers a skin command: true when it handled it (Result set).
using TProbeAnswer = bool (*)(TControl* Self, TMessage& Message);

class TProbeControl : public TCustomControl {
  DECLARE_CLASS(TProbeControl, TCustomControl)
 public:
  explicit TProbeControl(TComponent* AOwner) : TCustomControl(AOwner) {}
  ~TProbeControl() override;
  void WndProc(TMessage& Message) override;

  TProbeAnswer Answer = nullptr;
  // Paints (10, 10, 30, 30) red when asked to paint into a DC; erasing fills blue.
  bool PaintsPattern = false;
  TsCommonData* SkinData = nullptr;  // owned; registers again on window creation
  bool PropAtNcCreate = false;
  // Passes what Answer leaves to the common handling of skinned controls
  // (which then also registers the skin state on window creation).
  bool CommonHandling = false;
};

class TProbeGraphic : public TGraphicControl {
  DECLARE_CLASS(TProbeGraphic, TGraphicControl)
 public:
  explicit TProbeGraphic(TComponent* AOwner) : TGraphicControl(AOwner) {}
  void WndProc(TMessage& Message) override;
  TProbeAnswer Answer = nullptr;
};

void Pump(int rounds = 3);

class FormFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TProbeControl* AddProbe(TWinControl* Parent, const std::string& Name, bool WithHandle = true);
  TForm* Form = nullptr;
};
