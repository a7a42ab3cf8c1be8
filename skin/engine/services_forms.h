// What the engine uses of the form and dialog skinning (the skin provider,
// desktop composition, the message box). These stand-ins carry only what
// the engine relies on today; the form-skinning subsystem replaces them with
// its full classes under the same names.
#pragma once

#include <windows.h>

#include <string>

#include "widgets/components.h"
#include "widgets/message_box.h"
#include "widgets/messages.h"

class TCustomForm;
class TsCommonData;

// The component that skins a form. Stand-in: it knows its form and its skin
// state and runs messages through its window procedure, which the form
// skinning supplies (none yet: messages then answer 0).
class TsSkinProvider : public TComponent {
  DECLARE_CLASS(TsSkinProvider, TComponent)
 public:
  explicit TsSkinProvider(TComponent* AOwner) : TComponent(AOwner) {}

  TCustomForm* Form = nullptr;
  TsCommonData* SkinData = nullptr;
  TWndMethod ProviderWndProc;

  // Runs a message through the provider's window procedure directly.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
};

// True only on Windows 6 or later when DwmIsCompositionEnabled is found,
// succeeds and reports composition on.
bool DwmCompositionEnabled();

// Shows Msg modally in a platform box owned by the active window, captioned
// by its type ("Warning", "Error", "Information", "Confirm") with the
// matching icon; [OK] gives one OK button, with Cancel OK and Cancel.
// Returns the button pressed.
int ShowMessageBox(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpCtx);
