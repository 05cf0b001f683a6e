// Private-profile access for every program: kernel32 on Windows, the
// project's own implementation (own_profile.h) elsewhere. Every call opens,
// reads or writes, and closes the file, so what another process wrote is
// seen by the next read.
#pragma once

// Reads a text; returns the number of characters copied into out (at most size-1).
unsigned long ProfileReadString(const char* section, const char* key, const char* defaultValue,
                                char* out, unsigned long size, const char* path);

// Reads an integer; the result is unsigned as kernel32's, so "-1" gives 4294967295.
unsigned ProfileReadInt(const char* section, const char* key, int defaultValue, const char* path);

// Writes a text (value null deletes the key); 1 on success, 0 on failure.
int ProfileWriteString(const char* section, const char* key, const char* value, const char* path);

// Whether two section or key names are the same, compared without regard to
// case as the private-profile functions compare them (ASCII letters).
int SameProfileName(const char* a, const char* b);
