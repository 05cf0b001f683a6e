// Takes pictures of the monitor window in the middle of a run: it starts the
// real zandrix_gui.exe of a program folder that holds the engine stand-in,
// gives the form a source folder of a few PDF files, a target folder and a
// job path of its own in WORK_FOLDER, presses Launch as a user would and,
// halfway through the run, saves PREFIX monitor_window.bmp (the window) and
// PREFIX launch_screen.bmp (the whole screen). Then it quits the configurator.
//   monitor_shots.exe ZANDRIX_GUI_EXE WORK_FOLDER PREFIX
#include <windows.h>

#include <cstdio>
#include <string>

#include "resources/main_ids.h"
#include "tests/windows/ui_driver.h"

namespace {

const int kFileCount = 6;

void SetField(HWND dialog, int id, const std::string& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: monitor_shots ZANDRIX_GUI_EXE WORK_FOLDER PREFIX\n");
        return 2;
    }
    std::string work = argv[2];
    std::string prefix = argv[3];
    std::string source = work + "\\quarterly reports";
    std::string target = work + "\\converted";
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA(source.c_str(), nullptr);
    CreateDirectoryA(target.c_str(), nullptr);
    for (int i = 1; i <= kFileCount; ++i)
        ui::WriteFileBytes(source + "\\report_2024_q" + std::to_string(i) + ".pdf", "%PDF-1.4\n%%EOF\n");

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
    PostMessageA(dialog, WM_COMMAND, IDC_BT_LAUNCH, 0);
    HWND monitor = ui::WaitForWindow(info.dwProcessId, "#32770", " Processing...", 10000);
    if (monitor == nullptr) {
        std::fprintf(stderr, "monitor_shots: no monitor window\n");
        ++failures;
    } else {
        Sleep(kFileCount * 1000 / 2 + 300);
        if (!ui::SaveWindowBitmap(monitor, prefix + "monitor_window.bmp")) ++failures;
        if (!ui::SaveWindowBitmap(GetDesktopWindow(), prefix + "launch_screen.bmp")) ++failures;
        for (int i = 0; i < 200 && IsWindow(monitor); ++i) Sleep(50);
    }
    PostMessageA(dialog, WM_COMMAND, IDC_BT_QUIT, 0);
    if (ui::WaitForExit(info.hProcess, 10000) < 0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    return failures == 0 ? 0 : 1;
}
