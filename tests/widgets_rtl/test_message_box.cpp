#include <gtest/gtest.h>

#include <memory>

#include "widgets/rtl/classes.h"
#include "widgets/forms/message_box.h"

namespace {

// Collects the requests and answers from a script, as a unit test's sink.
class TScriptSink : public TMessageBoxSink {
 public:
  std::vector<TMessageBoxRequest> seen;
  int answer = IDOK;
  int Show(const TMessageBoxRequest& r) override {
    seen.push_back(r);
    return answer;
  }
};

class MessageBoxSeamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageBoxSink(&sink_);
    SetMessageBoxTitle([] { return std::string("Varnel"); });
    SetMessageBoxOwner([] { return reinterpret_cast<HWND>(0x1234); });
  }
  void TearDown() override {
    SetMessageBoxSink(previous_);
    SetMessageBoxTitle(nullptr);
    SetMessageBoxOwner(nullptr);
  }
  TScriptSink sink_;
  TMessageBoxSink* previous_ = nullptr;
};

TEST_F(MessageBoxSeamTest, EveryKindOfBoxReachesTheInstalledSink) {
  sink_.answer = IDNO;
  EXPECT_EQ(
      ApplicationMessageBox("MIDI Device is already use in another App", "", MB_OK | MB_ICONERROR),
      IDNO);
  ShowMessage("Vistrel v11.22");
  ShowExceptionMessage("Access violation");
  EXPECT_EQ(
      MessageDlg("Loaded data is not a packed Quenmark file", mtError, MsgDlgButtons({mbOK}), 0),
      IDNO);
  MSGBOXPARAMSA p = {};
  p.cbSize = sizeof p;
  p.hwndOwner = reinterpret_cast<HWND>(0x99);
  p.lpszText = "text";
  p.lpszCaption = "Warning";
  p.dwStyle = MB_ICONWARNING;
  EXPECT_EQ(MessageBoxIndirectThroughSink(p), IDNO);

  ASSERT_EQ(sink_.seen.size(), 5u);
  struct Expect {
    TMessageBoxKind kind;
    const char* caption;
    UINT style;
    HWND owner;
  } expected[] = {
      {TMessageBoxKind::MessageBox, "Varnel", MB_OK | MB_ICONERROR, reinterpret_cast<HWND>(0x1234)},
      {TMessageBoxKind::ShowMessage, "Varnel", MB_OK, reinterpret_cast<HWND>(0x1234)},
      {TMessageBoxKind::Exception, "Varnel", MB_OK | MB_ICONERROR, reinterpret_cast<HWND>(0x1234)},
      {TMessageBoxKind::MessageDlg, "Error", MB_OK | MB_ICONERROR, reinterpret_cast<HWND>(0x1234)},
      {TMessageBoxKind::MessageBoxIndirect, "Warning", MB_ICONWARNING,
       reinterpret_cast<HWND>(0x99)},
  };
  for (size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sink_.seen[i].Kind, expected[i].kind);
    EXPECT_EQ(sink_.seen[i].Caption, expected[i].caption);
    EXPECT_EQ(sink_.seen[i].Style, expected[i].style);
    EXPECT_EQ(sink_.seen[i].Owner, expected[i].owner);
  }
  EXPECT_EQ(sink_.seen[0].Text, "MIDI Device is already use in another App");
  EXPECT_EQ(sink_.seen[4].Indirect, &p);
  // An explicit caption is kept.
  ApplicationMessageBox("x", "Own", MB_OK);
  EXPECT_EQ(sink_.seen.back().Caption, "Own");
}

TEST_F(MessageBoxSeamTest, AHeadlessLogRecordsTheBoxEachDialogWouldOffer) {
  struct Case {
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    const char* logged;  // caption, buttons and icon fields of the log line
  } cases[] = {
      {mtWarning, MsgDlgButtons({mbOK}), "Warning\tOK\tWARNING"},
      {mtError, MsgDlgButtons({mbOK, mbCancel}), "Error\tOKCANCEL\tERROR"},
      {mtInformation, MsgDlgButtons({mbAbort, mbRetry, mbIgnore}),
       "Information\tABORTRETRYIGNORE\tINFORMATION"},
      {mtConfirmation, MsgDlgButtons({mbYes, mbNo, mbCancel}), "Confirm\tYESNOCANCEL\tQUESTION"},
      {mtConfirmation, MsgDlgButtons({mbYes, mbNo}), "Confirm\tYESNO\tQUESTION"},
      {mtCustom, MsgDlgButtons({mbRetry, mbCancel}), "Varnel\tRETRYCANCEL\tNONE"},
      {mtCustom, MsgDlgButtons({mbOK, mbHelp}), "Varnel\tOK\tNONE"},
      {mtCustom, MsgDlgButtons({mbYesToAll}), "Varnel\tOK\tNONE"},
  };
  for (const Case& c : cases) {
    MessageDlg("m", c.type, c.buttons, 7);
    const TMessageBoxRequest& r = sink_.seen.back();
    EXPECT_EQ(r.DlgButtons, c.buttons) << "the set itself reaches the sink";
    EXPECT_EQ(r.HelpCtx, 7);
    std::string line = TRecordingMessageBoxSink::FormatLine(r, IDOK);
    std::string caption = line.substr(line.find('\t') + 1);
    std::string fields =
        caption.substr(0, caption.find('\t')) + caption.substr(caption.find("\tm\t") + 2);
    EXPECT_EQ(fields, std::string(c.logged) + "\tIDOK") << line;
  }
}

