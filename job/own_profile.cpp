// The private-profile functions over the text format of ini_text and the
// replace-on-write file access of platform.
#include "job/own_profile.h"

#include <cstring>
#include <string>

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

}  // namespace

unsigned long OwnGetPrivateProfileString(const char* section, const char* key,
                                         const char* defaultValue, char* out,
                                         unsigned long size, const char* path) {
    std::string value;
    std::string text;
    if (section == nullptr || key == nullptr || path == nullptr || !LoadText(path, &text) ||
        !ini::FindValue(text, section, key, &value)) {
        value = defaultValue != nullptr ? defaultValue : "";
        while (!value.empty() && value.back() == ' ') value.pop_back();
    }
    return CopyOut(value, out, size);
}

unsigned OwnGetPrivateProfileInt(const char* section, const char* key, int defaultValue,
                                 const char* path) {
    std::string value;
    std::string text;
    if (section == nullptr || key == nullptr || path == nullptr || !LoadText(path, &text) ||
        !ini::FindValue(text, section, key, &value) || value.empty())
        return static_cast<unsigned>(defaultValue);
    return ini::ParseProfileInt(value);
}

int OwnWritePrivateProfileString(const char* section, const char* key, const char* value,
                                 const char* path) {
    if (section == nullptr || path == nullptr) return 0;
    std::string bytes;
    platform::ReadResult read = platform::ReadFileBytes(path, &bytes);
    if (read == platform::kReadFailed) return 0;
    const bool utf16 = ini::IsUtf16(bytes);
    const std::string text = utf16 ? ini::DecodeUtf16(bytes) : bytes;

    bool changed = false;
    std::string updated = ini::ApplyWrite(text, section, key, value, &changed);
    // Nothing to delete in a missing file: there is nothing to create either.
    if (!changed && read == platform::kReadMissing) return 1;
    // An unchanged file is still written, so that a read-only file is
    // reported as such whatever the values.
    return platform::WriteFileReplacing(path, utf16 ? ini::EncodeUtf16(updated) : updated) ? 1 : 0;
}
