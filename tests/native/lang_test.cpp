// Language files: reading limits, message conversion, the folder question
// formatter against hostile texts, the start-up choice of the language file,
// and the two shipped files checked against every key the program reads.
#include "lang/language.h"
#include "lang/language_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const std::string kShippedFolder = ZANDRIX_LANGUAGE_DIR;
const char* const kShippedFiles[] = {"001.lng", "033.lng"};

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

// A fresh folder for language files written by a test, with a trailing separator.
std::string MakeFolder() {
    char pattern[] = "/tmp/lang_test_XXXXXX";
    const char* made = mkdtemp(pattern);
    return made != nullptr ? std::string(made) + "/" : std::string();
}

// The section and key names of a language file, in file order.
std::vector<std::pair<std::string, std::string>> KeysOf(const std::string& bytes) {
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    std::istringstream lines(bytes);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
        } else if (line.find('=') != std::string::npos) {
            keys.emplace_back(section, line.substr(0, line.find('=')));
        }
    }
    return keys;
}

// Every (section, key) the program reads, with a short name of the reader.
std::vector<std::pair<std::string, std::string>> KeysTheProgramReads() {
    std::vector<std::pair<std::string, std::string>> keys;
    keys.emplace_back(kSectionMain, kKeyLanguageNumber);
    for (size_t i = 0; i < kButtonTextCount; ++i) keys.emplace_back(kSectionButtons, kButtonTexts[i].key);
    for (size_t i = 0; i < kMenuTextCount; ++i) keys.emplace_back(kSectionMenu, kMenuTexts[i].key);
    for (size_t i = 0; i < kInputTabKeyCount; ++i) keys.emplace_back(kSectionInputTab, kInputTabKeys[i]);
    for (size_t i = 0; i < kOutputTabKeyCount; ++i) keys.emplace_back(kSectionOutputTab, kOutputTabKeys[i]);
    for (size_t i = 0; i < kMonitorTextCount; ++i) keys.emplace_back(kSectionMonitor, kMonitorTexts[i].key);
    for (size_t i = 0; i < kBrowseTitleCount; ++i) keys.emplace_back(kSectionMisc, kBrowseTitles[i].key);
    for (size_t i = 0; i < kSelectKeyCount; ++i) keys.emplace_back(kSectionSelect, kSelectKeys[i]);
    for (int id = 0; id < kLanguageMessageCount; ++id) {
        const LanguageMessage& message = LanguageMessageAt(static_cast<LanguageMessageId>(id));
        keys.emplace_back(message.section, message.key);
    }
    return keys;
}

// The text a control shows: "&&" is one ampersand, a lone "&" marks the accelerator.
size_t ShownLength(const std::string& text) {
    size_t length = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        ++length;
    }
    return length;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string Formatted(const std::string& text, const char* folder) {
    char out[kLanguageTextSize];
    FormatFolderMessage(text.c_str(), folder, out, sizeof out);
    return out;
}

TEST(MessageText, ConversionReplacesBarsAndBracesOnly) {
    const struct { const char* text; const char* shown; } cases[] = {
        {"two|lines", "two\nlines"},
        {"tab{bed", "tab\tbed"},
        {"||{{", "\n\n\t\t"},
        {"", ""},
        {"%s stays; } and \\ too", "%s stays; } and \\ too"},
        {"\xE9t\xE9|\xC0 la ligne", "\xE9t\xE9\n\xC0 la ligne"},
    };
    for (const auto& c : cases) {
        const char* converted = ConvertMessageText(c.text);
        EXPECT_STREQ(c.shown, converted) << c.text;
        EXPECT_EQ(std::strlen(c.text), std::strlen(converted)) << c.text;
    }
    EXPECT_STREQ("", ConvertMessageText(nullptr));
    std::string longest(1023, '|');
    EXPECT_EQ(std::string(1023, '\n'), ConvertMessageText(longest.c_str()));
    std::string tooLong(5000, '{');
    EXPECT_EQ(std::string(1023, '\t'), ConvertMessageText(tooLong.c_str()));
}

