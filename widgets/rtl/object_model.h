// Objects, class references and published properties.
//
// Every class that takes part in streaming or reflection carries a
// `TClassInfo`: its name (the exact name `ClassName()` returns and its window
// class is registered under), its parent, an optional factory and its table
// of published properties. Class infos are built lazily on first use (never
// by static constructors), and the registry of creatable classes is filled
// explicitly by the units' start-up steps.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "widgets/rtl/events.h"

// The platform headers define RegisterClass as a macro for their window-class
// call; the layer's class registry owns that name (window classes are always
// registered with the explicit A/W functions).
#include <windows.h>
#ifdef RegisterClass
#undef RegisterClass
#endif

class TObject;
class TComponent;
class TClassInfo;

enum class TPropKind {
  Integer,
  Enumeration,
  Boolean,
  Set,
  Char,
  String,
  Float,
  Color,
  Object,      // a sub-object owned by the instance (Font, Options, ...)
  Component,   // a reference to another component, resolved after loading
  Method,      // an event
  Strings,     // a TStrings sub-object
  Collection,  // a TCollection sub-object
};

// Names of an enumeration's members, in value order starting at 0.
struct TEnumInfo {
  std::vector<std::string> Names;
  int ValueOf(std::string_view name) const;  // -1 when unknown (case-insensitive)
  std::string NameOf(int64_t value) const;   // empty when out of range
};

struct TPropInfo {
  std::string Name;
  TPropKind Kind = TPropKind::Integer;
  const TEnumInfo* Enum = nullptr;             // Enumeration, or the element type of a Set
  const TClassInfo* ObjClass = nullptr;        // Object / Component: the declared class
  const std::type_info* MethodType = nullptr;  // Method: the TEvent type it holds

  // Ordinal kinds (Integer, Enumeration, Boolean, Set as a bit mask, Char, Color).
  int64_t (*GetOrd)(const TObject*) = nullptr;
  void (*SetOrd)(TObject*, int64_t) = nullptr;
  std::string (*GetStr)(const TObject*) = nullptr;
  void (*SetStr)(TObject*, const std::string&) = nullptr;
  double (*GetFloat)(const TObject*) = nullptr;
  void (*SetFloat)(TObject*, double) = nullptr;
  TObject* (*GetObj)(const TObject*) = nullptr;  // Object, Component, Strings, Collection
  void (*SetObj)(TObject*, TObject*) = nullptr;
  TMethod (*GetMethod)(const TObject*) = nullptr;
  void (*SetMethod)(TObject*, const TMethod&) = nullptr;

  bool HasDefault = false;
  int64_t Default = 0;                       // ordinal kinds only
  bool (*Stored)(const TObject*) = nullptr;  // null: stored when it differs from the default

  bool IsOrdinal() const;
  // An object-valued property with a getter: a dotted path passes through it.
  bool HoldsObject() const;
  bool ReadOnly() const;
};

// A published method of a form class, bound to events by name while loading.
struct TPublishedMethod {
  std::string Name;
  const std::type_info* Type;  // the TEvent type the method fits
  TMethod (*Make)(TObject* instance);
};

using TComponentFactory = TComponent* (*)(TComponent* owner);

class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent)
      : name_(std::move(name)), parent_(parent) {}

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  TComponentFactory Factory() const { return factory_; }
  bool InheritsFrom(const TClassInfo* other) const;

  // Along the class chain, own table first; names compare case-insensitively.
  const TPropInfo* FindProp(std::string_view name) const;
  const TPublishedMethod* FindMethod(std::string_view name) const;
  // Every published property, base classes first.
  std::vector<const TPropInfo*> AllProps() const;
  const std::vector<TPropInfo>& OwnProps() const { return props_; }
  const std::vector<TPublishedMethod>& OwnMethods() const { return methods_; }

  TPropInfo& AddProp(TPropInfo p);
  void AddMethod(TPublishedMethod m) { methods_.push_back(std::move(m)); }
  void SetFactory(TComponentFactory f) { factory_ = f; }

 private:
  std::string name_;
  const TClassInfo* parent_;
  TComponentFactory factory_ = nullptr;
  std::vector<TPropInfo> props_;
  std::vector<TPublishedMethod> methods_;
};

