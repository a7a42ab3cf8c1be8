// The Tobrin program body, shared by the program and the test build that
// shows the form skinned.
#pragma once

// Initializes the application, creates the main form, runs AfterCreate
// (when given) and then the message loop.
void RunTobrinBody(void (*AfterCreate)());
