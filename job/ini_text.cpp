// The private-profile text format: line classification, look-up and the
// line-preserving edit that a write makes.
#include "job/ini_text.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace ini {
namespace {

// One physical line: [begin, end) is its content, [end, next) its line end
// (CR LF, LF, CR, or nothing on an unterminated last line).
struct Line {
    size_t begin;
    size_t end;
    size_t next;
};

enum LineKind { kBlank, kComment, kSection, kEntry };

// A classified line; name is the section name or key name, value the
// entry's value (without the outer quotes), both already trimmed.
struct Parsed {
    LineKind kind;
    std::string name;
    std::string value;
    bool hasValue;  // an entry line without '=' names a key but holds no value
};

bool IsBlank(char c) { return c != '\0' && std::strchr(kBlanks, c) != nullptr; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool NamesEqual(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string Trim(const std::string& text, size_t begin, size_t end) {
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string TrimString(const char* s) {
    std::string text(s);
    return Trim(text, 0, text.size());
}

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t pos = 0;
    const size_t size = text.size();
    while (pos < size) {
        size_t end = pos;
        while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
        size_t next = end;
        if (next < size && text[next] == '\r') ++next;
        if (next < size && text[next] == '\n' && (next == end || text[end] == '\r')) ++next;
        lines.push_back(Line{pos, end, next});
        pos = next;
    }
    return lines;
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2) {
        char first = value[0];
        if ((first == '"' || first == '\'') && value[value.size() - 1] == first)
            return value.substr(1, value.size() - 2);
    }
    return value;
}

Parsed Classify(const std::string& text, const Line& line) {
    Parsed parsed{kBlank, std::string(), std::string(), false};
    size_t begin = line.begin;
    while (begin < line.end && IsBlank(text[begin])) ++begin;
    if (begin == line.end) return parsed;
    if (text[begin] == ';') {
        parsed.kind = kComment;
        return parsed;
    }
    if (text[begin] == '[') {
        // Every line that starts with '[' opens a section: the name ends at
        // the first ']' (what follows is ignored) or, without one, at the
        // line's end, so "[a]b]" opens "a" and "[S   " opens "S".
        size_t close = begin + 1;
        while (close < line.end && text[close] != ']') ++close;
        parsed.kind = kSection;
        parsed.name = Trim(text, begin + 1, close);
        return parsed;
    }
    parsed.kind = kEntry;
    size_t equals = begin;
    while (equals < line.end && text[equals] != '=') ++equals;
    parsed.name = Trim(text, begin, equals);
    parsed.hasValue = equals < line.end;
    if (parsed.hasValue) parsed.value = Unquote(Trim(text, equals + 1, line.end));
    return parsed;
}

// Where a section stands in the file: its header line and the lines that
// belong to it, up to the next header. Only the first occurrence counts.
struct SectionSpan {
    bool found;
    size_t header;
    size_t endLine;  // one past its last line
};

SectionSpan FindSection(const std::string& text, const std::vector<Line>& lines,
                        const std::string& section) {
    SectionSpan span{false, 0, 0};
    for (size_t i = 0; i < lines.size(); ++i) {
        Parsed parsed = Classify(text, lines[i]);
        if (parsed.kind != kSection) continue;
        if (span.found) {
            span.endLine = i;
            return span;
        }
        if (NamesEqual(parsed.name, section.c_str())) {
            span.found = true;
            span.header = i;
        }
    }
    span.endLine = lines.size();
    return span;
}

}  // namespace

bool FindValue(const std::string& text, const char* section, const char* key,
               std::string* value) {
    const std::vector<Line> lines = SplitLines(text);
    const SectionSpan span = FindSection(text, lines, TrimString(section));
    if (!span.found) return false;
    const std::string wanted = TrimString(key);
    for (size_t i = span.header + 1; i < span.endLine; ++i) {
        Parsed parsed = Classify(text, lines[i]);
        if (parsed.kind == kEntry && parsed.hasValue && NamesEqual(parsed.name, wanted.c_str())) {
            *value = parsed.value;
            return true;
        }
    }
    return false;
}

std::vector<std::string> SectionNames(const std::string& text) {
    std::vector<std::string> names;
    for (const Line& line : SplitLines(text)) {
        Parsed parsed = Classify(text, line);
        if (parsed.kind == kSection) names.push_back(parsed.name);
    }
    return names;
}

std::vector<std::string> KeyNames(const std::string& text, const char* section) {
    std::vector<std::string> names;
    const std::vector<Line> lines = SplitLines(text);
    const SectionSpan span = FindSection(text, lines, TrimString(section));
    if (!span.found) return names;
    for (size_t i = span.header + 1; i < span.endLine; ++i) {
        Parsed parsed = Classify(text, lines[i]);
        // A line without '=' is no key, and an empty name could not be
        // told apart from the list's end.
        if (parsed.kind == kEntry && parsed.hasValue && !parsed.name.empty()) names.push_back(parsed.name);
    }
    return names;
}

std::string ApplyWrite(const std::string& text, const char* section, const char* key,
                       const char* value, bool* changed) {
    *changed = false;
    const std::vector<Line> lines = SplitLines(text);
    const std::string sectionName = TrimString(section);
    const SectionSpan span = FindSection(text, lines, sectionName);

    if (!span.found) {
        if (key == nullptr || value == nullptr) return text;
        std::string result = text;
        if (!result.empty() && result.back() != '\n' && result.back() != '\r') result += "\r\n";
        result += "[" + sectionName + "]\r\n" + TrimString(key) + "=" + value + "\r\n";
        *changed = true;
        return result;
    }

    if (key == nullptr) {
        size_t from = lines[span.header].begin;
        size_t to = span.endLine < lines.size() ? lines[span.endLine].begin : text.size();
        *changed = true;
        return text.substr(0, from) + text.substr(to);
    }

    const std::string keyName = TrimString(key);
    size_t lastEntry = span.header;
    for (size_t i = span.header + 1; i < span.endLine; ++i) {
        Parsed parsed = Classify(text, lines[i]);
        if (parsed.kind != kEntry) continue;
        lastEntry = i;
        if (!NamesEqual(parsed.name, keyName.c_str())) continue;
        const Line& line = lines[i];
        if (value == nullptr) {
            *changed = true;
            return text.substr(0, line.begin) + text.substr(line.next);
        }
        std::string replaced = parsed.name + "=" + value;
        // A rewritten last line gets the CR LF it lacked.
        const bool unterminated = line.next == line.end;
        if (!unterminated && text.compare(line.begin, line.end - line.begin, replaced) == 0) return text;
        *changed = true;
        if (unterminated) return text.substr(0, line.begin) + replaced + "\r\n";
        return text.substr(0, line.begin) + replaced + text.substr(line.end);
    }

    if (value == nullptr) return text;
    const Line& after = lines[lastEntry];
    std::string inserted;
    if (after.next == after.end) inserted = "\r\n";  // unterminated last line
    inserted += keyName + "=" + value + "\r\n";
    *changed = true;
    return text.substr(0, after.next) + inserted + text.substr(after.next);
}

unsigned ParseProfileInt(const std::string& value) {
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    unsigned result = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
        result = result * 10u + static_cast<unsigned>(value[i] - '0');
    return negative ? 0u - result : result;
}

namespace {

// Unicode code points of Windows-1252 bytes 0x80 to 0x9F; 0 where the code
// page leaves the byte undefined. Every other byte is its own code point.
const unsigned short kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

unsigned CodePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kCp1252High[byte - 0x80] != 0)
        return kCp1252High[byte - 0x80];
    return byte;
}

char ByteOf(unsigned codePoint) {
    for (unsigned i = 0; i < 32; ++i)
        if (kCp1252High[i] != 0 && kCp1252High[i] == codePoint) return static_cast<char>(0x80 + i);
    if (codePoint < 0x100 && !(codePoint >= 0x80 && codePoint <= 0x9F &&
                               kCp1252High[codePoint - 0x80] != 0))
        return static_cast<char>(codePoint);
    return '?';
}

}  // namespace

bool IsUtf16(const std::string& bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

std::string DecodeUtf16(const std::string& bytes) {
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned unit = static_cast<unsigned char>(bytes[i]) |
                        (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8);
        text += ByteOf(unit);
    }
    return text;
}

std::string EncodeUtf16(const std::string& text) {
    std::string bytes("\xFF\xFE", 2);
    for (char c : text) {
        unsigned cp = CodePointOf(static_cast<unsigned char>(c));
        bytes += static_cast<char>(cp & 0xFF);
        bytes += static_cast<char>(cp >> 8);
    }
    return bytes;
}

}  // namespace ini
