// Terminating the running conversion engine by its recorded process
// identifier (Windows only): used by the stop tool and by the configurator's
// Stop scan command.
#pragma once

// Opens the process with all access and terminates it with exit code 0, but
// only when its executable is the engine: an identifier that the engine left
// behind may since have gone to another program, which must be left alone.
// Returns 1 when the engine was terminated, 0 otherwise.
int TerminateEngineProcess(unsigned long processId);
