// Driving another process's windows from a test, as a user would: find a
// window, read its texts, see which icon a message box shows, press a button.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// The first visible top-level window of the process with that class (null:
// any) and title, waited for up to timeoutMs; null when none appeared.
HWND WaitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs);

std::string WindowText(HWND window);

// A visible dialog (class #32770) of the process (0: any process) other
// than `except`, with that title (null: any), waited for up to timeoutMs.
HWND WaitForDialog(DWORD processId, HWND except, const char* title, DWORD timeoutMs);

// A value under HKEY_LOCAL_MACHINE\key as a text ("dword:N" for a number),
// "<none>" when the value is missing and "<no key>" when the key is.
std::string MachineValue(const char* key, const char* name);

enum BoxIcon { kIconNone, kIconWarning, kIconError, kIconInformation, kIconQuestion, kIconOther };

struct MessageBoxView {
    std::string caption;
    std::string text;
    BoxIcon icon;
    std::string buttons;  // the buttons' captions, joined by '|'
};

// What a message box shows.
MessageBoxView ReadMessageBox(HWND box);

// Presses the box's button with that caption (such as "OK"); false when it has none.
bool PressButton(HWND box, const char* caption);

// Makes tab `index` the current tab of a tab control in another process the
// way a user's keyboard does (arrow keys), so the control tells its parent
// as after a click. False when the tab could not be reached.
bool SelectTab(HWND tab, int index);

// Clicks a button of another thread or process and returns once the click
// has been handled (for a button that opens no modal box).
void ClickButton(HWND dialog, int control);

// Writes what the screen shows of a window into a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::string& path);

// Starts a program with its folder as current folder; the handle is the process's.
bool StartProgram(const std::string& exe, const std::string& arguments, PROCESS_INFORMATION* info);

// Waits for a process to end and returns its exit code, or -1 on time-out.
long WaitForExit(HANDLE process, DWORD timeoutMs);

// The folder of the running test executable, with a trailing backslash.
std::string OwnFolder();

// A new empty folder under the temporary folder.
std::string MakeTempFolder(const char* prefix);

// Writes bytes to a file, replacing it.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

}  // namespace ui
