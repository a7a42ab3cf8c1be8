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
#include "widgets/rtl/sysutils.h"

class TBitmap;
class TCustomForm;
class TsCommonData;
class TsScrollWndData;
class TvlBorderForm;
class TvlGlowForm;

// Bits of a provider's state-flag word.
constexpr uint32_t psMinimizing = 0x100;
constexpr uint32_t psHideImagePrepared = 0x200;  // the exit animation took the form's picture
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

  TCustomForm* Form = nullptr;          // the owner when it is a form
  TsScrollWndData* SkinData = nullptr;  // owned; its manager serves the form
  TWndMethod ProviderWndProc;
  // The form skinning paints the non-client area and has the border form;
  // neither exists yet.
  bool DrawNonClientArea = false;
  TvlBorderForm* BorderForm = nullptr;
  TBitmap* FormImage = nullptr;  // owned until a transition takes it over
  bool InSkinChange = false;
  // Set once the exit or minimize animation has taken the form over, so the
  // application's exit does not animate the form a second time.
  bool ExitAnimationDone = false;
  bool AllowAnimation = true;
  bool AllowExtBorders = true;
  // The picture that stands in for the form while it is minimized; owned.
  TvlGlowForm* MinimizeSnapshot = nullptr;
  // Called after a show (aeShowing) or hide (aeHiding) animation.
  TvlAfterAnimation OnAfterAnimation;

  uint32_t StateFlags() const { return stateFlags_; }
  // Replaces the word; the form's alignment is off while minimizing or
  // restoring runs.
  void SetStateFlags(uint32_t NewFlags);

  // Runs a message through the provider's window procedure directly.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);

  // The minimize and restore animations toward and from the task bar; True
  // when the animation started. Stand-in: the form skinning brings them, so
  // none starts.
  virtual bool StartMinimizeAnimation() { return false; }
  virtual bool StartRestoreAnimation() { return false; }
  // The form's system menu at the screen point, only for the active form.
  // Stand-in: the platform's menu; a chosen command goes to the form.
  virtual void ShowSysMenu(int X, int Y);
  // Frees the border form's window (the border form marked hidden while it
  // goes) and gives the border window the form's region. Stand-in: there is
  // no border form, so there is nothing to do.
  virtual void FreeBorderWindow() {}
  virtual void UpdateBorderRegion() {}
  // Forgets the composed non-client image: the next paint composes it anew.
  void DropCache();

  // Composes the form's whole non-client image into SkinData's cache.
  // Stand-in: a plain frame of the window's size (the form's colour inside
  // a raised edge), opaque; True when it painted.
  bool PaintNonClientImage();
  // Rebuilds RegionRects from the skin's border images. Stand-in: without
  // those images the list stays as it was set.
  void UpdateRegionRects() {}
  // The transparent corner pieces of the form's region, in window
  // coordinates.
  std::vector<TRect> RegionRects;
  // A snapshot form prepared for the exit; a hide animation takes it over.
  TvlGlowForm* SnapshotForm = nullptr;
  // The non-client image in the cache is current: a hide need not compose it.
  bool NonClientImageFresh = false;

 private:
  void FormWndProc(TMessage& Message);
  // Registers the skin state on the form's window once it has one.
  void AttachSkinData();

  TWndMethod formWndProc_;  // the form's WindowProc before the hook
  uint32_t stateFlags_ = 0;
};

// The window adapter of a skinned standard dialog. Stand-in: its window,
// its skin state whose cache holds a plain frame, and the geometry the
// animations read.
class TvlDialogWnd {
 public:
  explicit TvlDialogWnd(HWND Wnd);
  ~TvlDialogWnd();
  TvlDialogWnd(const TvlDialogWnd&) = delete;
  TvlDialogWnd& operator=(const TvlDialogWnd&) = delete;

  HWND Handle;
  TsCommonData* SkinData = nullptr;  // owned
  TvlBorderForm* BorderForm = nullptr;
  TvlGlowForm* SnapshotForm = nullptr;  // owned until a hide takes it over

  // Composes the dialog's caption and borders into the cache (stand-in: the
  // plain frame).
  bool PaintNonClientImage();
  int CaptionHeight() const;
  // Where the client area lies in the skinned picture.
  int ClientOffsetX() const;
  int ClientOffsetY() const;
  // Sets the window region from the skin's border images; the stand-in has
  // none, so the window keeps its own.
  void UpdateRegion(bool) {}
  // Runs a message through the adapter's window procedure (stand-in: the
  // dialog's own).
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
};

// A top-most, inactive glow form at Wnd's screen rectangle showing an
// opaque copy of the window; the caller owns it.
TvlGlowForm* MakeWindowSnapshot(HWND Wnd);
// Draws every child window of Wnd into DC, recursively in z-order, each at
// its place and announced with SkinCmdSetPrintDC around its WM_PRINT.
void PrintChildWindows(TsSkinProvider* Provider, HWND Wnd, HDC DC);

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
// A window's text: read with the W call from a Unicode window (an A call
// would lose what the code page cannot hold before the conversion), and
// kept as ANSI.
std::string GetWindowTextWide(HWND Wnd);

// True only on Windows 6 or later when DwmIsCompositionEnabled is found,
// succeeds and reports composition on. Wine never composes, so tests put
// their own answer in; nil gives the platform's back.
bool DwmCompositionEnabled();
void SetDwmCompositionQuery(bool (*Query)());

// The desktop window manager's calls for iconic previews, bound on first
// use; each answers E_NOTIMPL where the system lacks it. Tests replace
// them (Wine's are stubs); nil members give the platform's back.
struct TDwmIconicCalls {
  HRESULT(WINAPI* SetWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
  HRESULT(WINAPI* InvalidateIconicBitmaps)(HWND) = nullptr;
};
void SetDwmIconicCalls(const TDwmIconicCalls& Calls);
HRESULT CallDwmSetWindowAttribute(HWND Wnd, DWORD Attribute, LPCVOID Value, DWORD Size);
void InvalidateIconicBitmaps(HWND Wnd);

// The library's iconic-preview option: the task bar's thumbnail and peek
// pictures are drawn from the skinned form. Nothing in the programs turns
// it on.
extern bool UseIconicPreviews;
// The answers to the two iconic-bitmap requests with the form's picture;
// True when answered. Stand-in: composing that picture belongs to the form
// skinning, so neither is answered.
bool SetFormIconicThumbnail(HWND AppWnd, TsSkinProvider* Provider, int Width, int Height);
bool SetFormLivePreview(HWND AppWnd, TsSkinProvider* Provider);

// Shows Msg modally in a platform box owned by the active window, captioned
// by its type ("Warning", "Error", "Information", "Confirm") with the
// matching icon; [OK] gives one OK button, with Cancel OK and Cancel.
// Returns the button pressed.
int ShowMessageBox(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpCtx);
