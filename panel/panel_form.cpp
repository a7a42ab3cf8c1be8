#include "panel/panel_form.h"

#include "panel/midi_out_link.h"
#include "panel/panel_messages.h"
#include "widgets/rtl/string_lists.h"

TForm1* Form1 = nullptr;
std::string SysExHeader;

namespace {

constexpr int kEqCentre = 63;
constexpr int kEqHalf = 24;

}  // namespace

const TClassInfo& TForm1::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TForm1> b("TForm1", &TForm::StaticClass());
    b.Creatable();
    b.Published<TNotifyEvent, &TForm1::FormCreate>("FormCreate");
    b.Published<TNotifyEvent, &TForm1::FormShow>("FormShow");
    b.Published<TNotifyEvent, &TForm1::FormDestroy>("FormDestroy");
    b.Published<TNotifyEvent, &TForm1::sComboBoxMIDIOutPortsChange>("sComboBoxMIDIOutPortsChange");
    b.Published<TNotifyEvent, &TForm1::sTrackBarEQHighChange>("sTrackBarEQHighChange");
    b.Published<TNotifyEvent, &TForm1::sTrackBarEQMid2Change>("sTrackBarEQMid2Change");
    b.Published<TNotifyEvent, &TForm1::sTrackBarEQMid1Change>("sTrackBarEQMid1Change");
    b.Published<TNotifyEvent, &TForm1::sTrackBarEQLowChange>("sTrackBarEQLowChange");
    b.Published<TNotifyEvent, &TForm1::sTrackBar3DVolChange>("sTrackBar3DVolChange");
    b.Published<TNotifyEvent, &TForm1::sTrackBarDelTimeChange>("sTrackBarDelTimeChange");
    b.Published<TNotifyEvent, &TForm1::sTrackBarLevelChange>("sTrackBarLevelChange");
    b.Published<TNotifyEvent, &TForm1::sTrackBarTimeChange>("sTrackBarTimeChange");
    b.Published<TNotifyEvent, &TForm1::sTrackBarMixChange>("sTrackBarMixChange");
    b.Published<TNotifyEvent, &TForm1::sTrackBarDepthChange>("sTrackBarDepthChange");
    b.Published<TNotifyEvent, &TForm1::sTrackBarRateChange>("sTrackBarRateChange");
    b.Published<TNotifyEvent, &TForm1::sComboBoxReverbChange>("sComboBoxReverbChange");
    b.Published<TNotifyEvent, &TForm1::sComboBoxFXChange>("sComboBoxFXChange");
    b.Published<TNotifyEvent, &TForm1::sButtonEQOnClick>("sButtonEQOnClick");
    b.Published<TNotifyEvent, &TForm1::sButton3DClick>("sButton3DClick");
    b.Published<TNotifyEvent, &TForm1::Timer1Timer>("Timer1Timer");
    return b.Done();
  }();
  return info;
}

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {}

void TForm1::Loaded() {
  TForm::Loaded();
  BindComponent(*this, sPageControl1, "sPageControl1");
  BindComponent(*this, sTabSheet1, "sTabSheet1");
  BindComponent(*this, sGroupBoxEQ, "sGroupBoxEQ");
  BindComponent(*this, sGroupBox2, "sGroupBox2");
  BindComponent(*this, sGroupBox3, "sGroupBox3");
  BindComponent(*this, sGroupBox3D, "sGroupBox3D");
  BindComponent(*this, sTrackBarEQHigh, "sTrackBarEQHigh");
  BindComponent(*this, sTrackBarEQMid2, "sTrackBarEQMid2");
  BindComponent(*this, sTrackBarEQMid1, "sTrackBarEQMid1");
  BindComponent(*this, sTrackBarEQLow, "sTrackBarEQLow");
  BindComponent(*this, sTrackBarLevel, "sTrackBarLevel");
  BindComponent(*this, sTrackBarTime, "sTrackBarTime");
  BindComponent(*this, sTrackBarMix, "sTrackBarMix");
  BindComponent(*this, sTrackBarDepth, "sTrackBarDepth");
  BindComponent(*this, sTrackBarRate, "sTrackBarRate");
  BindComponent(*this, sTrackBar3DVol, "sTrackBar3DVol");
  BindComponent(*this, sTrackBarDelTime, "sTrackBarDelTime");
  BindComponent(*this, sEditEQHigh, "sEditEQHigh");
  BindComponent(*this, sEditEQMid2, "sEditEQMid2");
  BindComponent(*this, sEditEQMid1, "sEditEQMid1");
  BindComponent(*this, sEditEQLow, "sEditEQLow");
  BindComponent(*this, sEditLevel, "sEditLevel");
  BindComponent(*this, sEditTime, "sEditTime");
  BindComponent(*this, sEditMix, "sEditMix");
  BindComponent(*this, sEditDepth, "sEditDepth");
  BindComponent(*this, sEditRate, "sEditRate");
  BindComponent(*this, sEdit3DVol, "sEdit3DVol");
  BindComponent(*this, sEdit3DDelTime, "sEdit3DDelTime");
  BindComponent(*this, sLabel1, "sLabel1");
  BindComponent(*this, sLabel2, "sLabel2");
  BindComponent(*this, sLabel3, "sLabel3");
  BindComponent(*this, sLabel4, "sLabel4");
  BindComponent(*this, sLabel12, "sLabel12");
  BindComponent(*this, sLabel13, "sLabel13");
  BindComponent(*this, sLabel14, "sLabel14");
  BindComponent(*this, sLabel15, "sLabel15");
  BindComponent(*this, sLabel17, "sLabel17");
  BindComponent(*this, sLabel18, "sLabel18");
  BindComponent(*this, sComboBoxReverb, "sComboBoxReverb");
  BindComponent(*this, sComboBoxFX, "sComboBoxFX");
  BindComponent(*this, sComboBoxMIDIOutPorts, "sComboBoxMIDIOutPorts");
  BindComponent(*this, sButtonEQOn, "sButtonEQOn");
  BindComponent(*this, sButton3D, "sButton3D");
  BindComponent(*this, sSkinManager1, "sSkinManager1");
  BindComponent(*this, Timer1, "Timer1");
}

