// Language texts on real windows: a dialog with the main window's buttons,
// some of its option controls, its menu and its two tab controls takes the
// texts of the shipped language files; the language switch moves the check
// marks; message boxes show the icon, buttons, caption and exact text of
// their table entry and return the button the user pressed.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "job/paths.h"
#include "lang/language.h"
#include "lang/language_tables.h"
#include "lang/language_win32.h"
#include "tests/windows/ui_driver.h"

namespace {

// Controls with a key, and one (1113, "minutes(s)") that no key addresses.
const struct { int id; const char* className; DWORD style; const char* text; } kControls[] = {
    {1, "BUTTON", BS_DEFPUSHBUTTON, "&Save && Quit"},
    {1117, "BUTTON", BS_PUSHBUTTON, "Sa&ve"},
    {2, "BUTTON", BS_PUSHBUTTON, "&Quit"},
    {1061, "BUTTON", BS_PUSHBUTTON, "Select &files"},
    {1017, "BUTTON", BS_PUSHBUTTON, "&Launch"},
    {1121, "BUTTON", BS_PUSHBUTTON, "Stop scan"},
    {1014, "BUTTON", BS_GROUPBOX, "Output setup"},
    {1001, "STATIC", SS_LEFT, "Target path:"},
    {1005, "BUTTON", BS_AUTOCHECKBOX, "Recursive search"},
    {1085, "BUTTON", BS_PUSHBUTTON, "Button6"},
    {1090, "STATIC", SS_LEFT, "note"},
    {1083, "BUTTON", BS_AUTORADIOBUTTON, "Move the PDF source to:"},
    {1113, "BUTTON", BS_AUTORADIOBUTTON, "minutes(s)"},
};

const char* const kOutputTabFixed[] = {"BMP", "DCX", "GIF", "JPEG", "PNG", "PS", "RTF", "SWF",
                                       "TIFF", "TIFF chunks", "TXT", "Infos"};

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The main window's menu: three drop-down menus, the second with the
// "Language" submenu.
HMENU MakeMainMenu() {
    HMENU bar = CreateMenu();
    HMENU ombrello = CreatePopupMenu();
    AppendMenuA(ombrello, MF_STRING, 1054, "&What's new ?");
    AppendMenuA(ombrello, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(ombrello, MF_STRING, 2, "&Quit");
    HMENU language = CreatePopupMenu();
    AppendMenuA(language, MF_STRING, 40007, "English");
    AppendMenuA(language, MF_STRING, 40006, "Fran\xE7" "ais");
    HMENU misc = CreatePopupMenu();
    AppendMenuA(misc, MF_STRING, 40003, "&Tooltips");
    AppendMenuA(misc, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(misc, MF_STRING, 1029, "Last log");
    AppendMenuA(misc, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(misc, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(language), "Language");
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, 1013, "&Help");
    AppendMenuA(help, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(help, MF_STRING, 1030, "&About...");
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(ombrello), "&Ombrello");
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(misc), "&Misc");
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(help), "&Help");
    return bar;
}

HWND MakeTab(HWND dialog, int y, int count, const char* const* labels) {
    HWND tab = CreateWindowExA(0, "SysTabControl32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                               10, y, 335, 145, dialog, nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int i = 0; i < count; ++i) {
        char label[32];
        lstrcpynA(label, labels != nullptr ? labels[i] : "", sizeof label);
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = label;
        SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    return tab;
}

std::string TabLabel(HWND tab, int index) {
    char label[256] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = label;
    item.cchTextMax = sizeof label;
    if (!SendMessageA(tab, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item))) return "<no tab>";
    return item.pszText;
}

std::string MenuText(HMENU menu, UINT item, UINT how) {
    char text[256] = "";
    GetMenuStringA(menu, item, text, sizeof text, how);
    return text;
}

std::string Text(HWND dialog, int id) {
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string WithoutAccelerators(std::string text) {
    std::string plain;
    for (char c : text)
        if (c != '&') plain += c;
    return plain;
}

struct BoxSeen {
    bool shown;
    ui::MessageBoxView view;
    HWND owner;
    int result;
};

class LanguageWindows : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        // An empty dialog template; the controls are added as children below.
        alignas(4) static const WORD kTemplate[] = {
            LOWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU), HIWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU),
            0, 0, 0, 0, 0, 302, 262, 0, 0, 0};
        dialog_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEA>(kTemplate), nullptr,
                                             QuietDialog, 0);
        ASSERT_NE(nullptr, dialog_);
        SetWindowTextA(dialog_, "Ombrello_zandrix Monitor");
        for (const auto& control : kControls)
            CreateWindowExA(0, control.className, control.text, WS_CHILD | WS_VISIBLE | control.style,
                            0, 0, 120, 20, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                            GetModuleHandleA(nullptr), nullptr);
        menu_ = MakeMainMenu();
        SetMenu(dialog_, menu_);
        inputTab_ = MakeTab(dialog_, 20, 7, nullptr);
        const char* output[16] = {" ", " ", " ", " "};
        for (int i = 0; i < 12; ++i) output[4 + i] = kOutputTabFixed[i];
        outputTab_ = MakeTab(dialog_, 170, 16, output);
        ASSERT_NE(nullptr, inputTab_);
        ASSERT_NE(nullptr, outputTab_);
        programFolder_ = ui::OwnFolder();
    }
    void TearDown() override {
        SetLanguageFile("");
        if (dialog_ != nullptr) DestroyWindow(dialog_);
    }

    std::string Shipped(const char* name) { return programFolder_ + name; }

    std::string WriteLanguageFile(const std::string& text) {
        std::string path = ui::MakeTempFolder("lang") + "\\test.lng";
        EXPECT_TRUE(ui::WriteFileBytes(path, text));
        return path;
    }

    // Runs show on this thread; another thread waits for the box it opens,
    // reads it and presses the button.
    BoxSeen Answer(int button, const std::function<int()>& show) {
        BoxSeen seen{false, {}, nullptr, -1};
        std::thread user([&seen, button] {
            HWND box = ui::WaitForWindow(GetCurrentProcessId(), "#32770", nullptr, 10000);
            if (box == nullptr) return;
            seen.shown = true;
            seen.view = ui::ReadMessageBox(box);
            seen.owner = GetWindow(box, GW_OWNER);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        });
        seen.result = show();
        user.join();
        seen.view.buttons = WithoutAccelerators(seen.view.buttons);
        return seen;
    }

    HWND dialog_ = nullptr;
    HMENU menu_ = nullptr;
    HWND inputTab_ = nullptr;
    HWND outputTab_ = nullptr;
    std::string programFolder_;
};

