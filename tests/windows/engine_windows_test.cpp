// The real engine of the program folder, started by Launch on the real main
// window under Wine: one-off runs convert every page and the monitor window
// follows them; a hot folder is watched until Stop scan or the stop tool
// ends the engine.
#include "tests/windows/launch_fixture.h"

#include <cstdio>
#include <set>

namespace {

using namespace main_window_test;

// A PDF of square pages (200 by 200 points): on each, a blue block near the
// bottom left and "Page N" in Helvetica, which the PDF does not embed, so
// its text shows only when the engine's own fonts stand in for it.
std::string MakePdf(int pages) {
    std::vector<std::string> objects;
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (int i = 0; i < pages; ++i) kids += std::to_string(4 + 2 * i) + " 0 R ";
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (int i = 0; i < pages; ++i) {
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Resources << /Font << /F1 3 0 R >> >> "
                          "/Contents " + std::to_string(5 + 2 * i) + " 0 R >>");
        std::string content = "0 0 1 rg 20 20 60 40 re f 0 g BT /F1 36 Tf 20 120 Td (Page " + std::to_string(i + 1) +
                              ") Tj ET";
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                          "\nendstream");
    }
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    size_t table = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(table) + "\n%%EOF\n";
    return pdf;
}

// What a 24-bit bottom-up BMP shows.
struct Bitmap {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::string bytes;
    size_t pixels = 0;

    // Blue, green, red of a pixel, row 0 at the top.
    int At(int x, int y, int channel) const {
        size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
        size_t at = pixels + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3 + channel;
        return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : -1;
    }
};

Bitmap ReadBitmap(const std::string& path) {
    Bitmap bitmap;
    bitmap.bytes = ui::ReadFileBytes(path);
    if (bitmap.bytes.size() < 54 || bitmap.bytes.compare(0, 2, "BM") != 0) return bitmap;
    auto number = [&bitmap](size_t at) {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(bitmap.bytes.data()) + at;
        return static_cast<int>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<unsigned>(b[3]) << 24));
    };
    bitmap.pixels = static_cast<size_t>(number(10));
    bitmap.width = number(18);
    bitmap.height = number(22);
    bitmap.bits = bitmap.bytes[28];
    return bitmap;
}

// Dark pixels where the page's text stands (points 20 to 180 across, 110 to
// 160 up, at 72 pixels per inch).
int TextPixels(const Bitmap& page) {
    int dark = 0;
    for (int y = 40; y < 90; ++y)
        for (int x = 20; x < 180; ++x)
            if (page.At(x, y, 0) < 100 && page.At(x, y, 1) < 100 && page.At(x, y, 2) < 100) ++dark;
    return dark;
}

class Engine : public Launch {
public:
    std::string Out() const { return temp_ + "\\out"; }

    bool WaitForFile(const std::string& path, DWORD timeoutMs) const {
        for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
            if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
            Sleep(50);
        }
        return false;
    }

    void ExpectPage(const std::string& path, int textPixelsAtLeast) {
        Bitmap page = ReadBitmap(path);
        ASSERT_EQ(200, page.width) << path;
        ASSERT_EQ(200, page.height) << path;
        ASSERT_EQ(24, page.bits) << path;
        // The blue block, 20 to 80 across and 20 to 60 up.
        EXPECT_EQ(255, page.At(50, 160, 0)) << path;
        EXPECT_EQ(0, page.At(50, 160, 1)) << path;
        EXPECT_EQ(0, page.At(50, 160, 2)) << path;
        EXPECT_EQ(255, page.At(150, 170, 1)) << path << ": white paper beside it";
        EXPECT_GE(TextPixels(page), textPixelsAtLeast) << path << ": the text in the engine's own Helvetica";
    }
};