TEST(MessageText, FolderGoesInPlaceOfTheFirstPercentSOnly) {
    const char* folder = "C:\\Temp\\out";
    const struct { const char* text; const char* shown; } cases[] = {
        {"Missing:\n%s\nCreate it?", "Missing:\nC:\\Temp\\out\nCreate it?"},
        {"No directive at all", "No directive at all"},
        {"%s", "C:\\Temp\\out"},
        {"%s%s", "C:\\Temp\\out%s"},
        {"%n", "%n"},
        {"%n%s", "%nC:\\Temp\\out"},
        {"%99999d then %s", "%99999d then C:\\Temp\\out"},
        {"%", "%"},
        {"ends in %", "ends in %"},
        {"100 %% sure %s", "100 %% sure C:\\Temp\\out"},
        {"%%s", "%C:\\Temp\\out"},
        {"%S is not %s", "%S is not C:\\Temp\\out"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, Formatted(c.text, folder)) << c.text;
    // The folder is copied as it stands, never read as a format itself.
    EXPECT_EQ("in %s%n%x out %s", Formatted("in %s out %s", "%s%n%x"));
    EXPECT_EQ("no folder: ", Formatted("no folder: %s", nullptr));
    EXPECT_EQ("", Formatted(std::string(), nullptr));
}

TEST(MessageText, FormatterStaysInsideItsBuffer) {
    // Sentinels after the allowed size catch any write past it.
    std::vector<char> out(kLanguageTextSize + 16, '#');
    std::string fits(1023, 'a');
    EXPECT_EQ(1, FormatFolderMessage(fits.c_str(), "C:\\x", out.data(), kLanguageTextSize));
    EXPECT_EQ(fits, std::string(out.data()));

    std::string longFolder(5000, 'f');
    EXPECT_EQ(0, FormatFolderMessage("Folder %s missing", longFolder.c_str(), out.data(),
                                     kLanguageTextSize));
    EXPECT_EQ("Folder " + std::string(1016, 'f'), std::string(out.data()));

    std::string longText = std::string(1020, 't') + "%s" + std::string(3000, 'u');
    EXPECT_EQ(0, FormatFolderMessage(longText.c_str(), "ABCDEF", out.data(), kLanguageTextSize));
    EXPECT_EQ(std::string(1020, 't') + "ABC", std::string(out.data()));

    for (size_t i = kLanguageTextSize; i < out.size(); ++i) ASSERT_EQ('#', out[i]) << i;

    char one[2] = {'#', '#'};
    EXPECT_EQ(0, FormatFolderMessage("%s", "x", one, 1));
    EXPECT_EQ('\0', one[0]);
    EXPECT_EQ('#', one[1]);
    EXPECT_EQ(1, FormatFolderMessage("", "", one, 1));
    EXPECT_EQ(0, FormatFolderMessage("x", "y", one, 0));
    EXPECT_EQ(0, FormatFolderMessage("x", "y", nullptr, 10));
}

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = MakeFolder();
        ASSERT_FALSE(folder_.empty());
        path_ = folder_ + "test.lng";
    }
    void TearDown() override {
        SetLanguageFile("");
        std::remove(path_.c_str());
        std::remove((folder_ + "001.lng").c_str());
        rmdir(folder_.c_str());
    }
    void Write(const std::string& text) { WriteBytes(path_, text); }

    std::string folder_;
    std::string path_;
};

