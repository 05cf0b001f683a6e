// Prints the page count that Otxtpdf.dll gives for each file named on the
// command line, one "count<TAB>path" line each. It links the library through
// the import library, as the configurator does, so the shipped build's check
// can see the import by ordinal 3.
#include <cstdio>

#include "launch/otxtpdf.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; i++) std::printf("%d\t%s\n", OtxtpdfPageCount(argv[i]), argv[i]);
    return 0;
}
