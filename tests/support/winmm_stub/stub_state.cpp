#include "stub_state.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace winmm_stub {
namespace {

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(sep, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

bool ParseInt(const std::string& text, int64_t& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 0);
  if (*end != '\0') return false;
  out = v;
  return true;
}

bool ParseBool(const std::string& text, bool& out) {
  if (text == "1" || text == "yes" || text == "true") {
    out = true;
  } else if (text == "0" || text == "no" || text == "false" || text.empty()) {
    out = false;
  } else {
    return false;
  }
  return true;
}

// "1,3,mapper" -> {1, 3, -1}
bool ParseIdList(const std::string& text, std::set<int64_t>& ids, bool* all) {
  std::set<int64_t> parsed;
  bool any = false;
  if (!text.empty()) {
    for (const std::string& item : Split(text, ',')) {
      int64_t id = 0;
      if (item == "mapper") {
        id = -1;
      } else if (item == "all" && all) {
        any = true;
        continue;
      } else if (!ParseInt(item, id)) {
        return false;
      }
      parsed.insert(id);
    }
  }
  ids = parsed;
  if (all) *all = any;
  return true;
}

DWORD WINAPI CompleterMain(void* param) {
  State& s = *static_cast<State*>(param);
  for (;;) {
    DWORD wait = INFINITE;
    {
      std::lock_guard<std::recursive_mutex> guard(s.Lock);
      ULONGLONG now = GetTickCount64();
      for (size_t i = 0; i < s.Queue.size();) {
        Queued& q = s.Queue[i];
        if (q.DueTick == 0) {
          ++i;
        } else if (q.DueTick <= now) {
          Complete(s, i, "late");
        } else {
          wait = std::min<DWORD>(wait, static_cast<DWORD>(q.DueTick - now));
          ++i;
        }
      }
      // Nothing left to complete on time: end, so no thread of ours is left
      // waiting when the process exits. The next late header starts another.
      if (wait == INFINITE) {
        s.CompleterStarted = false;
        return 0;
      }
    }
    WaitForSingleObject(s.Wake, wait);
  }
}

}  // namespace

State& TheState() {
  static State* state = [] {
    auto* s = new State;  // lives until the process ends: the completer uses it
    LoadEnvironment(s->Cfg);
    return s;
  }();
  return *state;
}

bool ApplySetting(Config& cfg, const std::string& key, const std::string& value) {
  if (key == "ports") {
    cfg.Ports = value.empty() ? std::vector<std::string>{} : Split(value, '|');
    return true;
  }
  if (key == "caps_fail") return ParseIdList(value, cfg.CapsFail, nullptr);
  if (key == "fail_open") return ParseIdList(value, cfg.FailOpen, &cfg.FailOpenAll);
  if (key == "fail_prepare") return ParseBool(value, cfg.FailPrepare);
  if (key == "fail_long") return ParseBool(value, cfg.FailLong);
  if (key == "junk_on_failed_open") return ParseBool(value, cfg.JunkOnFailedOpen);
  if (key == "log") {
    cfg.LogPath = value;
    return true;
  }
  if (key == "done") {
    int64_t ms = 0;
    if (value == "now" || value.empty()) {
      cfg.Done = DoneMode::Now;
    } else if (value == "never") {
      cfg.Done = DoneMode::Never;
    } else if (value == "stuck") {
      cfg.Done = DoneMode::Stuck;
    } else if (ParseInt(value, ms) && ms >= 0 && ms < 600000) {
      cfg.Done = DoneMode::Delay;
      cfg.DoneDelayMs = static_cast<DWORD>(ms);
    } else {
      return false;
    }
    return true;
  }
  return false;
}

void LoadEnvironment(Config& cfg) {
  static const char* const kKeys[] = {"ports",        "caps_fail", "fail_open",
                                      "fail_prepare", "fail_long", "junk_on_failed_open",
                                      "done",         "log"};
  for (const char* key : kKeys) {
    std::string name = "VARNEL_MIDI_";
    for (const char* p = key; *p; ++p) name += static_cast<char>(std::toupper(*p));
    char buffer[4096];
    DWORD n = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) ApplySetting(cfg, key, std::string(buffer, n));
  }
}

void AddLogLine(State& s, const std::string& line) {
  s.Log.push_back(line);
  if (s.Cfg.LogPath.empty()) return;
  HANDLE f =
      CreateFileA(s.Cfg.LogPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
}

const Port* FindOpen(const State& s, HMIDIOUT h) {
  auto value = reinterpret_cast<uintptr_t>(h);
  for (const Port& p : s.Open)
    if (p.Handle == value) return &p;
  return nullptr;
}

std::string Hex(uintptr_t value) {
  static const char kDigits[] = "0123456789abcdef";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[value & 15]);
    value >>= 4;
  } while (value);
  return "0x" + digits;
}

std::string HexBytes(const char* data, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    auto b = static_cast<unsigned char>(data[i]);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

void Complete(State& s, size_t queueIndex, const char* why) {
  Queued q = s.Queue[queueIndex];
  s.Queue.erase(s.Queue.begin() + static_cast<ptrdiff_t>(queueIndex));
  MIDIHDR* h = q.Header;
  auto* flags = reinterpret_cast<volatile LONG*>(&h->dwFlags);
  InterlockedAnd(flags, ~static_cast<LONG>(MHDR_INQUEUE));
  InterlockedOr(flags, MHDR_DONE);
  // What the header holds now: garbage here means the caller let go of it early.
  AddLogLine(s, std::string("done handle=") + Hex(q.Handle) + " why=" + why +
                    " length=" + std::to_string(h->dwBufferLength) +
                    " data=" + HexBytes(h->lpData, h->dwBufferLength));
}

void EnsureCompleter(State& s) {
  if (s.CompleterStarted) return;
  if (!s.Wake) s.Wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, CompleterMain, &s, 0, nullptr);
  if (thread) CloseHandle(thread);
  s.CompleterStarted = true;
}

}  // namespace winmm_stub
