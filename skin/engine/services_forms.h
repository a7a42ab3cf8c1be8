// What the engine uses of the form and dialog skinning (the skin provider,
// desktop composition, the message box). These stand-ins carry only what
// the engine relies on today; the form-skinning subsystem replaces them with
// its full classes under the same names.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "widgets/rtl/components.h"
#include "widgets/forms/message_box.h"
#include "widgets/controls/messages.h"

class TBitmap;
class TCustomForm;
class TsCommonData;
class TvlBorderForm;

// Bits of a provider's state-flag word.
constexpr uint32_t psMinimizing = 0x100;
constexpr uint32_t psRestoring = 0x400;
constexpr uint32_t psSnapshotShown =
    0x1000;                             // a border-form snapshot stands in during a skin change
constexpr uint32_t psFrozen = 0x10000;  // frozen for a skin change

enum TvlAnimEvent : uint8_t { aeShowing, aeHiding };
using TvlAfterAnimation = TEvent<void(TvlAnimEvent)>;

// The component that skins a form. Stand-in: it registers its owner form
// as skinned for its lifetime, puts its skin state on the form's window
// ("VLSDATA"), answers SkinCmdGetProvider on the form's
// window (through the form's WindowProc, which it hooks and gives back),
// keeps the skin state and the markers a skin change sets, and runs
// messages through its own window procedure, which the form skinning
// supplies (none yet: messages then answer 0).
class TsSkinProvider : public TComponent {
  DECLARE_CLASS(TsSkinProvider, TComponent)
 public:
  explicit TsSkinProvider(TComponent* AOwner);
  ~TsSkinProvider() override;

  TCustomForm* Form = nullptr;       // the owner when it is a form
  TsCommonData* SkinData = nullptr;  // owned; its manager serves the form
  TWndMethod ProviderWndProc;
  // The form skinning paints the non-client area and has the border form;
  // neither exists yet.
  bool DrawNonClientArea = false;
  TvlBorderForm* BorderForm = nullptr;
  TBitmap* FormImage = nullptr;  // owned until a transition takes it over
  bool InSkinChange = false;
  bool ExitAnimationDone = false;
  // Called after a show (aeShowing) or hide (aeHiding) animation.
  TvlAfterAnimation OnAfterAnimation;

  uint32_t StateFlags() const { return stateFlags_; }
  // Replaces the word; the form's alignment is off while minimizing or
  // restoring runs.
  void SetStateFlags(uint32_t NewFlags);

  // Runs a message through the provider's window procedure directly.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);

 private:
  void FormWndProc(TMessage& Message);
  // Registers the skin state on the form's window once it has one.
  void AttachSkinData();

  TWndMethod formWndProc_;  // the form's WindowProc before the hook
  uint32_t stateFlags_ = 0;
};

// The window adapter of a skinned standard dialog. Stand-in: its window.
class TvlDialogWnd {
 public:
  explicit TvlDialogWnd(HWND Wnd) : Handle(Wnd) {}
  HWND Handle;
};

// One window the dialog hook took on; the dialog adapter is nil when the
// window is a form.
class TvlProvider {
 public:
  std::unique_ptr<TvlDialogWnd> DialogAdapter;
};
using TvlProviderList = std::vector<std::unique_ptr<TvlProvider>>;
// Exists while the default manager's dialog hook is installed.
extern std::unique_ptr<TvlProviderList> DialogAdapterList;

// The WH_CBT hook of the user-interface thread. Attaching skinning to new
// windows belongs to the form skinning; until it exists the hook only
// passes every call on.
LRESULT CALLBACK DialogHookProc(int Code, WPARAM WParam, LPARAM LParam);
// Frees the popup-menu window adapters the dialog hook made.
void ReleaseMenuWindows();

// True only on Windows 6 or later when DwmIsCompositionEnabled is found,
// succeeds and reports composition on.
bool DwmCompositionEnabled();

// Shows Msg modally in a platform box owned by the active window, captioned
// by its type ("Warning", "Error", "Information", "Confirm") with the
// matching icon; [OK] gives one OK button, with Cancel OK and Cancel.
// Returns the button pressed.
int ShowMessageBox(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpCtx);
