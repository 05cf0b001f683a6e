// Opening the help from the main window and the file selection dialog.
#include "gui/help.h"

#include <shellapi.h>

#include "lang/language.h"

namespace {

int OpenGuide(HWND owner) {
    char drive[kDriveSize];
    char dir[kPathSize];
    char page[kPathSize];
    if (!GetProgramFolder(drive, dir) || !GuidePagePath(drive, dir, LanguageFile(), page)) return 0;
    HINSTANCE result = ShellExecuteA(owner, "open", page, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

int OpenProgramHelp(HWND owner, unsigned long context) {
    char help[kPathSize];
    if (FileBesideProgram(kHelpFileName, help) && IsWinHelpFile(help)) {
        if (context == 0) {
            HINSTANCE result = ShellExecuteA(owner, "open", help, nullptr, nullptr, SW_SHOWNORMAL);
            if (reinterpret_cast<INT_PTR>(result) > 32) return 1;
        } else if (WinHelpA(owner, help, HELP_CONTEXT, context)) {
            return 1;
        }
    }
    return OpenGuide(owner);
}
