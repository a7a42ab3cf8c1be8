// Two checks and announcements around controls that the skin state uses.
#pragma once

class TControl;

// Not nil, has a parent, a windowed control has its window, and neither
// loading, being destroyed, reading its state nor being created.
bool ControlIsReady(TControl* Control);
// Tells the control's form (SkinCmdControlAdded) that the control is new,
// so the form's skin provider can adapt it.
void AddToParentFormAdapter(TControl* Control);
