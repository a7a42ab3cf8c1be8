#include "widgets/rtl/inifiles.h"

#include "widgets/rtl/streams.h"
#include "widgets/rtl/sysutils.h"

const TClassInfo& TMemIniFile::StaticClass() {
  static const TClassInfo info("TMemIniFile", &TObject::StaticClass());
  return info;
}

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t i = 0, n = text.size();
  while (i < n) {
    size_t e = i;
    while (e < n && text[e] != '\r' && text[e] != '\n') ++e;
    lines.push_back(text.substr(i, e - i));
    if (e < n && text[e] == '\r') ++e;
    if (e < n && text[e] == '\n') ++e;
    i = e;
  }
  return lines;
}

std::string ReadWholeFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
  std::string text(static_cast<size_t>(f.Size()), '\0');
  if (!text.empty()) f.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
  return text;
}

}  // namespace

TMemIniFile::TMemIniFile(const std::string& FileName) : fileName_(FileName) {
  if (!FileName.empty() && FileExists(FileName)) Parse(SplitLines(ReadWholeFile(FileName)));
}

bool TMemIniFile::Same(const std::string& a, const std::string& b) const {
  return caseSensitive_ ? a == b : SameText(a, b);
}

void TMemIniFile::Parse(const std::vector<std::string>& lines) {
  sections_.clear();
  Section* current = nullptr;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view raw = lines[i];
    if (i == 0 && raw.substr(0, 3) == "\xEF\xBB\xBF") raw.remove_prefix(3);
    std::string s = Trim(raw);
    if (s.empty() || s[0] == ';') continue;
    if (s.front() == '[' && s.back() == ']' && s.size() >= 2) {
      std::string name = Trim(std::string_view(s).substr(1, s.size() - 2));
      current = nullptr;
      for (Section& sec : sections_)
        if (Same(sec.Name, name)) current = &sec;
      if (!current) {
        sections_.push_back({name, {}});
        current = &sections_.back();
      }
      continue;
    }
    size_t eq = s.find('=');
    if (!current || eq == std::string::npos) continue;
    std::string key = Trim(std::string_view(s).substr(0, eq));
    if (key.empty()) continue;
    current->Keys.emplace_back(key, Trim(std::string_view(s).substr(eq + 1)));
  }
}

void TMemIniFile::SetStrings(const TStrings& List) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(List.Count()));
  for (int i = 0; i < List.Count(); ++i) lines.push_back(List.Strings(i));
  Parse(lines);
}

void TMemIniFile::GetStrings(TStrings& List) const {
  List.BeginUpdate();
  try {
    List.Clear();
    for (const Section& sec : sections_) {
      List.Add("[" + sec.Name + "]");
      for (const auto& [k, v] : sec.Keys) List.Add(k + "=" + v);
      List.Add("");
    }
  } catch (...) {
    List.EndUpdate();
    throw;
  }
  List.EndUpdate();
}

void TMemIniFile::SetCaseSensitive(bool Value) {
  if (Value == caseSensitive_) return;
  TStringList lines;
  GetStrings(lines);
  caseSensitive_ = Value;
  SetStrings(lines);
}

const TMemIniFile::Section* TMemIniFile::FindSection(const std::string& name) const {
  for (const Section& sec : sections_)
    if (Same(sec.Name, name)) return &sec;
  return nullptr;
}

std::string TMemIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                    const std::string& Default) const {
  if (const auto* sec = FindSection(Section))
    for (const auto& [k, v] : sec->Keys)
      if (Same(k, Ident)) return v;
  return Default;
}

int TMemIniFile::ReadInteger(const std::string& Section, const std::string& Ident,
                             int Default) const {
  std::string s = ReadString(Section, Ident, "");
  // StrToIntDef would also take "0x"; the ini form is decimal or '$' only.
  std::string body = s;
  if (!body.empty() && (body[0] == '-' || body[0] == '+')) body.erase(0, 1);
  if (body.size() >= 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) return Default;
  return StrToIntDef(s, Default);
}

void TMemIniFile::ReadSections(TStrings& Strings) const {
  Strings.BeginUpdate();
  try {
    Strings.Clear();
    for (const Section& sec : sections_) Strings.Add(sec.Name);
  } catch (...) {
    Strings.EndUpdate();
    throw;
  }
  Strings.EndUpdate();
}

void TMemIniFile::ReadSection(const std::string& Section, TStrings& Strings) const {
  Strings.BeginUpdate();
  try {
    Strings.Clear();
    if (const auto* sec = FindSection(Section))
      for (const auto& kv : sec->Keys) Strings.Add(kv.first);
  } catch (...) {
    Strings.EndUpdate();
    throw;
  }
  Strings.EndUpdate();
}

bool TMemIniFile::SectionExists(const std::string& Section) const {
  return FindSection(Section) != nullptr;
}

bool TMemIniFile::ValueExists(const std::string& Section, const std::string& Ident) const {
  if (const auto* sec = FindSection(Section))
    for (const auto& kv : sec->Keys)
      if (Same(kv.first, Ident)) return true;
  return false;
}
