// The file selection dialog's portable rules: which entries are listed, the
// column orders, the exact bytes of o.log, the case-blind set and the two
// ways a tree display path becomes a folder.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "select/selection.h"

namespace {

FileRecord Record(const char* path, int32_t engine, uint32_t size, const char* modified) {
    FileRecord record;
    std::strcpy(record.path, path);
    record.engine_value = engine;
    record.size = size;
    std::strcpy(record.modified, modified);
    return record;
}

TEST(SelectionRules, ListsOnlyNonEmptyPdfFiles) {
    EXPECT_TRUE(IsListedEntry(32, "a.pdf", 10));
    EXPECT_TRUE(IsListedEntry(32, "b.PDF", 5));
    EXPECT_TRUE(IsListedEntry(0, "x.y.Pdf", 1));
    EXPECT_FALSE(IsListedEntry(32, "c.pdf", 0));        // empty
    EXPECT_FALSE(IsListedEntry(32, "d.pdfx", 9));       // longer extension
    EXPECT_FALSE(IsListedEntry(32, "pdf", 9));          // no extension
    EXPECT_FALSE(IsListedEntry(32, ".hidden.pdf", 9));  // leading dot
    EXPECT_FALSE(IsListedEntry(16, "e.pdf", 9));        // exactly a folder
    // A folder with more attributes passes the attribute test; only its size keeps it out.
    EXPECT_TRUE(IsListedEntry(16 | 32, "odd.pdf", 1));

    EXPECT_TRUE(IsScannedFolder(16 | 32, "sub"));
    EXPECT_FALSE(IsScannedFolder(16, ".hidden"));
    EXPECT_FALSE(IsScannedFolder(16, ".."));
    EXPECT_FALSE(IsScannedFolder(32, "file.pdf"));
}

TEST(SelectionRules, ColumnOrdersAndDirections) {
    FileRecord december = Record("C:\\b\\late.pdf", 3, 100, "");
    FileRecord january = Record("C:\\B\\EARLY.pdf", -2, 7, "");
    FormatModified(12, 1, 2005, 9, 5, december.modified);
    FormatModified(1, 15, 2006, 23, 59, january.modified);
    EXPECT_STREQ("12/01/2005  09:05", december.modified);
    EXPECT_STREQ("01/15/2006  23:59", january.modified);

    // The whole path decides, ignoring case: "c:\b\early" before "c:\b\late".
    EXPECT_GT(CompareRecords(december, january, 0, true), 0);
    EXPECT_LT(CompareRecords(december, january, 0, false), 0);
    EXPECT_GT(CompareRecords(december, january, 1, true), 0);
    EXPECT_GT(CompareRecords(december, january, 2, true), 0);
    EXPECT_LT(CompareRecords(december, january, 2, false), 0);
    // The date text begins with the month: January 2006 sorts before December 2005.
    EXPECT_GT(CompareRecords(december, january, 3, true), 0);
    EXPECT_EQ(0, CompareRecords(december, december, 3, true));

    // Far-apart values keep their order (a plain difference would overflow).
    FileRecord low = Record("a", INT_MIN, 0, "");
    FileRecord high = Record("b", INT_MAX, 0xFFFFFFFFu, "");
    EXPECT_LT(CompareRecords(low, high, 1, true), 0);
    EXPECT_LT(CompareRecords(low, high, 2, true), 0);
}

TEST(SelectionRules, FileListBytes) {
    EXPECT_EQ("[FILES]\r\n0=C:\\a.pdf\r\n1=C:\\b c\\d.PDF\r\n2=D:\\e.pdf\r\n",
              FileListText({"C:\\a.pdf", "C:\\b c\\d.PDF", "D:\\e.pdf"}));
    EXPECT_EQ("[FILES]\r\n", FileListText({}));
}

TEST(SelectionRules, SelectedPathsIgnoreCaseAndFollowRemovals) {
    SelectedPaths paths;
    paths.Add("C:\\Data\\a.pdf");
    EXPECT_TRUE(paths.Contains("c:\\DATA\\A.PDF"));
    EXPECT_FALSE(paths.Contains("C:\\Data\\a.pdf2"));
    paths.Add("C:\\DATA\\A.PDF");  // the same entry
    EXPECT_EQ(1u, paths.Count());
    paths.Remove("c:\\data\\a.pdf");
    EXPECT_FALSE(paths.Contains("C:\\Data\\a.pdf"));
    paths.Add("x");
    paths.Clear();
    EXPECT_EQ(0u, paths.Count());
}

// Windows-1252 letters beyond ASCII fold as Windows folds them: the same
// folder written in capitals is a duplicate and sorts beside its twin.
TEST(SelectionRules, AccentedLettersFoldLikeWindows) {
    SelectedPaths paths;
    paths.Add("C:\\Donn\xE9" "es\\a.pdf");
    EXPECT_TRUE(paths.Contains("C:\\DONN\xC9" "ES\\A.PDF"));
    EXPECT_FALSE(paths.Contains("C:\\Donnees\\a.pdf"));
    paths.Add("C:\\\x8A" "koda\x8C\x8E\x9F.pdf");
    EXPECT_TRUE(paths.Contains("c:\\\x9A" "koda\x9C\x9E\xFF.PDF"));
    EXPECT_EQ(2u, paths.Count());
    // The multiplication and division signs are no letter pair.
    EXPECT_NE(0, CompareIgnoringCase("\xD7", "\xF7"));

    FileRecord lower = Record("C:\\Donn\xE9" "es\\b.pdf", 0, 1, "");
    FileRecord upper = Record("C:\\DONN\xC9" "ES\\a.pdf", 0, 1, "");
    FileRecord other = Record("C:\\Donn\xD0" "es\\a.pdf", 0, 1, "");
    EXPECT_GT(CompareRecords(lower, upper, 0, true), 0);  // ...\a before ...\b
    // No other name comes between the twins.
    EXPECT_EQ(CompareRecords(other, lower, 0, true) > 0, CompareRecords(other, upper, 0, true) > 0);
}

TEST(FolderTreePaths, DisplayPathAndDriveRule) {
    char display[kPathSize];
    ASSERT_TRUE(BuildDisplayPath({"My Computer", "Local Disk (C:)", "Data"}, display));
    EXPECT_STREQ("\\My Computer\\Local Disk (C:)\\Data", display);
    ASSERT_TRUE(BuildDisplayPath({}, display));
    EXPECT_STREQ("", display);
    EXPECT_FALSE(BuildDisplayPath({std::string(259, 'x')}, display));  // 260 with the backslash
    EXPECT_STREQ("", display);

    char folder[kPathSize];
    ASSERT_TRUE(ResolveDrivePath("\\My Computer\\Local Disk (C:)", folder));
    EXPECT_STREQ("C:", folder);
    ASSERT_TRUE(ResolveDrivePath("\\My Computer\\Local Disk (C:)\\Data\\2006", folder));
    EXPECT_STREQ("C:\\Data\\2006", folder);
    ASSERT_TRUE(ResolveDrivePath("\\My Computer\\ (Z:)\\tmp", folder));
    EXPECT_STREQ("Z:\\tmp", folder);
    // A name ending at its colon: nothing past the terminator is read.
    ASSERT_TRUE(ResolveDrivePath("\\Odd X:", folder));
    EXPECT_STREQ("X:", folder);
    EXPECT_FALSE(ResolveDrivePath("\\No drive", folder));
}

TEST(FolderTreePaths, PersonalFolderRules) {
    const char personal[] = "C:\\Documents and Settings\\user\\My Documents";
    char folder[kPathSize];
    ASSERT_TRUE(ResolveSelectedFolder("\\My Documents\\Invoices", personal, folder));
    EXPECT_STREQ("C:\\Documents and Settings\\user\\My Documents\\Invoices", folder);
    ASSERT_TRUE(ResolveSelectedFolder("\\My Documents", personal, folder));
    EXPECT_STREQ(personal, folder);
    EXPECT_FALSE(ResolveSelectedFolder("\\My Computer", personal, folder));
    EXPECT_FALSE(ResolveSelectedFolder("\\My Documents", "NoBackslash", folder));
    ASSERT_TRUE(ResolveSelectedFolder("\\My Computer\\Local Disk (D:)\\Scans", personal, folder));
    EXPECT_STREQ("D:\\Scans", folder);

    ASSERT_TRUE(ResolveCommandFolder("\\My Documents\\Invoices", personal, folder));
    EXPECT_STREQ("C:\\Documents and Settings\\user\\My Documents\\Invoices", folder);
    ASSERT_TRUE(ResolveCommandFolder("", personal, folder));
    EXPECT_STREQ("C:\\Documents and Settings\\user", folder);
    ASSERT_TRUE(ResolveCommandFolder("\\My Computer\\Local Disk (C:)", personal, folder));
    EXPECT_STREQ("C:", folder);
    // An unreadable personal folder gives no folder, not the display path on the current drive.
    EXPECT_FALSE(ResolveCommandFolder("\\My Documents\\x", "", folder));
    EXPECT_STREQ("", folder);
    EXPECT_FALSE(ResolveCommandFolder("\\My Documents", "NoBackslash", folder));
}

TEST(FolderTreePaths, PersonalFolderOnANetworkShareKeepsItsPrefix) {
    const char personal[] = "\\\\server\\home\\ana\\Documents";
    char folder[kPathSize];
    ASSERT_TRUE(ResolveSelectedFolder("\\Documents\\2006", personal, folder));
    EXPECT_STREQ("\\\\server\\home\\ana\\Documents\\2006", folder);
    ASSERT_TRUE(ResolveSelectedFolder("\\Documents", personal, folder));
    EXPECT_STREQ(personal, folder);
    ASSERT_TRUE(ResolveCommandFolder("\\Documents\\2006", personal, folder));
    EXPECT_STREQ("\\\\server\\home\\ana\\Documents\\2006", folder);
    ASSERT_TRUE(ResolveCommandFolder("", personal, folder));
    EXPECT_STREQ("\\\\server\\home\\ana", folder);
}

}  // namespace
