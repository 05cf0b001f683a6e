// The installer's tables as they reach the machine: the Program Manager
// commands for an install folder, the uninstall entry's values and the
// paths of installed files, including folders too long to hold them.
#include "installer/install_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Command(int index, const char* folder) {
    char out[kGroupCommandSize];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(1, FormatGroupCommand(index, folder, out, sizeof out)) << index;
    return out;
}

TEST(InstallTables, ProgramGroupCommandsForAFolder) {
    const char* folder = "C:\\Program Files\\Ombrello_zandrix";
    EXPECT_EQ("[CreateGroup(Ombrello_zandrix, 1)]", Command(0, folder));
    EXPECT_EQ("[AddItem(\"C:\\Program Files\\Ombrello_zandrix\\zandrix_gui.exe\",Setup)]", Command(1, folder));
    EXPECT_EQ("[AddItem(\"C:\\Program Files\\Ombrello_zandrix\\uninst.exe\",Uninstall)]", Command(2, folder));
    EXPECT_EQ("[AddItem(\"C:\\Program Files\\Ombrello_zandrix\\stopjob\",stopjob)]", Command(3, folder));
    EXPECT_EQ("[AddItem(\"C:\\Program Files\\Ombrello_zandrix\\Ombrelloe_zandrix.hlp\",Help, winhlp32.exe, 1)]",
              Command(4, folder));
    EXPECT_EQ("[ShowGroup(Ombrello_zandrix)]", Command(5, folder));

    // A folder is text, never a format: its percent signs reach the command as they are.
    EXPECT_EQ("[AddItem(\"d:\\100%s %n\\uninst.exe\",Uninstall)]", Command(2, "d:\\100%s %n"));

    char longest[kPathSize];
    std::memset(longest, 'a', kPathMax);
    longest[kPathMax] = '\0';
    EXPECT_EQ(std::string("[AddItem(\"") + longest + "\\Ombrelloe_zandrix.hlp\",Help, winhlp32.exe, 1)]",
              Command(4, longest)) << "the longest folder fits every command";

    char small[40];
    EXPECT_EQ(0, FormatGroupCommand(1, folder, small, sizeof small));
    EXPECT_STREQ("", small);
    EXPECT_EQ(0, FormatGroupCommand(kGroupCommandCount, folder, small, sizeof small));
}

// The shortcuts that stand in for Program Manager's group name the same
// items, in the same order, with the same titles and icons.
TEST(InstallTables, ShortcutGroupMatchesTheProgramManagerGroup) {
    const char* folder = "C:\\Prog";
    for (int i = 0; i < kGroupItemCount; ++i) {
        const GroupItem& item = kGroupItems[i];
        std::string file = item.file;
        if (file == "stopjob.exe") file = "stopjob";  // Program Manager adds the extension itself
        std::string expected = "[AddItem(\"C:\\Prog\\" + file + "\"," + item.title;
        if (item.iconFile != nullptr) expected += std::string(", ") + item.iconFile + ", " + std::to_string(item.iconIndex);
        EXPECT_EQ(expected + ")]", Command(i + 1, folder)) << item.title;
    }

    char path[kPathSize];
    ASSERT_EQ(1, GroupShortcutPath("C:\\ProgramData\\Start Menu\\Programs\\", &kGroupItems[3], path));
    EXPECT_STREQ("C:\\ProgramData\\Start Menu\\Programs\\Ombrello_zandrix\\Help.lnk", path);
    ASSERT_EQ(1, GroupShortcutPath("\\\\server\\menu", nullptr, path));
    EXPECT_STREQ("\\\\server\\menu\\Ombrello_zandrix", path);
    std::string deep(kPathMax - 20, 'p');
    EXPECT_EQ(1, GroupShortcutPath(deep.c_str(), nullptr, path));
    EXPECT_EQ(0, GroupShortcutPath(deep.c_str(), &kGroupItems[1], path)) << "Uninstall.lnk no longer fits";
    EXPECT_STREQ("", path);
}

TEST(InstallTables, InstallPathsAreCleanedAndBounded) {
    char out[kPathSize];
    ASSERT_EQ(1, InstallPath("c:\\Tools\\\\Conv\\", "stopjob.exe", out));
    EXPECT_STREQ("c:\\Tools\\Conv\\stopjob.exe", out);
    ASSERT_EQ(1, InstallPath("\\\\server\\\\share\\apps", "001.lng", out));
    EXPECT_STREQ("\\\\server\\share\\apps\\001.lng", out) << "a network folder keeps its leading pair";

    std::string folder = "c:\\" + std::string(kPathMax - 3 - 11, 'f');
    ASSERT_EQ(1, InstallPath(folder.c_str(), "x", out));
    EXPECT_EQ(static_cast<size_t>(kPathMax - 9), std::strlen(out));
    EXPECT_EQ(0, InstallPath(folder.c_str(), "uninst.exe.too.long", out));
    EXPECT_STREQ("", out) << "refused, not cut short into another path";

    char typed[kPathSize] = "c:\\Tools\\\\Conv";
    CleanInstallFolder(typed);
    EXPECT_STREQ("c:\\Tools\\Conv", typed);
}

TEST(InstallTables, UninstallEntry) {
    UninstallValue values[kUninstallValueCount];
    ASSERT_EQ(1, BuildUninstallEntry("d:\\Apps", values));
    const struct { const char* name; int isNumber; const char* text; } expected[kUninstallValueCount] = {
        {"DisplayName", 0, "Ombrello_zandrix"},
        {"UninstallString", 0, "d:\\Apps\\uninst.exe"},
        {"DisplayVersion", 0, "2.13"},
        {"Publisher", 0, "Ombrello"},
        {"InstallLocation", 0, "d:\\Apps"},
        {"DisplayIcon", 0, "d:\\Apps\\zandrix_gui.exe"},
        {"NoModify", 1, ""},
        {"NoRepair", 1, ""},
    };
    for (int i = 0; i < kUninstallValueCount; ++i) {
        EXPECT_STREQ(expected[i].name, values[i].name);
        EXPECT_EQ(expected[i].isNumber, values[i].isNumber) << values[i].name;
        EXPECT_STREQ(expected[i].text, values[i].text) << values[i].name;
        EXPECT_EQ(expected[i].isNumber ? 1UL : 0UL, values[i].number) << values[i].name;
    }

    // With a blank in the path, the command is quoted so that "c:\Program"
    // cannot be taken for the program.
    ASSERT_EQ(1, BuildUninstallEntry("c:\\Program Files\\\\Ombrello_zandrix", values));
    EXPECT_STREQ("\"c:\\Program Files\\Ombrello_zandrix\\uninst.exe\"", values[1].text);
    EXPECT_STREQ("c:\\Program Files\\Ombrello_zandrix", values[4].text);
    EXPECT_STREQ("c:\\Program Files\\Ombrello_zandrix\\zandrix_gui.exe", values[5].text);

    std::string tooLong = "c:\\" + std::string(kPathMax - 10, 'a');
    EXPECT_EQ(0, BuildUninstallEntry(tooLong.c_str(), values));
}

}  // namespace
