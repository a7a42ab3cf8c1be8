// Test side of the recording winmm.dll: reaches its control exports in the
// process (the stand-in is loaded in place of the platform's winmm) and reads
// its log, in memory or from the VARNEL_MIDI_LOG file of another process.
//
// Log lines: "<function> key=value ...", for example
//   midiOutOpen id=-1 callback=0x1003e instance=0x0 flags=0x0 result=0 handle=0x4d10
//   midiOutLongMsg handle=0x4d10 size=112 length=10 flags=0x2 data=F0410042... tail=00 result=0
//   done handle=0x4d10 why=now length=10 data=F0410042...
// "name=" (capability queries) runs to the end of its line.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace winmm_stub_client {

struct Call {
  std::string Function;
  std::map<std::string, std::string> Fields;

  bool Has(const std::string& key) const { return Fields.count(key) != 0; }
  std::string Text(const std::string& key) const {
    auto it = Fields.find(key);
    return it == Fields.end() ? std::string() : it->second;
  }
  // Decimal or 0x-hex field as a signed number (device ids are signed).
  int64_t Int(const std::string& key) const {
    return static_cast<int64_t>(std::strtoull(Text(key).c_str(), nullptr, 0));
  }
  // The "data" field as bytes.
  std::string Bytes(const std::string& key = "data") const {
    std::string hex = Text(key), out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
      out += static_cast<char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    return out;
  }
};

inline std::vector<Call> ParseLog(const std::string& text) {
  std::vector<Call> calls;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    Call c;
    size_t pos = line.find(' ');
    c.Function = line.substr(0, pos);
    while (pos != std::string::npos) {
      size_t start = pos + 1;
      size_t eq = line.find('=', start);
      if (eq == std::string::npos) break;
      std::string key = line.substr(start, eq - start);
      size_t end = key == "name" ? std::string::npos : line.find(' ', eq + 1);
      c.Fields[key] = line.substr(eq + 1, end == std::string::npos ? end : end - eq - 1);
      pos = end;
    }
    calls.push_back(std::move(c));
  }
  return calls;
}

// Calls whose function is one of the given names, in order.
inline std::vector<Call> Only(const std::vector<Call>& calls, std::vector<std::string> names) {
  std::vector<Call> out;
  for (const Call& c : calls)
    for (const std::string& n : names)
      if (c.Function == n) out.push_back(c);
  return out;
}

class Stub {
 public:
  Stub() {
    HMODULE m = GetModuleHandleA("winmm.dll");
    if (!m) return;
    Resolve(m, "StubMidi_Configure", configure_);
    Resolve(m, "StubMidi_Reset", reset_);
    Resolve(m, "StubMidi_GetLog", getLog_);
    Resolve(m, "StubMidi_CompleteQueued", complete_);
  }
  // False when the platform's winmm was loaded instead (check the overrides).
  bool Loaded() const { return configure_ && reset_ && getLog_ && complete_; }
  bool Configure(const char* key, const char* value) const { return configure_(key, value) != 0; }
  void Reset() const { reset_(); }
  int CompleteQueued() const { return complete_(); }
  std::string LogText() const {
    std::string text(getLog_(nullptr, 0) + 1, '\0');
    text.resize(getLog_(text.data(), text.size()));
    return text;
  }
  std::vector<Call> Calls() const { return ParseLog(LogText()); }

 private:
  template <typename Fn>
  static void Resolve(HMODULE m, const char* name, Fn& fn) {
    // Through the generic function pointer type, which any may be cast to.
    fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(m, name)));
  }
  using ConfigureFn = int (*)(const char*, const char*);
  using ResetFn = void (*)();
  using GetLogFn = size_t (*)(char*, size_t);
  using CompleteFn = int (*)();
  ConfigureFn configure_ = nullptr;
  ResetFn reset_ = nullptr;
  GetLogFn getLog_ = nullptr;
  CompleteFn complete_ = nullptr;
};

}  // namespace winmm_stub_client
