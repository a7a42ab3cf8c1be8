#include "widgets/rtl/form_reader.h"

#include <typeinfo>
#include <vector>

#include "widgets/rtl/classes.h"
#include "widgets/graphics/colors.h"
#include "widgets/rtl/reflection.h"
#include "widgets/rtl/sysutils.h"

namespace {

// Hands the binary block of one property to the class that defines it.
class BinaryReaderFiler : public TFiler {
 public:
  BinaryReaderFiler(const std::string& name, const TFormValue& value)
      : name_(name), value_(value) {}
  void DefineBinaryProperty(const std::string& name, TObject* instance, TStreamProc read,
                            TStreamProc, bool) override {
    if (found_ || !SameText(name, name_)) return;
    found_ = true;
    if (value_.Kind != TFormValueKind::Binary)
      throw EFormError(value_.Line, "Binary data expected for " + name);
    TMemoryStream data;
    if (!value_.Binary.empty())
      data.WriteBuffer(value_.Binary.data(), static_cast<int32_t>(value_.Binary.size()));
    data.SetPosition(0);
    if (read) read(instance, data);
  }
  bool Found() const { return found_; }

 private:
  const std::string& name_;
  const TFormValue& value_;
  bool found_ = false;
};

class FormReader {
 public:
  explicit FormReader(TComponent* root) : root_(root) {}

  void Read(const TFormObject& d) {
    if (!SameText(d.ClassName, root_->ClassName()))
      throw EFormError(
          d.Line, "The description is of class " + d.ClassName + ", not " + root_->ClassName());
    root_->BeginReadState();
    try {
      if (!d.Name.empty()) SetRootName(d.Name, d.Line);
      loaded_.push_back(root_);
      ReadBody(d, root_);
      ResolveReferences();
      BindEvents();
    } catch (...) {
      for (TComponent* c : loaded_) c->ClearState(csReading | csLoading);
      root_->EndReadState();
      throw;
    }
    root_->EndReadState();
    for (TComponent* c : loaded_) c->Loaded();
  }

 private:
  struct Fixup {
    TObject* Instance;
    const TPropInfo* Prop;
    std::string Name;
    int Line;
  };

  // A second form of one class gets "Form1_1", as names are unique per owner.
  void SetRootName(const std::string& name, int line) {
    std::string unique = name;
    if (TComponent* owner = root_->Owner()) {
      for (int i = 1;; ++i) {
        TComponent* other = owner->FindComponent(unique);
        if (!other || other == root_) break;
        unique = name + "_" + std::to_string(i);
      }
    }
    Guard(line, "Name", [&] { root_->SetName(unique); });
  }

  void ReadBody(const TFormObject& d, TComponent* instance) {
    for (const TFormProperty& p : d.Props) ApplyProperty(instance, p);
    for (const TFormObject& child : d.Children) ReadChild(child, instance);
  }

  void ReadChild(const TFormObject& d, TComponent* enclosing) {
    const TClassInfo* cls = FindClass(d.ClassName);
    if (!cls || !cls->Factory()) throw EFormError(d.Line, "Class " + d.ClassName + " not found");
    TComponent* c = nullptr;
    Guard(d.Line, d.ClassName, [&] { c = cls->Factory()(root_); });
    c->SetState(csLoading | csReading);
    loaded_.push_back(c);
    if (!d.Name.empty()) Guard(d.Line, "Name", [&] { c->SetName(d.Name); });
    if (c->HasParent()) Guard(d.Line, "Parent", [&] { c->SetParentComponent(enclosing); });
    ReadBody(d, c);
    c->ClearState(csReading);
  }

  // Runs a setter; a failure becomes an error naming the line and property.
  template <typename F>
  void Guard(int line, const std::string& what, F&& f) {
    try {
      f();
    } catch (const EFormError&) {
      throw;
    } catch (const Exception& e) {
      throw EFormError(line, "Error reading " + what + ": " + e.Message());
    }
  }

