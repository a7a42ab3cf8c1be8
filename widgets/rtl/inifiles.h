// An INI file held in memory, read from a file or from a string list.
//
// Reading rules: a UTF-8 byte order mark at the start is dropped; each line
// is trimmed; empty lines and lines starting with ';' are skipped; "[name]"
// starts a section (a section named again continues the first one); in a
// section, a line with '=' is a key (blanks around the first '=' trimmed)
// and other lines are ignored, as are lines before the first section.
// Repeated keys are all kept in order; reads return the first.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "widgets/rtl/string_lists.h"

class TMemIniFile : public TObject {
  DECLARE_CLASS(TMemIniFile, TObject)
 public:
  // Reads the file when it exists; a missing file gives an empty ini.
  explicit TMemIniFile(const std::string& FileName);

  const std::string& FileName() const { return fileName_; }
  // Names compare ASCII case-insensitively unless CaseSensitive is set.
  // Changing it reads the contents again under the new rule.
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool Value);

  // Replaces the contents with the lines of List.
  void SetStrings(const TStrings& List);
  // The contents as lines ("[section]", "key=value").
  void GetStrings(TStrings& List) const;
  void Clear() { sections_.clear(); }

  // The value of the first matching key; Default when there is none.
  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) const;
  // Decimal or '$' hex; Default for anything else or a missing key.
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
  // Section names in file order.
  void ReadSections(TStrings& Strings) const;
  // The section's keys in file order, repeated keys included.
  void ReadSection(const std::string& Section, TStrings& Strings) const;
  bool SectionExists(const std::string& Section) const;
  bool ValueExists(const std::string& Section, const std::string& Ident) const;

 private:
  struct Section {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Keys;
  };
  void Parse(const std::vector<std::string>& lines);
  bool Same(const std::string& a, const std::string& b) const;
  const Section* FindSection(const std::string& name) const;

  std::string fileName_;
  bool caseSensitive_ = false;
  std::vector<Section> sections_;
};
