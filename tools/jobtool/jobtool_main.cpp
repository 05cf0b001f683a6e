// jobtool's entry point: runs the command line and reports a failed write of
// standard output.
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "tools/jobtool/jobtool.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as the Linux build writes: no CR before each line feed.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    int status = RunJobtool(argc, argv);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("jobtool: cannot write to standard output\n", stderr);
        return 2;
    }
    return status;
}
