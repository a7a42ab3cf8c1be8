// The list box's window styles, columns, multiple selection and virtual
// items: what the window is made with, and what survives a new window.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fixture.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/rtl/exceptions.h"

namespace {

class ListBoxTest : public FormTest {
 protected:
  TListBox* AddList(std::initializer_list<const char*> items) {
    auto* list = New<TListBox>(Form);
    list->SetParent(Form);
    list->SetBounds(10, 10, 300, 100);
    for (const char* s : items) list->Items()->Add(s);
    return list;
  }
  static DWORD Style(TWinControl* c) {
    return static_cast<DWORD>(GetWindowLongPtrA(c->Handle(), GWL_STYLE));
  }
  static DWORD ExStyle(TWinControl* c) {
    return static_cast<DWORD>(GetWindowLongPtrA(c->Handle(), GWL_EXSTYLE));
  }
  static RECT ItemRect(TWinControl* c, int index) {
    RECT r{};
    SendMessageA(c->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
    return r;
  }
};

// Answers "Row <index>" and records every index it was asked for.
struct TRowData {
  std::vector<int> Asked;
  void Data(TWinControl*, int Index, std::string& Text) {
    Asked.push_back(Index);
    Text = "Row " + std::to_string(Index);
  }
  bool WasAsked(int Index) const {
    return std::find(Asked.begin(), Asked.end(), Index) != Asked.end();
  }
};

}  // namespace

// Each property is changed on a list box that already has its window: the
// window is made again with the new style, and the stored items come back,
// also after a virtual style that keeps none.
TEST_F(ListBoxTest, WindowIsMadeAgainWithTheStylesOfItsProperties) {
  struct Case {
    const char* Name;
    void (*Apply)(TListBox*);
    bool NewWindow;
    DWORD Present, Absent, ExPresent, ExAbsent;
  } cases[] = {
      {"defaults", [](TListBox*) {}, false, LBS_HASSTRINGS,
       LBS_MULTICOLUMN | LBS_EXTENDEDSEL | LBS_MULTIPLESEL | LBS_NODATA | WS_BORDER,
       WS_EX_CLIENTEDGE, 0},
      {"columns", [](TListBox* l) { l->SetColumns(3); }, true, LBS_MULTICOLUMN, 0, 0, 0},
      {"extended selection", [](TListBox* l) { l->SetMultiSelect(true); }, true, LBS_EXTENDEDSEL,
       LBS_MULTIPLESEL, 0, 0},
      {"multiple selection",
       [](TListBox* l) {
         l->SetMultiSelect(true);
         l->SetExtendedSelect(false);
       },
       true, LBS_MULTIPLESEL, LBS_EXTENDEDSEL, 0, 0},
      {"extended off in single selection", [](TListBox* l) { l->SetExtendedSelect(false); }, false,
       0, LBS_MULTIPLESEL | LBS_EXTENDEDSEL, 0, 0},
      {"flat border", [](TListBox* l) { l->SetCtl3D(false); }, true, WS_BORDER, 0, 0,
       WS_EX_CLIENTEDGE},
      {"no border", [](TListBox* l) { l->SetBorderStyle(bsNone); }, true, 0, WS_BORDER, 0,
       WS_EX_CLIENTEDGE},
      {"virtual", [](TListBox* l) { l->SetStyle(lbVirtual); }, true,
       LBS_NODATA | LBS_OWNERDRAWFIXED, LBS_HASSTRINGS, 0, 0},
      {"virtual owner-draw", [](TListBox* l) { l->SetStyle(lbVirtualOwnerDraw); }, true,
       LBS_NODATA | LBS_OWNERDRAWFIXED, LBS_HASSTRINGS, 0, 0},
  };
  Form->Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TListBox* list = AddList({"a", "b"});
    const HWND before = list->Handle();
    c.Apply(list);
    Pump();
    ASSERT_TRUE(list->HandleAllocated());
    EXPECT_EQ(list->Handle() != before, c.NewWindow);
    EXPECT_EQ(Style(list) & c.Present, c.Present);
    EXPECT_EQ(Style(list) & c.Absent, 0u);
    EXPECT_EQ(ExStyle(list) & c.ExPresent, c.ExPresent);
    EXPECT_EQ(ExStyle(list) & c.ExAbsent, 0u);
    list->SetStyle(lbStandard);
    ASSERT_EQ(list->Items()->Count(), 2);
    EXPECT_EQ(list->Items()->Strings(1), "b");
    TObject::Free(list);
  }
}

