// The two tab controls of the main dialog and the switching of option
// pages: creating each tab control over its group box, showing the page of
// a tab, and the reactions to a tab click and to a change of output format.
#pragma once

#include <windows.h>

// Create the output tab (over group box 1014) or the input tab (over 1081)
// with its labels and the given current tab. Returns the tab control, or
// null when it could not be made; the handle is also kept for the accessors.
HWND CreateOutputTab(HWND dialog, int initialTab);
HWND CreateInputTab(HWND dialog, int initialTab);

// The kept tab controls; null before creation or after a failed one.
HWND OutputTabWindow();
HWND InputTabWindow();

// Drops both handles when the dialog that held the tab controls is destroyed.
void ForgetTabControls();

// Make the tab current and show its page, hiding the rest of the stack.
// Returns 1, or 0 for a tab outside the stack (nothing changes then).
int ShowOutputPage(HWND dialog, int tab);
int ShowInputPage(HWND dialog, int tab);

// TCN_SELCHANGE from either tab control: shows the page of its current tab.
// Returns 0, the dialog procedure's result for the notification.
int OnTabSelectionChanged(HWND dialog, HWND source);

// CBN_SELCHANGE of combo 1025 with its current selection: shows the page of
// that format when it has one. Returns 0, as the dialog procedure does.
int OnFormatChanged(HWND dialog, int comboIndex);
