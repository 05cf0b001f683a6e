// Loading and saving through the real main window: a job's values in the
// form, Save writing the file and saying "Done.", a refused check with its
// message and page, and a job file that cannot be written.
#include "tests/windows/main_window_fixture.h"

namespace {

using namespace main_window_test;

class MainWindowSave : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        // The jobs name their folders relative to the current folder, as the
        // native test of the same job does.
        EnterWorkFolder("main_window_save");
    }

    std::string Expected(const char* section, const char* key) const {
        char text[1024];
        GetPrivateProfileStringA(section, key, "", text, sizeof text, (folder_ + "001.lng").c_str());
        return text;
    }

    int CurrentTab(int groupBox) const {
        return static_cast<int>(SendMessageA(TabOver(groupBox), TCM_GETCURSEL, 0, 0));
    }

};

const char kData[] = ZANDRIX_TEST_DATA;

TEST_F(MainWindowSave, StartUpShowsTheJobsValues) {
    ASSERT_NE(nullptr, Start(ui::ReadFileBytes(std::string(kData) + "/job_before_save.ini").c_str()));
    EXPECT_EQ("src", Text(IDC_ED_SOURCE_PATH));
    EXPECT_EQ("out", Text(IDC_ED_TARGET_PATH));
    EXPECT_EQ("tmp", Text(IDC_ED_TEMP_PATH));
    EXPECT_EQ("45", Text(IDC_ED_ROTATE_RADIUS));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_ED_ROTATE_RADIUS)));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog_, IDC_RB_EXTRACT_RANGE));
    EXPECT_EQ("2", Text(IDC_ED_FIRST_PAGE));
    EXPECT_EQ("9", Text(IDC_ED_LAST_PAGE));
    EXPECT_EQ("640", Text(IDC_ED_RESIZE_WIDTH));
    EXPECT_EQ("480", Text(IDC_ED_RESIZE_HEIGHT));
    EXPECT_EQ("secret", Text(IDC_ED_PASSWORD));
    EXPECT_EQ("Claire Dupont", Text(IDC_ED_TIFF_AUTHOR));
    EXPECT_EQ(13, SendMessageA(Item(IDC_CB_OUTPUT_FORMAT), CB_GETCURSEL, 0, 0));
    EXPECT_EQ("TIFF", Text(IDC_CB_OUTPUT_FORMAT));
    EXPECT_EQ(2, SendMessageA(Item(IDC_CB_TIFF_COMPRESS), CB_GETCURSEL, 0, 0)) << "compress 3 selects JPEG";
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog_, IDC_CK_INFOS_TITLE));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog_, IDC_CK_INFOS_TAGGED));
    EXPECT_EQ(0, CurrentTab(IDC_GB_OUTPUT)) << "the output tab stays on its first page";
}

TEST_F(MainWindowSave, SaveWritesTheJobAsTheNativeBuildDoesAndSaysDone) {
    ASSERT_NE(nullptr, Start(ui::ReadFileBytes(std::string(kData) + "/job_before_save.ini").c_str()));
    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_SAVE, &box);
    EXPECT_EQ("Done.", view.text);
    EXPECT_EQ(ui::kIconInformation, view.icon);
    if (box != nullptr) Answer(box, "OK");
    EXPECT_EQ(ui::ReadFileBytes(std::string(kData) + "/job_after_save.ini"), ui::ReadFileBytes(job_));
    EXPECT_TRUE(IsWindow(dialog_)) << "Save leaves the window open";
}

TEST_F(MainWindowSave, SaveCarriesTheMenuStateIntoTheJob) {
    ASSERT_NE(nullptr, Start("[FOLDERS]\r\nsource=src\r\ntarget=out\r\ntemp_path=tmp\r\n"));
    Command(IDM_FRENCH);
    Command(IDM_DISPLAY_DETAILS);
    Command(IDM_TOOLTIPS);
    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_SAVE, &box);
    EXPECT_EQ("Done.", view.text);
    if (box != nullptr) Answer(box, "OK");
    EXPECT_EQ(33u, GetPrivateProfileIntA("MAIN", "langue", 0, job_.c_str()));
    EXPECT_EQ(0u, GetPrivateProfileIntA("PARAMS", "display_details", 9, job_.c_str()));
    EXPECT_EQ(1u, GetPrivateProfileIntA("MISC", "tooltips", 9, job_.c_str()));
}

