#include "skin/engine/services_menus.h"

#include <cstring>

#include "skin/engine/skin_manager.h"
#include "widgets/menus/menus.h"
#include "widgets/graphics/tools.h"

int MenuGlyphSize = 16;

namespace {

// A font is worth storing once it differs from a new one in what a menu
// shows of it.
bool FontChanged(const TFont* Font) {
  if (!Font) return false;
  TFont fresh;
  return Font->Style() != fresh.Style() || Font->Size() != fresh.Size() ||
         Font->Color() != fresh.Color() || Font->Name() != fresh.Name();
}

// A font of the menus, stored only once it differs from a new font.
template <TFont* (TvlMenuSupport::*Get)() const, void (TvlMenuSupport::*Set)(TFont*)>
void AddFont(TClassBuilder<TvlMenuSupport>& b, const char* Name) {
  b.Obj(
       Name, TPropKind::Object, TFont::StaticClass(),
       [](const TvlMenuSupport& o) -> TObject* { return (o.*Get)(); },
       [](TvlMenuSupport& o, TObject* v) { (o.*Set)(dynamic_cast<TFont*>(v)); })
      .Stored = [](const TObject* o) {
    return FontChanged((static_cast<const TvlMenuSupport*>(o)->*Get)());
  };
}

}  // namespace

// ---- TvlMenuSupport ------------------------------------------------------------

const TClassInfo& TvlMenuSupport::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlMenuSupport> b("TvlMenuSupport", &TPersistent::StaticClass());
    b.Int(
        "AlphaBlend", [](const TvlMenuSupport& o) { return static_cast<int>(o.AlphaBlend()); },
        [](TvlMenuSupport& o, int v) { o.SetAlphaBlend(static_cast<uint8_t>(v)); }, 255);
    AddFont<&TvlMenuSupport::ExtraLineFont, &TvlMenuSupport::SetExtraLineFont>(b, "ExtraLineFont");
    b.Int(
        "ExtraLineWidth", [](const TvlMenuSupport& o) { return o.ExtraLineWidth(); },
        [](TvlMenuSupport& o, int v) { o.SetExtraLineWidth(v); }, 32);
    b.Str(
         "IcoLineSkin", [](const TvlMenuSupport& o) { return o.IcoLineSkin(); },
         [](TvlMenuSupport& o, const std::string& v) { o.SetIcoLineSkin(v); })
        .Stored = [](const TObject* o) {
      return static_cast<const TvlMenuSupport*>(o)->IcoLineSkin() != "ICOLINE";
    };
    AddFont<&TvlMenuSupport::Font, &TvlMenuSupport::SetFont>(b, "Font");
    b.Bool(
        "CustomFont", [](const TvlMenuSupport& o) { return o.CustomFont(); },
        [](TvlMenuSupport& o, int v) { o.SetCustomFont(v != 0); }, false);
    b.Bool(
        "UseExtraLine", [](const TvlMenuSupport& o) { return o.UseExtraLine(); },
        [](TvlMenuSupport& o, int v) { o.SetUseExtraLine(v != 0); }, false);
    return b.Done();
  }();
  return info;
}

TvlMenuSupport::TvlMenuSupport()
    : extraLineFont_(std::make_unique<TFont>()), font_(std::make_unique<TFont>()) {}

TvlMenuSupport::~TvlMenuSupport() = default;

void TvlMenuSupport::SetExtraLineFont(TFont* Value) {
  extraLineFont_->Assign(Value);
}

void TvlMenuSupport::SetFont(TFont* Value) {
  font_->Assign(Value);
}

// ---- TsSkinableMenus -----------------------------------------------------------

const TClassInfo& TsSkinableMenus::StaticClass() {
  static const TClassInfo info("TsSkinableMenus", &TPersistent::StaticClass());
  return info;
}

TsSkinableMenus::TsSkinableMenus(TsSkinManager* Manager)
    : manager_(Manager), captionFont_(std::make_unique<TFont>()) {}

TsSkinableMenus::~TsSkinableMenus() = default;

void TsSkinableMenus::SetActive(bool Value) {
  // Hooking the application's menus comes with the owner-draw handlers.
  active_ = Value;
}

void TsSkinableMenus::UpdateActive() {
  SetActive(manager_ && manager_->CommonSkinData && manager_->CommonSkinData->Loaded &&
            manager_->Active());
}

HWND TsSkinableMenus::PopupWindowOfItem(TMenuItem* Item) {
  if (!Item || !Item->Parent()) return nullptr;
  try {
    HMENU menu = Item->Parent()->Handle();
    // Hidden items have no entry, so the item's place among its siblings
    // is not its position in the menu.
    HMENU sub = Item->Count() > 0 ? Item->Handle() : nullptr;
    int index = -1;
    for (int i = 0, n = GetMenuItemCount(menu); i < n && index < 0; ++i)
      if (sub ? GetSubMenu(menu, i) == sub : GetMenuItemID(menu, i) == Item->Command()) index = i;
    if (index < 0) return nullptr;
    RECT r{};
    // A tracked popup knows its own window; one shown by another route may
    // answer only for the window that owns it.
    if (!GetMenuItemRect(nullptr, menu, index, &r) &&
        !GetMenuItemRect(PopupListWindow(), menu, index, &r))
      return nullptr;
    HWND wnd = WindowFromPoint({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    char name[16] = {};
    if (wnd && GetClassNameA(wnd, name, sizeof name) > 0 && std::strcmp(name, "#32768") == 0)
      return wnd;
  } catch (const Exception&) {
    // A menu whose handle cannot be made is not on screen.
  }
  return nullptr;
}

TBitmap* TsSkinableMenus::GetMenuBg(void*, HWND) {
  return nullptr;
}

void TsSkinableMenus::SetPopupShape(HWND, TBitmap*) {
  // The shape is cut from the background's transparent border pieces, which
  // only the popup backgrounds know; no background is built yet.
}

void TsSkinableMenus::HookPopupMenu(TPopupMenu*, bool) {}
