// Launch, the monitor window, Stop scan and Last log on the real main window,
// with the scripted engine double beside the test as the program folder's
// engine, so that the monitor moves at a known pace.
#include "tests/windows/launch_fixture.h"

namespace {

using namespace main_window_test;

TEST_F(Launch, RunsTheEngineOnTheJobAndTheMonitorWindowFollowsIt) {
    ASSERT_NE(nullptr, Start(Job().c_str()));
    SetText(IDC_ED_JOB_FILE, jobPath_);
    HWND monitor = LaunchForMonitor();
    ASSERT_NE(nullptr, monitor);

    // What the user sees at once: the window beside the main window, centred, no close box.
    EXPECT_EQ(dialog_, GetWindow(monitor, GW_OWNER));
    EXPECT_EQ(0, GetWindowLongA(monitor, GWL_STYLE) & WS_SYSMENU);
    RECT rect;
    GetWindowRect(monitor, &rect);
    long x = 0;
    long y = 0;
    CenteredOrigin(rect.left, rect.top, rect.right, rect.bottom, GetSystemMetrics(SM_CXSCREEN),
                   GetSystemMetrics(SM_CYSCREEN), &x, &y);
    EXPECT_EQ(x, rect.left);
    EXPECT_EQ(y, rect.top);

    // Follow the window until the engine closes it, as a user watching it would.
    std::vector<std::string> firstLines;
    std::vector<std::string> secondLines;
    std::string thirdLine;
    long mostFirst = 0;
    long mostSecond = 0;
    DWORD start = GetTickCount();
    while (IsWindow(monitor) && GetTickCount() - start < 20000) {
        std::string line1 = Line(monitor, IDC_ST_MONITOR_LINE1);
        std::string line2 = Line(monitor, IDC_ST_MONITOR_LINE2);
        std::string line3 = Line(monitor, IDC_ST_MONITOR_LINE3);
        if (!line1.empty() && std::find(firstLines.begin(), firstLines.end(), line1) == firstLines.end())
            firstLines.push_back(line1);
        if (!line2.empty() && std::find(secondLines.begin(), secondLines.end(), line2) == secondLines.end())
            secondLines.push_back(line2);
        if (!line3.empty()) thirdLine = line3;
        mostFirst = std::max(mostFirst, BarPosition(monitor, IDC_PB_MONITOR_FIRST));
        mostSecond = std::max(mostSecond, BarPosition(monitor, IDC_PB_MONITOR_SECOND));
        Sleep(20);
    }
    EXPECT_FALSE(IsWindow(monitor)) << "1244 with a non-zero lParam destroys the window";
    EXPECT_EQ((std::vector<std::string>{"File 1 of 2", "File 2 of 2"}), firstLines);
    ASSERT_EQ(2u, secondLines.size());
    std::sort(secondLines.begin(), secondLines.end());
    EXPECT_EQ(source_ + "\\a.pdf", secondLines[0]);
    EXPECT_EQ(source_ + "\\b.PDF", secondLines[1]);
    EXPECT_EQ("Stand-in engine: nothing is converted", thirdLine);
    EXPECT_GE(mostFirst, 90);
    EXPECT_GE(mostSecond, 50);

    // The engine got "G|" and the unquoted path with its blanks, one backslash before its name.
    ASSERT_TRUE(WaitFor([](const Launch& t) { return ui::ReadFileBytes(t.LogPath()).find("none converted") !=
                                                     std::string::npos; },
                        5000));
    std::string log = ui::ReadFileBytes(LogPath());
    EXPECT_NE(std::string::npos, log.find("Command line: " + engine_ + " G|" + jobPath_ + "\r\n")) << log;
    EXPECT_NE(std::string::npos, log.find("Monitor window: found\r\n")) << "the window was there before the engine";
    EXPECT_NE(std::string::npos, log.find("Output format: DCX (image_type 1)\r\n")) << log;
    EXPECT_NE(std::string::npos, log.find("2 file(s) handled, none converted.\r\n")) << log;
    EXPECT_TRUE(WaitFor([](const Launch& t) { return ui::ReadFileBytes(t.jobPath_).find("[PROCESS]\r\nID=0\r\n") !=
                                                     std::string::npos; },
                        5000))
        << "the saved job, then the engine's record, cleared as it ended";
    std::string saved = ui::ReadFileBytes(jobPath_);
    EXPECT_NE(std::string::npos, saved.find("source=" + source_ + "\r\n"));
}

TEST_F(Launch, NothingStartsWithoutAJobPathOrWhenTheSaveStops) {
    ASSERT_NE(nullptr, Start(Job().c_str()));
    SetText(IDC_ED_JOB_FILE, "");
    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_LAUNCH, &box);
    EXPECT_EQ(Expected("ERRORS", "ini_file"), view.text);
    EXPECT_EQ(ui::kIconError, view.icon);
    EXPECT_EQ("OK", view.buttons);
    if (box != nullptr) Answer(box, "OK");
    EXPECT_EQ(Item(IDC_ED_JOB_FILE), Focused());

