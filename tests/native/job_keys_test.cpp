// The job file table: its shape, its defaults and the section order of a save.
#include "job/job_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(JobKeys, EveryEntryStandsAtItsIdentifier) {
    std::set<std::string> names;
    for (int i = 0; i < kJobKeyCount; ++i) {
        const JobKey& entry = JobKeyAt(static_cast<JobKeyId>(i));
        EXPECT_EQ(i, entry.id) << entry.section << "/" << entry.key;
        std::string name = std::string(entry.section) + "/" + entry.key;
        EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
        bool text = entry.form == kFormText || entry.form == kFormPath;
        EXPECT_EQ(text, entry.maxChars > 0 && entry.form != kFormGeometry) << name;
        EXPECT_EQ(entry.source == kSourceControl, entry.controls[0] != 0) << name;
    }
    EXPECT_EQ(93u, names.size());
}

TEST(JobKeys, CompleteSaveWritesSectionsInFileOrder) {
    const char* names[32];
    size_t count = SavedSectionOrder(names, 32);
    const char* expected[] = {"MAIN", "PARAMS", "FOLDERS", "ERRORS", "TIFF", "MISC",
                              "SIGNATURE", "ENHANCE", "DCX", "GIF", "JPEG", "PNG",
                              "RTF", "SWF", "TXT", "PS", "BMP", "Infos"};
    ASSERT_EQ(sizeof expected / sizeof expected[0], count);
    for (size_t i = 0; i < count; ++i) EXPECT_STREQ(expected[i], names[i]) << i;
    EXPECT_EQ(count, SavedSectionOrder(names, 3)) << "a short list still counts them all";
}

TEST(JobKeys, DefaultsThatAreEasyToGetWrong) {
    struct Expect { const char* section; const char* key; int number; };
    const Expect cases[] = {
        {"PARAMS", "image_type", 1},  {"PARAMS", "extract_all", 1}, {"PARAMS", "erase_log", 1},
        {"PARAMS", "display_details", 1}, {"PARAMS", "scan_minutes", 1},
        {"PARAMS", "rotate_radius", 90}, {"PARAMS", "keep_proportions", 1},
        {"TIFF", "pixels_inch", 72}, {"TIFF", "dpi_v", 72}, {"TIFF", "dpi_h", 72},
        {"TXT", "mark_crlf", 80}, {"TXT", "columns", 80}, {"TXT", "raw", 1},
        {"RTF", "raw", 1}, {"SWF", "adjoin", 1}, {"SWF", "framerate", 100},
        {"SWF", "quality", 75}, {"JPEG", "quality", 75}, {"PNG", "quality", 75},
        {"PS", "compress", 1}, {"PS", "ps_compress", 1}, {"BMP", "compress", 1},
        {"SIGNATURE", "signature_dissolve", 50}, {"MAIN", "langue", 1},
        {"Infos", "tagged", 1}, {"Infos", "creator", 1}, {"PROCESS", "ID", 0},
    };
    for (const Expect& c : cases) {
        const JobKey* entry = FindJobKey(c.section, c.key);
        ASSERT_NE(nullptr, entry) << c.section << "/" << c.key;
        EXPECT_EQ(c.number, entry->defaultNumber) << c.section << "/" << c.key;
    }
    EXPECT_TRUE(JobKeyAt(kKeyTempPath).flags & kKeyTempFolderDefault);
    EXPECT_EQ(nullptr, FindJobKey("PARAMS", "langue"));
    EXPECT_EQ(&JobKeyAt(kKeyFirstPage), FindJobKey("params", "FIRSTPAGE"));
}

TEST(JobKeys, TextLimits) {
    EXPECT_EQ(259, JobKeyAt(kKeySource).maxChars);
    EXPECT_EQ(259, JobKeyAt(kKeyPassword).maxChars);
    EXPECT_EQ(511, JobKeyAt(kKeyPrefixFileName).maxChars);
    EXPECT_EQ(79, JobKeyAt(kKeyTiffAuthor).maxChars);
    EXPECT_EQ(2, JobKeyAt(kKeySignatureDissolve).maxChars);
    EXPECT_EQ(19, JobKeyAt(kKeyShaveGeometry).maxChars);
}

TEST(JobKeys, GeometryNamesWidthThenHeight) {
    EXPECT_EQ(1009, JobKeyAt(kKeySize).controls[0]);
    EXPECT_EQ(1010, JobKeyAt(kKeySize).controls[1]);
    EXPECT_EQ(1109, JobKeyAt(kKeyShaveGeometry).controls[0]);
    EXPECT_EQ(1108, JobKeyAt(kKeyShaveGeometry).controls[1]);
}

}  // namespace
