// One run of the engine on a job file: the process record, the log, the
// files converted in parallel (one worker per core, the pages of a large
// PDF shared between them), the sources moved, deleted or left, and in
// scan mode the hot folder watched until the process is terminated. The
// Windows program and the native command both call RunEngine.
#pragma once

#include <functional>
#include <string>

#include "engine/progress.h"

struct EngineSetup {
    std::string programFolder;         // fonts and poppler's data beside the program
    std::string tempFolder;            // o.log and the log ombrello_zandrix.log
    unsigned long processId = 0;       // written to [PROCESS] ID while the run lasts
    int workers = 0;                   // 0: one per processor
    // Asked often; true ends the run as a termination would, but cleanly
    // (tests; the Windows program's own stop). Null: never.
    std::function<bool()> stopRequested;
    // Scan mode: the number of scans before the run ends by itself (tests);
    // 0 scans until stopped or terminated.
    int scanRounds = 0;
};

// Exit codes of a run.
enum RunResult {
    kRunAllConverted = 0,  // every file converted (also: no file to convert)
    kRunSomeFailed = 1,    // at least one file failed; the log says why
    kRunCannotStart = 2,   // the job cannot run at all (no target folder); nothing touched
    kRunStopped = 3        // stopped before the end
};

int RunEngine(const std::string& jobPath, const EngineSetup& setup, Progress& progress);
