// Takes pictures of the real configurator, driven from outside as a user
// would: it starts zandrix_gui.exe, waits for the main window and, when the
// window has its tabs, shows each input tab and each output tab in English,
// then again after switching to French. The pictures are 24-bit BMP files
// named PREFIX + input_N / output_NN (+ _fr), or PREFIX + window when the
// window has no tabs.
//   window_shots.exe ZANDRIX_GUI_EXE PREFIX
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/main_ids.h"
#include "tests/windows/ui_driver.h"

namespace {

std::vector<HWND> TabControls(HWND dialog) {
    std::vector<HWND> tabs;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64];
        if (GetClassNameA(child, name, sizeof name) && lstrcmpiA(name, WC_TABCONTROLA) == 0) tabs.push_back(child);
    }
    return tabs;
}

// The tab control that lies over the group box.
HWND TabOver(HWND dialog, int groupBox) {
    RECT box;
    GetWindowRect(GetDlgItem(dialog, groupBox), &box);
    for (HWND tab : TabControls(dialog)) {
        RECT rect;
        GetWindowRect(tab, &rect);
        POINT corner = {rect.left + 2, rect.top + 2};
        if (PtInRect(&box, corner)) return tab;
    }
    return nullptr;
}

bool Shoot(HWND dialog, const std::string& path) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    Sleep(250);
    bool ok = ui::SaveWindowBitmap(dialog, path);
    if (!ok) std::fprintf(stderr, "window_shots: could not write %s\n", path.c_str());
    return ok;
}

int ShootEveryPage(HWND dialog, const std::string& prefix, const char* suffix) {
    int failures = 0;
    HWND input = TabOver(dialog, IDC_GB_INPUT);
    HWND output = TabOver(dialog, IDC_GB_OUTPUT);
    char name[64];
    for (int tab = 0; tab < 7; ++tab) {
        if (!ui::SelectTab(input, tab)) ++failures;
        std::snprintf(name, sizeof name, "input_%d%s.bmp", tab, suffix);
        if (!Shoot(dialog, prefix + name)) ++failures;
    }
    ui::SelectTab(input, 0);
    for (int tab = 0; tab < 16; ++tab) {
        if (!ui::SelectTab(output, tab)) ++failures;
        std::snprintf(name, sizeof name, "output_%02d%s.bmp", tab, suffix);
        if (!Shoot(dialog, prefix + name)) ++failures;
    }
    ui::SelectTab(output, 0);
    return failures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_shots ZANDRIX_GUI_EXE PREFIX\n");
        return 2;
    }
    PROCESS_INFORMATION program;
    if (!ui::StartProgram(argv[1], "", &program)) {
        std::fprintf(stderr, "window_shots: cannot start %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    HWND dialog = ui::WaitForWindow(program.dwProcessId, "#32770", "Ombrello_zandrix Monitor", 20000);
    if (dialog == nullptr) {
        std::fprintf(stderr, "window_shots: the main window did not open\n");
        failures = 1;
    } else if (TabControls(dialog).empty()) {
        failures += Shoot(dialog, std::string(argv[2]) + "window.bmp") ? 0 : 1;
    } else {
        failures += ShootEveryPage(dialog, argv[2], "");
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(dialog, WM_COMMAND, IDM_FRENCH, 0, SMTO_NORMAL, 5000, &ignored);
        failures += ShootEveryPage(dialog, argv[2], "_fr");
    }
    TerminateProcess(program.hProcess, 0);
    CloseHandle(program.hProcess);
    return failures == 0 ? 0 : 1;
}
