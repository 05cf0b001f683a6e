// The file rules, the column orders, the o.log text, the case-blind set of
// selected paths and the tree's path resolutions; see selection.h.
#include "select/selection.h"

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string FoldedKey(const char* path) {
    std::string key(path);
#ifdef _WIN32
    // The code page's own lower case, as the file system's name comparison sees letters.
    if (!key.empty()) CharLowerBuffA(&key[0], static_cast<DWORD>(key.size()));
#else
    for (char& c : key) c = static_cast<char>(FoldCase1252(static_cast<unsigned char>(c)));
#endif
    return key;
}

template <typename T>
int Difference(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

bool IsListedEntry(unsigned attributes, const char* name, uint32_t sizeLow) {
    if (attributes == kDirectoryAttribute || name[0] == '.' || sizeLow == 0) return false;
    const char* dot = std::strrchr(name, '.');
    return dot != nullptr && std::strlen(dot) == 4 && CompareIgnoringCase(dot, ".pdf") == 0;
}

bool IsScannedFolder(unsigned attributes, const char* name) {
    return (attributes & kDirectoryAttribute) != 0 && name[0] != '.';
}

void FormatModified(int month, int day, int year, int hour, int minute, char out[kModifiedSize]) {
    std::snprintf(out, kModifiedSize, "%02d/%02d/%04d  %02d:%02d", month, day, year, hour, minute);
}

unsigned char FoldCase1252(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return c;
    }
}

int CompareIgnoringCase(const char* a, const char* b) {
#ifdef _WIN32
    return lstrcmpiA(a, b);
#else
    for (;; ++a, ++b) {
        unsigned char x = FoldCase1252(static_cast<unsigned char>(*a));
        unsigned char y = FoldCase1252(static_cast<unsigned char>(*b));
        if (x != y) return x < y ? -1 : 1;
        if (x == '\0') return 0;
    }
#endif
}

int CompareRecords(const FileRecord& a, const FileRecord& b, int column, bool ascending) {
    const FileRecord& first = ascending ? a : b;
    const FileRecord& second = ascending ? b : a;
    switch (column) {
    case 0:
        return CompareIgnoringCase(first.path, second.path);
    case 1:
        // By sign rather than by subtraction, which overflows for far-apart values.
        return Difference(first.engine_value, second.engine_value);
    case 2:
        return Difference(first.size, second.size);
    case 3:
        return CompareIgnoringCase(first.modified, second.modified);
    default:
        return 0;
    }
}

std::string FileListText(const std::vector<std::string>& entries) {
    std::string text = "[FILES]\r\n";
    for (size_t i = 0; i < entries.size(); ++i)
        text += std::to_string(i) + "=" + entries[i] + "\r\n";
    return text;
}

bool SelectedPaths::Contains(const char* path) const { return keys_.count(FoldedKey(path)) != 0; }

void SelectedPaths::Add(const char* path) { keys_.insert(FoldedKey(path)); }

void SelectedPaths::Remove(const char* path) { keys_.erase(FoldedKey(path)); }

void SelectedPaths::Clear() { keys_.clear(); }

int BuildDisplayPath(const std::vector<std::string>& texts, char out[kPathSize]) {
    std::string path;
    for (const std::string& text : texts) path += "\\" + text;
    if (path.size() > kPathMax) {
        out[0] = '\0';
        return 0;
    }
    std::memcpy(out, path.c_str(), path.size() + 1);
    return 1;
}

int ResolveDrivePath(const char* display, char out[kPathSize]) {
    const char* colon = std::strchr(display, ':');
    if (colon == nullptr || colon == display) return 0;
    // A display name that ends at the colon has nothing after it to skip.
    const char* rest = colon[1] == '\0' ? colon + 1 : colon + 2;
    std::string folder = std::string(colon - 1, 2) + rest;
    if (folder.size() > kPathMax) return 0;
    std::memcpy(out, folder.c_str(), folder.size() + 1);
    return 1;
}

int ResolveSelectedFolder(const char* display, const char* personal, char out[kPathSize]) {
    out[0] = '\0';
    if (std::strchr(display, ':') != nullptr) return ResolveDrivePath(display, out);
    const char* last = std::strrchr(personal, '\\');
    if (last == nullptr || last[1] == '\0') return 0;
    const char* found = std::strstr(display, last + 1);
    if (found == nullptr) return 0;
    std::string folder = std::string(personal) + (found + std::strlen(last + 1));
    if (folder.size() > kPathMax) return 0;
    std::memcpy(out, folder.c_str(), folder.size() + 1);
    CollapseFolderPath(out);
    return 1;
}

int ResolveCommandFolder(const char* display, const char* personal, char out[kPathSize]) {
    out[0] = '\0';
    if (std::strchr(display, ':') != nullptr) return ResolveDrivePath(display, out);
    // Without a personal folder (unreadable, or no backslash in it) the display
    // path alone would be scanned as a folder of the current drive.
    const char* last = std::strrchr(personal, '\\');
    if (last == nullptr) return 0;
    std::string folder = std::string(personal, static_cast<size_t>(last - personal)) + display;
    if (folder.size() > kPathMax) return 0;
    std::memcpy(out, folder.c_str(), folder.size() + 1);
    CollapseFolderPath(out);
    return 1;
}
