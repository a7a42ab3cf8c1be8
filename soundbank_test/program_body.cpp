#include "soundbank_test/program_body.h"

#include "soundbank_test/tobrin_form.h"

void RunTobrinBody(void (*AfterCreate)()) {
  Application->Initialize();
  // The panel's title: both programs show "Varnel" on the task bar.
  Application->SetTitle("Varnel");
  Application->CreateForm(Form1);
  if (AfterCreate) AfterCreate();
  Application->Run();
}
