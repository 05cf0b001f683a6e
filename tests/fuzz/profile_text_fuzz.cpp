// Fuzz target: the private-profile text format. Any bytes are read without
// fault; a write followed by a read gives back what was written and leaves
// every other key's value as it was; a deletion touches no other section.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "job/ini_text.h"
#include "job/profile.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// Names and a value that a write can put on lines of their own and a read
// can find again: what jobtool's set accepts.
bool Writable(const std::string& section, const std::string& key, const std::string& value) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
    if (section.find(']') != std::string::npos || key.find('=') != std::string::npos) return false;
    const std::string name = fuzz::Trimmed(key);
    return name.empty() || (name[0] != ';' && name[0] != '[');
}

struct Entry {
    std::string section;
    std::string key;
    bool found;
    std::string value;
};

// The values of up to 16 keys of each of the first 16 sections.
std::vector<Entry> Sample(const std::string& text) {
    std::vector<Entry> entries;
    std::vector<std::string> sections = ini::SectionNames(text);
    if (sections.size() > 16) sections.resize(16);
    for (const std::string& section : sections) {
        std::vector<std::string> keys = ini::KeyNames(text, section.c_str());
        if (keys.size() > 16) keys.resize(16);
        for (const std::string& key : keys) {
            // A caller names a key with a C string: one with a NUL byte cannot be asked for.
            if (key.find('\0') != std::string::npos || section.find('\0') != std::string::npos) continue;
            Entry entry{section, key, false, ""};
            entry.found = ini::FindValue(text, section.c_str(), key.c_str(), &entry.value);
            entries.push_back(entry);
        }
    }
    return entries;
}

void ExpectUnchanged(const std::vector<Entry>& before, const std::string& after, const std::string& section,
                     const std::string& key, bool wholeSection) {
    const std::string s = fuzz::Trimmed(section);
    const std::string k = fuzz::Trimmed(key);
    for (const Entry& entry : before) {
        if (SameProfileName(entry.section.c_str(), s.c_str()) &&
            (wholeSection || SameProfileName(entry.key.c_str(), k.c_str())))
            continue;
        std::string value;
        bool found = ini::FindValue(after, entry.section.c_str(), entry.key.c_str(), &value);
        if (found != entry.found || value != entry.value) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> f = fuzz::Fields(data, size, 5);
    const std::string& text = f[0];
    const std::string section = fuzz::UpToNul(f[1]);
    const std::string key = fuzz::UpToNul(f[2]);
    const std::string value = fuzz::UpToNul(f[3]);
    const std::string& mode = f[4];

    std::string found;
    if (ini::FindValue(text, section.c_str(), key.c_str(), &found)) ini::ParseProfileInt(found);
    // Single-byte text survives a UTF-16 file byte for byte.
    if (ini::DecodeUtf16(ini::EncodeUtf16(text)) != text) std::abort();
    if (ini::IsUtf16(text)) ini::DecodeUtf16(text);

    const std::vector<Entry> before = Sample(text);
    bool changed = false;
    if (mode == "delete key" || mode == "delete section") {
        const bool wholeSection = mode == "delete section";
        std::string after =
            ini::ApplyWrite(text, section.c_str(), wholeSection ? nullptr : key.c_str(), nullptr, &changed);
        if (!changed && after != text) std::abort();
        ExpectUnchanged(before, after, section, key, wholeSection);
        return 0;
    }
    if (!Writable(section, key, value)) return 0;
    std::string after = ini::ApplyWrite(text, section.c_str(), key.c_str(), value.c_str(), &changed);
    std::string read;
    if (!ini::FindValue(after, section.c_str(), key.c_str(), &read) || read != fuzz::AsRead(value)) std::abort();
    ExpectUnchanged(before, after, section, key, false);
    // Writing the same again changes nothing more.
    if (ini::ApplyWrite(after, section.c_str(), key.c_str(), value.c_str(), &changed) != after || changed)
        std::abort();
    return 0;
}