    SetText(IDC_ED_JOB_FILE, jobPath_);
    SetText(IDC_ED_SOURCE_PATH, "");
    view = PressForBox(IDC_BT_LAUNCH, &box);
    EXPECT_EQ(Expected("ERRORS", "no_source"), view.text);
    EXPECT_EQ(ui::kIconWarning, view.icon);
    if (box != nullptr) Answer(box, "OK");
    view = NextBox(&box);
    EXPECT_EQ(Expected("ERRORS", "save_setup"), view.text);
    EXPECT_EQ(ui::kIconError, view.icon);
    EXPECT_EQ("OK", view.buttons);
    if (box != nullptr) Answer(box, "OK");

    Sleep(500);
    EXPECT_TRUE(Monitors().empty());
    EXPECT_EQ("<no file>", ui::ReadFileBytes(LogPath())) << "no engine ran";
}

TEST_F(Launch, MonitorWindowTakesItsCodesAndTheRelayMessages) {
    ASSERT_NE(nullptr, Start(Job().c_str()));
    SetText(IDC_ED_JOB_FILE, jobPath_);
    // Without an engine in the program folder nothing is reported and the window stays empty.
    HideEngine();
    HWND monitor = LaunchForMonitor();
    ASSERT_NE(nullptr, monitor);
    HWND box = ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello_zandrix", 500);
    EXPECT_EQ(nullptr, box);
    EXPECT_EQ("", Line(monitor, IDC_ST_MONITOR_LINE1));
    EXPECT_EQ(0, BarPosition(monitor, IDC_PB_MONITOR_FIRST));

    SendCode(monitor, kMonitorFirstRange, 0);
    SendCode(monitor, kMonitorFirstPos, 50);
    PBRANGE range;
    SendMessageA(GetDlgItem(monitor, IDC_PB_MONITOR_FIRST), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(0, range.iLow);
    EXPECT_EQ(100, range.iHigh);
    EXPECT_EQ(50, BarPosition(monitor, IDC_PB_MONITOR_FIRST)) << "half of the first bar";
    SendCode(monitor, kMonitorSecondRange, 0);
    SendCode(monitor, kMonitorSecondPos, 100);
    EXPECT_EQ(100, BarPosition(monitor, IDC_PB_MONITOR_SECOND)) << "the second bar full";
    SendCode(monitor, MAKEWPARAM(kMonitorFirstPos, 7), 25);
    EXPECT_EQ(25, BarPosition(monitor, IDC_PB_MONITOR_FIRST)) << "the high word is ignored";

    // Texts by address work from inside the process; a bad address shows nothing and harms nothing.
    char inside[] = "Text from inside";
    SendCode(monitor, kMonitorLine1Text, reinterpret_cast<LPARAM>(inside));
    SendCode(monitor, kMonitorLine2Text, reinterpret_cast<LPARAM>(inside));
    EXPECT_EQ("Text from inside", Line(monitor, IDC_ST_MONITOR_LINE1));
    EXPECT_EQ("Text from inside", Line(monitor, IDC_ST_MONITOR_LINE2));
    SendCode(monitor, kMonitorLine1Text, 16);
    EXPECT_EQ("", Line(monitor, IDC_ST_MONITOR_LINE1));

    // Other codes change nothing.
    for (WPARAM code : {2, 399, 406, 1242}) SendCode(monitor, code, 80);
    EXPECT_TRUE(IsWindowVisible(monitor));
    EXPECT_EQ(25, BarPosition(monitor, IDC_PB_MONITOR_FIRST));
    EXPECT_EQ("Text from inside", Line(monitor, IDC_ST_MONITOR_LINE2));

    Relay(IDC_ST_RELAY_2, kRelayLine3, "Page 3 of 7");
    EXPECT_EQ("Page 3 of 7", Line(monitor, IDC_ST_MONITOR_LINE3));
    SendMessageA(dialog_, kRelayLine2, 0, 0);
    EXPECT_EQ("Page 3 of 7", Line(monitor, IDC_ST_MONITOR_LINE2)) << "the same field's text in line 2";
    std::string longText(400, 'x');
    Relay(IDC_ST_RELAY_1, kRelayLine1, longText.c_str());
    EXPECT_EQ(std::string(259, 'x'), Line(monitor, IDC_ST_MONITOR_LINE1)) << "at most 259 characters";

    // A Stop scan box is open, and the relay messages still reach the window.
    HWND stopBox = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_STOP_SCAN, &stopBox);
    EXPECT_EQ(Expected("ERRORS", "no_process"), view.text);
    EXPECT_EQ(ui::kIconWarning, view.icon);
    SetDlgItemTextA(dialog_, IDC_ST_RELAY_2, "While a box is open");
    DWORD_PTR ignored = 0;
    EXPECT_NE(0, SendMessageTimeoutA(dialog_, kRelayLine3, 0, 0, SMTO_NORMAL, 3000, &ignored));
    EXPECT_EQ("While a box is open", Line(monitor, IDC_ST_MONITOR_LINE3));
    EXPECT_TRUE(IsWindow(stopBox));
    if (stopBox != nullptr) Answer(stopBox, "OK");

    // 1244 with 0 hides; the window lives on but is no longer shown.
    SendMessageA(dialog_, kRelayClose, 0, 0);
    EXPECT_TRUE(IsWindow(monitor));
    EXPECT_FALSE(IsWindowVisible(monitor));

    // A newer window takes the relays, and the hidden one it replaces is
    // destroyed rather than kept for the rest of the session.
    HWND newer = LaunchForMonitor();
    ASSERT_NE(nullptr, newer);
    EXPECT_NE(monitor, newer);
    EXPECT_FALSE(IsWindow(monitor));
    EXPECT_EQ(std::vector<HWND>{newer}, Monitors());
    Relay(IDC_ST_RELAY_1, kRelayLine1, "For the newest");
    EXPECT_EQ("For the newest", Line(newer, IDC_ST_MONITOR_LINE1));

    // Code 1 hides it; the next Launch destroys it too.
    SendCode(newer, kMonitorHide, 0);
    EXPECT_FALSE(IsWindowVisible(newer));
    HWND newest = LaunchForMonitor();
    ASSERT_NE(nullptr, newest);
    EXPECT_FALSE(IsWindow(newer));
    EXPECT_EQ(std::vector<HWND>{newest}, Monitors());

    // A window still shown is left as it is when another one opens.
    HWND fourth = LaunchForMonitor();
    ASSERT_NE(nullptr, fourth);
    EXPECT_TRUE(IsWindowVisible(newest));
    EXPECT_EQ(2u, Monitors().size());
    Relay(IDC_ST_RELAY_1, kRelayLine1, "For the fourth");
    EXPECT_EQ("For the fourth", Line(fourth, IDC_ST_MONITOR_LINE1));
    EXPECT_EQ("", Line(newest, IDC_ST_MONITOR_LINE1));

    // 1244 with 1 destroys the newest; relays afterwards go nowhere.
    SendMessageA(dialog_, kRelayClose, 0, 1);
    EXPECT_FALSE(IsWindow(fourth));
    Relay(IDC_ST_RELAY_1, kRelayLine1, "Nobody reads this");
    EXPECT_EQ("", Line(newest, IDC_ST_MONITOR_LINE1));
    EXPECT_TRUE(IsWindow(dialog_));
}

