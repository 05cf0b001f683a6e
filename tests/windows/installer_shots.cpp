// Takes pictures of the real install wizard, driven from outside as a user
// would: the welcome, install folder, options, ready and finish pages of an
// installation into an empty folder, then the failure dialog that Cancel on
// the finish page shows. The pictures are 24-bit BMP files named PREFIX +
// install_welcome, install_folder, install_options, install_ready,
// install_finish and install_failed.
//   installer_shots.exe INSTALLER_EXE INSTALL_FOLDER PREFIX
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <string>

#include "tests/windows/ui_driver.h"

namespace {

HWND g_sheet = nullptr;

int PageIndex() {
    DWORD_PTR page = 0;
    DWORD_PTR index = 0;
    SendMessageTimeoutA(g_sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 5000, &page);
    if (!SendMessageTimeoutA(g_sheet, PSM_HWNDTOINDEX, page, 0, SMTO_ABORTIFHUNG, 5000, &index)) return -1;
    return static_cast<int>(index);
}

bool NextTo(int index) {
    PostMessageA(g_sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
    for (int i = 0; i < 1000; ++i) {
        if (PageIndex() == index) return true;
        Sleep(20);
    }
    std::fprintf(stderr, "installer_shots: page %d did not come\n", index);
    return false;
}

bool Shoot(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    Sleep(300);
    bool ok = ui::SaveWindowBitmap(window, path);
    if (!ok) std::fprintf(stderr, "installer_shots: could not write %s\n", path.c_str());
    return ok;
}

// Program Manager opens the new group in a window of its own, over the wizard.
void CloseGroupWindow() {
    for (int i = 0; i < 150; ++i) {
        HWND window = FindWindowA(nullptr, "Ombrello_zandrix");
        char kind[64];
        if (window != nullptr && GetClassNameA(window, kind, sizeof kind) && lstrcmpA(kind, "#32770") != 0) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            Sleep(500);
            return;
        }
        Sleep(20);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: installer_shots INSTALLER_EXE INSTALL_FOLDER PREFIX\n");
        return 2;
    }
    std::string prefix = argv[3];
    CreateDirectoryA(argv[2], nullptr);
    PROCESS_INFORMATION info;
    if (!ui::StartProgram(argv[1], "", &info)) {
        std::fprintf(stderr, "installer_shots: cannot start %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    g_sheet = ui::WaitForWindow(info.dwProcessId, "#32770", nullptr, 20000);
    if (g_sheet == nullptr) {
        TerminateProcess(info.hProcess, 1);
        return 1;
    }
    Sleep(500);
    if (!Shoot(g_sheet, prefix + "install_welcome.bmp")) ++failures;
    if (!NextTo(1)) ++failures;
    HWND page = nullptr;
    DWORD_PTR current = 0;
    SendMessageTimeoutA(g_sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 5000, &current);
    page = reinterpret_cast<HWND>(current);
    SendMessageTimeoutA(GetDlgItem(page, 1006), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]), SMTO_ABORTIFHUNG,
                        5000, &current);
    if (!Shoot(g_sheet, prefix + "install_folder.bmp")) ++failures;
    const char* names[] = {"install_options.bmp", "install_ready.bmp", "install_finish.bmp"};
    for (int index = 2; index <= 4; ++index) {
        if (!NextTo(index)) ++failures;
        if (index == 4) CloseGroupWindow();
        if (!Shoot(g_sheet, prefix + names[index - 2])) ++failures;
    }
    PostMessageA(g_sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    HWND failed = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix", 10000);
    if (failed == nullptr || !Shoot(failed, prefix + "install_failed.bmp")) ++failures;
    if (failed != nullptr) ui::PressButton(failed, "OK");
    if (ui::WaitForExit(info.hProcess, 10000) < 0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    return failures == 0 ? 0 : 1;
}
