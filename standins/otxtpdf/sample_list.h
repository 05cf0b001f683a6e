// The list of sample PDF files that make_samples.py writes (expected.tsv:
// path, expected page count, how the file was made), shared by the native
// test of the page counter and the Windows-side test of Otxtpdf.dll.
#pragma once
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

struct SampleFile {
    std::string path;
    std::string expected;  // "N", or "<=N" for -1 or a count from 1 to N
    std::string how;
};

inline std::vector<SampleFile> ReadSampleList(const std::string& listPath) {
    std::vector<SampleFile> files;
    std::ifstream list(listPath);
    std::string line;
    while (std::getline(list, line)) {
        size_t first = line.find('\t');
        size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
        if (second == std::string::npos) continue;
        files.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1), line.substr(second + 1)});
    }
    return files;
}

inline bool CountIsExpected(const std::string& expected, int count) {
    if (expected.compare(0, 2, "<=") == 0)
        return count == -1 || (count >= 1 && count <= std::atoi(expected.c_str() + 2));
    return count == std::atoi(expected.c_str());
}
