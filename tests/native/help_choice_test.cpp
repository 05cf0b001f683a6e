// Which help a Help command takes: only a file that begins with the WinHelp
// signature counts as one, and the guide page follows the language file.
#include "gui/help.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string Scratch(const std::string& bytes) {
    static int count = 0;
    std::string path = testing::TempDir() + "help_choice_" + std::to_string(++count) + ".hlp";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return path;
}

TEST(HelpChoice, OnlyTheWinHelpSignatureMakesAHelpFile) {
    EXPECT_EQ(1, IsWinHelpFile(Scratch(std::string("\x3F\x5F\x03\x00", 4) + "rest").c_str()));
    EXPECT_EQ(1, IsWinHelpFile(Scratch(std::string("\x3F\x5F\x03\x00", 4)).c_str()));
    EXPECT_EQ(0, IsWinHelpFile(Scratch("Placeholder for Ombrelloe_zandrix.hlp.\r\n").c_str()));
    EXPECT_EQ(0, IsWinHelpFile(Scratch(std::string("\x3F\x5F\x03", 3)).c_str())) << "cut short";
    EXPECT_EQ(0, IsWinHelpFile(Scratch(std::string("\x3F\x5F\x03\x01", 4)).c_str()));
    EXPECT_EQ(0, IsWinHelpFile(Scratch("").c_str()));
    EXPECT_EQ(0, IsWinHelpFile((testing::TempDir() + "no_such_help_file.hlp").c_str()));
}

TEST(HelpChoice, TheGuidePageFollowsTheLanguageFileInUse) {
    char page[kPathSize];
    ASSERT_EQ(1, GuidePagePath("C:", "\\Apps\\Zandrix\\", "C:\\Apps\\Zandrix\\033.lng", page));
    EXPECT_STREQ("C:\\Apps\\Zandrix\\guide\\guide_fr.html", page);
    ASSERT_EQ(1, GuidePagePath("C:", "\\Apps\\", "C:\\Apps\\033.LNG", page));
    EXPECT_STREQ("C:\\Apps\\guide\\guide_fr.html", page);
    for (const char* other : {"C:\\Apps\\001.lng", "C:\\Apps\\044.lng", "C:\\Apps\\x033.lng", ""}) {
        ASSERT_EQ(1, GuidePagePath("C:", "\\Apps\\", other, page));
        EXPECT_STREQ("C:\\Apps\\guide\\guide_en.html", page) << other;
    }
    std::string deep = "\\" + std::string(250, 'd') + "\\";
    EXPECT_EQ(0, GuidePagePath("C:", deep.c_str(), "033.lng", page));
    EXPECT_STREQ("", page);
}

}  // namespace
