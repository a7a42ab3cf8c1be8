// The skin manager's published properties and its unit's start-up and
// shutdown: the platform check, the built-in shadows, the version switch
// and the DPI-awareness call.
#include <memory>

#include "skin/engine/manager_options.h"
#include "skin/engine/packed_skin.h"
#include "skin/engine/skin_bmp.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/stored_skins.h"
#include "skin/engine/sys_color_patches.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/glyph_drawing.h"
#include "skin/foundation/png_graphic.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"
#include "widgets/forms/message_box.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/sysutils.h"

bool IsWinNT = false;
TBitmap* ShadowActiveBitmap = nullptr;
TBitmap* ShadowInactiveBitmap = nullptr;

namespace {

using TSetProcessDPIAware = BOOL(WINAPI*)();

struct User32Functions {
  TOwnedModule Module;
  TSetProcessDPIAware SetProcessDPIAware = nullptr;
};
User32Functions User32;

}  // namespace

TBitmap* LoadPngResource(const char* Name) {
  try {
    TResourceStream stream(GetModuleHandleA(nullptr), Name, RT_RCDATA);
    auto bitmap = std::make_unique<TBitmap>();
    LoadPngStreamToBitmap(bitmap.get(), stream);
    return bitmap.release();
  } catch (const Exception&) {
    return nullptr;
  }
}

namespace {

// A shadow keeps no white: a pure white pixel without alpha is a hole.
TBitmap* LoadShadow(const char* Name) {
  TBitmap* bitmap = LoadPngResource(Name);
  if (bitmap) ClearWhitePixels(bitmap);
  return bitmap;
}

// Glyph strips follow the default manager's frame order; without a manager
// they are read the standard way.
GlyphFrameOrder DefaultManagerGlyphOrder() {
  return DefaultManager && !DefaultManager->Options()->StdGlyphsOrder() ? GlyphFrameOrder::Library
                                                                        : GlyphFrameOrder::Standard;
}

}  // namespace

void CallSetProcessDPIAware() {
  if (User32.SetProcessDPIAware) User32.SetProcessDPIAware();
}

void SkinManagerInitialization() {
  RegisterClass(TsSkinManager::StaticClass());
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;  // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  IsWinNT = GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
  ShadowActiveBitmap = LoadShadow("vlSHDA");
  ShadowInactiveBitmap = LoadShadow("vlSHDI");
  for (int i = 1; i <= ParamCount(); ++i)
    if (LowerCase(ParamStr(i)) == "/vlver") {
      ShowMessage("Vistrel v" + TsSkinManager::Version());
      break;
    }
  User32.Module.Reset(LoadLibraryA("user32.dll"));
  if (User32.Module)
    User32.SetProcessDPIAware = reinterpret_cast<TSetProcessDPIAware>(
        reinterpret_cast<void*>(GetProcAddress(User32.Module.Get(), "SetProcessDPIAware")));
  SysColorPatchesInitialization();
  SetGlyphFrameOrderQuery(DefaultManagerGlyphOrder);
}

void SkinManagerFinalization() {
  SetGlyphFrameOrderQuery(nullptr);
  SysColorPatchesFinalization();
  TObject::Free(ShadowActiveBitmap);
  TObject::Free(ShadowInactiveBitmap);
  ShadowActiveBitmap = ShadowInactiveBitmap = nullptr;
  FreeSpareArgbPixels();
  FreeSpareArchiveFiles();
  User32.SetProcessDPIAware = nullptr;
  User32.Module.Reset();
}

// ---- Published properties ---------------------------------------------------------

