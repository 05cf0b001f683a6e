// The private-profile text format: what a read finds and the exact bytes a
// write leaves, case by case.
#include "job/ini_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ReadCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    bool found;
    const char* value;
};

const ReadCase kReadCases[] = {
    {"plain", "[S]\r\nk=v\r\n", "S", "k", true, "v"},
    {"names ignore case", "[Sec]\r\nKey=Value\r\n", "sEC", "kEY", true, "Value"},
    {"blanks around key and value", "[S]\r\n \t k \t=\t  v w  \r\n", "S", "k", true, "v w"},
    {"blanks inside brackets", "[  S \t]\r\nk=v\r\n", "S", "k", true, "v"},
    {"vertical tabs around a value", "[S]\r\nkey=\vv\v\r\n", "S", "key", true, "v"},
    {"form feed and end-of-file mark are blanks", "[\fS\x1a]\r\n\x1a k\f=\f\"q\"\x1a\r\n", "S", "k", true, "q"},
    {"other control characters stay", "[S]\r\nk=\x1b" "v\x7f\r\nj=a\vb\r\n", "S", "k", true, "\x1b" "v\x7f"},
    {"double quotes stripped", "[S]\r\nk=\" v \"\r\n", "S", "k", true, " v "},
    {"single quotes stripped", "[S]\r\nk='x'\r\n", "S", "k", true, "x"},
    {"mismatched quotes kept", "[S]\r\nk=\"x'\r\n", "S", "k", true, "\"x'"},
    {"lone quote kept", "[S]\r\nk=\"\r\n", "S", "k", true, "\""},
    {"inner quotes kept", "[S]\r\nk=a\"b\"\r\n", "S", "k", true, "a\"b\""},
    {"comment line skipped", "[S]\r\n;k=c\r\nk=v\r\n", "S", "k", true, "v"},
    {"indented comment", "[S]\r\n  ;k=c\r\n", "S", "k", false, ""},
    {"hash is no comment", "[S]\r\n#k=v\r\n", "S", "#k", true, "v"},
    {"no inline comment", "[S]\r\nk=v ; note\r\n", "S", "k", true, "v ; note"},
    {"LF line ends", "[S]\nk=v\n", "S", "k", true, "v"},
    {"CR line ends", "[S]\rk=v\r", "S", "k", true, "v"},
    {"blank lines", "\r\n\r\n[S]\r\n\r\n\r\nk=v", "S", "k", true, "v"},
    {"first key counts", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", true, "1"},
    {"first section counts", "[S]\r\na=1\r\n[T]\r\n[S]\r\nk=2\r\n", "S", "k", false, ""},
    {"key before any section", "k=v\r\n[S]\r\n", "S", "k", false, ""},
    {"key of another section", "[S]\r\nk=v\r\n[T]\r\n", "T", "k", false, ""},
    {"missing section", "[S]\r\nk=v\r\n", "X", "k", false, ""},
    {"empty value", "[S]\r\nk=\r\n", "S", "k", true, ""},
    {"value with equals", "[S]\r\nk=a=b\r\n", "S", "k", true, "a=b"},
    {"utf-8 mark sticks to the first line", "\xEF\xBB\xBF[S]\r\nk=v\r\n", "S", "k", false, ""},
    {"utf-8 mark on a later section is fine", "\xEF\xBB\xBF[A]\r\n[S]\r\nk=v\r\n", "S", "k", true, "v"},
    {"line without equals holds no value", "[S]\r\nlonely\r\n", "S", "lonely", false, ""},
    {"header name ends at the first bracket", "[a]b]\r\nk=v\r\n", "a", "k", true, "v"},
    {"no section named past the first bracket", "[a]b]\r\nk=v\r\n", "a]b", "k", false, ""},
    {"header without closing bracket opens its section", "[S   \r\nk=v\r\n", "S", "k", true, "v"},
    {"bracket alone opens the empty section", "x=1\r\n[]\r\nk=e\r\n[s]\r\n=nokey\r\n", "", "k", true, "e"},
    {"empty key name", "[s]\r\n=nokey\r\n", "s", "", true, "nokey"},
    {"closing bracket without opening is an entry", "S]\r\n[T]\r\nk=v\r\n", "T", "k", true, "v"},
    {"CR only file", "[section1]\rname1=val1\rname2=\"val2\"\rname3\rname4=a\r[section2]\r",
     "section1", "name2", true, "val2"},
    {"high bytes taken as they are", "[S]\r\nk=\xE9t\xE9\r\n", "S", "k", true, "\xE9t\xE9"},
};

TEST(IniRead, Cases) {
    for (const ReadCase& c : kReadCases) {
        std::string value = "unset";
        bool found = ini::FindValue(c.text, c.section, c.key, &value);
        EXPECT_EQ(c.found, found) << c.name;
        if (c.found && found) {
            EXPECT_EQ(c.value, value) << c.name;
        }
    }
}

TEST(IniRead, EmbeddedNulBytesDoNotEndTheFile) {
    std::string text("[S]\r\na=\0\0\r\nk=v\r\n", 16);
    std::string value;
    ASSERT_TRUE(ini::FindValue(text, "S", "k", &value));
    EXPECT_EQ("v", value);
}

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

const WriteCase kWriteCases[] = {
    {"new file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
    {"replace keeps spelling and other lines",
     "; top\r\n[Sec]\r\n  Key = old\r\nother=1\r\n\r\n",
     "SEC", "key", "new",
     "; top\r\n[Sec]\r\nKey=new\r\nother=1\r\n\r\n"},
    {"replace keeps LF line end", "[S]\nk=1\nz=2\n", "S", "k", "3", "[S]\nk=3\nz=2\n"},
    {"new key after the last key of its section",
     "[S]\r\na=1\r\n\r\n; c\r\n[T]\r\nb=2\r\n", "S", "k", "v",
     "[S]\r\na=1\r\nk=v\r\n\r\n; c\r\n[T]\r\nb=2\r\n"},
    {"new key in an empty section", "[S]\r\n[T]\r\n", "S", "k", "v", "[S]\r\nk=v\r\n[T]\r\n"},
    {"new key after an unterminated last line", "[S]\r\na=1", "S", "k", "v", "[S]\r\na=1\r\nk=v\r\n"},
    {"new section at the end", "[S]\r\na=1\r\n\r\n", "T", "k", "v", "[S]\r\na=1\r\n\r\n[T]\r\nk=v\r\n"},
    {"new section after an unterminated line", "[S]\r\na=1", "T", "k", "v", "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
    {"value written as given", "", "S", "k", "  \"q\" ; x ", "[S]\r\nk=  \"q\" ; x \r\n"},
    {"empty value", "[S]\r\nk=v\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
    {"first of two keys replaced", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "3", "[S]\r\nk=3\r\nk=2\r\n"},
    {"first of two sections written",
     "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "k", "v", "[S]\r\na=1\r\nk=v\r\n[S]\r\nb=2\r\n"},
    {"delete key", "[S]\r\na=1\r\nk=2\r\nb=3\r\n", "S", "k", nullptr, "[S]\r\na=1\r\nb=3\r\n"},
    {"delete missing key", "[S]\r\na=1\r\n", "S", "k", nullptr, "[S]\r\na=1\r\n"},
    {"delete section", "[S]\r\na=1\r\n; c\r\n[T]\r\nb=2\r\n", "S", nullptr, nullptr, "[T]\r\nb=2\r\n"},
    {"delete missing section", "[S]\r\na=1\r\n", "X", nullptr, nullptr, "[S]\r\na=1\r\n"},
    {"replaced last line gains CR LF", "[S]\r\nk=1", "S", "k", "2", "[S]\r\nk=2\r\n"},
    {"same value on an unterminated last line still gains CR LF", "[S]\r\nk=1", "S", "k", "1",
     "[S]\r\nk=1\r\n"},
    {"write goes to the section before the first bracket", "[S]junk]\r\na=1\r\n", "S", "b", "2",
     "[S]junk]\r\na=1\r\nb=2\r\n"},
    {"write into a header without closing bracket", "[S \r\na=1\r\n", "S", "a", "2", "[S \r\na=2\r\n"},
};

TEST(IniWrite, ExactBytes) {
    for (const WriteCase& c : kWriteCases) {
        bool changed = false;
        const std::string before = c.before;
        const std::string after = c.after;
        EXPECT_EQ(after, ini::ApplyWrite(before, c.section, c.key, c.value, &changed)) << c.name;
        EXPECT_EQ(before != after, changed) << c.name;
    }
}

TEST(IniWrite, BytesBeforeTheFirstSectionStayNulsIncluded) {
    const char before[] = "Data \0 before \0 first \0 section";
    const char after[] = "Data \0 before \0 first \0 section\r\n[section1]\r\nkey1=string1\r\n";
    bool changed = false;
    EXPECT_EQ(std::string(after, sizeof after - 1),
              ini::ApplyWrite(std::string(before, sizeof before - 1), "section1", "key1", "string1", &changed));
}

TEST(IniNames, ListsSectionsAndKeysAsANullReadDoes) {
    const char text[] = "k=before\r\n[ section1 ]\r\nname1=val1\r\nname2=\r\nname3\r\n=v\r\n;c=1\r\nname4=val4\r\n"
                        "[section2]\r\n[section1]\r\nlate=1\r\n";
    EXPECT_EQ((std::vector<std::string>{"section1", "section2", "section1"}), ini::SectionNames(text));
    EXPECT_EQ((std::vector<std::string>{"name1", "name2", "name4"}), ini::KeyNames(text, "SECTION1"));
    EXPECT_TRUE(ini::KeyNames(text, "section2").empty());
    EXPECT_TRUE(ini::KeyNames(text, "missing").empty());
}

TEST(IniWrite, ThenReadGivesTheValueBack) {
    std::string text;
    bool changed = false;
    text = ini::ApplyWrite(text, "PARAMS", "scan", "1", &changed);
    text = ini::ApplyWrite(text, "FOLDERS", "source", "C:\\pdf in", &changed);
    text = ini::ApplyWrite(text, "params", "SCAN", "0", &changed);
    std::string value;
    ASSERT_TRUE(ini::FindValue(text, "PARAMS", "scan", &value));
    EXPECT_EQ("0", value);
    ASSERT_TRUE(ini::FindValue(text, "FOLDERS", "source", &value));
    EXPECT_EQ("C:\\pdf in", value);
    EXPECT_EQ("[PARAMS]\r\nscan=0\r\n[FOLDERS]\r\nsource=C:\\pdf in\r\n", text);
}

TEST(IniInt, LeadingNumberWrapsAt32Bits) {
    EXPECT_EQ(42u, ini::ParseProfileInt("42"));
    EXPECT_EQ(42u, ini::ParseProfileInt("42abc"));
    EXPECT_EQ(4294967295u, ini::ParseProfileInt("-1"));
    EXPECT_EQ(7u, ini::ParseProfileInt("+7"));
    EXPECT_EQ(0u, ini::ParseProfileInt("abc"));
    EXPECT_EQ(0u, ini::ParseProfileInt("0x10"));
    EXPECT_EQ(0u, ini::ParseProfileInt("-"));
    EXPECT_EQ(0u, ini::ParseProfileInt("4294967296"));
    EXPECT_EQ(1u, ini::ParseProfileInt("4294967297"));
    EXPECT_EQ(2147483648u, ini::ParseProfileInt("2147483648"));
}

TEST(IniUtf16, DecodesToWindows1252AndBack) {
    // BOM, "[S]" CR LF "k=é€" CR LF, "☃" (no 1252 byte) becomes '?'.
    const char raw[] = "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\xAC\x20\x03\x26\r\0\n\0";
    std::string bytes(raw, sizeof raw - 1);
    ASSERT_TRUE(ini::IsUtf16(bytes));
    std::string text = ini::DecodeUtf16(bytes);
    EXPECT_EQ("[S]\r\nk=\xE9\x80?\r\n", text);
    std::string value;
    ASSERT_TRUE(ini::FindValue(text, "S", "k", &value));
    EXPECT_EQ("\xE9\x80?", value);
    EXPECT_EQ(std::string("\xFF\xFE" "a\0\xAC\x20", 6), ini::EncodeUtf16("a\x80"));
    EXPECT_FALSE(ini::IsUtf16("[S]"));
}

}  // namespace
