#include "reader_fixture.h"

// <windows.h> maps RegisterClass to the window-class call.
#undef RegisterClass

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

const TEnumInfo& TestAlignInfo() {
  static const TEnumInfo info{{"taNone", "taTop", "taClient"}};
  return info;
}

const TEnumInfo& TestAnchorInfo() {
  static const TEnumInfo info{{"akLeft", "akTop", "akRight", "akBottom"}};
  return info;
}

// ---- TTestFont ------------------------------------------------------------------

const TClassInfo& TTestFont::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TTestFont> b("TTestFont", &TPersistent::StaticClass());
    b.Str(
        "Name", [](const TTestFont& f) { return f.Name; },
        [](TTestFont& f, const std::string& v) {
          Log().push_back("Font.Name=" + v);
          f.Name = v;
        });
    b.Int(
        "Size", [](const TTestFont& f) { return f.Size; },
        [](TTestFont& f, int v) {
          Log().push_back("Font.Size=" + std::to_string(v));
          f.Size = v;
        },
        8);
    return b.Done();
  }();
  return info;
}

void TTestFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TTestFont*>(Source)) {
    Name = f->Name;
    Size = f->Size;
    return;
  }
  TPersistent::Assign(Source);
}

// ---- TTestItem ------------------------------------------------------------------

const TClassInfo& TTestItem::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TTestItem> b("TTestItem", &TCollectionItem::StaticClass());
    b.Str(
        "Caption", [](const TTestItem& i) { return i.Caption; },
        [](TTestItem& i, const std::string& v) { i.Caption = v; });
    b.Int(
        "Value", [](const TTestItem& i) { return i.Value; },
        [](TTestItem& i, int v) { i.Value = v; }, 0);
    return b.Done();
  }();
  return info;
}

void TTestItem::DefineProperties(TFiler& Filer) {
  Filer.DefineBinaryProperty(
      "Data", this,
      [](TObject* o, TStream& s) {
        auto* item = static_cast<TTestItem*>(o);
        item->Data.resize(static_cast<size_t>(s.Size() - s.Position()));
        if (!item->Data.empty())
          s.ReadBuffer(item->Data.data(), static_cast<int32_t>(item->Data.size()));
      },
      [](TObject* o, TStream& s) {
        auto* item = static_cast<TTestItem*>(o);
        s.WriteBuffer(item->Data.data(), static_cast<int32_t>(item->Data.size()));
      },
      !Data.empty());
}

void TTestItem::Assign(TPersistent* Source) {
  if (auto* i = dynamic_cast<TTestItem*>(Source)) {
    Caption = i->Caption;
    Value = i->Value;
    Data = i->Data;
    return;
  }
  TCollectionItem::Assign(Source);
}

// ---- TTestWidget -------------------------------------------------------------------

const TClassInfo& TTestWidget::StaticClass() {
  static const TClassInfo info = [] {
    using W = TTestWidget;
    TClassBuilder<W> b("TTestWidget", &TComponent::StaticClass());
    b.Creatable();
    b.Str(
        "Caption", [](const W& w) { return w.Caption; },
        [](W& w, const std::string& v) { w.SetCaption(v); });
    b.Int(
        "Count", [](const W& w) { return w.Count; },
        [](W& w, int v) {
          Log().push_back(w.Name() + ".Count=" + std::to_string(v));
          w.Count = v;
        },
        0);
    b.Int(
        "Position", [](const W& w) { return w.Position; }, [](W& w, int v) { w.SetPosition(v); },
        0);
    b.Float(
         "Ratio", [](const W& w) { return w.Ratio; }, [](W& w, double v) { w.Ratio = v; })
        .Stored = [](const TObject* o) { return static_cast<const W*>(o)->Ratio != 0; };
    b.Bool(
        "Enabled", [](const W& w) { return w.Enabled; },
        [](W& w, bool v) {
          Log().push_back(w.Name() + ".Enabled=" + (v ? "1" : "0"));
          w.Enabled = v;
        },
        true);
    b.Enum(
        "Align", TestAlignInfo(), [](const W& w) { return w.Align; },
        [](W& w, int v) { w.Align = v; }, taNone);
    b.Set(
        "Anchors", TestAnchorInfo(), [](const W& w) { return w.Anchors; },
        [](W& w, int v) { w.Anchors = v; }, (1 << akLeft) | (1 << akTop));
    b.Color(
        "Color", [](const W& w) { return w.Color; }, [](W& w, int v) { w.Color = v; }, 0x7FFFFFFF);
    b.Ord(
        "Letter", TPropKind::Char, [](const W& w) { return w.Letter; },
        [](W& w, int v) { w.Letter = static_cast<char>(v); });
    b.Obj(
        "Items", TPropKind::Strings, TStringList::StaticClass(),
        [](const W& w) -> TObject* { return w.Items; }, nullptr);
    b.Int(
        "ItemIndex", [](const W& w) { return w.ItemIndex; }, [](W& w, int v) { w.SetItemIndex(v); },
        -1);
    b.Obj(
        "Font", TPropKind::Object, TTestFont::StaticClass(),
        [](const W& w) -> TObject* { return w.Font; }, nullptr);
    b.Obj(
        "Sections", TPropKind::Collection, TCollection::StaticClass(),
        [](const W& w) -> TObject* { return w.Sections; }, nullptr);
    // A table cannot name its own class (its info is being built), so the
    // buddy is declared as any component.
    b.Obj(
        "Buddy", TPropKind::Component, TComponent::StaticClass(),
        [](const W& w) -> TObject* { return w.Buddy; },
        [](W& w, TObject* v) { w.SetBuddy(dynamic_cast<TTestWidget*>(v)); });
    b.Obj(
        "Timer", TPropKind::Component, TTestTimer::StaticClass(),
        [](const W& w) -> TObject* { return w.Timer; },
        [](W& w, TObject* v) { w.Timer = dynamic_cast<TTestTimer*>(v); });
    b.Event<&W::OnChange>("OnChange");
    return b.Done();
  }();
  return info;
}

