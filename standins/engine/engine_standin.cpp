// A stand-in for the conversion engine, which another maker supplies: it
// only stays alive until it is terminated (or for ten minutes), so that the
// tests have a process named like the engine to stop.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Sleep(10 * 60 * 1000);
    return 3;
}
