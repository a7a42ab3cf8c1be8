// The message-box seam: every box the programs and the library show goes
// through one replaceable, process-wide sink. The default sink shows the
// real box. When the environment variable VARNEL_MESSAGE_LOG names a file at
// the first box, a recording sink is installed instead: it appends one line
// per box to that file and answers at once, so real executables run
// headless. VARNEL_MESSAGE_ANSWERS gives its answers in order, as a comma
// list of IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO or numbers;
// once they are used up, each box gets its default button (IDOK for MB_OK).
//
// A log line holds tab-separated fields:
//   kind  caption  text  buttons  icon  answer
// kind: MessageBox, ShowMessage, MessageDlg, Exception, MessageBoxIndirect;
// buttons: OK, OKCANCEL, ABORTRETRYIGNORE, YESNOCANCEL, YESNO, RETRYCANCEL;
// icon: NONE, ERROR, QUESTION, WARNING, INFORMATION; answer: IDOK, IDYES...
// Tabs, CR, LF and backslashes in texts are written as \t, \r, \n and \\.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
// A set of TMsgDlgBtn: bit (1 << button).
using TMsgDlgButtons = uint32_t;
constexpr TMsgDlgButtons MsgDlgButtons(std::initializer_list<TMsgDlgBtn> b) {
  TMsgDlgButtons r = 0;
  for (TMsgDlgBtn x : b) r |= 1u << x;
  return r;
}
enum class TMessageBoxKind { MessageBox, ShowMessage, MessageDlg, Exception, MessageBoxIndirect };

struct TMessageBoxRequest {
  TMessageBoxKind Kind = TMessageBoxKind::MessageBox;
  HWND Owner = nullptr;
  std::string Caption;
  std::string Text;
  UINT Style = MB_OK;  // MB_* buttons, icon and default-button bits
  // MessageBoxIndirect only: the caller's full parameters (Owner, Caption,
  // Text and Style repeat its fields).
  const MSGBOXPARAMSA* Indirect = nullptr;
  // MessageDlg only: what Style was mapped from (Style cannot hold every
  // button set).
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons DlgButtons = 0;
  int HelpCtx = 0;
};

class TMessageBoxSink {
 public:
  virtual ~TMessageBoxSink() = default;
  // Shows (or pretends to show) the box; returns IDOK, IDYES, ... Must not
  // throw: boxes are shown from window procedures.
  virtual int Show(const TMessageBoxRequest& Request) = 0;
};

// Shows the box with the platform (MessageBoxA / MessageBoxIndirectA); a
// message dialog goes to the dialog set with SetMessageDialog when there is
// one (the forms unit sets its message form).
class TSystemMessageBoxSink : public TMessageBoxSink {
 public:
  int Show(const TMessageBoxRequest& Request) override;
};

// Appends each box to a log file and answers from a script.
class TRecordingMessageBoxSink : public TMessageBoxSink {
 public:
  TRecordingMessageBoxSink(std::string LogPath, std::vector<int> Answers);
  int Show(const TMessageBoxRequest& Request) override;
  // The log line of a box (without the line break).
  static std::string FormatLine(const TMessageBoxRequest& Request, int Answer);

 private:
  std::string logPath_;
  std::vector<int> answers_;
  size_t next_ = 0;
};

// The button a box returns when the user just presses Enter.
int DefaultButtonOf(UINT Style);
// "IDOK,IDNO,6" -> {1, 7, 6}; unknown entries are skipped.
std::vector<int> ParseMessageBoxAnswers(const std::string& Text);

// A recording sink configured by VARNEL_MESSAGE_LOG and VARNEL_MESSAGE_ANSWERS
// as they are now; null when VARNEL_MESSAGE_LOG is unset or empty.
TRecordingMessageBoxSink* NewRecordingSinkFromEnvironment();

// The current sink. The first call installs the recording sink when
// VARNEL_MESSAGE_LOG is set, else the system sink.
TMessageBoxSink& MessageBoxSink();
// Installs a sink (not owned; null restores the system sink) and returns the
// previous one, so tests can put it back.
TMessageBoxSink* SetMessageBoxSink(TMessageBoxSink* Sink);

// Where boxes get their owner window and their default caption (the
// application's window and title); both may be left unset.
using TMessageBoxOwnerFunc = HWND (*)();
using TMessageBoxTitleFunc = std::string (*)();
using TMessageDialogFunc = int (*)(const TMessageBoxRequest& Request);
void SetMessageDialog(TMessageDialogFunc Dialog);
void SetMessageBoxOwner(TMessageBoxOwnerFunc Owner);
void SetMessageBoxTitle(TMessageBoxTitleFunc Title);
HWND MessageBoxOwner();
// The application's title, else the program's file name without extension.
std::string MessageBoxTitle();

// TApplication::MessageBox: a plain box owned by the application window;
// an empty caption means the application's title.
int ApplicationMessageBox(const std::string& Text, const std::string& Caption, UINT Flags);
// A box with the text and one OK button, captioned with the application's title.
void ShowMessage(const std::string& Msg);
// The box HandleException shows for an exception: error icon, one OK button.
void ShowExceptionMessage(const std::string& Msg);

// The message dialog; the result is the pressed button's id, which equals its
// modal result (IDOK = mrOk, ..., IDNO = mrNo). Captioned by its type
// ("Warning", "Error", "Information", "Confirm"; the application's title for
// mtCustom).
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// The MB_* style a message dialog of this type and buttons maps to.
UINT MessageDlgStyle(TMsgDlgType DlgType, TMsgDlgButtons Buttons);

// The library's MessageBoxIndirect call goes through here.
int MessageBoxIndirectThroughSink(const MSGBOXPARAMSA& Params);
