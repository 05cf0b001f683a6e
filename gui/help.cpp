// The choice between the WinHelp file and the guide page.
#include "gui/help.h"

#include <cstdio>
#include <cstring>

#include "job/profile.h"
#include "lang/language.h"

const char kHelpFileName[] = "ombrelloe_zandrix.hlp";

int IsWinHelpFile(const char* path) {
    static const unsigned char kSignature[4] = {0x3F, 0x5F, 0x03, 0x00};
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 0;
    unsigned char head[4] = {0, 0, 0, 0};
    size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    return got == sizeof head && std::memcmp(head, kSignature, sizeof head) == 0;
}

namespace {

// The language file's name without its folder.
const char* BaseName(const char* path) {
    const char* base = path;
    for (const char* p = path; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') base = p + 1;
    return base;
}

}  // namespace

int GuidePagePath(const char* drive, const char* dir, const char* languageFile, char out[kPathSize]) {
    const char* page = SameProfileName(BaseName(languageFile), kFrenchLanguageFile) ? "guide\\guide_fr.html"
                                                                                     : "guide\\guide_en.html";
    return JoinBesideProgram(drive, dir, page, '\\', out);
}
