// The MIDI output link: one open output port, the list of output ports, short
// messages, System Exclusive messages and the change of port with fall-back.
// Both programs use this code; each keeps its own link object (its own open
// port handle).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <functional>
#include <string>

class TStrings;

// Appends the product name of every MIDI output device, one entry per device
// id in ascending order, so that an entry's index is the id that opens it.
// The list is not cleared first. A device whose query fails gets an empty entry.
void ListMidiOutDevices(TStrings& List);

// How a program shows its plain notices: the panel through
// Application->MessageBox, the sound-bank tester through ShowMessage.
enum class TPlainBoxKind { ApplicationMessageBox, ShowMessage };

// What became of one System Exclusive message (callers may ignore it).
enum class TSysExOutcome {
  Sent,       // queued, done, unprepared, freed
  NotSent,    // midiOutLongMsg failed; freed without waiting
  TimedOut,   // never marked done: reset, unprepared, freed
  Abandoned,  // the driver kept the buffer: header and buffer are left to it
};

class TMidiOutLink {
 public:
  explicit constexpr TMidiOutLink(TPlainBoxKind boxKind) : BoxKind(boxKind) {}
  TMidiOutLink(const TMidiOutLink&) = delete;
  TMidiOutLink& operator=(const TMidiOutLink&) = delete;

  // The open port; null while none is open (after a close or a failed open).
  HMIDIOUT Handle = nullptr;
  // Device id of the last port a port change opened; never the mapper.
  int32_t LastGoodPort = 0;
  // How long SendSysEx waits for the driver before it resets the port.
  DWORD DoneTimeoutMs = 2000;

  // midiOutOpen(&Handle, deviceId, callbackWindow, 0, CALLBACK_NULL); -1 is
  // the MIDI mapper. The window is never called back (CALLBACK_NULL).
  MMRESULT Open(int32_t deviceId, HWND callbackWindow);
  // midiOutClose(Handle), no reset first; the handle is forgotten.
  void Close();
  // Word = status | data1 << 8 | data2 << 16; failures are silent.
  void ShortMsg(DWORD word);
  // Sends the message byte for byte (it may contain zero bytes). A failed
  // prepare shows "Header Not Prepared", a failed send "Sysex Data Not Sent".
  TSysExOutcome SendSysEx(const std::string& message);
  // The port list's change event: closes the port and opens itemIndex. When
  // that fails, shows "MIDI Device is already use in another App" (error
  // icon), then selectEntry(LastGoodPort) and opens LastGoodPort, ignoring
  // the result. Returns true when itemIndex opened.
  bool ChangePort(int32_t itemIndex, HWND callbackWindow,
                  const std::function<void(int32_t)>& selectEntry);

 private:
  void ShowPlain(const char* text) const;
  TPlainBoxKind BoxKind;
};

// The panel's link (its MidiOut with its LastGoodPort).
extern TMidiOutLink MidiOut;
