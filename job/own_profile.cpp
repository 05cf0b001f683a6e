// The private-profile functions over the text format of ini_text and the
// replace-on-write file access of platform.
#include "job/own_profile.h"

#include <cstring>
#include <string>
#include <vector>

#include "job/ini_text.h"
#include "job/platform.h"

namespace {

// Reads the file as single-byte text; false when it is missing or unreadable,
// which the readers treat alike.
bool LoadText(const char* path, std::string* text) {
    std::string bytes;
    if (platform::ReadFileBytes(path, &bytes) != platform::kReadOk) return false;
    *text = ini::IsUtf16(bytes) ? ini::DecodeUtf16(bytes) : bytes;
    return true;
}

unsigned long CopyOut(const std::string& value, char* out, unsigned long size) {
    if (out == nullptr || size == 0) return 0;
    unsigned long count = value.size() < size ? static_cast<unsigned long>(value.size()) : size - 1;
    std::memcpy(out, value.data(), count);
    out[count] = '\0';
    return count;
}

// A list of names as a null section or key gives it: each name followed by
// a terminator and one more terminator at the end. A list that does not fit
// is cut at size-2 characters, even inside a name, and still ends in two
// terminators; the result counts the characters before the final one.
unsigned long CopyList(const std::vector<std::string>& names, char* out, unsigned long size) {
    if (out == nullptr || size == 0) return 0;
    if (size == 1) {
        out[0] = '\0';
        return 0;
    }
    std::string list;
    for (const std::string& name : names) {
        list += name;
        list += '\0';
    }
    unsigned long count = list.size() <= size - 1 ? static_cast<unsigned long>(list.size()) : size - 2;
    std::memcpy(out, list.data(), count);
    out[count] = '\0';
    if (count + 1 < size) out[count + 1] = '\0';
    return count;
}

}  // namespace

unsigned long OwnGetPrivateProfileString(const char* section, const char* key,
                                         const char* defaultValue, char* out,
                                         unsigned long size, const char* path) {
    std::string value;
    std::string text;
    if (path != nullptr && (section == nullptr || key == nullptr)) {
        std::vector<std::string> names;
        if (LoadText(path, &text)) names = section == nullptr ? ini::SectionNames(text) : ini::KeyNames(text, section);
        return CopyList(names, out, size);
    }
    if (path == nullptr || !LoadText(path, &text) || !ini::FindValue(text, section, key, &value)) {
        value = defaultValue != nullptr ? defaultValue : "";
        while (!value.empty() && value.back() == ' ') value.pop_back();
    }
    return CopyOut(value, out, size);
}

unsigned OwnGetPrivateProfileInt(const char* section, const char* key, int defaultValue,
                                 const char* path) {
    // As kernel32: the value is read as a text first, so a null section or
    // key reads the first name of the list.
    char value[64];
    if (OwnGetPrivateProfileString(section, key, "", value, sizeof value, path) == 0)
        return static_cast<unsigned>(defaultValue);
    return ini::ParseProfileInt(value);
}

int OwnWritePrivateProfileString(const char* section, const char* key, const char* value,
                                 const char* path) {
    if (section == nullptr || path == nullptr || path[0] == '\0') return 0;
    std::string bytes;
    platform::ReadResult read = platform::ReadFileBytes(path, &bytes);
    if (read == platform::kReadFailed) return 0;
    const bool utf16 = ini::IsUtf16(bytes);
    const std::string text = utf16 ? ini::DecodeUtf16(bytes) : bytes;

    bool changed = false;
    std::string updated = ini::ApplyWrite(text, section, key, value, &changed);
    // An unchanged file is still written, so that a read-only file is
    // reported as such whatever the values; as on Windows, a deletion in a
    // missing file leaves an empty file behind.
    return platform::WriteFileReplacing(path, utf16 ? ini::EncodeUtf16(updated) : updated) ? 1 : 0;
}
