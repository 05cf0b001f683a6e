// Program Manager's DDE interface, through which the installer creates the
// product's program group and the uninstaller removes it.
#pragma once

#ifdef _WIN32
// Sends each command in a conversation of its own with Program Manager
// ("PROGMAN" as service and topic). Results are not examined: without
// Program Manager nothing happens.
void SendProgmanCommands(const char* const commands[], int count);
#endif