TEST_F(LanguageWindows, TextsAreCodePage1252) {
    // The French file's accented letters reach the windows unchanged only
    // when the ANSI code page is Windows-1252, as on a western Windows.
    EXPECT_EQ(1252u, GetACP());
}

TEST_F(LanguageWindows, EnglishFileSetsButtonsMenuTabsAndControls) {
    ApplyLanguageTexts(dialog_, inputTab_, outputTab_, Shipped("001.lng").c_str());
    const struct { int id; const char* text; } controls[] = {
        {1, "&Save && Quit"}, {1117, "Sa&ve"}, {2, "&Quit"}, {1061, "Select &files"},
        {1017, "&Launch"}, {1121, "Stop scan"}, {1014, "Output setup"}, {1001, "Target path:"},
        {1005, "Recursive search"}, {1085, "..."}, {1083, "Move the PDF source to:"},
        {1090, "To stop a running scan, use the stopjob item of the program group or the \"Stop scan\" button."},
        {1113, "minutes(s)"},
    };
    for (const auto& c : controls) EXPECT_EQ(c.text, Text(dialog_, c.id)) << c.id;

    const struct { UINT item; UINT how; const char* text; } items[] = {
        {1054, MF_BYCOMMAND, "&What's new ?"}, {2, MF_BYCOMMAND, "&Quit"},
        {0, MF_BYPOSITION, "&Ombrello"}, {1, MF_BYPOSITION, "&Misc"}, {2, MF_BYPOSITION, "&Help"},
        {1029, MF_BYCOMMAND, "Last log"}, {40003, MF_BYCOMMAND, "&Tooltips"},
        {1013, MF_BYCOMMAND, "&Help"}, {1030, MF_BYCOMMAND, "&About..."},
        {40007, MF_BYCOMMAND, "English"}, {40006, MF_BYCOMMAND, "Fran\xE7" "ais"},
    };
    for (const auto& i : items) EXPECT_EQ(i.text, MenuText(menu_, i.item, i.how)) << i.item;

    const char* input[] = {"Folders", "Scan", "Shave", "Sources", "Format", "Pages", "Errors"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(input[i], TabLabel(inputTab_, i)) << i;
    const char* output[] = {"Target", "Names", "Signature", "Image"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(output[i], TabLabel(outputTab_, i)) << i;
    for (int i = 0; i < 12; ++i) EXPECT_EQ(kOutputTabFixed[i], TabLabel(outputTab_, 4 + i)) << i;
}

TEST_F(LanguageWindows, FrenchFileKeepsTheDropDownMenus) {
    HMENU misc = GetSubMenu(menu_, 1);
    HMENU help = GetSubMenu(menu_, 2);
    ApplyLanguageTexts(dialog_, inputTab_, outputTab_, Shipped("033.lng").c_str());
    EXPECT_EQ("&Valider", Text(dialog_, 1));
    EXPECT_EQ("Arr\xEAt du scan", Text(dialog_, 1121));
    EXPECT_EQ("Recherche r\xE9" "cursive", Text(dialog_, 1005));
    EXPECT_EQ("D\xE9placer les PDF vers :", Text(dialog_, 1083));
    EXPECT_EQ("...", Text(dialog_, 1085));
    EXPECT_EQ("minutes(s)", Text(dialog_, 1113));

    EXPECT_EQ("&Nouveaut\xE9s", MenuText(menu_, 1054, MF_BYCOMMAND));
    EXPECT_EQ("&Ombrello", MenuText(menu_, 0, MF_BYPOSITION));
    EXPECT_EQ("&Divers", MenuText(menu_, 1, MF_BYPOSITION));
    EXPECT_EQ("&Aide", MenuText(menu_, 2, MF_BYPOSITION));
    EXPECT_EQ("\xC0 &propos...", MenuText(menu_, 1030, MF_BYCOMMAND));
    // The renamed top-level menus still open the same drop-down menus, items intact.
    ASSERT_EQ(misc, GetSubMenu(menu_, 1));
    ASSERT_EQ(help, GetSubMenu(menu_, 2));
    EXPECT_EQ(5, GetMenuItemCount(misc));
    EXPECT_EQ("&Info-bulles", MenuText(misc, 0, MF_BYPOSITION));
    EXPECT_EQ(40003u, GetMenuItemID(misc, 0));
    EXPECT_EQ("Dernier &journal", MenuText(misc, 2, MF_BYPOSITION));
    EXPECT_EQ("Language", MenuText(misc, 4, MF_BYPOSITION));
    EXPECT_EQ(2, GetMenuItemCount(GetSubMenu(misc, 4)));
    EXPECT_EQ(1013u, GetMenuItemID(help, 0));
    EXPECT_EQ("&Aide", MenuText(help, 0, MF_BYPOSITION));

    EXPECT_EQ("Dossiers", TabLabel(inputTab_, 0));
    EXPECT_EQ("Erreurs", TabLabel(inputTab_, 6));
    EXPECT_EQ("Cible", TabLabel(outputTab_, 0));
    EXPECT_EQ("BMP", TabLabel(outputTab_, 4));
}

TEST_F(LanguageWindows, MissingTextsAreAppliedEmpty) {
    std::string path = WriteLanguageFile(
        "[MENU1]\r\n10=News\r\n20=Tools\r\n[TAB1]\r\n1=One\r\n[MONITOR]\r\nIDC_RECURSE=Deep\r\n");
    ApplyLanguageTexts(dialog_, inputTab_, outputTab_, path.c_str());
    for (int id : {1, 1117, 2, 1061, 1017, 1121, 1014, 1085}) EXPECT_EQ("", Text(dialog_, id)) << id;
    EXPECT_EQ("Deep", Text(dialog_, 1005));
    EXPECT_EQ("minutes(s)", Text(dialog_, 1113));
    EXPECT_EQ("News", MenuText(menu_, 1054, MF_BYCOMMAND));
    EXPECT_EQ("", MenuText(menu_, 1030, MF_BYCOMMAND));
    EXPECT_EQ("Tools", MenuText(menu_, 1, MF_BYPOSITION));
    EXPECT_EQ("", MenuText(menu_, 2, MF_BYPOSITION));
    EXPECT_NE(nullptr, GetSubMenu(menu_, 2));
    EXPECT_EQ("One", TabLabel(inputTab_, 0));
    EXPECT_EQ("", TabLabel(inputTab_, 1));
    EXPECT_EQ("", TabLabel(outputTab_, 3));
    EXPECT_EQ("TIFF chunks", TabLabel(outputTab_, 13));

    // No language file at all, and no tab controls: every keyed text goes blank.
    ApplyLanguageTexts(dialog_, nullptr, nullptr, (path + ".none").c_str());
    EXPECT_EQ("", Text(dialog_, 1005));
    EXPECT_EQ("", MenuText(menu_, 1054, MF_BYCOMMAND));
    EXPECT_EQ("One", TabLabel(inputTab_, 0));
}

TEST_F(LanguageWindows, LanguageSwitchMovesTheCheckMark) {
    char drive[kDriveSize];
    char dir[kPathSize];
    ASSERT_EQ(1, GetProgramFolder(drive, dir));
    auto checked = [this](UINT command) {
        return (GetMenuState(menu_, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };

    EXPECT_EQ(33, SwitchLanguage(dialog_, inputTab_, outputTab_, kCommandFrench, drive, dir));
    EXPECT_TRUE(checked(40006));
    EXPECT_FALSE(checked(40007));
    EXPECT_EQ(Shipped("033.lng"), LanguageFile());
    EXPECT_EQ("&Quitter", Text(dialog_, 2));
    EXPECT_EQ("Marges", TabLabel(inputTab_, 2));

    EXPECT_EQ(0, SwitchLanguage(dialog_, inputTab_, outputTab_, 40003, drive, dir));
    EXPECT_TRUE(checked(40006));
    EXPECT_EQ(Shipped("033.lng"), LanguageFile());

    EXPECT_EQ(1, SwitchLanguage(dialog_, inputTab_, outputTab_, kCommandEnglish, drive, dir));
    EXPECT_FALSE(checked(40006));
    EXPECT_TRUE(checked(40007));
    EXPECT_EQ(Shipped("001.lng"), LanguageFile());
    EXPECT_EQ("&Quit", Text(dialog_, 2));
    EXPECT_EQ("Shave", TabLabel(inputTab_, 2));

    ShowLanguageCheckMarks(dialog_, 44);
    EXPECT_FALSE(checked(40006));
    EXPECT_FALSE(checked(40007));
}

TEST_F(LanguageWindows, MessageBoxesFollowTheirTable) {
    std::string path = WriteLanguageFile(
        "[ERRORS]\r\nini_file=Name a job file.\r\nno_ini=two|lines{tab\r\n"
        "no_process=two|lines{tab\r\nno_log=No log.\r\nprefix=Empty|prefix\r\n"
        "write_failed=Cannot write|%s|Not saved.\r\n"
        "[QUESTIONS]\r\nno_folder=Missing:|%s|%n %d 100%|Create it?\r\ndelete_pdf=Delete|them?\r\n");
    ASSERT_EQ(1, SetLanguageFile(path.c_str()));
    const char* folder = "C:\\Out\\%s";
    const struct {
        LanguageMessageId id;
        int press;
        ui::BoxIcon icon;
        const char* buttons;
        const char* caption;
        const char* text;
    } cases[] = {
        {kMsgIniFile, IDOK, ui::kIconError, "OK", "Ombrello_zandrix", "Name a job file."},
        {kMsgNoIni, IDOK, ui::kIconWarning, "OK", "Ombrello_zandrix", "two\nlines\ttab"},
        {kMsgNoProcess, IDOK, ui::kIconWarning, "OK", "Ombrello_zandrix", "two|lines{tab"},
        {kMsgNoLog, IDOK, ui::kIconInformation, "OK", "Ombrello", "No log."},
        {kMsgPrefix, IDOK, ui::kIconError, "OK", "Ombrello_zandrix", "Empty\nprefix"},
        {kMsgWriteFailed, IDOK, ui::kIconError, "OK", "Ombrello_zandrix",
         "Cannot write\nC:\\Out\\%s\nNot saved."},
        {kMsgNoFolder, IDNO, ui::kIconQuestion, "Yes|No", "Ombrello_zandrix",
         "Missing:\nC:\\Out\\%s\n%n %d 100%\nCreate it?"},
        {kMsgDeletePdf, IDCANCEL, ui::kIconError, "OK|Cancel", "Ombrello_zandrix", "Delete\nthem?"},
        // Absent from the file: an empty text in the usual box.
        {kMsgLastPage, IDOK, ui::kIconError, "OK", "Ombrello_zandrix", ""},
        {kMsgNoTempFolder, IDYES, ui::kIconQuestion, "Yes|No", "Ombrello_zandrix", ""},
    };
    for (const auto& c : cases) {
        const char* key = LanguageMessageAt(c.id).key;
        BoxSeen seen = Answer(c.press, [&] { return ShowLanguageMessageAt(dialog_, c.id, folder); });
        ASSERT_TRUE(seen.shown) << key;
        EXPECT_EQ(c.press, seen.result) << key;
        EXPECT_EQ(dialog_, seen.owner) << key;
        EXPECT_EQ(c.caption, seen.view.caption) << key;
        EXPECT_EQ(c.icon, seen.view.icon) << key;
        EXPECT_EQ(c.buttons, seen.view.buttons) << key;
        EXPECT_EQ(c.text, seen.view.text) << key;
    }

    BoxSeen yes = Answer(IDYES, [&] { return AskFolderQuestion(dialog_, kMsgNoFolder, "D:\\New"); });
    EXPECT_EQ(1, yes.result);
    EXPECT_EQ("Missing:\nD:\\New\n%n %d 100%\nCreate it?", yes.view.text);
    EXPECT_EQ(0, Answer(IDNO, [&] { return AskFolderQuestion(dialog_, kMsgNoFolder, "D:\\New"); }).result);
    EXPECT_EQ(1, Answer(IDOK, [&] { return ConfirmLanguageQuestion(dialog_, kMsgDeletePdf); }).result);
    EXPECT_EQ(0, Answer(IDCANCEL, [&] { return ConfirmLanguageQuestion(dialog_, kMsgDeletePdf); }).result);

    BoxSeen byKey = Answer(IDOK, [&] { return ShowLanguageMessage(dialog_, "errors", "NO_INI", nullptr); });
    EXPECT_EQ(IDOK, byKey.result);
    EXPECT_EQ("two\nlines\ttab", byKey.view.text);
    // A key no message has shows nothing.
    EXPECT_EQ(0, ShowLanguageMessage(dialog_, "ERRORS", "no_such_message", nullptr));
}

TEST_F(LanguageWindows, ShippedQuestionShowsTheFolder) {
    ASSERT_EQ(1, SetLanguageFile(Shipped("001.lng").c_str()));
    BoxSeen seen = Answer(IDYES, [&] {
        return ShowLanguageMessageAt(dialog_, kMsgNoTempFolder, "C:\\Temp\\work");
    });
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(IDYES, seen.result);
    EXPECT_EQ("The temporary folder does not exist or cannot be written:\n\n\tC:\\Temp\\work\n\nCreate it?",
              seen.view.text);
    ASSERT_EQ(1, SetLanguageFile(Shipped("033.lng").c_str()));
    seen = Answer(IDOK, [&] { return ShowLanguageMessageAt(dialog_, kMsgWriteFailed, "C:\\Jobs\\a.ini"); });
    EXPECT_EQ(ui::kIconError, seen.view.icon);
    EXPECT_EQ(0u, seen.view.text.find("Le fichier de travail n'a pas pu \xEAtre \xE9" "crit :\n\n\tC:\\Jobs\\a.ini\n\n"))
        << seen.view.text;
}

}  // namespace
