// Fuzz target: the page counter on arbitrary bytes must end with -1 or a
// count, within its budgets, without a fault the sanitizers see.
#include <cstddef>
#include <cstdint>

#include "standins/otxtpdf/pdf_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int count = CountPdfPagesInMemory(data, size);
    if (count == 0 || count < -1) __builtin_trap();  // never a count of no pages
    return 0;
}
