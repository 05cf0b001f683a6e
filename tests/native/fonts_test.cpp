// Poppler's start for the engine: the standard font names resolve to the
// URW face of the right style, faces missing from the folder are reported,
// the data folder given at run time is the one poppler reads, and poppler's
// messages reach the sink instead of the console.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "GlobalParams.h"
#include "PDFDoc.h"
#include "goo/GooString.h"

#include "engine/fonts.h"

namespace fs = std::filesystem;

namespace {

const char kUrwFolder[] = "/usr/share/fonts/opentype/urw-base35";

std::vector<std::string> g_messages;
void Collect(const char* message, long long) { g_messages.push_back(message); }

class PopplerStart : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("fonts_test_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        g_messages.clear();
    }
    void TearDown() override {
        globalParams.reset();
        fs::remove_all(folder_);
    }
    std::string Resolved(const char* name) {
        std::unique_ptr<GooString> path(globalParams->findFontFile(name));
        return path ? fs::path(path->toStr()).filename().string() : "";
    }
    fs::path folder_;
};

TEST_F(PopplerStart, StandardNamesAndAliasesResolveToTheFaceOfTheirStyle) {
    for (const auto& entry : fs::directory_iterator(kUrwFolder)) {
        if (entry.path().extension() == ".otf") fs::copy_file(entry.path(), folder_ / entry.path().filename());
    }
    StartPoppler("", Collect);
    EXPECT_TRUE(RegisterStandardFonts(folder_.string()).empty());

    const struct {
        const char* name;
        const char* file;
    } expected[] = {
        {"Helvetica", "NimbusSans-Regular.otf"},
        {"Helvetica-Bold", "NimbusSans-Bold.otf"},
        {"Helvetica-Oblique", "NimbusSans-Italic.otf"},
        {"Helvetica-BoldOblique", "NimbusSans-BoldItalic.otf"},
        {"Times-Roman", "NimbusRoman-Regular.otf"},
        {"Times-Bold", "NimbusRoman-Bold.otf"},
        {"Times-Italic", "NimbusRoman-Italic.otf"},
        {"Times-BoldItalic", "NimbusRoman-BoldItalic.otf"},
        {"Courier", "NimbusMonoPS-Regular.otf"},
        {"Courier-Bold", "NimbusMonoPS-Bold.otf"},
        {"Courier-Oblique", "NimbusMonoPS-Italic.otf"},
        {"Courier-BoldOblique", "NimbusMonoPS-BoldItalic.otf"},
        {"Symbol", "StandardSymbolsPS.otf"},
        {"ZapfDingbats", "D050000L.otf"},
        {"Arial-BoldMT", "NimbusSans-Bold.otf"},
        {"TimesNewRoman,Italic", "NimbusRoman-Italic.otf"},
        {"CourierNewPS-BoldItalicMT", "NimbusMonoPS-BoldItalic.otf"},
    };
    for (const auto& row : expected) EXPECT_EQ(Resolved(row.name), row.file) << row.name;
}

TEST_F(PopplerStart, FacesMissingFromTheFolderAreReportedAndTheOthersStillRegistered) {
    fs::copy_file(fs::path(kUrwFolder) / "NimbusSans-Regular.otf", folder_ / "NimbusSans-Regular.otf");
    StartPoppler("", Collect);
    std::vector<std::string> missing = RegisterStandardFonts(folder_.string() + "/");
    EXPECT_EQ(missing.size(), 13u);
    EXPECT_EQ(std::count(missing.begin(), missing.end(), "D050000L.otf"), 1);
    EXPECT_EQ(Resolved("Helvetica"), "NimbusSans-Regular.otf");
}

TEST_F(PopplerStart, TheDataFolderGivenAtRunTimeIsTheOneRead) {
    StartPoppler("/usr/share/poppler", Collect);
    EXPECT_NE(globalParams->getUnicodeMap("ISO-8859-7"), nullptr);
    StartPoppler(folder_.string(), Collect);  // an empty data folder: no such map
    EXPECT_EQ(globalParams->getUnicodeMap("ISO-8859-7"), nullptr);
}

TEST_F(PopplerStart, MessagesGoToTheSinkNotTheConsole) {
    StartPoppler("", Collect);
    const fs::path damaged = folder_ / "damaged.pdf";
    std::ofstream(damaged) << "%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\nthis is not a PDF\n";
    testing::internal::CaptureStderr();
    PDFDoc document(std::make_unique<GooString>(damaged.string()));
    const std::string console = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(document.isOk());
    EXPECT_FALSE(g_messages.empty());
    EXPECT_EQ(console, "");
}

}  // namespace
