// The Varnel control panel's main form: every control change becomes its
// NRPN or System Exclusive message on the open MIDI port.
#pragma once

#include <string>

#include "skin/controls/button.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/edit.h"
#include "skin/controls/group_box.h"
#include "skin/controls/label.h"
#include "skin/controls/track_bar.h"
#include "skin/engine/skin_manager.h"
#include "widgets/controls/comctrls.h"
#include "widgets/controls/extctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/controls/stdctrls.h"

class TForm1 : public TForm {
  DECLARE_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* AOwner);

  TPageControl* sPageControl1 = nullptr;
  TTabSheet* sTabSheet1 = nullptr;
  TsGroupBox* sGroupBoxEQ = nullptr;
  TsGroupBox* sGroupBox2 = nullptr;
  TsGroupBox* sGroupBox3 = nullptr;
  TsGroupBox* sGroupBox3D = nullptr;
  TsTrackBar* sTrackBarEQHigh = nullptr;
  TsTrackBar* sTrackBarEQMid2 = nullptr;
  TsTrackBar* sTrackBarEQMid1 = nullptr;
  TsTrackBar* sTrackBarEQLow = nullptr;
  TsTrackBar* sTrackBarLevel = nullptr;
  TsTrackBar* sTrackBarTime = nullptr;
  TsTrackBar* sTrackBarMix = nullptr;
  TsTrackBar* sTrackBarDepth = nullptr;
  TsTrackBar* sTrackBarRate = nullptr;
  TsTrackBar* sTrackBar3DVol = nullptr;
  TsTrackBar* sTrackBarDelTime = nullptr;
  TsEdit* sEditEQHigh = nullptr;
  TsEdit* sEditEQMid2 = nullptr;
  TsEdit* sEditEQMid1 = nullptr;
  TsEdit* sEditEQLow = nullptr;
  TsEdit* sEditLevel = nullptr;
  TsEdit* sEditTime = nullptr;
  TsEdit* sEditMix = nullptr;
  TsEdit* sEditDepth = nullptr;
  TsEdit* sEditRate = nullptr;
  TsEdit* sEdit3DVol = nullptr;
  TsEdit* sEdit3DDelTime = nullptr;
  TsLabel* sLabel1 = nullptr;   // "High"
  TsLabel* sLabel2 = nullptr;   // "Mid2"
  TsLabel* sLabel3 = nullptr;   // "Mid1"
  TsLabel* sLabel4 = nullptr;   // "Low"
  TsLabel* sLabel12 = nullptr;  // the four "dB" labels
  TsLabel* sLabel13 = nullptr;
  TsLabel* sLabel14 = nullptr;
  TsLabel* sLabel15 = nullptr;
  TsLabel* sLabel17 = nullptr;  // "Vol"
  TsLabel* sLabel18 = nullptr;  // "Del Time"
  TsComboBox* sComboBoxReverb = nullptr;
  TsComboBox* sComboBoxFX = nullptr;
  TsComboBox* sComboBoxMIDIOutPorts = nullptr;
  TsButton* sButtonEQOn = nullptr;
  TsButton* sButton3D = nullptr;
  TsSkinManager* sSkinManager1 = nullptr;  // stored inactive
  TTimer* Timer1 = nullptr;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void sComboBoxMIDIOutPortsChange(TObject* Sender);
  void sTrackBarEQHighChange(TObject* Sender);
  void sTrackBarEQMid2Change(TObject* Sender);
  void sTrackBarEQMid1Change(TObject* Sender);
  void sTrackBarEQLowChange(TObject* Sender);
  void sTrackBar3DVolChange(TObject* Sender);
  void sTrackBarDelTimeChange(TObject* Sender);
  void sTrackBarLevelChange(TObject* Sender);
  void sTrackBarTimeChange(TObject* Sender);
  void sTrackBarMixChange(TObject* Sender);
  void sTrackBarDepthChange(TObject* Sender);
  void sTrackBarRateChange(TObject* Sender);
  void sComboBoxReverbChange(TObject* Sender);
  void sComboBoxFXChange(TObject* Sender);
  void sButtonEQOnClick(TObject* Sender);
  void sButton3DClick(TObject* Sender);
  void Timer1Timer(TObject* Sender);

  // The toggles' states.
  bool EqualizerDown() const { return sButtonEQOn->Down(); }
  bool ThreeDDown() const { return sButton3D->Down(); }

 protected:
  void Loaded() override;

 private:
  void SendNrpn(uint8_t Lsb, int Value);
  void EqBandChange(TsTrackBar* Slider, uint8_t Lsb, TsEdit* Box);
  void ThreeDChange(TsTrackBar* Slider, uint8_t Lsb, TsEdit* Box);
  void SysExChange(TsTrackBar* Slider, uint8_t Address, TsEdit* Box);
  void SetEqualizerControlsEnabled(bool Enabled, bool IncludingSliders);
  void SetThreeDControlsEnabled(bool Enabled);
};

extern TForm1* Form1;
// F0 41 00 42 12 40 01, set by FormCreate.
extern std::string SysExHeader;

// The form's unit: registers TForm1 for the reader.
void InitPanelUnit();
void FinalizePanelUnit();
