// Bad bytes reaching the real main window: a language file with a missing
// key, a 100 KB text, "%n" and "%s%s" in its messages and bytes that are no
// Windows-1252 text; a job file with binary bytes, a 1 MB line, 10,000
// sections and values longer than their fields. The window starts, shows
// bounded texts, shows every "%" as it stands and saves what it loaded
// within the limits of the job file's table.
#include "tests/windows/main_window_fixture.h"

namespace {

using namespace main_window_test;

class HostileFiles : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        EnterWorkFolder("hostile_files");
    }
};

const char kPlainJob[] =
    "[MAIN]\r\nlangue=1\r\n[FOLDERS]\r\nsource=src\r\ntarget=out\r\ntemp_path=tmp\r\n"
    "[PARAMS]\r\nimage_type=13\r\nextract_all=1\r\n";

TEST_F(HostileFiles, ALanguageFileOfBadBytesGivesBoundedLiteralTexts) {
    const std::string language =
        std::string("[MAIN]\r\nmain=001\r\n[BUTTONS]\r\n1=") + std::string(100 * 1024, 'W') +
        "\r\n3=%n%s%s%x\r\n5=\x81\x8d\x8f\x90\x9d\x01\x7f\r\n"
        "[ERRORS]\r\nno_source=%n|%s%s %d{end\r\n"
        "[QUESTIONS]\r\nno_folder=Make %s%s %n?\r\n" +
        std::string("\0\0[BROKEN\xff\xfe", 12) + "\r\n";
    PutBesideProgram("001.lng", language);
    ASSERT_NE(nullptr, Start(kPlainJob));

    EXPECT_EQ(std::string(1023, 'W'), Text(IDC_BT_SAVE_QUIT)) << "a 100 KB text is cut to 1023 characters";
    EXPECT_EQ("%n%s%s%x", Text(IDC_BT_QUIT)) << "no format specifier takes effect";
    EXPECT_EQ(7u, Text(IDC_BT_LAUNCH).size()) << "bytes outside Windows-1252 are shown, one for one";

    // A refused check shows its text as it stands (no_source is not
    // converted), every "%" included.
    SetWindowTextA(Item(IDC_ED_SOURCE_PATH), "");
    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_SAVE, &box);
    EXPECT_EQ("%n|%s%s %d{end", view.text);
    if (box != nullptr) Answer(box, "OK");

    // A folder question puts the folder in the first "%s" only.
    SetWindowTextA(Item(IDC_ED_SOURCE_PATH), "src");
    SetWindowTextA(Item(IDC_ED_TARGET_PATH), "missing out");
    view = PressForBox(IDC_BT_SAVE, &box);
    EXPECT_EQ("Make missing out%s %n?", view.text);
    EXPECT_EQ(ui::kIconQuestion, view.icon);
    if (box != nullptr) Answer(box, "&No");

    // A missing key gives an empty text, not some other text.
    SetWindowTextA(Item(IDC_ED_JOB_FILE), "");
    view = PressForBox(IDC_BT_SAVE, &box);
    EXPECT_EQ("", view.text);
    EXPECT_EQ("Ombrello_zandrix", view.caption);
    if (box != nullptr) Answer(box, "OK");
    EXPECT_TRUE(IsWindow(dialog_));
}

TEST_F(HostileFiles, AJobFileOfBadBytesLoadsAndSavesWithinTheTablesLimits) {
    std::string job = "\x01\x02\x7f binary \x80\x81\xfe\xff\r\n";
    job += kPlainJob;
    job += "[PARAMS]\r\nignored=1\r\n";  // a second PARAMS is never read
    job += "[LONG]\r\nline=" + std::string(1 << 20, 'L') + "\r\n";
    job += "[PARAMS]\r\n";
    for (int i = 0; i < 10000; ++i) job += "[N" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
    // The values that matter stand in the first PARAMS and TIFF sections.
    const std::string password(300, 'p');
    const std::string author(300, 'a');
    const std::string prefix = "%s%n%x%%";
    job.insert(job.find("image_type=13\r\n"),
               "password=" + password + "\r\ntarget_file_name_type=0\r\nprefix_file_name=" + prefix + "\r\n");
    job += "[TIFF]\r\nauthor=" + author + "\r\n";
    ASSERT_NE(nullptr, Start(job.c_str()));

    EXPECT_EQ(std::string(259, 'p'), Text(IDC_ED_PASSWORD)) << "a 300-character value fills the 259 the field takes";
    EXPECT_EQ(std::string(79, 'a'), Text(IDC_ED_TIFF_AUTHOR));
    EXPECT_EQ(prefix, Text(IDC_ED_NAME_PREFIX));

    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_SAVE, &box);
    EXPECT_EQ("Done.", view.text);
    if (box != nullptr) Answer(box, "OK");

    char stored[1024];
    GetPrivateProfileStringA("PARAMS", "password", "", stored, sizeof stored, job_.c_str());
    EXPECT_EQ(std::string(259, 'p'), stored);
    GetPrivateProfileStringA("TIFF", "author", "", stored, sizeof stored, job_.c_str());
    EXPECT_EQ(std::string(79, 'a'), stored);
    GetPrivateProfileStringA("PARAMS", "prefix_file_name", "", stored, sizeof stored, job_.c_str());
    EXPECT_EQ(prefix, stored);
    EXPECT_EQ(9999u, GetPrivateProfileIntA("N9999", "k", 0, job_.c_str())) << "other sections stay";
    std::vector<char> line(2 << 20);
    EXPECT_EQ(1u << 20, GetPrivateProfileStringA("LONG", "line", "", line.data(), static_cast<DWORD>(line.size()),
                                                 job_.c_str()))
        << "the 1 MB line stays";
}

}  // namespace
