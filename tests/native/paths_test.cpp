// Path conventions: collapsing, splitting the program path, files beside the
// program and the refusal of paths that would not fit.
#include "job/paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

std::string Collapsed(std::string path) {
    CollapseBackslashes(&path[0]);
    return path.c_str();
}

std::string FolderCollapsed(std::string path) {
    CollapseFolderPath(&path[0]);
    return path.c_str();
}

TEST(Paths, CollapseBackslashes) {
    EXPECT_EQ("C:\\a\\b\\c", Collapsed("C:\\\\a\\\\\\b\\c"));
    EXPECT_EQ("\\a\\", Collapsed("\\\\\\a\\\\"));
    EXPECT_EQ("no/slash//runs", Collapsed("no/slash//runs"));
    EXPECT_EQ("", Collapsed(""));
    // A network path passed from its second character keeps both leading backslashes.
    std::string unc = "\\\\server\\\\share\\\\\\dir";
    CollapseBackslashes(&unc[1]);
    EXPECT_EQ("\\\\server\\share\\dir", std::string(unc.c_str()));
    EXPECT_EQ("\\\\server\\share\\dir", FolderCollapsed("\\\\server\\\\share\\\\\\dir"));
    EXPECT_EQ("D:\\out\\x", FolderCollapsed("D:\\\\out\\\\x"));
}

TEST(Paths, SplitProgramPath) {
    char drive[kDriveSize];
    char dir[kPathSize];
    ASSERT_EQ(1, SplitProgramPath("C:\\Program Files\\Zandrix\\zandrix_gui.exe", drive, dir));
    EXPECT_STREQ("C:", drive);
    EXPECT_STREQ("\\Program Files\\Zandrix\\", dir);
    ASSERT_EQ(1, SplitProgramPath("\\\\srv\\share\\app\\stopjob.exe", drive, dir));
    EXPECT_STREQ("", drive);
    EXPECT_STREQ("\\\\srv\\share\\app\\", dir);
    ASSERT_EQ(1, SplitProgramPath("/opt/zandrix/jobtool", drive, dir));
    EXPECT_STREQ("/opt/zandrix/", dir);
    ASSERT_EQ(1, SplitProgramPath("C:prog.exe", drive, dir));
    EXPECT_STREQ("C:", drive);
    EXPECT_STREQ("", dir);
    std::string longPath = "C:\\" + std::string(300, 'd') + "\\x.exe";
    EXPECT_EQ(0, SplitProgramPath(longPath.c_str(), drive, dir));
    EXPECT_STREQ("", dir);
}

TEST(Paths, JoinBesideProgram) {
    char out[kPathSize];
    ASSERT_EQ(1, JoinBesideProgram("C:", "\\Zandrix\\", "ombrello_zandrix.ini", '\\', out));
    EXPECT_STREQ("C:\\Zandrix\\ombrello_zandrix.ini", out);
    ASSERT_EQ(1, JoinBesideProgram("", "\\\\srv\\share\\app\\", "001.lng", '\\', out));
    EXPECT_STREQ("\\\\srv\\share\\app\\001.lng", out) << "a network program folder stays one";
    ASSERT_EQ(1, JoinBesideProgram("", "/opt/z/", "001.lng", '/', out));
    EXPECT_STREQ("/opt/z/001.lng", out);
}

TEST(Paths, JoinBesideProgramRefusesWhatDoesNotFit) {
    char out[kPathSize + 16];
    std::memset(out, '#', sizeof out);
    // "C:" + dir + "\" + name collapses to exactly 259 characters: accepted.
    std::string dir = "\\" + std::string(245, 'd') + "\\";
    std::string name(259 - 2 - dir.size(), 'n');
    ASSERT_EQ(1, JoinBesideProgram("C:", dir.c_str(), name.c_str(), '\\', out));
    EXPECT_EQ(259u, std::strlen(out));
    // One character more is refused, not cut into another path.
    std::memset(out, '#', sizeof out);
    std::string longer = name + "x";
    EXPECT_EQ(0, JoinBesideProgram("C:", dir.c_str(), longer.c_str(), '\\', out));
    EXPECT_STREQ("", out);
    EXPECT_EQ('#', out[kPathSize]);
    std::string huge(100000, 'h');
    EXPECT_EQ(0, JoinBesideProgram("C:", huge.c_str(), huge.c_str(), '\\', out));
}

TEST(Paths, NoProgramFolderNamesNoFileAtTheRootOfADrive) {
    char out[kPathSize];
    EXPECT_EQ(0, JoinBesideProgram("", "", "001.lng", '\\', out));
    EXPECT_STREQ("", out);
    EXPECT_EQ(0, JoinBesideProgram("C:", "", "001.lng", '\\', out));
    EXPECT_EQ(0, JoinBesideProgram("C:", nullptr, "001.lng", '\\', out));
}

