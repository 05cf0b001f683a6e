// The project's own implementation of the three private-profile functions,
// with the behaviour of Windows' kernel32. The Linux build uses it for every
// job and language file; the Windows build compiles it too, so that a test
// under Wine can hold it against kernel32.
#pragma once

#include <cstddef>

// As GetPrivateProfileStringA: copies the value (or the default, without its
// trailing spaces) into out, cut to size-1 characters, and returns the
// number of characters copied. A null section lists the file's section
// names, a null key the section's keys, each name ended by a terminator and
// the list by one more.
unsigned long OwnGetPrivateProfileString(const char* section, const char* key,
                                         const char* defaultValue, char* out,
                                         unsigned long size, const char* path);

// As GetPrivateProfileIntA: the leading signed decimal number of the value,
// wrapped to 32 bits; defaultValue when the key is missing or empty.
unsigned OwnGetPrivateProfileInt(const char* section, const char* key, int defaultValue,
                                 const char* path);

// As WritePrivateProfileStringA: sets, deletes (value null) or removes the
// section (key null); a deletion in a missing file creates it empty. Returns
// 1 on success, 0 when the file could not be written; a failed write leaves
// the old file as it was.
int OwnWritePrivateProfileString(const char* section, const char* key, const char* value,
                                 const char* path);
