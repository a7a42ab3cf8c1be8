// The forms that carry a skin provider, the two walks that deliver a skin
// command to every form of the application, and the order of a skin change:
// freeze every skinned form, tell every form, then repaint and unfreeze.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/controls/messages.h"

class TComponent;
class TsSkinManager;
class TsSkinProvider;

// Unordered; a provider adds its form when made and removes it when freed.
extern std::vector<TComponent*> SkinnedFormsRegistry;
// True from the freeze of an animated skin change of the default manager
// until its forms are unfrozen.
extern bool GlobalAnimationActive;
// True while the new-skin command travels to the forms.
extern bool NewSkinBroadcastActive;

void RegisterSkinnedForm(TComponent* Form);
// Removes every entry of Form; the order of the others is not kept.
void UnregisterSkinnedForm(TComponent* Form);

using TSkinnedFormProc = void (*)(TsSkinProvider* Provider, intptr_t Data);
// Proc for the provider of every registered form, in registry order, that
// is shown normally or maximized as a top-level, non-MDI-child window and
// whose provider is served by Manager.
void ForEachSkinnedForm(TsSkinManager* Manager, TSkinnedFormProc Proc, intptr_t Data);

// The steps of a skin change; none acts while the application is iconic.
void BeforeSkinChange(TsSkinManager* Manager);
void FreezeSkinnedForms(TsSkinManager* Manager);
void AfterSkinChange(TsSkinManager* Manager, bool Animate);

// Every form of the application: those skinned by themselves are left to
// the second walk, which reaches every registered form and every visible
// skinned dialog.
void BroadcastToForms(TMessage& Message);
void BroadcastToSkinnedForms(TMessage& Message);

// The manager's broadcasts: a new skin (optionally repainted), the skin's
// removal, and a repaint (optionally animated).
void BroadcastNewSkin(TsSkinManager* Manager, bool Repaint);
void BroadcastRemoveSkin(TsSkinManager* Manager);
void BroadcastRepaint(TsSkinManager* Manager, bool Animate);
