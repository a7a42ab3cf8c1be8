#include "widgets/rtl/string_lists.h"

#include <algorithm>

#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/sysutils.h"

// ---- TList -------------------------------------------------------------------

const TClassInfo& TList::StaticClass() {
  static const TClassInfo info("TList", &TObject::StaticClass());
  return info;
}

void TList::Check(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Exception::Fmt("List index out of bounds (%d)", Index));
}

int TList::Add(void* Item) {
  items_.push_back(Item);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count())
    throw EListError(Exception::Fmt("List index out of bounds (%d)", Index));
  items_.insert(items_.begin() + Index, Item);
}

void TList::Delete(int Index) {
  Check(Index);
  items_.erase(items_.begin() + Index);
}

int TList::Remove(void* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

void* TList::Extract(void* Item) {
  return Remove(Item) >= 0 ? Item : nullptr;
}

int TList::IndexOf(const void* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::SetCount(int NewCount) {
  if (NewCount < 0) throw EListError(Exception::Fmt("List count out of bounds (%d)", NewCount));
  items_.resize(static_cast<size_t>(NewCount), nullptr);
}

void* TList::Items(int Index) const {
  Check(Index);
  return items_[static_cast<size_t>(Index)];
}

void TList::SetItems(int Index, void* Item) {
  Check(Index);
  items_[static_cast<size_t>(Index)] = Item;
}

void TList::Exchange(int Index1, int Index2) {
  Check(Index1);
  Check(Index2);
  std::swap(items_[static_cast<size_t>(Index1)], items_[static_cast<size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  Check(NewIndex);
  void* item = Items(CurIndex);
  items_.erase(items_.begin() + CurIndex);
  items_.insert(items_.begin() + NewIndex, item);
}

void TList::Pack() {
  items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

void TList::Sort(int (*Compare)(void*, void*)) {
  std::stable_sort(items_.begin(), items_.end(),
                   [Compare](void* a, void* b) { return Compare(a, b) < 0; });
}

// ---- TStrings ------------------------------------------------------------------

const TClassInfo& TStrings::StaticClass() {
  static const TClassInfo info("TStrings", &TPersistent::StaticClass());
  return info;
}

void TStrings::Error(const char* Message, int Index) const {
  throw EStringListError(Exception::Fmt(Message, Index));
}

int TStrings::Add(const std::string& S) {
  int i = GetCount();
  Insert(i, S);
  return i;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int i = Add(S);
  PutObject(i, AObject);
  return i;
}

void TStrings::AddStrings(TStrings* Strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TStrings*>(Source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      AddStrings(src);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  try {
    std::string s = Get(Index1);
    TObject* o = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s);
    PutObject(Index2, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    std::string s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < GetCount(); ++i)
    if (SameText(Get(i), S)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

bool TStrings::Equals(const TStrings& Other) const {
  if (GetCount() != Other.GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i) != Other.Get(i)) return false;
  return true;
}

TObject* TStrings::GetObject(int) const {
  return nullptr;
}

void TStrings::Put(int Index, const std::string& S) {
  TObject* o = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, o);
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::SetUpdateState(bool) {}

void TStrings::BeginUpdate() {
  // The hook runs while the count is still 0, so OnChanging fires.
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

std::string TStrings::Text() const {
  std::string r;
  for (int i = 0; i < GetCount(); ++i) {
    r += Get(i);
    r += "\r\n";
  }
  return r;
}

void TStrings::SetText(const std::string& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0, n = Value.size();
    while (i < n) {
      size_t e = i;
      while (e < n && Value[e] != '\r' && Value[e] != '\n') ++e;
      Add(Value.substr(i, e - i));
      if (e < n && Value[e] == '\r') ++e;
      if (e < n && Value[e] == '\n') ++e;
      i = e;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::LoadFromStream(TStream& Stream) {
  int32_t size = Stream.Size();
  int32_t pos = Stream.Position();
  std::string text(static_cast<size_t>(size > pos ? size - pos : 0), '\0');
  if (!text.empty()) Stream.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
  SetText(text);
}

void TStrings::SaveToStream(TStream& Stream) const {
  std::string text = Text();
  Stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream f(FileName, fmCreate);
  SaveToStream(f);
}

// ---- TStringList -----------------------------------------------------------------

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo info("TStringList", &TStrings::StaticClass());
  return info;
}

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TStringList::Check(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const {
  return caseSensitive_ ? CompareStr(S1, S2) : CompareText(S1, S2);
}

std::string TStringList::Get(int Index) const {
  Check(Index);
  return items_[static_cast<size_t>(Index)].S;
}

TObject* TStringList::GetObject(int Index) const {
  Check(Index);
  return items_[static_cast<size_t>(Index)].Obj;
}

void TStringList::Put(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  Check(Index);
  Changing();
  items_[static_cast<size_t>(Index)].S = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
  Check(Index);
  Changing();
  items_[static_cast<size_t>(Index)].Obj = AObject;
  Changed();
}

int TStringList::Add(const std::string& S) {
  return AddObject(S, nullptr);
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  int index = GetCount();
  if (sorted_ && Find(S, index)) {
    switch (duplicates_) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError("String list does not allow duplicates");
      case dupAccept:
        break;
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
  Changing();
  items_.insert(items_.begin() + Index, Item{S, AObject});
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) {
  InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > GetCount()) Error("List index out of bounds (%d)", Index);
  InsertItem(Index, S, AObject);
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::Delete(int Index) {
  Check(Index);
  Changing();
  items_.erase(items_.begin() + Index);
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  Check(Index1);
  Check(Index2);
  Changing();
  std::swap(items_[static_cast<size_t>(Index1)], items_[static_cast<size_t>(Index2)]);
  Changed();
}

bool TStringList::Find(const std::string& S, int& Index) const {
  // Lower bound: with duplicates the first equal string is found.
  int lo = 0, hi = GetCount();
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (CompareStrings(items_[static_cast<size_t>(mid)].S, S) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  Index = lo;
  return lo < GetCount() && CompareStrings(items_[static_cast<size_t>(lo)].S, S) == 0;
}

int TStringList::IndexOf(const std::string& S) const {
  if (sorted_) {
    int i;
    return Find(S, i) ? i : -1;
  }
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(items_[static_cast<size_t>(i)].S, S) == 0) return i;
  return -1;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.S, b.S) < 0; });
  Changed();
}

void TStringList::CustomSort(int (*Compare)(TStringList*, int, int)) {
  // The comparison sees indices into the list, so sort a permutation.
  std::vector<int> order(items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return Compare(this, a, b) < 0; });
  Changing();
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
  items_ = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (sorted_ == Value) return;
  if (Value) Sort();
  sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (caseSensitive_ == Value) return;
  caseSensitive_ = Value;
  if (sorted_) Sort();
}
