// Tobrin's main form: the MIDI output ports in a list, one port kept open,
// and the two sound-bank test requests sent to it.
#pragma once

#include <string>

#include "panel/midi_out_link.h"
#include "skin/controls/group_box.h"
#include "skin/controls/page_control.h"
#include "skin/engine/skin_manager.h"
#include "soundbank_test/slistbox.h"
#include "widgets/controls/buttons.h"
#include "widgets/controls/comctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/controls/stdctrls.h"

class TForm1 : public TForm {
  DECLARE_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* AOwner);

  TsPageControl* sPageControl1 = nullptr;
  TsTabSheet* sTabSheet1 = nullptr;
  TsGroupBox* sGroupBoxEQ = nullptr;  // "Test"
  TBitBtn* BtnSndBnk1Test = nullptr;
  TBitBtn* BtnSndBnk2Test = nullptr;
  TsGroupBox* sGroupBox5 = nullptr;  // "Output Device"
  TsListBox* sListBoxPorts = nullptr;
  TBitBtn* Refresh = nullptr;
  TsSkinManager* sSkinManager1 = nullptr;  // stored inactive

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void sListBoxPortsClick(TObject* Sender);
  void BtnSndBnk1TestClick(TObject* Sender);
  void BtnSndBnk2TestClick(TObject* Sender);
  void RefreshClick(TObject* Sender);

 protected:
  void Loaded() override;

 private:
  void FillPortList();
  void SendBankTest(char Head);
};

extern TForm1* Form1;
// The program's open port (null while none is open).
extern TMidiOutLink SoundBankOut;
// 7F 00 01 F7, set by FormCreate: the part every request ends with.
extern std::string RequestTail;

// The form's unit: registers TForm1 and the list box for the reader; its
// shutdown clears the request tail.
void InitSoundBankUnit();
void FinalizeSoundBankUnit();
