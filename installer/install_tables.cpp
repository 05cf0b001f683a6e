// The installer's tables and the paths and commands made from them.
#include "installer/install_tables.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "resources/version.h"

const InstallFile kInstallFiles[kInstallFileCount] = {
    {"stopjob.exe", 1},           {"Ombrelloe_zandrix.hlp", 1}, {"Ombrelloe_zandrix.cnt", 1},
    {"whatsnew.txt", 1},          {"zandrix_gui.exe", 1},       {"Ombrello_zandrix.ini", 1},
    {"Ombrello_zandrix.dat", 1},  {"Ombrello_zandrix.exe", 1},  {"uninst.exe", 1},
    {"Ograph.dll", 1},            {"Ottf.dll", 1},              {"Ojpeg.dll", 1},
    {"Ovector.dll", 1},           {"Otiff.dll", 1},             {"Olcms.dll", 1},
    {"Ozlib.dll", 1},             {"Obzip.dll", 1},             {"Opng.dll", 1},
    {"Oswf.dll", 1},              {"Olibxml.dll", 1},           {"Otxtpdf.dll", 1},
    {"001.lng", 0},               {"033.lng", 0},
};

const char* const kInstallFolders[kInstallFolderCount] = {"fonts", "poppler", "licenses", "guide"};

const char kProductName[] = "Ombrello_zandrix";
const char kProductVersion[] = "2.13";
const char kDefaultInstallFolder[] = "c:\\Program Files\\Ombrello_zandrix";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ombrello_zandrix";
const char kProgmanService[] = "PROGMAN";
const char kDeleteGroupCommand[] = "[DeleteGroup(Ombrello_zandrix)]";

namespace {

// %s is the install folder; Program Manager finds the stop tool's program
// without its extension.
const char* const kGroupCommands[kGroupCommandCount] = {
    "[CreateGroup(Ombrello_zandrix, 1)]",
    "[AddItem(\"%s\\zandrix_gui.exe\",Setup)]",
    "[AddItem(\"%s\\uninst.exe\",Uninstall)]",
    "[AddItem(\"%s\\stopjob\",stopjob)]",
    "[AddItem(\"%s\\Ombrelloe_zandrix.hlp\",Help, winhlp32.exe, 1)]",
    "[ShowGroup(Ombrello_zandrix)]",
};

}  // namespace

// The stop tool's link opens its program by its full name: a shortcut,
// unlike Program Manager, does not search for the extension.
const GroupItem kGroupItems[kGroupItemCount] = {
    {"Setup", "zandrix_gui.exe", nullptr, 0},
    {"Uninstall", "uninst.exe", nullptr, 0},
    {"stopjob", "stopjob.exe", nullptr, 0},
    {"Help", "Ombrelloe_zandrix.hlp", "winhlp32.exe", 1},
};

int GroupShortcutPath(const char* programs, const GroupItem* item, char out[kPathSize]) {
    out[0] = '\0';
    std::string path = std::string(programs) + "\\" + kProductName;
    if (item != nullptr) path += std::string("\\") + item->title + ".lnk";
    CleanInstallFolder(&path[0]);
    return CopyBounded(out, kPathSize, path.c_str());
}

void CleanInstallFolder(char* folder) { CollapseFolderPath(folder); }

int InstallPath(const char* folder, const char* name, char out[kPathSize]) {
    out[0] = '\0';
    // Cleaned before the limit is applied: a doubled backslash it removes
    // may be what makes the path fit.
    std::string joined = std::string(folder) + "\\" + name;
    CleanInstallFolder(&joined[0]);
    return CopyBounded(out, kPathSize, joined.c_str());
}

int FormatGroupCommand(int index, const char* folder, char* out, size_t size) {
    if (out == nullptr || size == 0) return 0;
    out[0] = '\0';
    if (index < 0 || index >= kGroupCommandCount) return 0;
    const char* pattern = kGroupCommands[index];
    // The folder is data: it is put in place of %s by hand, never handed to
    // a formatting function as a format.
    std::string command;
    const char* mark = std::strstr(pattern, "%s");
    if (mark == nullptr) {
        command = pattern;
    } else {
        command.assign(pattern, static_cast<size_t>(mark - pattern));
        command += folder;
        command += mark + 2;
    }
    return CopyBounded(out, size, command.c_str());
}

int BuildUninstallEntry(const char* folder, UninstallValue values[kUninstallValueCount]) {
    char uninstaller[kPathSize];
    char configurator[kPathSize];
    char location[kPathSize];
    if (!InstallPath(folder, "uninst.exe", uninstaller) ||
        !InstallPath(folder, "zandrix_gui.exe", configurator) ||
        !CopyBounded(location, sizeof location, folder))
        return 0;
    CleanInstallFolder(location);

    const struct { const char* name; int isNumber; const char* text; } rows[kUninstallValueCount] = {
        {"DisplayName", 0, kProductName},
        {"UninstallString", 0, uninstaller},
        {"DisplayVersion", 0, kProductVersion},
        {"Publisher", 0, ZANDRIX_COMPANY},
        {"InstallLocation", 0, location},
        {"DisplayIcon", 0, configurator},
        {"NoModify", 1, nullptr},
        {"NoRepair", 1, nullptr},
    };
    for (int i = 0; i < kUninstallValueCount; ++i) {
        UninstallValue& value = values[i];
        value.name = rows[i].name;
        value.isNumber = rows[i].isNumber;
        value.number = rows[i].isNumber ? 1 : 0;
        value.text[0] = '\0';
        if (rows[i].text != nullptr) CopyBounded(value.text, sizeof value.text, rows[i].text);
    }
    if (std::strchr(uninstaller, ' ') != nullptr)
        std::snprintf(values[1].text, sizeof values[1].text, "\"%s\"", uninstaller);
    return 1;
}
