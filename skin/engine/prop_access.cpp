#include "skin/engine/prop_access.h"

#include <algorithm>
#include <vector>

#include "widgets/rtl/reflection.h"

namespace {

// The property and the object that holds it; null when absent.
const TPropInfo* Find(TObject* Instance, const std::string& PropName, TObject*& Target) {
  Target = nullptr;
  if (!Instance) return nullptr;
  const TPropInfo* p = FindPropPath(Instance, PropName, &Target);
  return (p && Target) ? p : nullptr;
}

const TPropInfo* FindSet(TObject* Instance, const std::string& PropName, TObject*& Target) {
  const TPropInfo* p = Find(Instance, PropName, Target);
  return (p && p->Kind == TPropKind::Set && p->Enum && p->GetOrd) ? p : nullptr;
}

std::vector<std::string> SplitMembers(const std::string& text) {
  std::vector<std::string> members;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    if (comma > start) members.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return members;
}

}  // namespace

TObject* GetObjectPropByName(TObject* Instance, const std::string& PropName) {
  TObject* target;
  const TPropInfo* p = Find(Instance, PropName, target);
  return (p && p->GetObj) ? p->GetObj(target) : nullptr;
}

int64_t GetOrdPropByName(TObject* Instance, const std::string& PropName) {
  TObject* target;
  const TPropInfo* p = Find(Instance, PropName, target);
  return (p && p->GetOrd) ? p->GetOrd(target) : -1;
}

void SetOrdPropByName(TObject* Instance, const std::string& PropName, int64_t Value) {
  TObject* target;
  const TPropInfo* p = Find(Instance, PropName, target);
  if (p && p->SetOrd) p->SetOrd(target, Value);
}

bool SetPropHasMember(TObject* Instance, const std::string& PropName,
                      const std::string& MemberName) {
  TObject* target;
  const TPropInfo* p = FindSet(Instance, PropName, target);
  if (!p) return false;
  const auto& names = p->Enum->Names;
  for (size_t i = 0; i < names.size() && i < 64; ++i)
    if (names[i] == MemberName) return (p->GetOrd(target) >> i) & 1;
  return false;
}

void ChangeSetPropMember(TObject* Instance, const std::string& PropName,
                         const std::string& MemberName, bool Include) {
  TObject* target;
  const TPropInfo* p = FindSet(Instance, PropName, target);
  if (!p || !p->SetOrd) return;
  std::vector<std::string> members = SplitMembers(SetToString(*p->Enum, p->GetOrd(target)));
  auto it = std::find(members.begin(), members.end(), MemberName);
  if (Include == (it != members.end())) return;  // already as asked
  if (Include)
    members.push_back(MemberName);
  else
    members.erase(it);
  std::string text;
  for (const std::string& m : members) text += (text.empty() ? "" : ",") + m;
  try {
    p->SetOrd(target, StringToSet(*p->Enum, text));
  } catch (const Exception&) {
    // Not a member of the set's type: the property stays as it was.
  }
}