TEST_F(Launch, ScanModeRunsWithoutAMonitorWindowUntilStopScan) {
    // The file list of an earlier selection names the files.
    ASSERT_TRUE(ui::WriteFileBytes(temp_ + "\\o.log", "[FILES]\r\n0=" + source_ + "\\b.PDF\r\n"));
    ASSERT_NE(nullptr, Start(Job().c_str()));
    SetText(IDC_ED_JOB_FILE, jobPath_);
    // An earlier one-off launch whose engine never came left its window.
    HideEngine();
    HWND earlier = LaunchForMonitor();
    ASSERT_NE(nullptr, earlier);
    RestoreEngine();

    CheckDlgButton(dialog_, IDC_CK_SCAN, BST_CHECKED);
    SetText(IDC_ED_SCAN_DELAY, "1");
    CheckDlgButton(dialog_, IDC_RB_SCAN_MINUTES, BST_UNCHECKED);
    CheckDlgButton(dialog_, IDC_RB_SCAN_SECONDS, BST_CHECKED);
    CheckDlgButton(dialog_, IDC_RB_ERRORS_NOTHING, BST_UNCHECKED);
    CheckDlgButton(dialog_, IDC_RB_ERRORS_MOVE, BST_CHECKED);
    CreateDirectoryA((temp_ + "\\errors").c_str(), nullptr);
    SetText(IDC_ED_ERRORS_PATH, temp_ + "\\errors");
    PostMessageA(dialog_, WM_COMMAND, IDC_BT_LAUNCH, 0);
    ASSERT_TRUE(WaitFor([](const Launch& t) { return t.RecordedProcess() != 0; }, 10000)) << "the engine runs";
    DWORD engineId = RecordedProcess();
    EXPECT_EQ(1u, Monitors().size()) << "no monitor window in scan mode";
    ASSERT_TRUE(WaitFor([](const Launch& t) { return ui::ReadFileBytes(t.LogPath()).find("Scan 2:") !=
                                                     std::string::npos; },
                        10000))
        << "it scans again after its second";
    std::string log = ui::ReadFileBytes(LogPath());
    EXPECT_NE(std::string::npos, log.find("Scan mode: a scan every 1 s\r\n")) << log;
    EXPECT_NE(std::string::npos, log.find("Scan 1: 1 file(s) from the file list " + temp_ + "\\o.log\r\n" +
                                          source_ + "\\b.PDF: handled, not converted\r\n"))
        << log;

    Relay(IDC_ST_RELAY_2, kRelayLine3, "To the earlier window");
    EXPECT_EQ("To the earlier window", Line(earlier, IDC_ST_MONITOR_LINE3));

    // Stop scan ends it and clears the record.
    HANDLE engine = OpenProcess(SYNCHRONIZE, FALSE, engineId);
    ASSERT_NE(nullptr, engine);
    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDC_BT_STOP_SCAN, &box);
    EXPECT_EQ("OK", view.text);
    EXPECT_EQ(ui::kIconWarning, view.icon);
    EXPECT_EQ("OK", view.buttons);
    if (box != nullptr) Answer(box, "OK");
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(engine, 5000));
    CloseHandle(engine);
    EXPECT_EQ(0u, RecordedProcess());
    EXPECT_NE(std::string::npos, ui::ReadFileBytes(jobPath_).find("[PROCESS]\r\nID=0\r\n"));

    // A stale identifier, then one that another program now has: neither is
    // stopped, the user is told, and the record stays.
    HANDLE other = nullptr;
    DWORD otherId = StartOtherProgram(&other);
    for (DWORD id : {engineId, otherId}) {
        std::string recorded = std::to_string(id);
        ASSERT_TRUE(WritePrivateProfileStringA("PROCESS", "ID", recorded.c_str(), jobPath_.c_str()));
        std::string before = ui::ReadFileBytes(jobPath_);
        view = PressForBox(IDC_BT_STOP_SCAN, &box);
        EXPECT_EQ(Expected("ERRORS", "stopjob"), view.text) << id;
        EXPECT_EQ(ui::kIconWarning, view.icon);
        if (box != nullptr) Answer(box, "OK");
        view = NextBox(&box);
        EXPECT_EQ("OK", view.text) << id;
        EXPECT_EQ(ui::kIconWarning, view.icon);
        if (box != nullptr) Answer(box, "OK");
        EXPECT_EQ(before, ui::ReadFileBytes(jobPath_)) << "ID " << id << " kept";
    }
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(other, 0)) << "the other program still runs";

    // A bare job name is the job beside the program, as for a save: its
    // record is the one read, and the field shows the full path.
    const std::string besideProgram = folder_ + "stop scan.ini";
    ASSERT_TRUE(ui::WriteFileBytes(besideProgram, "[PROCESS]\r\nID=" + std::to_string(otherId) + "\r\n"));
    SetText(IDC_ED_JOB_FILE, "stop scan.ini");
    view = PressForBox(IDC_BT_STOP_SCAN, &box);
    EXPECT_EQ(Expected("ERRORS", "stopjob"), view.text);
    if (box != nullptr) Answer(box, "OK");
    view = NextBox(&box);
    EXPECT_EQ("OK", view.text);
    if (box != nullptr) Answer(box, "OK");
    EXPECT_EQ(besideProgram, ui::WindowText(Item(IDC_ED_JOB_FILE)));
    DeleteFileA(besideProgram.c_str());

    // Without a job path Stop scan says so, its text converted.
    SetText(IDC_ED_JOB_FILE, "");
    view = PressForBox(IDC_BT_STOP_SCAN, &box);
    std::string expected = Expected("ERRORS", "no_ini");
    std::replace(expected.begin(), expected.end(), '|', '\n');
    EXPECT_EQ(expected, view.text);
    EXPECT_EQ(ui::kIconWarning, view.icon);
    if (box != nullptr) Answer(box, "OK");
    EXPECT_EQ(Item(IDC_ED_JOB_FILE), Focused());
}

