#include "widgets/controls/control_items.h"

#include "widgets/controls/controls.h"
#include "widgets/rtl/exceptions.h"

const TItemMessages ListBoxItemMessages = {
    LB_GETCOUNT,     LB_GETTEXT,      LB_GETTEXTLEN,  LB_ADDSTRING,   LB_INSERTSTRING,
    LB_DELETESTRING, LB_RESETCONTENT, LB_GETITEMDATA, LB_SETITEMDATA,
};
const TItemMessages ComboBoxItemMessages = {
    CB_GETCOUNT,     CB_GETLBTEXT,    CB_GETLBTEXTLEN, CB_ADDSTRING,   CB_INSERTSTRING,
    CB_DELETESTRING, CB_RESETCONTENT, CB_GETITEMDATA,  CB_SETITEMDATA,
};

const TClassInfo& TControlItems::StaticClass() {
  static const TClassInfo info("TControlItems", &TStrings::StaticClass());
  return info;
}

TControlItems::TControlItems(TWinControl* Control, const TItemMessages& Messages)
    : control_(Control), msgs_(Messages) {}

TControlItems::~TControlItems() = default;

bool TControlItems::Live() const {
  return control_->HandleAllocated();
}

LRESULT TControlItems::Send(UINT Msg, WPARAM W, LPARAM L) const {
  return SendMessageA(control_->Handle(), Msg, W, L);
}

void TControlItems::Check(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
}

int TControlItems::GetCount() const {
  if (!Live()) return saved_.Count();
  LRESULT n = Send(msgs_.GetCount);
  return n < 0 ? 0 : static_cast<int>(n);
}

std::string TControlItems::Get(int Index) const {
  Check(Index);
  if (!Live()) return saved_.Strings(Index);
  LRESULT len = Send(msgs_.GetTextLen, static_cast<WPARAM>(Index));
  if (len < 0) Error("List index out of bounds (%d)", Index);
  std::string s(static_cast<size_t>(len) + 1, '\0');
  LRESULT got = Send(msgs_.GetText, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(got < 0 ? 0 : std::min(static_cast<size_t>(got), static_cast<size_t>(len)));
  return s;
}

TObject* TControlItems::GetObject(int Index) const {
  Check(Index);
  if (!Live()) return saved_.Objects(Index);
  LRESULT data = Send(msgs_.GetItemData, static_cast<WPARAM>(Index));
  return data == -1 ? nullptr : reinterpret_cast<TObject*>(data);
}

void TControlItems::PutObject(int Index, TObject* AObject) {
  Check(Index);
  if (!Live()) {
    saved_.SetObjects(Index, AObject);
    return;
  }
  Send(msgs_.SetItemData, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
}

int TControlItems::Add(const std::string& S) {
  return AddObject(S, nullptr);
}

int TControlItems::AddObject(const std::string& S, TObject* AObject) {
  if (!Live()) return saved_.AddObject(S, AObject);
  LRESULT i = Send(msgs_.AddString, 0, reinterpret_cast<LPARAM>(S.c_str()));
  if (i < 0) throw EOutOfResources("Not enough memory to add an item");
  if (AObject) Send(msgs_.SetItemData, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(AObject));
  return static_cast<int>(i);
}

void TControlItems::Insert(int Index, const std::string& S) {
  InsertObject(Index, S, nullptr);
}

void TControlItems::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (Index < 0 || Index > GetCount()) Error("List index out of bounds (%d)", Index);
  if (!Live()) {
    if (sorted_)
      saved_.AddObject(S, AObject);
    else
      saved_.InsertObject(Index, S, AObject);
    return;
  }
  LRESULT i =
      Send(msgs_.InsertString, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.c_str()));
  if (i < 0) throw EOutOfResources("Not enough memory to insert an item");
  if (AObject) Send(msgs_.SetItemData, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(AObject));
}

void TControlItems::Delete(int Index) {
  Check(Index);
  if (!Live()) {
    saved_.Delete(Index);
    return;
  }
  Send(msgs_.DeleteString, static_cast<WPARAM>(Index));
}

void TControlItems::Clear() {
  if (!Live()) {
    saved_.Clear();
    return;
  }
  Send(msgs_.ResetContent);
}

int TControlItems::IndexOf(const std::string& S) const {
  if (!Live()) return saved_.IndexOf(S);
  return TStrings::IndexOf(S);
}

void TControlItems::SetSorted(bool v) {
  sorted_ = v;
  saved_.SetSorted(v);
}

void TControlItems::MoveIntoWindow() {
  if (!Live() || saved_.Count() == 0) return;
  TStringList items;
  items.Assign(&saved_);
  saved_.Clear();
  for (int i = 0; i < items.Count(); ++i) AddObject(items.Strings(i), items.Objects(i));
}

void TControlItems::MoveOutOfWindow() {
  if (!Live()) return;
  TStringList items;
  int n = GetCount();
  for (int i = 0; i < n; ++i) items.AddObject(Get(i), GetObject(i));
  saved_.Clear();
  saved_.Assign(&items);
}
