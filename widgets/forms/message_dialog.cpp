// The message form: laid out from the measured text and the button set.
#include <algorithm>
#include <memory>

#include "widgets/forms/dialogs.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

struct TButtonInfo {
  const char* Name;
  const char* Caption;
  TModalResult Result;
};
// Indexed by TMsgDlgBtn.
constexpr TButtonInfo kButtons[] = {
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
};
constexpr const char* kCaptions[] = {"Warning", "Error", "Information", "Confirm", ""};
const LPCSTR kIcons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION, nullptr};

constexpr int kMargin = 8, kGap = 10, kButtonWidth = 75, kButtonHeight = 25, kButtonGap = 6;

bool Has(TMsgDlgButtons set, TMsgDlgBtn b) {
  return (set & (1u << b)) != 0;
}

// The text's size when wrapped to at most half the screen's width.
TSize MeasureText(TFont* Font, const std::string& Text) {
  TWindowDC dc(nullptr);
  TSelectedObject font(dc.Get(), Font->Handle());
  RECT r{0, 0, std::max(GetSystemMetrics(SM_CXSCREEN) / 2, 100), 0};
  DrawTextA(dc.Get(), Text.c_str(), static_cast<int>(Text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

const TClassInfo& TMessageForm::StaticClass() {
  static const TClassInfo info("TMessageForm", &TForm::StaticClass());
  return info;
}

TMessageForm::TMessageForm(TComponent* AOwner) : TForm(AOwner, TCreateNew{}) {}

void TMessageForm::Paint() {
  if (dlgType_ == mtCustom) return;
  DrawIcon(Canvas()->Handle(), iconRect_.Left, iconRect_.Top, LoadIconA(nullptr, kIcons[dlgType_]));
}

TMessageForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons) {
  auto* f = New<TMessageForm>(Application);
  try {
    f->dlgType_ = DlgType;
    f->SetBorderStyle(bsDialog);
    f->SetPosition(poScreenCenter);
    f->SetCaption(DlgType == mtCustom ? MessageBoxTitle() : kCaptions[DlgType]);

    int iconSize = DlgType == mtCustom ? 0 : GetSystemMetrics(SM_CXICON);
    f->iconRect_ = Rect(kMargin, kMargin, kMargin + iconSize, kMargin + iconSize);
    int textLeft = kMargin + (iconSize ? iconSize + kGap : 0);
    TSize text = MeasureText(f->Font(), Msg);
    auto* label = New<TLabel>(f);
    label->SetName("Message");
    label->SetParent(f);
    label->SetShowAccelChar(false);
    label->SetWordWrap(true);
    label->SetAutoSize(false);
    label->SetBounds(textLeft, kMargin, text.cx, text.cy);
    label->SetCaption(Msg);

    std::vector<TMsgDlgBtn> shown;
    for (int b = mbYes; b <= mbHelp; ++b)
      if (Has(Buttons, static_cast<TMsgDlgBtn>(b))) shown.push_back(static_cast<TMsgDlgBtn>(b));
    if (shown.empty()) shown.push_back(mbOK);
    TMsgDlgButtons set = 0;
    for (TMsgDlgBtn b : shown) set |= 1u << b;
    TMsgDlgBtn defaultButton = Has(set, mbOK) ? mbOK : Has(set, mbYes) ? mbYes : shown.front();
    TMsgDlgBtn cancelButton = Has(set, mbCancel) ? mbCancel : Has(set, mbNo) ? mbNo : mbOK;

    int buttonsWidth = static_cast<int>(shown.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    int clientWidth = std::max(textLeft + text.cx, buttonsWidth + kMargin) + kMargin;
    int buttonTop = kMargin + std::max(text.cy, iconSize) + kGap + kMargin;
    int x = (clientWidth - buttonsWidth) / 2;
    TButton* first = nullptr;
    for (TMsgDlgBtn b : shown) {
      auto* button = New<TButton>(f);
      button->SetName(kButtons[b].Name);
      button->SetParent(f);
      button->SetCaption(kButtons[b].Caption);
      button->SetModalResult(kButtons[b].Result);
      button->SetDefault(b == defaultButton);
      button->SetCancel(b == cancelButton);
      button->SetBounds(x, buttonTop, kButtonWidth, kButtonHeight);
      if (b == defaultButton) first = button;
      x += kButtonWidth + kButtonGap;
    }
    f->SetClientSize(clientWidth, buttonTop + kButtonHeight + kMargin);
    if (first) f->SetActiveControl(first);
  } catch (...) {
    TObject::Free(f);
    throw;
  }
  return f;
}

int ShowMessageDialogForm(const TMessageBoxRequest& Request) {
  try {
    auto f = OwnObject(CreateMessageDialog(Request.Text, Request.DlgType, Request.DlgButtons));
    f->SetCaption(Request.Caption);
    return f->ShowModal();
  } catch (...) {
    HandleException(nullptr);
    return 0;
  }
}
