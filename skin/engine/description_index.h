// A skin description indexed for reading: sections and their keys in file
// order, with hashed lookups. The reader asks for thousands of keys, each
// of which the description itself would find by a linear search.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TMemIniFile;

// Hashed by text, so that a lookup needs no string of its own.
struct TvlTextHash {
  using is_transparent = void;
  size_t operator()(std::string_view Text) const { return std::hash<std::string_view>()(Text); }
};
template <typename T>
using TvlTextMap = std::unordered_map<std::string, T, TvlTextHash, std::equal_to<>>;

struct TvlIniSection {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Keys;  // file order, repeats kept
  TvlTextMap<size_t> First;                               // key -> its first entry

  // The first value of the key; nil when absent.
  const std::string* Find(std::string_view Key) const {
    const auto k = First.find(Key);
    return k == First.end() ? nullptr : &Keys[k->second].second;
  }
};

// A description's number: decimal or '$' hex; Default for nil or any other text.
int IniInteger(const std::string* Value, int Default);

class TvlSkinDescription {
 public:
  // Names compare exactly, as in a case-sensitive description.
  explicit TvlSkinDescription(const TMemIniFile& Ini);

  const std::vector<TvlIniSection>& Sections() const { return sections_; }
  // The section of that name; nil when absent.
  const TvlIniSection* Section(std::string_view Name) const;
  // The first value of the key; nil when the section or key is missing.
  const std::string* Find(const std::string& Section, const std::string& Key) const;
  std::string ReadString(const std::string& Section, const std::string& Key,
                         const std::string& Default) const;
  // Decimal or '$' hex, as the description reads numbers; Default otherwise.
  int ReadInteger(const std::string& Section, const std::string& Key, int Default) const;
  bool ValueExists(const std::string& Section, const std::string& Key) const {
    return Find(Section, Key) != nullptr;
  }

 private:
  std::vector<TvlIniSection> sections_;
  TvlTextMap<size_t> index_;
};