TEST_F(MainWindowSave, RefusedChecksShowTheirMessageAndPage) {
    ASSERT_NE(nullptr, Start("[FOLDERS]\r\nsource=\r\ntarget=out\r\ntemp_path=tmp\r\n"));
    ASSERT_TRUE(ui::SelectTab(TabOver(IDC_GB_INPUT), 4));
    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_SAVE, &box);
    EXPECT_EQ(Expected("ERRORS", "no_source"), view.text);
    EXPECT_EQ(ui::kIconWarning, view.icon);
    ASSERT_NE(nullptr, box);
    Answer(box, "OK");
    EXPECT_EQ(0, CurrentTab(IDC_GB_INPUT));
    EXPECT_TRUE(IsWindowVisible(Item(IDC_ED_SOURCE_PATH)));
    EXPECT_EQ(Item(IDC_ED_SOURCE_PATH), Focused());

    // Prefix naming without a prefix: the converted error, output page 1.
    SetWindowTextA(Item(IDC_ED_SOURCE_PATH), "src");
    ASSERT_TRUE(ui::SelectTab(TabOver(IDC_GB_OUTPUT), 1));
    ui::ClickButton(dialog_, IDC_RB_NAME_PREFIX);
    ASSERT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog_, IDC_RB_NAME_FROM_PDF));
    ASSERT_TRUE(ui::SelectTab(TabOver(IDC_GB_OUTPUT), 0));
    view = PressForBox(IDC_BT_SAVE, &box);
    std::string converted = Expected("ERRORS", "prefix");
    for (char& c : converted) {
        if (c == '|') c = '\n';
        if (c == '{') c = '\t';
    }
    EXPECT_EQ(converted, view.text);
    EXPECT_EQ(ui::kIconError, view.icon);
    ASSERT_NE(nullptr, box);
    Answer(box, "OK");
    EXPECT_EQ(1, CurrentTab(IDC_GB_OUTPUT));
    EXPECT_EQ(Item(IDC_ED_NAME_PREFIX), Focused());
    EXPECT_EQ(0u, GetPrivateProfileIntA("PARAMS", "target_file_name_type", 9, job_.c_str()))
        << "the file never holds prefix naming without a prefix";
}

TEST_F(MainWindowSave, AJobFileThatCannotBeWrittenIsReportedNeverDone) {
    const char job[] = "[FOLDERS]\r\nsource=src\r\ntarget=out\r\ntemp_path=tmp\r\n";
    ASSERT_NE(nullptr, Start(job));
    // Another program holds the job file open without sharing it. (A read-only
    // file does not stop a write under Wine run as root; the native tests
    // cover read-only files.)
    HANDLE held = CreateFileA(job_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_SAVE, &box);
    EXPECT_NE("Done.", view.text);
    EXPECT_EQ(ui::kIconError, view.icon);
    EXPECT_NE(std::string::npos, view.text.find(job_)) << view.text;
    ASSERT_NE(nullptr, box);
    Answer(box, "OK");
    EXPECT_EQ(nullptr, ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello_zandrix", 300))
        << "no second box follows";

    // Save & Quit keeps the window open after the failure.
    view = PressForBox(IDC_BT_SAVE_QUIT, &box);
    EXPECT_NE(std::string::npos, view.text.find(job_)) << view.text;
    ASSERT_NE(nullptr, box);
    Answer(box, "OK");
    EXPECT_TRUE(IsWindow(dialog_));
    CloseHandle(held);
    EXPECT_EQ(job, ui::ReadFileBytes(job_));
}

TEST_F(MainWindowSave, AJobPathInAMissingFolderIsReported) {
    ASSERT_NE(nullptr, Start("[FOLDERS]\r\nsource=src\r\ntarget=out\r\ntemp_path=tmp\r\n"));
    std::string missing = work_ + "\\gone\\job.ini";
    SetWindowTextA(Item(IDC_ED_JOB_FILE), missing.c_str());
    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_SAVE, &box);
    EXPECT_NE(std::string::npos, view.text.find(missing)) << view.text;
    EXPECT_EQ(ui::kIconError, view.icon);
    ASSERT_NE(nullptr, box);
    Answer(box, "OK");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(missing.c_str()));
}

}  // namespace
