// Small PDF files built by hand for tests, native and Windows alike: object
// bodies in, a classic PDF with a correct cross-reference table out.
#pragma once

#include <string>
#include <vector>

namespace test_pdf {

// A stream object's body: its dictionary (with /Length and extra entries)
// and data.
inline std::string StreamObject(const std::string& dictionaryExtra, const std::string& data) {
    return "<< /Length " + std::to_string(data.size()) + dictionaryExtra + " >>\nstream\n" + data + "\nendstream";
}

// A PDF of objects 1..n from their bodies; the trailer holds /Size and
// trailerEntries (by default: the catalog is object 1).
inline std::string BuildPdf(const std::vector<std::string>& bodies,
                            const std::string& trailerEntries = "/Root 1 0 R") {
    std::string out = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < bodies.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + bodies[i] + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(bodies.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        const std::string digits = std::to_string(offset);
        out += std::string(digits.size() < 10 ? 10 - digits.size() : 0, '0') + digits + " 00000 n \n";
    }
    out += "trailer\n<< /Size " + std::to_string(bodies.size() + 1) + " " + trailerEntries + " >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return out;
}

}  // namespace test_pdf
