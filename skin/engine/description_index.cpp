#include "skin/engine/description_index.h"

#include "widgets/rtl/inifiles.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/sysutils.h"

TvlSkinDescription::TvlSkinDescription(const TMemIniFile& Ini) {
  // The description's own lines: "[name]", then "key=value" for each key.
  TStringList lines;
  Ini.GetStrings(lines);
  TvlIniSection* current = nullptr;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = lines.Strings(i);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections_.push_back(TvlIniSection{line.substr(1, line.size() - 2), {}, {}});
      current = &sections_.back();
      index_.emplace(current->Name, sections_.size() - 1);
      continue;
    }
    const size_t eq = line.find('=');
    if (!current || eq == std::string::npos) continue;
    current->Keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    current->First.emplace(current->Keys.back().first, current->Keys.size() - 1);
  }
}

const TvlIniSection* TvlSkinDescription::Section(std::string_view Name) const {
  const auto s = index_.find(Name);
  return s == index_.end() ? nullptr : &sections_[s->second];
}

const std::string* TvlSkinDescription::Find(const std::string& Section,
                                            const std::string& Key) const {
  const TvlIniSection* s = this->Section(Section);
  return s ? s->Find(Key) : nullptr;
}

std::string TvlSkinDescription::ReadString(const std::string& Section, const std::string& Key,
                                           const std::string& Default) const {
  const std::string* v = Find(Section, Key);
  return v ? *v : Default;
}

int TvlSkinDescription::ReadInteger(const std::string& Section, const std::string& Key,
                                    int Default) const {
  return IniInteger(Find(Section, Key), Default);
}

int IniInteger(const std::string* v, int Default) {
  if (!v) return Default;
  // "0x" is not a number of the description's form.
  const size_t sign = !v->empty() && ((*v)[0] == '-' || (*v)[0] == '+') ? 1 : 0;
  if (v->size() >= sign + 2 && (*v)[sign] == '0' && ((*v)[sign + 1] | 0x20) == 'x') return Default;
  return StrToIntDef(*v, Default);
}
