// The engine stand-in's rules: the job path on its command line, the files
// it takes from a folder (the file selection's rules) and its scan interval.
#include "tests/engine_double/engine_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const unsigned long kDirectory = 16;
const unsigned long kArchive = 32;

TEST(EngineRules, JobPathRunsFromTheMarkerToTheEnd) {
    EXPECT_STREQ("C:\\My Jobs\\night run.ini",
                 JobPathAfterMarker("C:\\Program Files\\Z\\ombrello_zandrix.exe G|C:\\My Jobs\\night run.ini"));
    EXPECT_STREQ("", JobPathAfterMarker("ombrello_zandrix.exe G|"));
    EXPECT_EQ(nullptr, JobPathAfterMarker("ombrello_zandrix.exe"));
    EXPECT_EQ(nullptr, JobPathAfterMarker(nullptr));
}

TEST(EngineRules, FolderEntriesTakenAsTheFileSelectionTakesThem) {
    struct Entry {
        const char* name;
        unsigned long attributes;
        unsigned long size;
        int listed;
    } entries[] = {
        {"a.pdf", kArchive, 10, 1},       {"b.PDF", kArchive, 5, 1},
        {"c.pdf", kArchive, 0, 0},        {"d.pdfx", kArchive, 1, 0},
        {"e.pdf", kDirectory, 0, 0},      {".hidden.pdf", kArchive, 9, 0},
        {"report.pdf.txt", kArchive, 9, 0}, {"pdf", kArchive, 9, 0},
        {"f.Pdf", 0, 1, 1},
    };
    for (const Entry& e : entries)
        EXPECT_EQ(e.listed, IsListedPdf(e.name, e.attributes, e.size)) << e.name;

    EXPECT_EQ(1, IsEnteredFolder("2024", kDirectory));
    EXPECT_EQ(1, IsEnteredFolder("2024", kDirectory | kArchive));
    EXPECT_EQ(0, IsEnteredFolder(".cache", kDirectory));
    EXPECT_EQ(0, IsEnteredFolder("a.pdf", kArchive));
}

TEST(EngineRules, ScanIntervalInMinutesOrSecondsWithinBounds) {
    EXPECT_EQ(300u, ScanIntervalSeconds(5, 1));
    EXPECT_EQ(5u, ScanIntervalSeconds(5, 0));
    EXPECT_EQ(1u, ScanIntervalSeconds(0, 0)) << "a job without a delay does not spin";
    EXPECT_EQ(60u, ScanIntervalSeconds(-3, 1));
    EXPECT_EQ(86400u, ScanIntervalSeconds(100000, 1));
}

}  // namespace
