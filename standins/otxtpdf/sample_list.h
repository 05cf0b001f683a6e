// The list of sample PDF files that make_samples.py writes (expected.tsv:
// path, expected page count, how the file was made, whether its
// cross-reference data is intact), shared by the native test of the page
// counter and the Windows-side test of Otxtpdf.dll.
#pragma once
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

struct SampleFile {
    std::string path;
    std::string expected;  // "N", or "<=N" for -1 or a count from 1 to N
    std::string how;
    std::string repair;  // "intact", "damaged" or "-"
};

inline std::vector<SampleFile> ReadSampleList(const std::string& listPath) {
    std::vector<SampleFile> files;
    std::ifstream list(listPath);
    std::string line;
    while (std::getline(list, line)) {
        std::vector<std::string> fields;
        for (size_t start = 0;;) {
            size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (fields.size() != 4) continue;
        files.push_back({fields[0], fields[1], fields[2], fields[3]});
    }
    return files;
}

inline bool CountIsExpected(const std::string& expected, int count) {
    if (expected.compare(0, 2, "<=") == 0)
        return count == -1 || (count >= 1 && count <= std::atoi(expected.c_str() + 2));
    return count == std::atoi(expected.c_str());
}
