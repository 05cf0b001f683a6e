// Tooltips, themed background, centring and the colour chooser on Win32.
#include "gui/window_helpers.h"

#include <commctrl.h>
#include <commdlg.h>

HWND CreateMainTooltips(HWND dialog, int tooltipsOn) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
    if (tips == nullptr) return nullptr;
    SetWindowPos(tips, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(tips, TTM_ACTIVATE, tooltipsOn ? TRUE : FALSE, 0);
    SendMessageA(tips, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
    for (const MainTooltip& tip : kMainTooltips) {
        HWND control = GetDlgItem(dialog, tip.control);
        TTTOOLINFOA tool;
        ZeroMemory(&tool, sizeof tool);
        // The record without the version-6 reserved field (44 bytes on 32-bit).
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = control;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.hinst = instance;
        tool.lpszText = const_cast<char*>(tip.text);
        SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return tips;
}

int EnableDialogTheme(HWND window, int tabTexture) {
    HMODULE library = LoadLibraryA("uxtheme.dll");
    if (library == nullptr) return 0;
    typedef HRESULT(WINAPI * EnableTexture)(HWND, DWORD);
    EnableTexture enable =
        reinterpret_cast<EnableTexture>(reinterpret_cast<void*>(GetProcAddress(library, "EnableThemeDialogTexture")));
    if (enable == nullptr) {
        FreeLibrary(library);
        return 0;
    }
    enable(window, tabTexture ? 6 : 2);  // ETDT_ENABLETAB, ETDT_ENABLE
    FreeLibrary(library);
    return 1;
}

void CenterWindowOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    long x = 0;
    long y = 0;
    CenteredOrigin(rect.left, rect.top, rect.right, rect.bottom, GetSystemMetrics(SM_CXSCREEN),
                   GetSystemMetrics(SM_CYSCREEN), &x, &y);
    SetWindowPos(window, HWND_TOP, static_cast<int>(x), static_cast<int>(y), 0, 0, SWP_NOSIZE);
}

int PickTransparencyColor(HWND owner, COLORREF* colour) {
    COLORREF custom[16];
    for (COLORREF& c : custom) c = RGB(255, 255, 255);
    CHOOSECOLORA choose;
    ZeroMemory(&choose, sizeof choose);
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.hInstance = reinterpret_cast<HWND>(GetModuleHandleA(nullptr));
    choose.rgbResult = RGB(0, 0, 0);
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choose)) return 0;
    *colour = choose.rgbResult;
    return 1;
}

HBRUSH RefreshColorSwatch(HWND dialog, COLORREF colour, HBRUSH previous) {
    HBRUSH brush = CreateSolidBrush(colour);
    InvalidateRect(dialog, nullptr, TRUE);
    if (previous != nullptr) DeleteObject(previous);
    return brush;
}

int ScaleToSystemDpi(int pixels) {
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi > 0 ? dpi : 96, 96);
}
