#include "adapter_target.h"

#include "skin/adapters/adapter_base.h"

namespace {

constexpr char kTargetProp[] = "VarnelAdapterTarget";

}  // namespace

TAdapterTarget::TAdapterTarget(TAdapterPath Path) : path_(Path) {
  if (path_ == TAdapterPath::Plain) {
    host_ = CreateHostWindow();
    recorder_ = std::make_unique<TRecordingWindow>(host_.Get());
    recorder_->OnMessage = [this](const TRecordedMessage& m) {
      log_.push_back(m);
      if (m.Msg == WM_NCDESTROY) destroyed_ = true;
      if (OnMessage) OnMessage(m);
    };
    return;
  }
  form_ = New<TForm>(Application, TCustomForm::TCreateNew{});
  form_->SetBounds(20, 20, 300, 240);
  edit_ = New<TEdit>(form_);
  edit_->SetBounds(8, 8, 166, 40);
  edit_->SetParent(form_);
  form_->Show();
  edit_->HandleNeeded();
  own_ = edit_->WindowProc;
  recorded_ = TWndMethod::Of<&TAdapterTarget::Record>(this);
  edit_->WindowProc = recorded_;
}

TAdapterTarget::~TAdapterTarget() {
  if (form_) TObject::Free(form_);
}

HWND TAdapterTarget::Wnd() const {
  if (recorder_) return recorder_->Handle();
  return edit_ && edit_->HandleAllocated() ? edit_->Handle() : nullptr;
}

TvlMainWnd* TAdapterTarget::Adapt(TsCommonData* Given, TsSkinManager* Manager) {
  TvlSkinParams params;
  params.TargetControl = edit_;
  return CreateAdapter(&TvlMainWnd::AdapterClass(), Wnd(), Given, Manager, params, false);
}

void TAdapterTarget::Record(TMessage& Message) {
  const TRecordedMessage m{Message.Msg, Message.WParam, Message.LParam};
  log_.push_back(m);
  if (m.Msg == WM_NCDESTROY) destroyed_ = true;
  if (OnMessage) OnMessage(m);
  own_(Message);
}

int TAdapterTarget::Count(UINT Msg) const {
  int n = 0;
  for (const TRecordedMessage& m : log_)
    if (m.Msg == Msg) ++n;
  return n;
}

bool TAdapterTarget::ProcedureIsOwn() const {
  if (recorder_)
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Wnd(), GWLP_WNDPROC)) ==
           &TRecordingWindow::Proc;
  return edit_->WindowProc == recorded_;
}

void TAdapterTarget::Foreign(TMessage& Message) {
  ++SubclassSeen;
  underForeign_(Message);
}

LRESULT CALLBACK TAdapterTarget::ForeignProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* self = static_cast<TAdapterTarget*>(GetPropA(Wnd, kTargetProp));
  ++self->SubclassSeen;
  return CallWindowProcA(self->foreignPrev_, Wnd, Msg, WParam, LParam);
}

void TAdapterTarget::SubclassAgain() {
  if (recorder_) {
    SetPropA(Wnd(), kTargetProp, this);
    foreignPrev_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        Wnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TAdapterTarget::ForeignProc)));
    return;
  }
  underForeign_ = edit_->WindowProc;
  edit_->WindowProc = TWndMethod::Of<&TAdapterTarget::Foreign>(this);
}

void TAdapterTarget::Unsubclass() {
  if (recorder_) {
    SetWindowLongPtrA(Wnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(foreignPrev_));
    RemovePropA(Wnd(), kTargetProp);
    return;
  }
  edit_->WindowProc = underForeign_;
}

void TAdapterTarget::DestroyWindowItself() {
  if (recorder_) {
    DestroyWindow(recorder_->Handle());
    return;
  }
  TObject::Free(edit_);
  edit_ = nullptr;
}

void TAdapterTarget::DestroyThroughParent() {
  if (recorder_) {
    host_.Reset();
    return;
  }
  TObject::Free(form_);
  form_ = nullptr;
  edit_ = nullptr;
}