TEST_F(Launch, LastLogSaysWhenThereIsNoLog) {
    ASSERT_NE(nullptr, Start(Job().c_str()));
    HWND box = nullptr;
    ui::MessageBoxView view = PressForBox(IDM_LAST_LOG, &box, "Ombrello");
    EXPECT_EQ("Ombrello", view.caption);
    EXPECT_EQ(Expected("ERRORS", "no_log"), view.text);
    EXPECT_EQ(ui::kIconInformation, view.icon);
    EXPECT_EQ("OK", view.buttons);
    if (box != nullptr) Answer(box, "OK");
}


struct TitleSearch {
    const std::string* part;
    HWND found;
};

BOOL CALLBACK MatchTitlePart(HWND window, LPARAM param) {
    TitleSearch* into = reinterpret_cast<TitleSearch*>(param);
    if (!IsWindowVisible(window) || ui::WindowText(window).find(*into->part) == std::string::npos) return TRUE;
    into->found = window;
    return FALSE;
}

// The first visible window of any process whose title holds the text.
HWND WindowTitled(const std::string& part, DWORD timeoutMs) {
    TitleSearch search{&part, nullptr};
    DWORD start = GetTickCount();
    while (search.found == nullptr && GetTickCount() - start < timeoutMs) {
        EnumWindows(MatchTitlePart, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) Sleep(50);
    }
    return search.found;
}

