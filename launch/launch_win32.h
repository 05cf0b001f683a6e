// The configurator's side of a conversion (Windows only): Launch, the
// monitor window and the relay messages that feed it, Stop scan and Last
// log. The main window calls these from its commands and messages.
#pragma once

#include <windows.h>

#include "job/form.h"

// Launch with the job file path already read from the path field: saves the
// form there (ERRORS/save_setup when the save stops), opens a new monitor
// window unless the scan box 1087 is checked, waits 300 ms and starts the
// engine of the program folder with "G|" and the path. Does not wait for it.
void LaunchJob(HWND mainWindow, JobForm& form, const char* jobPath, const ProgramValues& values);

// Stop scan with the job file path already read from the path field:
// terminates the engine recorded in its [PROCESS] ID and clears the record
// when that succeeded.
void StopScan(HWND mainWindow, const char* jobPath);

// Last log: opens the engine's log of the temporary folder through the shell.
void OpenLastLog(HWND mainWindow);

// A relay message (1242, 1243, 1244, 1561) arriving on the main window:
// copies a relay field into a line of the newest monitor window, or hides
// or destroys it. Nothing happens when there is no monitor window.
void RelayToMonitor(HWND mainWindow, UINT message, LPARAM lParam);

// The newest monitor window, null before the first Launch and after it was destroyed.
HWND MonitorWindow();

// Creates a monitor window owned by the main window, themed, centred and
// painted, and makes it the one that relay messages address. The previous
// newest window is destroyed first when it is hidden.
HWND OpenMonitorWindow(HWND mainWindow);
