// Path conventions on Windows itself: the program folder from
// GetModuleFileNameA, files beside the program and folder creation through
// CreateDirectoryA.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "job/paths.h"
#include "launch/engine_command.h"

namespace {

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

}  // namespace
