#include "panel/panel_messages.h"

int MapSliderToMidiValue(int Pos, int Centre, int Half) {
  if (Pos == Half) return Centre;
  if (Pos < Half) return Pos * Centre / Half;
  return Centre + (Pos - Half) * (127 - Centre) / Half;
}

std::string EqPositionToDbText(int Pos) {
  const int a = Pos - 24;
  // A div 2 is 0 for A = -1, so that one negative value needs its sign spelt out.
  const char* sign = a == -1 ? "-" : a > 0 ? "+" : "";
  return sign + std::to_string(a / 2) + (a % 2 != 0 ? ".5" : ".0");
}

std::array<DWORD, 3> NrpnWords(uint8_t Lsb, uint8_t Value) {
  return {0x3763B0u, 0x0062B0u | (DWORD{Lsb} << 16), 0x0006B0u | (DWORD{Value} << 16)};
}

uint8_t EffectMode(bool EqualizerOn, bool ThreeDOn) {
  if (EqualizerOn) return ThreeDOn ? 6 : 3;
  return ThreeDOn ? 4 : 0;
}

std::string PanelSysExHeader() { return std::string("\xF0\x41\x00\x42\x12\x40\x01", 7); }

std::string PanelSysEx(const std::string& Header, uint8_t Address, int Value) {
  std::string msg = Header;
  msg += static_cast<char>(Address);
  msg += static_cast<char>(Value & 0xFF);
  msg += '\xF7';
  return msg;
}