void TForm1::FormCreate(TObject*) {
  MidiOut.Open(MIDI_MAPPER, Handle());
  SysExHeader = PanelSysExHeader();
}

void TForm1::FormShow(TObject*) {
  TStringList ports;
  ListMidiOutDevices(ports);
  sComboBoxMIDIOutPorts->Items()->Assign(&ports);
  // Starting with "3D" switched off sends the effect mode once, to the mapper.
  sButton3D->SetDown(true);
  sButton3D->Click();
}

void TForm1::FormDestroy(TObject*) {
  MidiOut.Close();
}

void TForm1::sComboBoxMIDIOutPortsChange(TObject*) {
  MidiOut.ChangePort(sComboBoxMIDIOutPorts->ItemIndex(), Handle(),
                     [this](int32_t entry) { sComboBoxMIDIOutPorts->SetItemIndex(entry); });
}

void TForm1::SendNrpn(uint8_t Lsb, int Value) {
  for (DWORD word : NrpnWords(Lsb, static_cast<uint8_t>(Value))) MidiOut.ShortMsg(word);
}

void TForm1::EqBandChange(TsTrackBar* Slider, uint8_t Lsb, TsEdit* Box) {
  const int pos = Slider->Position();
  SendNrpn(Lsb, MapSliderToMidiValue(pos, kEqCentre, kEqHalf));
  Box->SetText(EqPositionToDbText(pos));
}

void TForm1::ThreeDChange(TsTrackBar* Slider, uint8_t Lsb, TsEdit* Box) {
  const int pos = Slider->Position();
  SendNrpn(Lsb, pos);
  Box->SetText(std::to_string(pos));
}

void TForm1::SysExChange(TsTrackBar* Slider, uint8_t Address, TsEdit* Box) {
  const int pos = Slider->Position();
  MidiOut.SendSysEx(PanelSysEx(SysExHeader, Address, pos));
  Box->SetText(std::to_string(pos));  // also when sending failed
}

void TForm1::sTrackBarEQHighChange(TObject*) {
  EqBandChange(sTrackBarEQHigh, NrpnEqHigh, sEditEQHigh);
}
void TForm1::sTrackBarEQMid2Change(TObject*) {
  EqBandChange(sTrackBarEQMid2, NrpnEqMid2, sEditEQMid2);
}
void TForm1::sTrackBarEQMid1Change(TObject*) {
  EqBandChange(sTrackBarEQMid1, NrpnEqMid1, sEditEQMid1);
}
void TForm1::sTrackBarEQLowChange(TObject*) {
  EqBandChange(sTrackBarEQLow, NrpnEqLow, sEditEQLow);
}
void TForm1::sTrackBar3DVolChange(TObject*) {
  ThreeDChange(sTrackBar3DVol, Nrpn3DVolume, sEdit3DVol);
}
void TForm1::sTrackBarDelTimeChange(TObject*) {
  ThreeDChange(sTrackBarDelTime, Nrpn3DDelayTime, sEdit3DDelTime);
}
void TForm1::sTrackBarLevelChange(TObject*) {
  SysExChange(sTrackBarLevel, SysExReverbLevel, sEditLevel);
}
void TForm1::sTrackBarTimeChange(TObject*) {
  SysExChange(sTrackBarTime, SysExReverbTime, sEditTime);
}
void TForm1::sTrackBarMixChange(TObject*) {
  SysExChange(sTrackBarMix, SysExEffectMix, sEditMix);
}
void TForm1::sTrackBarDepthChange(TObject*) {
  SysExChange(sTrackBarDepth, SysExEffectDepth, sEditDepth);
}
void TForm1::sTrackBarRateChange(TObject*) {
  SysExChange(sTrackBarRate, SysExEffectRate, sEditRate);
}

