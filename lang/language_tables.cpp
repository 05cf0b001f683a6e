// The language tables: keys, the controls and menu items they name, and the
// messages with their boxes.
#include "lang/language_tables.h"

#include "job/profile.h"

const char kSectionMain[] = "MAIN";
const char kSectionButtons[] = "BUTTONS";
const char kSectionMenu[] = "MENU1";
const char kSectionInputTab[] = "TAB1";
const char kSectionOutputTab[] = "TAB2";
const char kSectionMonitor[] = "MONITOR";
const char kSectionMisc[] = "MISC";
const char kSectionErrors[] = "ERRORS";
const char kSectionQuestions[] = "QUESTIONS";
const char kSectionSelect[] = "SELECT";
const char kKeyLanguageNumber[] = "main";

const char kMessageCaption[] = "Ombrello_zandrix";
const char kLogMessageCaption[] = "Ombrello";

const ControlText kButtonTexts[] = {
    {"1", 1}, {"2", 1117}, {"3", 2}, {"4", 1061}, {"5", 1017}, {"6", 1121},
};
const size_t kButtonTextCount = sizeof kButtonTexts / sizeof kButtonTexts[0];

// The "&Ombrello" menu, the "Language" submenu and its two items have no key:
// they read the same in every language.
const MenuText kMenuTexts[] = {
    {"10", kMenuByCommand, 1054},
    {"11", kMenuByCommand, 2},
    {"20", kMenuByPosition, 1},
    {"22", kMenuByCommand, 1029},
    {"21", kMenuByCommand, 40003},
    {"30", kMenuByPosition, 2},
    {"31", kMenuByCommand, 1013},
    {"32", kMenuByCommand, 1030},
};
const size_t kMenuTextCount = sizeof kMenuTexts / sizeof kMenuTexts[0];

const ControlText kMonitorTexts[] = {
    {"IDC_S1", 1014},
    {"IDC_S2", 1001},
    {"IDC_S3", 1015},
    {"IDC_S5", 1080},
    {"IDC_S10", 1078},
    {"IDC_S100", 1081},
    {"IDC_S101", 1082},
    {"IDC_S102", 1093},
    {"IDC_SS1", 1018},
    {"IDC_SS3", 1021},
    {"IDC_SS4", 1166},
    {"IDC_ST10", 1069},
    {"IDC_RECURSE", 1005},
    {"IDC_RADIOMOVE", 1083},
    {"IDC_CHECK4", 1031},
    {"IDC_CHECK5", 1040},
    {"IDC_CHECK6", 1045},
    {"IDC_CHECK7", 1048},
    {"IDC_CHECK8", 1053},
    {"IDC_CHECK9", 1050},
    {"IDC_CHECK10", 1099},
    {"IDC_CHECK11", 1086},
    {"IDC_CHECK12", 1087},
    {"IDC_CHECK14", 1158},
    {"IDC_CHECK20", 1096},
    {"IDC_CHECK21", 1097},
    {"IDC_CHECK22", 1098},
    {"IDC_SHAVE_CHECK", 1112},
    {"IDC_SHAVE1", 1106},
    {"IDC_SHAVE2", 1107},
    {"IDC_BUTTON6", 1085},
    {"IDC_RADIO6", 1126},
    {"IDC_RADIO7", 1127},
    {"IDC_RADIO12", 1042},
    {"IDC_RADIO13", 1043},
    {"IDC_RADIO14", 1044},
    {"IDC_RADIO16", 1076},
    {"IDC_SWAIT", 1088},
    {"IDC_SWAIT2", 1089},
    {"IDC_KILL", 1090},
    {"IDC_ADJOIN_TIFF", 1006},
    {"IDC_COMPRESS", 1007},
    {"IDC_SM01", 1125},
    {"IDC_SC0", 1051},
    {"IDC_RAWTEXT", 1033},
    {"IDC_FORMATEDTEXT", 1034},
    {"IDC_SCOL", 1102},
    {"IDC_MARK_CRLF", 1135},
    {"IDC_HTML", 1035},
    {"IDC_JPEGST1", 1046},
    {"IDC_PNG_CHECK1", 1055},
    {"IDC_TIFF_V", 1072},
    {"IDC_TIFF_H", 1074},
    {"IDC_SOUTPUT", 1024},
    {"IDC_INFOS1", 1138},
    {"IDC_ERROR1", 1245},
    {"IDC_ERROR2", 1246},
    {"IDC_SERROR", 1248},
    {"IDC_EXTRACT", 1012},
    {"IDC_ROTATE", 1133},
    {"IDC_SP", 1136},
    {"IDC_RADIODELETE", 1084},
    {"IDC_RADIONOTHING", 1092},
    {"IDC_TRIM", 1131},
    {"IDC_RADIO1", 1159},
    {"IDC_RADIO2", 1160},
    {"IDC_CONTRAST", 1169},
    {"IDC_EQUALIZE", 1173},
    {"IDC_ADJOIN_PCX", 1559},
    {"IDC_GIF_INTERLACE", 1176},
    {"IDC_GIF_TRANSPARENCY", 1177},
    {"IDC_PNG_ST0", 1056},
    {"IDC_RTF_RAW", 1170},
    {"IDC_RTF_FORMATTED", 1171},
    {"IDC_SWF_S0", 1181},
    {"IDC_SWF_S1", 1183},
    {"IDC_SWF_CHECK1", 1180},
};
const size_t kMonitorTextCount = sizeof kMonitorTexts / sizeof kMonitorTexts[0];

