// The language texts on real windows: the main dialog's buttons, menu, tab
// labels and control texts, the message boxes of the language file and the
// language switch of the menu. Windows only; the tables it applies are in
// language_tables.h.
#pragma once

#include <windows.h>

#include "lang/language_tables.h"

// Sets every text of [BUTTONS], [MENU1], [TAB1], [TAB2] and [MONITOR] from
// the named language file on the main dialog, its menu and its two tab
// controls, in table order, then redraws the menu bar. A missing text is
// applied as an empty text; a null tab control is left alone.
void ApplyLanguageTexts(HWND dialog, HWND inputTab, HWND outputTab, const char* languagePath);

// Shows a message of the language file in use in a modal box owned by owner,
// with the icon, buttons, caption and conversion its table entry gives; path
// goes in place of the first "%s" of the messages that take one. Returns the
// button pressed (IDOK, IDYES, IDNO, IDCANCEL), 0 when the box could not be
// shown.
int ShowLanguageMessageAt(HWND owner, LanguageMessageId id, const char* path);

// The same by section and key; 0, and no box, when no message has that key.
int ShowLanguageMessage(HWND owner, const char* section, const char* key, const char* path);

// A question about a missing folder (Yes/No): 1 when the user answered Yes.
int AskFolderQuestion(HWND owner, LanguageMessageId id, const char* folder);

// A confirmation (OK/Cancel): 1 when the user pressed OK.
int ConfirmLanguageQuestion(HWND owner, LanguageMessageId id);

// Sets the check marks of the language menu items: "Français" for 33,
// "English" for 1, neither for any other code.
void ShowLanguageCheckMarks(HWND dialog, int code);

// Menu commands kCommandFrench and kCommandEnglish: moves the check mark,
// makes that language's file beside the program (drive, dir) the one in use
// and applies its texts. Returns the new language code, or 0 (nothing
// changed) for any other command.
int SwitchLanguage(HWND dialog, HWND inputTab, HWND outputTab, int command, const char* drive,
                   const char* dir);
