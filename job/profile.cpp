// Chooses the private-profile implementation of the platform.
#include "job/profile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "job/own_profile.h"
#endif

unsigned long ProfileReadString(const char* section, const char* key, const char* defaultValue,
                                char* out, unsigned long size, const char* path) {
#ifdef _WIN32
    return GetPrivateProfileStringA(section, key, defaultValue, out, size, path);
#else
    return OwnGetPrivateProfileString(section, key, defaultValue, out, size, path);
#endif
}

unsigned ProfileReadInt(const char* section, const char* key, int defaultValue, const char* path) {
#ifdef _WIN32
    return GetPrivateProfileIntA(section, key, defaultValue, path);
#else
    return OwnGetPrivateProfileInt(section, key, defaultValue, path);
#endif
}

int ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
#ifdef _WIN32
    return WritePrivateProfileStringA(section, key, value, path) ? 1 : 0;
#else
    return OwnWritePrivateProfileString(section, key, value, path);
#endif
}

int SameProfileName(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (x != y) return 0;
        if (x == '\0') return 1;
    }
}
