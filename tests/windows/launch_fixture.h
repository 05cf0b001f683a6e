// The fixture of the tests that press Launch on the real main window: a
// temporary folder of the test's own (TMP and TEMP point there, for the
// configurator and the engine it starts, so the engine's log and the
// file-list file are the test's own), a source folder, a job path with
// blanks, and ways to follow the monitor windows and the process record.
#pragma once

#include "tests/windows/main_window_fixture.h"

#include <algorithm>

#include "gui/window_helpers.h"
#include "launch/engine_process.h"
#include "launch/monitor_protocol.h"

namespace main_window_test {

struct MonitorSearch {
    DWORD process;
    std::vector<HWND> windows;
};

// A window enumeration callback has the CALLBACK convention (stdcall on
// 32-bit Windows), which a plain lambda does not have.
inline BOOL CALLBACK CollectMonitor(HWND window, LPARAM param) {
    MonitorSearch* into = reinterpret_cast<MonitorSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == into->process && ui::WindowText(window) == kMonitorWindowTitle) into->windows.push_back(window);
    return TRUE;
}

class Launch : public MainWindow {
public:
    void SetUp() override {
        MainWindow::SetUp();
        temp_ = ui::MakeTempFolder("launch");
        for (const char* name : {"TMP", "TEMP"}) {
            char value[MAX_PATH] = "";
            GetEnvironmentVariableA(name, value, sizeof value);
            savedEnvironment_.push_back(value);
            SetEnvironmentVariableA(name, temp_.c_str());
        }
        source_ = temp_ + "\\pdf source";
        CreateDirectoryA(source_.c_str(), nullptr);
        CreateDirectoryA((temp_ + "\\out").c_str(), nullptr);
        CreateDirectoryA((temp_ + "\\my jobs").c_str(), nullptr);
        ui::WriteFileBytes(source_ + "\\a.pdf", "%PDF-1.4\n");
        ui::WriteFileBytes(source_ + "\\b.PDF", "%PDF\n");
        ui::WriteFileBytes(source_ + "\\empty.pdf", "");
        ui::WriteFileBytes(source_ + "\\notes.pdfx", "x");
        jobPath_ = temp_ + "\\my jobs\\night run.ini";
        engine_ = folder_ + "ombrello_zandrix.exe";
    }

    void TearDown() override {
        MainWindow::TearDown();
        // A scan that a failed test did not stop would run on.
        if (RecordedProcess() != 0) TerminateEngineProcess(RecordedProcess());
        if (engineHidden_) MoveFileA((engine_ + ".kept").c_str(), engine_.c_str());
        for (HANDLE process : started_) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
        const char* names[] = {"TMP", "TEMP"};
        for (size_t i = 0; i < savedEnvironment_.size(); ++i)
            SetEnvironmentVariableA(names[i], savedEnvironment_[i].c_str());
    }

    // The job the configurator opens with; extra lines go into [PARAMS].
    std::string Job(const std::string& params = "") const {
        return "[FOLDERS]\r\nsource=" + source_ + "\r\ntarget=" + temp_ + "\\out\r\ntemp_path=" + temp_ +
               "\r\n[PARAMS]\r\n" + params;
    }

    std::string Expected(const char* section, const char* key) const {
        char text[1024];
        GetPrivateProfileStringA(section, key, "", text, sizeof text, (folder_ + "001.lng").c_str());
        return text;
    }

    void SetText(int id, const std::string& text) { SetDlgItemTextA(dialog_, id, text.c_str()); }

    // Every monitor window of the configurator, shown or hidden.
    std::vector<HWND> Monitors() const {
        MonitorSearch found{GetCurrentProcessId(), {}};
        EnumWindows(CollectMonitor, reinterpret_cast<LPARAM>(&found));
        return found.windows;
    }

    // Launch, answered by a new monitor window (null when none came).
    HWND LaunchForMonitor() {
        std::vector<HWND> before = Monitors();
        PostMessageA(dialog_, WM_COMMAND, IDC_BT_LAUNCH, 0);
        for (int i = 0; i < 500; ++i) {
            for (HWND window : Monitors())
                if (std::find(before.begin(), before.end(), window) == before.end() && IsWindowVisible(window))
                    return window;
            Sleep(10);
        }
        return nullptr;
    }

    static std::string Line(HWND monitor, int id) { return ui::WindowText(GetDlgItem(monitor, id)); }

    static long BarPosition(HWND monitor, int id) {
        return static_cast<long>(SendMessageA(GetDlgItem(monitor, id), PBM_GETPOS, 0, 0));
    }

    static void SendCode(HWND monitor, WPARAM code, LPARAM value) { SendMessageA(monitor, WM_COMMAND, code, value); }

    // The engine's text into a relay field, then the relay message, as the engine sends them.
    void Relay(int field, UINT message, const char* text) {
        SetDlgItemTextA(dialog_, field, text);
        SendMessageA(dialog_, message, 0, 0);
    }

    std::string LogPath() const { return temp_ + "\\ombrello_zandrix.log"; }

    unsigned RecordedProcess() const { return GetPrivateProfileIntA("PROCESS", "ID", 0, jobPath_.c_str()); }

    bool WaitFor(bool (*condition)(const Launch&), DWORD timeoutMs) const {
        DWORD start = GetTickCount();
        while (!condition(*this)) {
            if (GetTickCount() - start > timeoutMs) return false;
            Sleep(20);
        }
        return true;
    }

    void HideEngine() {
        ASSERT_TRUE(MoveFileA(engine_.c_str(), (engine_ + ".kept").c_str()));
        engineHidden_ = true;
    }

    void RestoreEngine() {
        ASSERT_TRUE(MoveFileA((engine_ + ".kept").c_str(), engine_.c_str()));
        engineHidden_ = false;
    }

    // Another program under a file name of its own: a copy of the stand-in
    // started without a job, which only waits.
    DWORD StartOtherProgram(HANDLE* process) {
        std::string copy = temp_ + "\\report_viewer.exe";
        EXPECT_TRUE(CopyFileA(engine_.c_str(), copy.c_str(), FALSE));
        PROCESS_INFORMATION info;
        EXPECT_TRUE(ui::StartProgram(copy, "", &info));
        started_.push_back(info.hProcess);
        *process = info.hProcess;
        return info.dwProcessId;
    }

    std::string temp_;
    std::string source_;
    std::string jobPath_;
    std::string engine_;
    bool engineHidden_ = false;
    std::vector<std::string> savedEnvironment_;
    std::vector<HANDLE> started_;
};

}  // namespace main_window_test