  void ApplyProperty(TObject* instance, const TFormProperty& p) {
    TObject* target = instance;
    std::string_view path = p.Name;
    for (;;) {
      size_t dot = path.find('.');
      std::string seg(path.substr(0, dot));
      const TPropInfo* prop = target->ClassType().FindProp(seg);
      if (dot == std::string_view::npos) {
        if (prop) {
          Guard(p.Line, p.Name, [&] { SetValue(target, *prop, p.Value, p.Line); });
          return;
        }
        if (auto* strings = dynamic_cast<TStrings*>(target); strings && SameText(seg, "Strings")) {
          Guard(p.Line, p.Name, [&] { FillStrings(*strings, p.Value); });
          return;
        }
        if (auto* persistent = dynamic_cast<TPersistent*>(target)) {
          BinaryReaderFiler filer(seg, p.Value);
          Guard(p.Line, p.Name, [&] { persistent->DefineProperties(filer); });
          if (filer.Found()) return;
        }
        throw Unknown(target, seg, p.Line);
      }
      if (!prop) throw Unknown(target, seg, p.Line);
      if (!prop->HoldsObject())
        throw EFormError(p.Line, "Property " + seg + " has no properties of its own");
      TObject* sub = prop->GetObj(target);
      if (!sub) throw EFormError(p.Line, "Property " + seg + " is nil");
      target = sub;
      path.remove_prefix(dot + 1);
    }
  }

  static EFormError Unknown(TObject* target, const std::string& name, int line) {
    return EFormError(line, "Property " + target->ClassName() + "." + name + " does not exist");
  }

  [[noreturn]] static void Invalid(const TFormValue& v, const TPropInfo& prop) {
    std::string shown;
    switch (v.Kind) {
      case TFormValueKind::Ident:
        shown = " '" + v.Str + "'";
        break;
      case TFormValueKind::Integer:
        shown = " " + std::to_string(v.Int);
        break;
      default:
        break;
    }
    throw EFormError(v.Line, "Invalid value" + shown + " for property " + prop.Name);
  }

  void SetOrd(TObject* target, const TPropInfo& prop, int64_t value, int line) {
    if (!prop.SetOrd) throw EFormError(line, "Property " + prop.Name + " is read-only");
    prop.SetOrd(target, value);
  }

  void SetValue(TObject* target, const TPropInfo& prop, const TFormValue& v, int line) {
    const bool ident = v.Kind == TFormValueKind::Ident;
    switch (prop.Kind) {
      case TPropKind::Integer: {
        int64_t n = v.Int;
        if (ident && !IdentToInteger(v.Str, n)) Invalid(v, prop);
        if (!ident && v.Kind != TFormValueKind::Integer) Invalid(v, prop);
        return SetOrd(target, prop, n, line);
      }
      case TPropKind::Boolean:
        if (ident && SameText(v.Str, "True")) return SetOrd(target, prop, 1, line);
        if (ident && SameText(v.Str, "False")) return SetOrd(target, prop, 0, line);
        Invalid(v, prop);
      case TPropKind::Enumeration: {
        int n = ident && prop.Enum ? prop.Enum->ValueOf(v.Str) : -1;
        if (n < 0) Invalid(v, prop);
        return SetOrd(target, prop, n, line);
      }
      case TPropKind::Set: {
        if (v.Kind != TFormValueKind::Set || !prop.Enum) Invalid(v, prop);
        uint64_t mask = 0;
        for (const std::string& m : v.Set) {
          int n = prop.Enum->ValueOf(m);
          if (n < 0 || n >= 64)
            throw EFormError(v.Line, "Invalid set member '" + m + "' for property " + prop.Name);
          mask |= uint64_t{1} << n;
        }
        return SetOrd(target, prop, static_cast<int64_t>(mask), line);
      }
      case TPropKind::Char:
        if (v.Kind == TFormValueKind::String && v.Str.size() == 1)
          return SetOrd(target, prop, static_cast<unsigned char>(v.Str[0]), line);
        if (v.Kind == TFormValueKind::Integer && v.Int >= 0 && v.Int <= 255)
          return SetOrd(target, prop, v.Int, line);
        Invalid(v, prop);
      case TPropKind::Color: {
        if (v.Kind == TFormValueKind::Integer) return SetOrd(target, prop, v.Int, line);
        TColor c;
        if (ident && IdentToColor(v.Str, c)) return SetOrd(target, prop, c, line);
        Invalid(v, prop);
      }
      case TPropKind::String:
        if (v.Kind != TFormValueKind::String) Invalid(v, prop);
        if (!prop.SetStr) throw EFormError(line, "Property " + prop.Name + " is read-only");
        return prop.SetStr(target, v.Str);
      case TPropKind::Float: {
        double f;
        if (v.Kind == TFormValueKind::Float)
          f = v.Float;
        else if (v.Kind == TFormValueKind::Integer)
          f = static_cast<double>(v.Int);
        else
          Invalid(v, prop);
        if (!prop.SetFloat) throw EFormError(line, "Property " + prop.Name + " is read-only");
        return prop.SetFloat(target, f);
      }
      case TPropKind::Component:
        if (!ident) Invalid(v, prop);
        if (!prop.SetObj) throw EFormError(line, "Property " + prop.Name + " is read-only");
        if (SameText(v.Str, "nil")) return prop.SetObj(target, nullptr);
        references_.push_back({target, &prop, v.Str, line});
        return;
      case TPropKind::Method:
        if (!ident) Invalid(v, prop);
        if (!prop.SetMethod) throw EFormError(line, "Property " + prop.Name + " is read-only");
        if (SameText(v.Str, "nil")) return prop.SetMethod(target, TMethod{});
        events_.push_back({target, &prop, v.Str, line});
        return;
      case TPropKind::Strings: {
        auto* strings = prop.GetObj ? dynamic_cast<TStrings*>(prop.GetObj(target)) : nullptr;
        if (!strings) throw EFormError(line, "Property " + prop.Name + " is nil");
        return FillStrings(*strings, v);
      }
      case TPropKind::Collection: {
        auto* coll = prop.GetObj ? dynamic_cast<TCollection*>(prop.GetObj(target)) : nullptr;
        if (!coll) throw EFormError(line, "Property " + prop.Name + " is nil");
        return FillCollection(*coll, v);
      }
      case TPropKind::Object:
        Invalid(v, prop);
    }
  }

