// The engine's command line.
#include "launch/engine_command.h"

#include <gtest/gtest.h>

#include <string>

#include "job/paths.h"

namespace {

std::string Line(const char* drive, const char* dir, const char* job) {
    char out[kEngineCommandSize];
    if (!BuildEngineCommandLine(drive, dir, job, out, sizeof out)) return "<refused>";
    return out;
}

TEST(EngineCommand, OneBackslashBeforeTheProgramAndTheJobUnquoted) {
    EXPECT_EQ("C:\\Zandrix\\ombrello_zandrix.exe G|C:\\My Jobs\\daily run.ini",
              Line("C:", "\\Zandrix\\", "C:\\My Jobs\\daily run.ini"));
    EXPECT_EQ("C:\\Zandrix\\ombrello_zandrix.exe G|D:\\a\\b.ini",
              Line("C:", "\\\\Zandrix\\\\", "D:\\\\a\\\\\\b.ini"));
}

TEST(EngineCommand, NetworkPathsKeepTheirLeadingPair) {
    EXPECT_EQ("\\\\srv\\app\\ombrello_zandrix.exe G|\\\\srv\\jobs\\j.ini",
              Line("", "\\\\srv\\app\\", "\\\\srv\\\\jobs\\j.ini"));
}

TEST(EngineCommand, RefusesWhatDoesNotFit) {
    std::string job = "C:\\" + std::string(256, 'j');  // 259 characters: accepted
    EXPECT_EQ("C:\\Z\\ombrello_zandrix.exe G|" + job, Line("C:", "\\Z\\", job.c_str()));
    job += "x";
    EXPECT_EQ("<refused>", Line("C:", "\\Z\\", job.c_str()));
    char small[16] = "untouched";
    EXPECT_EQ(0, BuildEngineCommandLine("C:", "\\Z\\", "C:\\j.ini", small, sizeof small));
    EXPECT_STREQ("", small);
}

}  // namespace

namespace {

TEST(EngineCommand, RecognisesTheEngineByItsFileNameOnly) {
    EXPECT_EQ(1, IsEngineImagePath("C:\\Zandrix\\ombrello_zandrix.exe"));
    EXPECT_EQ(1, IsEngineImagePath("\\\\srv\\app\\OMBRELLO_ZANDRIX.EXE"));
    EXPECT_EQ(1, IsEngineImagePath("/opt/z/Ombrello_Zandrix.exe"));
    EXPECT_EQ(1, IsEngineImagePath("ombrello_zandrix.exe"));
    EXPECT_EQ(0, IsEngineImagePath("C:\\ombrello_zandrix.exe\\other.exe"));
    EXPECT_EQ(0, IsEngineImagePath("C:\\x\\my_ombrello_zandrix.exe"));
    EXPECT_EQ(0, IsEngineImagePath("C:\\x\\ombrello_zandrix.exe.bak"));
    EXPECT_EQ(0, IsEngineImagePath("C:\\x\\ombrello_zandrix"));
    EXPECT_EQ(0, IsEngineImagePath(""));
    EXPECT_EQ(0, IsEngineImagePath(nullptr));
}

}  // namespace
