// Speed of the file selection dialog on generated trees, against what the
// file system alone costs: command 1553 on 2,000 and 20,000 small PDF
// files in 200 folders beside a bare FindFirstFileA/FindNextFileA walk of
// the same tree, and the folder listing of one folder of 5,000 PDF files
// beside a bare walk plus one engine-library call per file. Prints each
// figure next to the bound it is held to; the best of three runs counts.
//
//   tests/wine/harness.sh build/win64 -- bash -c '"$ZANDRIX_WINE" build/win64/bin/select_bench.exe'
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "launch/otxtpdf.h"
#include "tests/windows/select_host.h"

namespace {

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void MakeFiles(const std::string& folder, const std::string& model, int files) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < files; ++i)
        CopyFileA(model.c_str(), (folder + "\\file" + std::to_string(i) + ".pdf").c_str(), FALSE);
}

void MakeTree(const std::string& root, const std::string& model, int folders, int files) {
    CreateDirectoryA(root.c_str(), nullptr);
    for (int f = 0; f < folders; ++f) MakeFiles(root + "\\folder" + std::to_string(f), model, files / folders);
}

// The walk the command cannot beat: every entry of every folder, PDF names counted.
int BareWalk(const std::string& folder, bool countPages) {
    int found = 0;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (entry.cFileName[0] == '.') continue;
        std::string path = folder + "\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            found += BareWalk(path, countPages);
        } else if (path.size() > 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".pdf") == 0) {
            if (countPages) OtxtpdfPageCount(path.c_str());
            ++found;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

double BestWalk(const std::string& folder, bool countPages, int* found) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        double start = Now();
        *found = BareWalk(folder, countPages);
        best = std::min(best, Now() - start);
    }
    return best;
}

double BestAddTree(select_host::Session& session, const std::string& benchName, const char* tree, int* added) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        SendMessageA(session.dialog(), WM_COMMAND, 1555, 0);
        select_host::SelectBelowDriveC(session.tree(), {benchName, tree});
        double start = Now();
        SendMessageA(session.dialog(), WM_COMMAND, 1553, 0);
        best = std::min(best, Now() - start);
        *added = static_cast<int>(SendMessageA(session.selection(), LB_GETCOUNT, 0, 0));
    }
    return best;
}

double BestListing(select_host::Session& session, const std::string& benchName, int* rows) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        select_host::SelectBelowDriveC(session.tree(), {benchName});
        HTREEITEM flat = select_host::ExpandToChild(session.tree(),
            reinterpret_cast<HTREEITEM>(SendMessageA(session.tree(), TVM_GETNEXTITEM, TVGN_CARET, 0)), "flat");
        double start = Now();
        select_host::SelectItem(session.tree(), flat);
        best = std::min(best, Now() - start);
        *rows = static_cast<int>(SendMessageA(session.listing(), LVM_GETITEMCOUNT, 0, 0));
    }
    return best;
}

}  // namespace

int main() {
    std::string benchName = "select_bench_" + std::to_string(GetCurrentProcessId());
    std::string root = "C:\\" + benchName;
    select_host::RemoveTree(root);
    CreateDirectoryA(root.c_str(), nullptr);
    std::printf("making the trees...\n");
    std::string model = root + "\\model.pdx";
    select_host::MakePdf(model, 1);
    MakeTree(root + "\\small", model, 200, 2000);
    MakeTree(root + "\\large", model, 200, 20000);
    MakeFiles(root + "\\flat", model, 5000);

    int ok = 1;
    {
        select_host::Session session;
        if (session.dialog() == nullptr) {
            std::printf("the dialog did not open\n");
            return 2;
        }
        int walked = 0, added = 0;
        double times[2] = {0, 0};
        const char* trees[2] = {"small", "large"};
        for (int t = 0; t < 2; ++t) {
            double walk = BestWalk(root + "\\" + trees[t], false, &walked);
            times[t] = BestAddTree(session, benchName, trees[t], &added);
            double ratio = times[t] / walk;
            std::printf("command 1553, %5d files in 200 folders: %.3f s, bare walk %.3f s (%d files): %.2f x the walk "
                        "(bound: 3.00 x)\n",
                        added, times[t], walk, walked, ratio);
            ok = ok && ratio <= 3.0 && added == walked;
        }
        double growth = times[1] / times[0];
        double nlogn = (20000.0 * std::log(20000.0)) / (2000.0 * std::log(2000.0));
        std::printf("command 1553 growth from 2,000 to 20,000 files: %.2f x (bound: n log n, %.2f x)\n", growth, nlogn);
        ok = ok && growth <= nlogn;

        int rows = 0;
        double walk = BestWalk(root + "\\flat", true, &walked);
        double listing = BestListing(session, benchName, &rows);
        double ratio = listing / walk;
        std::printf("folder listing of %d PDF files: %.3f s, bare walk with one engine-library call per file %.3f s: "
                    "%.2f x (bound: 3.00 x)\n",
                    rows, listing, walk, ratio);
        ok = ok && ratio <= 3.0 && rows == walked;
    }
    select_host::RemoveTree(root);
    std::printf(ok ? "all figures within their bounds\n" : "a figure is out of its bound\n");
    return ok ? 0 : 1;
}
