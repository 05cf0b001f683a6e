// Dialog 101 from the configurator's own resources, run modelessly in the
// calling process with the least dialog procedure that drives its pages:
// it fills the format list, creates both tab controls with page 0 showing
// and forwards tab clicks and format changes to the page functions.
#pragma once

#include <windows.h>

// Creates and shows the dialog; null when it could not be made.
HWND OpenMainDialog();

// Destroys it and handles the messages that follow.
void CloseMainDialog(HWND dialog);

// Handles every message waiting for this thread's windows.
void PumpMessages();
