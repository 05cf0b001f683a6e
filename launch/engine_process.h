// Terminating the running conversion engine by its recorded process
// identifier (Windows only): used by the stop tool and by the configurator's
// Stop scan command.
#pragma once

// Opens the process with all access and terminates it with exit code 0, but
// only when its executable is the engine: an identifier that the engine left
// behind may since have gone to another program, which must be left alone.
// Returns 1 when the engine was terminated, 0 otherwise.
int TerminateEngineProcess(unsigned long processId);

// Whether a process's executable path names the engine, compared by long
// names: an engine started through a short 8.3 path (OMBREL~1.EXE) is the
// engine all the same. A path whose long form cannot be had is compared as
// it stands.
int IsEngineImage(const char* imagePath);
