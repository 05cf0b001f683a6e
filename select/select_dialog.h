// The file selection dialog 305: the user picks the PDF files of the next
// conversion; OK writes them into o.log in the temporary folder.
#pragma once

#include <windows.h>

// Runs the dialog modally over owner. Returns 1 when OK wrote o.log, 0 otherwise.
INT_PTR OpenSelectDialog(HWND owner);

// The dialog procedure, for programs that run the dialog themselves.
INT_PTR CALLBACK SelectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

