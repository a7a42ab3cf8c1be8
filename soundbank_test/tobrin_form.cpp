#include "soundbank_test/tobrin_form.h"

#include <windows.h>
// <windows.h> maps RegisterClass to the window-class call.
#undef RegisterClass

#include "widgets/rtl/string_lists.h"

TForm1* Form1 = nullptr;
TMidiOutLink SoundBankOut(TPlainBoxKind::ShowMessage);
std::string RequestTail;

const TClassInfo& TForm1::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TForm1> b("TForm1", &TForm::StaticClass());
    b.Creatable();
    b.Published<TNotifyEvent, &TForm1::FormCreate>("FormCreate");
    b.Published<TNotifyEvent, &TForm1::FormShow>("FormShow");
    b.Published<TNotifyEvent, &TForm1::FormDestroy>("FormDestroy");
    b.Published<TNotifyEvent, &TForm1::sListBoxPortsClick>("sListBoxPortsClick");
    b.Published<TNotifyEvent, &TForm1::BtnSndBnk1TestClick>("BtnSndBnk1TestClick");
    b.Published<TNotifyEvent, &TForm1::BtnSndBnk2TestClick>("BtnSndBnk2TestClick");
    b.Published<TNotifyEvent, &TForm1::RefreshClick>("RefreshClick");
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
  BindComponent(*this, BtnSndBnk1Test, "BtnSndBnk1Test");
  BindComponent(*this, BtnSndBnk2Test, "BtnSndBnk2Test");
  BindComponent(*this, sGroupBox5, "sGroupBox5");
  BindComponent(*this, sListBoxPorts, "sListBoxPorts");
  BindComponent(*this, Refresh, "Refresh");
  BindComponent(*this, sSkinManager1, "sSkinManager1");
}

void TForm1::FormCreate(TObject*) {
  // The mapper is the open port until an entry is clicked; a failed open
  // leaves no handle and later sends report their failure.
  SoundBankOut.Open(MIDI_MAPPER, Handle());
  SetKeyPreview(true);
  RequestTail.assign("\x7F\x00\x01\xF7", 4);
}

void TForm1::FillPortList() {
  TStringList ports;
  ListMidiOutDevices(ports);
  sListBoxPorts->Items()->Assign(&ports);
}

void TForm1::FormShow(TObject*) {
  FillPortList();
}

void TForm1::FormDestroy(TObject*) {
  SoundBankOut.Close();
}

void TForm1::sListBoxPortsClick(TObject*) {
  // Entry i is device id i; with no entry selected -1 opens the mapper.
  SoundBankOut.Close();
  SoundBankOut.Open(sListBoxPorts->ItemIndex(), Handle());
}

void TForm1::SendBankTest(char Head) {
  // A counted string: the tail holds a zero byte.
  std::string request{'\xF0', Head};
  request += RequestTail;
  SoundBankOut.SendSysEx(request);
}

void TForm1::BtnSndBnk1TestClick(TObject*) {
  SendBankTest('\x51');
}

void TForm1::BtnSndBnk2TestClick(TObject*) {
  SendBankTest('\x52');
}

void TForm1::RefreshClick(TObject*) {
  // No port is open again until an entry is clicked.
  SoundBankOut.Close();
  FillPortList();
}

void InitSoundBankUnit() {
  RegisterClass(TsListBox::StaticClass());
  RegisterClass(TsGroupBox::StaticClass());
  RegisterClass(TsPageControl::StaticClass());
  RegisterClass(TsTabSheet::StaticClass());
  RegisterClass(TForm1::StaticClass());
}

void FinalizeSoundBankUnit() {
  RequestTail.clear();
}
