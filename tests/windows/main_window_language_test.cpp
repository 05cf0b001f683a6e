// The language files on the real main window: the texts of the buttons,
// the menu and the tab labels at start-up and after each switch, the choice
// of file at start-up, and missing keys. The expected texts are read from
// the shipped files with kernel32's own reader.
#include "tests/windows/main_window_fixture.h"

#include <cstring>

namespace {

using namespace main_window_test;

class MainWindowLanguage : public MainWindow {
protected:
    std::string Expected(const char* file, const char* section, const char* key) const {
        char text[1024];
        GetPrivateProfileStringA(section, key, "", text, sizeof text, (folder_ + file).c_str());
        return text;
    }

    std::string MenuText(UINT item, UINT flags) const {
        char text[1024] = "";
        GetMenuStringA(GetMenu(dialog_), item, text, sizeof text, flags);
        return text;
    }

    std::string TabText(HWND tab, int index) const {
        char text[256] = "";
        TCITEMA item;
        ZeroMemory(&item, sizeof item);
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    // Every text the language file gives the window is the one shown.
    void ExpectTextsOf(const char* file) {
        const struct { const char* key; int id; } buttons[] = {
            {"1", IDC_BT_SAVE_QUIT}, {"2", IDC_BT_SAVE}, {"3", IDC_BT_QUIT},
            {"4", IDC_BT_SELECT_FILES}, {"5", IDC_BT_LAUNCH}, {"6", IDC_BT_STOP_SCAN}};
        for (const auto& b : buttons) EXPECT_EQ(Expected(file, "BUTTONS", b.key), Text(b.id)) << file << " button " << b.key;
        const struct { const char* key; UINT item; UINT flags; } menu[] = {
            {"10", IDM_WHATS_NEW, MF_BYCOMMAND}, {"11", IDM_QUIT, MF_BYCOMMAND},
            {"20", 1, MF_BYPOSITION},            {"21", IDM_TOOLTIPS, MF_BYCOMMAND},
            {"22", IDM_LAST_LOG, MF_BYCOMMAND},  {"30", 2, MF_BYPOSITION},
            {"31", IDM_HELP, MF_BYCOMMAND},      {"32", IDM_ABOUT, MF_BYCOMMAND}};
        for (const auto& m : menu) EXPECT_EQ(Expected(file, "MENU1", m.key), MenuText(m.item, m.flags)) << file << " menu " << m.key;
        EXPECT_EQ("&Ombrello", MenuText(0, MF_BYPOSITION)) << "the first menu keeps its own text";
        EXPECT_EQ("Fran\xE7" "ais", MenuText(IDM_FRENCH, MF_BYCOMMAND));
        EXPECT_NE(nullptr, GetSubMenu(GetMenu(dialog_), 1)) << "the renamed menus keep their items";
        HWND input = TabOver(IDC_GB_INPUT);
        HWND output = TabOver(IDC_GB_OUTPUT);
        for (int i = 0; i < kInputTabCount; ++i)
            EXPECT_EQ(Expected(file, "TAB1", std::to_string(i + 1).c_str()), TabText(input, i)) << file << " input tab " << i;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Expected(file, "TAB2", std::to_string(i + 1).c_str()), TabText(output, i)) << file << " output tab " << i;
        EXPECT_EQ("BMP", TabText(output, 4));
        EXPECT_EQ(Expected(file, "MONITOR", "IDC_RECURSE"), Text(IDC_CK_RECURSE));
        EXPECT_EQ(Expected(file, "MONITOR", "IDC_S100"), Text(IDC_GB_INPUT));
    }
};

TEST_F(MainWindowLanguage, EnglishAtStartThenFrenchThenEnglishAgain) {
    ASSERT_NE(nullptr, Start("[MAIN]\r\nlangue=1\r\n"));
    ASSERT_FALSE(Expected("001.lng", "BUTTONS", "1").empty());
    ExpectTextsOf("001.lng");
    EXPECT_TRUE(MenuChecked(IDM_ENGLISH));
    EXPECT_FALSE(MenuChecked(IDM_FRENCH));

    Command(IDM_FRENCH);
    ExpectTextsOf("033.lng");
    EXPECT_TRUE(MenuChecked(IDM_FRENCH));
    EXPECT_FALSE(MenuChecked(IDM_ENGLISH));
    EXPECT_NE(Expected("001.lng", "BUTTONS", "2"), Text(IDC_BT_SAVE));

    Command(IDM_ENGLISH);
    ExpectTextsOf("001.lng");
    EXPECT_TRUE(MenuChecked(IDM_ENGLISH));
    EXPECT_FALSE(MenuChecked(IDM_FRENCH));
    EXPECT_EQ(kTitle, ui::WindowText(dialog_)) << "no language changes the title";
}

TEST_F(MainWindowLanguage, FrenchFromTheDefaultJob) {
    ASSERT_NE(nullptr, Start("[MAIN]\r\nlangue=33\r\n"));
    ExpectTextsOf("033.lng");
    EXPECT_TRUE(MenuChecked(IDM_FRENCH));
    EXPECT_FALSE(MenuChecked(IDM_ENGLISH));
}

TEST_F(MainWindowLanguage, TheJobsLanguageWinsOverTheStartUpChoice) {
    std::string english = ui::ReadFileBytes(folder_ + "001.lng");
    size_t at = english.find("main=001");
    ASSERT_NE(std::string::npos, at);
    PutBesideProgram("001.lng", english.replace(at, 8, "main=033"));
    ASSERT_NE(nullptr, Start("[MAIN]\r\nlangue=1\r\n"));
    ExpectTextsOf("001.lng");
}

TEST_F(MainWindowLanguage, OtherCodesKeepTheStartUpFileAndMissingKeysGoBlank) {
    std::string english = ui::ReadFileBytes(folder_ + "001.lng");
    size_t at = english.find("main=001");
    ASSERT_NE(std::string::npos, at);
    PutBesideProgram("001.lng", english.replace(at, 8, "main=044"));
    PutBesideProgram("044.lng", "[BUTTONS]\r\n1=Go\r\n[TAB1]\r\n2=Second\r\n");
    ASSERT_NE(nullptr, Start("[MAIN]\r\nlangue=44\r\n"));
    EXPECT_EQ("Go", Text(IDC_BT_SAVE_QUIT));
    EXPECT_EQ("", Text(IDC_BT_SAVE)) << "a missing key gives an empty text";
    EXPECT_EQ("", Text(IDC_CK_RECURSE));
    EXPECT_EQ("Second", TabText(TabOver(IDC_GB_INPUT), 1));
    EXPECT_EQ("", TabText(TabOver(IDC_GB_INPUT), 0));
    EXPECT_FALSE(MenuChecked(IDM_ENGLISH));
    EXPECT_FALSE(MenuChecked(IDM_FRENCH));
}

TEST_F(MainWindowLanguage, MessagesShownAfterASwitchUseTheNewFile) {
    ASSERT_NE(nullptr, Start("[MAIN]\r\nlangue=1\r\n"));
    Command(IDM_FRENCH);
    SetWindowTextA(Item(IDC_ED_JOB_FILE), "");
    PostMessageA(dialog_, WM_COMMAND, IDC_BT_SAVE, 0);
    HWND box = ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello_zandrix", 10000);
    ASSERT_NE(nullptr, box);
    ui::MessageBoxView view = ui::ReadMessageBox(box);
    EXPECT_EQ(Expected("033.lng", "ERRORS", "ini_file"), view.text);
    EXPECT_EQ(ui::kIconError, view.icon);
    Answer(box, "OK");
}

}  // namespace