TEST_F(LanguageFileTest, ReadsAreBoundedPerKey) {
    const std::string sixteenHundred(1600, 'v');
    Write("[ERRORS]\r\nexact=" + std::string(1023, 'e') + "\r\nlong=" + std::string(5000, 'l') +
          "\r\n[MAIN]\r\nmain=0334\r\n[SELECT]\r\nIDC_HEAD1=" + sixteenHundred +
          "\r\nIDC_HEAD2=" + sixteenHundred + "\r\nIDC_HEAD3=" + sixteenHundred +
          "\r\nIDC_HEAD4=" + sixteenHundred + "\r\nIDC_SF=" + sixteenHundred + "\r\n");
    ASSERT_EQ(1, SetLanguageFile(path_.c_str()));
    EXPECT_EQ(path_, LanguageFile());
    EXPECT_EQ(std::string(1023, 'e'), ReadLanguageText("ERRORS", "exact"));
    EXPECT_EQ(std::string(1023, 'l'), ReadLanguageText("ERRORS", "long"));
    EXPECT_STREQ("033", ReadLanguageText("MAIN", "main"));
    EXPECT_STREQ("033", ReadLanguageText("main", "MAIN"));
    EXPECT_EQ(std::string(1023, 'v'), ReadLanguageText("SELECT", "IDC_HEAD1"));
    EXPECT_EQ(std::string(127, 'v'), ReadLanguageText("SELECT", "IDC_HEAD2"));
    EXPECT_EQ(std::string(127, 'v'), ReadLanguageText("select", "idc_head3"));
    EXPECT_EQ(std::string(127, 'v'), ReadLanguageText("SELECT", "IDC_HEAD4"));
    EXPECT_EQ(std::string(1023, 'v'), ReadLanguageText("SELECT", "IDC_SF"));
    EXPECT_STREQ("", ReadLanguageText("ERRORS", "absent"));
    EXPECT_STREQ("", ReadLanguageText("ABSENT", "exact"));
    EXPECT_STREQ("", ReadLanguageText(nullptr, "exact"));
    EXPECT_STREQ("", ReadLanguageText("ERRORS", nullptr));
}

TEST_F(LanguageFileTest, PathLongerThanAPathIsRefused) {
    Write("[BUTTONS]\r\n1=Go\r\n");
    std::string longest = folder_ + std::string(kPathMax - folder_.size(), 'p');
    EXPECT_EQ(1, SetLanguageFile(longest.c_str()));
    EXPECT_EQ(longest, LanguageFile());
    ASSERT_EQ(1, SetLanguageFile(path_.c_str()));
    EXPECT_STREQ("Go", ReadLanguageText("BUTTONS", "1"));
    std::string tooLong = longest + "p";
    EXPECT_EQ(0, SetLanguageFile(tooLong.c_str()));
    EXPECT_STREQ("", LanguageFile());
    EXPECT_STREQ("", ReadLanguageText("BUTTONS", "1"));
    EXPECT_STREQ("", ReadLanguageTextFrom(tooLong.c_str(), "BUTTONS", "1"));
    EXPECT_STREQ("", ReadLanguageTextFrom((folder_ + "none.lng").c_str(), "BUTTONS", "1"));
}

TEST_F(LanguageFileTest, MessagesFollowTheirTableEntry) {
    // Hostile and edge texts as a translator might leave them.
    Write("[ERRORS]\r\nno_ini=two|lines{tab\r\nno_process=two|lines{tab\r\n"
          "no_temp_folder=%n|%s%s%99999d%\r\nwrite_failed=Cannot write|%s\r\n"
          "[QUESTIONS]\r\nno_folder=Create it?\r\n");
    ASSERT_EQ(1, SetLanguageFile(path_.c_str()));
    const char* folder = "C:\\Out";
    const struct { LanguageMessageId id; const char* shown; } cases[] = {
        {kMsgNoIni, "two\nlines\ttab"},
        {kMsgNoProcess, "two|lines{tab"},
        {kMsgNoTempFolder, "%n\nC:\\Out%s%99999d%"},
        {kMsgWriteFailed, "Cannot write\nC:\\Out"},
        {kMsgNoFolder, "Create it?"},
        {kMsgDeletePdf, ""},
        // A translation made before the key existed shows the English text, not an empty box.
        {kMsgPathTooLong, "This path is too long:\n\n\tC:\\Out\n\nA path may have at most 259 characters. "
                          "Choose a shorter name or a folder nearer the top of the drive."},
    };
    for (const auto& c : cases) {
        char out[kLanguageTextSize];
        BuildLanguageMessage(LanguageMessageAt(c.id), folder, out);
        EXPECT_STREQ(c.shown, out) << LanguageMessageAt(c.id).key;
    }
}

