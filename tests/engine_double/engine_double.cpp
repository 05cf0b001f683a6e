// A scripted double of the conversion engine ombrello_zandrix.exe, for the
// tests of the configurator's side of the contract. It converts nothing and
// says so in its log, and keeps the engine's side of the contract at a known
// pace, so that Launch, the monitor window, Stop scan, Last log and the stop
// tool can be tested step by step:
// - the job file path is everything after "G|" on its command line;
// - its process identifier stands in [PROCESS] ID while it runs, "0" after
//   a run that ends normally;
// - the files it handles come from the file-list file o.log of the
//   temporary folder when there is one, else from the job's source folder;
// - one-off runs report to the monitor window (codes 400, 401, 403, 404)
//   and through the main window's relay fields and messages, a file a
//   second, then close the monitor window with 1244;
// - in scan mode it rescans at the job's interval until it is terminated;
// - it writes ombrello_zandrix.log in the temporary folder.
// Started without "G|" it only waits to be terminated, as a process named
// like the engine for the stop tool's tests.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/pages.h"
#include "job/paths.h"
#include "launch/engine_files.h"
#include "launch/monitor_protocol.h"
#include "resources/main_ids.h"
#include "tests/engine_double/engine_rules.h"

namespace {

struct Job {
    std::string path;
    std::string source;
    int recurse;
    int imageType;
    int eraseLog;
    int scan;
    long scanDelay;
    long scanMinutes;
};

std::string ReadText(const char* section, const char* key, const char* path) {
    char value[kPathSize];
    GetPrivateProfileStringA(section, key, "", value, sizeof value, path);
    return value;
}

long ReadNumber(const char* section, const char* key, int fallback, const char* path) {
    return static_cast<long>(static_cast<int>(GetPrivateProfileIntA(section, key, fallback, path)));
}

// The keys the double acts on, by their names in the job file; the
// defaults are those a reader of the job file applies.
Job ReadJob(const std::string& path) {
    const char* file = path.c_str();
    Job job;
    job.path = path;
    job.source = ReadText("FOLDERS", "source", file);
    job.recurse = ReadNumber("PARAMS", "recurse", 0, file) != 0;
    job.imageType = static_cast<int>(ReadNumber("PARAMS", "image_type", 1, file));
    job.eraseLog = ReadNumber("PARAMS", "erase_log", 1, file) == 1;
    job.scan = ReadNumber("PARAMS", "scan", 0, file) != 0;
    job.scanDelay = ReadNumber("PARAMS", "scan_delay", 0, file);
    job.scanMinutes = ReadNumber("PARAMS", "scan_minutes", 1, file);
    return job;
}

std::string TempFolder() {
    char temp[kPathSize + 1];
    DWORD length = GetTempPathA(sizeof temp, temp);
    return length == 0 || length >= sizeof temp ? std::string() : std::string(temp, length);
}

std::string LogPath() {
    char path[kPathSize];
    return BuildEngineLogPath(TempFolder().c_str(), path) ? path : "";
}

// Adds text to the log; replace starts the log afresh.
void WriteLog(const std::string& text, bool replace) {
    HANDLE file = CreateFileA(LogPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              replace ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void WalkFolder(const std::string& folder, int recurse, std::vector<std::string>* files) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string path = folder + "\\" + entry.cFileName;
        CollapseFolderPath(&path[0]);
        path = path.c_str();
        if (recurse && IsEnteredFolder(entry.cFileName, entry.dwFileAttributes)) WalkFolder(path, recurse, files);
        if (IsListedPdf(entry.cFileName, entry.dwFileAttributes, entry.nFileSizeLow)) files->push_back(path);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

// The files of this run and where they came from.
std::vector<std::string> FilesToHandle(const Job& job, std::string* origin) {
    std::vector<std::string> files;
    char list[kPathSize];
    if (BuildFileListPath(TempFolder().c_str(), list) && GetFileAttributesA(list) != INVALID_FILE_ATTRIBUTES) {
        *origin = std::string("the file list ") + list;
        for (int i = 0;; ++i) {
            std::string entry = ReadText("FILES", std::to_string(i).c_str(), list);
            if (entry.empty()) break;
            files.push_back(entry);
        }
        return files;
    }
    *origin = "the source folder " + job.source + (job.recurse ? " and its subfolders" : "");
    if (!job.source.empty()) WalkFolder(job.source, job.recurse, &files);
    return files;
}

std::string LogHeader(const Job& job) {
    const char* label = FormatLabel(job.imageType);
    return "Ombrello_zandrix engine stand-in, a test double: it converts nothing.\r\n"
           "Command line: " + std::string(GetCommandLineA()) + "\r\n" +
           "Job file: " + job.path + "\r\n" +
           "Output format: " + (label != nullptr ? label : "unknown") + " (image_type " +
           std::to_string(job.imageType) + ")\r\n";
}

void RecordProcess(const Job& job, unsigned long id) {
    WritePrivateProfileStringA("PROCESS", "ID", std::to_string(id).c_str(), job.path.c_str());
}

// The configurator's windows, found by their fixed titles.
struct Windows {
    HWND main;
    HWND monitor;
};

BOOL CALLBACK MatchMonitor(HWND window, LPARAM param) {
    Windows* windows = reinterpret_cast<Windows*>(param);
    char title[64];
    if (GetWindow(window, GW_OWNER) != windows->main || !IsWindowVisible(window) ||
        GetWindowTextA(window, title, sizeof title) == 0 || lstrcmpA(title, kMonitorWindowTitle) != 0)
        return TRUE;
    windows->monitor = window;  // the topmost one is the newest
    return FALSE;
}

Windows FindWindows() {
    Windows windows{FindWindowA("#32770", kMainWindowTitle), nullptr};
    if (windows.main != nullptr) EnumWindows(MatchMonitor, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr) return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &ignored);
}

void Code(const Windows& windows, int code, LPARAM value) { Send(windows.monitor, WM_COMMAND, static_cast<WPARAM>(code), value); }

// Puts the text into a relay field, then asks the main window to pass it on.
void Relay(const Windows& windows, int field, RelayMessage message, const std::string& text) {
    if (windows.main == nullptr) return;
    std::string shown = text.substr(0, kRelayTextMax);
    Send(GetDlgItem(windows.main, field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    Send(windows.main, message, 0, 0);
}

int RunOnce(const Job& job) {
    std::string origin;
    std::vector<std::string> files = FilesToHandle(job, &origin);
    Windows windows = FindWindows();
    WriteLog(LogHeader(job) + "Monitor window: " + (windows.monitor != nullptr ? "found" : "none") +
                 "\r\nFiles from " + origin + "\r\n",
             job.eraseLog != 0);
    Code(windows, kMonitorFirstRange, 0);
    Code(windows, kMonitorSecondRange, 0);
    Relay(windows, IDC_ST_RELAY_2, kRelayLine3, "Stand-in engine: nothing is converted");
    if (files.empty()) {
        Relay(windows, IDC_ST_RELAY_1, kRelayLine1, "No PDF file to handle");
        Sleep(1000);
    }
    const size_t count = files.size();
    for (size_t i = 0; i < count; ++i) {
        Relay(windows, IDC_ST_RELAY_1, kRelayLine1,
              "File " + std::to_string(i + 1) + " of " + std::to_string(count));
        Relay(windows, IDC_ST_RELAY_2, kRelayLine2, files[i]);
        for (int step = 0; step <= 10; ++step) {
            Code(windows, kMonitorFirstPos, step * 10);
            if (step < 10) Sleep(100);
        }
        WriteLog(files[i] + ": handled, not converted\r\n", false);
        Code(windows, kMonitorSecondPos, static_cast<LPARAM>((i + 1) * 100 / count));
    }
    WriteLog(std::to_string(count) + " file(s) handled, none converted.\r\n", false);
    Send(windows.main, kRelayClose, 0, 1);
    RecordProcess(job, 0);
    return 0;
}

// Runs until it is terminated (Stop scan or the stop tool).
int RunScan(const Job& job) {
    unsigned long seconds = ScanIntervalSeconds(job.scanDelay, job.scanMinutes);
    WriteLog(LogHeader(job) + "Scan mode: a scan every " + std::to_string(seconds) + " s\r\n", job.eraseLog != 0);
    for (unsigned long round = 1;; ++round) {
        std::string origin;
        std::vector<std::string> files = FilesToHandle(job, &origin);
        std::string text = "Scan " + std::to_string(round) + ": " + std::to_string(files.size()) +
                           " file(s) from " + origin + "\r\n";
        for (const std::string& file : files) text += file + ": handled, not converted\r\n";
        WriteLog(text, false);
        Sleep(seconds * 1000);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* jobPath = JobPathAfterMarker(GetCommandLineA());
    if (jobPath == nullptr) {
        Sleep(10 * 60 * 1000);
        return 3;
    }
    if (jobPath[0] == '\0' || std::string(jobPath).size() > kPathMax) return 2;
    Job job = ReadJob(jobPath);
    RecordProcess(job, GetCurrentProcessId());
    return job.scan ? RunScan(job) : RunOnce(job);
}
