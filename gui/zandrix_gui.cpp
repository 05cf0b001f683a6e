// zandrix_gui: the configurator of conversion jobs. Takes no arguments.
#include <windows.h>

#include "gui/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunConfigurator(instance); }
