// The programs on a 150% screen: their manifests declare them aware of the
// system's DPI, so Windows does not stretch their windows into a blur, and
// what they size in pixels grows with the screen. The screen's scale is
// Wine's LogPixels setting, which a program reads when it starts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/windows/ui_driver.h"

namespace {

const char kDpiAware[] = "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>";

// The application manifest (resource 1 of type 24) of a program file.
std::string ManifestOf(const std::string& path) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return "<cannot load>";
    std::string text = "<no manifest>";
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes != nullptr) text.assign(static_cast<const char*>(bytes), SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

// Sets the screen's scale for the programs started from now on, and puts
// the previous setting back afterwards.
class ScreenScale {
public:
    explicit ScreenScale(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        DWORD size = sizeof previous_;
        had_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_), &size) ==
               ERROR_SUCCESS;
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~ScreenScale() {
        if (had_)
            RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_), sizeof previous_);
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    DWORD previous_ = 96;
    bool had_ = false;
};

struct Frames {
    std::vector<RECT> groups;
    std::vector<RECT> tabs;
};

BOOL CALLBACK AddFrame(HWND child, LPARAM param) {
    Frames* frames = reinterpret_cast<Frames*>(param);
    char kind[32];
    RECT rect;
    if (!GetClassNameA(child, kind, sizeof kind) || !GetWindowRect(child, &rect)) return TRUE;
    if (lstrcmpA(kind, "SysTabControl32") == 0) frames->tabs.push_back(rect);
    if (lstrcmpiA(kind, "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
        frames->groups.push_back(rect);
    return TRUE;
}

// How much of its group box's width a tab control takes, in per mille, when
// it lies inside the box with room at its right and bottom; -1 otherwise.
int TabShare(const Frames& frames, size_t tab) {
    const RECT& t = frames.tabs[tab];
    for (const RECT& g : frames.groups) {
        if (t.left < g.left || t.top < g.top || t.left >= g.right || t.top >= g.bottom) continue;
        if (t.right > g.right - 2 || t.bottom > g.bottom - 2) return -1;
        return static_cast<int>(1000 * (t.right - t.left) / (g.right - g.left));
    }
    return -1;
}

// What a configurator started at that scale sizes in pixels: the share of
// their group boxes the main window's two tab controls take (per mille),
// the file selection dialog's four column widths, then its toolbar's
// button width and height.
std::vector<int> PixelSizes(DWORD dpi) {
    ScreenScale scale(dpi);
    const std::string folder = ui::MakeTempFolder("high_dpi") + "\\";
    const std::string bin = ui::OwnFolder();
    for (const char* name : {"zandrix_gui.exe", "Otxtpdf.dll", "001.lng", "033.lng"})
        EXPECT_TRUE(CopyFileA((bin + name).c_str(), (folder + name).c_str(), FALSE)) << name;
    EXPECT_TRUE(ui::WriteFileBytes(folder + "Ombrello_zandrix.ini", "[MAIN]\r\nlangue=1\r\n"));

    std::vector<int> sizes;
    PROCESS_INFORMATION info;
    if (!ui::StartProgram(folder + "zandrix_gui.exe", "", &info)) return sizes;
    HWND main = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix Monitor", 15000);
    if (main != nullptr) {
        Frames frames;
        EnumChildWindows(main, AddFrame, reinterpret_cast<LPARAM>(&frames));
        for (size_t tab = 0; tab < frames.tabs.size(); ++tab) sizes.push_back(TabShare(frames, tab));
        PostMessageA(main, WM_COMMAND, 1061, 0);
        HWND select = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix - Select PDF files", 15000);
        if (select != nullptr) {
            for (int column = 0; column < 4; ++column)
                sizes.push_back(static_cast<int>(SendMessageA(GetDlgItem(select, 1541), LVM_GETCOLUMNWIDTH,
                                                              static_cast<WPARAM>(column), 0)));
            LRESULT button = SendMessageA(GetDlgItem(select, 326), TB_GETBUTTONSIZE, 0, 0);
            sizes.push_back(LOWORD(button));
            sizes.push_back(HIWORD(button));
        }
    }
    TerminateProcess(info.hProcess, 0);
    ui::WaitForExit(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    return sizes;
}

// The part of the install wizard's welcome page that its side picture
// covers from the top, in per cent of the page's height.
int WelcomePictureCover(DWORD dpi) {
    ScreenScale scale(dpi);
    PROCESS_INFORMATION info;
    if (!ui::StartProgram(ui::OwnFolder() + "installer.exe", "", &info)) return -1;
    int cover = -1;
    HWND sheet = ui::WaitForWindow(info.dwProcessId, "#32770", nullptr, 20000);
    for (int i = 0; i < 250 && sheet != nullptr && cover < 0; ++i) {
        DWORD_PTR page = 0;
        SendMessageTimeoutA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 5000, &page);
        HWND welcome = reinterpret_cast<HWND>(page);
        for (HWND child = welcome != nullptr ? GetWindow(welcome, GW_CHILD) : nullptr; child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) continue;
            RECT picture;
            RECT whole;
            GetWindowRect(child, &picture);
            GetClientRect(welcome, &whole);
            if (whole.bottom > 0) cover = static_cast<int>(100 * (picture.bottom - picture.top) / whole.bottom);
        }
        if (cover < 0) Sleep(20);
    }
    TerminateProcess(info.hProcess, 0);
    ui::WaitForExit(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    return cover;
}

TEST(HighDpi, ProgramsDeclareSystemDpiAwareness) {
    for (const char* name : {"zandrix_gui.exe", "installer.exe", "uninst.exe"}) {
        std::string manifest = ManifestOf(ui::OwnFolder() + name);
        EXPECT_NE(std::string::npos, manifest.find(kDpiAware)) << name << ": " << manifest;
    }
}

TEST(HighDpi, PixelSizesGrowWithTheScreen) {
    std::vector<int> normal = PixelSizes(96);
    ASSERT_EQ(8u, normal.size());
    EXPECT_EQ((std::vector<int>{200, 55, 75, 115}), std::vector<int>(normal.begin() + 2, normal.begin() + 6));

    std::vector<int> large = PixelSizes(144);
    ASSERT_EQ(8u, large.size());
    // The tab controls stay inside their frames and grow at least as the frames do.
    for (int tab = 0; tab < 2; ++tab) {
        EXPECT_GT(normal[tab], 500) << tab;
        EXPECT_GT(large[tab], 500) << tab;
        EXPECT_GE(large[tab], normal[tab] - 15) << tab;
    }
    EXPECT_EQ((std::vector<int>{300, 83, 113, 173}), std::vector<int>(large.begin() + 2, large.begin() + 6))
        << "the columns at 150%";
    // The toolbar's pictures are drawn 24 pixels wide instead of 16.
    EXPECT_GE(large[6], normal[6] + 8);
    EXPECT_GE(large[7], normal[7] + 8);

    // The wizard's side picture fills its column at either scale.
    EXPECT_GE(WelcomePictureCover(96), 90);
    EXPECT_GE(WelcomePictureCover(144), 90);
}

}  // namespace
