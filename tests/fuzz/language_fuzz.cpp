// Fuzz target: language files and their messages. Any file is read within
// each key's size limit; message conversion keeps the length and leaves no
// "|" or "{"; a folder question puts the folder in the first "%s" only and
// never writes past its buffer, whatever "%" sequences the text holds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lang/language.h"
#include "lang/language_tables.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// The folder question as it must come out, cut to size-1 characters.
std::string ExpectedQuestion(const std::string& text, const std::string& folder, size_t size,
                             bool* whole) {
    std::string full = text;
    size_t slot = text.find("%s");
    if (slot != std::string::npos) full = text.substr(0, slot) + folder + text.substr(slot + 2);
    *whole = full.size() <= size - 1;
    return full.substr(0, size - 1);
}

void CheckQuestion(const std::string& text, const std::string& folder) {
    for (size_t size : {1u, 2u, 17u, 260u, 1024u}) {
        std::vector<char> out(size + 8, '#');
        int whole = FormatFolderMessage(text.c_str(), folder.c_str(), out.data(), size);
        bool expectedWhole = false;
        std::string expected = ExpectedQuestion(text, folder, size, &expectedWhole);
        if (std::string(out.data()) != expected || whole != (expectedWhole ? 1 : 0)) std::abort();
        for (size_t i = size; i < out.size(); ++i)
            if (out[i] != '#') std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> f = fuzz::Fields(data, size, 3);
    const std::string folder = fuzz::UpToNul(f[1]);
    const std::string question = fuzz::UpToNul(f[2]);
    static const std::string dir = fuzz::ScratchFolder() + "/";
    static const std::string path = dir + "001.lng";
    if (!fuzz::WriteFile(path, f[0])) std::abort();
    if (!SetLanguageFile(path.c_str())) std::abort();

    // Start-up takes [MAIN] main to name the file: at most three characters.
    char startup[kPathSize];
    if (StartupLanguagePath("", dir.c_str(), startup) && std::strlen(startup) > dir.size() + 3 + 4) std::abort();

    for (int id = 0; id < kLanguageMessageCount; ++id) {
        const LanguageMessage& message = LanguageMessageAt(static_cast<LanguageMessageId>(id));
        const std::string text = ReadLanguageText(message.section, message.key);
        if (text.size() >= LanguageReadSize(message.section, message.key)) std::abort();
        const std::string converted = ConvertMessageText(text.c_str());
        if (converted.size() != (text.size() < kLanguageTextSize ? text.size() : kLanguageTextSize - 1u) ||
            converted.find_first_of("|{") != std::string::npos)
            std::abort();
        char shown[kLanguageTextSize + 8];
        std::memset(shown, '#', sizeof shown);
        BuildLanguageMessage(message, folder.c_str(), shown);
        if (std::strlen(shown) >= kLanguageTextSize) std::abort();
        if (message.withPath) CheckQuestion(converted, folder);
    }
    for (size_t i = 0; i < kSelectKeyCount; ++i)
        if (std::strlen(ReadLanguageText(kSectionSelect, kSelectKeys[i])) >=
            LanguageReadSize(kSectionSelect, kSelectKeys[i]))
            std::abort();
    CheckQuestion(question, folder);
    return 0;
}
