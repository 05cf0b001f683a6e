// Fuzz target: a signature picture file of any bytes. Reading it either
// fails with a message naming the file or gives a stamp whose pixels fill
// exactly its size; stamping that on a small page stays inside the page.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/signature.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::ScratchFolder() + "/signature";
    if (!fuzz::WriteFile(path, std::string(reinterpret_cast<const char*>(data), size))) return 0;
    Stamp stamp;
    std::string error;
    if (!ReadStampPicture(path, &stamp, &error)) {
        if (error.find(path) == std::string::npos) std::abort();
        return 0;
    }
    if (stamp.width <= 0 || stamp.height <= 0 ||
        stamp.rgba.size() != static_cast<size_t>(stamp.width) * static_cast<size_t>(stamp.height) * 4)
        std::abort();
    Picture page;
    page.Reset(37, 23, 3, 255);
    StampPicture(stamp, static_cast<int>(size % 9), 60, &page);
    return 0;
}
