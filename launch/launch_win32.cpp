// Launch, Stop scan and Last log of the configurator's main window.
#include "launch/launch_win32.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "job/form_binding.h"
#include "job/job_keys.h"
#include "job/paths.h"
#include "job/profile.h"
#include "lang/language_tables.h"
#include "lang/language_win32.h"
#include "launch/engine_command.h"
#include "launch/engine_files.h"
#include "launch/engine_process.h"
#include "resources/main_ids.h"

namespace {

const DWORD kNormalPriorityClass = 32;
const DWORD kPauseBeforeEngineMs = 300;

void Warn(HWND owner, const char* text) {
    MessageBoxA(owner, text, kMessageCaption, MB_OK | MB_ICONWARNING);
}

// The engine's path is the command line up to " G|". Naming it on its own
// keeps a program folder with blanks (C:\Program Files\...) from being read
// as C:\Program.exe and its arguments; the engine still receives the whole
// line, its own path first.
bool EnginePathOf(const char* commandLine, char out[kPathSize]) {
    const char* marker = std::strstr(commandLine, " G|");
    if (marker == nullptr || marker - commandLine >= kPathSize) return false;
    size_t length = static_cast<size_t>(marker - commandLine);
    std::memcpy(out, commandLine, length);
    out[length] = '\0';
    return true;
}

void StartEngine(char* commandLine) {
    char engine[kPathSize];
    if (!EnginePathOf(commandLine, engine)) return;
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION started;
    if (CreateProcessA(engine, commandLine, nullptr, nullptr, FALSE, kNormalPriorityClass, nullptr, nullptr,
                       &startup, &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

// The log's path in a temporary folder too long to name it, for the message.
// Some systems give no temporary folder at all past MAX_PATH; the variables
// it comes from still name it then.
std::string LogPathTooLong() {
    std::string folder(GetTempPathA(0, nullptr) + 1, '\0');
    GetTempPathA(static_cast<DWORD>(folder.size()), &folder[0]);
    folder.resize(std::strlen(folder.c_str()));
    for (const char* variable : {"TMP", "TEMP"}) {
        if (!folder.empty()) break;
        folder.assign(GetEnvironmentVariableA(variable, nullptr, 0) + 1, '\0');
        GetEnvironmentVariableA(variable, &folder[0], static_cast<DWORD>(folder.size()));
        folder.resize(std::strlen(folder.c_str()));
    }
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder + "\\" + kEngineLogName;
}

}  // namespace

void LaunchJob(HWND mainWindow, JobForm& form, const char* jobPath, const ProgramValues& values) {
    if (SaveJob(form, jobPath, values) != 1) {
        ShowLanguageMessageAt(mainWindow, kMsgSaveSetup, nullptr);
        return;
    }
    // Re-derived now: nothing remembered from start-up decides which engine runs.
    char drive[kDriveSize];
    char dir[kPathSize];
    char commandLine[kEngineCommandSize];
    if (!GetProgramFolder(drive, dir) ||
        !BuildEngineCommandLine(drive, dir, jobPath, commandLine, sizeof commandLine))
        return;
    if (IsDlgButtonChecked(mainWindow, IDC_CK_SCAN) != BST_CHECKED) {
        OpenMonitorWindow(mainWindow);
        // The engine looks for the monitor window as it starts.
        Sleep(kPauseBeforeEngineMs);
    }
    StartEngine(commandLine);
}

void StopScan(HWND mainWindow, const char* jobPath) {
    const JobKey& id = JobKeyAt(kKeyProcessId);
    unsigned processId = ProfileReadInt(id.section, id.key, id.defaultNumber, jobPath);
    if (processId == 0) {
        ShowLanguageMessageAt(mainWindow, kMsgNoProcess, nullptr);
        return;
    }
    if (TerminateEngineProcess(processId)) {
        ProfileWriteString(id.section, id.key, "0", jobPath);
    } else {
        ShowLanguageMessageAt(mainWindow, kMsgStopJob, nullptr);
    }
    Warn(mainWindow, "OK");
}

void OpenLastLog(HWND mainWindow) {
    char temp[kPathSize + 1];
    DWORD length = GetTempPathA(sizeof temp, temp);
    char log[kPathSize];
    if (length == 0 || length >= sizeof temp || !BuildEngineLogPath(temp, log)) {
        // Opening a shortened path would show another file, or none at all.
        ShowLanguageMessageAt(mainWindow, kMsgPathTooLong, LogPathTooLong().c_str());
        return;
    }
    INT_PTR answer = reinterpret_cast<INT_PTR>(ShellExecuteA(mainWindow, "open", log, nullptr, nullptr, SW_SHOWNORMAL));
    if (answer == SE_ERR_FNF) {
        ShowLanguageMessageAt(mainWindow, kMsgNoLog, nullptr);
    } else if (answer == SE_ERR_NOASSOC) {
        // The system's own rundll32, by its full path: a bare name would be
        // searched for first beside the program and in the current folder.
        char parameters[kPathSize + 64];
        char system[kPathSize];
        UINT systemLength = GetSystemDirectoryA(system, sizeof system);
        std::string rundll = systemLength > 0 && systemLength < sizeof system ? std::string(system) + "\\rundll32.exe"
                                                                   : std::string("rundll32.exe");
        if (BuildOpenWithParameters(temp, parameters, sizeof parameters))
            ShellExecuteA(mainWindow, "open", rundll.c_str(), parameters, nullptr, SW_SHOWNORMAL);
    }
}
