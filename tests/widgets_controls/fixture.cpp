#include "fixture.h"

void Pump(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void FormTest::SetUp() {
  Form = New<TForm>(Application, TCustomForm::TCreateNew{});
  Form->SetBounds(50, 50, 400, 300);
}

void FormTest::TearDown() {
  TObject::Free(Form);
  Form = nullptr;
  Pump();
}

std::string WindowClassName(HWND h) {
  char name[256] = {};
  GetClassNameA(h, name, sizeof name);
  return name;
}
