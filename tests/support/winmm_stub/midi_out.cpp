// The eight MIDI output functions the programs import, plus midiOutReset,
// recorded and answered from the stand-in's configuration. Each is exported
// under the platform's name through winmm.def; no exception leaves them.
#include "stub_state.h"

#include <cstring>

using namespace winmm_stub;

namespace {

template <typename F>
MMRESULT Guarded(F body) {
  try {
    return body(TheState());
  } catch (...) {
    return MMSYSERR_ERROR;
  }
}

std::string Id(UINT_PTR id) {
  // The mapper is (UINT)-1; show it, and every other id, signed.
  return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(id)));
}

std::string Result(MMRESULT r) {
  return " result=" + std::to_string(r);
}

std::string HeaderFields(const MIDIHDR* h, UINT size) {
  std::string text = " size=" + std::to_string(size);
  if (!h) return text + " header=null";
  text += " length=" + std::to_string(h->dwBufferLength) + " flags=" + Hex(h->dwFlags);
  if (h->lpData) {
    text += " data=" + HexBytes(h->lpData, h->dwBufferLength);
    // The byte after the counted length: the programs keep a zero there.
    text += " tail=" + HexBytes(h->lpData + h->dwBufferLength, 1);
  }
  return text;
}

MMRESULT CheckHeader(const MIDIHDR* h, UINT size) {
  if (!h || !h->lpData || size < sizeof(MIDIHDR)) return MMSYSERR_INVALPARAM;
  return MMSYSERR_NOERROR;
}

}  // namespace

