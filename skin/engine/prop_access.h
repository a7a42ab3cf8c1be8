// Published properties by name, for switching options of controls the
// library does not own. A property the class does not publish is never an
// error: reads answer nil, -1 or False and writes do nothing.
#pragma once

#include <cstdint>
#include <string>

// PropExists (Instance, PropName) is the layer's own, with the same rule.
#include "widgets/rtl/reflection.h"

TObject* GetObjectPropByName(TObject* Instance, const std::string& PropName);
int64_t GetOrdPropByName(TObject* Instance, const std::string& PropName);
void SetOrdPropByName(TObject* Instance, const std::string& PropName, int64_t Value);
// True when the set property holds the member named exactly MemberName
// (case-sensitive).
bool SetPropHasMember(TObject* Instance, const std::string& PropName,
                      const std::string& MemberName);
// Adds (Include) or removes one named member of a set property. Members are
// compared as whole names, so "Foo" is not taken for part of "FooBar".
void ChangeSetPropMember(TObject* Instance, const std::string& PropName,
                         const std::string& MemberName, bool Include);
