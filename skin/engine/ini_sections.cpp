#include "skin/engine/ini_sections.h"

#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/sysutils.h"

void ParseIniSections(const TStrings& Lines, TStringList& Sections) {
  Sections.Clear();
  TStringList* current = nullptr;
  for (int i = 0; i < Lines.Count(); ++i) {
    const std::string line = Lines.Strings(i);
    if (line.empty() || line[0] == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = new TStringList;
      try {
        Sections.AddObject(line.substr(1, line.size() - 2), current);
      } catch (...) {
        // A list that refuses the name: the section's lines are dropped.
        delete current;
        current = nullptr;
      }
      continue;
    }
    if (current) current->Add(line);
  }
}

TParsedIniSections::TParsedIniSections(const TStrings& Lines) {
  try {
    ParseIniSections(Lines, list_);
  } catch (...) {
    FreeLines();
    throw;
  }
}

TParsedIniSections::~TParsedIniSections() {
  FreeLines();
}

void TParsedIniSections::FreeLines() {
  for (int i = 0; i < list_.Count(); ++i) TObject::Free(list_.Objects(i));
  list_.Clear();
}

std::string ReadSectionString(const TStringList& Sections, const std::string& Section,
                              const std::string& Key, const std::string& Default) {
  int index = Sections.IndexOf(Section);
  if (index < 0) return Default;
  auto* lines = dynamic_cast<TStringList*>(Sections.Objects(index));
  if (!lines) return Default;
  for (int i = 0; i < lines->Count(); ++i) {
    const std::string line = lines->Strings(i);
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (SameText(std::string_view(line).substr(0, eq), Key)) return line.substr(eq + 1);
  }
  return Default;
}

int ReadSectionInteger(const TStringList& Sections, const std::string& Section,
                       const std::string& Key, int Default) {
  std::string text = ReadSectionString(Sections, Section, Key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.replace(0, 2, "$");
  int value;
  return TryStrToInt(text, value) ? value : Default;
}
