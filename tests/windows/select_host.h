// The file selection dialog run modally in a thread of the calling process,
// as the main window runs it, with helpers that drive it as a user would:
// walking the folder tree, reading the listing's rows and the selection
// list, and pressing the buttons of the message boxes it opens.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/windows/ui_driver.h"

namespace select_host {

const char kTitle[] = "Ombrello_zandrix - Select PDF files";

class Session {
public:
    // Opens the dialog with the English language file beside the executable.
    Session();
    ~Session();
    HWND dialog() const { return dialog_; }
    HWND tree() const;
    HWND listing() const;
    HWND selection() const;
    // Waits for the dialog to end; its result, or -2 when it did not end.
    INT_PTR WaitForEnd(DWORD timeoutMs);

private:
    HANDLE thread_ = nullptr;
    HWND dialog_ = nullptr;
};

// Waits until the dialog's thread has handled everything sent before.
void Settle(HWND window);

// The text of a tree item.
std::string ItemText(HWND tree, HTREEITEM item);

// The children of an item (TVI_ROOT for the top level), in the tree's order.
std::vector<HTREEITEM> ChildItems(HWND tree, HTREEITEM parent);

// Expands parent and returns its first child whose text contains part; null when none.
HTREEITEM ExpandToChild(HWND tree, HTREEITEM parent, const std::string& part);

// Selects an item as a click does, so that the dialog hears the change.
void SelectItem(HWND tree, HTREEITEM item);

// Walks from the top level through the personal folder's item, or through
// My Computer and drive C:, to a folder below it given by its names, and
// selects it; null when one is missing.
HTREEITEM SelectBelowDocuments(HWND tree, const std::vector<std::string>& names);
HTREEITEM SelectBelowDriveC(HWND tree, const std::vector<std::string>& names);

// The listing's rows, each as its four cell texts.
std::vector<std::vector<std::string>> ListingRows(HWND listing);

// The selection list's entries in order.
std::vector<std::string> SelectionEntries(HWND list);

// Posts a command to the dialog (commands that may open a box must be posted).
void PostCommand(HWND dialog, int command);

// Presses `button` on each message box the dialog opens, waiting for the
// expected number and a little for one more; returns what each showed.
std::vector<ui::MessageBoxView> AnswerBoxes(HWND dialog, const char* button, size_t expected);

// The user's personal documents folder, as the shell reports it.
std::string DocumentsFolder();

// Creates a file of that many bytes (any content).
void MakeFile(const std::string& path, size_t bytes);

// Writes a well-formed PDF file of that many empty pages.
void MakePdf(const std::string& path, int pages);

// Removes a folder and everything below it.
void RemoveTree(const std::string& folder);

}  // namespace select_host