std::string TempLog() {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  return std::string(tmp) + "rtl_boxes_" + std::to_string(GetCurrentProcessId()) + ".log";
}

std::string ReadAll(const std::string& file) {
  TStringList l;
  l.LoadFromFile(file);
  return l.Text();
}

TEST(RecordingSinkTest, LogsOneLinePerBoxAndAnswersFromTheScript) {
  std::string log = TempLog();
  DeleteFileA(log.c_str());
  SetEnvironmentVariableA("VARNEL_MESSAGE_LOG", log.c_str());
  SetEnvironmentVariableA("VARNEL_MESSAGE_ANSWERS", "IDNO, idcancel,6,bogus");
  std::unique_ptr<TRecordingMessageBoxSink> sink(NewRecordingSinkFromEnvironment());
  SetEnvironmentVariableA("VARNEL_MESSAGE_LOG", nullptr);
  SetEnvironmentVariableA("VARNEL_MESSAGE_ANSWERS", nullptr);
  ASSERT_TRUE(sink);

  TMessageBoxSink* previous = SetMessageBoxSink(sink.get());
  SetMessageBoxTitle([] { return std::string("Varnel"); });
  int a1 = MessageDlg("Save?", mtConfirmation, MsgDlgButtons({mbYes, mbNo, mbCancel}), 0);
  int a2 = ApplicationMessageBox("Header Not Prepared", "", MB_OK);
  int a3 = MessageDlg("Line1\r\nLine2\ttab\\", mtWarning, MsgDlgButtons({mbOK}), 0);
  // The script is used up: each box now gets its default button.
  int a4 = ApplicationMessageBox("Sysex Data Not Sent", "", MB_OK);
  int a5 = ApplicationMessageBox("?", "", MB_YESNO | MB_DEFBUTTON2);
  SetMessageBoxSink(previous);
  SetMessageBoxTitle(nullptr);

  EXPECT_EQ(a1, IDNO);
  EXPECT_EQ(a2, IDCANCEL);
  EXPECT_EQ(a3, IDYES);
  EXPECT_EQ(a4, IDOK);
  EXPECT_EQ(a5, IDNO);
  EXPECT_EQ(ReadAll(log),
            "MessageDlg\tConfirm\tSave?\tYESNOCANCEL\tQUESTION\tIDNO\r\n"
            "MessageBox\tVarnel\tHeader Not Prepared\tOK\tNONE\tIDCANCEL\r\n"
            "MessageDlg\tWarning\tLine1\\r\\nLine2\\ttab\\\\\tOK\tWARNING\tIDYES\r\n"
            "MessageBox\tVarnel\tSysex Data Not Sent\tOK\tNONE\tIDOK\r\n"
            "MessageBox\tVarnel\t?\tYESNO\tNONE\tIDNO\r\n");
  DeleteFileA(log.c_str());
}

TEST(RecordingSinkTest, NoLogVariableMeansNoRecordingSink) {
  SetEnvironmentVariableA("VARNEL_MESSAGE_LOG", nullptr);
  std::unique_ptr<TRecordingMessageBoxSink> sink(NewRecordingSinkFromEnvironment());
  EXPECT_FALSE(sink);
}

TEST(RecordingSinkTest, DefaultButtons) {
  struct Case {
    UINT style;
    int id;
  } cases[] = {{MB_OK, IDOK},
               {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
               {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
               {MB_YESNOCANCEL, IDYES},
               {MB_RETRYCANCEL | MB_ICONERROR, IDRETRY}};
  for (const Case& c : cases) EXPECT_EQ(DefaultButtonOf(c.style), c.id) << c.style;
}

}  // namespace
