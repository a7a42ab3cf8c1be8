#include "widgets/rtl/reflection.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "widgets/rtl/sysutils.h"

namespace {

const TPropInfo& Need(TObject* Instance, std::string_view Path, TObject** Target) {
  const TPropInfo* p = FindPropPath(Instance, Path, Target);
  if (!p) {
    std::string cls = Instance ? Instance->ClassName() : std::string("nil");
    throw EPropertyError("Property " + cls + "." + std::string(Path) + " does not exist");
  }
  return *p;
}

[[noreturn]] void WrongKind(std::string_view Path, const char* what) {
  throw EPropertyError("Property " + std::string(Path) + " is not " + what);
}

[[noreturn]] void ReadOnly(std::string_view Path) {
  throw EPropertyError("Property " + std::string(Path) + " is read-only");
}

// The property at Path and the object holding it, when the property has the
// getter Get (its kind); raises otherwise.
template <typename G>
std::pair<const TPropInfo*, TObject*> Readable(TObject* Instance, std::string_view Path,
                                               G TPropInfo::*Get, const char* Kind) {
  TObject* t;
  const TPropInfo& p = Need(Instance, Path, &t);
  if (!(p.*Get)) WrongKind(Path, Kind);
  return {&p, t};
}

// The same, when the property also has the setter Set.
template <typename G, typename S>
std::pair<const TPropInfo*, TObject*> Writable(TObject* Instance, std::string_view Path,
                                               G TPropInfo::*Get, S TPropInfo::*Set,
                                               const char* Kind) {
  auto found = Readable(Instance, Path, Get, Kind);
  if (!(found.first->*Set)) ReadOnly(Path);
  return found;
}

std::vector<TIdentToInt>& IntMappers() {
  static std::vector<TIdentToInt> mappers;
  return mappers;
}

}  // namespace

const TPropInfo* FindPropPath(TObject* Instance, std::string_view Path, TObject** Target) {
  TObject* obj = Instance;
  while (obj) {
    size_t dot = Path.find('.');
    std::string_view seg = Path.substr(0, dot);
    const TPropInfo* p = obj->ClassType().FindProp(seg);
    if (!p) return nullptr;
    if (dot == std::string_view::npos) {
      if (Target) *Target = obj;
      return p;
    }
    if (!p->HoldsObject()) return nullptr;
    obj = p->GetObj(obj);
    Path.remove_prefix(dot + 1);
  }
  return nullptr;
}

bool PropExists(TObject* Instance, std::string_view Path) {
  return FindPropPath(Instance, Path, nullptr) != nullptr;
}

int64_t GetOrdProp(TObject* Instance, std::string_view Path) {
  auto [p, t] = Readable(Instance, Path, &TPropInfo::GetOrd, "ordinal");
  return p->GetOrd(t);
}

void SetOrdProp(TObject* Instance, std::string_view Path, int64_t Value) {
  auto [p, t] = Writable(Instance, Path, &TPropInfo::GetOrd, &TPropInfo::SetOrd, "ordinal");
  p->SetOrd(t, Value);
}

std::string GetStrProp(TObject* Instance, std::string_view Path) {
  auto [p, t] = Readable(Instance, Path, &TPropInfo::GetStr, "a string");
  return p->GetStr(t);
}

void SetStrProp(TObject* Instance, std::string_view Path, const std::string& Value) {
  auto [p, t] = Writable(Instance, Path, &TPropInfo::GetStr, &TPropInfo::SetStr, "a string");
  p->SetStr(t, Value);
}

double GetFloatProp(TObject* Instance, std::string_view Path) {
  auto [p, t] = Readable(Instance, Path, &TPropInfo::GetFloat, "a float");
  return p->GetFloat(t);
}

void SetFloatProp(TObject* Instance, std::string_view Path, double Value) {
  auto [p, t] = Writable(Instance, Path, &TPropInfo::GetFloat, &TPropInfo::SetFloat, "a float");
  p->SetFloat(t, Value);
}

TObject* GetObjectProp(TObject* Instance, std::string_view Path) {
  auto [p, t] = Readable(Instance, Path, &TPropInfo::GetObj, "an object");
  return p->GetObj(t);
}

void SetObjectProp(TObject* Instance, std::string_view Path, TObject* Value) {
  auto [p, t] = Writable(Instance, Path, &TPropInfo::GetObj, &TPropInfo::SetObj, "an object");
  p->SetObj(t, Value);
}