// Declares the class reference of a class. Put it first in the class body:
//   class TButton : public TButtonControl { DECLARE_CLASS(TButton, TButtonControl) ... };
// and define `const TClassInfo& TButton::StaticClass()` in the .cpp file.
#define DECLARE_CLASS(Cls, Base)                 \
 public:                                         \
  using inherited = Base;                        \
  static const TClassInfo& StaticClass();        \
  const TClassInfo& ClassType() const override { \
    return Cls::StaticClass();                   \
  }                                              \
                                                 \
 private:

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(const TClassInfo& c) const { return ClassType().InheritsFrom(&c); }

  // Runs after the most-derived constructor, from the factories and from New<T>.
  virtual void AfterConstruction() {}
  // Runs before destruction starts, from Free().
  virtual void BeforeDestruction() {}
  // Deletes the object; accepts null.
  static void Free(TObject* obj);
  void Free() { Free(this); }
};

// Owns a layer object for a scope and frees it through Free(), so its
// BeforeDestruction runs as it would for any other owner.
struct TObjectFree {
  void operator()(TObject* obj) const { TObject::Free(obj); }
};
template <typename T>
using TOwnedObject = std::unique_ptr<T, TObjectFree>;
template <typename T>
TOwnedObject<T> OwnObject(T* obj) {
  return TOwnedObject<T>(obj);
}

// Constructs an object, lets Whole see it (a caller's reference is set
// before the object's own AfterConstruction reads or announces anything),
// then runs AfterConstruction. An object whose AfterConstruction fails is
// freed. Components can only be made this way: their plain `new` is private,
// so no component misses the step that makes it join its owner.
template <typename T, typename F, typename... A>
T* NewWith(F&& Whole, A&&... args) {
  T* obj = new T(std::forward<A>(args)...);
  try {
    Whole(obj);
    obj->AfterConstruction();
  } catch (...) {
    TObject::Free(obj);
    throw;
  }
  return obj;
}

// Constructs an object and runs its AfterConstruction, as every factory does.
template <typename T, typename... A>
T* New(A&&... args) {
  return NewWith<T>([](T*) {}, std::forward<A>(args)...);
}

// Builds a class's table in its StaticClass():
//   static const TClassInfo info = [] {
//     TClassBuilder<TTrackBar> b("TTrackBar", &TWinControl::StaticClass());
//     b.Creatable();
//     b.Int("Max", [](const TTrackBar& o) { return o.Max(); },
//           [](TTrackBar& o, int v) { o.SetMax(v); }, 10);
//     return b.Done();
//   }();
// Getters and setters are capture-free lambdas; the builder turns them into
// plain function pointers.
template <typename C>
class TClassBuilder {
 public:
  TClassBuilder(const char* name, const TClassInfo* parent) : info_(name, parent) {}

  TClassBuilder& Creatable() {
    info_.SetFactory([](TComponent* owner) -> TComponent* { return New<C>(owner); });
    return *this;
  }

