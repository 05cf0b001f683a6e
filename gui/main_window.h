// The configurator's main window.
#pragma once

#include <windows.h>

// Runs the main window modally from the start of the program; returns the
// program's exit code, 1 however the window was closed.
int RunConfigurator(HINSTANCE instance);
