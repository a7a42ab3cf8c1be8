// The application's hints switched off while a mouse button is held on a
// skinned control, through the library's one flag pair: whichever control
// switched them off gives them back, also when the release never comes
// (capture lost, mode cancelled, window gone), or they would stay off for
// the whole application.
#pragma once

class THintHold {
 public:
  THintHold() = default;
  THintHold(const THintHold&) = delete;
  THintHold& operator=(const THintHold&) = delete;
  ~THintHold() { Restore(); }
  // Nothing when another control holds them, or without an application.
  void Suspend();
  void Restore();
  bool Held() const { return held_; }

 private:
  bool held_ = false;
};
