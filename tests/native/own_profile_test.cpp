// The project's private-profile functions on real files: results, buffer
// limits, the bytes on disk and the failures that must leave a file intact.
#include "job/own_profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class OwnProfile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/own_profile_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir_ = pattern;
        path_ = dir_ + "/job.ini";
    }
    void TearDown() override {
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(0, std::system(command.c_str()));
    }
    void Put(const std::string& bytes) {
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    std::string Get() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    size_t EntriesInDir() const {
        size_t count = 0;
        DIR* d = opendir(dir_.c_str());
        while (dirent* e = readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) ++count;
        closedir(d);
        return count;
    }
    std::string dir_;
    std::string path_;
};

TEST_F(OwnProfile, ReadsValueOrDefault) {
    Put("[S]\r\nk=value\r\n");
    char out[32];
    EXPECT_EQ(5u, OwnGetPrivateProfileString("S", "k", "d", out, sizeof out, path_.c_str()));
    EXPECT_STREQ("value", out);
    EXPECT_EQ(3u, OwnGetPrivateProfileString("S", "missing", "def  ", out, sizeof out, path_.c_str()));
    EXPECT_STREQ("def", out);
    EXPECT_EQ(0u, OwnGetPrivateProfileString("S", "missing", nullptr, out, sizeof out, path_.c_str()));
    EXPECT_STREQ("", out);
    // Only trailing spaces of a default go; a tab and leading blanks stay.
    EXPECT_EQ(3u, OwnGetPrivateProfileString("S", "k", " d\t ", out, sizeof out,
                                             (dir_ + "/none.ini").c_str()));
    EXPECT_STREQ(" d\t", out);
}

TEST_F(OwnProfile, CutsToBufferWithoutOverrun) {
    Put("[S]\r\nk=0123456789\r\n");
    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(4u, OwnGetPrivateProfileString("S", "k", "", out, 5, path_.c_str()));
    EXPECT_STREQ("0123", out);
    EXPECT_EQ('#', out[5]);
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(0u, OwnGetPrivateProfileString("S", "k", "", out, 0, path_.c_str()));
    EXPECT_EQ('#', out[0]);
    EXPECT_EQ(2u, OwnGetPrivateProfileString("S", "x", "abcdef", out, 3, path_.c_str()));
    EXPECT_STREQ("ab", out);
}

TEST_F(OwnProfile, ReadsIntegers) {
    Put("[S]\r\na=42abc\r\nb=-1\r\nc=abc\r\nd=\r\ne=\" 7\"\r\nf='12'\r\n");
    const char* p = path_.c_str();
    EXPECT_EQ(42u, OwnGetPrivateProfileInt("S", "a", 5, p));
    EXPECT_EQ(4294967295u, OwnGetPrivateProfileInt("S", "b", 5, p));
    EXPECT_EQ(0u, OwnGetPrivateProfileInt("S", "c", 5, p));
    EXPECT_EQ(5u, OwnGetPrivateProfileInt("S", "d", 5, p));
    EXPECT_EQ(0u, OwnGetPrivateProfileInt("S", "e", 5, p));
    EXPECT_EQ(12u, OwnGetPrivateProfileInt("S", "f", 5, p));
    EXPECT_EQ(72u, OwnGetPrivateProfileInt("S", "missing", 72, p));
    EXPECT_EQ(static_cast<unsigned>(-3), OwnGetPrivateProfileInt("S", "missing", -3, p));
    EXPECT_EQ(9u, OwnGetPrivateProfileInt("S", "a", 9, (dir_ + "/none.ini").c_str()));
}

TEST_F(OwnProfile, WritesNewFileAndKeepsOrder) {
    const char* p = path_.c_str();
    ASSERT_EQ(1, OwnWritePrivateProfileString("MAIN", "langue", "1", p));
    ASSERT_EQ(1, OwnWritePrivateProfileString("PARAMS", "display_details", "1", p));
    ASSERT_EQ(1, OwnWritePrivateProfileString("PARAMS", "recurse", "0", p));
    ASSERT_EQ(1, OwnWritePrivateProfileString("MAIN", "langue", "33", p));
    EXPECT_EQ("[MAIN]\r\nlangue=33\r\n[PARAMS]\r\ndisplay_details=1\r\nrecurse=0\r\n", Get());
    EXPECT_EQ(1u, EntriesInDir()) << "no temporary file is left behind";
}

TEST_F(OwnProfile, MissingFolderFailsAndCreatesNothing) {
    std::string inMissing = dir_ + "/missing/job.ini";
    EXPECT_EQ(0, OwnWritePrivateProfileString("S", "k", "v", inMissing.c_str()));
    EXPECT_EQ(0u, EntriesInDir());
}

TEST_F(OwnProfile, ReadOnlyFileFailsAndStaysIntact) {
    Put("[S]\r\nk=old\r\n");
    ASSERT_EQ(0, chmod(path_.c_str(), 0444));
    EXPECT_EQ(0, OwnWritePrivateProfileString("S", "k", "new", path_.c_str()));
    EXPECT_EQ(0, OwnWritePrivateProfileString("S", "k", "old", path_.c_str()))
        << "an unchanged value is still a write the file refuses";
    EXPECT_EQ("[S]\r\nk=old\r\n", Get());
    EXPECT_EQ(1u, EntriesInDir());
}

