#include "skin/engine/skin_manager.h"

#include <algorithm>
#include <utility>

#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_cache.h"
#include "skin/engine/skin_images.h"
#include "skin/engine/skin_loading.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/stored_skins.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/section_names.h"
#include "widgets/controls/extctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/graphics.h"
#include "widgets/forms/message_box.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/sysutils.h"
#include "widgets/rtl/flag_scope.h"

TsSkinManager* DefaultManager = nullptr;
bool SkinLoading = false;

namespace {

const char* const DefaultSkinDirectory = "c:\\Skins";

TWindowHook HookOf(TsSkinManager* Manager) {
  return TWindowHook::Of<&TsSkinManager::MainWindowHook>(Manager);
}

}  // namespace

int DpiLevelOfAppliedDpi(int AppliedDpi) {
  if (AppliedDpi >= 192) return 3;
  if (AppliedDpi >= 144) return 2;
  if (AppliedDpi >= 120) return 1;
  return 0;
}

TsSkinManager::TsSkinManager(TComponent* AOwner) : TComponent(AOwner) {
  CommonSkinData = new TsSkinData;
  effects_ = new TvlSkinEffects(this);
  thirdParty_ = new ThirdPartyList;

  AppliedDpiLevel = DpiLevelOfAppliedDpi(
      ReadRegistryInt(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "AppliedDPI"));

  ClassLists.reserve(ThirdPartyKindCount);
  for (int i = 0; i < ThirdPartyKindCount; ++i) {
    auto* list = new TStringList;
    list->SetCaseSensitive(true);
    ClassLists.push_back(list);
  }

  internalSkins_ = new TsStoredSkins(this);
  commonSections_ = new TStringList;
  commonSections_->SetCaseSensitive(true);

  menuSupport_ = new TvlMenuSupport;
  options_ = new TvlOptions(this);
  scrollsOptions_ = new TvlScrollBarsSupport(this);
  buttonsOptions_ = new TvlButtonsSupport;
  labelsOptions_ = new TvlLabelsSupport;
  animEffects_ = new TvlAnimEffects(this);
  ListController = new TvlSkinListController(this);

  if (!DefaultManager) {
    SetDefaultManager(this);
    if (IsWinNT && !Designing() && Application) {
      Application->HookMainWindow(HookOf(this));
      hooked_ = true;
    }
  }

  Menus = new TsSkinableMenus(this);
  HoverTimer = New<TTimer>(this);
  HoverTimer->SetInterval(100);
  HoverTimer->SetOnTimer(TNotifyEvent::Of<&TsSkinManager::HotTrackTimer>(this));
}

void TsSkinManager::AfterConstruction() {
  TComponent::AfterConstruction();
  LoadThirdPartyLists(false);
  if (skinDirectory_.empty()) skinDirectory_ = DefaultSkinDirectory;
}

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  if (options_->ScaleMode() != smOldMode) CallSetProcessDPIAware();
  if (skinDirectory_.empty()) skinDirectory_ = DefaultSkinDirectory;
  if (menuSupport_->IcoLineSkin().empty()) menuSupport_->SetIcoLineSkin("ICOLINE");
  LoadThirdPartyLists(false);
  if (active_ && !skinName_.empty()) BroadcastNewSkin(this, false);
  if (OnActivate && active_ && !Designing()) OnActivate(this);
  ListController->Rebuild();
}

namespace {
// Freed members are cleared, so a late use fails at once instead of reading
// freed memory.
template <typename T>
void FreeAndClear(T*& object) {
  TObject::Free(std::exchange(object, nullptr));
}
}  // namespace

