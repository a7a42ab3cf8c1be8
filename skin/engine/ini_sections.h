// INI text split into sections, for the skin description reader: each entry
// of the section list is a section name whose object is a string list of
// that section's raw lines in file order.
#pragma once

#include <string>

#include "widgets/rtl/string_lists.h"

// Clears Sections (without freeing the inner lists of a previous fill; the
// caller owns and frees them) and fills it from Lines. Empty lines and lines
// beginning with ';' are skipped; lines before the first section are
// dropped; repeated section names give separate entries.
void ParseIniSections(const TStrings& Lines, TStringList& Sections);
// The sections of INI lines as ParseIniSections gives them, owning the
// lists of lines it makes.
class TParsedIniSections {
 public:
  explicit TParsedIniSections(const TStrings& Lines);
  ~TParsedIniSections();
  TParsedIniSections(const TParsedIniSections&) = delete;
  TParsedIniSections& operator=(const TParsedIniSections&) = delete;
  const TStringList& List() const { return list_; }

 private:
  void FreeLines();
  TStringList list_;
};

// The value of the first line of Section whose name (the text before its
// first '=') equals Key regardless of case, not trimmed; Default when the
// section or the key is missing.
std::string ReadSectionString(const TStringList& Sections, const std::string& Section,
                              const std::string& Key, const std::string& Default);
// Decimal, "$" hex or "0x" hex; Default for anything that does not convert.
int ReadSectionInteger(const TStringList& Sections, const std::string& Section,
                       const std::string& Key, int Default);
