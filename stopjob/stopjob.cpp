// stopjob: stops a running conversion engine from outside the configurator.
// It reads the engine's process identifier from the default job file beside
// its own executable, terminates that process, and says something only when
// there was nothing to stop or the stop failed. It never writes the job file.
#include <windows.h>

#include "job/job_keys.h"
#include "job/paths.h"
#include "job/profile.h"
#include "launch/engine_process.h"

namespace {

const char kCaption[] = "Ombrello_zandrix";
const char kJobFileName[] = "Ombrello_zandrix.ini";

void Warn(const char* text) {
    MessageBoxA(GetForegroundWindow(), text, kCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A program folder too long for a path names no job file: nothing is recorded.
    char jobPath[kPathSize];
    unsigned long processId = 0;
    if (FileBesideProgram(kJobFileName, jobPath)) {
        const JobKey& id = JobKeyAt(kKeyProcessId);
        processId = ProfileReadInt(id.section, id.key, id.defaultNumber, jobPath);
    }
    if (processId == 0) {
        Warn("No process found...");
        return 0;
    }
    if (!TerminateEngineProcess(processId)) Warn("Cannot kill the process...");
    return 1;
}
