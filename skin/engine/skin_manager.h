// The skin manager: the component a form carries to skin the whole
// application. It holds one skin at a time (sections, images, palette),
// publishes the options every skinned control reads, hooks the application
// window and tracks the hovered skinned window. The first manager made is
// DefaultManager; a skin state without a manager of its own follows it.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/engine/outer_effects.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_data.h"
#include "skin/foundation/skin_const.h"
#include "skin/foundation/skin_records.h"
#include "skin/foundation/skin_source.h"
#include "widgets/rtl/components.h"
#include "widgets/rtl/events.h"
#include "widgets/graphics/colors.h"
#include "widgets/controls/messages.h"

class TBitmap;
class TStringList;
class TStrings;
class TTimer;
class TWinControl;
class TsCommonData;
class TsSkinableMenus;
class TsStoredSkins;
class TvlAnimEffects;
class TvlButtonsSupport;
class TvlLabelsSupport;
class TvlMenuSupport;
class TvlOptions;
class TvlScrollBarsSupport;
class TvlSkinEffects;
class TvlSkinListController;
class ThirdPartyList;

enum TvlSkinningRule { srStdForms, srStdDialogs, srThirdParty };
using TvlSkinningRules = uint8_t;  // bit i = rule i
constexpr TvlSkinningRules AllSkinningRules = 0x07;
const TEnumInfo& SkinningRuleInfo();

enum TvlScaleMode { sm100, sm125, sm150, sm200, smAuto, smOldMode };
const TEnumInfo& ScaleModeInfo();

// The block the skin editor sends with WM_COPYDATA (wParam 7) to show a skin
// it is editing. Packed: the editor lays it out byte for byte.
#pragma pack(push, 1)
struct LivePreviewRecord {
  int32_t Marker;  // LivePreviewMarker for a live-preview skin
  char SkinName[128];
  char SkinDirectory[512];
  char Description[30001];  // CR LF separated lines of a skin description
};
#pragma pack(pop)
static_assert(sizeof(LivePreviewRecord) == 30645);
constexpr int32_t LivePreviewMarker = 0xA400;
// Set while the application hook examines and copies a WM_COPYDATA block;
// another block arriving meanwhile goes on to the application window.
extern bool LivePreviewCopyBusy;
// The text of a fixed-size field from another process: it ends at the first
// zero or at the field's end, whichever comes first.
std::string LivePreviewField(const char* Field, size_t Size);

struct TScaleChangeData {
  TvlScaleMode OldMode, NewMode;
  int OldPercent, NewPercent;
};
using TScaleChangeEvent = TEvent<void(TObject* Sender, const TScaleChangeData& Data)>;
// The skinned menus' and system dialogs' events; the manager only stores them.
using TGetMenuExtraLineData =
    TEvent<void(TObject* Sender, void* Item, std::string& Section, std::string& Caption,
                TBitmap*& Glyph, bool& LineVisible)>;
using TGetPopupItemData = TEvent<void(TObject* Sender, void* Item, int State, void* ItemData)>;
using TSysDlgInit = TEvent<void(TObject* Sender, HWND Wnd, int Kind, bool& AllowSkinning)>;

// The skin in force is the manager's TvlSkinContent; painters read it
// through the SkinSource view.
class TsSkinManager : public TComponent, public TvlSkinContent, public SkinSource {
  DECLARE_CLASS(TsSkinManager, TComponent)
 public:
  explicit TsSkinManager(TComponent* AOwner);
  ~TsSkinManager() override;
  void AfterConstruction() override;
  void Loaded() override;

