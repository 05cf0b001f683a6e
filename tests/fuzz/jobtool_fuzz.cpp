// Fuzz target: jobtool's set and get on a job file of any bytes. Every run
// ends with a defined exit status; a set that reports success is read back
// by get as the value it wrote, trimmed and without one pair of outer quotes.
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_input.h"
#include "tools/jobtool/jobtool.h"

namespace {

// Runs jobtool with these arguments; what it printed comes back in printed.
int Jobtool(std::vector<std::string> args, std::string* printed) {
    static const std::string output = fuzz::ScratchFolder() + "/stdout";
    std::fflush(stdout);
    if (std::freopen(output.c_str(), "wb", stdout) == nullptr) std::abort();
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    // jobtool's complaints are expected; the fuzzer's own reports still
    // need standard error, so it is silenced around the run only.
    static const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const int kept = dup(2);
    std::fflush(stderr);
    dup2(quiet, 2);
    int status = RunJobtool(static_cast<int>(args.size()), argv.data());
    std::fflush(stderr);
    dup2(kept, 2);
    close(kept);
    std::fflush(stdout);
    *printed = fuzz::ReadFile(output);
    if (status < 0 || status > 2) std::abort();
    return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> f = fuzz::Fields(data, size, 4);
    static const std::string job = fuzz::ScratchFolder() + "/job.ini";
    if (!fuzz::WriteFile(job, f[0])) std::abort();
    const std::string section = fuzz::UpToNul(f[1]);
    const std::string key = fuzz::UpToNul(f[2]);
    const std::string value = fuzz::UpToNul(f[3]);

    std::string printed;
    Jobtool({"jobtool", "get", job, section, key}, &printed);
    if (Jobtool({"jobtool", "set", job, section, key, value}, &printed) != 0) {
        if (fuzz::ReadFile(job) != f[0]) std::abort();  // a refused set changes nothing
        return 0;
    }
    if (Jobtool({"jobtool", "get", job, section, key}, &printed) != 0 || printed != fuzz::AsRead(value) + "\n")
        std::abort();
    return 0;
}
