// The language file in use, the reading of its texts, message conversion
// and the folder question formatter.
#include "lang/language.h"

#include <cstring>

#include "job/profile.h"
#include "lang/language_tables.h"

const char kEnglishLanguageFile[] = "001.lng";
const char kFrenchLanguageFile[] = "033.lng";

namespace {

char gLanguageFile[kPathSize] = "";
char gText[kLanguageTextSize] = "";
char gMessage[kLanguageTextSize] = "";

// Appends up to length bytes of text at *used; false when out ran full.
bool Append(char* out, size_t size, size_t* used, const char* text, size_t length) {
    size_t room = size - 1 - *used;
    size_t taken = length < room ? length : room;
    std::memcpy(out + *used, text, taken);
    *used += taken;
    return taken == length;
}

}  // namespace


int SetLanguageFile(const char* path) {
    return CopyBounded(gLanguageFile, sizeof gLanguageFile, path);
}

const char* LanguageFile() { return gLanguageFile; }

unsigned long LanguageReadSize(const char* section, const char* key) {
    if (section == nullptr || key == nullptr) return kLanguageTextSize;
    if (SameProfileName(section, kSectionMain) && SameProfileName(key, kKeyLanguageNumber))
        return kLanguageNumberSize;
    if (SameProfileName(section, kSectionSelect) &&
        (SameProfileName(key, "IDC_HEAD2") || SameProfileName(key, "IDC_HEAD3") || SameProfileName(key, "IDC_HEAD4")))
        return kSelectHeaderSize;
    return kLanguageTextSize;
}

const char* ReadLanguageTextFrom(const char* path, const char* section, const char* key) {
    gText[0] = '\0';
    // A null key would list the section's keys, and an empty or over-long
    // path would name some other file: none of them is a language text.
    if (path == nullptr || path[0] == '\0' || std::strlen(path) > kPathMax || section == nullptr ||
        key == nullptr)
        return gText;
    ProfileReadString(section, key, "", gText, LanguageReadSize(section, key), path);
    return gText;
}

const char* ReadLanguageText(const char* section, const char* key) {
    return ReadLanguageTextFrom(gLanguageFile, section, key);
}

const char* ConvertMessageText(const char* text) {
    size_t i = 0;
    if (text != nullptr) {
        for (; text[i] != '\0' && i < sizeof gMessage - 1; ++i) {
            char c = text[i];
            gMessage[i] = c == '|' ? '\n' : c == '{' ? '\t' : c;
        }
    }
    gMessage[i] = '\0';
    return gMessage;
}

int FormatFolderMessage(const char* text, const char* folder, char* out, size_t size) {
    if (out == nullptr || size == 0) return 0;
    if (text == nullptr) text = "";
    if (folder == nullptr) folder = "";
    size_t used = 0;
    bool whole;
    const char* slot = std::strstr(text, "%s");
    if (slot == nullptr) {
        whole = Append(out, size, &used, text, std::strlen(text));
    } else {
        whole = Append(out, size, &used, text, static_cast<size_t>(slot - text)) &&
                Append(out, size, &used, folder, std::strlen(folder)) &&
                Append(out, size, &used, slot + 2, std::strlen(slot + 2));
    }
    out[used] = '\0';
    return whole ? 1 : 0;
}

int StartupLanguagePath(const char* drive, const char* dir, char out[kPathSize]) {
    char english[kPathSize];
    out[0] = '\0';
    if (!JoinBesideProgram(drive, dir, kEnglishLanguageFile, kDirSeparator, english)) return 0;
    char name[kLanguageNumberSize + sizeof ".lng"];
    std::strcpy(name, ReadLanguageTextFrom(english, kSectionMain, kKeyLanguageNumber));
    std::strcat(name, ".lng");
    return JoinBesideProgram(drive, dir, name, kDirSeparator, out);
}

int LanguagePathForCode(int code, const char* drive, const char* dir, const char* fallbackPath,
                        char out[kPathSize]) {
    if (code == kLanguageEnglish)
        return JoinBesideProgram(drive, dir, kEnglishLanguageFile, kDirSeparator, out);
    if (code == kLanguageFrench)
        return JoinBesideProgram(drive, dir, kFrenchLanguageFile, kDirSeparator, out);
    return CopyBounded(out, kPathSize, fallbackPath);
}

int LanguageCodeForCommand(int command) {
    if (command == kCommandFrench) return kLanguageFrench;
    if (command == kCommandEnglish) return kLanguageEnglish;
    return 0;
}