// The columns share the client width; the share follows a new width and a
// new number of columns without a new window.
TEST_F(ListBoxTest, ColumnsShareTheClientWidth) {
  Form->Show();
  for (int columns : {1, 2, 3}) {
    SCOPED_TRACE(columns);
    TListBox* list = AddList({});
    for (int i = 0; i < 40; ++i) list->Items()->Add("Item " + std::to_string(i));
    list->SetColumns(columns);
    Pump();
    const HWND wnd = list->Handle();
    for (int step = 0; step < 3; ++step) {
      if (step == 1) list->SetWidth(list->Width() + 91);
      if (step == 2) list->SetColumns(columns + 1);
      Pump();
      const int share = list->ClientWidth() / list->Columns();
      // The first item of the second column.
      int first = 1;
      while (first < 40 && ItemRect(list, first).left == 0) ++first;
      ASSERT_LT(first, 40) << "step " << step;
      const RECT r = ItemRect(list, first);
      EXPECT_EQ(r.left, share) << "step " << step;
      EXPECT_EQ(r.right - r.left, share) << "step " << step;
    }
    EXPECT_EQ(list->Handle(), wnd);
    TObject::Free(list);
  }
}

TEST_F(ListBoxTest, SelectedFollowsTheSelectionModeAndSurvivesANewWindow) {
  struct Case {
    const char* Name;
    bool Multi, Extended;
  } cases[] = {{"single", false, true}, {"extended", true, true}, {"multiple", true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TListBox* list = AddList({"0", "1", "2", "3", "4", "5"});
    list->SetMultiSelect(c.Multi);
    list->SetExtendedSelect(c.Extended);
    const auto expect = [&](std::vector<int> selected, const char* when) {
      SCOPED_TRACE(when);
      for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list->Selected(i),
                  std::find(selected.begin(), selected.end(), i) != selected.end())
            << i;
      EXPECT_EQ(list->SelCount(), c.Multi ? static_cast<int>(selected.size()) : -1);
      if (!c.Multi) {
        EXPECT_EQ(list->ItemIndex(), selected.empty() ? -1 : selected[0]);
      }
    };
    // Chosen before the window exists.
    list->SetSelected(1, true);
    list->SetSelected(4, true);
    expect(c.Multi ? std::vector<int>{1, 4} : std::vector<int>{4}, "without a window");
    Form->Show();
    Pump();
    ASSERT_TRUE(list->HandleAllocated());
    expect(c.Multi ? std::vector<int>{1, 4} : std::vector<int>{4}, "in the window");
    list->SetSelected(4, false);
    list->SetSelected(2, true);
    expect(c.Multi ? std::vector<int>{1, 2} : std::vector<int>{2}, "changed");
    // In multiple selection the item index is the caret, which selects nothing.
    list->SetItemIndex(3);
    EXPECT_EQ(list->ItemIndex(), 3);
    expect(c.Multi ? std::vector<int>{1, 2} : std::vector<int>{3}, "item index");
    list->SetColumns(2);
    Pump();
    expect(c.Multi ? std::vector<int>{1, 2} : std::vector<int>{3}, "a new window");
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_THROW(list->Selected(6), EListError);
    EXPECT_THROW(list->SetSelected(-1, true), EListError);
    // A single selection becomes the one selected item of a multiple one;
    // a multiple one leaves its first selected item (the caret's is not).
    list->SetMultiSelect(!c.Multi);
    Pump();
    if (c.Multi) {
      EXPECT_EQ(list->ItemIndex(), 1);
    } else {
      EXPECT_EQ(list->SelCount(), 1);
      EXPECT_TRUE(list->Selected(3));
    }
    TObject::Free(list);
    Form->Hide();
  }
}

TEST_F(ListBoxTest, VirtualListTakesItsCountAndTextsFromTheDataRequest) {
  for (TListBoxStyle style : {lbVirtual, lbVirtualOwnerDraw}) {
    SCOPED_TRACE(style);
    TListBox* list = AddList({});
    TRowData rows;
    list->OnData = TLBGetDataEvent::Of<&TRowData::Data>(&rows);
    list->SetStyle(style);
    list->SetCount(30);
    EXPECT_EQ(list->Items()->Count(), 30) << "without a window";
    Form->Show();
    UpdateWindow(list->Handle());
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 30);
    EXPECT_EQ(list->Count(), 30);
    // The painting asked for the items it shows, and not for the last one.
    EXPECT_TRUE(rows.WasAsked(0));
    EXPECT_TRUE(rows.WasAsked(1));
    EXPECT_FALSE(rows.WasAsked(29));
    EXPECT_EQ(list->Items()->Strings(29), "Row 29");
    EXPECT_EQ(list->Items()->Count(), 30);
    EXPECT_THROW(list->Items()->Strings(30), EListError);

    list->SetCount(5);
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 5);
    list->SetItemHeight(21);  // a new window
    Pump();
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(ItemRect(list, 4).bottom, 5 * 21);

    // Stored items have the count of their list, which no one sets.
    list->SetStyle(lbStandard);
    EXPECT_THROW(list->SetCount(3), EListError);
    EXPECT_EQ(list->Count(), 0);
    TObject::Free(list);
    Form->Hide();
  }
}
