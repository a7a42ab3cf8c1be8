#include "widgets/forms/message_box.h"

#include <cstdio>
#include <cstdlib>

#include "widgets/rtl/sysutils.h"

namespace {

TSystemMessageBoxSink& SystemSink() {
  static TSystemMessageBoxSink sink;
  return sink;
}

struct SeamState {
  TMessageBoxSink* sink = nullptr;
  bool initialized = false;
  TMessageBoxOwnerFunc owner = nullptr;
  TMessageBoxTitleFunc title = nullptr;
  TMessageDialogFunc dialog = nullptr;
};

SeamState& State() {
  static SeamState state;
  return state;
}

struct IdName {
  int Id;
  const char* Name;
};
constexpr IdName kIds[] = {{IDOK, "IDOK"},
                           {IDCANCEL, "IDCANCEL"},
                           {IDABORT, "IDABORT"},
                           {IDRETRY, "IDRETRY"},
                           {IDIGNORE, "IDIGNORE"},
                           {IDYES, "IDYES"},
                           {IDNO, "IDNO"},
                           {IDCLOSE, "IDCLOSE"},
                           {IDHELP, "IDHELP"},
                           {IDTRYAGAIN, "IDTRYAGAIN"},
                           {IDCONTINUE, "IDCONTINUE"}};

const char* KindName(TMessageBoxKind k) {
  switch (k) {
    case TMessageBoxKind::MessageBox:
      return "MessageBox";
    case TMessageBoxKind::ShowMessage:
      return "ShowMessage";
    case TMessageBoxKind::MessageDlg:
      return "MessageDlg";
    case TMessageBoxKind::Exception:
      return "Exception";
    case TMessageBoxKind::MessageBoxIndirect:
      return "MessageBoxIndirect";
  }
  return "?";
}

const char* ButtonsName(UINT style) {
  static const char* const kNames[] = {"OK",    "OKCANCEL",    "ABORTRETRYIGNORE", "YESNOCANCEL",
                                       "YESNO", "RETRYCANCEL", "CANCELTRYCONTINUE"};
  UINT b = style & MB_TYPEMASK;
  return b < sizeof kNames / sizeof kNames[0] ? kNames[b] : "OK";
}

const char* IconName(UINT style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONERROR:
      return "ERROR";
    case MB_ICONQUESTION:
      return "QUESTION";
    case MB_ICONWARNING:
      return "WARNING";
    case MB_ICONINFORMATION:
      return "INFORMATION";
    default:
      return "NONE";
  }
}

std::string IdName(int id) {
  for (const auto& i : kIds)
    if (i.Id == id) return i.Name;
  return std::to_string(id);
}

std::string Escape(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '\t':
        r += "\\t";
        break;
      case '\r':
        r += "\\r";
        break;
      case '\n':
        r += "\\n";
        break;
      case '\\':
        r += "\\\\";
        break;
      default:
        r += c;
    }
  }
  return r;
}

std::string EnvVar(const char* name) {
  char buf[1024];
  DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

TMessageBoxRequest MakeRequest(TMessageBoxKind kind, const std::string& caption,
                               const std::string& text, UINT style) {
  TMessageBoxRequest r;
  r.Kind = kind;
  r.Owner = MessageBoxOwner();
  r.Caption = caption;
  r.Text = text;
  r.Style = style;
  return r;
}

}  // namespace

int TSystemMessageBoxSink::Show(const TMessageBoxRequest& Request) {
  if (Request.Kind == TMessageBoxKind::MessageDlg && State().dialog) return State().dialog(Request);
  if (Request.Indirect) return MessageBoxIndirectA(Request.Indirect);
  return MessageBoxA(Request.Owner, Request.Text.c_str(), Request.Caption.c_str(), Request.Style);
}

TRecordingMessageBoxSink::TRecordingMessageBoxSink(std::string LogPath, std::vector<int> Answers)
    : logPath_(std::move(LogPath)), answers_(std::move(Answers)) {}

std::string TRecordingMessageBoxSink::FormatLine(const TMessageBoxRequest& Request, int Answer) {
  return std::string(KindName(Request.Kind)) + '\t' + Escape(Request.Caption) + '\t' +
         Escape(Request.Text) + '\t' + ButtonsName(Request.Style) + '\t' + IconName(Request.Style) +
         '\t' + IdName(Answer);
}

