// Terminating the recorded engine process.
#include "launch/engine_process.h"

#include <windows.h>

#include "launch/engine_command.h"

int TerminateEngineProcess(unsigned long processId) {
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
    if (process == nullptr) return 0;
    // The open handle keeps the identifier from being reused while we look.
    char image[MAX_PATH * 4];
    DWORD size = sizeof image;
    int terminated = 0;
    // A process that has ended but is still held open by someone is gone all the same.
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    if (running && QueryFullProcessImageNameA(process, 0, image, &size) && IsEngineImagePath(image))
        terminated = TerminateProcess(process, 0) ? 1 : 0;
    CloseHandle(process);
    return terminated;
}
