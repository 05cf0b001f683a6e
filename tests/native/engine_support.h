// Helpers of the engine's end-to-end tests: a scratch folder tree, job
// files written through the key table, the tree listed as a user sees it,
// PDF files made from objects, pictures read back by independent tools.
#pragma once

#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/plan.h"
#include "job/job_access.h"
#include "tests/pdf_builder.h"

namespace engine_test {

class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/engine_run_XXXXXX";
        if (mkdtemp(pattern) != nullptr) root_ = pattern;
    }
    ~Scratch() {
        if (!root_.empty() && std::getenv("ENGINE_TEST_KEEP") == nullptr)
            std::system(("rm -rf '" + root_ + "'").c_str());
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
    const std::string& root() const { return root_; }

    // Every file below folder (relative paths, sorted), folders left out.
    std::vector<std::string> Files(const std::string& folder) const {
        std::vector<std::string> found;
        Walk(Path(folder), "", &found);
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    static void Walk(const std::string& folder, const std::string& prefix, std::vector<std::string>* found) {
        std::vector<fsys::FolderEntry> entries;
        if (!fsys::ListFolder(folder, &entries)) return;
        for (const fsys::FolderEntry& entry : entries) {
            if (entry.folder)
                Walk(folder + "/" + entry.name, prefix + entry.name + "/", found);
            else
                found->push_back(prefix + entry.name);
        }
    }

    std::string root_;
};

// A job in the scratch folder that converts src into out at dpi, moves
// what it converted to done and what failed to err; tmp is the temporary
// folder. Returns the job file's path.
inline std::string SortingJob(const Scratch& scratch, int format, int dpi) {
    const std::string job = scratch.Path("job.ini");
    WriteJobInt(kKeyImageType, format, job.c_str());
    WriteJobInt(kKeyDensity, dpi, job.c_str());
    WriteJobText(kKeySource, scratch.Path("src").c_str(), job.c_str());
    WriteJobText(kKeyTarget, scratch.Path("out").c_str(), job.c_str());
    WriteJobInt(kKeyMove, 1, job.c_str());
    WriteJobText(kKeyMovePath, scratch.Path("done").c_str(), job.c_str());
    WriteJobInt(kKeyErrorsMove, 1, job.c_str());
    WriteJobText(kKeyMoveErrorPath, scratch.Path("err").c_str(), job.c_str());
    fsys::MakeFolders(scratch.Path("tmp"));
    return job;
}

inline std::string SamplesFolder() {
    const char* folder = std::getenv("OTXTPDF_SAMPLES");
    return folder != nullptr ? folder : "";
}

inline bool CopyFile(const std::string& from, const std::string& to) {
    std::string folder = FolderOf(to);
    if (!folder.empty()) fsys::MakeFolders(folder);
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(to, std::ios::binary);
    out << bytes;
    return out.good();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::string folder = FolderOf(path);
    if (!folder.empty()) fsys::MakeFolders(folder);
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::string RunCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

using test_pdf::BuildPdf;
using test_pdf::StreamObject;

// A one-page PDF of the given size in points drawing content.
inline std::string OnePagePdf(int width, int height, const std::string& content) {
    return BuildPdf({"<< /Type /Catalog /Pages 2 0 R >>",
                     "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                     "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + std::to_string(width) + " " +
                         std::to_string(height) + "] /Contents 4 0 R >>",
                     StreamObject("", content)});
}

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    bool ok = false;
};

// A PNG file read back as RGB by libpng's own reading code.
inline Pixels ReadPng(const std::string& path) {
    Pixels pixels;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return pixels;
    image.format = PNG_FORMAT_RGB;
    pixels.width = static_cast<int>(image.width);
    pixels.height = static_cast<int>(image.height);
    pixels.rgb.resize(PNG_IMAGE_SIZE(image));
    pixels.ok = png_image_finish_read(&image, nullptr, pixels.rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return pixels;
}

}  // namespace engine_test
