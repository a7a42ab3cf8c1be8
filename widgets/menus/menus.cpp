// Menu items and menus: the item tree and the menu handles built from it.
#include "widgets/menus/menus.h"

#include <algorithm>

#include "widgets/graphics/graphics.h"
#include "widgets/graphics/img_list.h"
#include "widgets/rtl/sysutils.h"

namespace {

// Command identifiers in use; 0 is never one, and the system's own commands
// start at 0xF000.
std::vector<bool>& UsedCommands() {
  static std::vector<bool> used(1, true);
  return used;
}

UINT AllocateCommand() {
  std::vector<bool>& used = UsedCommands();
  auto free = std::find(used.begin(), used.end(), false);
  if (free != used.end()) {
    *free = true;
    return static_cast<UINT>(free - used.begin());
  }
  if (used.size() >= 0xF000) throw EOutOfResources("Too many menu items");
  used.push_back(true);
  return static_cast<UINT>(used.size() - 1);
}

void ReleaseCommand(UINT c) {
  if (c && c < UsedCommands().size()) UsedCommands()[c] = false;
}

}  // namespace

std::string StripHotkey(const std::string& Text) {
  std::string r;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '&' && i + 1 < Text.size()) ++i;
    r += Text[i];
  }
  return r;
}

// ---- TMenuItem --------------------------------------------------------------------------

const TClassInfo& TMenuItem::StaticClass() {
  static const TEnumInfo breaks{{"mbNone", "mbBreak", "mbBarBreak"}};
  static const TClassInfo info = [] {
    TClassBuilder<TMenuItem> b("TMenuItem", &TComponent::StaticClass());
    b.Creatable();
    b.Str(
        "Caption", [](const TMenuItem& i) { return i.Caption(); },
        [](TMenuItem& i, const std::string& v) { i.SetCaption(v); });
    b.Bool(
        "Checked", [](const TMenuItem& i) { return i.Checked(); },
        [](TMenuItem& i, int v) { i.SetChecked(v != 0); }, false);
    b.Bool(
        "Enabled", [](const TMenuItem& i) { return i.Enabled(); },
        [](TMenuItem& i, int v) { i.SetEnabled(v != 0); }, true);
    b.Bool(
        "Visible", [](const TMenuItem& i) { return i.Visible(); },
        [](TMenuItem& i, int v) { i.SetVisible(v != 0); }, true);
    b.Bool(
        "Default", [](const TMenuItem& i) { return i.Default(); },
        [](TMenuItem& i, int v) { i.SetDefault(v != 0); }, false);
    b.Bool(
        "RadioItem", [](const TMenuItem& i) { return i.RadioItem(); },
        [](TMenuItem& i, int v) { i.SetRadioItem(v != 0); }, false);
    b.Bool(
        "AutoCheck", [](const TMenuItem& i) { return i.AutoCheck(); },
        [](TMenuItem& i, int v) { i.SetAutoCheck(v != 0); }, false);
    b.Int(
        "GroupIndex", [](const TMenuItem& i) { return i.GroupIndex(); },
        [](TMenuItem& i, int v) { i.SetGroupIndex(v); }, 0);
    b.Enum(
        "Break", breaks, [](const TMenuItem& i) { return i.Break(); },
        [](TMenuItem& i, int v) { i.SetBreak(static_cast<TMenuBreak>(v)); }, mbNone);
    b.Int(
        "ShortCut", [](const TMenuItem& i) { return i.ShortCut(); },
        [](TMenuItem& i, int v) { i.SetShortCut(static_cast<TShortCut>(v)); }, 0);
    b.Str(
        "Hint", [](const TMenuItem& i) { return i.Hint(); },
        [](TMenuItem& i, const std::string& v) { i.SetHint(v); });
    b.Int(
        "ImageIndex", [](const TMenuItem& i) { return i.ImageIndex(); },
        [](TMenuItem& i, int v) { i.SetImageIndex(v); }, -1);
    b.Obj(
        "SubMenuImages", TPropKind::Component, TCustomImageList::StaticClass(),
        [](const TMenuItem& i) -> TObject* { return i.SubMenuImages(); },
        [](TMenuItem& i, TObject* v) { i.SetSubMenuImages(dynamic_cast<TCustomImageList*>(v)); });
    b.Event<&TMenuItem::OnClick>("OnClick");
    b.Event<&TMenuItem::OnDrawItem>("OnDrawItem");
    b.Event<&TMenuItem::OnAdvancedDrawItem>("OnAdvancedDrawItem");
    b.Event<&TMenuItem::OnMeasureItem>("OnMeasureItem");
    return b.Done();
  }();
  return info;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {
  command_ = AllocateCommand();
}

TMenuItem::~TMenuItem() {
  // Sub-items go with their parent item, last first.
  while (!items_.empty()) TObject::Free(items_.back());
  TMenu* menu = GetParentMenu();
  if (menu && menu->highlighted_ == this) menu->highlighted_ = nullptr;
  if (parent_) parent_->Remove(this);
  DetachEntries();
  ReleaseCommand(command_);
}

void TMenuItem::SetCaption(const std::string& v) {
  if (caption_ == v) return;
  caption_ = v;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  if (checked_ == v) return;
  checked_ = v;
  if (v && radioItem_) TurnSiblingsOff();
  Changed();
}

void TMenuItem::TurnSiblingsOff() {
  if (!parent_) return;
  for (TMenuItem* s : parent_->items_)
    if (s != this && s->radioItem_ && s->groupIndex_ == groupIndex_) s->checked_ = false;
}

void TMenuItem::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  Changed();
}

