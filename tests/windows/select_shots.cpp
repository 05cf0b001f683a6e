// Pictures of the file selection dialog for scripts/screenshots.sh: the
// dialog as it opens, with the listing of a folder of PDF files, and with a
// selection made from it and from a folder tree.
//
//   select_shots.exe OUT_PREFIX     (writes OUT_PREFIXselect_*.bmp)
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "tests/windows/select_host.h"
#include "tests/windows/ui_driver.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: select_shots OUT_PREFIX\n");
        return 2;
    }
    std::string out = argv[1];
    std::string root = "C:\\Invoices 2006";
    select_host::RemoveTree(root);
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\Archive").c_str(), nullptr);
    const char* names[] = {"January.pdf", "February.pdf", "March.PDF", "April.pdf", "Summary.pdf"};
    for (int i = 0; i < 5; ++i) select_host::MakePdf(root + "\\" + names[i], 1 + 3 * i);
    select_host::MakePdf(root + "\\Archive\\December 2005.pdf", 12);
    select_host::MakeFile(root + "\\notes.txt", 40);

    int status = 0;
    {
        select_host::Session session;
        HWND dialog = session.dialog();
        if (dialog == nullptr) return 1;
        select_host::Settle(dialog);
        if (!ui::SaveWindowBitmap(dialog, out + "select_open.bmp")) status = 1;

        select_host::SelectBelowDriveC(session.tree(), {"Invoices 2006"});
        select_host::Settle(dialog);
        if (!ui::SaveWindowBitmap(dialog, out + "select_listing.bmp")) status = 1;

        select_host::PostCommand(dialog, 1553);
        select_host::AnswerBoxes(dialog, "OK", 0);
        SendMessageA(session.selection(), LB_SETSEL, TRUE, 1);
        LVITEMA state = {};
        state.stateMask = state.state = LVIS_SELECTED;
        SendMessageA(session.listing(), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
        select_host::Settle(dialog);
        if (!ui::SaveWindowBitmap(dialog, out + "select_selection.bmp")) status = 1;

        // The duplicate message over the dialog.
        select_host::PostCommand(dialog, 1552);
        HWND box = ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello_zandrix", 10000);
        if (box == nullptr || !ui::SaveWindowBitmap(box, out + "select_duplicate.bmp")) status = 1;
        select_host::AnswerBoxes(dialog, "OK", 5);
    }
    select_host::RemoveTree(root);
    return status;
}
