// State of the recording MIDI output stand-in: its configuration, its open
// handles, the headers still queued and the call log.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace winmm_stub {

// When a queued long message is marked done.
enum class DoneMode {
  Now,    // before midiOutLongMsg returns
  Delay,  // after DoneDelayMs, from another thread
  Never,  // only midiOutReset returns the buffer
  Stuck,  // not even midiOutReset returns it
};

struct Config {
  std::vector<std::string> Ports;
  std::set<int64_t> CapsFail;  // ids whose capability query fails
  std::set<int64_t> FailOpen;  // ids that cannot be opened; -1 is the mapper
  bool FailOpenAll = false;
  bool FailPrepare = false;
  bool FailLong = false;
  DoneMode Done = DoneMode::Now;
  DWORD DoneDelayMs = 0;
  bool JunkOnFailedOpen = false;  // a failed open writes a bogus handle
  std::string LogPath;
};

struct Port {
  uintptr_t Handle;
  int64_t DeviceId;
};

struct Queued {
  MIDIHDR* Header;
  uintptr_t Handle;
  ULONGLONG DueTick;  // only for DoneMode::Delay
};

struct State {
  std::recursive_mutex Lock;
  Config Cfg;
  std::vector<Port> Open;
  std::vector<Queued> Queue;
  std::vector<std::string> Log;
  uintptr_t NextHandle = 0x4d10;
  HANDLE Wake = nullptr;  // wakes the completion thread
  bool CompleterStarted = false;
};

// The one state of the process, configured from the environment on first use.
State& TheState();

// Applies one setting; false for an unknown key or a malformed value.
bool ApplySetting(Config& cfg, const std::string& key, const std::string& value);
void LoadEnvironment(Config& cfg);

// Appends one line to the in-memory log and, when configured, to the log file.
void AddLogLine(State& s, const std::string& line);

const Port* FindOpen(const State& s, HMIDIOUT h);
std::string Hex(uintptr_t value);
std::string HexBytes(const char* data, size_t size);

// Marks a queued header done and drops it from the queue.
void Complete(State& s, size_t queueIndex, const char* why);
void EnsureCompleter(State& s);

}  // namespace winmm_stub