void TMenuItem::SetDefault(bool v) {
  if (default_ == v) return;
  default_ = v;
  if (v && parent_)
    for (TMenuItem* s : parent_->items_)
      if (s != this) s->default_ = false;
  Changed();
}

void TMenuItem::SetRadioItem(bool v) {
  if (radioItem_ == v) return;
  radioItem_ = v;
  if (v && checked_) TurnSiblingsOff();
  Changed();
}

void TMenuItem::SetBreak(TMenuBreak v) {
  if (break_ == v) return;
  break_ = v;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut v) {
  if (shortCut_ == v) return;
  shortCut_ = v;
  Changed();
}

void TMenuItem::SetImageIndex(int v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  Changed();
}

TBitmap* TMenuItem::Bitmap() {
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
  return bitmap_.get();
}

void TMenuItem::SetBitmap(TBitmap* v) {
  Bitmap()->Assign(v);
  Changed();
}

bool TMenuItem::HasBitmap() const {
  return bitmap_ && !bitmap_->Empty();
}

void TMenuItem::SetSubMenuImages(TCustomImageList* v) {
  if (subMenuImages_ == v) return;
  if (subMenuImages_) subMenuImages_->RemoveFreeNotification(this);
  subMenuImages_ = v;
  if (v) v->FreeNotification(this);
  Changed();
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == subMenuImages_) subMenuImages_ = nullptr;
}

int TMenuItem::MenuIndex() const {
  return parent_ ? parent_->IndexOf(const_cast<TMenuItem*>(this)) : -1;
}

int TMenuItem::IndexOf(TMenuItem* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* Item) {
  Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item || Item->parent_) throw EInvalidOperation("Menu item already has a parent");
  if (Index < 0 || Index > Count()) throw EListError("Menu index out of bounds");
  items_.insert(items_.begin() + Index, Item);
  Item->parent_ = this;
  if (Item->checked_ && Item->radioItem_) Item->TurnSiblingsOff();
  Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
  int i = IndexOf(Item);
  if (i < 0) return;
  items_.erase(items_.begin() + i);
  Item->parent_ = nullptr;
  Changed();
}

void TMenuItem::Clear() {
  while (!items_.empty()) TObject::Free(items_.back());
}

TMenuItem* TMenuItem::Find(const std::string& Caption) const {
  std::string want = StripHotkey(Caption);
  for (TMenuItem* i : items_)
    if (SameText(StripHotkey(i->caption_), want)) return i;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->parent_) i = i->parent_;
  return i->menu_;
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (parent_) parent_->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(Value))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(Value))
    item->Add(this);
}

void TMenuItem::Click() {
  if (autoCheck_) SetChecked(!checked_);
  if (OnClick) OnClick(this);
}

HMENU TMenuItem::Handle() {
  if (!handle_) {
    bool bar = menu_ && menu_->IsBar();
    handle_.Reset(bar ? CreateMenu() : CreatePopupMenu());
    if (!handle_) throw EOutOfResources("Cannot create a menu");
    FillMenu(handle_.Get());
  }
  return handle_.Get();
}

// Entries are removed, not deleted: the submenus stay with their items.
void TMenuItem::DetachEntries() {
  if (!handle_) return;
  while (GetMenuItemCount(handle_.Get()) > 0) RemoveMenu(handle_.Get(), 0, MF_BYPOSITION);
}

void TMenuItem::FillMenu(HMENU Menu) {
  TMenu* menu = GetParentMenu();
  bool ownerDraw = menu && menu->OwnerDraw();
  // Owner-drawn entries keep their text too (MIIM_STRING), for the system's
  // keyboard navigation and for whoever reads the menu.
  for (TMenuItem* i : items_) {
    if (!i->visible_) continue;
    std::string text = i->caption_;
    bool barItem = menu_ && menu_->IsBar();
    if (i->shortCut_ != scNone && !barItem) text += '\t' + ShortCutToText(i->shortCut_);
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
    mi.fType = i->IsLine() ? MFT_SEPARATOR : ownerDraw ? MFT_OWNERDRAW : MFT_STRING;
    if (i->radioItem_) mi.fType |= MFT_RADIOCHECK;
    if (i->break_ == mbBreak) mi.fType |= MFT_MENUBREAK;
    if (i->break_ == mbBarBreak) mi.fType |= MFT_MENUBARBREAK;
    mi.fState = (i->checked_ ? MFS_CHECKED : 0) | (i->enabled_ ? 0 : MFS_GRAYED) |
                (i->default_ ? MFS_DEFAULT : 0);
    mi.wID = i->command_;
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(i);
    mi.hSubMenu = i->items_.empty() ? nullptr : i->Handle();
    mi.dwTypeData = text.data();
    InsertMenuItemA(Menu, GetMenuItemCount(Menu), TRUE, &mi);
  }
}

void TMenuItem::RebuildTree() {
  for (TMenuItem* c : items_) c->RebuildTree();
  if (!handle_) return;
  DetachEntries();
  FillMenu(handle_.Get());
}

void TMenuItem::Changed() {
  if (HasState(csDestroying)) return;
  // The whole tree is built again: an item that gains or loses sub-items
  // changes its parent's entry too.
  TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  if (root->HasState(csDestroying)) return;
  root->RebuildTree();
  if (root->menu_) root->menu_->MenuChanged();
}
