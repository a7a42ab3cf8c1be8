// Pointer lists and string lists. TStrings is the abstract list of strings
// with attached objects; TStringList keeps them in memory, and controls
// implement TStrings over their item messages (CB_/LB_).
#pragma once

// <windows.h> renames GetObject to GetObjectA; it comes first everywhere so
// the TStrings member has one name in every translation unit.
#include <windows.h>

#include <string>
#include <vector>

#include "widgets/rtl/components.h"
#include "widgets/rtl/events.h"

class TStream;

// A list of untyped pointers; nil entries are allowed.
class TList : public TObject {
  DECLARE_CLASS(TList, TObject)
 public:
  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  int Remove(void* Item);     // index it had, -1 when absent
  void* Extract(void* Item);  // removes it; the item or null
  void Clear() { items_.clear(); }
  int IndexOf(const void* Item) const;
  int Count() const { return static_cast<int>(items_.size()); }
  void SetCount(int NewCount);  // new entries are nil
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  void* operator[](int Index) const { return Items(Index); }
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  void Pack();  // removes the nil entries
  // Compare returns < 0, 0 or > 0; the sort is stable.
  void Sort(int (*Compare)(void* Item1, void* Item2));

 private:
  void Check(int Index) const;
  std::vector<void*> items_;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  DECLARE_CLASS(TStrings, TPersistent)
 public:
  virtual int Add(const std::string& S);
  virtual int AddObject(const std::string& S, TObject* AObject);
  void Append(const std::string& S) { Add(S); }
  void AddStrings(TStrings* Strings);
  // Copies the strings and objects of another TStrings.
  void Assign(TPersistent* Source) override;
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
  virtual void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  // First string equal to S, ASCII case-insensitively; -1 when none.
  virtual int IndexOf(const std::string& S) const;
  int IndexOfObject(const TObject* AObject) const;
  bool Equals(const TStrings& Other) const;

  int Count() const { return GetCount(); }
  std::string Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const std::string& S) { Put(Index, S); }
  std::string operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

  // Every string followed by CR LF.
  virtual std::string Text() const;
  // Splits at CR LF, LF or CR; a final line break adds no empty string.
  virtual void SetText(const std::string& Value);

  // The rest of the stream (from its position) becomes the text.
  virtual void LoadFromStream(TStream& Stream);
  virtual void SaveToStream(TStream& Stream) const;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;

  // Nested; SetUpdateState(true) runs at the first BeginUpdate and
  // SetUpdateState(false) at the matching last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

 protected:
  virtual std::string Get(int Index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const;
  // The base replaces the string through Delete and InsertObject.
  virtual void Put(int Index, const std::string& S);
  virtual void PutObject(int Index, TObject* AObject);
  virtual void SetUpdateState(bool Updating);
  [[noreturn]] void Error(const char* Message, int Index) const;

 private:
  int updateCount_ = 0;
};

class TStringList : public TStrings {
  DECLARE_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  ~TStringList() override;

  int Add(const std::string& S) override;
  int AddObject(const std::string& S, TObject* AObject) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(const std::string& S) const override;

  // Binary search of a sorted list: true with the first equal string's
  // index, else false with the index where S would be inserted.
  virtual bool Find(const std::string& S, int& Index) const;
  virtual void Sort();
  // Compare returns < 0, 0 or > 0; the sort is stable.
  void CustomSort(int (*Compare)(TStringList* List, int Index1, int Index2));

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
  // Comparison of Find, IndexOf and Sort: byte-wise when set, else ASCII
  // case-insensitive. A sorted list is sorted again when it changes.
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  std::string Get(int Index) const override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  TObject* GetObject(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();
  virtual int CompareStrings(const std::string& S1, const std::string& S2) const;

 private:
  struct Item {
    std::string S;
    TObject* Obj = nullptr;
  };
  void InsertItem(int Index, const std::string& S, TObject* AObject);
  void Check(int Index) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};