extern "C" {

UINT WINAPI Stub_midiOutGetNumDevs() {
  return static_cast<UINT>(Guarded([](State& s) -> MMRESULT {
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    auto n = static_cast<MMRESULT>(s.Cfg.Ports.size());
    AddLogLine(s, "midiOutGetNumDevs" + Result(n));
    return n;
  }));
}

MMRESULT WINAPI Stub_midiOutGetDevCapsA(UINT_PTR id, MIDIOUTCAPSA* caps, UINT size) {
  return Guarded([&](State& s) {
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    MMRESULT r = MMSYSERR_NOERROR;
    std::string name;
    auto dev = static_cast<int32_t>(static_cast<uint32_t>(id));
    if (!caps) {
      r = MMSYSERR_INVALPARAM;
    } else if (dev < -1 || dev >= static_cast<int64_t>(s.Cfg.Ports.size()) ||
               (dev == -1 && s.Cfg.Ports.empty())) {
      r = MMSYSERR_BADDEVICEID;
    } else if (s.Cfg.CapsFail.count(dev)) {
      // A failing driver that scribbles over the record, name unterminated.
      MIDIOUTCAPSA junk;
      std::memset(&junk, 'X', sizeof junk);
      std::memcpy(caps, &junk, std::min<size_t>(size, sizeof junk));
      r = MMSYSERR_ERROR;
    } else {
      MIDIOUTCAPSA c{};
      c.wMid = 1;
      c.wPid = 1;
      c.vDriverVersion = 0x0100;
      c.wTechnology = dev == -1 ? MOD_MAPPER : MOD_MIDIPORT;
      c.wChannelMask = 0xFFFF;
      name = dev == -1 ? "MIDI Mapper" : s.Cfg.Ports[static_cast<size_t>(dev)];
      // Names of 32 characters or more fill the field without a terminator.
      std::memcpy(c.szPname, name.data(), std::min(name.size(), sizeof c.szPname));
      std::memcpy(caps, &c, std::min<size_t>(size, sizeof c));
    }
    AddLogLine(s, "midiOutGetDevCapsA id=" + Id(id) + " size=" + std::to_string(size) + Result(r) +
                      " name=" + name);
    return r;
  });
}

MMRESULT WINAPI Stub_midiOutOpen(HMIDIOUT* out, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                                 DWORD flags) {
  return Guarded([&](State& s) {
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    auto dev = static_cast<int32_t>(id);
    MMRESULT r = MMSYSERR_NOERROR;
    if (!out) {
      r = MMSYSERR_INVALPARAM;
    } else if (dev < -1 || dev >= static_cast<int64_t>(s.Cfg.Ports.size())) {
      r = MMSYSERR_BADDEVICEID;
    } else if (dev == -1 && s.Cfg.Ports.empty()) {
      r = MIDIERR_INVALIDSETUP;  // what the platform answers without devices
    } else if (s.Cfg.FailOpenAll || s.Cfg.FailOpen.count(dev)) {
      r = MMSYSERR_ALLOCATED;
    }
    uintptr_t handle = 0;
    if (r == MMSYSERR_NOERROR) {
      handle = s.NextHandle;
      s.NextHandle += 0x10;
      s.Open.push_back({handle, dev});
      *out = reinterpret_cast<HMIDIOUT>(handle);
    } else if (out && s.Cfg.JunkOnFailedOpen) {
      *out = reinterpret_cast<HMIDIOUT>(static_cast<uintptr_t>(0xBAD00000u + (id & 0xFFFF)));
    }
    AddLogLine(s, "midiOutOpen id=" + Id(id) + " callback=" + Hex(callback) +
                      " instance=" + Hex(instance) + " flags=" + Hex(flags) + Result(r) +
                      " handle=" + Hex(handle));
    return r;
  });
}

MMRESULT WINAPI Stub_midiOutClose(HMIDIOUT h) {
  return Guarded([&](State& s) {
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    MMRESULT r = MMSYSERR_NOERROR;
    if (!FindOpen(s, h)) {
      r = MMSYSERR_INVALHANDLE;
    } else {
      for (const Queued& q : s.Queue)
        if (q.Handle == reinterpret_cast<uintptr_t>(h)) r = MIDIERR_STILLPLAYING;
    }
    if (r == MMSYSERR_NOERROR) {
      auto value = reinterpret_cast<uintptr_t>(h);
      std::erase_if(s.Open, [&](const Port& p) { return p.Handle == value; });
    }
    AddLogLine(s, "midiOutClose handle=" + Hex(reinterpret_cast<uintptr_t>(h)) + Result(r));
    return r;
  });
}

MMRESULT WINAPI Stub_midiOutShortMsg(HMIDIOUT h, DWORD msg) {
  return Guarded([&](State& s) {
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    MMRESULT r = FindOpen(s, h) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
    AddLogLine(s, "midiOutShortMsg handle=" + Hex(reinterpret_cast<uintptr_t>(h)) +
                      " msg=" + Hex(msg) + Result(r));
    return r;
  });
}

MMRESULT WINAPI Stub_midiOutPrepareHeader(HMIDIOUT h, MIDIHDR* hdr, UINT size) {
  return Guarded([&](State& s) {
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    std::string fields = HeaderFields(hdr, size);
    MMRESULT r = MMSYSERR_NOERROR;
    if (!FindOpen(s, h)) {
      r = MMSYSERR_INVALHANDLE;
    } else if ((r = CheckHeader(hdr, size)) != MMSYSERR_NOERROR) {
    } else if (s.Cfg.FailPrepare) {
      r = MMSYSERR_NOMEM;
    } else {
      hdr->dwFlags |= MHDR_PREPARED;
    }
    AddLogLine(s, "midiOutPrepareHeader handle=" + Hex(reinterpret_cast<uintptr_t>(h)) + fields +
                      Result(r));
    return r;
  });
}

MMRESULT WINAPI Stub_midiOutLongMsg(HMIDIOUT h, MIDIHDR* hdr, UINT size) {
  return Guarded([&](State& s) {
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    std::string fields = HeaderFields(hdr, size);
    MMRESULT r = MMSYSERR_NOERROR;
    if (!FindOpen(s, h)) {
      r = MMSYSERR_INVALHANDLE;
    } else if ((r = CheckHeader(hdr, size)) != MMSYSERR_NOERROR) {
    } else if (!(hdr->dwFlags & MHDR_PREPARED)) {
      r = MIDIERR_UNPREPARED;
    } else if (s.Cfg.FailLong) {
      r = MIDIERR_NOTREADY;
    }
    AddLogLine(s,
               "midiOutLongMsg handle=" + Hex(reinterpret_cast<uintptr_t>(h)) + fields + Result(r));
    if (r != MMSYSERR_NOERROR) return r;
    auto* flags = reinterpret_cast<volatile LONG*>(&hdr->dwFlags);
    InterlockedAnd(flags, ~static_cast<LONG>(MHDR_DONE));
    InterlockedOr(flags, MHDR_INQUEUE);
    Queued q{hdr, reinterpret_cast<uintptr_t>(h), 0};
    if (s.Cfg.Done == DoneMode::Delay) q.DueTick = GetTickCount64() + s.Cfg.DoneDelayMs;
    s.Queue.push_back(q);
    if (s.Cfg.Done == DoneMode::Now) {
      Complete(s, s.Queue.size() - 1, "now");
    } else if (s.Cfg.Done == DoneMode::Delay) {
      EnsureCompleter(s);
      SetEvent(s.Wake);
    }
    return r;
  });
}

MMRESULT WINAPI Stub_midiOutUnprepareHeader(HMIDIOUT h, MIDIHDR* hdr, UINT size) {
  return Guarded([&](State& s) {
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    std::string fields = HeaderFields(hdr, size);
    MMRESULT r = MMSYSERR_NOERROR;
    if (!FindOpen(s, h)) {
      r = MMSYSERR_INVALHANDLE;
    } else if ((r = CheckHeader(hdr, size)) != MMSYSERR_NOERROR) {
    } else if ((hdr->dwFlags & MHDR_INQUEUE) && !(hdr->dwFlags & MHDR_DONE)) {
      r = MIDIERR_STILLPLAYING;
    } else {
      hdr->dwFlags &= ~MHDR_PREPARED;
    }
    AddLogLine(s, "midiOutUnprepareHeader handle=" + Hex(reinterpret_cast<uintptr_t>(h)) + fields +
                      Result(r));
    return r;
  });
}

MMRESULT WINAPI Stub_midiOutReset(HMIDIOUT h) {
  return Guarded([&](State& s) {
    std::lock_guard<std::recursive_mutex> guard(s.Lock);
    MMRESULT r = FindOpen(s, h) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
    AddLogLine(s, "midiOutReset handle=" + Hex(reinterpret_cast<uintptr_t>(h)) + Result(r));
    if (r == MMSYSERR_NOERROR && s.Cfg.Done != DoneMode::Stuck) {
      for (size_t i = s.Queue.size(); i-- > 0;)
        if (s.Queue[i].Handle == reinterpret_cast<uintptr_t>(h)) Complete(s, i, "reset");
    }
    return r;
  });
}

}  // extern "C"
