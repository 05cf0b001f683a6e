// stopjob.exe run for real: a copy in its own folder with a job file beside
// it, its message boxes answered as a user would, its exit code read.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/windows/ui_driver.h"

namespace {

struct Outcome {
    bool boxShown;
    ui::MessageBoxView box;
    long exitCode;
};

class StopJob : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ui::MakeTempFolder("stopjob");
        exe_ = folder_ + "\\stopjob.exe";
        ASSERT_TRUE(CopyFileA((ui::OwnFolder() + "stopjob.exe").c_str(), exe_.c_str(), FALSE));
        job_ = folder_ + "\\Ombrello_zandrix.ini";
    }
    void TearDown() override {
        for (HANDLE process : started_) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
    }

    // Runs stopjob; answers its box (if one comes) with OK.
    Outcome Run() {
        Outcome outcome{false, {}, -1};
        PROCESS_INFORMATION info;
        if (!ui::StartProgram(exe_, "", &info)) return outcome;
        HANDLE waits[1] = {info.hProcess};
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 15000) {
            HWND box = ui::WaitForWindow(info.dwProcessId, "#32770", nullptr, 50);
            if (box != nullptr) {
                outcome.boxShown = true;
                outcome.box = ui::ReadMessageBox(box);
                ui::PressButton(box, "OK");
                break;
            }
            if (WaitForMultipleObjects(1, waits, FALSE, 0) == WAIT_OBJECT_0) break;
        }
        outcome.exitCode = ui::WaitForExit(info.hProcess, 15000);
        CloseHandle(info.hProcess);
        return outcome;
    }

    // Starts the scripted engine double (under the given file name), which
    // waits to be terminated, and returns its identifier.
    DWORD StartStandIn(const char* fileName, HANDLE* process) {
        std::string copy = folder_ + "\\" + fileName;
        std::string source = ui::OwnFolder() + "double\\ombrello_zandrix.exe";
        EXPECT_TRUE(CopyFileA(source.c_str(), copy.c_str(), FALSE)) << source;
        PROCESS_INFORMATION info;
        EXPECT_TRUE(ui::StartProgram(copy, "", &info));
        started_.push_back(info.hProcess);
        *process = info.hProcess;
        return info.dwProcessId;
    }

    void ExpectNoProcessFound(const Outcome& outcome, const char* what) {
        ASSERT_TRUE(outcome.boxShown) << what;
        EXPECT_EQ("Ombrello_zandrix", outcome.box.caption) << what;
        EXPECT_EQ("No process found...", outcome.box.text) << what;
        EXPECT_EQ(ui::kIconWarning, outcome.box.icon) << what;
        EXPECT_EQ("OK", outcome.box.buttons) << what;
        EXPECT_EQ(0, outcome.exitCode) << what;
    }

    std::string folder_;
    std::string exe_;
    std::string job_;
    std::vector<HANDLE> started_;
};

TEST_F(StopJob, NothingRecordedMeansNoProcessFound) {
    ExpectNoProcessFound(Run(), "no job file");
    EXPECT_EQ("<no file>", ui::ReadFileBytes(job_)) << "stopjob never creates the job file";

    const char* files[] = {
        "[MAIN]\r\nlangue=1\r\n",
        "[PROCESS]\r\nother=1\r\n",
        "[PROCESS]\r\nID=0\r\n",
        "[PROCESS]\r\nID=abc\r\n",
        "[PROCESS]\r\nID=\r\n",
    };
    for (const char* file : files) {
        ASSERT_TRUE(ui::WriteFileBytes(job_, file));
        ExpectNoProcessFound(Run(), file);
        EXPECT_EQ(file, ui::ReadFileBytes(job_)) << "the job file is left as it was";
    }
}

