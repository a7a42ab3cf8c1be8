// Item lists of list and combo boxes: TStrings over the control's LB_/CB_
// messages while it has a window, over a string list while it has none.
// The control moves the items into a new window and back out of one that is
// destroyed, so they survive RecreateWnd and exist before the first window.
#pragma once

#include <windows.h>

#include "widgets/rtl/classes.h"

class TWinControl;

// The message numbers of one kind of control.
struct TItemMessages {
  UINT GetCount, GetText, GetTextLen, AddString, InsertString, DeleteString, ResetContent,
      GetItemData, SetItemData;
};
extern const TItemMessages ListBoxItemMessages;
extern const TItemMessages ComboBoxItemMessages;

class TControlItems : public TStrings {
  DECLARE_CLASS(TControlItems, TStrings)
 public:
  TControlItems(TWinControl* Control, const TItemMessages& Messages);
  ~TControlItems() override;

  int Add(const std::string& S) override;
  int AddObject(const std::string& S, TObject* AObject) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  int IndexOf(const std::string& S) const override;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);

  // Called by the control right after its window is made / before it goes.
  void MoveIntoWindow();
  void MoveOutOfWindow();

 protected:
  std::string Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;

 private:
  bool Live() const;
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) const;
  void Check(int Index) const;

  TWinControl* control_;
  const TItemMessages& msgs_;
  TStringList saved_;  // the items while there is no window
  bool sorted_ = false;
};
