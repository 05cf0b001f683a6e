// Starts poppler for the engine: its data folder (poppler-data's CMaps and
// encodings), its messages routed to the caller's log, and the 14 standard
// PDF fonts registered from the program folder's metric-compatible faces, so
// that a PDF that uses them without embedding them still shows its text on a
// machine that has no such fonts.
//
// The program folder's layout, which the release and the staging scripts
// follow:
//   <program folder>\fonts\     the font files (fonts-urw-base35)
//   <program folder>\poppler\   poppler-data: cMap, cidToUnicode, nameToUnicode, unicodeMap
//   <program folder>\licenses\  the licence texts of the libraries and fonts
#pragma once

#include <string>
#include <vector>

inline constexpr const char* kFontsFolderName = "fonts";
inline constexpr const char* kPopplerDataFolderName = "poppler";
inline constexpr const char* kLicensesFolderName = "licenses";

// Receives each message poppler reports (a damaged file, a missing font...).
// where is the byte offset in the PDF the message is about, or -1.
using PopplerMessageSink = void (*)(const char* message, long long where);

// Creates poppler's global parameters with data_folder as its data folder
// (empty: poppler's built-in one) and sends its messages to sink (null: they
// are dropped, never printed to a console). Call once, before any document
// is opened; calling again replaces the parameters and forgets the fonts
// registered before.
void StartPoppler(const std::string& data_folder, PopplerMessageSink sink);

// Registers, for each standard font name and its common aliases, the face of
// fonts_folder that stands in for it. Call after StartPoppler and before the
// first page is drawn. Returns the font files that are missing from the
// folder (their names stay unregistered); empty when all were found.
std::vector<std::string> RegisterStandardFonts(const std::string& fonts_folder);