  // ---- Published properties
  bool Active() const { return active_; }
  void SetActive(bool Value);
  bool ExtendedBorders() const;
  void SetExtendedBorders(bool Value);
  bool SkinnedPopups() const { return skinnedPopups_; }
  void SetSkinnedPopups(bool Value);
  bool IsDefault() const;
  void SetIsDefault(bool Value);
  TStringList* CommonSections() const { return commonSections_; }
  void SetCommonSections(TStrings* Value);
  int Brightness() const { return brightness_; }
  void SetBrightness(int Value);
  int Saturation() const { return saturation_; }
  void SetSaturation(int Value);
  int HueOffset() const { return hueOffset_; }
  void SetHueOffset(int Value);
  TsStoredSkins* InternalSkins() const { return internalSkins_; }
  void SetInternalSkins(TsStoredSkins* Value);
  const std::string& SkinDirectory() const { return skinDirectory_; }
  void SetSkinDirectory(const std::string& Value);
  const std::string& SkinName() const { return skinName_; }
  void SetSkinName(const std::string& Value);
  // The loaded skin's version, "N/A" without a loaded skin.
  std::string SkinInfo() const;
  TvlSkinningRules SkinningRules() const { return skinningRules_; }
  void SetSkinningRules(TvlSkinningRules Value) { skinningRules_ = Value; }
  static std::string Version() { return "11.22"; }

  TvlSkinEffects* Effects() const { return effects_; }
  TvlAnimEffects* AnimEffects() const { return animEffects_; }
  TvlButtonsSupport* ButtonsOptions() const { return buttonsOptions_; }
  TvlLabelsSupport* LabelsOptions() const { return labelsOptions_; }
  TvlMenuSupport* MenuSupport() const { return menuSupport_; }
  TvlOptions* Options() const { return options_; }
  TvlScrollBarsSupport* ScrollsOptions() const { return scrollsOptions_; }
  ThirdPartyList* ThirdParty() const { return thirdParty_; }

  TScaleChangeEvent OnScaleModeChange;
  TGetMenuExtraLineData OnGetMenuExtraLineData;
  TGetPopupItemData OnGetPopupItemData;
  TSysDlgInit OnSysDlgInit;
  TNotifyEvent OnActivate, OnAfterChange, OnBeforeChange, OnDeactivate, OnSkinListChanged,
      OnSkinLoading;

  // ---- State read by the rest of the engine
  bool DialogHookInstalled = false;
  HWND HotWindow = nullptr;
  TsSkinableMenus* Menus = nullptr;
  TWinControl* HotControl = nullptr;
  TTimer* HoverTimer = nullptr;
  bool UpdateLock = false;
  uint8_t LastSysCommand = 0;  // 2 minimize, 1 restore, 0 anything else
  LivePreviewRecord LivePreview{};
  TsSkinData* CommonSkinData = nullptr;
  bool PackedMode = false;
  bool RemovingSkin = false;
  TBitmap* ExtBorderActive = nullptr;
  TBitmap* ExtBorderInactive = nullptr;
  int AppliedDpiLevel = 0;  // 0..3 from the desktop's applied DPI
  RECT ExtBorderMargins{};
  std::vector<TStringList*> ClassLists;  // 23 foreign-control class lists
  HBRUSH EditBrush = nullptr;            // solid brush of palette entry 5
  TvlSkinListController* ListController = nullptr;

  bool Loading() const { return HasState(csLoading) || HasState(csReading); }
  bool Designing() const { return HasState(csDesigning); }
  bool Destroying() const { return HasState(csDestroying); }

  // ---- Operations
  void BeginUpdate() { UpdateLock = true; }
  void EndUpdate(bool Repaint, bool Animate);
  void UpdateSkin(bool Repaint);
  // Reloads the current skin after a recolouring option changed.
  void Reload();
  void LoadThirdPartyLists(bool Force);
  void StoreThirdPartyLists();
  void UpdateExtendedBorders();
  // The warnings about a skin older or newer than supported.
  void ShowVersionNotices() { ShowVersionNotices(CommonSkinData->Version); }
  void ShowVersionNotices(double Version);
  // Puts a completely read skin in force; the previous one goes to Skin.
  void TakeSkin(TvlSkinContent& Skin, const TsSkinGlobals& Globals);
  // Re-creates the solid brush of palette entry 5.
  void UpdateEditBrush();

  void SetHotWindow(HWND Wnd);
  void SetHotControl(TWinControl* Control);

  void InstallDialogHook();
  void RemoveDialogHook();

