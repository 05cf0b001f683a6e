// The shared files of the temporary folder: where the configurator opens the
// engine's log and where the file list lies, from the folder as the system
// gives it (with its trailing backslash).
#include "launch/engine_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string LogPath(const char* temp) {
    char out[kPathSize];
    return BuildEngineLogPath(temp, out) ? out : "<refused>";
}

std::string ListPath(const char* temp) {
    char out[kPathSize];
    return BuildFileListPath(temp, out) ? out : "<refused>";
}

TEST(EngineFiles, OneBackslashBeforeTheFileName) {
    EXPECT_EQ("C:\\Users\\ana\\Temp\\ombrello_zandrix.log", LogPath("C:\\Users\\ana\\Temp\\"));
    EXPECT_EQ("C:\\Users\\ana\\Temp\\o.log", ListPath("C:\\Users\\ana\\Temp\\"));
    EXPECT_EQ("C:\\Temp\\o.log", ListPath("C:\\\\Temp"));
    EXPECT_EQ("\\\\srv\\tmp\\ombrello_zandrix.log", LogPath("\\\\srv\\tmp\\")) << "a network folder stays one";
}

TEST(EngineFiles, APathThatWouldNotFitIsRefusedNotCut) {
    std::string temp = "C:\\" + std::string(235, 't') + "\\";  // 239 characters
    EXPECT_EQ(temp + "ombrello_zandrix.log", LogPath(temp.c_str())) << "259 characters fit";
    temp.insert(3, "u");
    EXPECT_EQ("<refused>", LogPath(temp.c_str()));
    EXPECT_EQ("<refused>", LogPath(nullptr));
}

TEST(EngineFiles, OpenWithParametersKeepTheFolderAsGiven) {
    char out[kPathSize + 64];
    ASSERT_EQ(1, BuildOpenWithParameters("C:\\Temp\\", out, sizeof out));
    EXPECT_STREQ("shell32.dll,OpenAs_RunDLL C:\\Temp\\\\ombrello_zandrix.log", out);
    char small[32] = "untouched";
    EXPECT_EQ(0, BuildOpenWithParameters("C:\\Temp\\", small, sizeof small));
    EXPECT_STREQ("", small);
}

}  // namespace
