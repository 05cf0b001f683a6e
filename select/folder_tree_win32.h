// The folder tree on the left of the file selection dialog: the shell
// namespace below the desktop, each level filled when it is first expanded,
// and the turning of the chosen item into a file-system folder.
#pragma once

#include <windows.h>

#include "job/paths.h"

// Creates the tree (control 10000) beside the folder listing, with the
// system's small icons; null when it could not be made.
HWND CreateFolderTree(HWND dialog);

// Fills the top level from the desktop and expands its first visible item.
void FillFolderTreeTop(HWND tree);

// Handles a notification from the tree. Returns 1, with the folder in
// out, when the selection changed to an item that resolves to a folder;
// 0 otherwise (out empty).
int OnFolderTreeNotify(HWND tree, const NMHDR* header, char out[kPathSize]);

// The folder of the tree's current selection for the add commands; 0, with
// out empty, when no path can be formed.
int FolderForCommands(HWND tree, char out[kPathSize]);

// Deletes every item, releasing what each item holds, and ends the tree's
// use of the component library.
void DestroyFolderTree(HWND tree);
