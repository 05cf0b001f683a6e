// The language file in use and the reading of its texts: which file holds
// the words of the configurator's main window, how a text is read from it,
// how message texts are converted and how a folder path is put into a
// question. Portable: nothing here touches a window.
#pragma once

#include <cstddef>

#include "job/paths.h"

enum {
    kLanguageTextSize = 1024,   // every text read, terminator included
    kLanguageNumberSize = 4,    // [MAIN] main: at most three digits
    kSelectHeaderSize = 128     // [SELECT] IDC_HEAD2 to IDC_HEAD4
};

enum {
    kLanguageEnglish = 1,
    kLanguageFrench = 33
};

// The menu commands that switch the language.
enum {
    kCommandFrench = 40006,
    kCommandEnglish = 40007
};

extern const char kEnglishLanguageFile[];  // "001.lng"
extern const char kFrenchLanguageFile[];   // "033.lng"

// Sets the language file in use. A path longer than kPathMax is refused:
// the function returns 0 and no file is in use, so every text reads empty.
int SetLanguageFile(const char* path);

// The language file in use ("" when none).
const char* LanguageFile();

// How many bytes a read of that key may fill, terminator included:
// kLanguageNumberSize for [MAIN] main, kSelectHeaderSize for the three
// narrow column headers, kLanguageTextSize for every other key.
unsigned long LanguageReadSize(const char* section, const char* key);

// Reads a text of the language file in use, unconverted, with the default ""
// and the size limit of LanguageReadSize. The result lives in a shared
// buffer that the next read overwrites; a missing file or key gives "".
const char* ReadLanguageText(const char* section, const char* key);

// The same from a named language file.
const char* ReadLanguageTextFrom(const char* path, const char* section, const char* key);

// Converts a message text: every "|" becomes a line feed (byte 10) and every
// "{" a tab (byte 9), so the result has the input's length (cut to 1023
// characters). The result lives in a shared buffer that the next conversion
// overwrites; null converts to "".
const char* ConvertMessageText(const char* text);

// Puts a folder path into a question text: the first "%s" is replaced by the
// folder, every other character, other "%" included, is copied as it stands.
// The text is never used as a printf format. out receives at most size-1
// characters and a terminator; returns 1 when the whole message fitted, 0
// when it was cut short (or out could hold nothing).
int FormatFolderMessage(const char* text, const char* folder, char* out, size_t size);

// The language file chosen at start-up: [MAIN] main of the English file
// beside the program names the file to use, "<main>.lng" in the same folder
// (an empty value gives the bare ".lng"). Returns 0, with out empty, when a
// path would not fit.
int StartupLanguagePath(const char* drive, const char* dir, char out[kPathSize]);

// The language file of a language code: 1 gives the English file, 33 the
// French file beside the program; any other code keeps fallbackPath (the
// start-up choice). Returns 0, with out empty, when the path would not fit.
int LanguagePathForCode(int code, const char* drive, const char* dir, const char* fallbackPath,
                        char out[kPathSize]);

// The language code a menu command selects: 33 for kCommandFrench, 1 for
// kCommandEnglish, 0 for any other command.
int LanguageCodeForCommand(int command);