TMethod GetMethodProp(TObject* Instance, std::string_view Path) {
  TObject* t;
  const TPropInfo& p = Need(Instance, Path, &t);
  if (p.Kind != TPropKind::Method || !p.GetMethod) WrongKind(Path, "a method");
  return p.GetMethod(t);
}

void SetMethodProp(TObject* Instance, std::string_view Path, const TMethod& Value) {
  TObject* t;
  const TPropInfo& p = Need(Instance, Path, &t);
  if (p.Kind != TPropKind::Method) WrongKind(Path, "a method");
  if (!p.SetMethod) ReadOnly(Path);
  p.SetMethod(t, Value);
}

bool PropIsMethod(TObject* Instance, std::string_view Path) {
  const TPropInfo* p = FindPropPath(Instance, Path, nullptr);
  return p && p->Kind == TPropKind::Method;
}

std::string GetEnumProp(TObject* Instance, std::string_view Path) {
  TObject* t;
  const TPropInfo& p = Need(Instance, Path, &t);
  if (p.Kind == TPropKind::Boolean) return p.GetOrd(t) ? "True" : "False";
  if (p.Kind != TPropKind::Enumeration || !p.Enum) WrongKind(Path, "an enumeration");
  return p.Enum->NameOf(p.GetOrd(t));
}

void SetEnumProp(TObject* Instance, std::string_view Path, std::string_view Value) {
  TObject* t;
  const TPropInfo& p = Need(Instance, Path, &t);
  int64_t v;
  if (p.Kind == TPropKind::Boolean) {
    if (SameText(Value, "True"))
      v = 1;
    else if (SameText(Value, "False"))
      v = 0;
    else
      throw EPropertyError("Invalid property value " + std::string(Value));
  } else {
    if (p.Kind != TPropKind::Enumeration || !p.Enum) WrongKind(Path, "an enumeration");
    v = p.Enum->ValueOf(Value);
    if (v < 0) throw EPropertyError("Invalid property value " + std::string(Value));
  }
  if (!p.SetOrd) ReadOnly(Path);
  p.SetOrd(t, v);
}

std::string GetSetProp(TObject* Instance, std::string_view Path) {
  TObject* t;
  const TPropInfo& p = Need(Instance, Path, &t);
  if (p.Kind != TPropKind::Set || !p.Enum) WrongKind(Path, "a set");
  return SetToString(*p.Enum, p.GetOrd(t));
}

void SetSetProp(TObject* Instance, std::string_view Path, std::string_view Value) {
  TObject* t;
  const TPropInfo& p = Need(Instance, Path, &t);
  if (p.Kind != TPropKind::Set || !p.Enum) WrongKind(Path, "a set");
  if (!p.SetOrd) ReadOnly(Path);
  p.SetOrd(t, StringToSet(*p.Enum, Value));
}

std::string SetToString(const TEnumInfo& Members, int64_t Value) {
  std::string r;
  for (size_t i = 0; i < Members.Names.size() && i < 64; ++i) {
    if (!(static_cast<uint64_t>(Value) & (uint64_t{1} << i))) continue;
    if (!r.empty()) r += ',';
    r += Members.Names[i];
  }
  return r;
}

int64_t StringToSet(const TEnumInfo& Members, std::string_view Value) {
  std::string s = Trim(Value);
  if (s.size() >= 2 && s.front() == '[' && s.back() == ']') s = Trim(s.substr(1, s.size() - 2));
  uint64_t r = 0;
  if (s.empty()) return 0;
  // Every piece between commas must be a member ("a,,b" and "a," are not).
  for (size_t i = 0;;) {
    size_t e = s.find(',', i);
    std::string name = Trim(std::string_view(s).substr(i, e == std::string::npos ? e : e - i));
    int v = Members.ValueOf(name);
    if (v < 0 || v >= 64) throw EPropertyError("Invalid set member '" + name + "'");
    r |= uint64_t{1} << v;
    if (e == std::string::npos) break;
    i = e + 1;
  }
  return static_cast<int64_t>(r);
}

void RegisterIntegerIdents(TIdentToInt Mapper) {
  auto& m = IntMappers();
  if (std::find(m.begin(), m.end(), Mapper) == m.end()) m.push_back(Mapper);
}

bool IdentToInteger(std::string_view Ident, int64_t& Value) {
  for (TIdentToInt m : IntMappers())
    if (m(Ident, Value)) return true;
  return false;
}
