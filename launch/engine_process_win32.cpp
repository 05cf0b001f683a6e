// Terminating the recorded engine process. The 32-bit programs must work on
// every Windows that the common controls 6 manifest serves, older ones
// included: the access mask is the one those systems accept, and the image
// name function is looked up at run time.
#include "launch/engine_process.h"

#include <windows.h>

#include "launch/engine_command.h"

namespace {

// All access as the older systems define it; their OpenProcess refuses the
// wider mask of today's headers.
const DWORD kAllAccessCompatible = 0x1F0FFF;

typedef BOOL(WINAPI* QueryImageName)(HANDLE, DWORD, LPSTR, PDWORD);
typedef DWORD(WINAPI* ImageFileName)(HANDLE, LPSTR, DWORD);

// The executable path of a process (in the system's device form on older
// Windows, which still ends in the file name). False when no way worked.
bool ProcessImagePath(HANDLE process, char* out, DWORD size) {
    QueryImageName query = reinterpret_cast<QueryImageName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    DWORD length = size;
    if (query != nullptr && query(process, 0, out, &length)) return true;
    HMODULE psapi = LoadLibraryA("psapi.dll");
    if (psapi == nullptr) return false;
    ImageFileName image = reinterpret_cast<ImageFileName>(
        reinterpret_cast<void*>(GetProcAddress(psapi, "GetProcessImageFileNameA")));
    bool found = image != nullptr && image(process, out, size) != 0;
    FreeLibrary(psapi);
    return found;
}

}  // namespace

int IsEngineImage(const char* imagePath) {
    if (imagePath == nullptr) return 0;
    char longPath[MAX_PATH * 4];
    DWORD length = GetLongPathNameA(imagePath, longPath, sizeof longPath);
    if (length > 0 && length < sizeof longPath) return IsEngineImagePath(longPath);
    return IsEngineImagePath(imagePath);
}

int TerminateEngineProcess(unsigned long processId) {
    HANDLE process = OpenProcess(kAllAccessCompatible, FALSE, processId);
    if (process == nullptr) return 0;
    // The open handle keeps the identifier from being reused while we look.
    char image[MAX_PATH * 4];
    int terminated = 0;
    // A process that has ended but is still held open by someone is gone all the same.
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    if (running && ProcessImagePath(process, image, sizeof image) && IsEngineImage(image))
        terminated = TerminateProcess(process, 0) ? 1 : 0;
    CloseHandle(process);
    return terminated;
}