const TClassInfo& TsSkinManager::StaticClass() {
  using M = TsSkinManager;
  static const TClassInfo info = [] {
    TClassBuilder<M> b("TsSkinManager", &TComponent::StaticClass());
    b.Creatable();
    b.Event<&M::OnScaleModeChange>("OnScaleModeChange");
    b.SubObject<&M::Effects>("Effects");
    b.Bool(
        "ExtendedBorders", [](const M& m) { return m.ExtendedBorders(); },
        [](M& m, int v) { m.SetExtendedBorders(v != 0); }, false);
    b.Bool(
        "SkinnedPopups", [](const M& m) { return m.SkinnedPopups(); },
        [](M& m, int v) { m.SetSkinnedPopups(v != 0); }, true);
    b.SubObject<&M::AnimEffects>("AnimEffects");
    b.SubObject<&M::ButtonsOptions>("ButtonsOptions");
    b.Bool(
        "IsDefault", [](const M& m) { return m.IsDefault(); },
        [](M& m, int v) { m.SetIsDefault(v != 0); }, true);
    b.Bool(
        "Active", [](const M& m) { return m.Active(); }, [](M& m, int v) { m.SetActive(v != 0); },
        true);
    b.Obj(
        "CommonSections", TPropKind::Strings, TStringList::StaticClass(),
        [](const M& m) -> TObject* { return m.CommonSections(); },
        [](M& m, TObject* v) { m.SetCommonSections(dynamic_cast<TStrings*>(v)); });
    b.Int(
        "Brightness", [](const M& m) { return m.Brightness(); },
        [](M& m, int v) { m.SetBrightness(v); }, 0);
    b.Int(
        "Saturation", [](const M& m) { return m.Saturation(); },
        [](M& m, int v) { m.SetSaturation(v); }, 0);
    b.Int(
        "HueOffset", [](const M& m) { return m.HueOffset(); },
        [](M& m, int v) { m.SetHueOffset(v); }, 0);
    b.Obj(
        "InternalSkins", TPropKind::Collection, TsStoredSkins::StaticClass(),
        [](const M& m) -> TObject* { return m.InternalSkins(); },
        [](M& m, TObject* v) { m.SetInternalSkins(dynamic_cast<TsStoredSkins*>(v)); });
    b.SubObject<&M::LabelsOptions>("LabelsOptions");
    b.SubObject<&M::MenuSupport>("MenuSupport");
    b.SubObject<&M::Options>("Options");
    b.SubObject<&M::ScrollsOptions>("ScrollsOptions");
    b.Str(
        "SkinDirectory", [](const M& m) { return m.SkinDirectory(); },
        [](M& m, const std::string& v) { m.SetSkinDirectory(v); });
    b.Str(
        "SkinName", [](const M& m) { return m.SkinName(); },
        [](M& m, const std::string& v) { m.SetSkinName(v); });
    b.Str(
        "SkinInfo", [](const M& m) { return m.SkinInfo(); }, [](M&, const std::string&) {});
    b.Set(
        "SkinningRules", SkinningRuleInfo(), [](const M& m) { return m.SkinningRules(); },
        [](M& m, int v) { m.SetSkinningRules(static_cast<TvlSkinningRules>(v)); },
        AllSkinningRules);
    b.SubObject<&M::ThirdParty>("ThirdParty");
    b.Str(
         "Version", [](const M&) { return M::Version(); }, [](M&, const std::string&) {})
        .Stored = [](const TObject*) { return false; };
    b.Event<&M::OnGetMenuExtraLineData>("OnGetMenuExtraLineData");
    b.Event<&M::OnGetPopupItemData>("OnGetPopupItemData");
    b.Event<&M::OnSysDlgInit>("OnSysDlgInit");
    b.Event<&M::OnActivate>("OnActivate");
    b.Event<&M::OnAfterChange>("OnAfterChange");
    b.Event<&M::OnBeforeChange>("OnBeforeChange");
    b.Event<&M::OnDeactivate>("OnDeactivate");
    b.Event<&M::OnSkinListChanged>("OnSkinListChanged");
    b.Event<&M::OnSkinLoading>("OnSkinLoading");
    return b.Done();
  }();
  return info;
}
