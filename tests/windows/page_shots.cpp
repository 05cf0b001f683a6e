// Takes a picture of dialog 101 on every input page and every output page
// and writes them as BMP files into the current folder: input_0.bmp to
// input_6.bmp, output_00.bmp to output_15.bmp. scripts/screenshots.sh runs
// it under Wine and turns the pictures into PNG files.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "gui/pages.h"
#include "gui/tabs_win32.h"
#include "tests/windows/main_dialog_host.h"

namespace {

// Labels like those a language file gives the tabs that have none of their own.
void SetSampleLabels() {
    const char* input[kInputTabCount] = {"Folders", "Scan", "Shaving", "Afterwards",
                                         "Format", "Pages", "Errors"};
    const char* output[4] = {"Target", "File names", "Signature", "Image"};
    for (int i = 0; i < kInputTabCount; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(input[i]);
        SendMessageA(InputTabWindow(), TCM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    for (int i = 0; i < 4; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(output[i]);
        SendMessageA(OutputTabWindow(), TCM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
}

void LetItPaint(HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 5; ++i) {
        PumpMessages();
        Sleep(40);
    }
}

// Copies the window's area of the screen into a 24-bit BMP file.
int SavePicture(HWND window, const char* path) {
    RECT area;
    if (!GetWindowRect(window, &area)) return 0;
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return 0;
    int stride = (width * 3 + 3) & ~3;

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride) * height;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    int ok = 0;
    if (picture && bits) {
        HGDIOBJ old = SelectObject(memory, picture);
        ok = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) ? 1 : 0;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (ok) {
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = file.bfOffBits + header.biSizeImage;
        FILE* out = std::fopen(path, "wb");
        ok = out != nullptr;
        if (out) {
            ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                 std::fwrite(&header, sizeof header, 1, out) == 1 &&
                 std::fwrite(bits, header.biSizeImage, 1, out) == 1;
            ok = (std::fclose(out) == 0) && ok;
        }
    }
    if (picture) DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace

int main() {
    HWND dialog = OpenMainDialog();
    if (!dialog) {
        std::fprintf(stderr, "page_shots: dialog 101 could not be made\n");
        return 1;
    }
    SetWindowPos(dialog, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
    SetSampleLabels();
    int failures = 0;
    char name[32];
    for (int tab = 0; tab < kInputTabCount; ++tab) {
        ShowInputPage(dialog, tab);
        LetItPaint(dialog);
        std::snprintf(name, sizeof name, "input_%d.bmp", tab);
        if (!SavePicture(dialog, name)) ++failures;
    }
    ShowInputPage(dialog, 0);
    for (int tab = 0; tab < kOutputTabCount; ++tab) {
        ShowOutputPage(dialog, tab);
        LetItPaint(dialog);
        std::snprintf(name, sizeof name, "output_%02d.bmp", tab);
        if (!SavePicture(dialog, name)) ++failures;
    }
    CloseMainDialog(dialog);
    if (failures) std::fprintf(stderr, "page_shots: %d pictures not written\n", failures);
    return failures ? 1 : 0;
}
