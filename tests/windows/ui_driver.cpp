// Cross-process window driving for the Windows-side tests.
#include "tests/windows/ui_driver.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace ui {
namespace {

struct Search {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    char name[256];
    if (search->className != nullptr &&
        (!GetClassNameA(window, name, sizeof name) || lstrcmpA(name, search->className) != 0))
        return TRUE;
    if (search->title != nullptr && WindowText(window) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

struct Children {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    reinterpret_cast<Children*>(param)->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    Children children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children.windows;
}

// The pixels of a 32 x 32 square: either an icon drawn by this process on a
// background, or what the screen shows at a point.
std::vector<COLORREF> Pixels(HICON icon, COLORREF background, int screenX, int screenY) {
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool drawn;
    if (icon != nullptr) {
        HBRUSH brush = CreateSolidBrush(background);
        RECT all = {0, 0, 32, 32};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        drawn = DrawIconEx(memory, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL) != 0;
    } else {
        drawn = BitBlt(memory, 0, 0, 32, 32, screen, screenX, screenY, SRCCOPY) != 0;
    }
    if (drawn)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) pixels.push_back(GetPixel(memory, x, y) & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Which system icon an icon control shows. Icon handles do not carry across
// processes, so the control's pixels on the screen are matched against the
// system icons as this process draws them.
BoxIcon IdentifyIcon(HWND control) {
    const struct { LPCSTR id; BoxIcon kind; } candidates[] = {
        {IDI_WARNING, kIconWarning}, {IDI_ERROR, kIconError},
        {IDI_INFORMATION, kIconInformation}, {IDI_QUESTION, kIconQuestion}};
    for (int attempt = 0; attempt < 50; ++attempt) {
        RECT rect;
        GetWindowRect(control, &rect);
        std::vector<COLORREF> shown = Pixels(nullptr, 0, rect.left, rect.top);
        if (shown.empty()) return kIconOther;
        for (const auto& candidate : candidates) {
            if (Pixels(LoadIconA(nullptr, candidate.id), shown[0], 0, 0) == shown) return candidate.kind;
        }
        Sleep(20);  // not painted yet
    }
    return kIconOther;
}

std::string ClassOf(HWND window) {
    char name[256];
    return GetClassNameA(window, name, sizeof name) ? name : "";
}

}  // namespace

HWND WaitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        Search search{processId, className, title, nullptr};
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(20);
    }
}

std::string WindowText(HWND window) {
    char text[4096];
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &length))
        return "";
    return std::string(text, length);
}

MessageBoxView ReadMessageBox(HWND box) {
    MessageBoxView view{WindowText(box), "", kIconNone, ""};
    for (HWND child : ChildrenOf(box)) {
        std::string kind = ClassOf(child);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        if (lstrcmpiA(kind.c_str(), "Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                DWORD_PTR icon = 0;
                SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
                view.icon = icon == 0 ? kIconNone : IdentifyIcon(child);
            } else if (IsWindowVisible(child)) {
                std::string text = WindowText(child);
                if (!text.empty()) view.text = text;
            }
        } else if (lstrcmpiA(kind.c_str(), "Button") == 0 && IsWindowVisible(child)) {
            if (!view.buttons.empty()) view.buttons += "|";
            view.buttons += WindowText(child);
        }
    }
    return view;
}

bool PressButton(HWND box, const char* caption) {
    for (HWND child : ChildrenOf(box)) {
        if (lstrcmpiA(ClassOf(child).c_str(), "Button") != 0 || WindowText(child) != caption) continue;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                     reinterpret_cast<LPARAM>(child));
        return true;
    }
    return false;
}

bool SelectTab(HWND tab, int index) {
    for (int step = 0; step < 64; ++step) {
        DWORD_PTR current = 0;
        if (!SendMessageTimeoutA(tab, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &current)) return false;
        int now = static_cast<int>(current);
        if (now == index) return true;
        WPARAM key = now < index ? VK_RIGHT : VK_LEFT;
        // Sent, not posted: the key has been handled, and the parent told,
        // when the call returns.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(tab, WM_KEYDOWN, key, 1, SMTO_ABORTIFHUNG, 5000, &ignored);
        SendMessageTimeoutA(tab, WM_KEYUP, key, 0xC0000001, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    return false;
}

void ClickButton(HWND dialog, int control) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, control), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

bool SaveWindowBitmap(HWND window, const std::string& path) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return false;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info;
    ZeroMemory(&info, sizeof info);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file;
    ZeroMemory(&file, sizeof file);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(pixels.data(), pixels.size());
    return WriteFileBytes(path, bytes);
}

bool StartProgram(const std::string& exe, const std::string& arguments, PROCESS_INFORMATION* info) {
    std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
    std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    ZeroMemory(info, sizeof *info);
    if (!CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, info))
        return false;
    CloseHandle(info->hThread);
    info->hThread = nullptr;
    return true;
}

long WaitForExit(HANDLE process, DWORD timeoutMs) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<long>(code);
}

std::string OwnFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string own(path, length);
    return own.substr(0, own.find_last_of('\\') + 1);
}

std::string MakeTempFolder(const char* prefix) {
    // Process identifiers come round again under Wine: take the first name
    // that is really new, so no earlier run's files are found in it.
    static unsigned counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char folder[MAX_PATH];
    do {
        std::snprintf(folder, sizeof folder, "%s%s_%lu_%u", temp, prefix, GetCurrentProcessId(), ++counter);
    } while (!CreateDirectoryA(folder, nullptr));
    return folder;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

std::string ReadFileBytes(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return "<no file>";
    std::string bytes;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

namespace {

struct DialogSearch {
    DWORD processId;
    HWND except;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char kind[64];
    if ((search->processId != 0 && owner != search->processId) || window == search->except ||
        !IsWindowVisible(window) || !GetClassNameA(window, kind, sizeof kind) || lstrcmpA(kind, "#32770") != 0)
        return TRUE;
    if (search->title != nullptr && WindowText(window) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND WaitForDialog(DWORD processId, HWND except, const char* title, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        DialogSearch search{processId, except, title, nullptr};
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || GetTickCount() - start > timeoutMs) return search.found;
        Sleep(20);
    }
}

std::string MachineValue(const char* keyName, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char data[1024];
    DWORD size = sizeof data;
    DWORD type = 0;
    std::string text = "<none>";
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
        if (type == REG_SZ) text = std::string(data, size > 0 ? size - 1 : 0);
        if (type == REG_DWORD) text = "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
    }
    RegCloseKey(key);
    return text;
}

}  // namespace ui

