// A form with one page control of named sheets, and what the tests do to it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "skin/controls/page_control.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"

inline LPARAM At(const TPoint& P) {
  return MAKELPARAM(P.X, P.Y);
}

inline TPoint Centre(const TRect& R) {
  return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// Records the control's events as text: "enter 1", "leave 0", "change".
struct EventLog {
  std::vector<std::string> Seen;
  void Enter(TObject*, int Tab) { Seen.push_back("enter " + std::to_string(Tab)); }
  void Leave(TObject*, int Tab) { Seen.push_back("leave " + std::to_string(Tab)); }
  void Change(TObject*) { Seen.push_back("change"); }
};

class PageFixture : public testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(40, 40, 460, 320);
    Pages = New<TsPageControl>(Form);
    Pages->SetBounds(8, 8, 420, 260);
    Pages->SetParent(Form);
  }
  void TearDown() override {
    ReleaseCapture();
    if (Form) TObject::Free(Form);
    PumpMessages();
  }
  // One sheet a caption; the first becomes active.
  void MakeSheets(const std::vector<std::string>& Captions) {
    for (const std::string& c : Captions) {
      auto* s = New<TsTabSheet>(Form);
      s->SetPageControl(Pages);
      s->SetCaption(c);
      Sheets.push_back(s);
    }
    Pages->SetActivePage(Sheets[0]);
    Form->Show();
    PumpMessages();
  }
  std::string ActiveCaption() const {
    return Pages->ActivePage() ? Pages->ActivePage()->Caption() : std::string("-");
  }
  std::string Captions() const {
    std::string s;
    for (int i = 0; i < Pages->PageCount(); ++i)
      s += Pages->Pages(i)->TabVisible() ? Pages->Pages(i)->Caption() : "_";
    return s;
  }
  TForm* Form = nullptr;
  TsPageControl* Pages = nullptr;
  std::vector<TsTabSheet*> Sheets;
};