TEST_F(Launch, LastLogOpensTheLogWithItsProgram) {
    // Log files open with Notepad on this machine, as on a user's.
    HKEY classes = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &classes, nullptr));
    HKEY key = nullptr;
    const char type[] = "zandrix_test_logfile";
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(classes, ".log", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(type), sizeof type);
    RegCloseKey(key);
    const char command[] = "notepad.exe \"%1\"";
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(classes, "zandrix_test_logfile\\shell\\open\\command", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command), sizeof command);
    RegCloseKey(key);

    ASSERT_TRUE(ui::WriteFileBytes(LogPath(), "3 file(s) handled, none converted.\r\n"));
    ASSERT_NE(nullptr, Start(Job().c_str()));
    PostMessageA(dialog_, WM_COMMAND, IDM_LAST_LOG, 0);
    HWND notepad = WindowTitled("ombrello_zandrix.log", 10000);
    EXPECT_NE(nullptr, notepad);
    if (notepad != nullptr) {
        HWND edit = FindWindowExA(notepad, nullptr, "Edit", nullptr);
        EXPECT_EQ("3 file(s) handled, none converted.\r\n", ui::WindowText(edit));
        PostMessageA(notepad, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(nullptr, ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello", 300)) << "no box";

    RegDeleteTreeA(classes, "zandrix_test_logfile");
    RegDeleteTreeA(classes, ".log");
    RegCloseKey(classes);
}

}  // namespace
