// TComboBox: the subclassed child windows and typing that completes or
// searches.
#include "widgets/controls/stdctrls.h"

namespace {
bool IsTypedChar(char key) {
  return static_cast<unsigned char>(key) >= ' ';
}
}  // namespace

HWND TCustomComboBox::EditHandle() const {
  return editInstance_ && editInstance_->Attached() ? editInstance_->Window() : nullptr;
}

HWND TCustomComboBox::ListHandle() const {
  return listInstance_ && listInstance_->Attached() ? listInstance_->Window() : nullptr;
}

void TCustomComboBox::AttachChildren() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(Handle(), &info)) return;
  // A drop-down list has no edit; its open list belongs to the platform
  // except with csSimple, where it is a lasting part of the control.
  if ((style_ == csDropDown || style_ == csSimple) && info.hwndItem && info.hwndItem != Handle()) {
    editInstance_ =
        std::make_unique<TObjectInstance>(TWndMethod::Of<&TCustomComboBox::EditWndProc>(this));
    if (!editInstance_->Attach(info.hwndItem)) editInstance_.reset();
  }
  if (style_ == csSimple && info.hwndList) {
    listInstance_ =
        std::make_unique<TObjectInstance>(TWndMethod::Of<&TCustomComboBox::ListWndProc>(this));
    if (!listInstance_->Attach(info.hwndList)) listInstance_.reset();
  }
}

void TCustomComboBox::DetachChildren() {
  if (editInstance_) editInstance_->Detach();
  if (listInstance_) listInstance_->Detach();
  editInstance_.reset();
  listInstance_.reset();
}

void TCustomComboBox::EditWndProc(TMessage& m) {
  ComboWndProc(m, editInstance_->Window(), *editInstance_);
}

void TCustomComboBox::ListWndProc(TMessage& m) {
  ComboWndProc(m, listInstance_->Window(), *listInstance_);
}

void TCustomComboBox::ComboWndProc(TMessage& m, HWND ComboWnd, TObjectInstance& ComboProc) {
  bool typed = m.Msg == WM_CHAR && ComboWnd == EditHandle();
  if (typed) OpenOnKey(static_cast<char>(m.WParam));
  ComboProc.CallPrevious(m);
  if (typed && autoComplete_ && IsTypedChar(static_cast<char>(m.WParam))) CompleteEdit(ComboWnd);
}

void TCustomComboBox::OpenOnKey(char Key) {
  if (autoDropDown_ && style_ != csSimple && IsTypedChar(Key) && !DroppedDown())
    SendMessageA(Handle(), CB_SHOWDROPDOWN, TRUE, 0);
}

// What was typed up to the caret picks the first item it begins; the
// rest of that item is added selected, so the next key replaces it.
void TCustomComboBox::CompleteEdit(HWND Edit) {
  DWORD start = 0;
  SendMessageA(Edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  int len = GetWindowTextLengthA(Edit);
  if (len <= 0 || static_cast<int>(start) != len) return;
  std::string typed(static_cast<size_t>(len) + 1, '\0');
  GetWindowTextA(Edit, typed.data(), len + 1);
  typed.resize(static_cast<size_t>(len));
  auto found = static_cast<int>(SendMessageA(Handle(), CB_FINDSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(typed.c_str())));
  if (found < 0) return;
  std::string item = items_->Strings(found);
  SetWindowTextA(Edit, (typed + item.substr(typed.size())).c_str());
  SendMessageA(Edit, EM_SETSEL, static_cast<WPARAM>(typed.size()), -1);
}

bool TCustomComboBox::SearchListKey(char Key) {
  if (!autoComplete_ || (style_ == csDropDown || style_ == csSimple)) return false;
  if (!IsTypedChar(Key) && Key != '\b') return false;
  DWORD now = GetTickCount();
  if (now - lastSearchKey_ >= autoCompleteDelay_) search_.clear();
  lastSearchKey_ = now;
  if (Key == '\b') {
    if (!search_.empty()) search_.pop_back();
  } else {
    search_ += Key;
  }
  if (search_.empty()) return true;
  auto found = static_cast<int>(SendMessageA(Handle(), CB_FINDSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(search_.c_str())));
  if (found >= 0 && found != ItemIndex()) {
    SetItemIndex(found);
    // The user's pick, as a click in the list would be.
    Click();
    Change();
    Select();
  }
  return true;
}