TsSkinManager::~TsSkinManager() {
  SetActive(false);
  extendedBorders_ = false;
  // The dialog hook reads the options and releases the menu windows, so it
  // goes while they still exist. A default manager installs it even with no
  // skin loaded, and then SetActive(false) above removes nothing.
  if (DialogHookInstalled) RemoveDialogHook();
  // The colour patches answer from the default manager's skin, so they go
  // with it however they came: through the hook or through the option.
  if (DefaultManager == this && RemoveSysColorPatches) RemoveSysColorPatches();
  // A manager that stopped being the default after installing it.
  if (dialogHook_) UnhookWindowsHookEx(std::exchange(dialogHook_, nullptr));
  FreeAndClear(animEffects_);
  FreeAndClear(internalSkins_);
  FreeAndClear(Menus);
  FreeAndClear(HoverTimer);
  FreeAndClear(effects_);
  FreeAndClear(ExtBorderActive);
  FreeAndClear(ExtBorderInactive);
  FreeAndClear(commonSections_);
  delete std::exchange(CommonSkinData, nullptr);
  FreeAndClear(menuSupport_);
  FreeAndClear(options_);
  FreeAndClear(scrollsOptions_);
  FreeAndClear(buttonsOptions_);
  FreeAndClear(labelsOptions_);
  delete std::exchange(ListController, nullptr);
  ClearSkinImages();
  // The hook goes with the manager that set it, even when another manager
  // has become the default since: the application must never call a freed
  // manager.
  if (hooked_ && Application) Application->UnhookMainWindow(HookOf(this));
  if (DefaultManager == this) DefaultManager = nullptr;
  StoreThirdPartyLists();
  for (TStringList* list : ClassLists) TObject::Free(list);
  ClassLists.clear();
  if (EditBrush) DeleteObject(EditBrush);
  TObject::Free(thirdParty_);

  // Copy first: clearing a user's manager removes it from the list.
  std::vector<TsCommonData*> users;
  users.swap(users_);
  for (TsCommonData* d : users)
    if (d->OwnManager == this) d->OwnManager = nullptr;
}

// ---- Properties ---------------------------------------------------------------

void TsSkinManager::SetActive(bool Value) {
  if (Value != active_) {
    active_ = Value;
    if (Value) {
      SetSkinName(skinName_);
    } else if (!skinName_.empty()) {
      if (!Loading()) BroadcastRemoveSkin(this);
      CacheCommonSkinData(this);
      if (OnDeactivate && !Destroying() && !Designing()) OnDeactivate(this);
    }
  }
  if (ListController) ListController->NotifyCurrentSkinChanged();
}

bool TsSkinManager::ExtendedBorders() const {
  return extendedBorders_ && LayeredWindowsAvailable();
}

void TsSkinManager::SetExtendedBorders(bool Value) {
  if (Value == extendedBorders_) return;
  extendedBorders_ = Value;
  if (!CommonSkinData->Loaded) return;
  {
    TFlagScope loading(SkinLoading);
    UpdateExtendedBorders();
    ReloadCurrentSkin(this);
  }
  if (!Loading() && !Destroying()) BroadcastRepaint(this, true);
}

void TsSkinManager::SetSkinnedPopups(bool Value) {
  if (Value == skinnedPopups_) return;
  skinnedPopups_ = Value;
  if (!Designing() && Value && Menus && DefaultManager == this) Menus->UpdateActive();
}

bool TsSkinManager::IsDefault() const {
  return DefaultManager == this;
}

void TsSkinManager::SetIsDefault(bool Value) {
  if (!Value && DefaultManager) return;
  SetDefaultManager(this);
  if (active_)
    BroadcastNewSkin(this, true);
  else
    BroadcastRemoveSkin(this);
}

void TsSkinManager::SetCommonSections(TStrings* Value) {
  commonSections_->Assign(Value);
  for (int i = 0; i < commonSections_->Count(); ++i) {
    const std::string line = commonSections_->Strings(i);
    if (line.empty() || line[0] != ';') commonSections_->SetStrings(i, RemoveChar(line, ' '));
  }
  SetSkinName(skinName_);
}

void TsSkinManager::SetBrightness(int Value) {
  Value = std::clamp(Value, -100, 100);
  if (Value == brightness_) return;
  brightness_ = Value;
  Reload();
}

