// Path conventions on Windows itself: the program folder from
// GetModuleFileNameA, files beside the program and folder creation through
// CreateDirectoryA.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "job/paths.h"
#include "launch/engine_command.h"
#include "launch/engine_process.h"

namespace {

bool WriteFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool done = WriteFile(file, "MZ", 2, &written, nullptr) && written == 2;
    return CloseHandle(file) && done;
}

TEST(PathsOnWindows, ProgramFolderIsTheExecutablesDriveAndDirectory) {
    char module[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, module, MAX_PATH), 0u);
    char drive[kDriveSize];
    char dir[kPathSize];
    ASSERT_EQ(1, GetProgramFolder(drive, dir));
    EXPECT_EQ(2u, std::string(drive).size());
    EXPECT_EQ('\\', dir[0]);
    EXPECT_EQ('\\', dir[std::string(dir).size() - 1]);

    char job[kPathSize];
    ASSERT_EQ(1, FileBesideProgram("ombrello_zandrix.ini", job));
    std::string expected = module;
    expected = expected.substr(0, expected.rfind('\\') + 1) + "ombrello_zandrix.ini";
    EXPECT_STREQ(expected.c_str(), job);

    char line[kEngineCommandSize];
    ASSERT_EQ(1, BuildEngineCommandLine(drive, dir, job, line, sizeof line));
    std::string engine = expected.substr(0, expected.rfind('\\') + 1) + "ombrello_zandrix.exe G|" + job;
    EXPECT_STREQ(engine.c_str(), line);
}

TEST(PathsOnWindows, CreateFolderChainMakesEveryLevel) {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    std::string base = std::string(temp) + "chain_" + std::to_string(GetCurrentProcessId());
    std::string deep = base + "\\a\\\\b/c\\";
    CreateFolderChain(deep.c_str());
    DWORD attributes = GetFileAttributesA((base + "\\a\\b\\c").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    CreateFolderChain(deep.c_str());
    CreateFolderChain("C:");
    CreateFolderChain("\\");
    RemoveDirectoryA((base + "\\a\\b\\c").c_str());
    RemoveDirectoryA((base + "\\a\\b").c_str());
    RemoveDirectoryA((base + "\\a").c_str());
    RemoveDirectoryA(base.c_str());
}

// An engine started through a short 8.3 path reports that path as its
// image; its long name is the engine's, a foreign program's is not.
TEST(PathsOnWindows, EngineImageIsRecognisedByItsLongName) {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    std::string folder = std::string(temp) + "engine image " + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const char* names[] = {"ombrello_zandrix.exe", "Ombrello_Zandrix.EXE", "ombrello_zandrix_viewer.exe"};
    const int isEngine[] = {1, 1, 0};
    for (int i = 0; i < 3; ++i) {
        std::string file = folder + "\\" + names[i];
        ASSERT_TRUE(WriteFileBytes(file));
        char shortPath[MAX_PATH];
        DWORD length = GetShortPathNameA(file.c_str(), shortPath, sizeof shortPath);
        ASSERT_TRUE(length > 0 && length < sizeof shortPath) << file;
        ASSERT_EQ(std::string::npos, std::string(shortPath).find(names[i])) << shortPath;
        EXPECT_EQ(isEngine[i], IsEngineImage(shortPath)) << shortPath;
        EXPECT_EQ(isEngine[i], IsEngineImage(file.c_str())) << file;
        DeleteFileA(file.c_str());
    }
    RemoveDirectoryA(folder.c_str());
    // An image path that names no file (a device form) is compared as it stands.
    EXPECT_EQ(1, IsEngineImage("\\Device\\HarddiskVolume2\\Prog\\ombrello_zandrix.exe"));
    EXPECT_EQ(0, IsEngineImage("\\Device\\HarddiskVolume2\\Prog\\OMBREL~1.EXE"));
}

}  // namespace
