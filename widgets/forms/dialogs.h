// The message dialog as a form of the layer: class "TMessageForm", so that
// code that treats the standard dialog specially can recognise it.
#pragma once

#include "widgets/forms/forms.h"
#include "widgets/forms/message_box.h"
#include "widgets/controls/stdctrls.h"

// An icon of the dialog type, the text in a word-wrapping label named
// "Message", and one button per member of the set, in the set's order, named
// after it ("Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All",
// "NoToAll", "YesToAll", "Help"), each closing the form with its result.
// Enter presses the default button (OK, else Yes, else the first), Esc the
// cancel button (Cancel, else No, else OK).
class TMessageForm : public TForm {
  DECLARE_CLASS(TMessageForm, TForm)
 public:
  explicit TMessageForm(TComponent* AOwner);
  TMsgDlgType DlgType() const { return dlgType_; }

 protected:
  void Paint() override;

 private:
  friend TMessageForm* CreateMessageDialog(const std::string&, TMsgDlgType, TMsgDlgButtons);
  TMsgDlgType dlgType_ = mtCustom;
  TRect iconRect_;
};

// A message form ready for ShowModal, captioned by its type ("Warning",
// "Error", "Information", "Confirm"; the application's title for mtCustom).
// The caller frees it.
TMessageForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons);

// What the system message-box sink shows for MessageDlg: a message form,
// modal, captioned as the request says; 0 when it cannot be made.
int ShowMessageDialogForm(const TMessageBoxRequest& Request);