  void FillStrings(TStrings& strings, const TFormValue& v) {
    if (v.Kind != TFormValueKind::List) throw EFormError(v.Line, "String list expected");
    for (const TFormValue& item : v.List)
      if (item.Kind != TFormValueKind::String) throw EFormError(item.Line, "String expected");
    strings.BeginUpdate();
    try {
      strings.Clear();
      for (const TFormValue& item : v.List) strings.Add(item.Str);
    } catch (...) {
      strings.EndUpdate();
      throw;
    }
    strings.EndUpdate();
  }

  void FillCollection(TCollection& coll, const TFormValue& v) {
    if (v.Kind != TFormValueKind::Collection) throw EFormError(v.Line, "Collection expected");
    coll.BeginUpdate();
    try {
      coll.Clear();
      for (const TFormItem& item : v.Items) {
        TCollectionItem* obj = coll.Add();
        for (const TFormProperty& p : item.Props) ApplyProperty(obj, p);
      }
    } catch (...) {
      coll.EndUpdate();
      throw;
    }
    coll.EndUpdate();
  }

  TComponent* FindByName(const std::string& name) const {
    if (SameText(name, root_->Name())) return root_;
    return root_->FindComponent(name);
  }

  void ResolveReferences() {
    for (const Fixup& f : references_) {
      TComponent* c = FindByName(f.Name);
      if (!c) throw EFormError(f.Line, "Component " + f.Name + " not found");
      if (f.Prop->ObjClass && !c->InheritsFrom(*f.Prop->ObjClass))
        throw EFormError(f.Line, "Component " + f.Name + " is not a " + f.Prop->ObjClass->Name());
      Guard(f.Line, f.Prop->Name, [&] { f.Prop->SetObj(f.Instance, c); });
    }
  }

  void BindEvents() {
    for (const Fixup& f : events_) {
      const TPublishedMethod* m = root_->ClassType().FindMethod(f.Name);
      if (!m) throw EFormError(f.Line, "Method " + f.Name + " not found in " + root_->ClassName());
      if (!f.Prop->MethodType || !m->Type || *m->Type != *f.Prop->MethodType)
        throw EFormError(f.Line, "Method " + f.Name + " does not fit event " + f.Prop->Name);
      Guard(f.Line, f.Prop->Name, [&] { f.Prop->SetMethod(f.Instance, m->Make(root_)); });
    }
  }

  TComponent* root_;
  std::vector<TComponent*> loaded_;
  std::vector<Fixup> references_;
  std::vector<Fixup> events_;
};

}  // namespace

void ReadComponent(TComponent* Root, const TFormObject& Description) {
  FormReader(Root).Read(Description);
}

void ReadComponentFromText(TComponent* Root, const std::string& Text) {
  ReadComponent(Root, ParseFormText(Text));
}

void ReadFormResource(TComponent* Root) {
  TResourceStream res(HInstance(), UpperCase(Root->ClassName()), RT_RCDATA);
  std::string text(static_cast<size_t>(res.Size()), '\0');
  if (!text.empty()) res.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
  ReadComponentFromText(Root, text);
}
