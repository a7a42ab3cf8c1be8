#include "probe.h"

#include "skin/engine/common_messages.h"

const TClassInfo& TProbeControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TProbeControl>("TProbeControl", &TCustomControl::StaticClass()).Done();
  return info;
}

const TClassInfo& TProbeGraphic::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TProbeGraphic>("TProbeGraphic", &TGraphicControl::StaticClass()).Done();
  return info;
}

std::vector<Received>& ReceivedLog() {
  static std::vector<Received> log;
  return log;
}

std::vector<std::string> ReceiversOf(uint16_t Code) {
  std::vector<std::string> names;
  for (const Received& r : ReceivedLog())
    if (r.Code == Code) names.push_back(r.Name);
  return names;
}

namespace {

bool Record(TControl* self, TProbeAnswer answer, TMessage& m) {
  if (m.Msg != SkinCommandMessage) return false;
  ReceivedLog().push_back({self->Name(), SkinCmdCode(m.WParam), SkinCmdArg(m.WParam), m.LParam});
  return answer && answer(self, m);
}

}  // namespace

TProbeControl::~TProbeControl() {
  TObject::Free(SkinData);
}

void TProbeControl::WndProc(TMessage& m) {
  if (Record(this, Answer, m)) return;
  if (CommonHandling && SkinData) {
    if (HandleControlMessage(m, SkinData)) return;
  } else if ((m.Msg == WM_NCCREATE || m.Msg == WM_CREATE) && SkinData) {
    RegisterSkinData(SkinData);
  }
  if (m.Msg == WM_NCCREATE && SkinData) PropAtNcCreate = GetPropA(handle_, "VLSDATA") == SkinData;
  if (PaintsPattern && m.WParam && (m.Msg == WM_PAINT || m.Msg == WM_ERASEBKGND)) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    HBRUSH b = CreateSolidBrush(m.Msg == WM_PAINT ? RGB(255, 0, 0) : RGB(0, 0, 255));
    RECT r = m.Msg == WM_PAINT ? RECT{10, 10, 30, 30} : RECT{0, 0, Width(), Height()};
    FillRect(dc, &r, b);
    DeleteObject(b);
    m.Result = 1;
    return;
  }
  TCustomControl::WndProc(m);
}

void TProbeGraphic::WndProc(TMessage& m) {
  if (Record(this, Answer, m)) return;
  TGraphicControl::WndProc(m);
}

void Pump(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void FormFixture::SetUp() {
  ReceivedLog().clear();
  Form = New<TForm>(Application, TCustomForm::TCreateNew{});
  Form->SetBounds(50, 50, 400, 300);
  Form->HandleNeeded();
}

void FormFixture::TearDown() {
  TObject::Free(Form);
  Form = nullptr;
  Pump();
  ReceivedLog().clear();
}

TProbeControl* FormFixture::AddProbe(TWinControl* Parent, const std::string& Name,
                                     bool WithHandle) {
  auto* p = New<TProbeControl>(Form);
  p->SetName(Name);
  p->SetBounds(0, 0, 50, 40);
  p->SetParent(Parent);
  if (WithHandle) p->HandleNeeded();
  return p;
}
