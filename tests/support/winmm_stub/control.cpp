// Exports through which tests steer the stand-in and read what it recorded.
#include "stub_state.h"

#include <cstring>

using namespace winmm_stub;

extern "C" {

// Applies one setting (keys as the VARNEL_MIDI_* variables, lower case);
// 1 when accepted.
int StubMidi_Configure(const char* key, const char* value) {
  try {
    State& s = TheState();
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    return ApplySetting(s.Cfg, key ? key : "", value ? value : "") ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

// Back to the state at load: configuration from the environment only, no open
// handles, nothing queued, empty log. Queued headers are dropped untouched.
void StubMidi_Reset(void) {
  try {
    State& s = TheState();
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    s.Cfg = Config{};
    LoadEnvironment(s.Cfg);
    s.Open.clear();
    s.Queue.clear();
    s.Log.clear();
  } catch (...) {
  }
}

// Copies the log, one call per line, into buffer (always terminated when
// size > 0); returns the full length of the log text.
size_t StubMidi_GetLog(char* buffer, size_t size) {
  try {
    State& s = TheState();
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    std::string text;
    for (const std::string& line : s.Log) text += line + "\n";
    if (buffer && size > 0) {
      size_t n = std::min(text.size(), size - 1);
      std::memcpy(buffer, text.data(), n);
      buffer[n] = '\0';
    }
    return text.size();
  } catch (...) {
    return 0;
  }
}

// Marks every header still queued done, as a late driver would, logging
// what each header holds at that moment. Returns how many there were.
int StubMidi_CompleteQueued(void) {
  try {
    State& s = TheState();
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    int n = 0;
    while (!s.Queue.empty()) {
      Complete(s, 0, "late");
      ++n;
    }
    return n;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