void TsSkinManager::SetSaturation(int Value) {
  if (Value == saturation_) return;
  saturation_ = Value;
  Reload();
}

void TsSkinManager::SetHueOffset(int Value) {
  if (Value == hueOffset_) return;
  hueOffset_ = Value;
  Reload();
}

void TsSkinManager::SetInternalSkins(TsStoredSkins* Value) {
  internalSkins_->Assign(Value);
}

void TsSkinManager::SetSkinDirectory(const std::string& Value) {
  if (Value == skinDirectory_) return;
  skinDirectory_ = Value;
  CommonSkinData->SkinDirectory = GetFullSkinDirectory(this);
  ListController->Rebuild();
  if (OnSkinListChanged) OnSkinListChanged(this);
}

std::string TsSkinManager::SkinInfo() const {
  // FloatToStr always writes '.', so no separator needs saving here.
  return CommonSkinData->Loaded ? FloatToStr(CommonSkinData->Version) : "N/A";
}

// ---- Operations -----------------------------------------------------------------

void TsSkinManager::EndUpdate(bool Repaint, bool Animate) {
  UpdateLock = false;
  TvlSkinChanging* changing = animEffects_->SkinChanging();
  const bool wasActive = changing->Active();
  if (!Animate) changing->SetActive(false);
  UpdateSkin(Repaint);
  if (!Animate) changing->SetActive(wasActive);
  if (OnAfterChange) OnAfterChange(this);
}

void TsSkinManager::UpdateSkin(bool Repaint) {
  if (active_) BroadcastNewSkin(this, Repaint);
}

void TsSkinManager::Reload() {
  if (!active_ || Loading()) return;
  {
    TFlagScope loading(SkinLoading);
    ReloadCurrentSkin(this);
    BroadcastNewSkin(this, true);
  }
  if (!UpdateLock) {
    if (OnAfterChange) OnAfterChange(this);
    BroadcastRepaint(this, true);
  }
}

void TsSkinManager::LoadThirdPartyLists(bool Force) {
  for (int i = 0; i < ThirdPartyKindCount; ++i) {
    if (Force || thirdParty_->Get(i).empty()) thirdParty_->Set(i, ThirdPartyDefaultClasses[i]);
    ClassLists[i]->SetText(thirdParty_->Get(i));
  }
}

void TsSkinManager::StoreThirdPartyLists() {
  for (int i = 0; i < ThirdPartyKindCount && i < static_cast<int>(ClassLists.size()); ++i)
    thirdParty_->Set(i, ClassLists[i]->Text());
}

void TsSkinManager::TakeSkin(TvlSkinContent& Skin, const TsSkinGlobals& Globals) {
  SwapContent(Skin);
  static_cast<TsSkinGlobals&>(*CommonSkinData) = Globals;
  UpdateEditBrush();
  UpdateExtendedBorders();
}

void TsSkinManager::UpdateEditBrush() {
  if (EditBrush) DeleteObject(EditBrush);
  EditBrush = CreateSolidBrush(ColorToRGB(SkinPalette[5]));
}

PixelView TsSkinManager::MasterPixels() const {
  return ArgbView(MasterBitmap);
}

void TsSkinManager::ShowVersionNotices(double Version) {
  if (Version < 8.45) {
    if (Designing())
      ShowMessage("You are using an old version of the \"" + skinName_ +
                  "\" skin. Please, update skins to latest or contact the Vistrel support for "
                  "upgrading of existing skin.\r\n\r\nThis notification occurs in design-time "
                  "only for your information and will not occur in real-time.");
  } else if (Version > 11.99) {
    const TvlSkinningRules saved = skinningRules_;
    skinningRules_ &= static_cast<TvlSkinningRules>(~(1u << srStdDialogs));
    MessageDlg(
        "This version of the skin has not complete support by used Vistrel package "
        "release.\r\nComponents must be updated to latest version for using this skin.",
        mtWarning, MsgDlgButtons({mbOK}), 0);
    if (saved & (1u << srStdDialogs)) skinningRules_ |= 1u << srStdDialogs;
  }
}

