// What the Help commands open: the WinHelp file beside the program when it
// really is one, else the user guide in the language on screen. Windows 10
// and later open no WinHelp file, and a release may carry a placeholder in
// its place, so a Help command must always have a page to fall back on.
#pragma once

#include "job/paths.h"

extern const char kHelpFileName[];  // "ombrelloe_zandrix.hlp"

// Whether the file begins with the signature of a WinHelp 3.x/4.x file
// (3F 5F 03 00). A missing, short or unreadable file is not one.
int IsWinHelpFile(const char* path);

// The guide page beside the program for the language file in use: the
// French page for 033.lng, the English one for any other file.
// "<drive><dir>\guide\guide_fr.html". Returns 0, with out empty, when the
// path would be longer than kPathMax.
int GuidePagePath(const char* drive, const char* dir, const char* languageFile, char out[kPathSize]);

#ifdef _WIN32
#include <windows.h>

// Opens the help for owner. With context 0 the WinHelp file is opened
// through the shell's open verb; otherwise WinHelp shows that context. When
// the file is no WinHelp file or cannot be opened, the guide page of the
// language in use is opened through the shell instead. Returns 1 when
// something was opened.
int OpenProgramHelp(HWND owner, unsigned long context);
#endif
