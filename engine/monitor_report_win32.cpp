// Sends a run's progress to the configurator: codes to the monitor window,
// texts through the main window's relay fields (a window text crosses
// process boundaries; a pointer in a message would not).
#include "engine/monitor_report_win32.h"

#include <windows.h>

#include "launch/monitor_protocol.h"
#include "resources/main_ids.h"

namespace {

struct Search {
    HWND main;
    HWND monitor;
};

BOOL CALLBACK MatchMonitor(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    char title[64];
    if (GetWindow(window, GW_OWNER) != search->main || !IsWindowVisible(window) ||
        GetWindowTextA(window, title, sizeof title) == 0 || lstrcmpA(title, kMonitorWindowTitle) != 0)
        return TRUE;
    search->monitor = window;  // windows are enumerated top first: the newest
    return FALSE;
}

void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr) return;
    DWORD_PTR ignored = 0;
    // A configurator that hangs must not stop the conversion.
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &ignored);
}

std::string FileName(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

void MonitorProgress::Find() {
    Search search{FindWindowA("#32770", kMainWindowTitle), nullptr};
    if (search.main != nullptr) EnumWindows(MatchMonitor, reinterpret_cast<LPARAM>(&search));
    main_ = search.main;
    monitor_ = search.monitor;
}

void MonitorProgress::Code(int code, long value) {
    Send(static_cast<HWND>(monitor_), WM_COMMAND, static_cast<WPARAM>(code), static_cast<LPARAM>(value));
}

void MonitorProgress::Relay(int field, int message, const std::string& text) {
    HWND main = static_cast<HWND>(main_);
    if (main == nullptr || monitor_ == nullptr) return;
    std::string shown = text.substr(0, kRelayTextMax);
    Send(GetDlgItem(main, field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    Send(main, static_cast<UINT>(message), 0, 0);
}

void MonitorProgress::RunStarted(int fileCount) {
    Find();
    Code(kMonitorFirstRange, 0);
    Code(kMonitorSecondRange, 0);
    Relay(IDC_ST_RELAY_1, kRelayLine1,
          fileCount == 0 ? "No PDF file to convert" : std::to_string(fileCount) + " PDF file(s) to convert");
}

void MonitorProgress::FileStarted(int index, int count, const std::string& path) {
    lastPagePercent_ = -1;
    Relay(IDC_ST_RELAY_1, kRelayLine1,
          "File " + std::to_string(index + 1) + " of " + std::to_string(count) + ": " + FileName(path));
    Relay(IDC_ST_RELAY_2, kRelayLine2, path);
    Code(kMonitorFirstPos, 0);
}

void MonitorProgress::PagesDone(int done, int total) {
    int percent = total > 0 ? static_cast<int>(static_cast<long long>(done) * 100 / total) : 100;
    if (percent == lastPagePercent_) return;
    lastPagePercent_ = percent;
    Code(kMonitorFirstPos, percent);
    Relay(IDC_ST_RELAY_2, kRelayLine3, "Page " + std::to_string(done) + " of " + std::to_string(total));
}

void MonitorProgress::FilesDone(int filesDone, int count) {
    Code(kMonitorSecondPos, count > 0 ? static_cast<long>(static_cast<long long>(filesDone) * 100 / count) : 100);
}

void MonitorProgress::Note(const std::string& text) { Relay(IDC_ST_RELAY_2, kRelayLine3, text); }

void MonitorProgress::RunEnded(bool) {
    // Destroyed rather than hidden: a hidden monitor window would stay
    // behind for every launch.
    Send(static_cast<HWND>(main_), kRelayClose, 0, 1);
}
