// The portable rules of the scripted engine double.
#include "tests/engine_double/engine_rules.h"

#include <cstring>

namespace {

const unsigned long kDirectoryAttribute = 16;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

const char* JobPathAfterMarker(const char* commandLine) {
    if (commandLine == nullptr) return nullptr;
    const char* marker = std::strstr(commandLine, "G|");
    return marker == nullptr ? nullptr : marker + 2;
}

int IsListedPdf(const char* name, unsigned long attributes, unsigned long sizeLow) {
    if (name == nullptr || name[0] == '.' || attributes == kDirectoryAttribute || sizeLow == 0) return 0;
    const char* dot = std::strrchr(name, '.');
    if (dot == nullptr || std::strlen(dot) != 4) return 0;
    const char want[] = ".pdf";
    for (int i = 0; i < 4; ++i)
        if (Lower(dot[i]) != want[i]) return 0;
    return 1;
}

int IsEnteredFolder(const char* name, unsigned long attributes) {
    return name != nullptr && name[0] != '.' && (attributes & kDirectoryAttribute) != 0 ? 1 : 0;
}

unsigned long ScanIntervalSeconds(long scanDelay, long scanMinutes) {
    const long kDay = 24L * 60L * 60L;
    long delay = scanDelay < 1 ? 1 : scanDelay;
    if (delay > kDay) delay = kDay;
    long seconds = scanMinutes != 0 ? delay * 60L : delay;
    return static_cast<unsigned long>(seconds > kDay ? kDay : seconds);
}
