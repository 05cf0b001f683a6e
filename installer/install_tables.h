// What the installer puts in place, as plain data and plain functions: the
// file table in copy order, the Program Manager commands of the program
// group, the uninstall entry's values and the paths built from the install
// folder. The uninstaller stand-in reads the same tables to undo it all.
#pragma once

#include <cstddef>

#include "job/paths.h"

enum {
    kInstallFileCount = 23,
    kRequiredFileCount = 21,  // the first ones; a failure to copy one ends the installation
    kGroupCommandCount = 6,
    kGroupCommandSize = 400,  // longest command with a kPathMax folder, and its terminator
    kUninstallValueCount = 8,
    kGroupItemCount = 4
};

struct InstallFile {
    const char* name;
    int required;
};

// Every file copied from the source folder to the install folder, in order.
extern const InstallFile kInstallFiles[kInstallFileCount];

// The engine's folders (fonts, poppler's character maps, licence texts) and
// the user guide, copied whole after the file table when they stand beside
// the installer, and removed whole by the uninstaller.
enum { kInstallFolderCount = 4 };
extern const char* const kInstallFolders[kInstallFolderCount];

extern const char kProductName[];           // "Ombrello_zandrix": message captions, group, key
extern const char kProductVersion[];        // the version the welcome page announces
extern const char kDefaultInstallFolder[];  // proposed on the install folder page
extern const char kUninstallKey[];          // under HKEY_LOCAL_MACHINE
extern const char kProgmanService[];        // service and topic of Program Manager's DDE
extern const char kDeleteGroupCommand[];    // what the uninstaller sends

// Cleans a typed install folder in place: runs of backslashes become one,
// except a leading pair, so a network folder (\\server\share) stays one.
void CleanInstallFolder(char* folder);

// The path of a file in the install folder: "%s\\%s", cleaned as above.
// Returns 0, with out empty, when it would be longer than kPathMax.
int InstallPath(const char* folder, const char* name, char out[kPathSize]);

// Program group command `index` (0 to kGroupCommandCount - 1) for the
// folder. Returns 0, with out empty, when it does not fit in size bytes.
int FormatGroupCommand(int index, const char* folder, char* out, size_t size);

// One item of the program group as a shortcut, for when Program Manager
// cannot be asked: the title (the link's file name without ".lnk"), the
// file in the install folder it opens, and the file and index of its icon
// (null: the target's own icon; a bare name lies in the Windows folder).
struct GroupItem {
    const char* title;
    const char* file;
    const char* iconFile;
    int iconIndex;
};

// The group's items in the order of the AddItem commands.
extern const GroupItem kGroupItems[kGroupItemCount];

// The shortcut of an item in the group's folder under a Programs folder:
// "<programs>\Ombrello_zandrix\<title>.lnk"; with item null, the group's
// folder itself. Returns 0, with out empty, when longer than kPathMax.
int GroupShortcutPath(const char* programs, const GroupItem* item, char out[kPathSize]);

// One value of the uninstall entry: a text (REG_SZ) or, when isNumber is
// set, a 32-bit number (REG_DWORD).
struct UninstallValue {
    const char* name;
    int isNumber;
    unsigned long number;
    char text[kPathSize + 2];  // room for the quotes around a program path
};

// The values of the uninstall entry for the install folder. The uninstall
// command is quoted when the path holds a blank, so that the system does
// not run a program named by the path's first word. Returns 0 when a path
// would be longer than kPathMax.
int BuildUninstallEntry(const char* folder, UninstallValue values[kUninstallValueCount]);
