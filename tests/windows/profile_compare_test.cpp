// Holds the project's own private-profile implementation against kernel32:
// the same reads and writes on two copies of one file must give the same
// answers and leave the same bytes. Where Wine's kernel32 is known to differ
// from Windows, the own implementation is checked against Windows'
// documented behaviour instead.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "job/own_profile.h"
#include "tests/windows/ui_driver.h"

namespace {

enum OpKind { kReadString, kReadInt, kWrite };

struct Op {
    OpKind kind;
    const char* section;
    const char* key;
    const char* text;  // default of a string read, value of a write (null deletes)
    int number;        // buffer size of a string read, default of an int read
};

struct Case {
    const char* name;
    const char* initial;  // null: no file at first
    Op ops[6];
    int opCount;
};

#define RS(s, k, d, n) {kReadString, s, k, d, n}
#define RI(s, k, d) {kReadInt, s, k, nullptr, d}
#define WR(s, k, v) {kWrite, s, k, v, 0}

const Case kCases[] = {
    {"read plain", "[S]\r\nk=v\r\n", {RS("S", "k", "", 64)}, 1},
    {"names without regard to case", "[Sec]\r\nKey=Value\r\n", {RS("sEC", "kEY", "", 64)}, 1},
    {"missing key gives default", "[S]\r\nk=v\r\n", {RS("S", "x", "dflt", 64), RS("X", "k", "d2", 64)}, 2},
    {"default loses trailing spaces", "[S]\r\n", {RS("S", "x", "dflt   ", 64)}, 1},
    {"null default", "[S]\r\n", {RS("S", "x", nullptr, 64)}, 1},
    {"missing file", nullptr, {RS("S", "k", "def", 64), RI("S", "k", 7)}, 2},
    {"value cut to size-1", "[S]\r\nk=0123456789\r\n", {RS("S", "k", "", 5), RS("S", "k", "", 1)}, 2},
    {"default cut to size-1", "[S]\r\n", {RS("S", "k", "abcdef", 4)}, 1},
    {"blanks around key and value", "[S]\r\n \t k \t=\t  v w  \r\n", {RS("S", "k", "", 64)}, 1},
    {"blanks inside brackets", "[  S \t]\r\nk=v\r\n", {RS("S", "k", "", 64)}, 1},
    // Vertical tab, form feed and the DOS end-of-file mark are blanks too;
    // other control characters are part of the text.
    {"control characters as blanks", "[\vS\f]\r\n\x1a\vk\f=\v\"q \"\x1a\r\nv=\vv\v\r\nm=x\vy\r\nn=\x1b" "7\x7f\r\ni=\f7\r\n",
     {RS("S", "k", "", 64), RS("S", "v", "", 64), RS("S", "m", "", 64), RS("S", "n", "", 64), RI("S", "i", 1)}, 5},
    {"outer quotes", "[S]\r\na=\" v \"\r\nb='x'\r\nc=\"x'\r\nd=\"\r\n",
     {RS("S", "a", "", 64), RS("S", "b", "", 64), RS("S", "c", "", 64), RS("S", "d", "", 64)}, 4},
    {"comments", "[S]\r\n;k=c\r\n  ;j=c\r\nk=v\r\n", {RS("S", "k", "", 64), RS("S", "j", "-", 64)}, 2},
    {"hash and semicolon inside", "[S]\r\n#k=v\r\nk=v ; note\r\n",
     {RS("S", "#k", "", 64), RS("S", "k", "", 64)}, 2},
    {"line ends", "[A]\nk=lf\n[B]\rk=cr\r[C]\r\nk=crlf",
     {RS("A", "k", "", 64), RS("B", "k", "", 64), RS("C", "k", "", 64)}, 3},
    {"first key counts", "[S]\r\nk=1\r\nk=2\r\n", {RS("S", "k", "", 64)}, 1},
    {"key before any section", "k=v\r\n[S]\r\n", {RS("S", "k", "-", 64)}, 1},
    {"integers", "[S]\r\na=42abc\r\nb=-1\r\nc=abc\r\nd=\r\ne=+7\r\nf=4294967297\r\n",
     {RI("S", "a", 5), RI("S", "b", 5), RI("S", "c", 5), RI("S", "d", 5), RI("S", "e", 5), RI("S", "f", 5)}, 6},
    {"integer defaults", "[S]\r\n", {RI("S", "x", 72), RI("S", "x", -3), RI("T", "x", 80)}, 3},
    {"write new file", nullptr, {WR("S", "k", "v"), WR("S", "j", "w"), WR("T", "k", "x")}, 3},
    {"replace keeps spelling", "[Sec]\r\nKey=old\r\nother=1\r\n", {WR("SEC", "key", "new")}, 1},
    {"new key after the last key", "[S]\r\na=1\r\n[T]\r\nb=2\r\n", {WR("S", "k", "v")}, 1},
    {"new section at the end", "[S]\r\na=1\r\n", {WR("T", "k", "v")}, 1},
    {"new section after an unterminated line", "[S]\r\na=1", {WR("T", "k", "v")}, 1},
    {"indented key", "[S]\r\n  a = 1\r\nb=2\r\n", {WR("S", "a", "3")}, 1},
    {"trailing value blanks", "[S]\r\n", {WR("S", "k", "v  ")}, 1},
    {"line without equals", "[S]\r\nlonely\r\nk=v\r\n", {RS("S", "lonely", "-", 64), WR("S", "lonely", "x")}, 2},
    {"duplicate sections write", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", {RS("S", "b", "-", 64), WR("S", "k", "v")}, 2},
    {"quoted and padded integers", "[S]\r\na=\"12\"\r\nb= 5\r\n", {RI("S", "a", 1), RI("S", "b", 1)}, 2},
    {"empty key", "[S]\r\n=v\r\n", {RS("S", "", "-", 64)}, 1},
    {"write then read back", nullptr,
     {WR("PARAMS", "scan", "1"), WR("params", "SCAN", "0"), RI("PARAMS", "scan", 9), RS("Params", "Scan", "", 8)}, 4},
    {"delete key", "[S]\r\na=1\r\nk=2\r\nb=3\r\n", {WR("S", "k", nullptr), RS("S", "k", "-", 8)}, 2},
    {"delete section", "[S]\r\na=1\r\n[T]\r\nb=2\r\n", {WR("S", nullptr, nullptr), RS("S", "a", "-", 8)}, 2},
    {"job file from scratch", nullptr,
     {WR("MAIN", "langue", "1"), WR("PARAMS", "display_details", "1"), WR("FOLDERS", "source", "C:\\pdf in"),
      WR("PARAMS", "recurse", "0"), WR("PROCESS", "ID", "0"), RI("PROCESS", "ID", 5)}, 6},
};

// Where Wine's kernel32 rewrites the whole file from its own parse or reads
// more than Windows does, the own implementation follows Windows: each row
// gives the file, one operation and what Windows leaves or answers.
struct Documented {
    const char* name;
    const char* initial;
    Op op;
    const char* answer;  // the answer as Apply prints it
    const char* after;   // the file's bytes afterwards
};

const Documented kDocumented[] = {
    {"blank lines and comments stay; the new key follows the last key",
     "[S]\r\na=1\r\n\r\n; c\r\n\r\n[T]\r\nb=2\r\n", WR("S", "k", "v"), "write 1",
     "[S]\r\na=1\r\nk=v\r\n\r\n; c\r\n\r\n[T]\r\nb=2\r\n"},
    {"a comment after the last key stays after the new one",
     "[S]\r\na=1\r\n; trailing\r\n", WR("S", "k", "v"), "write 1",
     "[S]\r\na=1\r\nk=v\r\n; trailing\r\n"},
    {"LF line ends of other lines stay", "[S]\na=1\nb=2\n", WR("S", "a", "3"), "write 1",
     "[S]\na=3\nb=2\n"},
    {"a header line is kept as it stands", "[S] x\r\nk=v\r\n", WR("S", "j", "w"), "write 1",
     "[S] x\r\nk=v\r\nj=w\r\n"},
    {"the value is written without trimming", "[S]\r\n", WR("S", "k", "  \"q\" ; x "), "write 1",
     "[S]\r\nk=  \"q\" ; x \r\n"},
    {"a UTF-8 mark sticks to the first line", "\xEF\xBB\xBF[S]\r\nk=v\r\n", RS("S", "k", "-", 64),
     "1:[-] after:#", "\xEF\xBB\xBF[S]\r\nk=v\r\n"},
    {"no hexadecimal integers", "[S]\r\nc=0x10\r\n", RI("S", "c", 1), "int 0", "[S]\r\nc=0x10\r\n"},
    {"a header line without ']' opens its section", "[S   \r\nk=v\r\n[T]\r\n", RS("S", "k", "-", 64),
     "1:[v] after:#", "[S   \r\nk=v\r\n[T]\r\n"},
    {"a section name ends at the first ']'", "[a]b]\r\nk=v\r\n", RS("a", "k", "-", 64), "1:[v] after:#",
     "[a]b]\r\nk=v\r\n"},
    {"a replaced last line without line end gets CR LF", "[S]\r\nk=1", WR("S", "k", "2"), "write 1",
     "[S]\r\nk=2\r\n"},
    {"a key padded with control blanks is replaced on its own line", "[\vS\f]\r\n\x1a k\v=\vv\v\r\nm=x\r\n",
     WR("S", "\vk\f", "w"), "write 1", "[\vS\f]\r\nk=w\r\nm=x\r\n"},
    {"a deletion in a missing file leaves it empty", nullptr, WR("S", "k", nullptr), "write 1", ""},
};

// Puts the bytes in place as the file's whole content; null leaves no file.
void WriteAll(const std::string& path, const char* bytes) {
    DeleteFileA(path.c_str());
    if (bytes != nullptr) {
        ASSERT_TRUE(ui::WriteFileBytes(path, bytes));
    }
}

// The answer of one operation, as text, so that both sides compare in one go.
std::string Apply(bool own, const Op& op, const std::string& path) {
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    char answer[256];
    switch (op.kind) {
    case kReadString: {
        DWORD n = own ? OwnGetPrivateProfileString(op.section, op.key, op.text, buffer,
                                                   static_cast<unsigned long>(op.number), path.c_str())
                      : GetPrivateProfileStringA(op.section, op.key, op.text, buffer,
                                                 static_cast<DWORD>(op.number), path.c_str());
        std::snprintf(answer, sizeof answer, "%lu:[%.*s] after:%c", static_cast<unsigned long>(n),
                      static_cast<int>(n), buffer, buffer[op.number]);
        return answer;
    }
    case kReadInt: {
        unsigned n = own ? OwnGetPrivateProfileInt(op.section, op.key, op.number, path.c_str())
                         : GetPrivateProfileIntA(op.section, op.key, op.number, path.c_str());
        std::snprintf(answer, sizeof answer, "int %u", n);
        return answer;
    }
    case kWrite: {
        int ok = own ? OwnWritePrivateProfileString(op.section, op.key, op.text, path.c_str())
                     : (WritePrivateProfileStringA(op.section, op.key, op.text, path.c_str()) ? 1 : 0);
        std::snprintf(answer, sizeof answer, "write %d", ok);
        return answer;
    }
    }
    return "?";
}

TEST(ProfileCompare, OwnImplementationAnswersAsKernel32) {
    std::string folder = ui::MakeTempFolder("profile_compare");
    int index = 0;
    for (const Case& c : kCases) {
        std::string ownPath = folder + "\\own" + std::to_string(index) + ".ini";
        std::string sysPath = folder + "\\sys" + std::to_string(index) + ".ini";
        ++index;
        WriteAll(ownPath, c.initial);
        WriteAll(sysPath, c.initial);
        for (int i = 0; i < c.opCount; ++i) {
            std::string own = Apply(true, c.ops[i], ownPath);
            std::string sys = Apply(false, c.ops[i], sysPath);
            EXPECT_EQ(sys, own) << c.name << ", operation " << i;
        }
        EXPECT_EQ(ui::ReadFileBytes(sysPath), ui::ReadFileBytes(ownPath)) << c.name << ": file bytes";
    }
}

TEST(ProfileCompare, OwnImplementationFollowsWindowsWhereWineDiffers) {
    std::string folder = ui::MakeTempFolder("profile_compare");
    int index = 0;
    for (const Documented& d : kDocumented) {
        std::string path = folder + "\\doc" + std::to_string(index++) + ".ini";
        WriteAll(path, d.initial);
        EXPECT_EQ(d.answer, Apply(true, d.op, path)) << d.name;
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << d.name;
        EXPECT_EQ(d.after, ui::ReadFileBytes(path)) << d.name;
    }
}

TEST(ProfileCompare, WriteIntoMissingFolderFailsOnBothSides) {
    std::string folder = ui::MakeTempFolder("profile_compare") + "\\missing\\job.ini";
    EXPECT_EQ(0, OwnWritePrivateProfileString("S", "k", "v", folder.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", folder.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.c_str()));
}

TEST(ProfileCompare, AValueWrittenByOneSideIsReadByTheOther) {
    std::string path = ui::MakeTempFolder("profile_compare") + "\\shared.ini";
    DeleteFileA(path.c_str());
    ASSERT_EQ(1, OwnWritePrivateProfileString("PROCESS", "ID", "4242", path.c_str()));
    EXPECT_EQ(4242u, GetPrivateProfileIntA("PROCESS", "ID", 0, path.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("PROCESS", "ID", "17", path.c_str()));
    EXPECT_EQ(17u, OwnGetPrivateProfileInt("PROCESS", "ID", 0, path.c_str()));
}

TEST(ProfileCompare, ReadOnlyFileIsRefusedAndKept) {
    std::string path = ui::MakeTempFolder("profile_compare") + "\\readonly.ini";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteAll(path, "[S]\r\nk=old\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, OwnWritePrivateProfileString("S", "k", "new", path.c_str()));
    EXPECT_EQ("[S]\r\nk=old\r\n", ui::ReadFileBytes(path));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
