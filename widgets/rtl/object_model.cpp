#include "widgets/rtl/object_model.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "widgets/rtl/exceptions.h"

namespace {

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

std::vector<const TClassInfo*>& Registry() {
  static std::vector<const TClassInfo*> classes;
  return classes;
}

}  // namespace

std::string Exception::Fmt(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char buf[1024];
  int n = std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  if (n < 0) return {};
  if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, n);
  std::string big(static_cast<size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(big.data(), big.size(), format, args);
  va_end(args);
  big.resize(n);
  return big;
}

int TEnumInfo::ValueOf(std::string_view name) const {
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameText(Names[i], name)) return static_cast<int>(i);
  return -1;
}

std::string TEnumInfo::NameOf(int64_t value) const {
  if (value < 0 || value >= static_cast<int64_t>(Names.size())) return {};
  return Names[static_cast<size_t>(value)];
}

bool TPropInfo::IsOrdinal() const {
  return GetOrd != nullptr;
}

bool TPropInfo::HoldsObject() const {
  return GetObj && (Kind == TPropKind::Object || Kind == TPropKind::Component ||
                    Kind == TPropKind::Strings || Kind == TPropKind::Collection);
}

bool TPropInfo::ReadOnly() const {
  return !SetOrd && !SetStr && !SetFloat && !SetObj && !SetMethod;
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (c == other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TPropInfo& p : c->props_)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

const TPublishedMethod* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TPublishedMethod& m : c->methods_)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent_) chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const TPropInfo& p : (*it)->props_) {
      // A redeclared property replaces the inherited one in place.
      auto same = std::find_if(out.begin(), out.end(),
                               [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
      if (same != out.end())
        *same = &p;
      else
        out.push_back(&p);
    }
  return out;
}

TPropInfo& TClassInfo::AddProp(TPropInfo p) {
  props_.push_back(std::move(p));
  return props_.back();
}

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info("TObject", nullptr);
  return info;
}

void TObject::Free(TObject* obj) {
  if (!obj) return;
  obj->BeforeDestruction();
  delete obj;
}

void RegisterClass(const TClassInfo& cls) {
  auto& r = Registry();
  if (std::find(r.begin(), r.end(), &cls) == r.end()) r.push_back(&cls);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
  for (const TClassInfo* c : classes)
    if (c) RegisterClass(*c);
}

const TClassInfo* FindClass(std::string_view name) {
  for (const TClassInfo* c : Registry())
    if (SameText(c->Name(), name)) return c;
  return nullptr;
}

void UnregisterAllClasses() {
  Registry().clear();
}