TEST(LanguageTables, MessagesAndTitles) {
    for (int id = 0; id < kLanguageMessageCount; ++id)
        EXPECT_EQ(id, LanguageMessageAt(static_cast<LanguageMessageId>(id)).id);
    const LanguageMessage* failed = FindLanguageMessage("errors", "WRITE_FAILED");
    ASSERT_NE(nullptr, failed);
    EXPECT_EQ(kMessageError, failed->kind);
    EXPECT_EQ(1, failed->converted);
    EXPECT_EQ(1, failed->withPath);
    EXPECT_STREQ("Ombrello_zandrix", failed->caption);
    EXPECT_STREQ("Ombrello", LanguageMessageAt(kMsgNoLog).caption);
    EXPECT_EQ(kMessageConfirmation, LanguageMessageAt(kMsgDeletePdf).kind);
    EXPECT_EQ(nullptr, FindLanguageMessage("QUESTIONS", "no_source"));
    EXPECT_EQ(nullptr, FindLanguageMessage(nullptr, "scan"));

    const struct { int command; const char* key; } titles[] = {
        {1003, "source"}, {1004, "target"}, {1085, "moveto"}, {1095, "temp"}, {1249, "error"}};
    for (const auto& t : titles) EXPECT_STREQ(t.key, BrowseTitleKey(t.command)) << t.command;
    EXPECT_EQ(nullptr, BrowseTitleKey(1116));
    EXPECT_EQ(nullptr, BrowseTitleKey(1163));

    // One key per control: a control named twice would show whichever came last.
    std::set<int> controls;
    std::set<std::string> keys;
    for (size_t i = 0; i < kMonitorTextCount; ++i) {
        EXPECT_TRUE(controls.insert(kMonitorTexts[i].control).second) << kMonitorTexts[i].key;
        EXPECT_TRUE(keys.insert(kMonitorTexts[i].key).second) << kMonitorTexts[i].key;
    }
}

TEST_F(LanguageFileTest, StartupLanguageComesFromTheEnglishFile) {
    const std::string dir = folder_;
    const struct { const char* english; const char* expected; } cases[] = {
        {"[MAIN]\r\nmain=033\r\n", "033.lng"},
        {"[MAIN]\r\nmain=001\r\n", "001.lng"},
        {"[MAIN]\r\nmain=\r\n", ".lng"},
        {"[MAIN]\r\nmain=0445\r\n", "044.lng"},
        {"[BUTTONS]\r\n1=x\r\n", ".lng"},
        {nullptr, ".lng"},
    };
    for (const auto& c : cases) {
        std::remove((dir + "001.lng").c_str());
        if (c.english != nullptr) WriteBytes(dir + "001.lng", c.english);
        char path[kPathSize];
        EXPECT_EQ(1, StartupLanguagePath("", dir.c_str(), path)) << c.expected;
        EXPECT_EQ(dir + c.expected, path);
    }
    char path[kPathSize];
    std::string deep = "/" + std::string(kPathMax, 'd') + "/";
    EXPECT_EQ(0, StartupLanguagePath("", deep.c_str(), path));
    EXPECT_STREQ("", path);
}

TEST(LanguageChoice, JobLanguageWinsOverTheStartupFile) {
    const char* startup = "/opt/zandrix/044.lng";
    const struct { int code; const char* expected; } cases[] = {
        {1, "/opt/zandrix/001.lng"},
        {33, "/opt/zandrix/033.lng"},
        {44, "/opt/zandrix/044.lng"},
        {0, "/opt/zandrix/044.lng"},
        {-1, "/opt/zandrix/044.lng"},
    };
    for (const auto& c : cases) {
        char path[kPathSize];
        EXPECT_EQ(1, LanguagePathForCode(c.code, "", "/opt/zandrix/", startup, path)) << c.code;
        EXPECT_STREQ(c.expected, path) << c.code;
    }
    char path[kPathSize];
    std::string deep = "/" + std::string(kPathMax, 'd') + "/";
    EXPECT_EQ(0, LanguagePathForCode(33, "", deep.c_str(), startup, path));
    EXPECT_STREQ("", path);
    EXPECT_EQ(33, LanguageCodeForCommand(kCommandFrench));
    EXPECT_EQ(1, LanguageCodeForCommand(kCommandEnglish));
    EXPECT_EQ(0, LanguageCodeForCommand(40003));
}