TTestWidget::TTestWidget(TComponent* AOwner)
    : TComponent(AOwner),
      Items(new TStringList),
      Font(new TTestFont),
      Sections(new TCollection(CollectionItemClassOf<TTestItem>())) {}

TTestWidget::~TTestWidget() {
  delete Items;
  delete Font;
  delete Sections;
}

void TTestWidget::SetCaption(const std::string& v) {
  Log().push_back(Name() + ".Caption=" + v);
  Caption = v;
}

void TTestWidget::SetPosition(int v) {
  // Records whether the change event is bound when the setter runs.
  Log().push_back(Name() + ".Position=" + std::to_string(v) + (OnChange ? " bound" : " unbound"));
  if (v == Position) return;
  Position = v;
  if (OnChange) OnChange(this);
}

void TTestWidget::SetItemIndex(int v) {
  Log().push_back(Name() + ".ItemIndex=" + std::to_string(v) + " of " +
                  std::to_string(Items->Count()));
  ItemIndex = v;
}

void TTestWidget::SetBuddy(TTestWidget* v) {
  Log().push_back(Name() + ".Buddy=" + (v ? v->Name() : std::string("nil")));
  Buddy = v;
  if (v) v->FreeNotification(this);
}

void TTestWidget::SetParentComponent(TComponent* Value) {
  Log().push_back(Name() + ".Parent=" + (Value ? Value->Name() : std::string("nil")));
  ParentSeen = Value;
}

void TTestWidget::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == Buddy) Buddy = nullptr;
  if (Operation == opRemove && AComponent == Timer) Timer = nullptr;
  if (Operation == opRemove && AComponent == ParentSeen) ParentSeen = nullptr;
}

void TTestWidget::Loaded() {
  TComponent::Loaded();
  Log().push_back("Loaded " + Name() + (HasState(csReading) ? " reading" : "") +
                  (OnChange ? " bound" : ""));
}

// ---- TTestTimer, TReaderRoot ---------------------------------------------------------

const TClassInfo& TTestTimer::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TTestTimer> b("TTestTimer", &TComponent::StaticClass());
    b.Creatable();
    b.Int(
        "Interval", [](const TTestTimer& t) { return t.Interval; },
        [](TTestTimer& t, int v) { t.Interval = v; }, 1000);
    return b.Done();
  }();
  return info;
}

const TClassInfo& TReaderRoot::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TReaderRoot> b("TReaderRoot", &TComponent::StaticClass());
    b.Str(
        "Caption", [](const TReaderRoot& r) { return r.Caption; },
        [](TReaderRoot& r, const std::string& v) {
          Log().push_back("Root.Caption=" + v);
          r.Caption = v;
        });
    b.Published<TNotifyEvent, &TReaderRoot::WidgetChange>("WidgetChange");
    b.Published<TNotifyEvent, &TReaderRoot::OtherChange>("OtherChange");
    b.Published<TEvent<void(TObject*, int)>, &TReaderRoot::WrongShape>("WrongShape");
    return b.Done();
  }();
  return info;
}

void TReaderRoot::WidgetChange(TObject* Sender) {
  Calls.push_back("WidgetChange " + static_cast<TComponent*>(Sender)->Name());
}
void TReaderRoot::OtherChange(TObject*) {
  Calls.push_back("OtherChange");
}
void TReaderRoot::WrongShape(TObject*, int) {}

void TReaderRoot::BeginReadState() {
  TComponent::BeginReadState();
  Log().push_back("BeginReadState");
}

void TReaderRoot::EndReadState() {
  TComponent::EndReadState();
  Log().push_back("EndReadState");
}

void TReaderRoot::Loaded() {
  TComponent::Loaded();
  Log().push_back(std::string("Loaded root") + (HasState(csLoading) ? " loading" : ""));
}

void RegisterTestClasses() {
  RegisterClass(TTestWidget::StaticClass());
  RegisterClass(TTestTimer::StaticClass());
}
