// The control side of an adapter's hook: a small component owned by the
// hooked control, whose method is what the control's WindowProc holds.
// Whoever hooks the control after the adapter keeps this event; once the
// adapter has let go, every message goes to the method the adapter
// replaced, so no saved event ever leads into a freed adapter.
#pragma once

#include "widgets/controls/controls.h"
#include "widgets/rtl/components.h"

class TsCommonData;
class TvlMainWnd;

class TvlWindowForwarder : public TComponent {
 public:
  explicit TvlWindowForwarder(TComponent* AOwner);
  ~TvlWindowForwarder() override;

  // Puts a forwarder for Adapter into Target's WindowProc (reusing one the
  // control already owns and no longer needs); Saved receives the method
  // it replaced.
  static TvlWindowForwarder* Hook(TControl* Target, TvlMainWnd* Adapter, TWndMethod& Saved);
  TWndMethod Event() { return TWndMethod::Of<&TvlWindowForwarder::WndProc>(this); }
  void WndProc(TMessage& Message);
  // The control's WindowProc gets the saved method back while it still
  // holds ours; false when someone hooked the control on top since.
  bool Restore();
  // The adapter goes: the forwarder stays where it is in the chain and
  // passes every message on.
  void LetGo() { Adapter = nullptr; }

  // Never written with the form that owns it.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return const_cast<TvlWindowForwarder*>(this); }

  TvlMainWnd* Adapter = nullptr;
  TWndMethod Saved;
  bool InChain = false;
};

// The control whose WindowProc an adapter takes over: the provider's form,
// else the skin data's control; nil for a plain window.
TControl* AdapterHookTarget(TsCommonData* SkinData);