  template <typename G, typename S>
  TPropInfo& Ord(const char* name, TPropKind kind, G, S) {
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.GetOrd = [](const TObject* o) -> int64_t {
      return static_cast<int64_t>(G{}(static_cast<const C&>(*o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetOrd = [](TObject* o, int64_t v) { S{}(static_cast<C&>(*o), Narrow(v)); };
    }
    return info_.AddProp(std::move(p));
  }
  template <typename G, typename S>
  TPropInfo& Int(const char* name, G g, S s) {
    return Ord(name, TPropKind::Integer, g, s);
  }
  template <typename G, typename S>
  TPropInfo& Int(const char* name, G g, S s, int64_t def) {
    return WithDefault(Ord(name, TPropKind::Integer, g, s), def);
  }
  template <typename G, typename S>
  TPropInfo& Bool(const char* name, G g, S s, bool def) {
    return WithDefault(Ord(name, TPropKind::Boolean, g, s), def ? 1 : 0);
  }
  template <typename G, typename S>
  TPropInfo& Color(const char* name, G g, S s, int64_t def) {
    return WithDefault(Ord(name, TPropKind::Color, g, s), def);
  }
  template <typename G, typename S>
  TPropInfo& Enum(const char* name, const TEnumInfo& e, G g, S s, int64_t def) {
    TPropInfo& p = WithDefault(Ord(name, TPropKind::Enumeration, g, s), def);
    p.Enum = &e;
    return p;
  }
  // A set is an integer bit mask; bit i is member i of `e`.
  template <typename G, typename S>
  TPropInfo& Set(const char* name, const TEnumInfo& e, G g, S s, int64_t def) {
    TPropInfo& p = WithDefault(Ord(name, TPropKind::Set, g, s), def);
    p.Enum = &e;
    return p;
  }

  template <typename G, typename S>
  TPropInfo& Str(const char* name, G, S) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::String;
    p.GetStr = [](const TObject* o) -> std::string { return G{}(static_cast<const C&>(*o)); };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetStr = [](TObject* o, const std::string& v) { S{}(static_cast<C&>(*o), v); };
    }
    return info_.AddProp(std::move(p));
  }

  template <typename G, typename S>
  TPropInfo& Float(const char* name, G, S) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Float;
    p.GetFloat = [](const TObject* o) -> double { return G{}(static_cast<const C&>(*o)); };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetFloat = [](TObject* o, double v) { S{}(static_cast<C&>(*o), v); };
    }
    return info_.AddProp(std::move(p));
  }

  // Object, Component, Strings or Collection: the getter returns the held object.
  template <typename G, typename S>
  TPropInfo& Obj(const char* name, TPropKind kind, const TClassInfo& cls, G, S) {
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.ObjClass = &cls;
    p.GetObj = [](const TObject* o) -> TObject* { return G{}(static_cast<const C&>(*o)); };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetObj = [](TObject* o, TObject* v) { S{}(static_cast<C&>(*o), v); };
    }
    return info_.AddProp(std::move(p));
  }

  // A sub-object the instance owns, read through Getter (a const member
  // function returning it) and filled in place by the reader: no setter.
  template <auto Getter>
  TPropInfo& SubObject(const char* name) {
    using T = std::remove_pointer_t<std::invoke_result_t<decltype(Getter), const C&>>;
    return Obj(
        name, TPropKind::Object, T::StaticClass(),
        [](const C& o) -> TObject* { return (o.*Getter)(); }, nullptr);
  }

  // An event property: Member is a pointer to the TEvent data member.
  template <auto Member>
  TPropInfo& Event(const char* name) {
    using Ev = std::remove_cvref_t<decltype(std::declval<C&>().*Member)>;
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Method;
    p.MethodType = &typeid(Ev);
    p.GetMethod = [](const TObject* o) { return (static_cast<const C&>(*o).*Member).Method(); };
    p.SetMethod = [](TObject* o, const TMethod& m) {
      static_cast<C&>(*o).*Member = Ev::FromMethod(m);
    };
    return info_.AddProp(std::move(p));
  }
  // The same, set through Setter (a member function taking the event), for
  // an event whose assignment must act (a timer starts).
  template <auto Member, auto Setter>
  TPropInfo& Event(const char* name) {
    using Ev = std::remove_cvref_t<decltype(std::declval<C&>().*Member)>;
    TPropInfo& p = Event<Member>(name);
    p.SetMethod = [](TObject* o, const TMethod& m) {
      (static_cast<C&>(*o).*Setter)(Ev::FromMethod(m));
    };
    return p;
  }

  // A published method that the form reader can bind to an event of type Ev.
  template <typename Ev, auto Method>
  void Published(const char* name) {
    info_.AddMethod({name, &typeid(Ev), [](TObject* o) {
                       return Ev::template Of<Method>(static_cast<C*>(o)).Method();
                     }});
  }

  TClassInfo Done() { return std::move(info_); }

 private:
  static int Narrow(int64_t v) { return static_cast<int>(v); }
  static TPropInfo& WithDefault(TPropInfo& p, int64_t def) {
    p.HasDefault = true;
    p.Default = def;
    return p;
  }

  TClassInfo info_;
};

// The registry of classes the form reader can create by name.
void RegisterClass(const TClassInfo& cls);
// Several at once, as a unit's start-up lists them.
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
const TClassInfo* FindClass(std::string_view name);  // null when unknown
void UnregisterAllClasses();
