// Takes pictures of the monitor window in the middle of a real conversion:
// it starts the real zandrix_gui.exe of a program folder that holds the
// engine, gives the form a source folder holding the PDF files of
// PDF_FOLDER, a target folder, PNG at 150 pixels per inch and a job path of
// its own in WORK_FOLDER, presses Launch as a user would and, once the
// engine has begun on the pages, saves PREFIX monitor_window.bmp (the
// window) and PREFIX launch_screen.bmp (the whole screen). It waits for the
// run to end (the converted pages stay in WORK_FOLDER\converted), then quits
// the configurator.
//   monitor_shots.exe ZANDRIX_GUI_EXE WORK_FOLDER PREFIX PDF_FOLDER
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "resources/main_ids.h"
#include "tests/windows/ui_driver.h"

namespace {

void SetField(HWND dialog, int id, const std::string& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

// Copies the PDF files of one folder into another.
void CopyPdfFiles(const std::string& from, const std::string& to) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*.pdf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        CopyFileA((from + "\\" + found.cFileName).c_str(), (to + "\\" + found.cFileName).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

long BarPosition(HWND monitor, int id) {
    DWORD_PTR position = 0;
    SendMessageTimeoutA(GetDlgItem(monitor, id), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 1000, &position);
    return static_cast<long>(position);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: monitor_shots ZANDRIX_GUI_EXE WORK_FOLDER PREFIX PDF_FOLDER\n");
        return 2;
    }
    std::string work = argv[2];
    std::string prefix = argv[3];
    std::string source = work + "\\quarterly reports";
    std::string target = work + "\\converted";
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA(source.c_str(), nullptr);
    CreateDirectoryA(target.c_str(), nullptr);
    CopyPdfFiles(argv[4], source);

    PROCESS_INFORMATION info;
    if (!ui::StartProgram(argv[1], "", &info)) {
        std::fprintf(stderr, "monitor_shots: cannot start %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    HWND dialog = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix Monitor", 20000);
    if (dialog == nullptr) {
        std::fprintf(stderr, "monitor_shots: no main window\n");
        TerminateProcess(info.hProcess, 1);
        return 1;
    }
    SetField(dialog, IDC_ED_SOURCE_PATH, source);
    SetField(dialog, IDC_ED_TARGET_PATH, target);
    SetField(dialog, IDC_ED_JOB_FILE, work + "\\evening run.ini");
    SetField(dialog, IDC_ED_DENSITY, "150");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, IDC_CB_OUTPUT_FORMAT), CB_SETCURSEL, 7, 0, SMTO_ABORTIFHUNG, 5000,
                        &ignored);  // PNG
    PostMessageA(dialog, WM_COMMAND, IDC_BT_LAUNCH, 0);
    HWND monitor = ui::WaitForWindow(info.dwProcessId, "#32770", " Processing...", 10000);
    if (monitor == nullptr) {
        std::fprintf(stderr, "monitor_shots: no monitor window\n");
        ++failures;
    } else {
        // Once pages of a later file are done, the window shows a run well under way.
        for (int i = 0; i < 600 && IsWindow(monitor); ++i) {
            if (BarPosition(monitor, IDC_PB_MONITOR_SECOND) >= 30 && BarPosition(monitor, IDC_PB_MONITOR_FIRST) > 0) break;
            Sleep(10);
        }
        if (!ui::SaveWindowBitmap(monitor, prefix + "monitor_window.bmp")) ++failures;
        if (!ui::SaveWindowBitmap(GetDesktopWindow(), prefix + "launch_screen.bmp")) ++failures;
        for (int i = 0; i < 1200 && IsWindow(monitor); ++i) Sleep(50);
    }
    PostMessageA(dialog, WM_COMMAND, IDC_BT_QUIT, 0);
    if (ui::WaitForExit(info.hProcess, 10000) < 0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    return failures == 0 ? 0 : 1;
}