TEST_F(OwnProfile, KeepsPermissionsAndSymbolicLinks) {
    Put("[S]\r\nk=old\r\n");
    ASSERT_EQ(0, chmod(path_.c_str(), 0640));
    std::string link = dir_ + "/link.ini";
    ASSERT_EQ(0, symlink(path_.c_str(), link.c_str()));
    ASSERT_EQ(1, OwnWritePrivateProfileString("S", "k", "new", link.c_str()));
    EXPECT_EQ("[S]\r\nk=new\r\n", Get());
    struct stat info;
    ASSERT_EQ(0, lstat(link.c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(0, stat(path_.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 0777u);
}

TEST_F(OwnProfile, DeletingInAMissingFileLeavesItEmptyAsWindowsDoes) {
    EXPECT_EQ(1, OwnWritePrivateProfileString("S", "k", nullptr, path_.c_str()));
    EXPECT_EQ(1u, EntriesInDir());
    EXPECT_EQ("", Get());
    ASSERT_EQ(0, unlink(path_.c_str()));
    EXPECT_EQ(1, OwnWritePrivateProfileString("S", nullptr, "ignored", path_.c_str()));
    EXPECT_EQ("", Get());
    Put("[S]\r\nk=1\r\n[T]\r\nx=2\r\n");
    ASSERT_EQ(1, OwnWritePrivateProfileString("T", "x", nullptr, path_.c_str()));
    ASSERT_EQ(1, OwnWritePrivateProfileString("S", nullptr, nullptr, path_.c_str()));
    EXPECT_EQ("[T]\r\n", Get());
    // No section, or no file name: nothing is written anywhere.
    EXPECT_EQ(0, OwnWritePrivateProfileString(nullptr, "k", "v", path_.c_str()));
    EXPECT_EQ("[T]\r\n", Get());
    EXPECT_EQ(0, OwnWritePrivateProfileString("S", "k", "v", ""));
    EXPECT_EQ(1u, EntriesInDir());
}

TEST_F(OwnProfile, NullSectionOrKeyListsNamesCutAsWindowsCutsThem) {
    Put("[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n");
    const char* p = path_.c_str();
    char out[260];
    std::memset(out, 0x0c, sizeof out);
    EXPECT_EQ(18u, OwnGetPrivateProfileString(nullptr, "name1", "default", out, sizeof out, p));
    EXPECT_EQ(0, std::memcmp(out, "section1\0section2\0\0", 19));
    std::memset(out, 0x0c, sizeof out);
    EXPECT_EQ(14u, OwnGetPrivateProfileString(nullptr, "name1", "default", out, 16, p));
    EXPECT_EQ(0, std::memcmp(out, "section1\0secti\0\0", 16));
    EXPECT_EQ(0x0c, out[16]);
    std::memset(out, 0x0c, sizeof out);
    EXPECT_EQ(18u, OwnGetPrivateProfileString("section1", nullptr, "default", out, sizeof out, p));
    EXPECT_EQ(0, std::memcmp(out, "name1\0name2\0name4\0\0", 19));
    std::memset(out, 0x0c, sizeof out);
    EXPECT_EQ(14u, OwnGetPrivateProfileString("section1", nullptr, "default", out, 16, p));
    EXPECT_EQ(0, std::memcmp(out, "name1\0name2\0na\0\0", 16));
    // Empty names are no names: the default answers.
    EXPECT_EQ(7u, OwnGetPrivateProfileString("", "name1", "default", out, sizeof out, p));
    EXPECT_STREQ("default", out);
    EXPECT_EQ(7u, OwnGetPrivateProfileString("section1", "", "default", out, sizeof out, p));
    EXPECT_STREQ("default", out);
    EXPECT_EQ(0u, OwnGetPrivateProfileString("section1", "name1", "default", out, 0, p));
    EXPECT_EQ(7u, OwnGetPrivateProfileString("section1", "name1", "default", out, sizeof out, nullptr));
    EXPECT_EQ(7u, OwnGetPrivateProfileString("section1", "name1", "default", out, sizeof out, ""));
    // An integer read of a list reads its first name, which is no number.
    EXPECT_EQ(0u, OwnGetPrivateProfileInt(nullptr, nullptr, 70, p));
    EXPECT_EQ(4294967295u, OwnGetPrivateProfileInt("Test", nullptr, -1, p));
}

TEST_F(OwnProfile, Utf16FileStaysUtf16) {
    Put(std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0", 22));
    char out[8];
    EXPECT_EQ(1u, OwnGetPrivateProfileString("S", "k", "", out, sizeof out, path_.c_str()));
    EXPECT_STREQ("\xE9", out);
    ASSERT_EQ(1, OwnWritePrivateProfileString("S", "n", "2", path_.c_str()));
    EXPECT_EQ(std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0n\0=\0" "2\0\r\0\n\0", 32),
              Get());
}

TEST_F(OwnProfile, HostileFilesAreHandled) {
    // A 1 MB line, binary bytes and 10,000 sections: read and written intact.
    std::string big(1 << 20, 'x');
    std::string text = "[S]\r\nlong=" + big + "\r\nbin=\x01\x02\xff\x7f\r\n";
    for (int i = 0; i < 10000; ++i) text += "[N" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
    Put(text);
    const char* p = path_.c_str();
    char out[260];
    EXPECT_EQ(259u, OwnGetPrivateProfileString("S", "long", "", out, sizeof out, p));
    EXPECT_EQ(std::string(259, 'x'), out);
    EXPECT_EQ(9999u, OwnGetPrivateProfileInt("N9999", "k", 0, p));
    ASSERT_EQ(1, OwnWritePrivateProfileString("N5000", "k", "five", p));
    std::string after = Get();
    EXPECT_EQ(text.size(), after.size());
    EXPECT_NE(std::string::npos, after.find("[N5000]\r\nk=five\r\n[N5001]"));
}

}  // namespace