void TForm1::sComboBoxReverbChange(TObject*) {
  MidiOut.SendSysEx(PanelSysEx(SysExHeader, SysExReverbType, sComboBoxReverb->ItemIndex()));
  sTrackBarLevelChange(sTrackBarLevel);
  sTrackBarTimeChange(sTrackBarTime);
}

void TForm1::sComboBoxFXChange(TObject*) {
  MidiOut.SendSysEx(PanelSysEx(SysExHeader, SysExEffectType, sComboBoxFX->ItemIndex()));
  sTrackBarMixChange(sTrackBarMix);
  sTrackBarDepthChange(sTrackBarDepth);
  sTrackBarRateChange(sTrackBarRate);
}

void TForm1::SetEqualizerControlsEnabled(bool Enabled, bool IncludingSliders) {
  if (IncludingSliders)
    for (TsTrackBar* s : {sTrackBarEQHigh, sTrackBarEQMid2, sTrackBarEQMid1, sTrackBarEQLow})
      s->SetEnabled(Enabled);
  for (TsEdit* e : {sEditEQHigh, sEditEQMid2, sEditEQMid1, sEditEQLow}) e->SetEnabled(Enabled);
  for (TsLabel* l : {sLabel1, sLabel2, sLabel3, sLabel4, sLabel12, sLabel13, sLabel14, sLabel15})
    l->SetEnabled(Enabled);
}

void TForm1::sButtonEQOnClick(TObject*) {
  if (sButtonEQOn->Down()) {
    // The sliders follow 100 ms later, from the timer.
    Timer1->SetEnabled(true);
    sButtonEQOn->SetDown(false);
    sButtonEQOn->SetCaption("Off");
    SetEqualizerControlsEnabled(false, false);
    SendNrpn(NrpnEffectMode, EffectMode(false, sButton3D->Down()));
  } else {
    // A pending disable from a quick off-and-on must not land after this.
    Timer1->SetEnabled(false);
    sButtonEQOn->SetDown(true);
    sButtonEQOn->SetCaption("On");
    SetEqualizerControlsEnabled(true, true);
    SendNrpn(NrpnEffectMode, EffectMode(true, sButton3D->Down()));
  }
}

void TForm1::SetThreeDControlsEnabled(bool Enabled) {
  sTrackBar3DVol->SetEnabled(Enabled);
  sTrackBarDelTime->SetEnabled(Enabled);
  sEdit3DVol->SetEnabled(Enabled);
  sEdit3DDelTime->SetEnabled(Enabled);
  sLabel17->SetEnabled(Enabled);
  sLabel18->SetEnabled(Enabled);
}

void TForm1::sButton3DClick(TObject*) {
  if (sButton3D->Down()) {
    SendNrpn(NrpnEffectMode, EffectMode(sButtonEQOn->Down(), false));
    sButton3D->SetCaption("Off");
    sButton3D->SetDown(false);
    SetThreeDControlsEnabled(false);
  } else {
    SendNrpn(NrpnEffectMode, EffectMode(sButtonEQOn->Down(), true));
    sButton3D->SetCaption("On");
    sButton3D->SetDown(true);
    SetThreeDControlsEnabled(true);
  }
}

void TForm1::Timer1Timer(TObject*) {
  // The equalizer may have been switched on again since the timer started.
  if (!sButtonEQOn->Down())
    for (TsTrackBar* s : {sTrackBarEQHigh, sTrackBarEQMid2, sTrackBarEQMid1, sTrackBarEQLow})
      s->SetEnabled(false);
  Timer1->SetEnabled(false);
}

void InitPanelUnit() {
  RegisterClass(TForm1::StaticClass());
}

void FinalizePanelUnit() {
  SysExHeader.clear();
}
