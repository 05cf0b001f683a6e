// What the language file's keys are applied to, as plain data: the main
// window's buttons, menu items, tab labels and control texts, the titles of
// the folder choosers, the file selection dialog's texts and every message
// with its box. Applying and showing them (language_win32.cpp) and the tests
// read these tables; no other code spells a language section or key.
#pragma once

#include <cstddef>

#include "lang/language.h"

extern const char kSectionMain[];       // "MAIN"
extern const char kSectionButtons[];    // "BUTTONS"
extern const char kSectionMenu[];       // "MENU1"
extern const char kSectionInputTab[];   // "TAB1"
extern const char kSectionOutputTab[];  // "TAB2"
extern const char kSectionMonitor[];    // "MONITOR"
extern const char kSectionMisc[];       // "MISC"
extern const char kSectionErrors[];     // "ERRORS"
extern const char kSectionQuestions[];  // "QUESTIONS"
extern const char kSectionSelect[];     // "SELECT"
extern const char kKeyLanguageNumber[]; // "main"

// A key whose text goes onto a control of the main window.
struct ControlText {
    const char* key;
    int control;
};

// The six buttons of [BUTTONS].
extern const ControlText kButtonTexts[];
extern const size_t kButtonTextCount;

// The controls of [MONITOR], in the order their texts are applied.
extern const ControlText kMonitorTexts[];
extern const size_t kMonitorTextCount;

enum MenuAddress {
    kMenuByCommand,   // item is a command identifier
    kMenuByPosition   // item is the position of a top-level menu, which keeps its drop-down menu
};

struct MenuText {
    const char* key;
    MenuAddress address;
    int item;
};

// The menu items of [MENU1], in the order they are applied.
extern const MenuText kMenuTexts[];
extern const size_t kMenuTextCount;

// The tab labels: key n names tab n - 1. The input tab has seven, the output
// tab four (its format tabs keep fixed names).
extern const char* const kInputTabKeys[];
extern const size_t kInputTabKeyCount;
extern const char* const kOutputTabKeys[];
extern const size_t kOutputTabKeyCount;

// The folder choosers' titles in [MISC], by browse command.
struct BrowseTitle {
    int command;
    const char* key;
};
extern const BrowseTitle kBrowseTitles[];
extern const size_t kBrowseTitleCount;

// The [MISC] key of a browse command's title; null for any other command.
const char* BrowseTitleKey(int command);

// The file selection dialog's texts in [SELECT]: the label of the selection
// list, then the four column headers.
extern const char* const kSelectKeys[];
extern const size_t kSelectKeyCount;

enum MessageKind {
    kMessageWarning,      // OK, warning icon
    kMessageError,        // OK, error icon
    kMessageInformation,  // OK, information icon
    kMessageQuestion,     // Yes and No, question icon
    kMessageConfirmation  // OK and Cancel, error icon
};

enum LanguageMessageId {
    kMsgIniFile,
    kMsgSaveSetup,
    kMsgNoLog,
    kMsgNoIni,
    kMsgNoProcess,
    kMsgStopJob,
    kMsgNoSource,
    kMsgNoTempFolder,
    kMsgNoMoveToFolder,
    kMsgNoMoveErrorFolder,
    kMsgScan,
    kMsgScanDelay,
    kMsgNoTargetFolder,
    kMsgFirstPage,
    kMsgLastPage,
    kMsgPrefix,
    kMsgSize,
    kMsgWriteFailed,
    kMsgNoFolder,
    kMsgDeletePdf,
    kMsgPathTooLong,
    kLanguageMessageCount
};

struct LanguageMessage {
    LanguageMessageId id;
    const char* section;
    const char* key;
    MessageKind kind;
    int converted;   // 1: "|" and "{" become a line feed and a tab
    int withPath;    // 1: the first "%s" receives a folder or file path
    const char* caption;
    // For keys newer than some translations: the English text shown when the
    // language file in use has none, rather than an empty box. Null for the others.
    const char* builtInText;
};

extern const char kMessageCaption[];     // "Ombrello_zandrix"
extern const char kLogMessageCaption[];  // "Ombrello"

// Entry by identifier; every identifier below kLanguageMessageCount has one.
const LanguageMessage& LanguageMessageAt(LanguageMessageId id);

// Looks a message up by section and key, without regard to case; null when
// no message has that key.
const LanguageMessage* FindLanguageMessage(const char* section, const char* key);

// Builds the text a message box shows: the text of the language file in use
// (or, when that has none, the message's built-in English text), converted
// when the message says so, with path in place of its first "%s"
// when it takes one (a null path counts as ""). Returns 0 when the text had
// to be cut short.
int BuildLanguageMessage(const LanguageMessage& message, const char* path,
                         char out[kLanguageTextSize]);
