// One adapted window of either kind the base hooks: a plain window of the
// recording class (its procedure replaced), or a widget-library edit (its
// WindowProc replaced). Both record what reaches the procedure below the
// adapter, so the same cases run on both paths.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/adapters/adapter_base.h"
#include "tests/support/adapter_windows.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/forms/forms.h"

enum class TAdapterPath { Plain, Control };

inline std::string PathName(const testing::TestParamInfo<TAdapterPath>& Info) {
  return Info.param == TAdapterPath::Plain ? "Plain" : "Control";
}

class TAdapterTarget {
 public:
  explicit TAdapterTarget(TAdapterPath Path);
  ~TAdapterTarget();
  TAdapterTarget(const TAdapterTarget&) = delete;
  TAdapterTarget& operator=(const TAdapterTarget&) = delete;

  TAdapterPath Path() const { return path_; }
  HWND Wnd() const;
  TControl* Control() const { return edit_; }
  // Makes a base adapter on the window, with its own skin data or Given.
  TvlMainWnd* Adapt(TsCommonData* Given = nullptr, TsSkinManager* Manager = nullptr);

  // What reached the procedure below the adapter.
  int Count(UINT Msg) const;
  const std::vector<TRecordedMessage>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  std::function<void(const TRecordedMessage&)> OnMessage;

  // The window runs its own procedure again (no adapter in front).
  bool ProcedureIsOwn() const;
  // Someone else hooks the window on top of the adapter, and lets go.
  void SubclassAgain();
  void Unsubclass();
  int SubclassSeen = 0;

  void DestroyWindowItself();
  void DestroyThroughParent();
  bool Destroyed() const { return destroyed_; }

 private:
  void Record(TMessage& Message);
  void Foreign(TMessage& Message);
  static LRESULT CALLBACK ForeignProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

  TAdapterPath path_;
  TTestWindow host_;
  std::unique_ptr<TRecordingWindow> recorder_;
  TForm* form_ = nullptr;
  TEdit* edit_ = nullptr;
  TWndMethod own_;       // the edit's method before the recorder
  TWndMethod recorded_;  // the recorder's, what the adapter replaces
  TWndMethod underForeign_;
  WNDPROC foreignPrev_ = nullptr;
  std::vector<TRecordedMessage> log_;
  bool destroyed_ = false;
};
