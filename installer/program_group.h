// The product's program group: made through Program Manager's DDE interface
// and, when that conversation cannot be had or refuses a command, as a
// folder of shortcuts in the common Start Menu's Programs folder. The
// installer creates it and the uninstaller removes it, either way.
#pragma once

#ifdef _WIN32
// Sends each command in a conversation of its own with Program Manager
// ("PROGMAN" as service and topic). Returns how many of them Program
// Manager carried out; carriedOut, when given, receives each command's
// outcome. Without Program Manager nothing happens and 0 is returned.
int SendProgmanCommands(const char* const commands[], int count, bool carriedOut[] = nullptr);

// Creates the group's folder in the common Programs folder and a shortcut
// for each item of kGroupItems, opening its file of the install folder
// (whose folder is also its working folder). Wants COM on the thread.
// Returns 1 when every shortcut was saved.
int CreateShortcutGroup(const char* installFolder);

// Removes the shortcuts CreateShortcutGroup makes, then their folder when
// nothing else is left in it.
void RemoveShortcutGroup();
#endif
