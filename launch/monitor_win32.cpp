// The monitor window (dialog 107): two bars and three lines that the engine
// drives with its monitor codes and, from its own process, through the main
// window's relay messages. Only the newest monitor window is addressed.
#include "launch/launch_win32.h"

#include <commctrl.h>

#include "gui/window_helpers.h"
#include "launch/monitor_protocol.h"
#include "resources/main_ids.h"

namespace {

HWND g_monitor = nullptr;

// Copies the text at an address of this process, at most kRelayTextMax
// characters. Codes 402 and 405 are meant for senders inside the process,
// but any process can post them with any number: the bytes are read only
// from committed, readable memory, so a bad address gives "" instead of a
// crash.
void CopyTextAt(LPARAM address, char (&out)[kRelayTextMax + 1]) {
    out[0] = '\0';
    const char* text = reinterpret_cast<const char*>(address);
    const char* readableEnd = text;
    for (int i = 0; i < kRelayTextMax; ++i) {
        const char* at = text + i;
        if (at >= readableEnd) {
            MEMORY_BASIC_INFORMATION region;
            if (VirtualQuery(at, &region, sizeof region) != sizeof region) break;
            const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                   PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
            if (region.State != MEM_COMMIT || (region.Protect & readable) == 0 ||
                (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0)
                break;
            readableEnd = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        }
        out[i] = *at;
        if (*at == '\0') return;
        out[i + 1] = '\0';
    }
}

void SetLine(HWND monitor, int line, const char* text) {
    SetDlgItemTextA(monitor, line, text);
    // The engine may keep the thread busy; the user sees the line now.
    InvalidateRect(monitor, nullptr, TRUE);
    UpdateWindow(monitor);
}

void StartBar(HWND monitor, int bar) {
    SendDlgItemMessageA(monitor, bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendDlgItemMessageA(monitor, bar, PBM_SETSTEP, 1, 0);
}

INT_PTR CALLBACK MonitorDialogProc(HWND monitor, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        EnableDialogTheme(monitor, 1);
        CenterWindowOnScreen(monitor);
        return TRUE;
    case WM_COMMAND: {
        char text[kRelayTextMax + 1];
        switch (LOWORD(wParam)) {
        case kMonitorHide:
            ShowWindow(monitor, SW_HIDE);
            return TRUE;
        case kMonitorFirstRange:
            StartBar(monitor, IDC_PB_MONITOR_FIRST);
            return TRUE;
        case kMonitorFirstPos:
            SendDlgItemMessageA(monitor, IDC_PB_MONITOR_FIRST, PBM_SETPOS, static_cast<WPARAM>(lParam), 0);
            return TRUE;
        case kMonitorLine1Text:
            CopyTextAt(lParam, text);
            SetDlgItemTextA(monitor, IDC_ST_MONITOR_LINE1, text);
            return TRUE;
        case kMonitorSecondRange:
            StartBar(monitor, IDC_PB_MONITOR_SECOND);
            return TRUE;
        case kMonitorSecondPos:
            SendDlgItemMessageA(monitor, IDC_PB_MONITOR_SECOND, PBM_SETPOS, static_cast<WPARAM>(lParam), 0);
            return TRUE;
        case kMonitorLine2Text:
            CopyTextAt(lParam, text);
            SetDlgItemTextA(monitor, IDC_ST_MONITOR_LINE2, text);
            return TRUE;
        default:
            return FALSE;
        }
    }
    case WM_DESTROY:
        if (monitor == g_monitor) g_monitor = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

HWND MonitorWindow() { return g_monitor; }

HWND OpenMonitorWindow(HWND mainWindow) {
    // A hidden monitor window is never shown again and only the newest is
    // addressed, so nothing can still use it; kept, one would pile up per Launch.
    if (g_monitor != nullptr && IsWindow(g_monitor) && !IsWindowVisible(g_monitor)) DestroyWindow(g_monitor);
    HWND monitor = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MONITOR), mainWindow,
                                      MonitorDialogProc, 0);
    if (monitor == nullptr) return nullptr;
    g_monitor = monitor;
    ShowWindow(monitor, SW_SHOW);
    UpdateWindow(monitor);
    return monitor;
}

void RelayToMonitor(HWND mainWindow, UINT message, LPARAM lParam) {
    HWND monitor = g_monitor;
    if (monitor == nullptr || !IsWindow(monitor)) return;
    char text[kRelayTextMax + 1];
    switch (message) {
    case kRelayLine1:
        GetDlgItemTextA(mainWindow, IDC_ST_RELAY_1, text, sizeof text);
        SetLine(monitor, IDC_ST_MONITOR_LINE1, text);
        break;
    case kRelayLine2:
        GetDlgItemTextA(mainWindow, IDC_ST_RELAY_2, text, sizeof text);
        SetLine(monitor, IDC_ST_MONITOR_LINE2, text);
        break;
    case kRelayLine3:
        GetDlgItemTextA(mainWindow, IDC_ST_RELAY_2, text, sizeof text);
        SetLine(monitor, IDC_ST_MONITOR_LINE3, text);
        break;
    case kRelayClose:
        if (lParam == 0) {
            ShowWindow(monitor, SW_HIDE);
        } else {
            DestroyWindow(monitor);
        }
        break;
    default:
        break;
    }
}
