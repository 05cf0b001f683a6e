// The installer's work on the machine: probing the install folder, copying
// the file table, the program group and the uninstall entry.
#pragma once

#ifdef _WIN32
#include <windows.h>

// Whether a file can be created in the folder: a probe file with the prefix
// "H" is made there and removed again.
int CanWriteInFolder(const char* folder);

// Copies every file of the table from the source folder (drive and
// directory of the installer) into the install folder, repainting the page
// between files. Returns 0 as soon as a required file fails; what was
// copied stays.
int CopyInstallFiles(const char* sourceDrive, const char* sourceDir, const char* folder, HWND page);

// Copies the engine's folders (kInstallFolders) that stand beside the
// installer into the install folder, with everything below them. Returns 0
// when one of them cannot be copied whole.
int CopyInstallFolders(const char* sourceDrive, const char* sourceDir, const char* folder);

// Creates the program group with its items for the install folder through
// Program Manager, or as a folder of shortcuts when Program Manager cannot
// be asked or refuses one of the commands that make the group.
void CreateProgramGroup(const char* folder);

// Writes the uninstall entry under HKEY_LOCAL_MACHINE; failures are silent.
void WriteUninstallEntry(const char* folder);
#endif