int TRecordingMessageBoxSink::Show(const TMessageBoxRequest& Request) {
  int answer = next_ < answers_.size() ? answers_[next_++] : DefaultButtonOf(Request.Style);
  // Opened per line, so the log survives a crash of the program under test.
  if (FILE* f = std::fopen(logPath_.c_str(), "ab")) {
    std::string line = FormatLine(Request, answer) + "\n";
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
  return answer;
}

int DefaultButtonOf(UINT Style) {
  static const int kButtons[][3] = {{IDOK, IDOK, IDOK},
                                    {IDOK, IDCANCEL, IDCANCEL},
                                    {IDABORT, IDRETRY, IDIGNORE},
                                    {IDYES, IDNO, IDCANCEL},
                                    {IDYES, IDNO, IDNO},
                                    {IDRETRY, IDCANCEL, IDCANCEL},
                                    {IDCANCEL, IDTRYAGAIN, IDCONTINUE}};
  UINT type = Style & MB_TYPEMASK;
  if (type >= sizeof kButtons / sizeof kButtons[0]) type = 0;
  UINT def = (Style & MB_DEFMASK) >> 8;
  if (def > 2) def = 0;
  return kButtons[type][def];
}

std::vector<int> ParseMessageBoxAnswers(const std::string& Text) {
  std::vector<int> out;
  size_t i = 0;
  while (i <= Text.size()) {
    size_t e = Text.find(',', i);
    if (e == std::string::npos) e = Text.size();
    std::string item = Trim(Text.substr(i, e - i));
    int v;
    bool found = false;
    for (const auto& id : kIds)
      if (SameText(item, id.Name)) {
        out.push_back(id.Id);
        found = true;
      }
    if (!found && !item.empty() && TryStrToInt(item, v)) out.push_back(v);
    i = e + 1;
  }
  return out;
}

TRecordingMessageBoxSink* NewRecordingSinkFromEnvironment() {
  std::string log = EnvVar("VARNEL_MESSAGE_LOG");
  if (log.empty()) return nullptr;
  return new TRecordingMessageBoxSink(log,
                                      ParseMessageBoxAnswers(EnvVar("VARNEL_MESSAGE_ANSWERS")));
}

TMessageBoxSink& MessageBoxSink() {
  SeamState& s = State();
  if (!s.initialized) {
    s.initialized = true;
    // Never freed: boxes may still come from the last shutdown steps.
    s.sink = NewRecordingSinkFromEnvironment();
  }
  return s.sink ? *s.sink : SystemSink();
}

TMessageBoxSink* SetMessageBoxSink(TMessageBoxSink* Sink) {
  TMessageBoxSink* previous = &MessageBoxSink();
  State().sink = Sink;
  return previous;
}

void SetMessageDialog(TMessageDialogFunc Dialog) {
  State().dialog = Dialog;
}
void SetMessageBoxOwner(TMessageBoxOwnerFunc Owner) {
  State().owner = Owner;
}
void SetMessageBoxTitle(TMessageBoxTitleFunc Title) {
  State().title = Title;
}

HWND MessageBoxOwner() {
  return State().owner ? State().owner() : nullptr;
}

std::string MessageBoxTitle() {
  if (State().title) {
    std::string t = State().title();
    if (!t.empty()) return t;
  }
  std::string name = ExtractFileName(ParamStr(0));
  std::string ext = ExtractFileExt(name);
  return name.substr(0, name.size() - ext.size());
}

int ApplicationMessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  std::string caption = Caption.empty() ? MessageBoxTitle() : Caption;
  return MessageBoxSink().Show(MakeRequest(TMessageBoxKind::MessageBox, caption, Text, Flags));
}

void ShowMessage(const std::string& Msg) {
  MessageBoxSink().Show(MakeRequest(TMessageBoxKind::ShowMessage, MessageBoxTitle(), Msg, MB_OK));
}

void ShowExceptionMessage(const std::string& Msg) {
  MessageBoxSink().Show(
      MakeRequest(TMessageBoxKind::Exception, MessageBoxTitle(), Msg, MB_OK | MB_ICONERROR));
}

UINT MessageDlgStyle(TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  static const UINT kIcons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION,
                                0};
  auto has = [Buttons](TMsgDlgBtn b) { return (Buttons & (1u << b)) != 0; };
  UINT style = kIcons[DlgType];
  if (has(mbOK))
    style |= has(mbCancel) ? MB_OKCANCEL : MB_OK;
  else if (has(mbAbort) || has(mbIgnore))
    style |= MB_ABORTRETRYIGNORE;
  else if (has(mbYes) || has(mbNo))
    style |= has(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
  else if (has(mbRetry))
    style |= MB_RETRYCANCEL;
  if (has(mbHelp)) style |= MB_HELP;
  return style;
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  static const char* const kCaptions[] = {"Warning", "Error", "Information", "Confirm", ""};
  std::string caption = DlgType == mtCustom ? MessageBoxTitle() : kCaptions[DlgType];
  TMessageBoxRequest r =
      MakeRequest(TMessageBoxKind::MessageDlg, caption, Msg, MessageDlgStyle(DlgType, Buttons));
  r.DlgType = DlgType;
  r.DlgButtons = Buttons;
  r.HelpCtx = HelpCtx;
  return MessageBoxSink().Show(r);
}

int MessageBoxIndirectThroughSink(const MSGBOXPARAMSA& Params) {
  TMessageBoxRequest r;
  r.Kind = TMessageBoxKind::MessageBoxIndirect;
  r.Owner = Params.hwndOwner;
  // Resource-id texts (MAKEINTRESOURCE) are not read here; only pointers.
  if (Params.lpszCaption && !IS_INTRESOURCE(Params.lpszCaption)) r.Caption = Params.lpszCaption;
  if (Params.lpszText && !IS_INTRESOURCE(Params.lpszText)) r.Text = Params.lpszText;
  r.Style = Params.dwStyle;
  r.Indirect = &Params;
  return MessageBoxSink().Show(r);
}
