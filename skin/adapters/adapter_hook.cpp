#include "skin/adapters/adapter_hook.h"

#include "skin/adapters/adapter_base.h"
#include "skin/engine/common_data.h"
#include "skin/engine/services_forms.h"
#include "widgets/forms/forms.h"

TvlWindowForwarder::TvlWindowForwarder(TComponent* AOwner) : TComponent(AOwner) {}

TvlWindowForwarder::~TvlWindowForwarder() {
  // The control goes first: its adapter must not hold on to us.
  if (Adapter && Adapter->forwarder_ == this) Adapter->forwarder_ = nullptr;
}

TvlWindowForwarder* TvlWindowForwarder::Hook(TControl* Target, TvlMainWnd* Adapter,
                                             TWndMethod& Saved) {
  TvlWindowForwarder* f = nullptr;
  for (int i = 0; i < Target->ComponentCount() && !f; ++i) {
    auto* c = dynamic_cast<TvlWindowForwarder*>(Target->Components(i));
    if (c && !c->Adapter && !c->InChain) f = c;
  }
  if (!f) f = New<TvlWindowForwarder>(Target);
  f->Adapter = Adapter;
  f->Saved = Target->WindowProc;
  f->InChain = true;
  Saved = f->Saved;
  Target->WindowProc = f->Event();
  return f;
}

void TvlWindowForwarder::WndProc(TMessage& Message) {
  if (Adapter)
    Adapter->MainWndProc(Message);
  else if (Saved)
    Saved(Message);
}

bool TvlWindowForwarder::Restore() {
  auto* target = static_cast<TControl*>(Owner());
  if (!target || target->WindowProc != Event()) return false;
  target->WindowProc = Saved;
  InChain = false;
  Adapter = nullptr;
  return true;
}

TControl* AdapterHookTarget(TsCommonData* SkinData) {
  if (!SkinData) return nullptr;
  if (auto* provider = dynamic_cast<TsSkinProvider*>(SkinData->OwnerObject)) return provider->Form;
  return SkinData->Control;
}