TEST(Paths, TypedJobPath) {
    char out[kPathSize];
    // A bare name lands beside the program, not in the Windows folder.
    EXPECT_EQ(kJobPathOk, ResolveJobPath("job.ini", "C:", "\\Zandrix\\", out));
    EXPECT_STREQ("C:\\Zandrix\\job.ini", out);
    EXPECT_EQ(kJobPathOk, ResolveJobPath("my job", "", "\\\\srv\\share\\", out));
    EXPECT_STREQ("\\\\srv\\share\\my job", out);
    // Anything with a folder or a drive is used as typed.
    for (const char* typed : {"D:\\jobs\\a.ini", "sub\\a.ini", "sub/a.ini", "C:a.ini", "\\a.ini", ".\\a.ini"}) {
        EXPECT_EQ(kJobPathOk, ResolveJobPath(typed, "C:", "\\Zandrix\\", out)) << typed;
        EXPECT_STREQ(typed, out);
    }
    EXPECT_EQ(kJobPathEmpty, ResolveJobPath("", "C:", "\\Zandrix\\", out));
    EXPECT_EQ(kJobPathEmpty, ResolveJobPath(nullptr, "C:", "\\Zandrix\\", out));
    // Limits: 259 characters are a path, 260 are refused whole, never cut.
    std::string dir = "\\" + std::string(240, 'd') + "\\";
    std::string fits(259 - 2 - dir.size(), 'n');
    ASSERT_EQ(kJobPathOk, ResolveJobPath(fits.c_str(), "C:", dir.c_str(), out));
    EXPECT_EQ(259u, std::strlen(out));
    EXPECT_EQ(kJobPathTooLong, ResolveJobPath((fits + "x").c_str(), "C:", dir.c_str(), out));
    EXPECT_STREQ("", out);
    std::string full = "C:\\" + std::string(300, 'p');
    EXPECT_EQ(kJobPathTooLong, ResolveJobPath(full.c_str(), "C:", "\\Zandrix\\", out));
    EXPECT_STREQ("", out);
    // Without a program folder a bare name has nowhere to go.
    EXPECT_EQ(kJobPathTooLong, ResolveJobPath("job.ini", "", "", out));
    EXPECT_STREQ("", out);
}

TEST(Paths, FileBesideTheRunningProgram) {
    char out[kPathSize];
    ASSERT_EQ(1, FileBesideProgram("001.lng", out));
    std::string path = out;
    ASSERT_GT(path.size(), 8u);
    EXPECT_EQ("/001.lng", path.substr(path.size() - 8));
    EXPECT_EQ(std::string::npos, path.find("//"));
}

TEST(Paths, CopyBounded) {
    char out[4];
    EXPECT_EQ(1, CopyBounded(out, sizeof out, "abc"));
    EXPECT_STREQ("abc", out);
    EXPECT_EQ(0, CopyBounded(out, sizeof out, "abcd"));
    EXPECT_STREQ("", out);
}

TEST(Paths, CreateFolderChainMakesEveryLevel) {
    char pattern[] = "/tmp/chain_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    std::string base = pattern;
    std::string deep = base + "/a/b//c/";
    CreateFolderChain(deep.c_str());
    struct stat info;
    ASSERT_EQ(0, stat((base + "/a/b/c").c_str(), &info));
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    CreateFolderChain(deep.c_str());  // existing levels are no error
    CreateFolderChain("");
    CreateFolderChain(nullptr);
    std::string command = "rm -rf '" + base + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
}

}  // namespace

TEST(Paths, AFileInAFolderIsJoinedCollapsedAndNeverCut) {
    char out[kPathSize];
    ASSERT_TRUE(JoinFolderFile("C:\\", "a.pdf", out));
    EXPECT_STREQ("C:\\a.pdf", out);
    ASSERT_TRUE(JoinFolderFile("C:\\Data\\", "*.*", out));
    EXPECT_STREQ("C:\\Data\\*.*", out);
    std::string folder = "C:\\" + std::string(250, 'f');
    EXPECT_TRUE(JoinFolderFile(folder.c_str(), "a.pdf", out));  // 259 characters
    EXPECT_EQ(259u, std::strlen(out));
    EXPECT_FALSE(JoinFolderFile(folder.c_str(), "ab.pdf", out));
    EXPECT_STREQ("", out);
    // A folder on a network share stays one (a listing of a redirected Documents folder).
    ASSERT_TRUE(JoinFolderFile("\\\\server\\share\\", "a.pdf", out));
    EXPECT_STREQ("\\\\server\\share\\a.pdf", out);
}
