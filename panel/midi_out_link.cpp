#include "panel/midi_out_link.h"

#include <cstring>
#include <memory>

#include "widgets/rtl/classes.h"
#include "widgets/forms/message_box.h"

TMidiOutLink MidiOut(TPlainBoxKind::ApplicationMessageBox);

namespace {

constexpr char kHeaderNotPrepared[] = "Header Not Prepared";
constexpr char kSysexNotSent[] = "Sysex Data Not Sent";
constexpr char kPortInUse[] = "MIDI Device is already use in another App";

// Each header is passed with the platform's own size: the x86_64 MIDIHDR is
// larger than the 32-bit one, and winmm rejects a short size.
constexpr UINT kHeaderSize = sizeof(MIDIHDR);

}  // namespace

void ListMidiOutDevices(TStrings& List) {
  const UINT count = midiOutGetNumDevs();
  for (UINT id = 0; id < count; ++id) {
    // Zeroed before each query: a failing driver may leave the record as it
    // was, and its name need not be terminated within its 32 characters.
    MIDIOUTCAPSA caps;
    std::memset(&caps, 0, sizeof caps);
    std::string name;
    if (midiOutGetDevCapsA(id, &caps, sizeof caps) == MMSYSERR_NOERROR)
      name.assign(caps.szPname, strnlen(caps.szPname, sizeof caps.szPname));
    // One entry per id even when the query fails: indices are device ids.
    List.Add(name);
  }
}

MMRESULT TMidiOutLink::Open(int32_t deviceId, HWND callbackWindow) {
  MMRESULT r = midiOutOpen(&Handle, static_cast<UINT>(deviceId),
                           reinterpret_cast<DWORD_PTR>(callbackWindow), 0, CALLBACK_NULL);
  // Whatever a failed open left there is no port of ours.
  if (r != MMSYSERR_NOERROR) Handle = nullptr;
  return r;
}

void TMidiOutLink::Close() {
  midiOutClose(Handle);
  Handle = nullptr;
}

void TMidiOutLink::ShortMsg(DWORD word) {
  midiOutShortMsg(Handle, word);
}

TSysExOutcome TMidiOutLink::SendSysEx(const std::string& message) {
  const size_t length = message.size();
  if (length >= MAXDWORD) {  // cannot be described by dwBufferLength
    ShowPlain(kSysexNotSent);
    return TSysExOutcome::NotSent;
  }
  auto header = std::make_unique<MIDIHDR>();  // zero-filled
  // The copy keeps one zero byte after the counted bytes.
  auto buffer = std::make_unique<char[]>(length + 1);
  std::memcpy(buffer.get(), message.data(), length);
  buffer[length] = '\0';
  header->lpData = buffer.get();
  header->dwBufferLength = static_cast<DWORD>(length);
  header->dwFlags = 0;

  if (midiOutPrepareHeader(Handle, header.get(), kHeaderSize) != MMSYSERR_NOERROR)
    ShowPlain(kHeaderNotPrepared);
  if (midiOutLongMsg(Handle, header.get(), kHeaderSize) != MMSYSERR_NOERROR) {
    ShowPlain(kSysexNotSent);
    // Never queued: the driver holds nothing, whatever unprepare answers.
    midiOutUnprepareHeader(Handle, header.get(), kHeaderSize);
    return TSysExOutcome::NotSent;
  }

  // Opened with CALLBACK_NULL, so the done flag is polled; the driver sets it
  // from another thread. A driver that never sets it gets a reset, which
  // returns every queued buffer.
  TSysExOutcome outcome = TSysExOutcome::Sent;
  const volatile DWORD& flags = header->dwFlags;
  const ULONGLONG start = GetTickCount64();
  while (!(flags & MHDR_DONE)) {
    if (GetTickCount64() - start >= DoneTimeoutMs) {
      midiOutReset(Handle);
      outcome = TSysExOutcome::TimedOut;
      break;
    }
    Sleep(1);
  }
  if (midiOutUnprepareHeader(Handle, header.get(), kHeaderSize) != MMSYSERR_NOERROR) {
    // The driver still owns both blocks; freeing them would hand it freed
    // memory, so they are left to it.
    (void)header.release();
    (void)buffer.release();
    return TSysExOutcome::Abandoned;
  }
  return outcome;
}

bool TMidiOutLink::ChangePort(int32_t itemIndex, HWND callbackWindow,
                              const std::function<void(int32_t)>& selectEntry) {
  Close();
  if (Open(itemIndex, callbackWindow) == MMSYSERR_NOERROR) {
    if (itemIndex >= 0) LastGoodPort = itemIndex;  // never the mapper
    return true;
  }
  ApplicationMessageBox(kPortInUse, "", MB_OK | MB_ICONERROR);
  if (selectEntry) selectEntry(LastGoodPort);
  Open(LastGoodPort, callbackWindow);
  return false;
}

void TMidiOutLink::ShowPlain(const char* text) const {
  if (BoxKind == TPlainBoxKind::ShowMessage) {
    ShowMessage(text);
  } else {
    ApplicationMessageBox(text, "", MB_OK);
  }
}