TEST_F(StopJob, TerminatesTheRecordedEngineSilently) {
    HANDLE engine = nullptr;
    DWORD id = StartStandIn("ombrello_zandrix.exe", &engine);
    std::string file = "[PROCESS]\r\nID=" + std::to_string(id) + "\r\n";
    ASSERT_TRUE(ui::WriteFileBytes(job_, file));
    Outcome outcome = Run();
    EXPECT_FALSE(outcome.boxShown) << outcome.box.text;
    EXPECT_EQ(1, outcome.exitCode);
    EXPECT_EQ(0, ui::WaitForExit(engine, 5000)) << "terminated with exit code 0";
    EXPECT_EQ(file, ui::ReadFileBytes(job_)) << "the identifier stays recorded";
}

TEST_F(StopJob, EngineNameIsComparedWithoutRegardToCase) {
    HANDLE engine = nullptr;
    DWORD id = StartStandIn("OMBRELLO_Zandrix.EXE", &engine);
    ASSERT_TRUE(ui::WriteFileBytes(job_, "[PROCESS]\r\nID=" + std::to_string(id) + "\r\n"));
    Outcome outcome = Run();
    EXPECT_FALSE(outcome.boxShown);
    EXPECT_EQ(1, outcome.exitCode);
    EXPECT_EQ(0, ui::WaitForExit(engine, 5000));
}

TEST_F(StopJob, AnotherProgramUnderAStaleIdentifierIsLeftRunning) {
    HANDLE other = nullptr;
    DWORD id = StartStandIn("report_viewer.exe", &other);
    ASSERT_TRUE(ui::WriteFileBytes(job_, "[PROCESS]\r\nID=" + std::to_string(id) + "\r\n"));
    Outcome outcome = Run();
    ASSERT_TRUE(outcome.boxShown);
    EXPECT_EQ("Cannot kill the process...", outcome.box.text);
    EXPECT_EQ("Ombrello_zandrix", outcome.box.caption);
    EXPECT_EQ(ui::kIconWarning, outcome.box.icon);
    EXPECT_EQ(1, outcome.exitCode);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(other, 0)) << "the other program still runs";
}

TEST_F(StopJob, AnIdentifierOfNoProcessCannotBeKilled) {
    HANDLE engine = nullptr;
    DWORD id = StartStandIn("ombrello_zandrix.exe", &engine);
    // It has ended; the test's own handle keeps only its remains.
    TerminateProcess(engine, 0);
    ASSERT_EQ(0, ui::WaitForExit(engine, 5000));
    ASSERT_TRUE(ui::WriteFileBytes(job_, "[PROCESS]\r\nID=" + std::to_string(id) + "\r\n"));
    Outcome outcome = Run();
    ASSERT_TRUE(outcome.boxShown);
    EXPECT_EQ("Cannot kill the process...", outcome.box.text);
    EXPECT_EQ(1, outcome.exitCode);
}

TEST_F(StopJob, ReadsTheJobFileOfItsOwnFolder) {
    HANDLE engine = nullptr;
    DWORD id = StartStandIn("ombrello_zandrix.exe", &engine);
    // A job file recording the engine in another folder is never consulted.
    std::string elsewhere = ui::MakeTempFolder("stopjob_other");
    ASSERT_TRUE(ui::WriteFileBytes(elsewhere + "\\Ombrello_zandrix.ini",
                                   "[PROCESS]\r\nID=" + std::to_string(id) + "\r\n"));
    ExpectNoProcessFound(Run(), "only the other folder records the engine");
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(engine, 0));
    // The file name compares without regard to case.
    ASSERT_TRUE(ui::WriteFileBytes(job_, "[PROCESS]\r\nID=" + std::to_string(id) + "\r\n"));
    DeleteFileA(job_.c_str());
    ASSERT_TRUE(ui::WriteFileBytes(folder_ + "\\ombrello_zandrix.ini",
                                   "[PROCESS]\r\nID=" + std::to_string(id) + "\r\n"));
    Outcome outcome = Run();
    EXPECT_FALSE(outcome.boxShown);
    EXPECT_EQ(0, ui::WaitForExit(engine, 5000));
}

}  // namespace