  // Palette answers.
  TColor GetGlobalColor() const { return SkinPalette[0]; }
  TColor GetGlobalFontColor() const { return SkinPalette[1]; }
  TColor GetEditColor() const { return SkinPalette[5]; }
  TColor GetEditFontColor() const { return SkinPalette[4]; }
  TColor GetHighlightColor(bool Hot) const { return SkinPalette[Hot ? 8 : 6]; }
  TColor GetHighlightFontColor(bool Hot) const { return SkinPalette[Hot ? 9 : 7]; }

  // ---- SkinSource
  int SectionCount() const override { return static_cast<int>(Sections.size()); }
  const TsGeneralData& Section(int index) const override {
    return Sections[static_cast<size_t>(index)];
  }
  int ImageCount() const override { return static_cast<int>(Masks.size()); }
  const TsMaskData& ImageData(int index) const override {
    return Masks[static_cast<size_t>(index)];
  }
  PixelView MasterPixels() const override;

  // Skin states that named this manager as their own: they lose it when the
  // manager goes, so none keeps a pointer to a destroyed manager.
  void AddUser(TsCommonData* SkinData);
  void RemoveUser(TsCommonData* SkinData);

  // The application-window hook; true: handled.
  bool MainWindowHook(TMessage& Message);
  // Applies the live-preview record last accepted by the hook.
  void ApplyLivePreview();

  // For the loaders: a skin found nowhere switches the manager off without
  // the setter's broadcast; a missing stored skin gives way to the first.
  void DropActive() { active_ = false; }
  void RenameSkin(const std::string& Name) { skinName_ = Name; }

 private:
  void HotTrackTimer(TObject* Sender);
  bool HookCopyData(TMessage& Message);

  bool active_ = true;
  bool skinnedPopups_ = true;
  bool extendedBorders_ = false;
  bool hooked_ = false;  // the application window's hook
  HHOOK dialogHook_ = nullptr;
  TStringList* commonSections_ = nullptr;
  std::string skinName_;
  std::string skinDirectory_;
  TsStoredSkins* internalSkins_ = nullptr;
  TvlOptions* options_ = nullptr;
  TvlMenuSupport* menuSupport_ = nullptr;
  TvlAnimEffects* animEffects_ = nullptr;
  TvlSkinningRules skinningRules_ = AllSkinningRules;
  ThirdPartyList* thirdParty_ = nullptr;
  TvlSkinEffects* effects_ = nullptr;
  TvlScrollBarsSupport* scrollsOptions_ = nullptr;
  TvlButtonsSupport* buttonsOptions_ = nullptr;
  TvlLabelsSupport* labelsOptions_ = nullptr;
  int hueOffset_ = 0;
  int saturation_ = 0;
  int brightness_ = 0;
  std::vector<TsCommonData*> users_;
};

extern TsSkinManager* DefaultManager;
// True while a skin loads (fades do not animate meanwhile).
extern bool SkinLoading;
// True on the NT platform family; set by the unit start-up.
extern bool IsWinNT;
// The built-in extended-border shadows (33 x 33, 32-bit), read at start-up.
extern TBitmap* ShadowActiveBitmap;
extern TBitmap* ShadowInactiveBitmap;
// A built-in PNG resource of the program as a 32-bit bitmap (owned by the
// caller); nil when it is missing or does not decode.
TBitmap* LoadPngResource(const char* Name);
// SetProcessDPIAware when the system has it; nothing otherwise.
void CallSetProcessDPIAware();
// The unit's start-up and shutdown.
void SkinManagerInitialization();
void SkinManagerFinalization();

// DPI level 0..3 of an "AppliedDPI" value.
int DpiLevelOfAppliedDpi(int AppliedDpi);
// The scroll-bar size the manager asks for, else the system's.
int GetScrollBarSize();
int GetComboBtnWidth();

// Exact, case-sensitive lookup of a section by name; -1 when absent or
// without a manager.
int FindSectionIndex(const TsSkinManager* Manager, const std::string& Name);
bool SectionIndexValid(const TsSkinManager* Manager, int Index);
// DefaultManager, and the skin painters read by default with it.
void SetDefaultManager(TsSkinManager* Manager);
