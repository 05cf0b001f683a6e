// The Windows engine, ombrello_zandrix.exe. The configurator starts it with
// its own path, a blank, "G|" and the job file path (unquoted, blanks
// included, to the end of the line); it converts as the job says and, in a
// one-off run, reports to the configurator's monitor window. A GUI program,
// so no console window appears beside the configurator.
#include <windows.h>

#include <cstring>
#include <string>

#include "engine/file_system.h"
#include "engine/monitor_report_win32.h"
#include "engine/plan.h"
#include "engine/run.h"
#include "job/job_access.h"
#include "job/paths.h"
#include "job/platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* marker = std::strstr(GetCommandLineA(), "G|");
    if (marker == nullptr || marker[2] == '\0') return kRunCannotStart;
    std::string job = marker + 2;
    if (job.size() > kPathMax) return kRunCannotStart;

    EngineSetup setup;
    std::string executable;
    if (platform::GetExecutablePath(&executable)) setup.programFolder = FolderOf(executable);
    platform::GetTempFolder(&setup.tempFolder);
    setup.processId = fsys::CurrentProcessId();

    // A hot-folder scan runs without a monitor window; only a one-off run
    // has one to follow it.
    MonitorProgress monitor;
    NoProgress quiet;
    bool scan = ReadJobInt(kKeyScan, job.c_str()) != 0;
    return RunEngine(job, setup, scan ? static_cast<Progress&>(quiet) : static_cast<Progress&>(monitor));
}