const char* const kInputTabKeys[] = {"1", "2", "3", "4", "5", "6", "7"};
const size_t kInputTabKeyCount = sizeof kInputTabKeys / sizeof kInputTabKeys[0];
const char* const kOutputTabKeys[] = {"1", "2", "3", "4"};
const size_t kOutputTabKeyCount = sizeof kOutputTabKeys / sizeof kOutputTabKeys[0];

const BrowseTitle kBrowseTitles[] = {
    {1003, "source"}, {1004, "target"}, {1085, "moveto"}, {1095, "temp"}, {1249, "error"},
};
const size_t kBrowseTitleCount = sizeof kBrowseTitles / sizeof kBrowseTitles[0];

const char* const kSelectKeys[] = {"IDC_SF", "IDC_HEAD1", "IDC_HEAD2", "IDC_HEAD3", "IDC_HEAD4"};
const size_t kSelectKeyCount = sizeof kSelectKeys / sizeof kSelectKeys[0];

const char* BrowseTitleKey(int command) {
    for (const BrowseTitle& title : kBrowseTitles)
        if (title.command == command) return title.key;
    return nullptr;
}

namespace {

#define MESSAGE(id, section, key, kind, converted, withPath) \
    {id, section, key, kind, converted, withPath, kMessageCaption, nullptr}
#define NEWER_MESSAGE(id, section, key, kind, converted, withPath, english) \
    {id, section, key, kind, converted, withPath, kMessageCaption, english}

const LanguageMessage kMessages[kLanguageMessageCount] = {
    MESSAGE(kMsgIniFile, kSectionErrors, "ini_file", kMessageError, 0, 0),
    MESSAGE(kMsgSaveSetup, kSectionErrors, "save_setup", kMessageError, 0, 0),
    {kMsgNoLog, kSectionErrors, "no_log", kMessageInformation, 0, 0, kLogMessageCaption, nullptr},
    MESSAGE(kMsgNoIni, kSectionErrors, "no_ini", kMessageWarning, 1, 0),
    MESSAGE(kMsgNoProcess, kSectionErrors, "no_process", kMessageWarning, 0, 0),
    MESSAGE(kMsgStopJob, kSectionErrors, "stopjob", kMessageWarning, 0, 0),
    MESSAGE(kMsgNoSource, kSectionErrors, "no_source", kMessageWarning, 0, 0),
    MESSAGE(kMsgNoTempFolder, kSectionErrors, "no_temp_folder", kMessageQuestion, 1, 1),
    MESSAGE(kMsgNoMoveToFolder, kSectionErrors, "no_moveto_folder", kMessageWarning, 0, 0),
    MESSAGE(kMsgNoMoveErrorFolder, kSectionErrors, "no_moveerror_folder", kMessageWarning, 0, 0),
    MESSAGE(kMsgScan, kSectionErrors, "scan", kMessageWarning, 1, 0),
    MESSAGE(kMsgScanDelay, kSectionErrors, "scan_delay", kMessageWarning, 0, 0),
    MESSAGE(kMsgNoTargetFolder, kSectionErrors, "no_target_folder", kMessageWarning, 0, 0),
    MESSAGE(kMsgFirstPage, kSectionErrors, "first_page", kMessageError, 1, 0),
    MESSAGE(kMsgLastPage, kSectionErrors, "last_page", kMessageError, 0, 0),
    MESSAGE(kMsgPrefix, kSectionErrors, "prefix", kMessageError, 1, 0),
    MESSAGE(kMsgSize, kSectionErrors, "size", kMessageWarning, 0, 0),
    // A save that could not write the job file: the path is the job file's.
    NEWER_MESSAGE(kMsgWriteFailed, kSectionErrors, "write_failed", kMessageError, 1, 1,
                  "The job file could not be written:||{%s||It is read-only, locked by another program, "
                  "or its folder is missing.|The save stopped there: the job is not saved."),
    MESSAGE(kMsgNoFolder, kSectionQuestions, "no_folder", kMessageQuestion, 1, 1),
    MESSAGE(kMsgDeletePdf, kSectionQuestions, "delete_pdf", kMessageConfirmation, 1, 0),
    // A typed or stored path that does not fit a path buffer: the path whole.
    NEWER_MESSAGE(kMsgPathTooLong, kSectionErrors, "path_too_long", kMessageError, 1, 1,
                  "This path is too long:||{%s||A path may have at most 259 characters. Choose a shorter "
                  "name or a folder nearer the top of the drive."),
};

#undef MESSAGE
#undef NEWER_MESSAGE

}  // namespace

const LanguageMessage& LanguageMessageAt(LanguageMessageId id) { return kMessages[id]; }

const LanguageMessage* FindLanguageMessage(const char* section, const char* key) {
    if (section == nullptr || key == nullptr) return nullptr;
    for (const LanguageMessage& message : kMessages)
        if (SameProfileName(message.section, section) && SameProfileName(message.key, key)) return &message;
    return nullptr;
}

int BuildLanguageMessage(const LanguageMessage& message, const char* path,
                         char out[kLanguageTextSize]) {
    const char* text = ReadLanguageText(message.section, message.key);
    if (text[0] == '\0' && message.builtInText != nullptr) text = message.builtInText;
    if (message.converted) text = ConvertMessageText(text);
    if (message.withPath) return FormatFolderMessage(text, path, out, kLanguageTextSize);
    return CopyBounded(out, kLanguageTextSize, text);
}