TEST(ShippedLanguageFiles, EveryKeyTheProgramReadsHasAText) {
    for (const char* name : kShippedFiles) {
        std::string path = kShippedFolder + "/" + name;
        for (const auto& key : KeysTheProgramReads())
            EXPECT_STRNE("", ReadLanguageTextFrom(path.c_str(), key.first.c_str(), key.second.c_str()))
                << name << " [" << key.first << "] " << key.second;
    }
    std::string english = kShippedFolder + "/001.lng";
    EXPECT_STREQ("001", ReadLanguageTextFrom(english.c_str(), kSectionMain, kKeyLanguageNumber));
}

TEST(ShippedLanguageFiles, SameKeysAndNoneUnknown) {
    auto english = KeysOf(ReadBytes(kShippedFolder + "/001.lng"));
    auto french = KeysOf(ReadBytes(kShippedFolder + "/033.lng"));
    EXPECT_EQ(english, french);
    std::set<std::pair<std::string, std::string>> read;
    for (const auto& key : KeysTheProgramReads()) read.insert(key);
    for (const auto& key : english)
        EXPECT_TRUE(read.count(key)) << "[" << key.first << "] " << key.second << " is read by nothing";
    EXPECT_EQ(read.size(), english.size());
}

TEST(ShippedLanguageFiles, MessageTextsFitTheirUse) {
    for (const char* name : kShippedFiles) {
        std::string path = kShippedFolder + "/" + name;
        for (int id = 0; id < kLanguageMessageCount; ++id) {
            const LanguageMessage& message = LanguageMessageAt(static_cast<LanguageMessageId>(id));
            std::string text = ReadLanguageTextFrom(path.c_str(), message.section, message.key);
            if (message.withPath) {
                EXPECT_EQ(1u, Count(text, "%s")) << name << " " << message.key;
                EXPECT_EQ(1u, Count(text, "%")) << name << " " << message.key;
            } else {
                EXPECT_EQ(0u, Count(text, "%s")) << name << " " << message.key;
            }
            // Unconverted texts would show these characters themselves.
            if (!message.converted) {
                EXPECT_EQ(std::string::npos, text.find_first_of("|{")) << name << " " << message.key;
            }
        }
    }
}

TEST(ShippedLanguageFiles, BuiltInTextsAreTheEnglishFilesOwn) {
    std::string english = kShippedFolder + "/001.lng";
    int builtIn = 0;
    for (int id = 0; id < kLanguageMessageCount; ++id) {
        const LanguageMessage& message = LanguageMessageAt(static_cast<LanguageMessageId>(id));
        if (message.builtInText == nullptr) continue;
        ++builtIn;
        EXPECT_STREQ(ReadLanguageTextFrom(english.c_str(), message.section, message.key), message.builtInText)
            << message.key;
    }
    EXPECT_EQ(2, builtIn);
}

