// The private-profile (INI) text format as pure operations on a file's bytes:
// finding the value a key holds and producing the bytes after a write. The
// file access around it lives in own_profile.cpp; nothing here touches a file.
#pragma once

#include <string>
#include <vector>

namespace ini {

// The characters Windows trims around section names, key names and values
// as it trims blanks: space, tab, vertical tab, form feed and the DOS
// end-of-file mark (Ctrl-Z).
constexpr char kBlanks[] = " \t\v\f\x1a";

// Looks the key up as the private-profile reader does: first occurrence of the
// section, first occurrence of the key, names compared without regard to
// case, the value trimmed and stripped of one pair of matching outer quotes.
// Returns false when the section or the key is missing.
bool FindValue(const std::string& text, const char* section, const char* key,
               std::string* value);

// The names a read with a null section or a null key lists: every section
// header of the file in order, or the keys (lines with '=') of the first
// occurrence of section.
std::vector<std::string> SectionNames(const std::string& text);
std::vector<std::string> KeyNames(const std::string& text, const char* section);

// Returns the file's bytes after a write: key set to value, or the key's line
// removed when value is null, or the whole section removed when key is null.
// Every line the write does not concern is kept byte for byte. *changed says
// whether anything differs from text.
std::string ApplyWrite(const std::string& text, const char* section,
                       const char* key, const char* value, bool* changed);

// Reads the leading signed decimal number of a value, wrapping at 32 bits as
// the private-profile integer reader does; a value that does not begin with
// a number reads as 0.
unsigned ParseProfileInt(const std::string& value);

// Converts between a file's bytes and single-byte text: a file that begins
// with a UTF-16LE byte-order mark is decoded into Windows-1252 (characters
// outside it become '?'); any other file is taken byte for byte.
bool IsUtf16(const std::string& bytes);
std::string DecodeUtf16(const std::string& bytes);
std::string EncodeUtf16(const std::string& text);

}  // namespace ini
