// The panel's MIDI vocabulary: value conversions and the exact bytes of its
// NRPN and System Exclusive messages.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

// Position -> MIDI value: Half maps to Centre, the halves scale linearly
// (integer division truncating toward zero).
int MapSliderToMidiValue(int Pos, int Centre, int Half);

// Equalizer position -> gain text in half-decibel steps around position 24:
// 0 -> "-12.0", 23 -> "-0.5", 24 -> "0.0", 25 -> "+0.5", 48 -> "+12.0".
std::string EqPositionToDbText(int Pos);

// NRPN parameter LSBs (parameter MSB is always 0x37).
enum TNrpnLsb : uint8_t {
  NrpnEqLow = 0x08,
  NrpnEqMid1 = 0x09,
  NrpnEqMid2 = 0x0A,
  NrpnEqHigh = 0x0B,
  Nrpn3DVolume = 0x1C,
  Nrpn3DDelayTime = 0x1D,
  NrpnEffectMode = 0x55,
};

// The three short-message words of one NRPN change on channel 1:
// CC 99 = 0x37, CC 98 = Lsb, CC 6 = Value.
std::array<DWORD, 3> NrpnWords(uint8_t Lsb, uint8_t Value);

// Effect-mode value from the two toggles' states after the click.
uint8_t EffectMode(bool EqualizerOn, bool ThreeDOn);

// System Exclusive addresses of the reverb and effect parameters.
enum TSysExAddress : uint8_t {
  SysExReverbType = 0x30,
  SysExReverbLevel = 0x33,
  SysExReverbTime = 0x34,
  SysExEffectType = 0x38,
  SysExEffectMix = 0x3A,
  SysExEffectRate = 0x3D,
  SysExEffectDepth = 0x3E,
};

// The seven header bytes F0 41 00 42 12 40 01 (one of them zero).
std::string PanelSysExHeader();

// Header + address + low byte of Value + F7: ten bytes, no checksum.
std::string PanelSysEx(const std::string& Header, uint8_t Address, int Value);
