// Fuzz target: any bytes as a PDF file through a whole conversion to PNG.
// The run ends with a defined result; a file reported converted has its
// complete outputs, a failed one none; no temporary output is left and the
// source is neither lost nor moved without an error folder.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/file_system.h"
#include "engine/run.h"
#include "job/job_access.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Pages drawn at 1 pixel per inch, at most three of them, keep a run short
// whatever the page sizes say.
const std::string& JobFile() {
    static const std::string job = [] {
        const std::string folder = fuzz::ScratchFolder();
        const std::string path = folder + "/job.ini";
        WriteJobInt(kKeyImageType, 7, path.c_str());
        WriteJobInt(kKeyDensity, 1, path.c_str());
        WriteJobInt(kKeyExtractAll, 0, path.c_str());
        WriteJobInt(kKeyFirstPage, 1, path.c_str());
        WriteJobInt(kKeyLastPage, 3, path.c_str());
        WriteJobText(kKeySource, (folder + "/src").c_str(), path.c_str());
        WriteJobText(kKeyTarget, (folder + "/out").c_str(), path.c_str());
        fsys::MakeFolders(folder + "/tmp");
        return path;
    }();
    return job;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string job = JobFile();
    const std::string folder = fuzz::ScratchFolder();
    fuzz::RemoveFolder(folder + "/out");
    fsys::MakeFolders(folder + "/src");
    const std::string source = folder + "/src/in.pdf";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!fuzz::WriteFile(source, bytes)) std::abort();

    EngineSetup setup;
    setup.tempFolder = folder + "/tmp";
    setup.workers = 1 + static_cast<int>(size % 2);
    NoProgress quiet;
    int result = RunEngine(job, setup, quiet);
    if (result != kRunAllConverted && result != kRunSomeFailed) std::abort();

    std::vector<fsys::FolderEntry> outputs;
    fsys::ListFolder(folder + "/out", &outputs);
    for (const fsys::FolderEntry& entry : outputs) {
        if (entry.name.find(".part") != std::string::npos) std::abort();  // a temporary output left
        if (result == kRunSomeFailed) std::abort();  // a failure keeps none of its outputs
        if (fsys::StampOf(folder + "/out/" + entry.name).size == 0) std::abort();
    }
    if (fuzz::ReadFile(source) != bytes) std::abort();  // the source stays as it was
    return 0;
}