TEST(ShippedLanguageFiles, QuestionsShowTheFolder) {
    ASSERT_EQ(1, SetLanguageFile((kShippedFolder + "/001.lng").c_str()));
    char out[kLanguageTextSize];
    EXPECT_EQ(1, BuildLanguageMessage(LanguageMessageAt(kMsgNoFolder), "C:\\Out", out));
    EXPECT_STREQ("This folder does not exist or cannot be written:\n\n\tC:\\Out\n\nCreate it?", out);
    ASSERT_EQ(1, SetLanguageFile((kShippedFolder + "/033.lng").c_str()));
    EXPECT_EQ(1, BuildLanguageMessage(LanguageMessageAt(kMsgNoTempFolder), "C:\\Tmp", out));
    EXPECT_STREQ("Le dossier temporaire n'existe pas ou n'est pas accessible en \xE9" "criture :"
                 "\n\n\tC:\\Tmp\n\nFaut-il le cr\xE9" "er ?", out);
    EXPECT_EQ(1, BuildLanguageMessage(LanguageMessageAt(kMsgWriteFailed), "C:\\Jobs\\a.ini", out));
    EXPECT_EQ(1u, Count(out, "\tC:\\Jobs\\a.ini\n"));
    SetLanguageFile("");
}

TEST(ShippedLanguageFiles, FrenchIsWindows1252) {
    std::string bytes = ReadBytes(kShippedFolder + "/033.lng");
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(std::string::npos, bytes.find("6=Arr\xEAt du scan\r\n"));
    EXPECT_NE(std::string::npos, bytes.find("IDC_EQUALIZE=\xC9galiser\r\n"));
    EXPECT_NE(std::string::npos, bytes.find('\xE9'));
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        // Bytes that Windows-1252 leaves undefined.
        EXPECT_TRUE(c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) << "offset " << i;
        // A UTF-8 lead byte followed by a continuation byte: the file was saved as UTF-8.
        if (c >= 0xC2 && c <= 0xF4 && i + 1 < bytes.size()) {
            unsigned char next = static_cast<unsigned char>(bytes[i + 1]);
            EXPECT_FALSE(next >= 0x80 && next <= 0xBF) << "UTF-8 sequence at offset " << i;
        }
    }
}

TEST(ShippedLanguageFiles, LinesEndInCrLf) {
    for (const char* name : kShippedFiles) {
        std::string bytes = ReadBytes(kShippedFolder + "/" + name);
        ASSERT_GE(bytes.size(), 2u) << name;
        EXPECT_NE('\xEF', bytes[0]) << name << " starts with a byte-order mark";
        EXPECT_EQ("\r\n", bytes.substr(bytes.size() - 2)) << name;
        for (size_t i = 0; i < bytes.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(bytes[i]);
            bool allowed = c == '\r' ? i + 1 < bytes.size() && bytes[i + 1] == '\n'
                           : c == '\n' ? i > 0 && bytes[i - 1] == '\r'
                                        : c >= 0x20;
            EXPECT_TRUE(allowed) << name << ": stray control byte at offset " << i;
        }
    }
}

TEST(ShippedLanguageFiles, FrenchLabelsFitTheEnglishLayout) {
    std::string english = kShippedFolder + "/001.lng";
    std::string french = kShippedFolder + "/033.lng";
    // Group boxes span the dialog and the note on stopping a scan wraps over
    // three lines; every other control is sized for its English text.
    const std::set<std::string> roomy = {"IDC_S1", "IDC_S100", "IDC_INFOS1", "IDC_KILL"};
    for (size_t i = 0; i < kMonitorTextCount; ++i) {
        const char* key = kMonitorTexts[i].key;
        if (roomy.count(key)) continue;
        size_t en = ShownLength(ReadLanguageTextFrom(english.c_str(), kSectionMonitor, key));
        size_t fr = ShownLength(ReadLanguageTextFrom(french.c_str(), kSectionMonitor, key));
        EXPECT_LE(fr, en + std::max<size_t>(5, en / 5)) << key;
    }
    // The buttons share one width, made for the longest English caption.
    size_t widest = 0;
    for (size_t i = 0; i < kButtonTextCount; ++i)
        widest = std::max(widest, ShownLength(ReadLanguageTextFrom(english.c_str(), kSectionButtons,
                                                                   kButtonTexts[i].key)));
    for (size_t i = 0; i < kButtonTextCount; ++i)
        EXPECT_LE(ShownLength(ReadLanguageTextFrom(french.c_str(), kSectionButtons, kButtonTexts[i].key)),
                  widest + 2)
            << kButtonTexts[i].key;
}

}  // namespace