TEST_F(Engine, LaunchConvertsEveryPageAndTheMonitorWindowFollows) {
    for (const char* name : {"a.pdf", "b.PDF", "empty.pdf", "notes.pdfx"}) DeleteFileA((source_ + "\\" + name).c_str());
    ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\spring report.pdf", MakePdf(3)));
    ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\summer.PDF", MakePdf(1)));
    ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\broken.pdf", "%PDF-1.4\nnot a PDF after all\n"));
    ASSERT_NE(nullptr, Start(Job("image_type=0\r\n[BMP]\r\nbmp_type=2\r\n").c_str()));
    SetText(IDC_ED_JOB_FILE, jobPath_);
    HWND monitor = LaunchForMonitor();
    ASSERT_NE(nullptr, monitor);

    std::set<std::string> firstLines;
    long mostFirst = 0;
    long mostSecond = 0;
    DWORD start = GetTickCount();
    while (IsWindow(monitor) && GetTickCount() - start < 60000) {
        std::string line1 = Line(monitor, IDC_ST_MONITOR_LINE1);
        if (!line1.empty()) firstLines.insert(line1);
        mostFirst = std::max(mostFirst, BarPosition(monitor, IDC_PB_MONITOR_FIRST));
        mostSecond = std::max(mostSecond, BarPosition(monitor, IDC_PB_MONITOR_SECOND));
        Sleep(5);
    }
    EXPECT_FALSE(IsWindow(monitor)) << "the engine closes its monitor window at the end";
    EXPECT_EQ(1u, firstLines.count("File 1 of 3: broken.pdf") + firstLines.count("File 2 of 3: broken.pdf") +
                      firstLines.count("File 3 of 3: broken.pdf"))
        << "each file is named as it starts";
    // The window goes as soon as the last file is done, so a watcher may
    // not see the bars full; it sees them move.
    EXPECT_GT(mostSecond, 0) << "files done";
    EXPECT_GT(mostFirst, 0) << "pages done";
    ASSERT_TRUE(WaitFor([](const Launch& t) { return t.RecordedProcess() == 0; }, 10000)) << "the record is cleared";

    for (const char* name : {"spring report_001.bmp", "spring report_002.bmp", "spring report_003.bmp",
                             "summer_001.bmp"})
        ExpectPage(Out() + "\\" + name, 60);
    EXPECT_FALSE(WaitForFile(Out() + "\\broken_001.bmp", 0));
    std::string log = ui::ReadFileBytes(LogPath());
    EXPECT_NE(std::string::npos, log.find("Summary: 3 file(s): 2 converted, 1 failed")) << log;
    EXPECT_NE(std::string::npos, log.find(source_ + "\\broken.pdf")) << log;
    EXPECT_EQ("%PDF-1.4\nnot a PDF after all\n", ui::ReadFileBytes(source_ + "\\broken.pdf"))
        << "a file that fails stays as it was";
}

TEST_F(Engine, AHotFolderIsWatchedUntilStopScanOrTheStopTool) {
    for (const char* name : {"a.pdf", "b.PDF", "empty.pdf", "notes.pdfx"}) DeleteFileA((source_ + "\\" + name).c_str());
    ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\first.pdf", MakePdf(1)));
    // A scan must move the files that fail, or it would take them again at every pass.
    std::string errors = temp_ + "\\errors";
    ASSERT_TRUE(CreateDirectoryA(errors.c_str(), nullptr));
    ASSERT_NE(nullptr, Start(Job("image_type=0\r\nscan=1\r\nscan_delay=1\r\nscan_minutes=0\r\n[BMP]\r\nbmp_type=2\r\n"
                                 "[ERRORS]\r\nmove=1\r\nmove_error_path=" + errors + "\r\n")
                                 .c_str()));
    // The default job beside the programs: the one the stop tool reads.
    SetText(IDC_ED_JOB_FILE, job_);
    jobPath_ = job_;

    for (int round = 0; round < 2; ++round) {
        std::vector<HWND> before = Monitors();
        PostMessageA(dialog_, WM_COMMAND, IDC_BT_LAUNCH, 0);
        ASSERT_TRUE(WaitFor([](const Launch& t) { return t.RecordedProcess() != 0; }, 15000)) << round;
        EXPECT_EQ(before.size(), Monitors().size()) << "a scan runs without a monitor window";
        DWORD engineId = RecordedProcess();
        HANDLE engine = OpenProcess(SYNCHRONIZE, FALSE, engineId);
        ASSERT_NE(nullptr, engine);

        // A file that arrives while it watches is converted at a later scan.
        std::string name = round == 0 ? "arrived" : "later";
        ASSERT_TRUE(WaitForFile(Out() + "\\first_001.bmp", 15000));
        ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\" + name + ".pdf", MakePdf(2)));
        ASSERT_TRUE(WaitForFile(Out() + "\\" + name + "_002.bmp", 15000)) << name;
        Sleep(200);
        ExpectPage(Out() + "\\" + name + "_002.bmp", 60);

        if (round == 0) {
            HWND box = nullptr;
            ui::MessageBoxView view = PressForBox(IDC_BT_STOP_SCAN, &box);
            EXPECT_EQ("OK", view.text);
            if (box != nullptr) Answer(box, "OK");
            EXPECT_EQ(0u, RecordedProcess()) << "Stop scan clears the record";
        } else {
            PROCESS_INFORMATION info;
            ASSERT_TRUE(ui::StartProgram(folder_ + "stopjob.exe", "", &info));
            EXPECT_EQ(1, ui::WaitForExit(info.hProcess, 15000)) << "the stop tool found the engine";
            CloseHandle(info.hProcess);
        }
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(engine, 10000)) << "the engine has ended";
        CloseHandle(engine);
        WritePrivateProfileStringA("PROCESS", "ID", "0", job_.c_str());
    }
    std::string log = ui::ReadFileBytes(LogPath());
    EXPECT_NE(std::string::npos, log.find(source_ + "\\later.pdf")) << log;
}

}  // namespace
