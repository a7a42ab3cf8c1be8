// Published properties by name: lookup along dotted paths ("Font.Color",
// "TitleFont.Name"), typed get and set, and the text forms of enumerations
// ("alClient") and sets ("a,b,c": members joined by ",", no brackets or
// blanks). A missing property is not an error for FindPropPath and
// PropExists; the typed accessors raise EPropertyError for it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "widgets/rtl/events.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/object_model.h"

// Walks every segment but the last through object-valued properties (sub
// objects, component references, string lists, collections). Returns the
// last segment's property and stores the object that holds it in *Target;
// null when a segment is missing or a sub-object is nil.
const TPropInfo* FindPropPath(TObject* Instance, std::string_view Path, TObject** Target);
bool PropExists(TObject* Instance, std::string_view Path);

// Ordinal kinds: integer, enumeration, Boolean, set (bit i = member i),
// char and colour.
int64_t GetOrdProp(TObject* Instance, std::string_view Path);
void SetOrdProp(TObject* Instance, std::string_view Path, int64_t Value);
std::string GetStrProp(TObject* Instance, std::string_view Path);
void SetStrProp(TObject* Instance, std::string_view Path, const std::string& Value);
double GetFloatProp(TObject* Instance, std::string_view Path);
void SetFloatProp(TObject* Instance, std::string_view Path, double Value);
TObject* GetObjectProp(TObject* Instance, std::string_view Path);
void SetObjectProp(TObject* Instance, std::string_view Path, TObject* Value);
// Methods can be read, recognised (PropIsMethod), assigned and cleared
// (an empty TMethod).
TMethod GetMethodProp(TObject* Instance, std::string_view Path);
void SetMethodProp(TObject* Instance, std::string_view Path, const TMethod& Value);
bool PropIsMethod(TObject* Instance, std::string_view Path);

// Enumerations by member name (case-insensitive on input).
std::string GetEnumProp(TObject* Instance, std::string_view Path);
void SetEnumProp(TObject* Instance, std::string_view Path, std::string_view Value);
// Sets in their text form.
std::string GetSetProp(TObject* Instance, std::string_view Path);
void SetSetProp(TObject* Instance, std::string_view Path, std::string_view Value);

// "a,b,c" for the members whose bits are set.
std::string SetToString(const TEnumInfo& Members, int64_t Value);
// Accepts "a,b", "[a, b]" or ""; raises EPropertyError for an unknown member.
int64_t StringToSet(const TEnumInfo& Members, std::string_view Value);

// Names of integer constants usable in form descriptions (cursor names and
// the like): a mapper answers true and the value for a name it knows.
using TIdentToInt = bool (*)(std::string_view Ident, int64_t& Value);
void RegisterIntegerIdents(TIdentToInt Mapper);
bool IdentToInteger(std::string_view Ident, int64_t& Value);
