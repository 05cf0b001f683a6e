// The engine library stand-in as Windows loads it: Otxtpdf.dll beside the
// test, its page counter found by ordinal 3 (it has no name), called with
// the cdecl convention on the sample PDF files the native tools made (the
// same files and expected counts as the native test, read through drive Z:).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "standins/otxtpdf/sample_list.h"

namespace {

typedef int(__cdecl* PageCountFunction)(const char*);

std::string BesideTest(const char* name) {
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path = module;
    return path.substr(0, path.rfind('\\') + 1) + name;
}

std::string WriteTempFile(const char* name, const std::string& bytes) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return path;
}

class OtxtpdfOrdinal : public ::testing::Test {
protected:
    void SetUp() override {
        library_ = LoadLibraryA(BesideTest("Otxtpdf.dll").c_str());
        ASSERT_NE(nullptr, library_);
        count_ = reinterpret_cast<PageCountFunction>(
            reinterpret_cast<void*>(GetProcAddress(library_, MAKEINTRESOURCEA(3))));
        ASSERT_NE(nullptr, count_);
    }
    void TearDown() override {
        if (library_) FreeLibrary(library_);
    }
    HMODULE library_ = nullptr;
    PageCountFunction count_ = nullptr;
};

TEST_F(OtxtpdfOrdinal, OnlyOrdinalThreeWithoutAName) {
    EXPECT_EQ(nullptr, GetProcAddress(library_, "OtxtpdfPageCount"));
    EXPECT_EQ(nullptr, GetProcAddress(library_, MAKEINTRESOURCEA(1)));
    EXPECT_EQ(nullptr, GetProcAddress(library_, MAKEINTRESOURCEA(4)));
}

TEST_F(OtxtpdfOrdinal, CountsTwoPagesAndRefusesWhatIsNoPdf) {
    std::string pdf =
        "%PDF-1.4\n"
        "1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
        "2 0 obj << /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >> endobj\n"
        "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >> endobj\n"
        "4 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >> endobj\n"
        "trailer << /Root 1 0 R >>\n%%EOF\n";
    EXPECT_EQ(2, count_(WriteTempFile("otxtpdf_two.pdf", pdf).c_str()));
    EXPECT_EQ(-1, count_(WriteTempFile("otxtpdf_text.pdf", "plain text, no PDF\n").c_str()));
    EXPECT_EQ(-1, count_(BesideTest("no such file.pdf").c_str()));
    EXPECT_EQ(-1, count_(""));
}

// A Linux path as Wine's drive Z: shows it.
std::string OnDriveZ(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

TEST_F(OtxtpdfOrdinal, GivesTheCountsOfTheNativeTestOnTheSameFiles) {
    const char* dir = std::getenv("OTXTPDF_SAMPLES");
    ASSERT_NE(nullptr, dir) << "the samples fixture sets OTXTPDF_SAMPLES";
    std::vector<SampleFile> files = ReadSampleList(OnDriveZ(std::string(dir) + "/expected.tsv"));
    ASSERT_GE(files.size(), 30u);
    for (const SampleFile& file : files) {
        int count = count_(OnDriveZ(file.path).c_str());
        EXPECT_TRUE(CountIsExpected(file.expected, count))
            << file.path << " (" << file.how << "): " << count << ", expected " << file.expected;
    }
}

#if defined(__i386__)
// On 32-bit Windows a cdecl function leaves its arguments for the caller to
// remove and a stdcall one removes them itself; calling one as the other
// unbalances the caller's stack, which may go unseen until it crashes
// elsewhere. The call below is made by hand so that the stack pointer after
// it can be read: the number of argument bytes left for the caller.
int BytesLeftOnStack(const void* function, const char* argument, int* result) {
    int value, before, after;
    __asm__ volatile(
        "movl %%esp, %[before]\n\t"
        "pushl %[argument]\n\t"
        "call *%[function]\n\t"
        "movl %%esp, %[after]\n\t"
        "movl %[before], %%esp\n\t"
        : [value] "=a"(value), [before] "=&b"(before), [after] "=&D"(after)
        : [function] "S"(function), [argument] "m"(argument)
        : "ecx", "edx", "memory", "cc");
    *result = value;
    return before - after;
}

extern "C" __attribute__((noinline)) int __stdcall CalleeRemoves(const char* text) { return text[0]; }
extern "C" __attribute__((noinline)) int __cdecl CallerRemoves(const char* text) { return text[0]; }

TEST_F(OtxtpdfOrdinal, OrdinalThreeIsCdeclAsTheProgramsCallIt) {
    int result = 0;
    // The measure itself, on functions of known conventions.
    EXPECT_EQ(0, BytesLeftOnStack(reinterpret_cast<const void*>(&CalleeRemoves), "s", &result));
    EXPECT_EQ('s', result);
    EXPECT_EQ(4, BytesLeftOnStack(reinterpret_cast<const void*>(&CallerRemoves), "c", &result));
    EXPECT_EQ('c', result);

    std::string pdf = WriteTempFile("otxtpdf_convention.pdf",
                                    "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
                                    "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
                                    "3 0 obj << /Type /Page /Parent 2 0 R >> endobj\n"
                                    "trailer << /Root 1 0 R >>\n%%EOF\n");
    EXPECT_EQ(4, BytesLeftOnStack(reinterpret_cast<const void*>(count_), pdf.c_str(), &result))
        << "ordinal 3 must leave its argument to the caller (cdecl)";
    EXPECT_EQ(1, result);
}
#endif

}  // namespace