void TsSkinManager::UpdateExtendedBorders() {
  if (!(active_ && ExtendedBorders())) {
    ExtBorderMargins = RECT{};
    return;
  }
  TObject::Free(ExtBorderActive);
  TObject::Free(ExtBorderInactive);
  ExtBorderActive = ExtBorderInactive = nullptr;
  const int exBorder = ConstData.ExBorder;
  if (exBorder >= 0 && exBorder < static_cast<int>(Masks.size())) {
    const TsMaskData& m = Masks[static_cast<size_t>(exBorder)];
    const TsSkinData& d = *CommonSkinData;
    if (d.BorderMode != 0)
      ExtBorderMargins = RECT{d.FormOffset, d.FormOffset, d.FormOffset, d.FormOffset};
    else
      ExtBorderMargins = RECT{m.BorderLeft - d.FormOffset, m.BorderTop - d.FormOffset,
                              m.BorderRight - d.FormOffset, m.BorderBottom - d.FormOffset};
    ExtBorderInactive = CopyMaskFrame(m, 0);
    ExtBorderActive = CopyMaskFrame(m, m.FrameCount > 1 ? 1 : 0);
  } else if (ShadowActiveBitmap && ShadowInactiveBitmap) {
    ExtBorderActive = new TBitmap;
    ExtBorderActive->Assign(ShadowActiveBitmap);
    ExtBorderInactive = new TBitmap;
    ExtBorderInactive->Assign(ShadowInactiveBitmap);
    ExtBorderMargins = RECT{9, 9, 9, 9};
  }
}

void TsSkinManager::InstallDialogHook() {
  if (DefaultManager != this || Designing() || DialogHookInstalled) return;
  DialogHookInstalled = true;
  if (!DialogAdapterList) DialogAdapterList = std::make_unique<TvlProviderList>();
  dialogHook_ = SetWindowsHookExA(WH_CBT, DialogHookProc, nullptr, GetCurrentThreadId());
  if (options_->ChangeSysColors() && InstallSysColorPatches) InstallSysColorPatches();
}

void TsSkinManager::RemoveDialogHook() {
  if (DefaultManager != this || Designing() || !DialogHookInstalled) return;
  ReleaseMenuWindows();
  if (dialogHook_) UnhookWindowsHookEx(dialogHook_);
  dialogHook_ = nullptr;
  DialogAdapterList.reset();
  if (options_->ChangeSysColors() && RemoveSysColorPatches) RemoveSysColorPatches();
  DialogHookInstalled = false;
}

void TsSkinManager::AddUser(TsCommonData* SkinData) {
  if (std::find(users_.begin(), users_.end(), SkinData) == users_.end()) users_.push_back(SkinData);
}

void TsSkinManager::RemoveUser(TsCommonData* SkinData) {
  std::erase(users_, SkinData);
}

// ---- Free functions ---------------------------------------------------------------

int GetScrollBarSize() {
  if (DefaultManager && DefaultManager->ScrollsOptions()->ScrollSize() >= 0)
    return DefaultManager->ScrollsOptions()->ScrollSize();
  return GetSystemMetrics(SM_CXVSCROLL);
}

int GetComboBtnWidth() {
  return std::max(GetSystemMetrics(SM_CXVSCROLL), GetScrollBarSize());
}

int FindSectionIndex(const TsSkinManager* Manager, const std::string& Name) {
  return Manager ? FindSectionIndex(*Manager, Name) : -1;
}

bool SectionIndexValid(const TsSkinManager* Manager, int Index) {
  return Manager && SectionIndexValid(*Manager, Index);
}

void SetDefaultManager(TsSkinManager* Manager) {
  DefaultManager = Manager;
  SetDefaultSkinSource(Manager);
}
