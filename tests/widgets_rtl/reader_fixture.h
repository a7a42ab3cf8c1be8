// Small component classes with one property of every kind, for the form
// reader, writer and reflection tests. Every setter appends to Log().
#pragma once

#include <string>
#include <vector>

#include "widgets/rtl/classes.h"

std::vector<std::string>& Log();

enum TTestAlign { taNone, taTop, taClient };
enum TTestAnchor { akLeft, akTop, akRight, akBottom };
const TEnumInfo& TestAlignInfo();
const TEnumInfo& TestAnchorInfo();

class TTestFont : public TPersistent {
  DECLARE_CLASS(TTestFont, TPersistent)
 public:
  std::string Name = "MS Sans Serif";
  int Size = 8;
  void Assign(TPersistent* Source) override;
};

class TTestItem : public TCollectionItem {
  DECLARE_CLASS(TTestItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string Caption;
  int Value = 0;
  std::vector<uint8_t> Data;  // a binary property defined through DefineProperties
  void DefineProperties(TFiler& Filer) override;
  void Assign(TPersistent* Source) override;
};

class TTestWidget : public TComponent {
  DECLARE_CLASS(TTestWidget, TComponent)
 public:
  explicit TTestWidget(TComponent* AOwner);
  ~TTestWidget() override;

  std::string Caption;
  int Count = 0;
  int Position = 0;
  double Ratio = 0;
  bool Enabled = true;
  int Align = taNone;
  int64_t Anchors = (1 << akLeft) | (1 << akTop);
  int Color = 0;
  char Letter = 'a';
  int ItemIndex = -1;
  TStringList* Items;
  TTestFont* Font;
  TCollection* Sections;
  TTestWidget* Buddy = nullptr;
  class TTestTimer* Timer = nullptr;
  TComponent* ParentSeen = nullptr;
  TNotifyEvent OnChange;
  int Changes = 0;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return ParentSeen; }
  void SetParentComponent(TComponent* Value) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  void SetCaption(const std::string& v);
  void SetPosition(int v);
  void SetItemIndex(int v);
  void SetBuddy(TTestWidget* v);
};

// A non-visual component: it has no parent.
class TTestTimer : public TComponent {
  DECLARE_CLASS(TTestTimer, TComponent)
 public:
  using TComponent::TComponent;
  int Interval = 1000;
};

// The root the descriptions are read into; its published methods are the
// handlers events bind to.
class TReaderRoot : public TComponent {
  DECLARE_CLASS(TReaderRoot, TComponent)
 public:
  using TComponent::TComponent;
  std::string Caption;
  std::vector<std::string> Calls;
  void WidgetChange(TObject* Sender);
  void OtherChange(TObject* Sender);
  void WrongShape(TObject* Sender, int X);
  void BeginReadState() override;
  void EndReadState() override;
  void Loaded() override;
};

void RegisterTestClasses();
