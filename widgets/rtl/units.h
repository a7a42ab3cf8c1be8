// Ordered start-up and shutdown of units, without static constructors.
//
// A program runs, in this order: the layer's units, the program's and
// library's units in the order given, the program body, the destruction of
// Application (Terminated set: the forms are freed and their OnDestroy
// handlers run), the given units' shutdown steps in reverse order, and the
// layer's units last.
#pragma once

#include <initializer_list>
#include <vector>

struct TUnitInfo {
  const char* Name;
  void (*Initialization)();  // may be null
  void (*Finalization)();    // may be null
};

// The layer's own units: run-time library, controls, standard controls,
// forms (Screen and Application).
void InitializeWidgetUnits();
void FinalizeWidgetUnits();

// Runs a whole program; returns its exit code (1 when the body or a unit's
// start-up raised, after reporting it).
int RunProgram(std::initializer_list<TUnitInfo> Units, void (*Body)());
int RunProgram(const std::vector<TUnitInfo>& Units, void (*Body)());

// Registers every creatable class of the layer for the form reader.
void RegisterStandardControls();
