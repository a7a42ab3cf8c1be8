// Helpers shared by the control tests: a recording message-box sink, message
// pumping and a form made in code.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/forms/forms.h"
#include "widgets/forms/message_box.h"

// Records every box instead of showing it.
class TBoxRecorder : public TMessageBoxSink {
 public:
  TBoxRecorder() { previous_ = SetMessageBoxSink(this); }
  ~TBoxRecorder() override { SetMessageBoxSink(previous_); }
  int Show(const TMessageBoxRequest& r) override {
    Boxes.push_back(r);
    return IDOK;
  }
  std::vector<TMessageBoxRequest> Boxes;

 private:
  TMessageBoxSink* previous_;
};

// Runs the message queue until it is empty (and a little longer for
// messages that posted messages cause).
void Pump(int rounds = 3);
// Pumps until cond() holds or the time is up.
template <typename F>
bool PumpUntil(F cond, int ms = 2000) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!cond()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Pump(1);
    Sleep(1);
  }
  return true;
}

// A form without a description, freed at the end of each test.
class FormTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TForm* Form = nullptr;
};

// The window class name of a window.
std::string WindowClassName(HWND h);
